// tavrin-cli resave JOB.sam OUT.sam: loads a job and saves it, as Open then Save As would.
#include <cstdio>

#include "Commands.h"
#include "model/TObjCont.h"

namespace tavrin::cli {

int RunResave(const Args& args) {
  if (args.size() != 2) return UsageError(kResaveUsage);
  TObjCont job;
  JobFileResult r = job.LoadJob(args[0]);
  if (r) r = job.SaveJob(args[1]);
  if (!r) {
    std::fprintf(stderr, "tavrin-cli: %s\n", r.error.c_str());
    return 1;
  }
  return 0;
}

}  // namespace tavrin::cli

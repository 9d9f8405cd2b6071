// tavrin-cli: batch entry point with git-style subcommands.
#include <cstdio>
#include <cstring>
#include <string>

#include "Commands.h"
#include "Version.h"
#include "model/TextFile.h"

namespace {

struct Command {
  const char* name;
  int (*run)(const tavrin::cli::Args&);
  const char* usage;
};

const Command kCommands[] = {
    {"info", tavrin::cli::RunInfo, tavrin::cli::kInfoUsage},
    {"resave", tavrin::cli::RunResave, tavrin::cli::kResaveUsage},
    {"mesh", tavrin::cli::RunMesh, tavrin::cli::kMeshUsage},
    {"solve", tavrin::cli::RunSolve, tavrin::cli::kSolveUsage},
    {"stiffness", tavrin::cli::RunStiffness, tavrin::cli::kStiffnessUsage},
#ifdef TAVRIN_HAVE_DXF
    {"import-dxf", tavrin::cli::RunImportDxf, tavrin::cli::kImportDxfUsage},
#endif
};

int PrintUsage(std::FILE* to) {
  std::fprintf(to, "usage: tavrin-cli <command> [arguments]\ncommands:\n");
  for (const Command& c : kCommands) std::fprintf(to, "  tavrin-cli %s\n", c.usage);
  return 2;
}

}  // namespace

namespace tavrin::cli {
int UsageError(const std::string& usage) {
  std::fprintf(stderr, "usage: tavrin-cli %s\n", usage.c_str());
  return 2;
}
}  // namespace tavrin::cli

int main(int argc, char** argv) {
  tavrin::IgnoreFileSizeSignal();
  if (argc < 2) return PrintUsage(stderr);
  if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "help") == 0) {
    PrintUsage(stdout);
    return 0;
  }
  if (std::strcmp(argv[1], "--version") == 0) {
    std::printf("tavrin-cli %s\n", tavrin::kProgramVersion);
    return 0;
  }
  for (const Command& c : kCommands) {
    if (std::strcmp(argv[1], c.name) == 0) return c.run(tavrin::cli::Args(argv + 2, argv + argc));
  }
  std::fprintf(stderr, "tavrin-cli: unknown command '%s'\n", argv[1]);
  return PrintUsage(stderr);
}

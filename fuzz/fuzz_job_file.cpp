// libFuzzer target: the job file's round trip (FuzzChecks.h).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "fuzz/FuzzChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string problem =
      tavrin::fuzz::CheckJobFileRoundTrip({reinterpret_cast<const char*>(data), size});
  if (!problem.empty()) {
    std::fprintf(stderr, "job file round trip: %s\n", problem.c_str());
    std::abort();
  }
  return 0;
}

// libFuzzer target: read, mesh with a small node limit and solve (FuzzChecks.h).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "fuzz/FuzzChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string problem =
      tavrin::fuzz::CheckMeshAndSolve({reinterpret_cast<const char*>(data), size});
  if (!problem.empty()) {
    std::fprintf(stderr, "mesh and solve: %s\n", problem.c_str());
    std::abort();
  }
  return 0;
}

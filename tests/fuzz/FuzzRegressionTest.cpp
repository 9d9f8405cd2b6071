// The fuzz targets' checks on every kept input: the hostile seeds, the examples and each input
// that once found a fault (fuzz/regressions/), so that a fault found by fuzzing stays mended in
// every build, GCC's included.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "fuzz/FuzzChecks.h"

namespace tavrin::fuzz {
namespace {

std::vector<std::filesystem::path> Inputs(const char* folder) {
  std::vector<std::filesystem::path> files;
  for (const auto& entry :
       std::filesystem::directory_iterator(std::string(TAVRIN_SOURCE_DIR) + "/" + folder)) {
    if (entry.is_regular_file() && entry.path().filename().string()[0] != '.')
      files.push_back(entry.path());
  }
  return files;
}

std::string Read(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(FuzzRegression, KeptInputsPassBothChecks) {
  int count = 0;
  for (const char* folder : {"fuzz/seeds", "fuzz/regressions", "examples"}) {
    for (const auto& path : Inputs(folder)) {
      const std::string data = Read(path);
      EXPECT_EQ(CheckJobFileRoundTrip(data), "") << path;
      EXPECT_EQ(CheckMeshAndSolve(data), "") << path;
      ++count;
    }
  }
  EXPECT_GE(count, 30);  // the seeds and the examples at least
}

}  // namespace
}  // namespace tavrin::fuzz

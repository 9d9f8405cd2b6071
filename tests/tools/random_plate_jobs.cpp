// Writes the mesher tests' random plates as job files, so that meshes made by two builds of the
// command-line program can be compared byte for byte (scripts/compare-mesh-dumps.sh).
// Usage: random_plate_jobs FOLDER FIRST_SEED COUNT; writes FOLDER/plate-SEED.sam and prints
// one line "SEED MAX_AREA" per plate (the maximal area the tests mesh it with).
#include <cstdio>
#include <cstdlib>
#include <string>

#include "mesh/RandomPlates.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: random_plate_jobs FOLDER FIRST_SEED COUNT\n");
    return 2;
  }
  const std::string folder = argv[1];
  const auto first = static_cast<std::uint32_t>(std::strtoul(argv[2], nullptr, 10));
  const auto count = static_cast<std::uint32_t>(std::strtoul(argv[3], nullptr, 10));
  for (std::uint32_t seed = first; seed < first + count; ++seed) {
    const tavrin::testing::RandomPlate plate = tavrin::testing::MakeRandomPlate(seed);
    const std::string path = folder + "/plate-" + std::to_string(seed) + ".sam";
    if (const auto saved = plate.job.SaveJob(path); !saved) {
      std::fprintf(stderr, "random_plate_jobs: %s\n", saved.error.c_str());
      return 1;
    }
    std::printf("%u %.17g\n", seed, plate.maxArea);
  }
  return 0;
}

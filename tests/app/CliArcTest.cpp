// tavrin-cli on a plate with arc edges: info names the arcs, the mesh dump lists the nodes on
// arcs (each on its circle) and the .vtu marks them; a plate without arcs shows none of it.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "CliRunner.h"

namespace tavrin {
namespace {

using testing::CliResult;
using testing::ReadWholeFile;
using testing::RunCli;

const std::string kArcs = std::string(TAVRIN_SOURCE_DIR) + "/examples/plate-with-circular-hole.sam";
const std::string kSquare = std::string(TAVRIN_SOURCE_DIR) + "/examples/square.sam";

TEST(CliArcs, InfoDumpAndVtuCarryTheArcs) {
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("tavrin-cli-arcs-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  for (const std::string& job : {kArcs, kSquare}) {
    const bool arcs = job == kArcs;
    const CliResult info = RunCli({"info", job});
    ASSERT_EQ(info.exitCode, 0) << info.err;
    // The hole's four quarter arcs: radius 75 about (225, 225).
    EXPECT_EQ(info.out.find("arc bulge 0.41421356237309503 centre 225 225 radius 75 angle 90") !=
                  std::string::npos,
              arcs);

    const std::string dump = (dir / "mesh.txt").string();
    ASSERT_EQ(RunCli({"mesh", job, "--dump", dump}).exitCode, 0);
    std::istringstream in(ReadWholeFile(dump));
    std::string line, word;
    std::vector<double> x, y;
    int count = 0;
    in >> word >> count;
    for (int i = 0, index = 0; i < count; ++i) {
      x.push_back(0);
      y.push_back(0);
      in >> index >> x.back() >> y.back();
    }
    while (std::getline(in, line) && line.rfind("arc-nodes", 0) != 0) {
    }
    int onArc = 0;
    if (!line.empty()) std::istringstream(line.substr(10)) >> onArc;
    EXPECT_EQ(onArc > 24, arcs) << onArc << " nodes on arcs";
    for (int k = 0, n = 0; k < onArc && in >> n; ++k)
      EXPECT_NEAR(std::hypot(x[n] - 225, y[n] - 225) / 75, 1, 1e-12) << "node " << n;

    const std::string out = (dir / "out").string();
    ASSERT_EQ(RunCli({"solve", job, "--out", out}).exitCode, 0);
    EXPECT_EQ(ReadWholeFile(out + "/model.vtu").find("Name=\"on_arc\"") != std::string::npos, arcs);
  }
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace tavrin

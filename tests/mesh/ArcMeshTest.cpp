// Arc edges in the mesh: every node the mesher puts on an arc edge lies on the circle, from the
// first triangulation through the refinement and the finishing stage, and the mesh stays sound.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "mesh/FEM.h"
#include "model/JobCircle.h"
#include "tests/mesh/MeshChecker.h"
#include "tests/mesh/TestJobs.h"

namespace tavrin {
namespace {

const double kPi = std::acos(-1.0);

TEST(ArcMesh, EveryNodeOnAnArcLiesOnItsCircle) {
  struct Case {
    std::string name;
    bool hole;  // a circular hole in a square, else a circular plate
    double minAngle, maxArea;
  };
  const Case cases[] = {{"circular plate", false, 25, 8},
                        {"circular plate, fine", false, 33, 2},
                        {"hole in a plate", true, 25, 10},
                        {"hole, finishing stage", true, 33, 6}};
  const double r = 30, cx = 50, cy = 50;
  for (const Case& c : cases) {
    TObjCont job;
    if (c.hole) testing::AddSquare(job, -100, -100, 300);
    ASSERT_EQ(AddCircle(job, cx, cy, r, c.hole), "") << c.name;
    job.PrepareForMeshing();
    FEM mesh(testing::Parameters(c.minAngle, c.maxArea));
    mesh.GenerateMesh(job);
    EXPECT_TRUE(mesh.IsUsable()) << c.name;
    // Sound, and covering exactly the polygon through the nodes on the arcs.
    const std::vector<std::string> problems = CheckMesh(mesh, job);
    EXPECT_TRUE(problems.empty()) << c.name << ": " << problems.front();

    const std::vector<std::uint8_t> onArc = mesh.NodesOnArcs();
    int count = 0;
    double worst = 0;
    for (int i = 0; i < mesh.NodeCount(); ++i) {
      if (!onArc[static_cast<std::size_t>(i)]) continue;
      ++count;
      worst =
          std::max(worst, std::fabs(std::hypot(mesh.NodeX(i) - cx, mesh.NodeY(i) - cy) / r - 1));
    }
    EXPECT_LT(worst, 1e-12) << c.name;
    // The refinement put its nodes on the arcs, more than the first pieces' 24.
    EXPECT_GT(count, 40) << c.name;
    // The meshed area is the circle's (or the square's less it) but for the slivers between
    // the arc and its chords: n (r^2 / 2)(d - sin d) for n pieces of angle d, below d^2 / 12 of
    // the circle; pieces of at most 15 degrees keep that below 6e-3.
    double area = 0;
    for (int t = 0; t < mesh.TriangleCount(); ++t) area += mesh.TriangleArea(t);
    const double circle = kPi * r * r;
    const double expected = c.hole ? 300.0 * 300.0 - circle : circle;
    const double slivers = c.hole ? area - expected : expected - area;
    EXPECT_GE(slivers, 0) << c.name;
    EXPECT_LT(slivers, 6e-3 * circle) << c.name;
  }
}

}  // namespace
}  // namespace tavrin

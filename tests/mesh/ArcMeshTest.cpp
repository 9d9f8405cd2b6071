// Arc edges in the mesh: every node the mesher puts on an arc edge lies on the circle, from the
// first triangulation through the refinement and the finishing stage, and the mesh stays sound.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "mesh/FEM.h"
#include "tests/mesh/MeshChecker.h"
#include "tests/mesh/TestJobs.h"

namespace tavrin {
namespace {

const double kPi = std::acos(-1.0);

// A circle of radius r about (cx, cy) as a closed polygon of four quarter arcs.
void AddCircle(TObjCont& job, double cx, double cy, double r) {
  const int first = job.NodeCount();
  for (int k = 0; k < 4; ++k)
    job.AddNode(cx + r * std::cos(k * kPi / 2), cy + r * std::sin(k * kPi / 2));
  for (int k = 0; k < 4; ++k) {
    job.AddPolygonEdge(first + k, first + (k + 1) % 4);
    job.SetEdgeBulge(job.EdgeCount() - 1, std::tan(kPi / 8));
  }
  job.ClosePolygon();
}

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
    AddCircle(job, cx, cy, r);
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
  }
}

}  // namespace
}  // namespace tavrin

// Every figure the mesher returns is true or says why not: the maximal area is kept (no
// positive bound lost to single precision, no triangle left above it without a word), the
// angle test is exact to the bound, and every unusable mesh carries its reason.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "TestJobs.h"
#include "mesh/FEM.h"
#include "mesh/MeshParameters.h"

namespace tavrin {
namespace {

using testing::AddSquare;
using testing::Parameters;

TObjCont Square(double side) {
  TObjCont job;
  AddSquare(job, 0, 0, side);
  job.PrepareForMeshing();
  return job;
}

TEST(MeshBounds, StoredMaxAreaKeepsEveryPositiveBound) {
  constexpr float kTiniest = std::numeric_limits<float>::denorm_min();
  constexpr float kLargest = std::numeric_limits<float>::max();
  const struct {
    double asked;
    float stored;
  } cases[] = {{200, 200.0f},     {0.1, 0.1f},       {1e-30, 1e-30f},
               {1e-45, kTiniest}, {1e-46, kTiniest}, {1e-300, kTiniest},
               {1e39, kLargest},  {1e300, kLargest}, {0, 0.0f}};
  for (const auto& c : cases) EXPECT_EQ(StoredMaxArea(c.asked), c.stored) << c.asked;
}

TEST(MeshBounds, AreaBoundIsKeptOrReportedMissed) {
  // The square meshed at 31 degrees as the bound falls: the count rises, and no triangle
  // reaches the bound unless the figures say so. The last bound is beyond reach within the
  // node limit, which stops the mesh and says so.
  const TObjCont job = Square(20);
  int previous = 0;
  for (const double bound : {0.2, 0.11, 0.1, 0.06, 0.04, 0.02}) {
    SCOPED_TRACE("maximal area " + std::to_string(bound));
    FEM mesh(Parameters(31, bound, false, 200000));
    const MeshStatistics s = mesh.GenerateMesh(job);
    EXPECT_GT(s.elementCount, previous);
    previous = s.elementCount;
    int above = 0;
    double largest = 0;
    for (int t = 0; t < mesh.TriangleCount(); ++t) {
      above += mesh.TriangleArea(t) >= static_cast<float>(bound);
      largest = std::fmax(largest, mesh.TriangleArea(t));
    }
    EXPECT_EQ(s.trianglesAboveArea, above);
    EXPECT_EQ(s.largestArea, largest);
    EXPECT_EQ(above == 0 && s.usable, s.reason.empty()) << s.reason;
    EXPECT_EQ(above, 0) << s.reason;
  }
  FEM unreachable(Parameters(31, StoredMaxArea(1e-46), false, 3000));
  const MeshStatistics s = unreachable.GenerateMesh(job);
  EXPECT_EQ(s.stop, MeshStop::NodeLimit);
  EXPECT_GT(s.trianglesAboveArea, 0);
  EXPECT_NE(s.reason.find("node limit"), std::string::npos) << s.reason;
  EXPECT_NE(s.reason.find("maximal area"), std::string::npos) << s.reason;
}

TEST(MeshBounds, AngleTestIsExactToTheBound) {
  // A right triangle whose smallest angle is 29.9999987 degrees: not 30, however the
  // documented conversion to degrees rounds it.
  const double below = 29.9999987 * M_PI / 180;
  FEM mesh(Parameters(30, 200));
  mesh.AddMeshNode(0, 0);
  mesh.AddMeshNode(10, 0);
  mesh.AddMeshNode(10, 10 * std::tan(below));
  mesh.AddTriangleByNodes(0, 1, 2, ElementPhysics{1000, 0.3, 1, 0});
  mesh.WorstTriangle();
  EXPECT_GE(MeshDegrees(mesh.CurrentMinAngle()), 30.0);  // the documented figure reads 30
  EXPECT_FALSE(mesh.IsUsable(30));
  EXPECT_TRUE(mesh.IsUsable(29.99999));
}

TEST(MeshBounds, EveryUnusableMeshSaysWhy) {
  // Bounds beyond what the finishing stage guarantees, a stop at the node limit, and no
  // plate at all: each names its cause, and the sentence for the user carries it.
  TObjCont withHole;
  AddSquare(withHole, 0, 0, 100);
  AddSquare(withHole, 40, 40, 20);
  withHole.SetPolygonPhysics(1, 0, 210000, 0.3, 10, true);
  withHole.PrepareForMeshing();
  TObjCont freeNodes;
  freeNodes.AddFreeNode(0, 0);
  freeNodes.AddFreeNode(5, 5);
  freeNodes.PrepareForMeshing();
  const struct {
    TObjCont job;
    double angle, area;
    int nodes;
    const char* cause;
  } cases[] = {{Square(100), 33.1, 200, 2000000, "finishing stage guarantees"},
               {withHole, 34, 200, 20000, "minimal angle"},
               {Square(450), 31, 0.01, 50, "node limit"},
               {freeNodes, 31, 200, 2000000, "no elements"}};
  for (const auto& c : cases) {
    FEM mesh(Parameters(c.angle, c.area, false, c.nodes));
    const MeshStatistics s = mesh.GenerateMesh(c.job);
    EXPECT_NE(s.reason.find(c.cause), std::string::npos) << c.cause << ": " << s.reason;
    if (!s.usable && s.stop == MeshStop::None) {
      EXPECT_NE(MeshVerdict(s).find(s.reason), std::string::npos) << MeshVerdict(s);
    }
  }
}

}  // namespace
}  // namespace tavrin

// Seed triangles and the advancing front on small jobs, before any refinement.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

#include "MeshChecker.h"
#include "TestJobs.h"
#include "mesh/FEM.h"
#include "mesh/MeshCanvas.h"

namespace tavrin {
namespace {

using testing::AddPolygon;
using testing::AddSquare;

ElementPhysics PhysicsOf(const FEM& mesh, int t) {
  ElementPhysics p;
  mesh.GetPhysics(t, p);
  return p;
}

bool AllOnPolygon(const FEM& mesh, int t, int polygon) {
  for (int k = 0; k < 3; ++k)
    if (mesh.NodePolygon(mesh.TriangleNode(t, k)) != polygon) return false;
  return true;
}

TEST(InitialTriangulation, SquareGivesTwoTrianglesWithTheOutlinesPhysics) {
  TObjCont job;
  AddSquare(job, 0, 0, 10);
  job.SetPolygonPhysics(0, -2.5, 1000, 0.2, 3, false);
  job.PrepareForMeshing();
  // The default parameters: the two 45-degree triangles need no refinement.
  FEM mesh(testing::Parameters(31.0f, 200.0f));
  mesh.GenerateMesh(job);
  EXPECT_EQ(mesh.NodeCount(), 4);
  EXPECT_EQ(mesh.EdgeCount(), 5);
  EXPECT_EQ(mesh.TriangleCount(), 2);
  int segments = 0;
  for (int e = 0; e < mesh.EdgeCount(); ++e) segments += mesh.IsSegment(e);
  EXPECT_EQ(segments, 4);
  for (int t = 0; t < 2; ++t) EXPECT_EQ(PhysicsOf(mesh, t), (ElementPhysics{1000, 0.2, 3, -2.5}));
  // The first edge is horizontal: the seed stands on the first one with a height.
  EXPECT_EQ(mesh.TriangleEdge(0, 1), 1);
  EXPECT_TRUE(mesh.IsUsable());
  EXPECT_TRUE(CheckMesh(mesh, job).empty());
}

TEST(InitialTriangulation, RepeatedJobEdgeGivesOneSegmentWithTheFirstEdgesLoads) {
  TObjCont job;
  for (MeshPoint p : {MeshPoint{0, 0}, {10, 0}, {10, 10}, {0, 10}}) job.AddNode(p.x, p.y);
  for (int i = 0; i < 4; ++i) job.AddPolygonEdge(i, (i + 1) % 4);
  job.AddPolygonEdge(2, 1);  // the right side again, the other way round
  job.ClosePolygon();
  job.SetEdgeLoads(1, 7, 0, 0);
  job.SetEdgeLoads(4, 9, 0, 0);
  job.PrepareForMeshing();
  FEM mesh;
  MeshCanvas canvas;
  mesh.Triangulate(job, canvas);
  EXPECT_EQ(mesh.EdgeCount(), 5);  // four segments and the diagonal
  EXPECT_EQ(mesh.TriangleCount(), 2);
  const int right = mesh.FindEdge(1, 2);
  ASSERT_EQ(right, 1);
  EXPECT_EQ(mesh.EdgeBegin(right), 1);
  DofRecord dof;
  mesh.GetEdgeDof(right, dof);
  EXPECT_EQ(dof.force[0], 7.0);
}

TEST(InitialTriangulation, HoleStaysEmpty) {
  TObjCont job;
  AddSquare(job, 0, 0, 30);
  AddSquare(job, 10, 10, 10);
  job.SetPolygonPhysics(1, 0, 5, 0.1, 1, true);
  job.PrepareForMeshing();
  FEM mesh;
  MeshCanvas canvas;
  mesh.Triangulate(job, canvas);
  EXPECT_EQ(mesh.NodeCount(), 8);
  EXPECT_GT(mesh.TriangleCount(), 0);
  for (int t = 0; t < mesh.TriangleCount(); ++t) {
    EXPECT_FALSE(AllOnPolygon(mesh, t, 1)) << "triangle " << t << " covers the hole";
    EXPECT_EQ(PhysicsOf(mesh, t).eModulus, 210000);
  }
  const auto problems = CheckMesh(mesh, job, {.checkPublished = false});
  EXPECT_TRUE(problems.empty()) << problems.front();
}

TEST(InitialTriangulation, InnerPolygonIsSeededWithItsOwnPhysics) {
  TObjCont job;
  AddSquare(job, 0, 0, 30);
  AddSquare(job, 10, 10, 10);
  job.SetPolygonPhysics(1, -1, 70000, 0.33, 12, false);
  job.PrepareForMeshing();
  FEM mesh;
  MeshCanvas canvas;
  mesh.Triangulate(job, canvas);
  int inner = 0;
  for (int t = 0; t < mesh.TriangleCount(); ++t) {
    if (AllOnPolygon(mesh, t, 1)) {
      ++inner;
      EXPECT_EQ(PhysicsOf(mesh, t), (ElementPhysics{70000, 0.33, 12, -1}));
    } else {
      EXPECT_EQ(PhysicsOf(mesh, t).eModulus, 210000);
    }
  }
  EXPECT_EQ(inner, 2);
  const auto problems = CheckMesh(mesh, job, {.checkPublished = false});
  EXPECT_TRUE(problems.empty()) << problems.front();
}

TEST(InitialTriangulation, FreeNodeInsideBecomesAVertex) {
  TObjCont job;
  AddSquare(job, 0, 0, 10);
  job.AddFreeNode(6, 3);
  job.PrepareForMeshing();
  FEM mesh;
  MeshCanvas canvas;
  mesh.Triangulate(job, canvas);
  std::set<int> used;
  for (int t = 0; t < mesh.TriangleCount(); ++t)
    for (int k = 0; k < 3; ++k) used.insert(mesh.TriangleNode(t, k));
  EXPECT_EQ(used.count(4), 1u);
  EXPECT_EQ(mesh.TriangleCount(), 4);
  const auto problems = CheckMesh(mesh, job, {.checkPublished = false});
  EXPECT_TRUE(problems.empty()) << problems.front();
}

TEST(InitialTriangulation, SeedApexMustBeVisible) {
  // The free node (8.5, 5) sees the seed edge (10, 4)-(10, 6) under the largest angle but
  // stands behind the long thin hole: a seed on it would cover part of the hole.
  TObjCont job;
  AddPolygon(job, {{10, 4}, {10, 6}, {10, 20}, {-10, 20}, {-10, -10}, {10, -10}});
  AddPolygon(job, {{9, -5}, {9.5, -5}, {9.5, 15}, {9, 15}});
  job.AddFreeNode(8.5, 5);
  job.PrepareForMeshing();
  FEM mesh;
  MeshCanvas canvas;
  mesh.Triangulate(job, canvas);
  EXPECT_NE(mesh.TriangleNode(0, 2), 10);
  const auto problems = CheckMesh(mesh, job, {.checkPublished = false});
  EXPECT_TRUE(problems.empty()) << problems.front();
}

double MeshedArea(const FEM& mesh) {
  double area = 0;
  for (int t = 0; t < mesh.TriangleCount(); ++t) area += mesh.TriangleArea(t);
  return area;
}

// A node at the height of the seed edge's middle lies on the ray that decides the seed's
// inner side. Counted at neither end, the ray lost that crossing, and the seed of these plain
// polygons stood outside: the pentagon got one triangle, the quadrilateral (found by fuzzing)
// none, in one of its four rotations. Every rotation and both directions must fill the whole
// polygon. Tolerance: 1e-9 relative on the area, the sum of a few exact products.
TEST(InitialTriangulation, RayThroughAVertexAtTheSeedsHeight) {
  const std::vector<std::vector<MeshPoint>> polygons = {
      {{0, 0}, {10, 5}, {20, 0}, {20, 20}, {-3, 2.5}},
      {{11, 2}, {10, 0}, {1, 1}, {0, 100}},
  };
  const double areas[] = {205, 505};
  for (std::size_t p = 0; p < polygons.size(); ++p) {
    for (bool reversed : {false, true}) {
      std::vector<MeshPoint> points = polygons[p];
      if (reversed) std::reverse(points.begin(), points.end());
      for (std::size_t rotation = 0; rotation < points.size(); ++rotation) {
        TObjCont job;
        for (std::size_t k = 0; k < points.size(); ++k) {
          const MeshPoint q = points[(k + rotation) % points.size()];
          job.AddNode(q.x, q.y);
        }
        const int n = static_cast<int>(points.size());
        for (int k = 0; k < n; ++k) job.AddPolygonEdge(k, (k + 1) % n);
        job.ClosePolygon();
        job.PrepareForMeshing();
        FEM mesh;
        MeshCanvas canvas;
        mesh.Triangulate(job, canvas);
        SCOPED_TRACE(::testing::Message() << "polygon " << p << (reversed ? " reversed" : "")
                                          << " rotation " << rotation);
        EXPECT_EQ(mesh.TriangleCount(), n - 2);
        EXPECT_NEAR(MeshedArea(mesh), areas[p], 1e-9 * areas[p]);
        const auto problems = CheckMesh(mesh, job, {.checkPublished = false});
        EXPECT_TRUE(problems.empty()) << problems.front();
      }
    }
  }
}

TEST(InitialTriangulation, NothingToTriangulate) {
  {
    TObjCont job;  // no nodes at all
    job.PrepareForMeshing();
    FEM mesh(testing::Parameters(31.0f, 200.0f));
    const MeshStatistics statistics = mesh.GenerateMesh(job);
    EXPECT_EQ(mesh.TriangleCount(), 0);
    EXPECT_FALSE(mesh.IsUsable());
    EXPECT_EQ(statistics.nodeCount, 0);
    EXPECT_EQ(statistics.elementCount, 0);
  }
  {
    TObjCont job;  // free nodes only
    job.AddFreeNode(0, 0);
    job.AddFreeNode(5, 5);
    job.PrepareForMeshing();
    FEM mesh(testing::Parameters(31.0f, 200.0f));
    const MeshStatistics statistics = mesh.GenerateMesh(job);
    EXPECT_EQ(mesh.TriangleCount(), 0);
    EXPECT_FALSE(mesh.IsUsable());
    EXPECT_EQ(statistics.nodeCount, 2);
  }
  {
    TObjCont job;  // an outline still open: three sides of a square, no plate yet
    for (MeshPoint p : {MeshPoint{0, 0}, {10, 0}, {10, 10}, {0, 10}}) job.AddNode(p.x, p.y);
    for (int i = 0; i < 3; ++i) job.AddPolygonEdge(i, i + 1);
    job.PrepareForMeshing();
    FEM mesh(testing::Parameters(31.0f, 200.0f));
    mesh.GenerateMesh(job);
    EXPECT_EQ(mesh.TriangleCount(), 0);
    EXPECT_EQ(mesh.EdgeCount(), 3);
    EXPECT_FALSE(mesh.IsUsable());
  }
  {
    TObjCont job;  // a closed "polygon" whose nodes are all on one line: no apex for a seed
    AddPolygon(job, {{0, 0}, {5, 0}, {10, 0}});
    job.PrepareForMeshing();
    FEM mesh(testing::Parameters(31.0f, 200.0f));
    mesh.GenerateMesh(job);
    EXPECT_EQ(mesh.TriangleCount(), 0);
    EXPECT_FALSE(mesh.IsUsable());
  }
}

TEST(InitialTriangulation, NodeOnTheOutlineGivesNoThirdTriangleOnASide) {
  // Polygon 1 is a single edge whose end lies on an outline side: the front used to close a
  // triangle on a side that already had two, which the refinement then met as an inconsistent
  // mesh.
  TObjCont job;
  job.ReadJobText(
      "N, 450, 0\nN, 450, 450\nN, 0, 450\nN, 300, 150\nN, 300, 300\n"
      "N, 150, 300\n"  // on the side from (0, 450) to (300, 150)
      "OBJECT 0\nE, 0, 1\nE, 1, 2\nE, 2, 3\nE, 3, 0\nClose\n"
      "OBJECT 1\nE, 4, 5\nClose\n"
      "P, 0, -0.01, 70000, 0.33, 10, 0\nP, 1, -0.01, 210000, 0.3, 15, 0\n");
  job.PrepareForMeshing();
  FEM mesh;
  MeshCanvas canvas;
  mesh.Triangulate(job, canvas);
  EXPECT_GT(mesh.TriangleCount(), 0);
  const auto problems = CheckTopology(mesh);
  EXPECT_TRUE(problems.empty()) << problems.front();
}

}  // namespace
}  // namespace tavrin

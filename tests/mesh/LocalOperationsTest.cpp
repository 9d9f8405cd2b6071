// Insertion, edge split (with concentric shells), flip and flip propagation on small meshes
// built by hand.
#include <gtest/gtest.h>

#include <cmath>

#include "MeshChecker.h"
#include "mesh/FEM.h"

namespace tavrin {
namespace {

const ElementPhysics kUpper{100, 0.1, 1, 0};
const ElementPhysics kLower{200, 0.2, 2, 0};

FEM MakeMesh() { return FEM(MeshParameters{31.0f, 200.0f, false}); }

int Node(FEM& mesh, double x, double y) { return mesh.AddMeshNode(x, y); }

double AreaSum(const FEM& mesh) {
  double sum = 0;
  for (int t = 0; t < mesh.TriangleCount(); ++t) sum += mesh.TriangleArea(t);
  return sum;
}

TEST(SplitEdge, SplitsAtPoint501AndKeepsEachSidesPhysics) {
  FEM mesh = MakeMesh();
  const int a = Node(mesh, 0, 0), b = Node(mesh, 10, 0);
  const int up = Node(mesh, 5, 5), down = Node(mesh, 5, -5);
  DofRecord dof;
  dof.code = 100;
  dof.force = {1, 2, 3};
  const int e = mesh.AddMeshEdge(a, b, dof, 1);
  mesh.AddTriangleByNodes(a, b, up, kUpper);
  mesh.AddTriangleByNodes(b, a, down, kLower);
  mesh.SplitEdge(e);

  ASSERT_EQ(mesh.NodeCount(), 5);
  EXPECT_EQ(mesh.NodeX(4), 5.01);  // not the middle
  EXPECT_EQ(mesh.NodeY(4), 0.0);
  EXPECT_EQ(mesh.TriangleCount(), 4);
  EXPECT_TRUE(CheckTopology(mesh).empty());
  EXPECT_NEAR(AreaSum(mesh), 50.0, 1e-12);
  for (int t = 0; t < 4; ++t) {
    ElementPhysics p;
    mesh.GetPhysics(t, p);
    EXPECT_EQ(p, TriangleCentroid(mesh, t).y > 0 ? kUpper : kLower) << "triangle " << t;
  }
  // Both halves are segments with the split edge's loads.
  const int near = mesh.FindEdge(a, 4), far = mesh.FindEdge(4, b);
  ASSERT_NE(near, -1);
  ASSERT_NE(far, -1);
  for (int half : {near, far}) {
    DofRecord got;
    mesh.GetEdgeDof(half, got);
    EXPECT_EQ(got, dof);
    EXPECT_TRUE(mesh.IsSegment(half));
  }
  EXPECT_EQ(mesh.FindEdge(a, b), -1);

  // Which triangle takes which slot: each old triangle is re-shaped, the new one is made (and
  // attached) before the old one is attached again, upper side first.
  const int m = mesh.FindEdge(4, up), m2 = mesh.FindEdge(4, down);
  ASSERT_NE(m, -1);
  ASSERT_NE(m2, -1);
  EXPECT_EQ(mesh.EdgeTriangle(m, 1), 2);
  EXPECT_EQ(mesh.EdgeTriangle(m, 2), 0);
  EXPECT_EQ(mesh.EdgeTriangle(m2, 1), 3);
  EXPECT_EQ(mesh.EdgeTriangle(m2, 2), 1);
  EXPECT_EQ(mesh.EdgeTriangle(far, 1), 2);
  EXPECT_EQ(mesh.EdgeTriangle(far, 2), 3);
  EXPECT_EQ(mesh.EdgeTriangle(near, 1), 0);
  EXPECT_EQ(mesh.EdgeTriangle(near, 2), 1);
  EXPECT_EQ(mesh.TriangleEdge(0, 2), mesh.FindEdge(up, a));
  EXPECT_EQ(mesh.TriangleEdge(0, 3), m);
  EXPECT_EQ(mesh.TriangleEdge(1, 2), mesh.FindEdge(a, down));
  EXPECT_EQ(mesh.TriangleEdge(3, 3), mesh.FindEdge(down, b));
}

TEST(SplitEdge, NothingBesideOrAnInconsistentTriangleChangesNothing) {
  FEM bare = MakeMesh();
  bare.AddMeshNode(0, 0);
  bare.AddMeshNode(10, 0);
  bare.SplitEdge(bare.AddMeshEdge(0, 1, DofRecord{}, 1));
  EXPECT_EQ(bare.NodeCount(), 2);
  EXPECT_EQ(bare.EdgeCount(), 1);

  // A triangle whose third edge does not close it: (0,0)-(10,0), (10,0)-(5,5), (5,5)-(7,9).
  FEM broken = MakeMesh();
  for (MeshPoint p : {MeshPoint{0, 0}, {10, 0}, {5, 5}, {7, 9}}) broken.AddMeshNode(p.x, p.y);
  const int e = broken.AddMeshEdge(0, 1, DofRecord{}, 1);
  broken.MakeTriangle(e, broken.AddMeshEdge(1, 2), broken.AddMeshEdge(2, 3));
  EXPECT_DEBUG_DEATH(broken.SplitEdge(e), "inconsistent");
  EXPECT_EQ(broken.NodeCount(), 4);
  EXPECT_EQ(broken.EdgeEnd(e), 1);
  EXPECT_EQ(broken.TriangleCount(), 1);
}

// A triangle with a segment e of the given length along the x axis, e's corner at the origin,
// and a second segment leaving the corner at the given angle.
FEM ShellCorner(double length, double degrees, bool reversed) {
  FEM mesh = MakeMesh();
  const double r = degrees * std::acos(-1.0) / 180;
  const int o = Node(mesh, 0, 0), far = Node(mesh, length, 0);
  const int side = Node(mesh, length * std::cos(r), length * std::sin(r));
  const int e = reversed ? mesh.AddMeshEdge(far, o, DofRecord{}, 1)
                         : mesh.AddMeshEdge(o, far, DofRecord{}, 1);
  const int g = mesh.AddMeshEdge(o, side, DofRecord{}, 1);
  const int third = mesh.AddMeshEdge(side, far);
  mesh.MakeTriangle(e, g, third);
  mesh.SplitEdge(e);
  return mesh;
}

TEST(SplitEdge, ConcentricShellsAtSmallAnglesBetweenSegments) {
  // 0.1 doubled while 10/2 > 2d: 3.2 from the corner, whichever way the edge runs.
  for (bool reversed : {false, true}) {
    FEM mesh = ShellCorner(10, 30, reversed);
    ASSERT_EQ(mesh.NodeCount(), 4);
    EXPECT_NEAR(mesh.NodeX(3), 3.2, 1e-12) << reversed;
    EXPECT_NEAR(mesh.NodeY(3), 0.0, 1e-12);
    EXPECT_TRUE(CheckTopology(mesh).empty());
  }
  // 45 degrees is above the shell angle: the ordinary point.
  EXPECT_NEAR(ShellCorner(10, 45, false).NodeX(3), 5.01, 1e-12);
  // Length 100: d goes to 25.6 (50 > 2 x 12.8 but not > 2 x 25.6).
  EXPECT_NEAR(ShellCorner(100, 20, false).NodeX(3), 25.6, 1e-12);
  // A piece left by an earlier shell split is 0.1 long up to rounding: splitting it at 0.1
  // again would put the node on its far end, for ever. (40 degrees: above the bound of 31.)
  EXPECT_NEAR(ShellCorner(0.1 + 1e-12, 40, false).NodeX(3), 0.0501, 1e-12);
  // A segment no longer than 0.1 has no shell inside it.
  FEM tiny = ShellCorner(0.08, 40, false);
  EXPECT_NEAR(tiny.NodeX(3), 0.08 * 0.501, 1e-15);
  EXPECT_LT(tiny.NodeX(3), 0.08);
  // At a corner sharper than the bound, pieces within the innermost shell are left whole:
  // split there, the two segments encroached on each other down to rounding.
  for (bool reversed : {false, true}) {
    for (double length : {0.1 + 1e-12, 0.08, 1e-5}) {
      const FEM whole = ShellCorner(length, 30, reversed);
      EXPECT_EQ(whole.NodeCount(), 3) << length;
      EXPECT_EQ(whole.TriangleCount(), 1) << length;
    }
    EXPECT_EQ(ShellCorner(0.2, 30, reversed).NodeCount(), 4);  // the innermost shell, 0.1
  }
}

TEST(FlipEdge, StrictMaxMinAngleRule) {
  // Square split by a diagonal: both diagonals give 45 degrees, no flip.
  {
    FEM mesh = MakeMesh();
    for (MeshPoint p : {MeshPoint{0, 0}, {10, 0}, {10, 10}, {0, 10}}) Node(mesh, p.x, p.y);
    mesh.AddTriangleByNodes(0, 1, 2, kUpper);
    mesh.AddTriangleByNodes(0, 2, 3, kUpper);
    const int d = mesh.FindEdge(0, 2);
    const int begin = mesh.EdgeBegin(d), end = mesh.EdgeEnd(d);
    EXPECT_EQ(mesh.FlipEdge(d), -1);
    EXPECT_EQ(mesh.EdgeBegin(d), begin);
    EXPECT_EQ(mesh.EdgeEnd(d), end);
    EXPECT_EQ(mesh.Legalize(d, -1, -1), -1);
  }
  // Two slivers on a long edge: flipping to the short diagonal raises the smallest angle.
  {
    FEM mesh = MakeMesh();
    const int a = Node(mesh, 0, 0), b = Node(mesh, 10, 0), c1 = Node(mesh, 5, 1),
              c2 = Node(mesh, 5, -1);
    mesh.AddTriangleByNodes(a, b, c1, kUpper);
    mesh.AddTriangleByNodes(b, a, c2, kUpper);
    const int e = mesh.FindEdge(a, b);
    const double before = std::fmin(mesh.MinAngle(0), mesh.MinAngle(1));
    EXPECT_EQ(mesh.FlipEdge(e), e);
    EXPECT_EQ(mesh.EdgeBegin(e), c2);
    EXPECT_EQ(mesh.EdgeEnd(e), c1);
    EXPECT_GT(std::fmin(mesh.MinAngle(0), mesh.MinAngle(1)), before);
    EXPECT_TRUE(CheckTopology(mesh).empty());
    EXPECT_NEAR(AreaSum(mesh), 10.0, 1e-12);
    EXPECT_EQ(mesh.FlipEdge(e), -1);  // never back
  }
  // The same pair across a segment, or a non-convex pair: no flip.
  {
    FEM mesh = MakeMesh();
    const int a = Node(mesh, 0, 0), b = Node(mesh, 10, 0), c1 = Node(mesh, 5, 1),
              c2 = Node(mesh, 5, -1);
    mesh.AddMeshEdge(a, b, DofRecord{}, 1);
    mesh.AddTriangleByNodes(a, b, c1, kUpper);
    mesh.AddTriangleByNodes(b, a, c2, kLower);
    EXPECT_EQ(mesh.FlipEdge(mesh.FindEdge(a, b)), -1);
  }
  {
    FEM mesh = MakeMesh();
    const int a = Node(mesh, 0, 0), b = Node(mesh, 10, 0), c1 = Node(mesh, 5, 1),
              c2 = Node(mesh, 16, -1);
    mesh.AddTriangleByNodes(a, b, c1, kUpper);
    mesh.AddTriangleByNodes(b, a, c2, kUpper);
    EXPECT_EQ(mesh.FlipEdge(mesh.FindEdge(a, b)), -1);
  }
}

// Fan of a convex polygon of many nearly cocircular nodes from node 0: every diagonal is a
// bad one, and one flip leads to the next.
FEM Fan(int n) {
  FEM mesh = MakeMesh();
  for (int i = 0; i < n; ++i) {
    const double t = 2 * std::acos(-1.0) * i / n;
    const double r = 100 + 3 * std::sin(7.0 * i);
    Node(mesh, r * std::cos(t), r * std::sin(t));
  }
  for (int i = 1; i + 1 < n; ++i) mesh.AddTriangleByNodes(0, i, i + 1, kUpper);
  return mesh;
}

int ChangedEdges(const FEM& before, const FEM& after) {
  int changed = 0;
  for (int e = 0; e < before.EdgeCount(); ++e)
    changed += before.EdgeBegin(e) != after.EdgeBegin(e) || before.EdgeEnd(e) != after.EdgeEnd(e);
  return changed;
}

TEST(Legalize, PropagationIsBoundedTo60Edges) {
  const int n = 200;
  FEM reference = Fan(n);
  FEM once = Fan(n);
  EXPECT_EQ(once.Legalize(once.FindEdge(0, n / 2), -1, -1), 1);
  const int flipped = ChangedEdges(reference, once);
  EXPECT_GT(flipped, 0);
  EXPECT_LE(flipped, 60);
  EXPECT_TRUE(CheckTopology(once).empty());
  EXPECT_NEAR(AreaSum(once), AreaSum(reference), 1e-8 * AreaSum(reference));

  // Without the bound the same start would go much further: calls from every diagonal flip
  // well over 60 edges.
  FEM many = Fan(n);
  for (int i = 2; i + 1 < n; ++i) many.Legalize(many.FindEdge(0, i), -1, -1);
  EXPECT_GT(ChangedEdges(reference, many), 60);
  EXPECT_TRUE(CheckTopology(many).empty());
}

}  // namespace
}  // namespace tavrin

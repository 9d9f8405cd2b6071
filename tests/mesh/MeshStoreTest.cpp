// Geometric measures with their absolute tolerances, and the mesh store's queries.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "TestJobs.h"
#include "mesh/FEM.h"

namespace tavrin {
namespace {

TEST(MeshGeometry, MeasuresAndTheirTolerances) {
  // Exact values: no tolerance needed.
  EXPECT_EQ(VertexAngle({0, 0}, {1, 0}, {0, 1}), 1.5707963267948966);
  // Small triangles measure as large ones do (a threshold once made these 0); only a side
  // of no length has no angle.
  EXPECT_EQ(VertexAngle({0, 0}, {0.09, 0}, {0, 0.09}), 1.5707963267948966);
  EXPECT_EQ(VertexAngle({0, 0}, {1e-6, 0}, {0, 1e-6}), 1.5707963267948966);
  EXPECT_EQ(VertexAngle({0, 0}, {0, 0}, {0, 1}), 0.0);
  EXPECT_EQ(VertexAngle({0, 0}, {1, 0}, {-1, 0}), std::acos(-1.0));
  EXPECT_EQ(TriangleArea({0, 0}, {3, 0}, {0, 1}), 1.5);
  EXPECT_EQ(TriangleArea({0, 0}, {0.005, 0}, {0, 100}), 0.25);  // a short base still counts
  EXPECT_EQ(TriangleArea({0, 0}, {0, 0}, {0, 100}), 0.0);
  EXPECT_EQ(Length({0, 0}, {3, 4}), 5.0);
  EXPECT_EQ(Length({2, 2}, {2, 2}), 0.0);

  // Right of a->b means a doubled signed area below -0.0001.
  EXPECT_FALSE(SideOf({0, 0}, {1, 0}, {0.5, -0.00005}));
  EXPECT_TRUE(SideOf({0, 0}, {1, 0}, {0.5, -0.0002}));
  EXPECT_FALSE(SideOf({0, 0}, {1, 0}, {0.5, 0.0002}));

  EXPECT_NEAR(MinAngle({0, 0}, {1, 0}, {0.5, std::sqrt(0.75)}), kMeshPi / 3, 1e-6);
  // The conversion factor is 1/3.14159, a little off the mesher's pi: 30 degrees come back
  // as 30.00002.
  EXPECT_EQ(MeshDegrees(kMeshPi / 6), 180 * (kMeshPi / 6) * 0.31831015504887655);
  EXPECT_NEAR(MeshDegrees(kMeshPi / 6), 30.0, 3e-5);
  // A node at an end of the segment sees it under no angle at all.
  EXPECT_EQ(ViewCosine({0, 0}, {10, 0}, {0, 0}), 1.0);
  EXPECT_NEAR(ViewCosine({0, 0}, {10, 0}, {5, 5}), 0.0, 1e-15);
}

bool SameBits(double x, double y) { return std::memcmp(&x, &y, sizeof x) == 0; }

// MinAngle takes one arc cosine where the three angles are not nearly tied; its result must be
// the three-angle minimum to the bit, or meshes (and the published angle) would change. (The
// exact values of the measures are pinned above and by the meshes of the examples.)
TEST(MeshGeometry, MinAngleIsTheSmallestVertexAngleToTheBit) {
  std::mt19937_64 random(77);
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  const auto check = [](MeshPoint a, MeshPoint b, MeshPoint c) {
    const double want = MinOfVertexAngles(a, b, c);
    const double got = MinAngle(a, b, c);
    ASSERT_TRUE(SameBits(got, want)) << a.x << "," << a.y << " " << b.x << "," << b.y << " " << c.x
                                     << "," << c.y << ": " << got << " instead of " << want;
  };
  for (int i = 0; i < 300000; ++i) {
    const double scale = std::pow(10.0, 4 * unit(random));
    const MeshPoint a{scale * unit(random), scale * unit(random)};
    const MeshPoint b{scale * unit(random), scale * unit(random)};
    // Free triangles, isosceles ones (two equal angles, up to the rounding of the apex) and
    // nearly equilateral ones (three angles within a hair of each other).
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double h = std::sqrt(0.75) + (i % 3 == 2 ? 1e-13 * unit(random) : 0.0);
    const MeshPoint c = i % 3 == 0 ? MeshPoint{scale * unit(random), scale * unit(random)}
                                   : MeshPoint{a.x + dx / 2 - h * dy, a.y + dy / 2 + h * dx};
    check(a, b, c);
    check(c, a, b);
  }
  // Exact ties, flat and degenerate triangles, sides too short for an angle, no numbers.
  const double nan = std::numeric_limits<double>::quiet_NaN();
  check({0, 0}, {1, 0}, {0.5, std::sqrt(0.75)});
  check({0, 0}, {2, 0}, {1, 1});
  check({0, 0}, {1, 0}, {2, 0});
  check({0, 0}, {1, 0}, {0.5, 0});
  check({0, 0}, {0, 0}, {1, 1});
  check({0, 0}, {0.005, 0}, {10, 10});
  check({0, 0}, {1e-3, 0}, {0, 1e-3});
  check({1e15, 1e15}, {1e15 + 1, 1e15}, {1e15, 1e15 + 1});
  for (int k = 0; k < 3; ++k) {
    MeshPoint p[3] = {{0, 0}, {4, 1}, {1, 3}};
    p[k].x = nan;
    check(p[0], p[1], p[2]);
  }
}

// A flip measures its two new triangles in one corner order and the mesh stores them as
// measured then; the stored angle must be what measuring the stored corners gives, to the bit.
TEST(MeshGeometry, MinAngleIsTheSameInEveryCornerOrderUnlessItSaysNot) {
  std::mt19937_64 random(78);
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  const auto check = [](MeshPoint a, MeshPoint b, MeshPoint c) {
    const CornerFreeAngle m = MinAngleAnyOrder(a, b, c);
    ASSERT_TRUE(SameBits(m.radians, MinAngle(a, b, c)));
    if (!m.anyOrder) return;
    const MeshPoint orders[6][3] = {{a, b, c}, {a, c, b}, {b, a, c},
                                    {b, c, a}, {c, a, b}, {c, b, a}};
    for (const auto& o : orders)
      ASSERT_TRUE(SameBits(MinAngle(o[0], o[1], o[2]), m.radians))
          << a.x << "," << a.y << " " << b.x << "," << b.y << " " << c.x << "," << c.y;
  };
  for (int i = 0; i < 100000; ++i) {
    const double scale = std::pow(10.0, 4 * unit(random));
    const MeshPoint a{scale * unit(random), scale * unit(random)};
    const MeshPoint b{scale * unit(random), scale * unit(random)};
    // Free and nearly equilateral triangles (angles tied within a hair).
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double h = std::sqrt(0.75) + 1e-13 * unit(random);
    check(a, b,
          i % 2 == 0 ? MeshPoint{scale * unit(random), scale * unit(random)}
                     : MeshPoint{a.x + dx / 2 - h * dy, a.y + dy / 2 + h * dx});
  }
  check({0, 0}, {1, 0}, {2, 0});
  check({0, 0}, {0, 0}, {1, 1});
  check({0, 0}, {1, 0}, {0.5, std::sqrt(0.75)});
  // Sides so long that a cosine is infinity over infinity: the order of the comparisons then
  // picks the angle, and the measure must say so.
  EXPECT_FALSE(MinAngleAnyOrder({0, 0}, {1e200, 0}, {0, 1e200}).anyOrder);
  EXPECT_TRUE(MinAngleAnyOrder({0, 0}, {1, 0}, {0, 1}).anyOrder);
  // A coordinate that is no number leaves every corner without a cosine: 0 in any order.
  check({std::numeric_limits<double>::quiet_NaN(), 0}, {1, 0}, {0, 1});
}

// The flip test takes a rejection from FlipSurelyWorse without measuring: whenever it says so,
// MinAngle must give a new triangle no larger an angle than the old pair's smaller one, also for
// nearly cocircular quadrilaterals (where the two pairs' angles are nearly tied) and thin ones.
TEST(MeshGeometry, FlipSurelyWorseOnlyWhereMinAngleRejects) {
  std::mt19937_64 random(80);
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  int said = 0;
  for (int i = 0; i < 200000; ++i) {
    const double scale = std::pow(10.0, 4 * unit(random));
    const MeshPoint centre{scale * 100 * unit(random), scale * 100 * unit(random)};
    MeshPoint p[4];
    for (int k = 0; k < 4; ++k) {
      // On a circle, a hair off it, or anywhere near it.
      const double turn = 3.14159 * (k + 0.9 * unit(random)) / 2;
      const double radius = scale * (i % 3 == 0   ? 1
                                     : i % 3 == 1 ? 1 + 1e-9 * unit(random)
                                                  : 1 + 0.5 * unit(random));
      p[k] = {centre.x + radius * std::cos(turn), centre.y + radius * std::sin(turn)};
    }
    if (!FlipSurelyWorse(p[0], p[2], p[1], p[3])) continue;
    ++said;
    const double before = std::fmin(MinAngle(p[0], p[2], p[1]), MinAngle(p[0], p[2], p[3]));
    ASSERT_TRUE(MinAngle(p[1], p[3], p[0]) <= before || MinAngle(p[1], p[3], p[2]) <= before) << i;
  }
  EXPECT_GT(said, 20000);
  // Sides too long or too short for its products, and points that are no number: no word.
  EXPECT_FALSE(FlipSurelyWorse({0, 0}, {1e40, 0}, {1, 1e39}, {1, -1e39}));
  EXPECT_FALSE(FlipSurelyWorse({0, 0}, {1e-40, 0}, {1e-41, 1e-42}, {1e-41, -1e-42}));
  EXPECT_FALSE(FlipSurelyWorse({0, 0}, {1, 0}, {std::nan(""), 1}, {0.5, -1}));
}

// Shorter skips the square roots where the squares decide; it must decide as the lengths do,
// also where different squares have the same root, and for sides of no length or no number.
TEST(MeshGeometry, ShorterComparesAsTheLengthsDo) {
  std::mt19937_64 random(79);
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  int tied = 0;
  const auto check = [&tied](MeshPoint p, MeshPoint q, MeshPoint a, MeshPoint b) {
    const double lpq = Length(p, q), lab = Length(a, b);
    if (lpq == lab) ++tied;
    ASSERT_EQ(Shorter(p, q, a, b), lpq < lab)
        << p.x << "," << p.y << " " << q.x << "," << q.y << " " << a.x << "," << a.y << " " << b.x
        << "," << b.y;
  };
  for (int i = 0; i < 200000; ++i) {
    const double scale = std::pow(10.0, 4 * unit(random));
    const MeshPoint p{scale * unit(random), scale * unit(random)};
    const MeshPoint q{scale * unit(random), scale * unit(random)};
    const MeshPoint a{scale * unit(random), scale * unit(random)};
    // A far side a rounding or two off the near one: squares apart, roots often equal.
    MeshPoint b{a.x + (q.x - p.x), a.y + (q.y - p.y)};
    if (i % 2 == 0) b.x = std::nextafter(b.x, i % 4 == 0 ? 1e300 : -1e300);
    if (i % 3 == 0) b = MeshPoint{scale * unit(random), scale * unit(random)};
    check(p, q, a, b);
    check(a, b, p, q);
  }
  EXPECT_GT(tied, 1000);  // the cases the squares alone would decide wrongly were met
  const double nan = std::numeric_limits<double>::quiet_NaN();
  check({0, 0}, {0, 0}, {1, 1}, {1, 1});
  check({0, 0}, {0, 0}, {0, 0}, {1, 0});
  check({0, 0}, {1, 0}, {0, 0}, {0, 0});
  check({nan, 0}, {1, 0}, {0, 0}, {1, 0});
  check({0, 0}, {1, 0}, {nan, 0}, {1, 0});
}

TEST(MeshStore, FreshMeshAndParameters) {
  EXPECT_EQ(MeshParameters{}.minAngle, 31.0f);
  EXPECT_EQ(MeshParameters{}.maxArea, 200.0f);
  EXPECT_TRUE(MeshParameters{}.animate);

  FEM mesh(testing::Parameters(30.0f, 50.0f));
  EXPECT_EQ(mesh.NodeCount(), 0);
  EXPECT_EQ(mesh.EdgeCount(), 0);
  EXPECT_EQ(mesh.TriangleCount(), 0);
  EXPECT_FALSE(mesh.IsUsable());
  EXPECT_EQ(mesh.MaxArea(), 50.0);
  EXPECT_EQ(mesh.TargetAngle(), 3.141592 * 30.0 * (1.0 / 180));
  EXPECT_EQ(mesh.NearestNode(0, 0), -1);
}

// Two triangles forming the square 0..10, built by hand.
void BuildSquare(FEM& mesh) {
  for (MeshPoint p : {MeshPoint{0, 0}, {10, 0}, {10, 10}, {0, 10}}) mesh.AddMeshNode(p.x, p.y);
  const ElementPhysics physics{1000, 0.3, 2, -1};
  mesh.AddTriangleByNodes(0, 1, 2, physics);
  mesh.AddTriangleByNodes(0, 2, 3, physics);
}

TEST(MeshStore, QueriesOnAHandBuiltMesh) {
  FEM mesh(MeshParameters{31.0f, 200.0f, false});
  BuildSquare(mesh);
  EXPECT_EQ(mesh.EdgeCount(), 5);  // the diagonal is shared
  for (int t = 0; t < 2; ++t) {
    EXPECT_EQ(mesh.TriangleNode(t, 3), -1);
    EXPECT_NE(mesh.TriangleNode(t, 2), mesh.TriangleNode(t, 0));
    EXPECT_NE(mesh.TriangleNode(t, 2), mesh.TriangleNode(t, 1));
  }
  ElementPhysics physics;
  EXPECT_EQ(mesh.GetPhysics(2, physics), -1);
  DofRecord dof;
  EXPECT_EQ(mesh.GetNodeDof(4, dof), -1);
  EXPECT_EQ(mesh.GetEdgeDof(5, dof), -1);
  const int diagonal = mesh.FindEdge(0, 2);
  EXPECT_EQ(mesh.ApexAcross(diagonal, 1) + mesh.ApexAcross(diagonal, 2), 1 + 3);
  EXPECT_EQ(mesh.ApexAcross(mesh.FindEdge(0, 1), 2), -1);

  // Usable is judged against the mesh's own bound, or the one given.
  EXPECT_EQ(mesh.WorstTriangle(), 0);
  EXPECT_NEAR(MeshDegrees(mesh.CurrentMinAngle()), 45.0, 1e-4);
  EXPECT_TRUE(mesh.IsUsable(45.0 - 1e-3));
  EXPECT_FALSE(mesh.IsUsable(45.01));
  EXPECT_TRUE(mesh.IsUsable());
}

TEST(MeshStore, NearestNodeSearchesWithinTheAreaRadius) {
  FEM mesh(MeshParameters{31.0f, 200.0f, false});
  mesh.AddMeshNode(3.7, 0);   // 13.69 < sqrt(200.0001)
  mesh.AddMeshNode(0, -3.8);  // 14.44: too far
  EXPECT_EQ(mesh.NearestNode(0, 0), 0);
  EXPECT_EQ(mesh.NearestNode(0, -3.7), 1);
  EXPECT_EQ(mesh.NearestNode(20, 20), -1);
  mesh.AddMeshNode(-3.7, 0);  // a tie keeps the lower index
  EXPECT_EQ(mesh.NearestNode(0, 0), 0);
}

}  // namespace
}  // namespace tavrin

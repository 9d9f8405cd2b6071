// The size field: its graded sizes, its interpolation on a strongly graded background, and
// meshes that honour it with the angle bound kept.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>
#include <vector>

#include "mesh/SizeField.h"
#include "tests/mesh/TestJobs.h"

namespace tavrin {
namespace {

// A 10 x 10 background of two triangles asking area `left` near x = 0 and `right` near x = 10.
std::shared_ptr<SizeField> Ramp(double left, double right, double gradation) {
  // Nodes 0 (0,0), 1 (10,0), 2 (10,10), 3 (0,10); each triangle's target is the size of its
  // side of the square, so nodes 0 and 3 get `left`, 1 and 2 `right` (both triangles hold a
  // node of each side, hence three triangles: a thin one along each side).
  return std::make_shared<SizeField>(
      std::vector<double>{0, 10, 10, 0, 5, 5}, std::vector<double>{0, 0, 10, 10, 0, 10},
      std::vector<std::array<int, 3>>{{0, 4, 3}, {4, 5, 3}, {4, 1, 5}, {1, 2, 5}},
      std::vector<double>{left, left, right, right}, gradation);
}

TEST(SizeField, GradesSizesAndInterpolatesThem) {
  struct Case {
    double left, right, gradation;
  };
  for (const Case c : {Case{0.01, 4, 0.0}, Case{0.01, 4, 0.05}, Case{1, 1, 0.5}}) {
    SCOPED_TRACE(c.gradation);
    const auto field = Ramp(c.left, c.right, c.gradation);
    // Grading: no node size exceeds a neighbour's by more than g per unit length (background
    // edges of length 5 between the columns of nodes).
    if (c.gradation > 0) {
      for (int i : {1, 2})
        EXPECT_LE(field->NodeSize(i), field->NodeSize(4) + c.gradation * 5 + 1e-12);
    }
    // The smallest target is where it was asked, whatever the grading.
    EXPECT_NEAR(field->SmallestArea(), c.left, 1e-12 * c.left);
    EXPECT_NEAR(field->AreaAt({0, 5}), c.left, 1e-12);
    // Linear in the size between nodes: halfway between node 0 and node 4 (both at the left
    // target) it is the left target; a point far outside takes the nearest element's value.
    EXPECT_NEAR(field->AreaAt({2.5, 0}), c.left, 1e-12);
    EXPECT_NEAR(field->AreaAt({-100, 5}), c.left, 1e-9);
  }
}

// A background graded as an adapted mesh is around a corner: grid lines at (i / n)^4, so that
// the top grid's corner cell holds hundreds of triangles and the point location descends into
// finer grids. Every query must find the same value as a scan of all triangles for the one
// holding the point: the linear interpolation of the node sizes, squared.
TEST(SizeField, InterpolatesOnAGradedBackground) {
  const int n = 40;
  std::vector<double> x, y, targets;
  std::vector<std::array<int, 3>> triangles;
  for (int j = 0; j <= n; ++j)
    for (int i = 0; i <= n; ++i) {
      x.push_back(std::pow(double(i) / n, 4));
      y.push_back(std::pow(double(j) / n, 4));
    }
  for (int j = 0; j < n; ++j)
    for (int i = 0; i < n; ++i) {
      const int a = j * (n + 1) + i, b = a + 1, c = a + n + 2, d = a + n + 1;
      triangles.push_back({a, b, c});
      triangles.push_back({a, c, d});
      targets.push_back(1e-6 + x[a] * y[c] + x[b]);
      targets.push_back(2e-6 + x[c] * y[d]);
    }
  const SizeField field(x, y, triangles, targets, 0.5);
  std::mt19937 random(7);
  std::uniform_real_distribution<double> unit(0, 1);
  for (int q = 0; q < 2000; ++q) {
    // Half the points in the crowded corner.
    const double scale = q % 2 ? 1e-3 : 1;
    const MeshPoint p{scale * unit(random), scale * unit(random)};
    double expected = -1;
    for (const auto& t : triangles) {
      const double ax = x[t[0]], ay = y[t[0]], bx = x[t[1]], by = y[t[1]], cx = x[t[2]],
                   cy = y[t[2]];
      const double det = (bx - ax) * (cy - ay) - (cx - ax) * (by - ay);
      const double l1 = ((p.x - ax) * (cy - ay) - (cx - ax) * (p.y - ay)) / det;
      const double l2 = ((bx - ax) * (p.y - ay) - (p.x - ax) * (by - ay)) / det;
      if (l1 < 0 || l2 < 0 || l1 + l2 > 1) continue;
      const double h = (1 - l1 - l2) * field.NodeSize(t[0]) + l1 * field.NodeSize(t[1]) +
                       l2 * field.NodeSize(t[2]);
      expected = h * h;
      break;
    }
    ASSERT_GT(expected, 0);
    EXPECT_NEAR(field.AreaAt(p), expected, 1e-9 * expected) << p.x << ", " << p.y;
  }
}

TEST(SizeField, MeshHonoursItWithTheAngleBound) {
  struct Case {
    double left, right, gradation;
  };
  for (const Case c : {Case{0.02, 2, 0.3}, Case{0.005, 0.5, 0.1}}) {
    TObjCont job;
    testing::AddSquare(job, 0, 0, 10);
    job.PrepareForMeshing();
    MeshParameters parameters = testing::Parameters(30, 10);
    parameters.sizeField = Ramp(c.left, c.right, c.gradation);
    FEM mesh(parameters);
    const MeshStatistics s = mesh.GenerateMesh(job);
    EXPECT_TRUE(s.usable) << s.reason;
    EXPECT_EQ(s.trianglesAboveArea, 0) << s.reason;
    int nearLeft = 0, nearRight = 0;
    for (int t = 0; t < mesh.TriangleCount(); ++t) {
      ASSERT_LT(mesh.TriangleArea(t), mesh.AreaBound(t)) << t;
      double cx = 0;
      for (int k = 0; k < 3; ++k) cx += mesh.NodeX(mesh.TriangleNode(t, k)) / 3;
      nearLeft += cx < 1;
      nearRight += cx > 9;
    }
    // The strips at either side hold about (10 / target) triangles: the fine side many more.
    EXPECT_GT(nearLeft, 10 * nearRight);
    // Without the field the same parameters give the uniform documented mesh, far coarser.
    FEM plain(testing::Parameters(30, 10));
    plain.GenerateMesh(job);
    EXPECT_LT(plain.TriangleCount(), mesh.TriangleCount() / 5);
  }
}

}  // namespace
}  // namespace tavrin

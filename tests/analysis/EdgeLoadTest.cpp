// Edge loads against plate theory: a uniform twist applied as distributed twisting moments on
// the edges of a free square must give the uniform Mxy that the same twist applied as Kirchhoff
// corner forces gives, when the edges are loaded consistently with the element's edge
// interpolation; the documented lumping is off at the boundary. Bending edge moments give the
// exact uniform moment either way.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "analysis/StructuredPlate.h"
#include "analysis/TGlobMatrix.h"

namespace tavrin {
namespace {

// A free square of `cells` x `cells` union-jack cells (4 cells^2 elements) whose centre node,
// held in all three freedoms, takes the rigid motions: the loads below are self-equilibrated,
// so it takes no force.
struct FreeSquare {
  static constexpr double kSide = 10;
  StructuredPlate p;
  PlateMesh mesh;
  explicit FreeSquare(int cells) {
    p.width = p.height = kSide;
    p.cellsX = p.cellsY = cells;
    p.pattern = DiagonalPattern::UnionJack;
    p.support = EdgeSupport::Free;
    p.material = {210000, 0.3, 0.5, 0};
    mesh = p.Build();
    mesh.nodeDof[p.GridNode(cells / 2, cells / 2)].code = kClampedCode;
  }
  // Edge moments per unit length m on the four sides, given as (rot. X, rot. Y) for the sides
  // y = 0, x = side, y = side, x = 0.
  void LoadSides(const std::array<std::array<double, 2>, 4>& m) {
    for (int e = 0; e < mesh.EdgeCount(); ++e) {
      const int a = mesh.edges[e][0], b = mesh.edges[e][1];
      const double xa = mesh.x[a], xb = mesh.x[b], ya = mesh.y[a], yb = mesh.y[b];
      const bool side[4] = {ya == 0 && yb == 0, xa == kSide && xb == kSide,
                            ya == kSide && yb == kSide, xa == 0 && xb == 0};
      for (int k = 0; k < 4; ++k)
        if (side[k]) mesh.edgeDof[e].force = {0, m[k][0], m[k][1]};
    }
  }
};

TEST(EdgeLoads, TwistByEdgeMomentsIsUniformWhenLoadedConsistently) {
  const double m0 = 3;  // twisting moment per unit length
  struct Case {
    int cells;
    EdgeLoadKind loading;
    double worstLimit;  // largest |Mxy / m0 - 1| over the elements: at most, or at least
    bool below;
  };
  // 5,000 and 20,000 elements.
  const Case cases[] = {{50, EdgeLoadKind::Consistent, 0.005, true},
                        {100, EdgeLoadKind::Consistent, 0.005, true},
                        {50, EdgeLoadKind::Lumped, 0.02, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.cells) + " cells, " + EdgeLoadName(c.loading));
    FreeSquare edges(c.cells);
    // Reference: the Kirchhoff corner forces of a uniform twist m0, 2 m0 alternating in sign.
    FreeSquare corners(c.cells);
    const int n = c.cells;
    const int cornerNodes[4] = {corners.p.GridNode(0, 0), corners.p.GridNode(n, 0),
                                corners.p.GridNode(n, n), corners.p.GridNode(0, n)};
    for (int k = 0; k < 4; ++k)
      corners.mesh.nodeDof[cornerNodes[k]].force[0] = (k % 2 ? 2 : -2) * m0;
    TGlobMatrix reference;
    ASSERT_EQ(reference.SolveStatic(corners.mesh), SolveCode::Ok);
    // The same twist as moments about each side's outward normal, m0 alternating in sign.
    edges.LoadSides({{{0, -m0}, {-m0, 0}, {0, m0}, {m0, 0}}});
    AnalysisOptions options;
    options.edgeLoads = c.loading;
    TGlobMatrix s(ElementKind::Dkt, options);
    ASSERT_EQ(s.SolveStatic(edges.mesh), SolveCode::Ok) << s.Failure().message;
    ASSERT_EQ(s.SolveStress(), StressCode::Ok);
    double worst = 0;
    for (int t = 0; t < s.ResultTriangleCount(); ++t)
      worst = std::max(worst, std::fabs(std::fabs(s.ElementMoment(t, 2)) / m0 - 1));
    if (!c.below) {
      EXPECT_GT(worst, c.worstLimit);
      continue;
    }
    EXPECT_LT(worst, c.worstLimit);
    // The consistent load is the corner forces: the same deflections to round-off.
    for (int v = 0; v < s.ResultNodeCount(); ++v)
      EXPECT_NEAR(static_cast<double>(s.Displacement(v, 0)),
                  static_cast<double>(reference.Displacement(v, 0)), 1e-9);
  }
}

TEST(EdgeLoads, BendingEdgeMomentsGiveTheExactUniformMoment) {
  // Moments m about the sides x = 0 and x = side themselves: Mx = m, My = Mxy = 0 everywhere,
  // which the element represents exactly, so to round-off (1e-12 of m) with either loading.
  const double m = 2;
  for (EdgeLoadKind loading : {EdgeLoadKind::Lumped, EdgeLoadKind::Consistent}) {
    SCOPED_TRACE(EdgeLoadName(loading));
    FreeSquare square(20);
    square.LoadSides({{{0, 0}, {0, m}, {0, 0}, {0, -m}}});
    AnalysisOptions options;
    options.edgeLoads = loading;
    TGlobMatrix s(ElementKind::Dkt, options);
    ASSERT_EQ(s.SolveStatic(square.mesh), SolveCode::Ok) << s.Failure().message;
    ASSERT_EQ(s.SolveStress(), StressCode::Ok);
    for (int t = 0; t < s.ResultTriangleCount(); ++t) {
      EXPECT_NEAR(std::fabs(s.ElementMoment(t, 0)), m, 1e-12 * m) << t;
      EXPECT_NEAR(s.ElementMoment(t, 1), 0, 1e-12 * m) << t;
      EXPECT_NEAR(s.ElementMoment(t, 2), 0, 1e-12 * m) << t;
    }
  }
}

}  // namespace
}  // namespace tavrin

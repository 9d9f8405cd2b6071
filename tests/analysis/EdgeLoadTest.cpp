// Edge loads against plate theory: a uniform twist applied as distributed twisting moments on
// the edges of a free square must give the uniform Mxy that the same twist applied as Kirchhoff
// corner forces gives, when the edges are loaded consistently with the element's edge
// interpolation; the documented lumping is off at the boundary.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "analysis/StructuredPlate.h"
#include "analysis/TGlobMatrix.h"

namespace tavrin {
namespace {

TEST(EdgeLoads, TwistByEdgeMomentsIsUniformWhenLoadedConsistently) {
  const double side = 10, m0 = 3;  // twisting moment per unit length
  StructuredPlate p;
  p.width = p.height = side;
  p.cellsX = p.cellsY = 50;  // 5,000 elements
  p.pattern = DiagonalPattern::UnionJack;
  p.support = EdgeSupport::Free;
  p.material = {210000, 0.3, 0.5, 0};
  PlateMesh plate = p.Build();
  // The centre node held in all three freedoms takes the rigid motions; the loads are
  // self-equilibrated, so it takes no force.
  plate.nodeDof[p.GridNode(25, 25)].code = kClampedCode;

  // Reference: the Kirchhoff corner forces of a uniform twist m0, 2 m0 alternating in sign.
  PlateMesh corners = plate;
  const int cornerNodes[4] = {p.GridNode(0, 0), p.GridNode(50, 0), p.GridNode(50, 50),
                              p.GridNode(0, 50)};
  for (int k = 0; k < 4; ++k) corners.nodeDof[cornerNodes[k]].force[0] = (k % 2 ? 2 : -2) * m0;
  TGlobMatrix reference;
  ASSERT_EQ(reference.SolveStatic(corners), SolveCode::Ok) << reference.Failure().message;
  ASSERT_EQ(reference.SolveStress(), StressCode::Ok);

  // The same twist as moments about each edge's outward normal, m0 alternating in sign.
  PlateMesh edges = plate;
  for (int e = 0; e < edges.EdgeCount(); ++e) {
    const int a = edges.edges[e][0], b = edges.edges[e][1];
    auto& f = edges.edgeDof[e].force;
    if (edges.y[a] == 0 && edges.y[b] == 0) f = {0, 0, -m0};
    if (edges.x[a] == side && edges.x[b] == side) f = {0, -m0, 0};
    if (edges.y[a] == side && edges.y[b] == side) f = {0, 0, m0};
    if (edges.x[a] == 0 && edges.x[b] == 0) f = {0, m0, 0};
  }
  struct Case {
    EdgeLoadKind loading;
    double worstLimit;  // largest |Mxy / m0 - 1| over the elements: at most, or at least
    bool below;
  };
  const Case cases[] = {{EdgeLoadKind::Consistent, 0.005, true},
                        {EdgeLoadKind::Lumped, 0.02, false}};
  for (const Case& c : cases) {
    AnalysisOptions options;
    options.edgeLoads = c.loading;
    TGlobMatrix s(ElementKind::Dkt, options);
    ASSERT_EQ(s.SolveStatic(edges), SolveCode::Ok) << s.Failure().message;
    ASSERT_EQ(s.SolveStress(), StressCode::Ok);
    double worst = 0;
    for (int t = 0; t < s.ResultTriangleCount(); ++t)
      worst = std::max(worst, std::fabs(std::fabs(s.ElementMoment(t, 2)) / m0 - 1));
    if (c.below) {
      EXPECT_LT(worst, c.worstLimit) << EdgeLoadName(c.loading);
      // The consistent load is the corner forces: the same deflections to round-off.
      for (int v = 0; v < s.ResultNodeCount(); ++v)
        EXPECT_NEAR(static_cast<double>(s.Displacement(v, 0)),
                    static_cast<double>(reference.Displacement(v, 0)), 1e-9);
    } else {
      EXPECT_GT(worst, c.worstLimit) << EdgeLoadName(c.loading);
    }
  }
}

}  // namespace
}  // namespace tavrin

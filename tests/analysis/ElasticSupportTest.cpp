// Springs and the Winkler foundation against closed forms computed here, with both solvers,
// and the refusals of stiffnesses that cannot be.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>

#include "analysis/StructuredPlate.h"
#include "analysis/TGlobMatrix.h"

namespace tavrin {
namespace {

AnalysisOptions With(SolverKind solver) {
  AnalysisOptions o;
  o.solver = solver;
  return o;
}

double Bending(const ElementPhysics& m) {
  return m.eModulus * m.thickness * m.thickness * m.thickness / (12 * (1 - m.nu * m.nu));
}

TEST(ElasticSupport, MatchesClosedForms) {
  struct Case {
    const char* what;
    std::function<void(TGlobMatrix&)> run;
  };
  const Case cases[] = {
      {"a free square on a uniform foundation under a uniform pressure settles by q / k",
       [](TGlobMatrix& s) {
         const double q = -3, k = 2, side = 10;
         StructuredPlate p;
         p.width = p.height = side;
         p.cellsX = p.cellsY = 10;
         p.pattern = DiagonalPattern::UnionJack;
         p.support = EdgeSupport::Free;
         p.material = {210000, 0.3, 0.2, q};
         PlateMesh m = p.Build();
         for (ElementPhysics& t : m.materials) t.foundation = k;
         ASSERT_EQ(s.SolveStatic(m), SolveCode::Ok) << s.Failure().message;
         ASSERT_EQ(s.SolveStress(), StressCode::Ok);
         for (int v = 0; v < s.ResultNodeCount(); ++v) {
           EXPECT_NEAR(static_cast<double>(s.Displacement(v, 0)), q / k, 1e-9 * std::fabs(q / k));
           EXPECT_NEAR(s.FoundationPressure(v), q, 1e-9 * std::fabs(q));
           for (int c = 0; c < 3; ++c)
             EXPECT_LT(std::fabs(s.NodeMoment(v, c)), 1e-9 * std::fabs(q) * side * side);
         }
         EXPECT_NEAR(s.FoundationZ(), -s.LoadZ(), 1e-9 * std::fabs(s.LoadZ()));
       }},
      {"four equal corner springs each carry a quarter of the load",
       [](TGlobMatrix& s) {
         const double q = -1, k = 1000, side = 10;
         StructuredPlate p;
         p.width = p.height = side;
         p.cellsX = p.cellsY = 8;
         p.pattern = DiagonalPattern::UnionJack;  // symmetric: the four springs share alike
         p.support = EdgeSupport::Free;
         p.material = {210000, 0.3, 0.5, q};
         PlateMesh m = p.Build();
         for (int corner : {p.GridNode(0, 0), p.GridNode(8, 0), p.GridNode(8, 8), p.GridNode(0, 8)})
           m.nodeDof[corner].spring[0] = k;
         ASSERT_EQ(s.SolveStatic(m), SolveCode::Ok) << s.Failure().message;
         const double load = q * side * side, w = load / (4 * k);
         EXPECT_NEAR(s.LoadZ(), load, 1e-12 * std::fabs(load));
         for (int corner :
              {p.GridNode(0, 0), p.GridNode(8, 0), p.GridNode(8, 8), p.GridNode(0, 8)}) {
           const int v = s.NewNumberOf(corner);
           EXPECT_NEAR(static_cast<double>(s.Displacement(v, 0)), w, 1e-9 * std::fabs(w));
           EXPECT_NEAR(s.SpringForce(v, 0), -k * w, 1e-9 * std::fabs(k * w));
         }
         EXPECT_NEAR(s.SpringZ(), -load, 1e-9 * std::fabs(load));
       }},
      {"stiff edge springs reproduce the simply supported plate",
       [](TGlobMatrix& s) {
         const double side = 10;
         StructuredPlate p;
         p.width = p.height = side;
         p.cellsX = p.cellsY = 8;
         p.material = {210000, 0.3, 0.5, -1};
         TGlobMatrix rigid(ElementKind::Dkt, s.Options());
         ASSERT_EQ(rigid.SolveStatic(p.Build()), SolveCode::Ok);
         p.support = EdgeSupport::Free;
         PlateMesh m = p.Build();
         // At 1e8 D / L^3 the springs' own give still shows at 1.9e-6 (the reactions crowd
         // into the corners); at 1e9 it is below 1e-6.
         const double k = 1e9 * Bending(p.material) / (side * side * side);
         for (int e = 0; e < m.EdgeCount(); ++e) {
           const int a = m.edges[e][0], b = m.edges[e][1];
           const bool boundary = (m.x[a] == m.x[b] && (m.x[a] == 0 || m.x[a] == side)) ||
                                 (m.y[a] == m.y[b] && (m.y[a] == 0 || m.y[a] == side));
           if (boundary) m.edgeDof[e].spring[0] = k;
         }
         ASSERT_EQ(s.SolveStatic(m), SolveCode::Ok) << s.Failure().message;
         const int centre = p.GridNode(4, 4);
         const double expected =
             static_cast<double>(rigid.Displacement(rigid.NewNumberOf(centre), 0));
         EXPECT_NEAR(static_cast<double>(s.Displacement(s.NewNumberOf(centre), 0)), expected,
                     1e-6 * std::fabs(expected));
       }},
      {"a point load on a large plate on a foundation deflects by P / (8 sqrt(k D))",
       [](TGlobMatrix& s) {
         // D = 1 and k = 1: a characteristic length of 1, the plate 12 of them wide.
         const ElementPhysics material{12 * (1 - 0.09), 0.3, 1, 0};
         const double k = 1, force = -1;
         StructuredPlate p;
         p.width = p.height = 12;
         p.cellsX = p.cellsY = 96;
         p.pattern = DiagonalPattern::UnionJack;
         p.support = EdgeSupport::Free;
         p.material = material;
         PlateMesh m = p.Build();
         for (ElementPhysics& t : m.materials) t.foundation = k;
         m.nodeDof[p.GridNode(48, 48)].force[0] = force;
         ASSERT_EQ(s.SolveStatic(m), SolveCode::Ok) << s.Failure().message;
         const double expected = force / (8 * std::sqrt(k * Bending(material)));
         EXPECT_NEAR(static_cast<double>(s.Displacement(s.NewNumberOf(p.GridNode(48, 48)), 0)),
                     expected, 0.02 * std::fabs(expected));
       }},
  };
  for (const Case& c : cases)
    for (SolverKind kind : {SolverKind::Sparse, SolverKind::Envelope}) {
      SCOPED_TRACE(std::string(c.what) + ", " + SolverName(kind));
      TGlobMatrix s(ElementKind::Dkt, With(kind));
      c.run(s);
    }
}

TEST(ElasticSupport, RefusesStiffnessesThatCannotBe) {
  StructuredPlate p;
  p.cellsX = p.cellsY = 2;
  const PlateMesh base = p.Build();
  struct Case {
    const char* what;
    std::function<void(PlateMesh&)> change;
    const char* said;
  };
  const Case cases[] = {
      {"a negative node spring", [](PlateMesh& m) { m.nodeDof[4].spring[1] = -1; },
       "mesh node 4 on rot. X is negative"},
      {"a spring on a rigidly held freedom", [](PlateMesh& m) { m.nodeDof[0].spring[0] = 5; },
       "Mesh node 0 is both held rigidly and on a spring in lin. Z"},
      {"a foundation that is not finite",
       [](PlateMesh& m) {
         for (ElementPhysics& t : m.materials) t.foundation = 1;
         m.materials[3].foundation = NAN;
       },
       "under element 3"},
  };
  for (const Case& c : cases) {
    PlateMesh m = base;
    c.change(m);
    TGlobMatrix s;
    EXPECT_EQ(s.SolveStatic(m), SolveCode::InvalidSpring) << c.what;
    EXPECT_NE(s.Failure().message.find(c.said), std::string::npos) << s.Failure().message;
  }
}

}  // namespace
}  // namespace tavrin

// Renumbering, envelope factorization, assembly of loads and constraints, reactions, stresses
// and failure reporting of the static solve.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "analysis/EnvelopeCholesky.h"
#include "analysis/Renumbering.h"
#include "analysis/StructuredPlate.h"
#include "analysis/TGlobMatrix.h"
#include "analysis/TIsolines.h"

namespace tavrin {
namespace {

const ElementPhysics kSteel{210000, 0.3, 1, 0};
// The envelope solver, the plain nodal mean and edge loads lumped on the edges' ends: what the
// documented figures were computed with.
const AnalysisOptions kDocumented{SolverKind::Envelope, RecoveryKind::Average, 0,
                                  EdgeLoadKind::Lumped};

// ---- Renumbering ------------------------------------------------------------------------

TEST(Renumbering, SingleTriangleStartsAtFirstNeighbourAndFillsLowerTriangle) {
  Renumbering r;
  ASSERT_EQ(r.BuildAdjacency(3, {{0, 1}, {1, 2}, {2, 0}}), Renumbering::Code::Ok);
  std::vector<int> order, levels;
  EXPECT_EQ(r.LevelStructure(0, order, levels), 2);  // the root's own level counts
  EXPECT_EQ(r.FindRoot(0), 1);
  ASSERT_EQ(r.Number(), Renumbering::Code::Ok);
  EXPECT_EQ(r.NewToMesh()[0], 1);
  std::vector<int> start;
  int failed = 0;
  ASSERT_EQ(r.EnvelopeStarts(start, failed), Renumbering::Code::Ok);
  EXPECT_EQ(start, (std::vector<int>{0, 0, 0}));
}

TEST(Renumbering, RootSearchStopsOnceTheStructureSpansTheComponent) {
  // Path 0-1-2-3-4 searched from its middle: the last level {0, 4} offers 0 first, and 0 gives
  // as many levels as nodes, so the search ends there instead of going on to the other end.
  Renumbering r;
  ASSERT_EQ(r.BuildAdjacency(5, {{0, 1}, {1, 2}, {2, 3}, {3, 4}}), Renumbering::Code::Ok);
  std::vector<int> order, levels;
  EXPECT_EQ(r.LevelStructure(2, order, levels), 3);
  EXPECT_EQ(r.FindRoot(2), 0);
  EXPECT_EQ(r.FindRoot(0), 0);
}

TEST(Renumbering, ComponentsGetConsecutiveRangesAndIsolatedNodesAreReported) {
  // Two triangles {0,1,2} and {3,4,5} given interleaved, plus node 6 on no edge.
  Renumbering r;
  ASSERT_EQ(r.BuildAdjacency(7, {{3, 4}, {0, 1}, {4, 5}, {1, 2}, {5, 3}, {2, 0}}),
            Renumbering::Code::Ok);
  ASSERT_EQ(r.Number(), Renumbering::Code::Ok);
  for (int v = 0; v < 3; ++v) EXPECT_LT(r.NewToMesh()[v], 3);
  for (int v = 3; v < 6; ++v) EXPECT_GE(r.NewToMesh()[v], 3);
  EXPECT_EQ(r.NewToMesh()[6], 6);
  std::vector<int> start;
  int failed = -1;
  EXPECT_EQ(r.EnvelopeStarts(start, failed), Renumbering::Code::IsolatedNode);
  EXPECT_EQ(failed, 6);
  EXPECT_EQ(r.BuildAdjacency(2, {{0, 2}}), Renumbering::Code::BadAdjacency);
}

TEST(Renumbering, SortsEachRunByDegreesTakenBeforeNumbering) {
  // On this graph, degrees recounted at the time of each sort would give 2 0 7 8 6 1 4 3 5.
  Renumbering r;
  ASSERT_EQ(r.BuildAdjacency(9, {{0, 8},
                                 {0, 2},
                                 {3, 5},
                                 {5, 4},
                                 {8, 3},
                                 {3, 4},
                                 {0, 7},
                                 {4, 8},
                                 {3, 6},
                                 {0, 6},
                                 {0, 1},
                                 {1, 3},
                                 {0, 4}}),
            Renumbering::Code::Ok);
  ASSERT_EQ(r.Number(), Renumbering::Code::Ok);
  EXPECT_EQ(r.NewToMesh(), (std::vector<int>{2, 0, 7, 6, 1, 8, 4, 3, 5}));
  for (int v = 0; v < 9; ++v) EXPECT_EQ(r.MeshToNew()[r.NewToMesh()[v]], v);
}

TEST(Renumbering, LongStripKeepsABoundedProfile) {
  // A 1 x 200 strip: numbered from one end, every node couples only to a few earlier ones.
  StructuredPlate p;
  p.width = 200;
  p.height = 1;
  p.cellsX = 200;
  p.cellsY = 1;
  const PlateMesh m = p.Build();
  Renumbering r;
  ASSERT_EQ(r.BuildAdjacency(m.NodeCount(), m.edges), Renumbering::Code::Ok);
  ASSERT_EQ(r.Number(), Renumbering::Code::Ok);
  std::vector<int> start;
  int failed;
  ASSERT_EQ(r.EnvelopeStarts(start, failed), Renumbering::Code::Ok);
  for (int v = 0; v < m.NodeCount(); ++v) EXPECT_LE(v - start[v], 3) << v;
  // Its ends are the peripheral nodes: the first number goes to an end.
  const int first = r.NewToMesh()[0];
  EXPECT_TRUE(m.x[first] == 0 || m.x[first] == 200);
}

// ---- Envelope Cholesky ------------------------------------------------------------------

TEST(EnvelopeCholesky, SolvesSmallSystemsWhateverTheLoadScale) {
  EnvelopeCholesky one;
  one.Allocate({0});
  ASSERT_EQ(one.Add(0, 0, 4), EnvelopeCholesky::Code::Ok);
  int failed;
  ASSERT_EQ(one.Factor(nullptr, failed), EnvelopeCholesky::Code::Ok);
  std::vector<long double> b = {2};
  one.Solve(b);
  EXPECT_EQ(b[0], 0.5L);

  // Tridiagonal [2 -1; -1 2 -1; -1 2] with a zero leading load and tiny loads: the solution
  // scales exactly with the load (1e-15 relative), nothing is treated as zero.
  for (long double scale : {1.0L, 1e-5L, 1e-12L}) {
    EnvelopeCholesky m;
    m.Allocate({0, 1, 1});
    for (int i = 0; i < 3; ++i) ASSERT_EQ(m.Add(i, i, 2), EnvelopeCholesky::Code::Ok);
    EXPECT_EQ(m.Add(1, 0, -1), EnvelopeCholesky::Code::Ok);
    EXPECT_EQ(m.Add(2, 1, -1), EnvelopeCholesky::Code::Ok);
    EXPECT_EQ(m.Add(2, 0, 1), EnvelopeCholesky::Code::Outside);
    ASSERT_EQ(m.Factor(nullptr, failed), EnvelopeCholesky::Code::Ok);
    std::vector<long double> x = {0, 0, 4 * scale};
    m.Solve(x);
    EXPECT_NEAR(static_cast<double>(x[0] / scale), 1.0, 1e-15);
    EXPECT_NEAR(static_cast<double>(x[1] / scale), 2.0, 1e-15);
    EXPECT_NEAR(static_cast<double>(x[2] / scale), 3.0, 1e-15);
  }
}

TEST(EnvelopeCholesky, RejectsSingularAndIndefiniteMatrices) {
  int failed;
  EnvelopeCholesky zero;
  zero.Allocate({0, 1});
  ASSERT_EQ(zero.Add(1, 1, 1), EnvelopeCholesky::Code::Ok);
  EXPECT_EQ(zero.Factor(nullptr, failed), EnvelopeCholesky::Code::FirstPivot);
  EXPECT_EQ(failed, 0);

  // [1 1; 1 1] is singular: the second pivot cancels to zero.
  EnvelopeCholesky singular;
  singular.Allocate({0, 1});
  ASSERT_EQ(singular.Add(0, 0, 1), EnvelopeCholesky::Code::Ok);
  ASSERT_EQ(singular.Add(1, 0, 1), EnvelopeCholesky::Code::Ok);
  ASSERT_EQ(singular.Add(1, 1, 1), EnvelopeCholesky::Code::Ok);
  EXPECT_EQ(singular.Factor(nullptr, failed), EnvelopeCholesky::Code::NotPositive);
  EXPECT_EQ(failed, 1);

  // Nearly singular to working precision, relative to the row's own diagonal.
  EnvelopeCholesky nearly;
  nearly.Allocate({0, 1});
  ASSERT_EQ(nearly.Add(0, 0, 1e6), EnvelopeCholesky::Code::Ok);
  ASSERT_EQ(nearly.Add(1, 0, 1e6), EnvelopeCholesky::Code::Ok);
  ASSERT_EQ(nearly.Add(1, 1, 1e6 * (1 + 1e-12)), EnvelopeCholesky::Code::Ok);
  EXPECT_EQ(nearly.Factor(nullptr, failed), EnvelopeCholesky::Code::NotPositive);

  // Small but well-conditioned entries are fine: no absolute threshold.
  EnvelopeCholesky tiny;
  tiny.Allocate({0, 1});
  ASSERT_EQ(tiny.Add(0, 0, 2e-9), EnvelopeCholesky::Code::Ok);
  ASSERT_EQ(tiny.Add(1, 0, -1e-9), EnvelopeCholesky::Code::Ok);
  ASSERT_EQ(tiny.Add(1, 1, 2e-9), EnvelopeCholesky::Code::Ok);
  EXPECT_EQ(tiny.Factor(nullptr, failed), EnvelopeCholesky::Code::Ok);
}

// ---- Whole solve ------------------------------------------------------------------------

// One triangle with every node held: no equation is left, displacements are the held values.
PlateMesh HeldTriangle(double w0, double w1, double w2) {
  PlateMesh m;
  DofRecord d;
  d.code = 111;
  d.displacement[0] = w0;
  m.AddNode(0, 0, d);
  d.displacement[0] = w1;
  m.AddNode(2, 0, d);
  d.displacement[0] = w2;
  m.AddNode(0, 2, d);
  m.AddTriangle(0, 1, 2, kSteel);
  return m;
}

TEST(TGlobMatrix, ConstraintsFromNodesAndEdgesAndHeldValues) {
  // Square of two triangles; edge 0-1 has code 110 (LinZ and RotX at both ends, not RotY).
  PlateMesh m;
  for (auto [x, y] : {std::pair{0.0, 0.0}, {1.0, 0.0}, {1.0, 1.0}, {0.0, 1.0}}) m.AddNode(x, y);
  DofRecord edge;
  edge.code = 110;
  edge.displacement[0] = 0.25;
  m.AddEdge(0, 1, edge);
  DofRecord node;
  node.code = 100;
  node.displacement[0] = -0.5;  // the node's own value wins over the edge's
  m.nodeDof[1] = node;
  m.AddTriangle(0, 1, 2, kSteel);
  m.AddTriangle(0, 2, 3, kSteel);
  m.nodeDof[3].code = 111;
  TGlobMatrix s;
  ASSERT_EQ(s.SolveStatic(m), SolveCode::Ok) << s.Failure().message;
  EXPECT_EQ(s.EquationCount(), 12 - 4 - 3);
  const int n0 = s.NewNumberOf(0), n1 = s.NewNumberOf(1), n3 = s.NewNumberOf(3);
  EXPECT_TRUE(s.IsConstrained(n0, 0));
  EXPECT_TRUE(s.IsConstrained(n0, 1));
  EXPECT_FALSE(s.IsConstrained(n0, 2));
  EXPECT_EQ(s.Displacement(n0, 0), 0.25L);
  EXPECT_EQ(s.Displacement(n1, 0), -0.5L);
  EXPECT_EQ(s.Displacement(n3, 2), 0.0L);
  EXPECT_EQ(static_cast<double>(s.Displacement(4, 0)), 1e200);
  EXPECT_EQ(s.NewNumberOf(4), -1);

  TGlobMatrix all;
  ASSERT_EQ(all.SolveStatic(HeldTriangle(1, 2, 3)), SolveCode::Ok);
  EXPECT_EQ(all.EquationCount(), 0);
  EXPECT_EQ(all.Displacement(all.NewNumberOf(2), 0), 3.0L);
}

TEST(TGlobMatrix, LoadsFromPressureNodesAndEdgesCountInLoadZ) {
  // A free triangle of area 0.25 with pressure 3 puts 0.25 on each corner; an edge load of 2 per
  // unit length on the edge of length 1 puts 1 on each end; a node load on a held freedom counts.
  PlateMesh m;
  m.AddNode(0, 0);
  m.AddNode(1, 0);
  m.AddNode(0, 0.5);
  DofRecord edge;
  edge.force[0] = 2;
  m.AddEdge(0, 1, edge);
  m.AddTriangle(0, 1, 2, {210000, 0.3, 0.1, 3});
  m.nodeDof[2].code = 111;
  m.nodeDof[2].force[0] = 5;
  m.nodeDof[0].code = 111;
  m.nodeDof[1].code = 111;
  TGlobMatrix s;
  ASSERT_EQ(s.SolveStatic(m), SolveCode::Ok);
  EXPECT_DOUBLE_EQ(s.LoadZ(), 0.75 + 2 + 5);
  // Nothing moves, so each reaction is minus the load there.
  EXPECT_DOUBLE_EQ(s.Reaction(s.NewNumberOf(0), 0), -1.25);
  EXPECT_DOUBLE_EQ(s.Reaction(s.NewNumberOf(2), 0), -5.25);
  EXPECT_DOUBLE_EQ(s.ReactionZ(), -s.LoadZ());

  // A small element keeps its pressure: sides of a few millimetres in a job in metres.
  PlateMesh small;
  DofRecord held;
  held.code = 111;
  small.AddNode(0, 0, held);
  small.AddNode(0.005, 0, held);
  small.AddNode(0, 0.004, held);
  small.AddTriangle(0, 1, 2, {2.1e11, 0.3, 0.001, 3});
  TGlobMatrix t;
  ASSERT_EQ(t.SolveStatic(small), SolveCode::Ok) << t.Failure().message;
  EXPECT_NEAR(t.LoadZ(), 3e-5, 1e-18);
}

TEST(TGlobMatrix, HeldRigidMotionIsReproducedExactly) {
  // Boundary held at the values of the rigid motion w = 0.5 + 0.01 x - 0.02 y; no load. The
  // interior must follow it, with zero stresses and zero reactions.
  StructuredPlate p;
  p.width = p.height = 10;
  p.cellsX = p.cellsY = 6;
  p.support = EdgeSupport::Clamped;
  p.material = kSteel;
  PlateMesh m = p.Build();
  for (int i = 0; i < m.NodeCount(); ++i) {
    DofRecord& d = m.nodeDof[i];
    if (d.code == 0) continue;
    d.displacement[0] = 0.5 + 0.01 * m.x[i] - 0.02 * m.y[i];
    d.displacement[1] = -0.02;  // dw/dy
    d.displacement[2] = -0.01;  // -dw/dx
  }
  for (ElementKind kind : {ElementKind::Dkt, ElementKind::Cubic}) {
    TGlobMatrix s(kind);
    ASSERT_EQ(s.SolveStatic(m), SolveCode::Ok) << s.Failure().message;
    ASSERT_EQ(s.SolveStress(), StressCode::Ok);
    for (int v = 0; v < s.ResultNodeCount(); ++v) {
      const double x = s.NodeX(v), y = s.NodeY(v);
      EXPECT_NEAR(static_cast<double>(s.Displacement(v, 0)), 0.5 + 0.01 * x - 0.02 * y, 1e-12);
      EXPECT_NEAR(static_cast<double>(s.Displacement(v, 1)), -0.02, 1e-12);
      EXPECT_NEAR(s.NodeStress(v, 0), 0.0, 1e-6);
      EXPECT_NEAR(s.Reaction(v, 0), 0.0, 1e-6);
    }
  }
}

TEST(TGlobMatrix, SolutionScalesLinearlyWithTinyLoads) {
  StructuredPlate p;
  p.width = p.height = 1;  // metres
  p.cellsX = p.cellsY = 4;
  p.material = {2.1e11, 0.3, 0.01, 1};  // newtons and metres
  const PlateMesh unit = p.Build();
  TGlobMatrix ref;
  ASSERT_EQ(ref.SolveStatic(unit), SolveCode::Ok);
  double largest = 0;
  for (int v = 0; v < ref.ResultNodeCount(); ++v)
    for (int d = 0; d < 3; ++d)
      largest = std::max(largest, std::fabs(static_cast<double>(ref.Displacement(v, d))));
  // 1e-12 of the largest displacement, scaled with the load.
  for (double scale : {1e-4, 1e-9}) {
    PlateMesh m = unit;
    for (auto& mat : m.materials) mat.pressure *= scale;
    TGlobMatrix s;
    ASSERT_EQ(s.SolveStatic(m), SolveCode::Ok);
    for (int v = 0; v < s.ResultNodeCount(); ++v)
      for (int d = 0; d < 3; ++d) {
        const long double r = ref.Displacement(v, d);
        EXPECT_NEAR(static_cast<double>(s.Displacement(v, d)), static_cast<double>(r * scale),
                    1e-12 * largest * scale);
      }
  }
}

TEST(TGlobMatrix, FailuresStopTheSolveWithTheirDetail) {
  // Nothing held: the plate is a mechanism.
  StructuredPlate p;
  p.cellsX = p.cellsY = 2;
  p.support = EdgeSupport::Free;
  TGlobMatrix free;
  const SolveCode rc = free.SolveStatic(p.Build());
  EXPECT_TRUE(rc == SolveCode::NotPositive || rc == SolveCode::FirstPivot);
  EXPECT_FALSE(free.IsSolved());
  EXPECT_GE(free.Failure().equation, 0);
  EXPECT_GE(free.Failure().meshNode, 0);
  EXPECT_FALSE(free.Failure().message.empty());
  EXPECT_EQ(static_cast<double>(free.Displacement(0, 0)), 1e200);
  EXPECT_EQ(free.SolveStress(), StressCode::NoSolution);
  EXPECT_EQ(free.ExportCosmos(::testing::TempDir() + "x.tvd"), ExportResult::NoSolution);

  // A zero-area triangle among sound ones.
  PlateMesh m = HeldTriangle(0, 0, 0);
  const int a = m.AddNode(4, 0), b = m.AddNode(6, 0);
  m.AddTriangle(1, a, b, kSteel);
  TGlobMatrix degenerate;
  EXPECT_EQ(degenerate.SolveStatic(m), SolveCode::DegenerateElement);
  EXPECT_EQ(degenerate.Failure().element, 1);

  // A node on no edge.
  PlateMesh loose = HeldTriangle(0, 0, 0);
  loose.AddNode(9, 9);
  TGlobMatrix isolated;
  EXPECT_EQ(isolated.SolveStatic(loose), SolveCode::IsolatedNode);
  EXPECT_EQ(isolated.Failure().meshNode, 3);

  TGlobMatrix empty;
  EXPECT_EQ(empty.SolveStatic(PlateMesh()), SolveCode::EmptyMesh);
  PlateMesh ragged = HeldTriangle(0, 0, 0);
  ragged.materials.clear();
  EXPECT_EQ(empty.SolveStatic(ragged), SolveCode::AdjacencyFailed);

  PlateMesh noMaterial = HeldTriangle(0, 0, 0);
  noMaterial.materials[0].thickness = 0;
  TGlobMatrix zeroThickness;
  EXPECT_EQ(zeroThickness.SolveStatic(noMaterial), SolveCode::DegenerateElement);
}

TEST(TGlobMatrix, StressesBeyondADoubleAreNotReported) {
  // A held corner lifted by 1e308 with the rotations held at 0: the displacements fit a
  // double, the curvatures and stresses from them do not.
  TGlobMatrix s;
  ASSERT_EQ(s.SolveStatic(HeldTriangle(1e308, 0, 0)), SolveCode::Ok);
  EXPECT_EQ(s.SolveStress(), StressCode::OutOfRange);
  EXPECT_FALSE(s.HasStresses());
  EXPECT_EQ(s.ElementStress(0, 0), kNoValue);
  EXPECT_EQ(s.NodeMoment(0, 0), kNoValue);
  TIsolines set;
  EXPECT_EQ(BuildIsolines(set, static_cast<int>(ResultField::SigmaX), s), -1);

  ASSERT_EQ(s.SolveStatic(HeldTriangle(1, 0, 0)), SolveCode::Ok);
  EXPECT_EQ(s.SolveStress(), StressCode::Ok);
}

TEST(TGlobMatrix, APlateTooSoftForADoubleIsAFailureNotNaN) {
  // A modulus of 1e-300 passes the relative pivot tests. Under a small pressure the deflection
  // (about 4e305) still fits a double and the stresses do not depend on the modulus; a thousand
  // times the pressure takes it past a double, which must be a failure, not NaN results.
  StructuredPlate p;
  p.cellsX = p.cellsY = 2;
  p.width = p.height = 1000;
  p.material = {1e-300, 0.3, 10, -0.01};
  TGlobMatrix fits;
  ASSERT_EQ(fits.SolveStatic(p.Build()), SolveCode::Ok);
  ASSERT_EQ(fits.SolveStress(), StressCode::Ok);
  EXPECT_TRUE(std::isfinite(fits.ElementStress(0, 0)));

  p.material.pressure = -10;
  for (ElementKind kind : {ElementKind::Dkt, ElementKind::Cubic}) {
    TGlobMatrix s(kind);
    EXPECT_EQ(s.SolveStatic(p.Build()), SolveCode::OutOfRange);
    EXPECT_FALSE(s.IsSolved());
    EXPECT_GE(s.Failure().meshNode, 0);
    EXPECT_NE(s.Failure().message.find("out of range"), std::string::npos);
    EXPECT_EQ(s.SolveStress(), StressCode::NoSolution);
    EXPECT_EQ(static_cast<double>(s.Displacement(0, 0)), kNoValue);
  }
}

TEST(TGlobMatrix, StressesAveragePlainlyAndQueriesGuardTheirRange) {
  PlateMesh m = HeldTriangle(0, 0, 0);
  TGlobMatrix s;
  EXPECT_EQ(s.ElementStress(0, 0), 1e200);
  ASSERT_EQ(s.SolveStatic(m), SolveCode::Ok);
  EXPECT_EQ(s.ElementStress(0, 0), 1e200);  // not before SolveStress
  ASSERT_EQ(s.SolveStress(), StressCode::Ok);
  EXPECT_TRUE(s.HasStresses());
  EXPECT_EQ(s.ElementStress(0, 0), 0.0);
  EXPECT_EQ(s.ElementStress(1, 0), 1e200);
  EXPECT_EQ(s.NodeStress(0, 3), 1e200);
  EXPECT_EQ(s.CentroidDeflection(-1), 1e200);

  // Held curvature w = 0.5 k x^2 on every node of a small plate: every element and every
  // node carries the same stress, and sigma X = 6 Mx / t^2.
  StructuredPlate p;
  p.width = 3;
  p.height = 2;
  p.cellsX = 3;
  p.cellsY = 2;
  p.pattern = DiagonalPattern::CrissCross;
  p.material = {1000, 0.25, 0.2, 0};
  PlateMesh q = p.Build();
  const double k = 0.01;
  for (int i = 0; i < q.NodeCount(); ++i) {
    q.nodeDof[i].code = 111;
    q.nodeDof[i].displacement[0] = 0.5 * k * q.x[i] * q.x[i];
    q.nodeDof[i].displacement[2] = -k * q.x[i];
  }
  TGlobMatrix c;
  c.SetOptions(kDocumented);
  ASSERT_EQ(c.SolveStatic(q), SolveCode::Ok);
  ASSERT_EQ(c.SolveStress(), StressCode::Ok);
  const double sx = -(0.2 / 2) * 1000 / (1 - 0.0625) * k, sy = 0.25 * sx;
  for (int v = 0; v < c.ResultNodeCount(); ++v) {
    EXPECT_NEAR(c.NodeStress(v, 0), sx, 1e-12);
    EXPECT_NEAR(c.NodeStress(v, 1), sy, 1e-12);
    EXPECT_NEAR(c.NodeStress(v, 2), 0, 1e-12);
    EXPECT_NEAR(c.NodeMoment(v, 0), sx * 0.2 * 0.2 / 6, 1e-14);
  }
  for (int t = 0; t < c.ResultTriangleCount(); ++t) EXPECT_NEAR(c.ElementStress(t, 0), sx, 1e-12);

  // Under pressure the element values differ: each node carries the plain mean of the elements
  // around it (not weighted by area or angle), 1e-12 relative.
  StructuredPlate loaded;
  loaded.width = 10;
  loaded.height = 6;
  loaded.cellsX = 5;
  loaded.cellsY = 3;
  loaded.pattern = DiagonalPattern::CrissCross;
  loaded.material = {1000, 0.25, 0.2, 1};
  TGlobMatrix u;
  u.SetOptions(kDocumented);
  ASSERT_EQ(u.SolveStatic(loaded.Build()), SolveCode::Ok);
  ASSERT_EQ(u.SolveStress(), StressCode::Ok);
  std::vector<double> sum(3 * u.ResultNodeCount(), 0.0);
  std::vector<int> count(u.ResultNodeCount(), 0);
  for (int t = 0; t < u.ResultTriangleCount(); ++t)
    for (int k = 0; k < 3; ++k) {
      const int v = u.TriangleCorner(t, k);
      ++count[v];
      for (int comp = 0; comp < 3; ++comp) sum[3 * v + comp] += u.ElementStress(t, comp);
    }
  for (int v = 0; v < u.ResultNodeCount(); ++v)
    for (int comp = 0; comp < 3; ++comp) {
      const double mean = sum[3 * v + comp] / count[v];
      EXPECT_NEAR(u.NodeStress(v, comp), mean, 1e-12 * std::fabs(mean));
      EXPECT_NEAR(u.NodeMoment(v, comp), mean * 0.2 * 0.2 / 6, 1e-12 * std::fabs(mean));
    }
}

// Records the progress reports of a solve.
class ProgressLog : public SolveProgress {
 public:
  struct Report {
    std::string caption;
    int position, index, total;
  };
  void ShowSolveProgress(const std::string& caption, int position, int index, int total) override {
    reports.push_back({caption, position, index, total});
  }
  void HideSolveProgress() override { ++hides; }
  void ProcessEvents() override { ++events; }
  std::vector<Report> reports;
  int hides = 0, events = 0;
};

TEST(TGlobMatrix, ReportsProgressOfEveryStageAndHidesAtTheEnd) {
  StructuredPlate p;
  p.cellsX = p.cellsY = 2;
  const PlateMesh mesh = p.Build();
  ProgressLog log;
  TGlobMatrix s(ElementKind::Dkt, &log);
  s.SetOptions(kDocumented);
  ASSERT_EQ(s.SolveStatic(mesh), SolveCode::Ok);
  const int triangles = mesh.TriangleCount(), n = s.EquationCount();
  ASSERT_EQ(log.reports.size(), static_cast<size_t>(4 + triangles + n - 1));
  auto expect = [&](size_t at, const std::string& caption, int position, int index, int total) {
    const auto& r = log.reports[at];
    EXPECT_EQ(r.caption, caption) << at;
    EXPECT_EQ(r.position, position) << at;
    EXPECT_EQ(r.index, index) << at;
    EXPECT_EQ(r.total, total) << at;
  };
  expect(0, "Cuthill-McKee renumbering", 1, 0, 10);
  expect(1, "Cuthill-McKee renumbering", 10, 0, 10);
  for (int t = 0; t < triangles; ++t)
    expect(2 + t, "Generating local stiffness matrix #", t, t, triangles);
  expect(2 + triangles, "Loads and constrains", 1, 0, 10);
  expect(3 + triangles, "Loads and constrains", 10, 0, 10);
  for (int i = 1; i < n; ++i) expect(3 + triangles + i, "Stiffness matrix factorization", i, i, n);
  EXPECT_EQ(log.events, static_cast<int>(log.reports.size()));
  EXPECT_EQ(log.hides, 1);

  // A failed solve hides the window too.
  ProgressLog failed;
  p.support = EdgeSupport::Free;
  TGlobMatrix f(ElementKind::Dkt, &failed);
  EXPECT_NE(f.SolveStatic(p.Build()), SolveCode::Ok);
  EXPECT_EQ(failed.hides, 1);
}

TEST(TGlobMatrix, ASecondSolveLeavesNothingOfTheFirst) {
  StructuredPlate p;
  p.cellsX = p.cellsY = 3;
  TGlobMatrix s;
  ASSERT_EQ(s.SolveStatic(p.Build()), SolveCode::Ok);
  ASSERT_EQ(s.SolveStress(), StressCode::Ok);
  EXPECT_EQ(s.SolveStatic(PlateMesh()), SolveCode::EmptyMesh);
  EXPECT_FALSE(s.IsSolved());
  EXPECT_FALSE(s.HasStresses());
  EXPECT_EQ(s.NewNumberOf(0), -1);
  EXPECT_EQ(s.MeshNodeOf(0), -1);
  EXPECT_EQ(s.NodeX(0), 1e200);
  EXPECT_EQ(s.TriangleCorner(0, 0), -1);
  EXPECT_FALSE(s.IsConstrained(0, 0));
  EXPECT_EQ(s.EnvelopeLength(0), -1);
  EXPECT_EQ(s.Reaction(0, 0), 1e200);
}

// ---- Reference plates -------------------------------------------------------------------

struct PlateCase {
  ElementKind element;
  DiagonalPattern pattern;
  EdgeSupport support;
  int cells;
  double w, sx;  // centre deflection and centre nodal sigma X
};

class ReferencePlate : public ::testing::TestWithParam<PlateCase> {};

// Square plate of side 100, E = 210000, nu = 0.3, t = 1, q = 1: independent results of both
// elements on structured meshes. 1e-9 relative.
TEST_P(ReferencePlate, CentreDeflectionAndStress) {
  const PlateCase& c = GetParam();
  StructuredPlate p;
  p.width = p.height = 100;
  p.cellsX = p.cellsY = c.cells;
  p.pattern = c.pattern;
  p.support = c.support;
  p.material = {210000, 0.3, 1, 1};
  TGlobMatrix s(c.element);
  s.SetOptions(kDocumented);
  ASSERT_EQ(s.SolveStatic(p.Build()), SolveCode::Ok) << s.Failure().message;
  ASSERT_EQ(s.SolveStress(), StressCode::Ok);
  const int centre = s.NewNumberOf(p.GridNode(c.cells / 2, c.cells / 2));
  EXPECT_NEAR(static_cast<double>(s.Displacement(centre, 0)), c.w, 1e-9 * c.w);
  EXPECT_NEAR(s.NodeStress(centre, 0), c.sx, 1e-9 * c.sx);
  EXPECT_NEAR(s.NodeStress(centre, 1), c.sx, 1e-9 * c.sx);
  // The supports carry the whole load (1e-9 relative).
  EXPECT_NEAR(s.LoadZ(), 10000, 1e-9);
  EXPECT_NEAR(s.ReactionZ(), -10000, 1e-5);
}

INSTANTIATE_TEST_SUITE_P(
    Plates, ReferencePlate,
    ::testing::Values(PlateCase{ElementKind::Dkt, DiagonalPattern::Right,
                                EdgeSupport::SimplySupported, 4, 20.2778420048, 2351.66364646},
                      PlateCase{ElementKind::Dkt, DiagonalPattern::Right, EdgeSupport::Clamped, 4,
                                7.21160155329, 1029.82650856},
                      PlateCase{ElementKind::Dkt, DiagonalPattern::UnionJack,
                                EdgeSupport::SimplySupported, 4, 20.2341732851, 2259.46805607},
                      PlateCase{ElementKind::Dkt, DiagonalPattern::UnionJack, EdgeSupport::Clamped,
                                4, 7.22000147389, 993.429294677},
                      PlateCase{ElementKind::Dkt, DiagonalPattern::UnionJack,
                                EdgeSupport::SimplySupported, 8, 20.8478250118, 2710.18213563},
                      PlateCase{ElementKind::Dkt, DiagonalPattern::UnionJack, EdgeSupport::Clamped,
                                8, 6.74721552367, 1268.35905087},
                      PlateCase{ElementKind::Dkt, DiagonalPattern::CrissCross,
                                EdgeSupport::SimplySupported, 4, 20.4208327813, 2572.97579040},
                      PlateCase{ElementKind::Dkt, DiagonalPattern::CrissCross, EdgeSupport::Clamped,
                                4, 6.88800955609, 1161.30130165},
                      PlateCase{ElementKind::Dkt, DiagonalPattern::Right,
                                EdgeSupport::SimplySupported, 8, 20.9217159101, 2744.61609951},
                      PlateCase{ElementKind::Dkt, DiagonalPattern::Right, EdgeSupport::Clamped, 8,
                                6.77522331524, 1296.44296824},
                      PlateCase{ElementKind::Dkt, DiagonalPattern::CrissCross,
                                EdgeSupport::SimplySupported, 8, 20.9412886469, 2798.88187815},
                      PlateCase{ElementKind::Dkt, DiagonalPattern::CrissCross, EdgeSupport::Clamped,
                                8, 6.66730664681, 1323.59098388},
                      PlateCase{ElementKind::Cubic, DiagonalPattern::Right,
                                EdgeSupport::SimplySupported, 4, 34.920342797, 1879.1199556},
                      PlateCase{ElementKind::Cubic, DiagonalPattern::Right, EdgeSupport::Clamped, 4,
                                7.4169935753, 539.85873903},
                      PlateCase{ElementKind::Cubic, DiagonalPattern::Left,
                                EdgeSupport::SimplySupported, 4, 34.920342797, 1879.1199556},
                      PlateCase{ElementKind::Cubic, DiagonalPattern::Left, EdgeSupport::Clamped, 4,
                                7.4169935753, 539.85873903}));

}  // namespace
}  // namespace tavrin

// Load cases on one mesh against separate plain jobs: the mesh loads of each case, the linearity
// of combinations and the envelopes, each compared with jobs that hold the same loads as their
// only case, meshed and solved on their own.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "analysis/CaseMeshLoads.h"
#include "analysis/CaseSolution.h"
#include "mesh/FEM.h"
#include "mesh/MeshParameters.h"
#include "model/TObjCont.h"

namespace tavrin {
namespace {

MeshParameters Parameters() {
  MeshParameters p;
  p.minAngle = 28;
  p.maxArea = 900;
  p.animate = false;
  return p;
}

// The example with two materials (an inner square on a simply supported plate), with a node
// at (100, 350), a free node inside the inner square, and three cases: the file's pressures,
// live load (pressure on the inner square, a point load and a moment along one edge), and a
// settlement of the supported edge 2 with a clamping moment on edge 0.
TObjCont CasesJob() {
  TObjCont job;
  EXPECT_TRUE(job.LoadJob(std::string(TAVRIN_SOURCE_DIR) + "/examples/two-materials.sam"));
  job.AddFreeNode(100, 350);
  job.AddFreeNode(220, 240);
  job.SetNodeConstraints(1, 100, 0, 0, 0);
  LoadCases cases;
  cases.firstName = "Dead";
  LoadCase live;
  live.name = "Live";
  live.SetPressure(1, -0.03);
  LoadCase::Set(live.nodeForce, 8, {-400, 0, 0});
  LoadCase::Set(live.edgeForce, 5, {0, 3, 0});
  LoadCase settle;
  settle.name = "Settlement";
  LoadCase::Set(settle.edgeDisplacement, 2, {-0.2, 0, 0});
  LoadCase::Set(settle.nodeDisplacement, 1, {0.1, 0, 0});
  LoadCase::Set(settle.edgeForce, 0, {0, 0, -5});
  cases.further = {live, settle};
  cases.combinations = {{"ULS", {{"Dead", 1.35}, {"Live", 1.5}}},
                        {"SLS", {{"Dead", 1}, {"Live", 0.7}, {"Settlement", 1}}},
                        {"Uplift", {{"Dead", -1}, {"Settlement", -0.5}}}};
  cases.envelopes = {{"All", {"ULS", "SLS", "Uplift"}}};
  EXPECT_EQ(job.SetCases(cases), "");
  job.PrepareForMeshing();
  return job;
}

// The case's sets against a plain job of the same loads meshed and solved on its own.
ResultSet SolveAlone(const TObjCont& job, const LoadCase& loads, const CaseSolution& cases,
                     const AnalysisOptions& options) {
  TObjCont alone = job.WithLoads(loads);
  FEM mesh(Parameters());
  mesh.GenerateMesh(alone);
  CaseSolution s;
  EXPECT_EQ(s.Solve(mesh, alone, ElementKind::Dkt, options), "");
  EXPECT_EQ(s.Sets()[0].nodes, cases.Sets()[0].nodes);
  EXPECT_EQ(s.X(), cases.X());  // the same mesh, the same numbering
  return s.Sets()[0];
}

double Largest(const std::vector<double>& v) {
  double m = 0;
  for (double x : v) m = std::max(m, std::abs(x));
  return m;
}

// Both solvers: the further cases reuse each one's factor.
class CaseSolutionBySolver : public ::testing::TestWithParam<SolverKind> {};

TEST_P(CaseSolutionBySolver, CasesCombinationsAndEnvelopesMatchSeparateSolves) {
  AnalysisOptions options;
  options.solver = GetParam();
  const TObjCont job = CasesJob();
  FEM mesh(Parameters());
  mesh.GenerateMesh(job);
  ASSERT_TRUE(mesh.IsUsable(28));

  // The first case laid on the mesh by the map is the mesher's own copy of it.
  const PlateMesh base = PlateMesh::FromFem(mesh);
  const PlateMesh first = CaseMeshLoads(mesh, job).Apply(base, job.CaseLoads(0));
  for (int i = 0; i < base.NodeCount(); ++i)
    for (int d = 0; d < 3; ++d) EXPECT_EQ(first.nodeDof[i].force[d], base.nodeDof[i].force[d]);
  for (int e = 0; e < base.EdgeCount(); ++e)
    for (int d = 0; d < 3; ++d) EXPECT_EQ(first.edgeDof[e].force[d], base.edgeDof[e].force[d]);
  for (int t = 0; t < base.TriangleCount(); ++t)
    EXPECT_EQ(first.materials[t].pressure, base.materials[t].pressure);

  CaseSolution cases;
  ASSERT_EQ(cases.Solve(mesh, job, ElementKind::Dkt, options), "");
  ASSERT_EQ(cases.CaseSets(), 3);
  ASSERT_EQ(cases.Sets().size(), 6u);

  // Each case and each combination equals the plain job of its loads, to 1e-10 of the largest
  // value of each column family; a combination equals the factored sum of its cases to 1e-12.
  const LoadCases& all = job.Cases();
  std::vector<ResultSet> alone;
  for (int k = 0; k < 6; ++k) {
    const LoadCase loads = k < 3 ? job.CaseLoads(k) : job.CombinationLoads(k - 3);
    alone.push_back(SolveAlone(job, loads, cases, options));
    const ResultSet& set = cases.Sets()[static_cast<std::size_t>(k)];
    const double nodeScale = Largest(set.node), elementScale = Largest(set.element);
    for (std::size_t i = 0; i < set.node.size(); ++i)
      ASSERT_NEAR(set.node[i], alone.back().node[i], 1e-10 * nodeScale) << set.name << " " << i;
    for (std::size_t i = 0; i < set.element.size(); ++i)
      ASSERT_NEAR(set.element[i], alone.back().element[i], 1e-10 * elementScale) << set.name;
    EXPECT_NEAR(set.loadZ, alone.back().loadZ, 1e-10 * std::abs(set.loadZ)) << set.name;
    if (k < 3) continue;
    ResultSet sum = set.ZeroLike(set.name);
    for (const CombinationTerm& term : all.combinations[static_cast<std::size_t>(k - 3)].terms)
      sum.AddScaled(cases.Sets()[static_cast<std::size_t>(all.FindCase(term.caseName))],
                    term.factor);
    for (std::size_t i = 0; i < set.node.size(); ++i)
      ASSERT_NEAR(set.node[i], sum.node[i], 1e-12 * nodeScale) << set.name;
  }
  EXPECT_NEAR(cases.Sets()[3].loadZ, 1.35 * cases.Sets()[0].loadZ + 1.5 * cases.Sets()[1].loadZ,
              1e-12 * std::abs(cases.Sets()[3].loadZ));

  // The design columns at every node of every set: the principal moments are the eigenvalues
  // of the moment tensor (trace and determinant, to 1e-12 of the scale), and the Wood–Armer
  // moments meet the yield condition of both faces (the solver's moments are hogging-positive).
  for (std::size_t s = 0; s < cases.Sets().size(); ++s) {
    const ResultSet& set = cases.Sets()[s];
    const DesignColumns& d = cases.Design()[s];
    for (int v = 0; v < set.nodes; ++v) {
      const double mx = set.Node(v, 6), my = set.Node(v, 7), mxy = set.Node(v, 8);
      const double scale = std::abs(mx) + std::abs(my) + std::abs(mxy) + 1e-300;
      ASSERT_NEAR(d.Node(v, 0) + d.Node(v, 1), mx + my, 1e-12 * scale);
      ASSERT_NEAR(d.Node(v, 0) * d.Node(v, 1), mx * my - mxy * mxy, 1e-12 * scale * scale);
      const double faces[2][4] = {{d.Node(v, 6), d.Node(v, 7), -mx, -my},
                                  {d.Node(v, 8), d.Node(v, 9), mx, my}};
      for (const auto& f : faces) {
        ASSERT_GE(f[0], std::max(f[2], 0.0) - 1e-12 * scale);
        ASSERT_GE(f[1], std::max(f[3], 0.0) - 1e-12 * scale);
        // To rounding: each difference is good to a few ulps of the scale.
        const double a = f[0] - f[2], b = f[1] - f[3];
        ASSERT_GE(a * b, mxy * mxy - 1e-13 * scale * (std::abs(a) + std::abs(b)));
      }
    }
  }

  // The envelope: max and min of every column over the separate solves, and a combination named
  // whose own value is that extreme.
  ASSERT_EQ(cases.Envelopes().size(), 1u);
  const NodeEnvelope& e = cases.Envelopes()[0];
  for (int k = 0; k < ResultSet::kNodeColumns; ++k) {
    double scale = 0;
    for (int c = 3; c < 6; ++c)
      for (int v = 0; v < e.nodes; ++v) scale = std::max(scale, std::abs(alone[c].Node(v, k)));
    for (int v = 0; v < e.nodes; ++v) {
      double hi = -HUGE_VAL, lo = HUGE_VAL;
      for (int c = 3; c < 6; ++c) {
        hi = std::max(hi, alone[c].Node(v, k));
        lo = std::min(lo, alone[c].Node(v, k));
      }
      ASSERT_NEAR(e.max[e.At(v, k)], hi, 1e-10 * scale) << NodeEnvelope::ColumnName(k) << v;
      ASSERT_NEAR(e.min[e.At(v, k)], lo, 1e-10 * scale) << NodeEnvelope::ColumnName(k) << v;
      EXPECT_NEAR(alone[3 + e.maxFrom[e.At(v, k)]].Node(v, k), hi, 1e-10 * scale);
      EXPECT_NEAR(alone[3 + e.minFrom[e.At(v, k)]].Node(v, k), lo, 1e-10 * scale);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Solvers, CaseSolutionBySolver,
                         ::testing::Values(SolverKind::Sparse, SolverKind::Envelope));

TEST(CaseSolution, RefusesAJobWhoseCombinationNamesAMissingCase) {
  TObjCont job = CasesJob();
  job.ReadJobText(job.JobText() + "LCO, Bad, Snow, 1\n");
  FEM mesh(Parameters());
  mesh.GenerateMesh(job);
  CaseSolution s;
  EXPECT_EQ(s.Solve(mesh, job, ElementKind::Dkt, AnalysisOptions{}),
            "combination 'Bad' names the case 'Snow', which the job does not have");
  EXPECT_TRUE(s.Sets().empty());
}

}  // namespace
}  // namespace tavrin

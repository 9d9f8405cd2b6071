// The adaptive solve on a plate whose re-entrant corner spoils uniform refinement: the cycles
// reach the target, and with far fewer elements than a uniform mesh of the same estimate.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>

#include "analysis/AdaptiveSolve.h"
#include "mesh/FEM.h"
#include "model/TObjCont.h"

namespace tavrin {
namespace {

// An L of side 2 (the square [0, 2]^2 without its upper right quadrant), uniformly loaded,
// every edge simply supported.
std::string LShape() {
  const double x[] = {0, 2, 2, 1, 1, 0}, y[] = {0, 0, 1, 1, 2, 2};
  std::ostringstream s;
  for (int k = 0; k < 6; ++k) s << "N, " << x[k] << ", " << y[k] << "\n";
  s << "OBJECT 0\n";
  for (int k = 0; k < 6; ++k) s << "E, " << k << ", " << (k + 1) % 6 << "\n";
  s << "Close\nP, 0, -1, 210000, 0.3, 0.02, 0\n";
  for (int k = 0; k < 6; ++k) s << "DE, " << k << ", 0, n, n\n";
  return s.str();
}

std::unique_ptr<FEM> Meshed(const TObjCont& job, double maxArea) {
  MeshParameters p;
  p.minAngle = 28;
  p.maxArea = static_cast<float>(maxArea);
  p.animate = false;
  auto mesh = std::make_unique<FEM>(p);
  mesh->GenerateMesh(job);
  return mesh;
}

TEST(AdaptiveSolve, ReachesTheTargetWithFewerElementsThanUniformRefinement) {
  TObjCont job;
  job.ReadJobText(LShape());
  job.PrepareForMeshing();
  // 0.1 once ended in a refused solve: the refinement loop, asked for the field's small
  // triangles, crowded nodes 1e-10 apart beside the corner.
  for (const double target : {0.1, 0.07}) {
    SCOPED_TRACE(target);
    AdaptiveSettings settings;
    settings.target = target;
    settings.maxCycles = 8;
    const AdaptiveRun run = SolveAdaptively(job, Meshed(job, 0.05), Meshed(job, 0.05)->Parameters(),
                                            ElementKind::Dkt, AnalysisOptions{}, settings);
    ASSERT_EQ(run.end, AdaptiveEnd::Reached) << run.message;
    ASSERT_GE(run.cycles.size(), 2u);
    const AdaptiveCycle& last = run.cycles.back();
    EXPECT_LE(last.estimate, target);
    EXPECT_EQ(last.elements, run.mesh->TriangleCount());
    EXPECT_NEAR(run.solution.First().ErrorEstimate(), last.estimate, 0);
    // The results made from the last cycle's solver are those of a solve of its mesh.
    CaseSolution again;
    ASSERT_EQ(again.Solve(*run.mesh, job, ElementKind::Dkt, AnalysisOptions{}), "");
    ASSERT_EQ(run.solution.Sets().size(), again.Sets().size());
    EXPECT_EQ(run.solution.Sets()[0].node, again.Sets()[0].node);
    EXPECT_EQ(run.solution.Sets()[0].element, again.Sets()[0].element);
    EXPECT_EQ(run.solution.Design()[0].node, again.Design()[0].node);
    EXPECT_EQ(run.solution.Figures(0).equations, again.Figures(0).equations);

    // A uniform mesh with half as many elements again as the adaptive mesh still misses the
    // target: the corner's error dominates it.
    const double area = 3.0 / (2.0 * last.elements);
    const std::unique_ptr<FEM> uniform = Meshed(job, area);
    ASSERT_GE(uniform->TriangleCount(), 3 * last.elements / 2);
    CaseSolution plain;
    ASSERT_EQ(plain.Solve(*uniform, job, ElementKind::Dkt, AnalysisOptions{}), "");
    EXPECT_GT(plain.First().ErrorEstimate(), target);
  }
}

TEST(AdaptiveSolve, EndsAtItsLimits) {
  TObjCont job;
  job.ReadJobText(LShape());
  job.PrepareForMeshing();
  struct Case {
    int maxCycles, maxElements;
    AdaptiveEnd end;
    std::size_t cycles;
  };
  for (const Case c : {Case{1, 1000000, AdaptiveEnd::CycleLimit, 1},
                       Case{10, 200, AdaptiveEnd::ElementLimit, 1}}) {
    AdaptiveSettings settings;
    settings.target = 1e-4;
    settings.maxCycles = c.maxCycles;
    settings.maxElements = c.maxElements;
    const AdaptiveRun run = SolveAdaptively(job, Meshed(job, 0.05), Meshed(job, 0.05)->Parameters(),
                                            ElementKind::Dkt, AnalysisOptions{}, settings);
    EXPECT_EQ(run.end, c.end);
    EXPECT_EQ(run.cycles.size(), c.cycles);
    // The last finished cycle's results are kept.
    ASSERT_NE(run.mesh, nullptr);
    EXPECT_EQ(run.solution.First().ResultTriangleCount(), run.cycles.back().elements);
  }
  // Stopped from the callback after the first cycle: that cycle's results stay.
  AdaptiveSettings settings;
  settings.target = 1e-4;
  const AdaptiveRun stopped =
      SolveAdaptively(job, Meshed(job, 0.05), Meshed(job, 0.05)->Parameters(), ElementKind::Dkt,
                      AnalysisOptions{}, settings, [](const AdaptiveCycle&) { return false; });
  EXPECT_EQ(stopped.end, AdaptiveEnd::Stopped);
  EXPECT_EQ(stopped.cycles.size(), 1u);
}

}  // namespace
}  // namespace tavrin

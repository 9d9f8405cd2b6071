#include "analysis/AdaptiveSolve.h"

#include <algorithm>
#include <chrono>
#include <utility>

#include "analysis/AdaptiveSizes.h"
#include "mesh/FEM.h"
#include "model/TObjCont.h"

namespace tavrin {

namespace {

using Clock = std::chrono::steady_clock;

// Bounds of the targets' widening: never narrower than the rule, never four times wider.
constexpr double kLeastWidening = 1.0;
constexpr double kMostWidening = 4.0;

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

}  // namespace

const char* AdaptiveEndName(AdaptiveEnd end) {
  switch (end) {
    case AdaptiveEnd::Reached:
      return "reached";
    case AdaptiveEnd::CycleLimit:
      return "cycle-limit";
    case AdaptiveEnd::ElementLimit:
      return "element-limit";
    case AdaptiveEnd::Stopped:
      return "stopped";
    case AdaptiveEnd::Failed:
      break;
  }
  return "failed";
}

AdaptiveRun SolveAdaptively(const TObjCont& job, std::unique_ptr<FEM> first,
                            const MeshParameters& parameters, ElementKind element,
                            const AnalysisOptions& options, const AdaptiveSettings& settings,
                            const std::function<bool(const AdaptiveCycle&)>& cycleDone,
                            SolveProgress* progress) {
  AdaptiveRun run;
  std::unique_ptr<FEM> mesh = std::move(first);
  Clock::time_point start = Clock::now();
  // The mesher's triangles come out smaller than the area they must stay below (about half of
  // it on average, less where the field is graded), so a mesh made to the rule's areas has about
  // twice the elements the rule counted and overshoots the aim. The next targets are widened by
  // what the last mesh made over what it was asked for.
  double widening = 1;
  double asked = 0;  // the element count the last targets asked for; 0 for the first mesh
  for (int cycle = 0;; ++cycle) {
    if (!mesh->Statistics().usable && mesh->Statistics().nodeCount > 0) {
      run.end = AdaptiveEnd::Failed;
      run.message = "the mesh of cycle ";
      run.message += std::to_string(cycle + 1);
      run.message += " is not usable: ";
      run.message += mesh->Statistics().reason;
      return run;
    }
    const auto stopped = [progress] { return progress && progress->StopRequested(); };
    if (stopped()) {
      run.end = AdaptiveEnd::Stopped;
      return run;
    }
    CaseSolution solution;
    if (std::string error = solution.Solve(*mesh, job, element, options, {}, progress);
        !error.empty()) {
      run.end = stopped() ? AdaptiveEnd::Stopped : AdaptiveEnd::Failed;
      if (run.end == AdaptiveEnd::Failed) run.message = std::move(error);
      return run;
    }
    const TGlobMatrix& solved = solution.First();
    AdaptiveCycle figures;
    figures.elements = mesh->TriangleCount();
    figures.equations = solution.Figures(0).equations;
    figures.estimate = solved.ErrorEstimate();
    figures.seconds = SecondsSince(start);
    run.cycles.push_back(figures);
    if (asked > 0)
      widening = std::clamp(widening * figures.elements / asked, kLeastWidening, kMostWidening);
    std::vector<double> targets = TargetAreas(solved, settings.target);
    const double predicted = PredictedElements(solved, targets);
    for (double& area : targets) area *= widening;
    asked = predicted;
    std::shared_ptr<const SizeField> field =
        targets.empty() ? nullptr : AdaptedSizeField(solved, targets, settings.gradation);
    run.mesh = std::move(mesh);
    run.solution = std::move(solution);
    if (cycleDone && !cycleDone(figures)) {
      run.end = AdaptiveEnd::Stopped;
      return run;
    }
    if (figures.estimate <= settings.target) {
      run.end = AdaptiveEnd::Reached;
      return run;
    }
    if (cycle + 1 >= settings.maxCycles || !field) {
      run.end = AdaptiveEnd::CycleLimit;
      return run;
    }
    if (predicted > settings.maxElements) {
      run.end = AdaptiveEnd::ElementLimit;
      return run;
    }
    start = Clock::now();
    MeshParameters next = parameters;
    next.animate = false;
    next.sizeField = std::move(field);
    mesh = std::make_unique<FEM>(next);
    mesh->GenerateMesh(job);
  }
}

}  // namespace tavrin

#include "analysis/AdaptiveSolve.h"

#include <algorithm>
#include <chrono>
#include <utility>

#include "analysis/AdaptiveSizes.h"
#include "analysis/TGlobMatrix.h"
#include "mesh/FEM.h"
#include "model/TObjCont.h"

namespace tavrin {

namespace {

using Clock = std::chrono::steady_clock;

// Bounds of the mesher's elements over the count asked of it.
constexpr double kLeastOvershoot = 1.0;
constexpr double kMostOvershoot = 4.0;

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
                            SolveProgress* progress,
                            const std::function<void(const FEM&, const TGlobMatrix&)>& inspect) {
  AdaptiveRun run;
  std::unique_ptr<FEM> mesh = std::move(first);
  // A job of one case solves each cycle's first case alone (the estimate needs no more) and
  // makes the results the run hands over only from the last finished cycle's solver; a job of
  // several cases solves them all each cycle, so that a stop keeps a complete solution.
  const bool lean = job.Cases().CaseCount() == 1;
  std::unique_ptr<TGlobMatrix> kept;  // the last finished cycle's solver, on the lean path
  const auto stopped = [progress] { return progress && progress->StopRequested(); };
  // Hands the last finished cycle over as the run's mesh and solution.
  const auto finish = [&](AdaptiveEnd end) {
    run.end = end;
    if (kept && run.mesh) {
      AdaptiveCycle& last = run.cycles.back();
      const Clock::time_point start = Clock::now();
      if (std::string error = run.solution.Adopt(*run.mesh, job, std::move(kept));
          !error.empty() && run.end != AdaptiveEnd::Failed) {
        run.end = AdaptiveEnd::Failed;
        run.message = std::move(error);
      }
      last.resultSeconds = SecondsSince(start);
      last.seconds += last.resultSeconds;
    }
    return std::move(run);
  };
  // The mesher's triangles come out smaller than the area they must stay below (about half of
  // it on average, less where the field is graded), so a mesh made to the rule's areas has about
  // twice the elements the rule counted. The next count asked is cut by what the last mesh made
  // over what it was asked for.
  double overshoot = 1;
  double asked = 0;  // the element count the last targets asked for; 0 for the first mesh
  int previousElements = 0;
  double previousEstimate = 0;
  double meshSeconds = 0;  // the first mesh was made by the caller
  for (int cycle = 0;; ++cycle) {
    if (!mesh->Statistics().usable && mesh->Statistics().nodeCount > 0) {
      run.message = "the mesh of cycle ";
      run.message += std::to_string(cycle + 1);
      run.message += " is not usable: ";
      run.message += mesh->Statistics().reason;
      return finish(AdaptiveEnd::Failed);
    }
    if (stopped()) return finish(AdaptiveEnd::Stopped);
    AdaptiveCycle figures;
    figures.meshSeconds = meshSeconds;
    Clock::time_point start = Clock::now();
    std::unique_ptr<TGlobMatrix> solver;
    CaseSolution solution;
    std::string error;
    if (lean) {
      solver = std::make_unique<TGlobMatrix>(element, options, progress);
      if (solver->SolveStatic(PlateMesh::FromFem(*mesh)) != SolveCode::Ok) {
        error = solver->Failure().message;
      } else {
        figures.solveSeconds = SecondsSince(start);
        start = Clock::now();
        if (solver->SolveStress() != StressCode::Ok)
          error =
              "the stresses exceed the range of numbers; check the prescribed displacements and "
              "the loads against the plate's stiffness";
        figures.estimateSeconds = SecondsSince(start);
      }
    } else {
      error = solution.Solve(*mesh, job, element, options, {}, progress);
      figures.solveSeconds = SecondsSince(start);
    }
    if (!error.empty()) {
      if (stopped()) return finish(AdaptiveEnd::Stopped);
      run.message = std::move(error);
      return finish(AdaptiveEnd::Failed);
    }
    const TGlobMatrix& solved = lean ? *solver : solution.First();
    figures.elements = mesh->TriangleCount();
    figures.equations = solved.EquationCount();
    figures.estimate = solved.ErrorEstimate();
    if (inspect) inspect(*mesh, solved);
    start = Clock::now();
    if (asked > 0)
      overshoot = std::clamp(figures.elements / asked, kLeastOvershoot, kMostOvershoot);
    double expected = 0;  // elements of the next mesh
    std::shared_ptr<const SizeField> field;
    if (figures.estimate > settings.target && cycle + 1 < settings.maxCycles) {
      std::vector<double> targets;
      if (WithinLastStep(figures.estimate, settings.target)) {
        const double wanted = NextElementCount(figures.elements, figures.estimate, previousElements,
                                               previousEstimate, settings.target);
        targets = TargetAreasForCount(solved, wanted / overshoot);
        expected = PredictedElements(solved, targets) * overshoot;
      } else {
        targets = TargetAreas(solved, settings.target);
        expected = PredictedElements(solved, targets);
        for (double& area : targets) area *= overshoot;
      }
      asked = expected / overshoot;
      if (!targets.empty()) field = AdaptedSizeField(solved, targets, settings.gradation);
    }
    previousElements = figures.elements;
    previousEstimate = figures.estimate;
    figures.sizeFieldSeconds = SecondsSince(start);
    figures.seconds = figures.meshSeconds + figures.solveSeconds + figures.estimateSeconds +
                      figures.sizeFieldSeconds;
    run.cycles.push_back(figures);
    run.mesh = std::move(mesh);
    if (lean)
      kept = std::move(solver);
    else
      run.solution = std::move(solution);
    // The run's end is decided before the cycle is reported, so that the report of the last
    // cycle counts the results handed over.
    AdaptiveEnd end = AdaptiveEnd::Failed;
    bool ends = true;
    if (figures.estimate <= settings.target)
      end = AdaptiveEnd::Reached;
    else if (!field)
      end = AdaptiveEnd::CycleLimit;
    else if (expected > settings.maxElements)
      end = AdaptiveEnd::ElementLimit;
    else
      ends = false;
    if (ends) {
      AdaptiveRun done = finish(end);
      if (cycleDone && done.end != AdaptiveEnd::Failed && !cycleDone(done.cycles.back()))
        done.end = AdaptiveEnd::Stopped;
      return done;
    }
    if (cycleDone && !cycleDone(figures)) return finish(AdaptiveEnd::Stopped);
    start = Clock::now();
    MeshParameters next = parameters;
    next.animate = false;
    next.sizeField = std::move(field);
    mesh = std::make_unique<FEM>(next);
    mesh->GenerateMesh(job);
    meshSeconds = SecondsSince(start);
  }
}

}  // namespace tavrin

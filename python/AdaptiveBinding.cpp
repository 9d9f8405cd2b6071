// Job.solve_adaptive and tavrin.AdaptiveRun: the first mesh as Job.mesh makes it, then the
// adaptive cycles (analysis/AdaptiveSolve.h) with the GIL released, refused as tavrin-cli solve
// --adapt refuses. The last cycle's solution is shared by its Results (the first case) and its
// CaseResults, so nothing is solved twice.
#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "analysis/AdaptiveSolve.h"
#include "analysis/SolveRefusals.h"
#include "python/Bindings.h"
#include "python/CaseBinding.h"
#include "python/JobBinding.h"
#include "python/MeshBinding.h"
#include "python/ProgressBridge.h"
#include "python/ResultsBinding.h"

namespace tavrin::python {

namespace {

struct AdaptiveOutcome {
  py::object mesh;         // tavrin.Mesh of the last finished cycle
  py::object results;      // tavrin.Results of its first case
  py::object caseResults;  // tavrin.CaseResults of all its cases
  std::vector<AdaptiveCycle> cycles;
  std::string end;  // AdaptiveEndName
};

AdaptiveOutcome SolveAdaptive(const Job& job, double target, int maxCycles, int maxElements,
                              double minAngle, std::optional<double> maxArea,
                              std::optional<long> maxNodes, const std::string& element,
                              const std::string& solver, const std::string& recovery,
                              py::object progress) {
  if (!(target > 0 && target < 1))
    throw py::value_error("target " + std::to_string(target) +
                          " is not a relative error between 0 and 1");
  if (maxCycles < 1 || maxElements < 1)
    throw py::value_error("max_cycles and max_elements must be at least 1");
  const AnalysisChoice choice = ParseAnalysis(element, solver, recovery);
  Mesh first = MeshJob(job, minAngle, maxArea, maxNodes, progress);
  if (const std::string refusal = UnusableMeshRefusal(first.statistics); !refusal.empty())
    throw MeshRefusal(refusal);

  AdaptiveSettings settings;
  settings.target = target;
  settings.maxCycles = maxCycles;
  settings.maxElements = maxElements;
  ProgressBridge bridge(std::move(progress));
  SolveProgressBridge reports(bridge);
  const MeshParameters parameters = first.fem->Parameters();
  AdaptiveRun run;
  {
    py::gil_scoped_release release;
    int done = 0;
    run = SolveAdaptively(
        first.job, std::move(first.fem), parameters, choice.element, choice.options, settings,
        [&](const AdaptiveCycle&) { return !bridge.Report("Adaptive cycle", ++done, maxCycles); },
        &reports);
  }
  // A cancel keeps the last finished cycle, as Stop does in the workbench.
  bridge.RaiseCallbackError();
  if (run.end == AdaptiveEnd::Failed) {
    if (!run.cycles.empty())
      run.message += " (the adaptive cycles ended at the last finished cycle)";
    throw SolveRefusal(run.message);
  }
  if (!run.mesh) {
    bridge.RaiseIfCancelled("the adaptive solve");
    throw SolveRefusal("the adaptive solve ended before its first cycle");
  }
  auto solution = std::make_shared<CaseSolution>(std::move(run.solution));
  if (const std::string refusal = NoFreeDeflectionRefusal(solution->First()); !refusal.empty())
    throw SolveRefusal(refusal);

  AdaptiveOutcome outcome;
  const MeshStatistics statistics = run.mesh->Statistics();
  outcome.mesh = py::cast(Mesh{std::move(run.mesh), statistics, std::move(first.job)});
  outcome.results =
      py::cast(Results{std::shared_ptr<const TGlobMatrix>(solution, &solution->First())});
  outcome.caseResults = py::cast(CaseResults{solution});
  outcome.cycles = std::move(run.cycles);
  outcome.end = AdaptiveEndName(run.end);
  return outcome;
}

}  // namespace

void BindAdaptive(py::module_& m, py::class_<Job>& job) {
  py::class_<AdaptiveOutcome>(m, "AdaptiveRun", R"(The outcome of Job.solve_adaptive.

mesh, results (as Mesh.solve returns them, for the first load case) and case_results (as
Mesh.solve_cases returns them) of the last finished cycle; cycles: a dict of arrays
elements, equations, estimate, seconds, one entry per cycle (tavrin-cli's adapt.csv); end:
'reached', 'cycle-limit', 'element-limit' or 'stopped'.)")
      .def_readonly("mesh", &AdaptiveOutcome::mesh)
      .def_readonly("results", &AdaptiveOutcome::results)
      .def_readonly("case_results", &AdaptiveOutcome::caseResults)
      .def_readonly("end", &AdaptiveOutcome::end)
      .def_property_readonly("cycles", [](const AdaptiveOutcome& o) {
        py::dict d;
        std::vector<int> elements, equations;
        std::vector<double> estimate, seconds;
        for (const AdaptiveCycle& c : o.cycles) {
          elements.push_back(c.elements), equations.push_back(c.equations);
          estimate.push_back(c.estimate), seconds.push_back(c.seconds);
        }
        d["elements"] = py::array(py::cast(elements));
        d["equations"] = py::array(py::cast(equations));
        d["estimate"] = py::array(py::cast(estimate));
        d["seconds"] = py::array(py::cast(seconds));
        return d;
      });
  job.def("solve_adaptive", &SolveAdaptive, py::arg("target"), py::kw_only(),
          py::arg("max_cycles") = AdaptiveSettings{}.maxCycles,
          py::arg("max_elements") = AdaptiveSettings{}.maxElements, py::arg("min_angle") = 31.0,
          py::arg("max_area") = py::none(), py::arg("max_nodes") = py::none(),
          py::arg("element") = "dkt", py::arg("solver") = "sparse", py::arg("recovery") = "patch",
          py::arg("progress") = py::none(),
          R"(Meshes the plate as Job.mesh does, then solves, estimates the error and remeshes
where it is, until the relative global error estimate is at or below target (0 < target < 1)
or a limit ends the cycles (as tavrin-cli solve --adapt TARGET --max-cycles N --max-elements
N). Every load case is solved on each mesh; the cycles adapt to the first case's estimate.
Returns an AdaptiveRun.

progress: as for Job.mesh; it also hears ('Adaptive cycle', cycle, max_cycles) after each
cycle. Cancelling (returning False) keeps the last finished cycle (end 'stopped'), or raises
Cancelled when none finished. Raises GeometryError, MeshError and SolveError as Job.mesh and
Mesh.solve do. The GIL is released while meshing and solving.)");
}

}  // namespace tavrin::python

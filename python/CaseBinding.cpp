// Solving every load case of a meshed job from Python: CaseSolution's work, as tavrin-cli
// solve runs it, with the GIL released; the results are read from its sets in the order and
// numbering of tavrin-cli's nodes-NAME.csv, elements-NAME.csv and envelope.csv.
#include "python/CaseBinding.h"

#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "analysis/CaseTables.h"
#include "analysis/SolveRefusals.h"
#include "analysis/VtkExport.h"
#include "python/Bindings.h"
#include "python/MeshBinding.h"
#include "python/ProgressBridge.h"
#include "python/ResultsBinding.h"

namespace tavrin::python {

namespace {

py::array_t<double> Column(int count, const std::function<double(int)>& value) {
  py::array_t<double> a(count);
  auto v = a.mutable_unchecked<1>();
  for (int i = 0; i < count; ++i) v(i) = value(i);
  return a;
}

// One case or combination of a CaseResults.
struct SetResults {
  std::shared_ptr<const CaseSolution> solution;
  int index = 0;
  const ResultSet& Set() const { return solution->Sets()[static_cast<std::size_t>(index)]; }
  const DesignColumns& Design() const {
    return solution->Design()[static_cast<std::size_t>(index)];
  }
};

py::dict DesignDict(const SetResults& r, bool element) {
  py::dict d;
  for (int k = 0; k < kDesignColumns; ++k)
    d[kDesignColumnNames[k]] = Column(element ? r.Set().elements : r.Set().nodes, [&](int i) {
      return element ? r.Design().Element(i, k) : r.Design().Node(i, k);
    });
  return d;
}

int FindSet(const CaseSolution& solution, const std::string& name) {
  for (std::size_t s = 0; s < solution.Sets().size(); ++s)
    if (solution.Sets()[s].name == name) return static_cast<int>(s);
  throw py::key_error("no case or combination '" + name + "' was solved");
}

void BindSetResults(py::module_& m) {
  auto c = py::class_<SetResults>(m, "SetResults", R"(The results of one load case or combination.

Per node (the rows of tavrin-cli's nodes-NAME.csv): w, rot_x, rot_y, sigma_x, sigma_y, tau_xy,
m_x, m_y, m_xy; per element (elements-NAME.csv): deflection, element_sigma_x ... element_m_xy;
design() and element_design() the design columns by name; reactions(); load_z, reaction_z;
figures (a dict for a case, None for a combination, which costs no solve).)");
  const char* const kNodeNames[ResultSet::kNodeColumns] = {
      "w", "rot_x", "rot_y", "sigma_x", "sigma_y", "tau_xy", "m_x", "m_y", "m_xy"};
  for (int k = 0; k < ResultSet::kNodeColumns; ++k)
    c.def_property_readonly(kNodeNames[k], [k](const SetResults& r) {
      return Column(r.Set().nodes, [&](int v) { return r.Set().Node(v, k); });
    });
  const char* const kElementNames[ResultSet::kElementColumns] = {
      "deflection",  "element_sigma_x", "element_sigma_y", "element_tau_xy",
      "element_m_x", "element_m_y",     "element_m_xy"};
  for (int k = 0; k < ResultSet::kElementColumns; ++k)
    c.def_property_readonly(kElementNames[k], [k](const SetResults& r) {
      return Column(r.Set().elements, [&](int t) { return r.Set().Element(t, k); });
    });
  c.def_property_readonly("name", [](const SetResults& r) { return r.Set().name; })
      .def_property_readonly("load_z", [](const SetResults& r) { return r.Set().loadZ; })
      .def_property_readonly("reaction_z", [](const SetResults& r) { return r.Set().reactionZ; })
      .def(
          "design", [](const SetResults& r) { return DesignDict(r, false); },
          "The design columns at the nodes (m_1, m_2, ..., von_mises_bottom), a dict of arrays.")
      .def(
          "element_design", [](const SetResults& r) { return DesignDict(r, true); },
          "The design columns at the elements, a dict of arrays.")
      .def(
          "reactions",
          [](const SetResults& r) {
            const TGlobMatrix& first = r.solution->First();
            std::vector<int> held;
            for (int v = 0; v < r.Set().nodes; ++v)
              if (first.IsConstrained(v, 0) || first.IsConstrained(v, 1) ||
                  first.IsConstrained(v, 2))
                held.push_back(v);
            const int n = static_cast<int>(held.size());
            const auto at = [&](int i, int d) {
              return r.Set().reaction[3 * static_cast<std::size_t>(held[i]) + d];
            };
            py::dict d;
            d["node"] = Column(n, [&](int i) { return held[i]; });
            d["mesh_node"] = Column(n, [&](int i) { return first.MeshNodeOf(held[i]); });
            d["fz"] = Column(n, [&](int i) { return at(i, 0); });
            d["mx"] = Column(n, [&](int i) { return at(i, 1); });
            d["my"] = Column(n, [&](int i) { return at(i, 2); });
            return d;
          },
          "The reactions at the held nodes: a dict of arrays node, mesh_node, fz, mx, my.")
      .def_property_readonly(
          "figures",
          [](const SetResults& r) -> py::object {
            if (r.index >= r.solution->CaseSets()) return py::none();
            const SolveFigures& f = r.solution->Figures(r.index);
            py::dict d;
            d["equations"] = f.equations;
            d["residual"] = f.residual;
            d["imbalance"] = f.imbalance;
            d["error_estimate"] = f.errorEstimate;
            d["spring_z"] = f.springZ;
            d["foundation_z"] = f.foundationZ;
            return d;
          },
          "A case's solve figures: equations, residual, imbalance, error_estimate, spring_z, "
          "foundation_z; None for a combination.");
}

}  // namespace

void BindCaseResults(py::module_& m) {
  BindSetResults(m);
  py::class_<CaseResults>(m, "CaseResults", R"(Every load case of a job solved on one mesh and
one factorization, its combinations and its envelopes.

results["Dead"] is the SetResults of a case or combination; names lists them (cases first,
then combinations). x, y, mesh_node and corners are shared by every set, in the numbering of
tavrin-cli's tables; envelope(name) gives an envelope's columns; to_vtu writes every set.)")
      .def_property_readonly("names",
                             [](const CaseResults& r) {
                               std::vector<std::string> names;
                               for (const ResultSet& set : r.solution->Sets())
                                 names.push_back(set.name);
                               return names;
                             })
      .def_property_readonly("case_count",
                             [](const CaseResults& r) { return r.solution->CaseSets(); })
      .def("__getitem__",
           [](const CaseResults& r, const std::string& name) {
             return SetResults{r.solution, FindSet(*r.solution, name)};
           })
      .def_property_readonly("x",
                             [](const CaseResults& r) {
                               const auto& x = r.solution->X();
                               return Column(static_cast<int>(x.size()),
                                             [&](int v) { return x[v]; });
                             })
      .def_property_readonly("y",
                             [](const CaseResults& r) {
                               const auto& y = r.solution->Y();
                               return Column(static_cast<int>(y.size()),
                                             [&](int v) { return y[v]; });
                             })
      .def_property_readonly(
          "mesh_node",
          [](const CaseResults& r) {
            const TGlobMatrix& first = r.solution->First();
            return Column(first.ResultNodeCount(), [&](int v) { return first.MeshNodeOf(v); });
          },
          "The index of each result node in Mesh.nodes.")
      .def_property_readonly(
          "corners",
          [](const CaseResults& r) {
            const auto& triangles = r.solution->Triangles();
            py::array_t<int> a({static_cast<py::ssize_t>(triangles.size()), py::ssize_t{3}});
            auto v = a.mutable_unchecked<2>();
            for (std::size_t t = 0; t < triangles.size(); ++t)
              for (std::size_t k = 0; k < 3; ++k)
                v(static_cast<py::ssize_t>(t), static_cast<py::ssize_t>(k)) = triangles[t][k];
            return a;
          },
          "Corners of each element as result node numbers, an (m, 3) int array.")
      .def(
          "envelope",
          [](const CaseResults& r, const std::string& name) {
            for (const NodeEnvelope& e : r.solution->Envelopes()) {
              if (e.name != name) continue;
              py::dict d;
              d["combinations"] = e.combinations;
              for (int k = 0; k < NodeEnvelope::kColumns; ++k) {
                const std::string column = NodeEnvelope::ColumnName(k);
                d[(column + "_max").c_str()] =
                    Column(e.nodes, [&](int v) { return e.max[e.At(v, k)]; });
                d[(column + "_min").c_str()] =
                    Column(e.nodes, [&](int v) { return e.min[e.At(v, k)]; });
                d[(column + "_max_from").c_str()] =
                    Column(e.nodes, [&](int v) { return e.maxFrom[e.At(v, k)]; });
                d[(column + "_min_from").c_str()] =
                    Column(e.nodes, [&](int v) { return e.minFrom[e.At(v, k)]; });
              }
              return d;
            }
            throw py::key_error("no envelope '" + name + "' was built");
          },
          py::arg("name"),
          "An envelope's extremes per node: for each column (w, ..., von_mises_bottom) the "
          "arrays COLUMN_max and COLUMN_min, and COLUMN_max_from and COLUMN_min_from, indices "
          "into the list 'combinations'.")
      .def_property_readonly("envelope_names",
                             [](const CaseResults& r) {
                               std::vector<std::string> names;
                               for (const NodeEnvelope& e : r.solution->Envelopes())
                                 names.push_back(e.name);
                               return names;
                             })
      .def(
          "to_vtu",
          [](const CaseResults& r, const std::string& path) {
            if (WriteCasesVtu(*r.solution, path) != ExportResult::Written)
              throw JobFileRefusal("cannot write " + path);
          },
          py::arg("path"),
          "Writes the mesh and every set's arrays (named COLUMN@NAME) as a VTK grid (.vtu).");
}

void BindMeshCases(py::class_<Mesh>& c) {
  c.def(
      "solve_cases",
      [](const Mesh& mesh, const std::string& element, const std::string& solver,
         const std::string& recovery, const std::vector<std::string>& only, py::object progress) {
        const AnalysisChoice choice = ParseAnalysis(element, solver, recovery);
        if (const std::string refusal = UnusableMeshRefusal(mesh.statistics); !refusal.empty())
          throw MeshRefusal(refusal);
        std::vector<int> which;
        for (const std::string& name : only) {
          const std::vector<int> cases = mesh.job.Cases().CasesFor(name);
          if (cases.empty())
            throw py::key_error("the job has no case or combination '" + name + "'");
          for (const int k : cases)
            if (std::find(which.begin(), which.end(), k) == which.end()) which.push_back(k);
        }
        auto solution = std::make_shared<CaseSolution>();
        std::string error;
        ProgressBridge bridge(std::move(progress));
        SolveProgressBridge reports(bridge);
        {
          py::gil_scoped_release release;
          error =
              solution->Solve(*mesh.fem, mesh.job, choice.element, choice.options, which, &reports);
        }
        bridge.RaiseIfCancelled("the solve");
        if (!error.empty()) throw SolveRefusal(error);
        if (const std::string refusal = NoFreeDeflectionRefusal(solution->First());
            !refusal.empty())
          throw SolveRefusal(refusal);
        return CaseResults{std::move(solution)};
      },
      py::arg("element") = "dkt", py::arg("solver") = "sparse", py::arg("recovery") = "patch",
      py::arg("only") = std::vector<std::string>{}, py::arg("progress") = py::none(),
      R"(Solves every load case of the job as meshed on one factorization, then its
combinations and envelopes, as tavrin-cli solve does, and returns CaseResults.

only: names of cases or combinations to solve (a combination brings its cases); all when
empty. Combinations and envelopes are formed where all their cases were solved. progress: as
for Mesh.solve, hearing every case's solve; cancelling raises Cancelled. Refusals as
Mesh.solve; a case's failure names the case. The GIL is released while solving.)");
}

}  // namespace tavrin::python

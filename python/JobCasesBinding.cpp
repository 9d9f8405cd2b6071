// Load cases on a Job from Python. A case, combination or envelope is added to a copy of the
// job's LoadCases and handed back to the model, which refuses what it would refuse from the
// workbench (with the same one-line message, as ValueError) and changes nothing then.
#include <pybind11/stl.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "model/LoadCases.h"
#include "python/Bindings.h"
#include "python/CaseBinding.h"
#include "python/JobBinding.h"

namespace tavrin::python {

namespace {

using Triples = std::map<int, LoadCase::Triple>;

void Apply(Job& job, LoadCases cases) {
  if (const std::string problem = job.model.SetCases(std::move(cases)); !problem.empty())
    throw py::value_error(problem);
}

}  // namespace

void BindJobCases(py::class_<Job>& c) {
  c.def(
       "add_case",
       [](Job& j, const std::string& name, const std::map<int, double>& pressure,
          const Triples& nodeLoads, const Triples& edgeLoads, const Triples& nodeDisplacements,
          const Triples& edgeDisplacements) {
         LoadCase added;
         added.name = name;
         for (const auto& [p, q] : pressure) added.SetPressure(p, q);
         for (const auto& [i, v] : nodeLoads) LoadCase::Set(added.nodeForce, i, v);
         for (const auto& [e, v] : edgeLoads) LoadCase::Set(added.edgeForce, e, v);
         for (const auto& [i, v] : nodeDisplacements) LoadCase::Set(added.nodeDisplacement, i, v);
         for (const auto& [e, v] : edgeDisplacements) LoadCase::Set(added.edgeDisplacement, e, v);
         LoadCases cases = j.model.Cases();
         cases.further.push_back(std::move(added));
         Apply(j, std::move(cases));
       },
       py::arg("name"), py::kw_only(), py::arg("pressure") = std::map<int, double>{},
       py::arg("node_loads") = Triples{}, py::arg("edge_loads") = Triples{},
       py::arg("node_displacements") = Triples{}, py::arg("edge_displacements") = Triples{},
       R"(Adds a further load case. The job's own loads (load_node, load_edge, the pressures of
set_physics, the prescribed values of the supports) are its first case, first_case_name.

pressure: {polygon: q}; node_loads, edge_loads: {index: (fz, mx, my)};
node_displacements, edge_displacements: {index: (w, rot_x, rot_y)}, read only for the freedoms
the supports hold. Raises ValueError with the workbench's message (a name already taken, an
index the job does not have, a value not finite, a displacement of a free freedom) and
changes nothing then.)")
      .def(
          "add_combination",
          [](Job& j, const std::string& name, const py::dict& terms) {
            Combination added{name, {}};
            for (const auto& [key, factor] : terms)
              added.terms.push_back({key.cast<std::string>(), factor.cast<double>()});
            LoadCases cases = j.model.Cases();
            cases.combinations.push_back(std::move(added));
            Apply(j, std::move(cases));
          },
          py::arg("name"), py::arg("terms"),
          "Adds a combination, {case name: factor} in the order given; ValueError as add_case.")
      .def(
          "add_envelope",
          [](Job& j, const std::string& name, const std::vector<std::string>& combinations) {
            LoadCases cases = j.model.Cases();
            cases.envelopes.push_back({name, combinations});
            Apply(j, std::move(cases));
          },
          py::arg("name"), py::arg("combinations"),
          "Adds an envelope over the named combinations; ValueError as add_case.")
      .def(
          "clear_cases", [](Job& j) { Apply(j, LoadCases{}); },
          "Removes the further cases, the combinations and the envelopes; the job's own loads "
          "stay as its only case.")
      .def_property(
          "first_case_name", [](const Job& j) { return j.model.Cases().firstName; },
          [](Job& j, const std::string& name) {
            LoadCases cases = j.model.Cases();
            cases.firstName = name;
            Apply(j, std::move(cases));
          },
          "The name of the job's own loads as a case (\"Case 1\" unless named).")
      .def_property_readonly(
          "case_names",
          [](const Job& j) {
            std::vector<std::string> names;
            for (int k = 0; k < j.model.Cases().CaseCount(); ++k)
              names.push_back(j.model.Cases().CaseName(k));
            return names;
          },
          "The load cases, the first one first.")
      .def_property_readonly(
          "combinations",
          [](const Job& j) {
            py::dict d;
            for (const Combination& comb : j.model.Cases().combinations) {
              py::list terms;
              for (const CombinationTerm& t : comb.terms)
                terms.append(py::make_tuple(t.caseName, t.factor));
              d[comb.name.c_str()] = terms;
            }
            return d;
          },
          "{name: [(case, factor), ...]} in the job's order.")
      .def_property_readonly(
          "envelopes",
          [](const Job& j) {
            py::dict d;
            for (const Envelope& e : j.model.Cases().envelopes) d[e.name.c_str()] = e.combinations;
            return d;
          },
          "{name: [combination, ...]} in the job's order.")
      .def(
          "case_loads",
          [](const Job& j, const std::string& name) {
            const int k = j.model.Cases().FindCase(name);
            if (k < 0) throw py::key_error("the job has no case '" + name + "'");
            const LoadCase loads = j.model.CaseLoads(k);
            py::dict d;
            d["pressure"] = loads.pressure;
            d["node_loads"] = loads.nodeForce;
            d["edge_loads"] = loads.edgeForce;
            d["node_displacements"] = loads.nodeDisplacement;
            d["edge_displacements"] = loads.edgeDisplacement;
            return d;
          },
          py::arg("name"),
          "The loads of a case as add_case takes them (only the non-zero entries; for the first "
          "case the job's own loads).");
}

}  // namespace tavrin::python

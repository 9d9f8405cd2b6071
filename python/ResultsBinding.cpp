// Mesh.solve and tavrin.Results: the static solve and the stress recovery with the GIL
// released, refused as tavrin-cli solve refuses; then the result tables as numpy arrays in
// the order of tavrin-cli's CSV files (nodes by the solver's numbering, elements by triangle).
#include "python/ResultsBinding.h"

#include <pybind11/numpy.h>

#include <functional>

#include "analysis/AnalysisOptions.h"
#include "analysis/SolveRefusals.h"
#include "analysis/VtkExport.h"
#include "python/Bindings.h"
#include "python/MeshBinding.h"
#include "python/ProgressBridge.h"

namespace tavrin::python {

namespace {

py::array_t<double> PerNode(const Results& r, const std::function<double(int)>& value) {
  const int n = r.solver->ResultNodeCount();
  py::array_t<double> a(n);
  auto v = a.mutable_unchecked<1>();
  for (int i = 0; i < n; ++i) v(i) = value(i);
  return a;
}

// The rows of nodes picked by `keep`, as reactions.csv lists them: node, mesh_node, fz, mx, my.
py::dict NodeRows(const TGlobMatrix& s, const std::function<bool(int)>& keep,
                  const std::function<double(int, int)>& value) {
  std::vector<int> nodes;
  for (int v = 0; v < s.ResultNodeCount(); ++v)
    if (keep(v)) nodes.push_back(v);
  py::dict d;
  const auto column = [&](const std::function<double(int)>& f) {
    py::array_t<double> a(static_cast<py::ssize_t>(nodes.size()));
    auto v = a.mutable_unchecked<1>();
    for (std::size_t i = 0; i < nodes.size(); ++i) v(static_cast<py::ssize_t>(i)) = f(nodes[i]);
    return a;
  };
  d["node"] = column([](int v) { return v; });
  d["mesh_node"] = column([&](int v) { return s.MeshNodeOf(v); });
  d["fz"] = column([&](int v) { return value(v, 0); });
  d["mx"] = column([&](int v) { return value(v, 1); });
  d["my"] = column([&](int v) { return value(v, 2); });
  return d;
}

py::array_t<double> PerElement(const Results& r, const std::function<double(int)>& value) {
  const int n = r.solver->ResultTriangleCount();
  py::array_t<double> a(n);
  auto v = a.mutable_unchecked<1>();
  for (int t = 0; t < n; ++t) v(t) = value(t);
  return a;
}

}  // namespace

AnalysisChoice ParseAnalysis(const std::string& element, const std::string& solver,
                             const std::string& recovery) {
  if (element != "dkt" && element != "cubic")
    throw py::value_error("element \"" + element + "\" is not an element: dkt or cubic");
  AnalysisChoice choice;
  choice.element = element == "cubic" ? ElementKind::Cubic : ElementKind::Dkt;
  if (!ParseSolverName(solver.c_str(), choice.options.solver))
    throw py::value_error("solver \"" + solver + "\" is not a solver: sparse or envelope");
  if (!ParseRecoveryName(recovery.c_str(), choice.options.recovery))
    throw py::value_error("recovery \"" + recovery + "\" is not a recovery: patch or average");
  return choice;
}

Results SolveMesh(const Mesh& mesh, const std::string& element, const std::string& solverName,
                  const std::string& recovery, py::object progress) {
  const AnalysisChoice choice = ParseAnalysis(element, solverName, recovery);
  if (const std::string refusal = UnusableMeshRefusal(mesh.statistics); !refusal.empty())
    throw MeshRefusal(refusal);

  ProgressBridge bridge(std::move(progress));
  SolveProgressBridge reports(bridge);
  auto owned = std::make_shared<TGlobMatrix>(choice.element, &reports);
  TGlobMatrix& solver = *owned;
  solver.SetOptions(choice.options);
  SolveCode solved = SolveCode::Ok;
  StressCode stress = StressCode::Ok;
  {
    py::gil_scoped_release release;
    solved = solver.SolveStatic(*mesh.fem);
    if (solved == SolveCode::Ok && NoFreeDeflectionRefusal(solver).empty())
      stress = solver.SolveStress();
  }
  bridge.RaiseIfCancelled("the solve");
  if (solved != SolveCode::Ok) throw SolveRefusal(solver.Failure().message);
  if (const std::string refusal = NoFreeDeflectionRefusal(solver); !refusal.empty())
    throw SolveRefusal(refusal);
  if (stress != StressCode::Ok) throw SolveRefusal(kStressRangeRefusal);
  return Results{std::move(owned)};
}

void BindResults(py::module_& m) {
  auto c = py::class_<Results>(m, "Results", R"(The solution of a meshed plate.

Per node (numpy arrays in the order of tavrin-cli's nodes.csv): mesh_node, x, y, w, rot_x,
rot_y, sigma_x, sigma_y, tau_xy, m_x, m_y, m_xy. Per element (elements.csv): corners (m, 3),
element_x, element_y, deflection, element_sigma_x ... element_m_xy, error. Reactions
(reactions.csv) as the dict reactions(). Figures: equations, load_z, reaction_z, residual,
imbalance, error_estimate, max_deflection; spring_z, foundation_z, spring_forces() and
foundation_pressure where the plate rests on springs or a foundation.)");
  const auto node = [&](const char* name, std::function<double(const TGlobMatrix&, int)> f,
                        const char* doc) {
    c.def_property_readonly(
        name, [f](const Results& r) { return PerNode(r, [&](int i) { return f(*r.solver, i); }); },
        doc);
  };
  const auto element = [&](const char* name, std::function<double(const TGlobMatrix&, int)> f,
                           const char* doc) {
    c.def_property_readonly(
        name,
        [f](const Results& r) { return PerElement(r, [&](int t) { return f(*r.solver, t); }); },
        doc);
  };
  node(
      "mesh_node", [](const TGlobMatrix& s, int v) { return s.MeshNodeOf(v); },
      "The index of each result node in Mesh.nodes.");
  node(
      "x", [](const TGlobMatrix& s, int v) { return s.NodeX(v); }, "Node x.");
  node(
      "y", [](const TGlobMatrix& s, int v) { return s.NodeY(v); }, "Node y.");
  const char* const kFreedoms[] = {"w", "rot_x", "rot_y"};
  for (int d = 0; d < 3; ++d)
    node(
        kFreedoms[d],
        [d](const TGlobMatrix& s, int v) { return static_cast<double>(s.Displacement(v, d)); },
        "Nodal deflection w or rotation.");
  const char* const kStresses[] = {"sigma_x", "sigma_y", "tau_xy"};
  const char* const kMoments[] = {"m_x", "m_y", "m_xy"};
  const char* const kElementStresses[] = {"element_sigma_x", "element_sigma_y", "element_tau_xy"};
  const char* const kElementMoments[] = {"element_m_x", "element_m_y", "element_m_xy"};
  for (int k = 0; k < 3; ++k) {
    node(
        kStresses[k], [k](const TGlobMatrix& s, int v) { return s.NodeStress(v, k); },
        "Recovered nodal stress.");
    node(
        kMoments[k], [k](const TGlobMatrix& s, int v) { return s.NodeMoment(v, k); },
        "Recovered nodal bending moment per unit width.");
    element(
        kElementStresses[k], [k](const TGlobMatrix& s, int t) { return s.ElementStress(t, k); },
        "Element stress.");
    element(
        kElementMoments[k], [k](const TGlobMatrix& s, int t) { return s.ElementMoment(t, k); },
        "Element bending moment per unit width.");
  }
  const auto centroid = [](const TGlobMatrix& s, int t, bool y) {
    double sum = 0.0;
    for (int k = 0; k < 3; ++k)
      sum += y ? s.NodeY(s.TriangleCorner(t, k)) : s.NodeX(s.TriangleCorner(t, k));
    return sum / 3;
  };
  element(
      "element_x", [centroid](const TGlobMatrix& s, int t) { return centroid(s, t, false); },
      "Element centroid x.");
  element(
      "element_y", [centroid](const TGlobMatrix& s, int t) { return centroid(s, t, true); },
      "Element centroid y.");
  element(
      "deflection", [](const TGlobMatrix& s, int t) { return s.CentroidDeflection(t); },
      "Deflection at the element centroid.");
  element(
      "error", [](const TGlobMatrix& s, int t) { return s.ElementError(t); },
      "The element's share of the error estimate.");
  c.def_property_readonly(
       "corners",
       [](const Results& r) {
         const TGlobMatrix& s = *r.solver;
         py::array_t<int> a({s.ResultTriangleCount(), 3});
         auto v = a.mutable_unchecked<2>();
         for (int t = 0; t < s.ResultTriangleCount(); ++t)
           for (int k = 0; k < 3; ++k) v(t, k) = s.TriangleCorner(t, k);
         return a;
       },
       "Corners of each element as result node numbers, an (m, 3) int array.")
      .def(
          "reactions",
          [](const Results& r) {
            const TGlobMatrix& s = *r.solver;
            return NodeRows(
                s,
                [&](int v) {
                  return s.IsConstrained(v, 0) || s.IsConstrained(v, 1) || s.IsConstrained(v, 2);
                },
                [&](int v, int d) { return s.Reaction(v, d); });
          },
          "The reactions at the held nodes: a dict of arrays node, mesh_node, fz, mx, my.")
      .def(
          "spring_forces",
          [](const Results& r) {
            const TGlobMatrix& s = *r.solver;
            const auto force = [&](int v, int d) { return s.SpringForce(v, d); };
            return NodeRows(
                s,
                [&](int v) {
                  return force(v, 0) != 0.0 || force(v, 1) != 0.0 || force(v, 2) != 0.0;
                },
                force);
          },
          "The forces the springs exert at the nodes on springs (-k times the displacement), "
          "as reactions() lists them: the rows of kind 'spring' of tavrin-cli's reactions.csv. "
          "Empty arrays without springs.")
      .def_property_readonly(
          "foundation_pressure",
          [](const Results& r) -> py::object {
            if (r.solver->FoundationZ() == 0.0) return py::none();
            return PerNode(r, [&](int v) { return r.solver->FoundationPressure(v); });
          },
          "The foundation's pressure k w under each node (nodes.csv's foundation_pressure), or "
          "None when no polygon rests on a foundation.")
      .def_property_readonly(
          "spring_z", [](const Results& r) { return r.solver->SpringZ(); },
          "The sum of the springs' vertical forces (0 without springs).")
      .def_property_readonly(
          "foundation_z", [](const Results& r) { return r.solver->FoundationZ(); },
          "The foundation's vertical force (0 without a foundation).")
      .def_property_readonly("equations",
                             [](const Results& r) { return r.solver->EquationCount(); })
      .def_property_readonly(
          "load_z", [](const Results& r) { return r.solver->LoadZ(); },
          "The sum of the applied vertical loads, pressure included.")
      .def_property_readonly(
          "reaction_z", [](const Results& r) { return r.solver->ReactionZ(); },
          "The sum of the vertical reactions.")
      .def_property_readonly("residual",
                             [](const Results& r) { return r.solver->RelativeResidual(); })
      .def_property_readonly("imbalance",
                             [](const Results& r) { return r.solver->LoadImbalance(); })
      .def_property_readonly("error_estimate",
                             [](const Results& r) { return r.solver->ErrorEstimate(); })
      .def_property_readonly(
          "max_deflection",
          [](const Results& r) {
            double w = 0.0;
            for (int v = 0; v < r.solver->ResultNodeCount(); ++v) {
              const double d = static_cast<double>(r.solver->Displacement(v, 0));
              if (std::fabs(d) > std::fabs(w)) w = d;
            }
            return w;
          },
          "The nodal deflection largest in magnitude, with its sign.")
      .def(
          "to_vtu",
          [](const Results& r, const std::string& path) {
            if (WriteVtu(*r.solver, path) != ExportResult::Written)
              throw JobFileRefusal("cannot write " + path);
          },
          py::arg("path"), "Writes the mesh and the results as a VTK unstructured grid (.vtu).");
}

}  // namespace tavrin::python

// tavrin.Job: reading, writing and building a job (nodes, polygons, physics, supports, loads),
// and its geometry check. Each setter refuses what the model refuses (a bad index, a number
// that is not finite) with IndexError or ValueError and changes nothing.
#include "python/JobBinding.h"

#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include <array>
#include <cmath>
#include <optional>
#include <utility>
#include <vector>

#include "model/ConstraintCode.h"
#include "model/GeometryCheck.h"
#include "model/Status.h"
#include "python/Bindings.h"
#include "python/CaseBinding.h"
#include "python/MeshBinding.h"

namespace tavrin::python {

namespace {

// Prescribed values: None leaves the freedom free.
void Support(Job& job, int index, bool node, std::optional<double> w, std::optional<double> rx,
             std::optional<double> ry) {
  const int code = EncodeConstraintCode(w.has_value(), rx.has_value(), ry.has_value());
  const double a = w.value_or(0.0), b = rx.value_or(0.0), c = ry.value_or(0.0);
  if (!std::isfinite(a) || !std::isfinite(b) || !std::isfinite(c))
    throw py::value_error("prescribed displacements must be finite");
  RequireDone(node ? job.model.SetNodeConstraints(index, code, a, b, c)
                   : job.model.SetEdgeConstraints(index, code, a, b, c),
              node ? "support_node" : "support_edge", index);
}

py::dict PhysicsDict(const PolygonPhysics& p) {
  py::dict d;
  d["e_modulus"] = p.eModulus;
  d["nu"] = p.nu;
  d["thickness"] = p.thickness;
  d["pressure"] = p.pressure;
  d["hole"] = p.isHole;
  d["foundation"] = p.foundation;
  return d;
}

}  // namespace

void RequireDone(StatusCode status, const char* what, int index) {
  if (status == StatusCode::BadNumber)
    throw py::value_error(std::string(what) + ": values must be finite");
  if (status == StatusCode::BadIndex || status == StatusCode::BadNode ||
      status == StatusCode::BadPolygon)
    throw py::index_error(std::string(what) + ": no such index " + std::to_string(index));
  if (!IsApplied(status))
    throw py::value_error(std::string(what) + " " + std::to_string(index) + ": " +
                          SkipReason(status));
}

void BindJob(py::module_& m) {
  py::class_<Job> c(m, "Job", R"(A plate job: nodes, closed polygons (the outline, holes and
regions of other physics), supports and loads. Indices are 0-based and never change.

Build one in code:
    job = tavrin.Job()
    p = job.add_polygon([(0, 0), (450, 0), (450, 450), (0, 450)])
    job.set_physics(p, pressure=-0.01, thickness=10)
    for e in job.polygon_edges(p):
        job.support_edge(e, w=0.0)
or read one with Job.load(path) or tavrin.import_dxf(path).)");
  c.def(py::init<>(), "An empty job.")
      .def_static(
          "load",
          [](const std::string& path) {
            Job job;
            if (JobFileResult r = job.model.LoadJob(path); !r) {
              throw JobFileRefusal(r.error);
            } else if (!r.read.supportSkipped.empty()) {
              // The plate would stand on fewer supports than the file describes.
              throw JobFileRefusal(r.read.supportSkipped);
            }
            return job;
          },
          py::arg("path"),
          "Reads a job file (.sam). Raises JobFileError when it cannot, or when it skips a "
          "spring or foundation line (tavrin-cli refuses such a job too).")
      .def(
          "save",
          [](const Job& job, const std::string& path) {
            if (JobFileResult r = job.model.SaveJob(path); !r) throw JobFileRefusal(r.error);
          },
          py::arg("path"), "Writes the job file; a failed save leaves any previous file intact.")
      .def(
          "text", [](const Job& job) { return job.model.JobText(); }, "The job file's text.")
      .def(
          "copy", [](const Job& job) { return job; }, "An independent copy.")
      .def_property_readonly("node_count", [](const Job& j) { return j.model.NodeCount(); })
      .def_property_readonly("edge_count", [](const Job& j) { return j.model.EdgeCount(); })
      .def_property_readonly(
          "polygon_count", [](const Job& j) { return j.model.PolygonCount(); },
          "Closed polygons; polygon 0 is the outline once meshed.")
      .def_property_readonly(
          "nodes",
          [](const Job& j) {
            py::array_t<double> a({j.model.NodeCount(), 2});
            auto v = a.mutable_unchecked<2>();
            for (int i = 0; i < j.model.NodeCount(); ++i)
              v(i, 0) = j.model.NodeX(i), v(i, 1) = j.model.NodeY(i);
            return a;
          },
          "Node positions, an (n, 2) float array.")
      .def_property_readonly(
          "edges",
          [](const Job& j) {
            py::array_t<int> a({j.model.EdgeCount(), 2});
            auto v = a.mutable_unchecked<2>();
            for (int e = 0; e < j.model.EdgeCount(); ++e)
              v(e, 0) = j.model.EdgeBegin(e), v(e, 1) = j.model.EdgeEnd(e);
            return a;
          },
          "Edge end nodes, an (m, 2) int array.")
      .def(
          "add_node",
          [](Job& j, double x, double y) {
            j.model.AddFreeNode(x, y);
            return j.model.LastNode();
          },
          py::arg("x"), py::arg("y"),
          "Adds a free node (a point the mesh must pass through: a column, a load point) and "
          "returns its index.")
      .def(
          "add_polygon",
          [](Job& j, const std::vector<std::pair<double, double>>& points, std::optional<bool> hole,
             const std::optional<std::vector<double>>& bulges) {
            if (points.size() < 3) throw py::value_error("a polygon needs at least 3 points");
            if (bulges && bulges->size() != points.size())
              throw py::value_error("bulges: one per edge, as many as the points");
            for (double b : bulges.value_or(std::vector<double>{}))
              if (!std::isfinite(b)) throw py::value_error("bulges: values must be finite");
            if (j.model.PolygonEdgeCount(j.model.PolygonCount()) != 0)
              throw py::value_error("the job has a polygon being drawn; close it first");
            const int first = j.model.NodeCount(), n = static_cast<int>(points.size());
            for (const auto& [x, y] : points) j.model.AddNode(x, y);
            for (int k = 0; k < n; ++k) {
              j.model.AddPolygonEdge(first + k, first + (k + 1) % n);
              if (bulges) j.model.SetEdgeBulge(j.model.EdgeCount() - 1, (*bulges)[k]);
            }
            const int p = j.model.PolygonCount();
            j.model.ClosePolygon();
            if (hole) {
              PolygonPhysics ph = j.model.Physics(p);
              j.model.SetPolygonPhysics(p, ph.pressure, ph.eModulus, ph.nu, ph.thickness, *hole);
            }
            return p;
          },
          py::arg("points"), py::arg("hole") = py::none(), py::arg("bulges") = py::none(),
          "Adds a closed polygon through new nodes at the points, in order, and returns its "
          "index. hole: None makes the first polygon the plate and later ones holes; False "
          "makes a region of its own physics inside the plate. bulges: None for straight "
          "edges, else one per edge (the edge from point k to the next): 0 straight, else "
          "tan(angle / 4) of an arc, positive counter-clockwise, at most 1 (a half circle).")
      .def(
          "polygon_edges",
          [](const Job& j, int p) {
            if (p < 0 || p >= j.model.PolygonCount()) throw py::index_error("no such polygon");
            std::vector<int> edges;
            for (int k = 0; k < j.model.PolygonEdgeCount(p); ++k)
              edges.push_back(j.model.PolygonEdge(p, k));
            return edges;
          },
          py::arg("polygon"), "The polygon's edges, in order.")
      .def(
          "physics", [](const Job& j, int p) { return PhysicsDict(j.model.Physics(p)); },
          py::arg("polygon"),
          "The polygon's e_modulus, nu, thickness, pressure, hole flag and foundation modulus.")
      .def(
          "set_physics",
          [](Job& j, int p, std::optional<double> e, std::optional<double> nu,
             std::optional<double> t, std::optional<double> q, std::optional<bool> hole) {
            if (p < 0 || p >= j.model.PolygonCount()) throw py::index_error("no such polygon");
            PolygonPhysics ph = j.model.Physics(p);
            ph.eModulus = e.value_or(ph.eModulus), ph.nu = nu.value_or(ph.nu);
            ph.thickness = t.value_or(ph.thickness), ph.pressure = q.value_or(ph.pressure);
            ph.isHole = hole.value_or(ph.isHole);
            for (double v : {ph.eModulus, ph.nu, ph.thickness, ph.pressure})
              if (!std::isfinite(v)) throw py::value_error("set_physics: values must be finite");
            j.model.SetPolygonPhysics(p, ph.pressure, ph.eModulus, ph.nu, ph.thickness, ph.isHole);
          },
          py::arg("polygon"), py::kw_only(), py::arg("e_modulus") = py::none(),
          py::arg("nu") = py::none(), py::arg("thickness") = py::none(),
          py::arg("pressure") = py::none(), py::arg("hole") = py::none(),
          "Changes the given physics of a polygon; the others stay.")
      .def(
          "support_node",
          [](Job& j, int i, std::optional<double> w, std::optional<double> rx,
             std::optional<double> ry) { Support(j, i, true, w, rx, ry); },
          py::arg("node"), py::arg("w") = 0.0, py::arg("rot_x") = py::none(),
          py::arg("rot_y") = py::none(),
          "Prescribes the node's deflection w and rotations; None leaves a freedom free, so "
          "support_node(n) holds the deflection only and support_node(n, 0, 0, 0) clamps.")
      .def(
          "support_edge",
          [](Job& j, int e, std::optional<double> w, std::optional<double> rx,
             std::optional<double> ry) { Support(j, e, false, w, rx, ry); },
          py::arg("edge"), py::arg("w") = 0.0, py::arg("rot_x") = py::none(),
          py::arg("rot_y") = py::none(), "As support_node, along an edge.")
      .def(
          "load_node",
          [](Job& j, int i, double fz, double mx, double my) {
            RequireDone(j.model.SetNodeLoads(i, fz, mx, my), "load_node", i);
          },
          py::arg("node"), py::arg("fz") = 0.0, py::arg("mx") = 0.0, py::arg("my") = 0.0,
          "Sets the node's force and moments (replacing earlier ones).")
      .def(
          "load_edge",
          [](Job& j, int e, double fz, double mx, double my) {
            RequireDone(j.model.SetEdgeLoads(e, fz, mx, my), "load_edge", e);
          },
          py::arg("edge"), py::arg("fz") = 0.0, py::arg("mx") = 0.0, py::arg("my") = 0.0,
          "Sets the edge's loads per unit length (replacing earlier ones).")
      .def(
          "check",
          [](const Job& j) {
            TObjCont prepared = j.model;
            prepared.PrepareForMeshing();
            if (const GeometryCheckResult r = CheckGeometry(prepared); !r)
              throw GeometryRefusal(r.message);
          },
          "Runs the geometry check meshing runs first; raises GeometryError naming what is "
          "wrong.")
      .def("mesh", &MeshJob, py::arg("min_angle") = 31.0, py::arg("max_area") = py::none(),
           py::arg("max_nodes") = py::none(), py::arg("progress") = py::none(),
           R"(Meshes the plate (the job itself is not changed) and returns a Mesh.

min_angle: degrees, 0 to 35; max_area: the largest triangle (None: 200, the workbench's
start-up value); max_nodes: the refinement stops at this many nodes (None: 2,000,000).
progress: None or progress(stage, done, total), called now and then with the GIL held;
returning False cancels (raising tavrin.Cancelled). Raises GeometryError when the job fails
the geometry check, ValueError for bounds out of range. The GIL is released while meshing.)");
  BindJobArcsAndSprings(c);
  BindJobCases(c);
  BindAdaptive(m, c);
}

}  // namespace tavrin::python

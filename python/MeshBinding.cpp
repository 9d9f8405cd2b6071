// Job.mesh and tavrin.Mesh: the job is copied and prepared (the caller's job stays as it is),
// checked, and meshed with the GIL released; the figures are the ones the mesher returns for
// this mesh, so meshes made at the same time in several threads do not share them.
#include "python/MeshBinding.h"

#include <pybind11/numpy.h>

#include <cmath>
#include <optional>

#include "mesh/MeshCanvas.h"
#include "model/GeometryCheck.h"
#include "python/Bindings.h"
#include "python/CaseBinding.h"
#include "python/JobBinding.h"
#include "python/ProgressBridge.h"
#include "python/ResultsBinding.h"

namespace tavrin::python {

Mesh MeshJob(const Job& job, double minAngle, std::optional<double> maxArea,
             std::optional<long> maxNodes, py::object progress) {
  if (!MinAngleAccepted(minAngle))
    throw py::value_error("min_angle " + std::to_string(minAngle) + " is outside 0 to " +
                          std::to_string(kMaxMinAngle) + " degrees");
  MeshParameters parameters;  // the workbench's start-up values for what is not given
  if (maxArea) {
    if (!MaxAreaAccepted(*maxArea)) throw py::value_error("max_area must be positive and finite");
    parameters.maxArea = static_cast<float>(*maxArea);
  }
  if (maxNodes) {
    if (*maxNodes < 0 || *maxNodes > 2000000000)
      throw py::value_error("max_nodes must be from 0 to 2000000000");
    parameters.maxNodes = static_cast<int>(*maxNodes);
  }
  parameters.minAngle = static_cast<float>(minAngle);
  parameters.animate = false;

  TObjCont prepared = job.model;
  prepared.PrepareForMeshing();
  if (const GeometryCheckResult check = CheckGeometry(prepared); !check)
    throw GeometryRefusal(check.message);

  Mesh mesh{std::make_unique<FEM>(parameters), {}, {}};
  ProgressBridge bridge(std::move(progress));
  {
    py::gil_scoped_release release;
    MeshCanvas canvas;
    MeshProgressBridge reports(bridge, *mesh.fem, parameters.maxNodes);
    mesh.statistics = mesh.fem->GenerateMesh(prepared, canvas, reports);
  }
  bridge.RaiseIfCancelled("the meshing");
  mesh.job = std::move(prepared);
  return mesh;
}

namespace {

const char* StopName(MeshStop stop) {
  switch (stop) {
    case MeshStop::User:
      return "user";
    case MeshStop::NodeLimit:
      return "node-limit";
    default:
      return "no";
  }
}

}  // namespace

void BindMesh(py::module_& m) {
  py::class_<Mesh> c(m, "Mesh", "The triangle mesh of a job, with the figures of its generation.");
  c.def_property_readonly(
       "nodes",
       [](const Mesh& mesh) {
         const FEM& f = *mesh.fem;
         py::array_t<double> a({f.NodeCount(), 2});
         auto v = a.mutable_unchecked<2>();
         for (int i = 0; i < f.NodeCount(); ++i) v(i, 0) = f.NodeX(i), v(i, 1) = f.NodeY(i);
         return a;
       },
       "Node positions, an (n, 2) float array; the job's nodes come first.")
      .def_property_readonly(
          "triangles",
          [](const Mesh& mesh) {
            const FEM& f = *mesh.fem;
            py::array_t<int> a({f.TriangleCount(), 3});
            auto v = a.mutable_unchecked<2>();
            for (int t = 0; t < f.TriangleCount(); ++t)
              for (int k = 0; k < 3; ++k) v(t, k) = f.TriangleNode(t, k);
            return a;
          },
          "Corner nodes of each triangle, an (m, 3) int array of indices into nodes.")
      .def_property_readonly("node_count", [](const Mesh& m) { return m.statistics.nodeCount; })
      .def_property_readonly("element_count",
                             [](const Mesh& m) { return m.statistics.elementCount; })
      .def_property_readonly(
          "min_angle", [](const Mesh& m) { return static_cast<double>(m.statistics.minAngle); },
          "The smallest angle of the mesh, degrees.")
      .def_property_readonly(
          "min_angle_free",
          [](const Mesh& m) { return static_cast<double>(m.statistics.minAngleFree); },
          "The smallest angle away from input corners sharper than the bound, degrees.")
      .def_property_readonly("input_corner_triangles",
                             [](const Mesh& m) { return m.statistics.inputCornerTriangles; })
      .def_property_readonly(
          "usable", [](const Mesh& m) { return m.statistics.usable; },
          "Whether the mesh meets the angle it was made for.")
      .def_property_readonly(
          "stopped", [](const Mesh& m) { return StopName(m.statistics.stop); },
          "Why the refinement ended early: 'no', 'user' or 'node-limit'.")
      .def_property_readonly(
          "verdict", [](const Mesh& m) { return MeshVerdict(m.statistics); },
          "One sentence: usable, or why not.")
      .def_property_readonly(
          "area",
          [](const Mesh& m) {
            double area = 0.0;
            for (int t = 0; t < m.fem->TriangleCount(); ++t) area += m.fem->TriangleArea(t);
            return area;
          },
          "The sum of the triangles' areas.")
      .def("solve", &SolveMesh, py::arg("element") = "dkt", py::arg("solver") = "sparse",
           py::arg("recovery") = "patch", py::arg("progress") = py::none(),
           R"(Solves the plate's bending under its loads and returns Results.

element: 'dkt' or 'cubic'; solver: 'sparse' or 'envelope'; recovery: 'patch' or 'average'.
progress: as for Job.mesh. Raises MeshError for a mesh that is not usable, SolveError when the
plate cannot be solved (the reason as tavrin-cli gives it), Cancelled when cancelled. The GIL
is released while solving.)");
  BindMeshCases(c);
}

}  // namespace tavrin::python

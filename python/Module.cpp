// The module `tavrin`: its exceptions, the DXF import, and the order the classes are made in
// (a class is registered before the methods that return it, so help() names it).
#include <pybind11/stl.h>

#include "python/Bindings.h"
#include "python/CaseBinding.h"
#include "python/JobBinding.h"

#ifdef TAVRIN_HAVE_DXF
#include "importer/DxfImport.h"
#endif

namespace tavrin::python {

void BindDxf(py::module_& m) {
#ifdef TAVRIN_HAVE_DXF
  m.def(
      "import_dxf",
      [](const std::string& path, const std::vector<std::string>& layers) {
        dxf::ImportResult r;
        {
          py::gil_scoped_release release;
          r = dxf::ImportDxf(path, {layers});
        }
        if (r.failure == dxf::ImportFailure::Geometry) throw GeometryRefusal(r.message);
        if (!r) throw DxfRefusal(r.message);
        return Job{std::move(r.job)};
      },
      py::arg("path"), py::arg("layers") = std::vector<std::string>{},
      R"(A job from a DXF drawing: closed polylines, chains of lines and arcs, circles and points
of the given layers (all when none are given; names compared without case). Bulges, arcs and
circles become arc edges (a circle: four quarter arcs). The outermost loop is the outline, the loops inside
it holes, the points free nodes; the numbers stay in the drawing's units. Raises DxfError
naming what cannot be imported, GeometryError when the plate fails the geometry check.)");
#else
  (void)m;
#endif
}

}  // namespace tavrin::python

PYBIND11_MODULE(tavrin, m) {
  namespace py = pybind11;
  using namespace tavrin::python;
  m.doc() = R"(TAVRIN: thin plates in bending, from Python.

    import tavrin
    job = tavrin.Job.load("examples/plate-with-hole.sam")
    mesh = job.mesh(min_angle=31, max_area=200)
    results = mesh.solve()
    print(results.max_deflection, results.w.shape)

Refusals raise subclasses of tavrin.Error carrying tavrin-cli's message.)";
  static py::exception<std::runtime_error> error(m, "Error");
  const auto sub = [&](auto tag, const char* name) {
    py::register_exception<decltype(tag)>(m, name, error.ptr());
  };
  sub(JobFileRefusal(""), "JobFileError");
  sub(GeometryRefusal(""), "GeometryError");
  sub(MeshRefusal(""), "MeshError");
  sub(SolveRefusal(""), "SolveError");
  sub(DxfRefusal(""), "DxfError");
  sub(CancelledRefusal(""), "Cancelled");
  BindResults(m);
  BindCaseResults(m);
  BindMesh(m);
  BindJob(m);
  BindDxf(m);
}

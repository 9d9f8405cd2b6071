// The pieces of the Python module `tavrin`, one file each: the job (JobBinding.cpp), the mesh
// (MeshBinding.cpp), the results of a solve (ResultsBinding.cpp), the DXF import and the
// exceptions (Module.cpp). Every refusal of the engine reaches Python as one of the exceptions
// below, carrying the sentence tavrin-cli prints after its "tavrin-cli COMMAND: ".
#pragma once

#include <pybind11/pybind11.h>

#include <stdexcept>
#include <string>

#include "model/Status.h"

namespace tavrin::python {

namespace py = pybind11;

// Mapped to tavrin.JobFileError, GeometryError, MeshError, SolveError, DxfError, Cancelled;
// all derive from tavrin.Error.
struct JobFileRefusal : std::runtime_error {
  using std::runtime_error::runtime_error;
};
struct GeometryRefusal : std::runtime_error {
  using std::runtime_error::runtime_error;
};
struct MeshRefusal : std::runtime_error {
  using std::runtime_error::runtime_error;
};
struct SolveRefusal : std::runtime_error {
  using std::runtime_error::runtime_error;
};
struct DxfRefusal : std::runtime_error {
  using std::runtime_error::runtime_error;
};
struct CancelledRefusal : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// A job setter's refusal as Python raises it: ValueError for a value the model refuses (the
// reason as a job file line with it is reported), IndexError for an index it lacks; nothing
// for a status that applied. `what` names the call, `index` its node, edge or polygon.
void RequireDone(StatusCode status, const char* what, int index);

struct Job;
void BindJob(py::module_& m);
// Job's arc edges, springs and foundation (JobSupportsBinding.cpp).
void BindJobArcsAndSprings(py::class_<Job>& job);
// Job.solve_adaptive and the AdaptiveRun it returns (AdaptiveBinding.cpp).
void BindAdaptive(py::module_& m, py::class_<Job>& job);
void BindMesh(py::module_& m);
void BindResults(py::module_& m);
void BindDxf(py::module_& m);

}  // namespace tavrin::python

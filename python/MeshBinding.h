// The mesh as Python sees it: one FEM with the figures of its generation.
#pragma once

#include <pybind11/pybind11.h>

#include <memory>
#include <optional>

#include "mesh/FEM.h"
#include "mesh/MeshParameters.h"
#include "model/TObjCont.h"

namespace tavrin::python {

struct Mesh {
  std::unique_ptr<FEM> fem;   // owned; only read once generated
  MeshStatistics statistics;  // of this mesh, at the angle it was asked for
  TObjCont job;               // the job as prepared and meshed: the cases solve_cases reads
};

struct Job;

// Job.mesh: see its docstring in JobBinding.cpp.
Mesh MeshJob(const Job& job, double minAngle, std::optional<double> maxArea,
             std::optional<long> maxNodes, pybind11::object progress);

}  // namespace tavrin::python

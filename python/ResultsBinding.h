// The results of a solve as Python sees them: the solver, kept for its tables and exports.
#pragma once

#include <pybind11/pybind11.h>

#include <memory>
#include <string>

#include "analysis/TGlobMatrix.h"

namespace tavrin::python {

struct Mesh;

struct Results {
  std::unique_ptr<TGlobMatrix> solver;  // owned; solved, stresses recovered; only read
};

// Mesh.solve: see its docstring in MeshBinding.cpp.
Results SolveMesh(const Mesh& mesh, const std::string& element, const std::string& solver,
                  const std::string& recovery, pybind11::object progress);

}  // namespace tavrin::python

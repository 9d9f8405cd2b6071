// The results of a solve as Python sees them: the solver, kept for its tables and exports.
#pragma once

#include <pybind11/pybind11.h>

#include <memory>
#include <string>

#include "analysis/AnalysisOptions.h"
#include "analysis/PlateElement.h"
#include "analysis/TGlobMatrix.h"

namespace tavrin::python {

struct Mesh;

struct Results {
  // Solved, stresses recovered; only read. Shared with the CaseSolution that owns it when the
  // results come from one (the adaptive solve's last cycle).
  std::shared_ptr<const TGlobMatrix> solver;
};

// The element and the analysis options of Mesh.solve and Mesh.solve_cases from their names;
// ValueError naming the choices for a name that is none of them.
struct AnalysisChoice {
  ElementKind element = ElementKind::Dkt;
  AnalysisOptions options;
};
AnalysisChoice ParseAnalysis(const std::string& element, const std::string& solver,
                             const std::string& recovery);

// Mesh.solve: see its docstring in MeshBinding.cpp.
Results SolveMesh(const Mesh& mesh, const std::string& element, const std::string& solver,
                  const std::string& recovery, pybind11::object progress);

}  // namespace tavrin::python

// Load cases from Python: building them on a Job, solving every case of a meshed job on one
// factorization (Mesh.solve_cases), and reading each case's and combination's results and the
// envelopes (tavrin.CaseResults, tavrin.SetResults).
#pragma once

#include <pybind11/pybind11.h>

#include <memory>

#include "analysis/CaseSolution.h"

namespace tavrin::python {

struct Job;
struct Mesh;

// Shared by the CaseResults object and every SetResults taken from it.
struct CaseResults {
  std::shared_ptr<const CaseSolution> solution;  // solved; only read
};

// Registers CaseResults and SetResults; before the Mesh class, whose solve_cases returns them.
void BindCaseResults(pybind11::module_& m);
// Job's case methods (JobCasesBinding.cpp): add_case, add_combination, add_envelope, the name
// lists, case_loads.
void BindJobCases(pybind11::class_<Job>& job);
// Mesh.solve_cases.
void BindMeshCases(pybind11::class_<Mesh>& mesh);

}  // namespace tavrin::python

// ExportResult: how writing one of the solver's export files (COSMOS input file, element
// stiffness file) ended. Only Written means a complete file is on disk.
#pragma once

namespace tavrin {

enum class ExportResult {
  Written,            // the file is complete
  CannotCreate,       // the file could not be created or written (the C library's errno says why)
  NoSolution,         // no finished SolveStatic to export
  NoSuchElement,      // the element number lies outside the solved mesh's triangles
  DegenerateElement,  // the element's stiffness cannot be computed
};

}  // namespace tavrin

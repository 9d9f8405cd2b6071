// ExportResult: how writing one of the solver's export files (COSMOS input file, element
// stiffness file) ended. Only Written means a complete file is on disk.
#pragma once

#include <cstdio>

namespace tavrin {

enum class ExportResult {
  Written,            // the file is complete
  CannotCreate,       // the file could not be created or written (the C library's errno says why)
  NoSolution,         // no finished SolveStatic to export
  NoSuchElement,      // the element number lies outside the solved mesh's triangles
  DegenerateElement,  // the element's stiffness cannot be computed
};

// Closes a written export file: Written when neither a write nor the close failed, else
// CannotCreate (the file may be left partly written).
[[nodiscard]] ExportResult CloseExport(std::FILE* f);

}  // namespace tavrin

// The check every solution passes before it is reported: the reactions at the constrained
// freedoms and the residual of the free ones, K u - f in extended precision, measured on the
// element matrices (not on the factored storage), and the vertical balance of loads and
// reactions.
#pragma once

#include <vector>

#include "analysis/PlateElement.h"
#include "analysis/PlateMesh.h"
#include "analysis/StaticSolution.h"
#include "analysis/SystemMatrix.h"

namespace tavrin {

// Fills the reactions, reaction-z, relative residual and load imbalance of `solution`, whose
// numbering, displacements, loads and load-z are set. `reducedLoad` is the right-hand side the
// solve started from (read only when the matrix kept its assembled values) and `loadNorm` its
// norm. Cost: one pass over the elements (only those at a constrained freedom when the matrix
// can multiply) plus one product with the matrix.
void CheckSolution(const PlateMesh& mesh, ElementKind kind, const SystemMatrix& matrix,
                   long double loadNorm, const std::vector<long double>& reducedLoad,
                   StaticSolution& solution);

}  // namespace tavrin

// The check every solution passes before it is reported: the reactions at the constrained
// freedoms and the residual of the free ones, K u - f in extended precision, measured on the
// element matrices (not on the factored storage), and the vertical balance of loads and
// reactions.
#pragma once

#include <functional>
#include <vector>

#include "analysis/ElasticSupport.h"
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
// `residualSquares`, when not null, is the sum of squares of the residual of the free equations
// as that product would give it (the solve's refinement has formed it already); it spares the
// product.
// `elastic`, when not null, has the spring and foundation terms the matrix holds; their forces
// go into the solution and the balance.
// `held`, when not null, keeps the stiffness of the elements at a constrained freedom from one
// check to the next of the same structure (the load cases of one factor): filled by the first
// check that finds it empty and read by the others, which rebuild no element.
struct HeldElements {
  std::vector<int> triangles;          // the elements at a constrained freedom, in order
  std::vector<long double> stiffness;  // 81 coefficients each, row by row
  bool made = false;
};
void CheckSolution(const PlateMesh& mesh, ElementKind kind, const SystemMatrix& matrix,
                   long double loadNorm, const std::vector<long double>& reducedLoad,
                   const ElasticTerms* elastic, StaticSolution& solution,
                   const long double* residualSquares = nullptr, HeldElements* held = nullptr);

// Fills the balance figures of `solution` from its loads and the unrounded `reactions` (per
// equation; the sum of reactions rounded one by one can hide what the printed sum shows): the
// vertical forces and the moments about x and y, each against the larger of the load and the
// reaction. For an element that does not balance exactly (`exact` false, BalancesExactly) or
// a plate with no load, the vertical forces alone, against at least `termsZ()`, the sum of the
// magnitudes of the terms of the vertical equations (asked only then: it can cost a product
// with the matrix). One pass over the nodes.
void MeasureBalance(const PlateMesh& mesh, const std::vector<long double>& reactions, bool exact,
                    const std::function<long double()>& termsZ, StaticSolution& solution);

}  // namespace tavrin

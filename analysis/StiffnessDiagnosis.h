// Material causes of a singular or ill-conditioned stiffness matrix, looked for before the
// constraints are blamed: an element whose bending stiffness E t^3 underflows the range of a
// double (the solvers round the coefficients to double), or one whose E t^3 is negligible
// against a neighbour's, beyond what the factorization's relative pivot test can resolve.
// Linear in the triangles (a hash of their edges).
#pragma once

#include <string>

#include "analysis/PlateMesh.h"

namespace tavrin {

// Ratio of neighbouring bending stiffnesses from which the contrast is named as the cause: the
// factorization refuses pivots below 1e-10 of their diagonal, and materials 1e9 apart already
// leave residuals of 1e-5.
inline constexpr double kStiffnessContrastLimit = 1e8;

// One sentence naming the element(s), their E and thickness and the figure at fault, or an
// empty string when every element's E t^3 is representable and no neighbours differ by
// kStiffnessContrastLimit or more.
std::string DiagnoseStiffness(const PlateMesh& mesh);

}  // namespace tavrin

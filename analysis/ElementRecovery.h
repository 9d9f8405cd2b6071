// ElementRecovery: the centroid stresses, moments and deflection of every element for one or
// several sets of displacements of one mesh (load cases on one factor), in one pass over the
// elements. An element whose recovery has an operator of its corners alone makes it once and
// applies it to every set; the values are those of the element's own RecoverStress to the bit.
// Cost: one operator per element, one small product per element and set; the results take
// seven doubles per element and set.
#pragma once

#include <array>
#include <functional>
#include <vector>

#include "analysis/PlateElement.h"
#include "analysis/PlateMesh.h"

namespace tavrin {

// The centroid values of one set, per triangle; zeros where the element recovers nothing.
struct ElementValues {
  std::vector<double> stress;      // sigma X, sigma Y, tau XY
  std::vector<double> moment;      // the bending moments per unit width
  std::vector<double> deflection;  // one per triangle
};

// Fills `values` (one per set, resized) from `displacements[s]`, three values (lin. Z, rot. X,
// rot. Y) per solver node, for the triangles of `mesh` whose corners are the solver nodes
// `corners`. `goOn` hears the index of every 4096th triangle (before it is recovered) and may
// stop the pass by answering false; the answer is then false and `values` unfinished.
bool RecoverElements(const PlateMesh& mesh, ElementKind kind,
                     const std::vector<std::array<int, 3>>& corners,
                     const std::vector<const std::vector<double>*>& displacements,
                     std::vector<ElementValues>& values, const std::function<bool(int)>& goOn);

}  // namespace tavrin

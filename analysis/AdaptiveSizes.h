// AdaptiveSizes: the target element areas for the next mesh of an adaptive solve, from a solved
// mesh's element error estimates.
//
// The rule (for an estimate that falls like h, as the recovered-moment estimate of this plate
// element does): the target error is spread evenly over the elements, so each of the N
// elements may carry e* = tau sqrt((U + sum e^2) / N), tau the target relative estimate and U
// the strain energy (taken from the global estimate itself, which is
// sqrt(sum e^2 / (U + sum e^2))). An element of error e is given the size h / xi with
// xi = e / e*, that is the area A / xi^2. One cycle changes an area by at most kMostShrink
// down and kMostGrowth up, so that one poor estimate cannot throw the mesh off. N grows as the
// cycles refine, e* falls with it, and the cycles settle on the mesh whose errors are even.
// Linear in the elements.
#pragma once

#include <memory>
#include <vector>

namespace tavrin {

class SizeField;
class TGlobMatrix;

inline constexpr double kMostShrink = 1.0 / 16;  // the smallest area factor of one cycle
inline constexpr double kMostGrowth = 4.0;       // the largest
inline constexpr double kMostReduction = 0.5;    // of the estimate, aimed at in one cycle
inline constexpr double kTargetMargin = 0.95;    // of the target, aimed at by the last cycle

// Inputs: a solver with recovered stresses (element errors and the global estimate); the
// target relative estimate (> 0). Output: the target area of each element, in the solver's
// element order (empty when the solver has no estimate).
std::vector<double> TargetAreas(const TGlobMatrix& solved, double target);

// The predicted element count of a mesh that meets the targets: the sum of area / target.
double PredictedElements(const TGlobMatrix& solved, const std::vector<double>& targets);

// The size field of those targets on the solved mesh as background, graded by `gradation`
// (SizeField). The caller owns the result.
std::shared_ptr<const SizeField> AdaptedSizeField(const TGlobMatrix& solved,
                                                  const std::vector<double>& targets,
                                                  double gradation);

}  // namespace tavrin

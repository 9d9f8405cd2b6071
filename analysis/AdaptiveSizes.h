// AdaptiveSizes: the target element areas for the next mesh of an adaptive solve, from a solved
// mesh's element error estimates.
//
// The rule (for an estimate that falls like h, as the recovered-moment estimate of this plate
// element does): the target error is spread evenly over the elements, each allowed a common
// error e*, and an element of error e is given the size h / xi with xi = e / e*, that is the
// area A / xi^2. One cycle changes an area by at most kMostShrink down and kMostGrowth up, so
// that one poor estimate cannot throw the mesh off.
// e* is chosen in one of two ways:
// - on the way (the target more than one step away): e* = aim sqrt((U + sum e^2) / N), N the
//   present count, U the strain energy (from the global estimate itself, which is
//   sqrt(sum e^2 / (U + sum e^2))) and the aim kMostReduction times the present estimate. The
//   count grows about twofold a cycle while the refinement gathers where the error is; larger
//   steps measured worse (the corner of an L, refined sixteenfold in area at most per cycle,
//   fell behind while the rest grew eightfold, at 1.5 to 2 times the estimate per element);
// - for the last step (the target within reach): e* such that the count is the one the
//   estimate's rate, measured between the last two cycles, says reaches kTargetMargin times the
//   target (NextElementCount; a bisection in the logarithm of e*). Aiming the same way as on
//   the way spent two or three cycles of the final size closing in on the target, each about
//   as costly as all before.
// Linear in the elements (times the bisection's 60 steps).
#pragma once

#include <memory>
#include <vector>

namespace tavrin {

class SizeField;
class TGlobMatrix;

inline constexpr double kMostShrink = 1.0 / 16;  // the smallest area factor of one cycle
inline constexpr double kMostGrowth = 4.0;       // the largest
inline constexpr double kMostReduction = 0.5;    // of the estimate, aimed at in one cycle
inline constexpr double kTargetMargin = 0.9;     // of the target, aimed at by the last cycle
// The estimate's rate against the element count, assumed before two cycles have measured it,
// and the range a measured one is kept in (the optimal rate of this element is 1/2; a slower
// one asks for more elements), and the most elements the last step asks for over the present.
inline constexpr double kOptimalRate = 0.5;
inline constexpr double kSlowestRate = 0.25;
inline constexpr double kMostElementGrowth = 8.0;

// Whether the target is within the last step's reach from this estimate.
bool WithinLastStep(double estimate, double target);

// Inputs: the present element count and estimate, the previous cycle's (count 0: none), the
// target relative estimate (> 0). Output: the element count whose mesh should reach
// kTargetMargin * target at the rate measured between the two cycles (kept within
// kSlowestRate .. kOptimalRate; kOptimalRate without a previous cycle or when the count hardly
// changed), at most kMostElementGrowth times the present count.
double NextElementCount(int elements, double estimate, int previousElements,
                        double previousEstimate, double target);

// Inputs: a solver with recovered stresses (element errors and the global estimate); either the
// target relative estimate (> 0; the rule on the way) or, for the last step, the element count
// wanted (> 0). Output: the target area of each element, in the solver's element order (empty
// when the solver has no estimate).
std::vector<double> TargetAreas(const TGlobMatrix& solved, double target);
std::vector<double> TargetAreasForCount(const TGlobMatrix& solved, double wanted);

// The predicted element count of a mesh that meets the targets: the sum of area / target.
double PredictedElements(const TGlobMatrix& solved, const std::vector<double>& targets);

// The size field of those targets on the solved mesh as background, graded by `gradation`
// (SizeField). The caller owns the result.
std::shared_ptr<const SizeField> AdaptedSizeField(const TGlobMatrix& solved,
                                                  const std::vector<double>& targets,
                                                  double gradation);

}  // namespace tavrin

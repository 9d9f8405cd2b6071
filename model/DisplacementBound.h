// The largest prescribed displacement a job can carry next to the plate's own deflections,
// estimated from the job alone (no solve), for the geometry check.
//
// Input: a job that passed the magnitude and physics checks, and its outline's span L.
// Output: the bound on |w| (a prescribed rotation counts as its slope times L). Cost: linear
// in the nodes, edges and polygons.
#pragma once

namespace tavrin {

class TObjCont;

// Prescribed displacements are carried at most this many times the deflection scale.
inline constexpr double kMaxDisplacementRatio = 1e9;

struct DisplacementBound {
  double scale = 0;  // the deflection scale: the loads' (F L^2 / D), at least the span L
  double limit = 0;  // kMaxDisplacementRatio times the scale
};

DisplacementBound PrescribedDisplacementBound(const TObjCont& job, double span);

}  // namespace tavrin

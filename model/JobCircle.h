// A circle drawn at once: a closed polygon of four quarter-arc edges about a centre, the plate's
// outline, an insert or a hole. Cost: copies of the job and the geometry check run on the job
// with and without the circle (model/GeometryCheck.h: O(n log n)).
#pragma once

#include <string>

namespace tavrin {

class TObjCont;

// Adds the circle of radius r about (cx, cy) to job as a new closed polygon: four nodes at 0, 90,
// 180 and 270 degrees joined counter-clockwise by quarter arcs, with the default physics, a hole
// when hole is set. Returns "" when added. Otherwise the job is unchanged and the sentence says
// why: a value that is not finite or a radius not above 0, a polygon still being drawn, or the
// geometry check's first problem with the circle in place (too small a circle, one crossing or
// touching what the job holds, a hole outside the outline) when the job without it did not
// have that problem first.
std::string AddCircle(TObjCont& job, double cx, double cy, double r, bool hole);

}  // namespace tavrin

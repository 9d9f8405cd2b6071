// Segment crossing and point distances. Crossing: the intersection of the two carrier lines by
// Cramer's rule, accepted when it lies strictly inside both segments in y, or else in x; a
// horizontal and a vertical segment, for which neither range test can hold, are checked
// directly. Constant time each.
#include "model/Geometry.h"

#include <algorithm>
#include <cmath>

namespace tavrin {

namespace {

constexpr double kParallel = 0.001;  // |cross product| below this counts as parallel
constexpr double kZeroSquared = 1e-4;

bool StrictlyBetween(double v, double a, double b) {
  return std::min(a, b) < v && v < std::max(a, b);
}

// Horizontal (hx1..hx2 at height hy) against vertical (vy1..vy2 at abscissa vx): crossing only
// strictly inside both, so end-point contacts and T-junctions do not count.
bool AxisParallelCross(double hx1, double hx2, double hy, double vx, double vy1, double vy2) {
  return StrictlyBetween(vx, hx1, hx2) && StrictlyBetween(hy, vy1, vy2);
}

}  // namespace

bool SegmentsCross(double x1, double y1, double x2, double y2, double x3, double y3, double x4,
                   double y4) {
  const double d = (x2 - x1) * (y4 - y3) - (y2 - y1) * (x4 - x3);
  if (std::fabs(d) < kParallel) return false;
  const double c1 = (x2 - x1) * y1 - (y2 - y1) * x1;
  const double c2 = (x4 - x3) * y3 - (y4 - y3) * x3;
  const double xi = (c1 * (x4 - x3) - c2 * (x2 - x1)) / d;
  const double yi = (c1 * (y4 - y3) - c2 * (y2 - y1)) / d;
  if (StrictlyBetween(yi, y1, y2) && StrictlyBetween(yi, y3, y4)) return true;
  if (StrictlyBetween(xi, x1, x2) && StrictlyBetween(xi, x3, x4)) return true;
  if (y1 == y2 && x3 == x4) return AxisParallelCross(x1, x2, y1, x3, y3, y4);
  if (x1 == x2 && y3 == y4) return AxisParallelCross(x3, x4, y3, x1, y1, y2);
  return false;
}

double PointDistance(double x1, double y1, double x2, double y2) {
  const double s = (x1 - x2) * (x1 - x2) + (y1 - y2) * (y1 - y2);
  return s >= kZeroSquared ? std::sqrt(s) : 0.0;
}

double PointSegmentDistance(double px, double py, double x1, double y1, double x2, double y2) {
  const double a = y2 - y1;
  const double b = x1 - x2;
  const double norm = a * a + b * b;
  if (norm == 0.0) return kOutsideSegment;
  const double c = -(b * y1 + a * x1);
  const double d = a * py - b * px;
  const double fx = -(c * a + b * d) / norm;
  const double fy = (a * d - b * c) / norm;
  if (StrictlyBetween(fx, x1, x2) || StrictlyBetween(fy, y1, y2)) {
    const double s = (px - fx) * (px - fx) + (py - fy) * (py - fy);
    return s > kZeroSquared ? std::sqrt(s) : 0.0;
  }
  return kOutsideSegment;
}

}  // namespace tavrin

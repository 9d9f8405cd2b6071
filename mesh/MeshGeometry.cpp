// Geometric measures of the mesher. Every formula keeps the operand order it is documented
// with and the library is built without fused multiply-add, so the same coordinates give the
// same bits, and so the same mesh, on every machine of the kind.
#include "mesh/MeshGeometry.h"

#include <cmath>

namespace tavrin {

double MeshDegrees(double radians) { return 180 * radians * 0.31831015504887655; }

namespace {
double Squared(MeshPoint a, MeshPoint b) {
  const double dx = b.x - a.x;
  const double dy = b.y - a.y;
  return dx * dx + dy * dy;
}
}  // namespace

double Length(MeshPoint a, MeshPoint b) {
  const double s = Squared(a, b);
  return s > 0 ? std::sqrt(s) : 0.0;
}

bool Shorter(MeshPoint p, MeshPoint q, MeshPoint a, MeshPoint b) {
  const double near = Squared(p, q);
  const double far = Squared(a, b);
  // The square root rounds monotonically, so a square no smaller than a positive one has a
  // root no smaller; squares that are smaller may still have equal roots, and are decided by
  // the roots themselves.
  if (far > 0 && near >= far) return false;
  return Length(p, q) < Length(a, b);
}

bool SideOf(MeshPoint a, MeshPoint b, MeshPoint p) {
  return (a.x - p.x) * (b.y - p.y) - (b.x - p.x) * (a.y - p.y) < -kMeshTolerance;
}

namespace {

// The cosine VertexAngle takes the arc cosine of, or the angle itself where it has no arc
// cosine to take (a vertex too close to a neighbour, or a cosine rounded beyond 1 or -1).
struct Corner {
  bool hasCosine;
  double value;
};

Corner CornerOf(MeshPoint v, MeshPoint p, MeshPoint q) {
  const double ux = p.x - v.x;
  const double uy = p.y - v.y;
  const double wx = q.x - v.x;
  const double wy = q.y - v.y;
  const double s = (ux * ux + uy * uy) * (wx * wx + wy * wy);
  // Only a side of no length leaves the angle undefined: a fixed threshold here made every
  // triangle with sides below about 0.1 units measure 0 degrees, so a small plate could never
  // be meshed usable.
  if (!(s > 0)) return {false, 0.0};
  const double c = (ux * wx + uy * wy) / std::sqrt(s);
  if (c > 1.0) return {false, 0.0};
  if (c < -1.0) return {false, kMeshPi};
  return {true, c};
}

// Cosines further apart than this have arc cosines in the same order, whatever the rounding:
// the arc cosine falls at least as fast as its argument grows, and the library's error is a
// few units in the last place, some 10^-16, far below this.
constexpr double kArcOrderMargin = 1e-12;

}  // namespace

double VertexAngle(MeshPoint v, MeshPoint p, MeshPoint q) {
  const Corner corner = CornerOf(v, p, q);
  return corner.hasCosine ? std::acos(corner.value) : corner.value;
}

double MinOfVertexAngles(MeshPoint a, MeshPoint b, MeshPoint c) {
  double m = VertexAngle(a, b, c);
  const double atB = VertexAngle(b, c, a);
  if (atB < m) m = atB;
  const double atC = VertexAngle(c, a, b);
  if (atC < m) m = atC;
  return m;
}

double MinAngle(MeshPoint a, MeshPoint b, MeshPoint c) { return MinAngleAnyOrder(a, b, c).radians; }

namespace {

// A bound no smaller than the library's arc cosine of c in [0.5, 1]: acos(c) = 2 asin(s) with
// s = sqrt((1 - c) / 2) <= 1/2, and the series of asin, whose terms are all positive and
// shrinking, cut after s^9 leaves less than its next term over 1 - s^2, 1.5e-5 at s = 1/2;
// doubled, with room for the rounding of these few operations and of the library.
constexpr double kArcCosineSlack = 5e-5;
double ArcCosineAbove(double c) {
  const double s = std::sqrt((1 - c) / 2);
  const double s2 = s * s;
  const double series =
      s * (1 + s2 * (1.0 / 6 + s2 * (3.0 / 40 + s2 * (15.0 / 336 + s2 * (105.0 / 3456)))));
  return 2 * series + kArcCosineSlack;
}

// MinAngleAnyOrder from the corners of a, b and c, in that order.
CornerFreeAngle FromCorners(const Corner (&corners)[3], MeshPoint a, MeshPoint b, MeshPoint c) {
  double largest = -2.0;
  for (const Corner& k : corners) {
    if (!k.hasCosine) continue;
    // Not a number in some corner: which angle comes out depends on the order of the
    // comparisons, so they are made as written.
    if (std::isnan(k.value)) return {MinOfVertexAngles(a, b, c), false};
    if (k.value > largest) largest = k.value;
  }
  double m = 0.0;  // the first angle taken replaces it
  bool any = false;
  for (const Corner& k : corners) {
    double angle;
    if (!k.hasCosine)
      angle = k.value;
    else if (k.value >= largest - kArcOrderMargin)
      angle = std::acos(k.value);
    else
      continue;
    if (!any || angle < m) m = angle;
    any = true;
  }
  return {m, true};
}

}  // namespace

// The largest cosine has the smallest angle.
CornerFreeAngle MinAngleAnyOrder(MeshPoint a, MeshPoint b, MeshPoint c) {
  const Corner corners[3] = {CornerOf(a, b, c), CornerOf(b, c, a), CornerOf(c, a, b)};
  return FromCorners(corners, a, b, c);
}

// The smallest angle is at most the arc cosine of the largest cosine, which the bound exceeds:
// a bound no larger than floor decides. The largest cosine of a triangle is at least 0.5 (its
// smallest angle at most 60 degrees) but for rounding; below that, for a corner without a
// cosine and for one whose cosine is not a number, the angle is measured.
std::optional<CornerFreeAngle> MinAngleAbove(MeshPoint a, MeshPoint b, MeshPoint c, double floor) {
  const Corner corners[3] = {CornerOf(a, b, c), CornerOf(b, c, a), CornerOf(c, a, b)};
  bool plain = true;
  double largest = -2.0;
  for (const Corner& k : corners) {
    plain = plain && k.hasCosine && !std::isnan(k.value);
    if (k.value > largest) largest = k.value;
  }
  if (plain && largest >= 0.5 && ArcCosineAbove(largest) <= floor) return std::nullopt;
  const CornerFreeAngle measured = FromCorners(corners, a, b, c);
  if (floor >= measured.radians) return std::nullopt;
  return measured;
}

namespace {

// The denominator of the squared sine of a triangle's smallest angle, the doubled area squared
// over it: the smallest angle lies between the two longer sides, whose product of squares is
// the largest. Plain comparisons: the callers pass finite values, and std::fmax is a call.
double LongerSidesProduct(double s1, double s2, double s3) {
  const double p12 = s1 * s2, p13 = s1 * s3, p23 = s2 * s3;
  const double p = p12 > p13 ? p12 : p13;
  return p > p23 ? p : p23;
}

double Cross(MeshPoint o, MeshPoint p, MeshPoint q) {
  return (p.x - o.x) * (q.y - o.y) - (p.y - o.y) * (q.x - o.x);
}

bool SquaredSideInRange(double s) { return s >= 1e-70 && s <= 1e70; }

// A new triangle surely worse than the old pair: its squared sine below the old one's by this
// share. The sine of the smallest angle is at most 60 degrees' and grows with the angle, so the
// squared sines order the angles as MinAngle does, but for rounding: every difference of two
// node coordinates is exact to a unit in the last place, which leaves the doubled areas and
// the squared sides some 10 units of the products they come from; the squared sines are then
// good to about 1e-14, absolutely and, for triangles whose sine is at least 1/100, relatively.
// A share of 1e-6 of a squared sine of at least 1e-4 puts the two smallest angles at least
// 5e-9 radians apart, where MinAngle's arc cosines of cosines good to some 1e-15 differ from
// the true angles by less than 1e-12 (or, for an angle below half the other, by less than the
// arc cosine's worst error near 1, 1e-7 radians, against a gap of 0.005 radians). Squared
// sides from 1e-70 to 1e70 keep the products of four of them, which the squared sines are
// compared by, among the normal numbers.
constexpr double kSurelyWorseShare = 1e-6;
constexpr double kSmallestSquaredSine = 1e-4;

}  // namespace

bool FlipSurelyWorse(MeshPoint a, MeshPoint b, MeshPoint c1, MeshPoint c2) {
  const double ab = Squared(a, b), a1 = Squared(a, c1), b1 = Squared(b, c1);
  const double a2 = Squared(a, c2), b2 = Squared(b, c2), c12 = Squared(c1, c2);
  // Also false for a side that is not a number.
  if (!(SquaredSideInRange(ab) && SquaredSideInRange(a1) && SquaredSideInRange(b1) &&
        SquaredSideInRange(a2) && SquaredSideInRange(b2) && SquaredSideInRange(c12)))
    return false;
  // Each squared sine as a fraction, the doubled area squared over LongerSidesProduct.
  const double x1 = Cross(a, b, c1), x2 = Cross(a, b, c2);
  const double p1 = LongerSidesProduct(ab, a1, b1), p2 = LongerSidesProduct(ab, a2, b2);
  double top = x1 * x1, bottom = p1;  // the smaller of the old pair's
  if (x2 * x2 * p1 < top * p2) top = x2 * x2, bottom = p2;
  if (!(top >= kSmallestSquaredSine * bottom)) return false;
  const double bar = top * (1 - kSurelyWorseShare);
  const double xa = Cross(c1, c2, a), xb = Cross(c1, c2, b);
  return xa * xa * bottom < bar * LongerSidesProduct(c12, a1, a2) ||
         xb * xb * bottom < bar * LongerSidesProduct(c12, b1, b2);
}

double TriangleArea(MeshPoint a, MeshPoint b, MeshPoint c) {
  // No threshold on the base: one below 0.01 units made a real triangle weigh nothing.
  return std::fabs((b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x)) / 2;
}

double ViewCosine(MeshPoint b, MeshPoint e, MeshPoint v) {
  const double lengths = Length(b, v) * Length(e, v);
  if (lengths < kMeshTolerance) return 1.0;
  return ((b.x - v.x) * (e.x - v.x) + (b.y - v.y) * (e.y - v.y)) / lengths;
}

int ShortestSideOpposite(const MeshPoint (&p)[3], double& squared) {
  int k = 0;
  for (int i = 0; i < 3; ++i) {
    const double dx = p[(i + 2) % 3].x - p[(i + 1) % 3].x;
    const double dy = p[(i + 2) % 3].y - p[(i + 1) % 3].y;
    const double length = dx * dx + dy * dy;
    if (i == 0 || length < squared) {
      squared = length;
      k = i;
    }
  }
  return k;
}

}  // namespace tavrin

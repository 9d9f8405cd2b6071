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

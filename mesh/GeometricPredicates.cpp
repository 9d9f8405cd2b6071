// Floating-point filters with static error bounds: the determinant is evaluated once from
// coordinate differences, and its sign is kept only when its magnitude exceeds a bound on the
// total rounding error, a small multiple of the machine epsilon times the sum of the absolute
// values of the products that make it up (the bounds of the classic adaptive predicates' first
// stage, for round-to-nearest doubles without fused multiply-add, which the mesh library is
// built without).
#include "mesh/GeometricPredicates.h"

#include <cmath>

namespace tavrin {

namespace {
constexpr double kEpsilon = 1.1102230246251565e-16;  // 2^-53, half an ulp of 1
constexpr double kOrientationBound = (3.0 + 16.0 * kEpsilon) * kEpsilon;
constexpr double kInCircleBound = (10.0 + 96.0 * kEpsilon) * kEpsilon;

int Sign(double value, double bound) {
  if (value > bound) return 1;
  if (value < -bound) return -1;
  return 0;
}
}  // namespace

double Orientation(MeshPoint a, MeshPoint b, MeshPoint c) {
  return (a.x - c.x) * (b.y - c.y) - (a.y - c.y) * (b.x - c.x);
}

int OrientationSign(MeshPoint a, MeshPoint b, MeshPoint c) {
  const double left = (a.x - c.x) * (b.y - c.y);
  const double right = (a.y - c.y) * (b.x - c.x);
  return Sign(left - right, kOrientationBound * (std::fabs(left) + std::fabs(right)));
}

int InCircleSign(MeshPoint a, MeshPoint b, MeshPoint c, MeshPoint d) {
  const double adx = a.x - d.x, ady = a.y - d.y;
  const double bdx = b.x - d.x, bdy = b.y - d.y;
  const double cdx = c.x - d.x, cdy = c.y - d.y;
  const double bdxcdy = bdx * cdy, cdxbdy = cdx * bdy;
  const double cdxady = cdx * ady, adxcdy = adx * cdy;
  const double adxbdy = adx * bdy, bdxady = bdx * ady;
  const double alift = adx * adx + ady * ady;
  const double blift = bdx * bdx + bdy * bdy;
  const double clift = cdx * cdx + cdy * cdy;
  const double det =
      alift * (bdxcdy - cdxbdy) + blift * (cdxady - adxcdy) + clift * (adxbdy - bdxady);
  const double permanent = (std::fabs(bdxcdy) + std::fabs(cdxbdy)) * alift +
                           (std::fabs(cdxady) + std::fabs(adxcdy)) * blift +
                           (std::fabs(adxbdy) + std::fabs(bdxady)) * clift;
  return Sign(det, kInCircleBound * permanent);
}

}  // namespace tavrin

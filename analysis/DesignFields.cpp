// Principal moments and the von Mises stress. hypot keeps the radius exact where the moments
// are huge or tiny; the angle comes from atan2 so no quadrant needs choosing by hand.
#include "analysis/DesignFields.h"

#include <cmath>

namespace tavrin {

PrincipalMoments Principal(double mx, double my, double mxy) {
  const double mean = 0.5 * (mx + my);
  const double half = 0.5 * (mx - my);
  const double radius = std::hypot(half, mxy);
  PrincipalMoments p;
  p.m1 = mean + radius;
  p.m2 = mean - radius;
  constexpr double kDegrees = 90.0 / 3.14159265358979323846;  // half an angle, in degrees
  p.angle = radius == 0.0 ? 0.0 : kDegrees * std::atan2(mxy, half);
  if (p.angle <= -90.0) p.angle += 180.0;
  return p;
}

double VonMises(double sx, double sy, double txy) {
  return std::sqrt(sx * sx - sx * sy + sy * sy + 3.0 * txy * txy);
}

}  // namespace tavrin

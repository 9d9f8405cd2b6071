// Wood–Armer's rules, one face at a time; the top face reuses the bottom's with the moments
// negated, which is the method's symmetry.
#include "analysis/WoodArmer.h"

#include <cmath>

namespace tavrin {

void WoodArmerBottom(double mx, double my, double mxy, double& mxStar, double& myStar) {
  const double t = std::fabs(mxy);
  mxStar = mx + t;
  myStar = my + t;
  // mx + |mxy| < 0 implies mx < 0, so the division is safe; a zero twist gives 0 / |mx| = 0.
  if (mxStar < 0) {
    mxStar = 0;
    myStar = my + mxy * mxy / std::fabs(mx);
    if (myStar < 0) myStar = 0;
  } else if (myStar < 0) {
    myStar = 0;
    mxStar = mx + mxy * mxy / std::fabs(my);
    if (mxStar < 0) mxStar = 0;
  }
}

ReinforcementMoments WoodArmer(double mx, double my, double mxy) {
  ReinforcementMoments r;
  WoodArmerBottom(mx, my, mxy, r.xBottom, r.yBottom);
  WoodArmerBottom(-mx, -my, -mxy, r.xTop, r.yTop);
  return r;
}

ReinforcementMoments WoodArmerAt(double mx, double my, double mxy, double degrees) {
  if (degrees == 0.0) return WoodArmer(mx, my, mxy);
  constexpr double kRadians = 3.14159265358979323846 / 180.0;
  const double c = std::cos(degrees * kRadians), s = std::sin(degrees * kRadians);
  const double sc = s * c, cc = c * c, ss = s * s;
  return WoodArmer(mx * cc + my * ss + 2.0 * mxy * sc, mx * ss + my * cc - 2.0 * mxy * sc,
                   (my - mx) * sc + mxy * (cc - ss));
}

}  // namespace tavrin

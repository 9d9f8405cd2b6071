// With the chord d = P2 - P1 of length L and m its middle, the centre lies on the chord's
// perpendicular bisector at m + (1 - b^2) / (4 b) * (-d.y, d.x) (to the left of the chord for an
// arc counter-clockwise from P1), and the radius is L (1 + b^2) / (4 |b|); theta = 4 atan(b).
#include "model/ArcGeometry.h"

#include <cmath>

namespace tavrin {

Arc ArcThrough(double x1, double y1, double x2, double y2, double bulge) {
  const double dx = x2 - x1, dy = y2 - y1;
  const double k = (1 - bulge * bulge) / (4 * bulge);
  Arc arc;
  arc.cx = (x1 + x2) / 2 - k * dy;
  arc.cy = (y1 + y2) / 2 + k * dx;
  arc.radius = std::hypot(dx, dy) * (1 + bulge * bulge) / (4 * std::fabs(bulge));
  arc.startAngle = std::atan2(y1 - arc.cy, x1 - arc.cx);
  arc.sweep = 4 * std::atan(bulge);
  return arc;
}

void ArcPointAt(const Arc& arc, double t, double& x, double& y) {
  const double angle = arc.startAngle + t * arc.sweep;
  x = arc.cx + arc.radius * std::cos(angle);
  y = arc.cy + arc.radius * std::sin(angle);
}

double ArcSagitta(double chord, double bulge) { return std::fabs(bulge) * chord / 2; }

double ArcLength(double chord, double bulge) {
  if (bulge == 0.0) return chord;
  const double theta = 4 * std::atan(std::fabs(bulge));
  return theta * chord * (1 + bulge * bulge) / (4 * std::fabs(bulge));
}

}  // namespace tavrin

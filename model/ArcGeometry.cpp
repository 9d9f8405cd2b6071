// With the chord d = P2 - P1 of length L and m its middle, the centre lies on the chord's
// perpendicular bisector at m + (1 - b^2) / (4 b) * (-d.y, d.x) (to the left of the chord for an
// arc counter-clockwise from P1), and the radius is L (1 + b^2) / (4 |b|); theta = 4 atan(b).
// Back from the radius R: sin(theta / 2) = L / (2 R), and tan(theta / 4) of that angle is
// s / (1 + sqrt(1 - s^2)) with s = L / (2 R), exact down to a half circle (s = 1).
#include "model/ArcGeometry.h"

#include <algorithm>
#include <cmath>

namespace tavrin {

Arc ArcThrough(double x1, double y1, double x2, double y2, double bulge) {
  const double dx = x2 - x1, dy = y2 - y1;
  const double k = (1 - bulge * bulge) / (4 * bulge);
  Arc arc;
  arc.cx = (x1 + x2) / 2 - k * dy;
  arc.cy = (y1 + y2) / 2 + k * dx;
  arc.radius = ArcRadius(std::hypot(dx, dy), bulge);
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

bool ArcFacesPoint(const Arc& arc, double px, double py) {
  constexpr double kTurn = 6.283185307179586477;
  const double angle = std::atan2(py - arc.cy, px - arc.cx);
  double along = (angle - arc.startAngle) / arc.sweep;  // fraction of the sweep, modulo a turn
  const double turn = kTurn / std::fabs(arc.sweep);
  along -= std::floor(along / turn) * turn;
  return along <= 1;
}

double DistanceToArc(const Arc& arc, double px, double py) {
  if (ArcFacesPoint(arc, px, py))
    return std::fabs(std::hypot(px - arc.cx, py - arc.cy) - arc.radius);
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  ArcPointAt(arc, 0, x1, y1);
  ArcPointAt(arc, 1, x2, y2);
  return std::min(std::hypot(px - x1, py - y1), std::hypot(px - x2, py - y2));
}

int ArcCrossingsAtHeight(const Arc& arc, double h, double x[2]) {
  const double dy = h - arc.cy;
  if (!(std::fabs(dy) < arc.radius)) return 0;
  const double dx = std::sqrt(arc.radius * arc.radius - dy * dy);
  double ex[2] = {}, ey[2] = {};
  ArcPointAt(arc, 0, ex[0], ey[0]);
  ArcPointAt(arc, 1, ex[1], ey[1]);
  int count = 0;
  for (const double cx : {arc.cx - dx, arc.cx + dx}) {
    if (!ArcFacesPoint(arc, cx, h)) continue;
    // At an end point's height (to the rounding of its cosine and sine), the crossing beside
    // that end is the end point itself: it is left out.
    bool atEnd = false;
    for (int k = 0; k < 2; ++k)
      atEnd = atEnd || (std::fabs(ey[k] - h) <= 1e-12 * arc.radius &&
                        std::fabs(cx - ex[k]) <= 1e-9 * arc.radius);
    if (!atEnd) x[count++] = cx;
  }
  return count;
}

double ArcRadius(double chord, double bulge) {
  return chord * (1 + bulge * bulge) / (4 * std::fabs(bulge));
}

double BulgeForRadius(double chord, double radius) {
  if (radius == 0.0) return 0.0;
  const double s = chord / (2 * std::fabs(radius));
  if (!(s <= 1)) return std::nan("");
  return std::copysign(s / (1 + std::sqrt(1 - s * s)), radius);
}

}  // namespace tavrin

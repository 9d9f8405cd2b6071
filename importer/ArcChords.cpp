// Chords of arcs and bulges: each arc is cut into the fewest equal chords that span at most
// kMaxChordDegrees, so the corners lie exactly on the arc. Linear in the chords made.
#include "importer/ArcChords.h"

#include <cmath>
#include <numbers>

namespace tavrin::dxf {

namespace {

constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;

int ChordCount(double sweepRadians) {
  const double n = std::ceil(std::fabs(sweepRadians) / (kMaxChordDegrees * kRadiansPerDegree));
  return n < 1.0 ? 1 : static_cast<int>(n);
}

}  // namespace

void AppendBulge(XY from, XY to, double bulge, std::vector<XY>& out) {
  if (!(std::fabs(bulge) >= 1e-12)) {
    out.push_back(to);
    return;
  }
  const double included = 4.0 * std::atan(bulge);
  const double dx = to.x - from.x, dy = to.y - from.y;
  // The centre lies on the chord's perpendicular bisector, on the left of a counter-clockwise
  // arc shorter than half a circle; cot(included / 2) carries the side for every case.
  const double offset = 0.5 / std::tan(included / 2.0);
  const XY centre{(from.x + to.x) / 2.0 - dy * offset, (from.y + to.y) / 2.0 + dx * offset};
  const int n = ChordCount(included);
  const double rx = from.x - centre.x, ry = from.y - centre.y;
  for (int k = 1; k < n; ++k) {
    const double a = included * k / n;
    out.push_back({centre.x + rx * std::cos(a) - ry * std::sin(a),
                   centre.y + rx * std::sin(a) + ry * std::cos(a)});
  }
  out.push_back(to);
}

std::vector<XY> ArcPoints(double cx, double cy, double r, double startDegrees, double endDegrees) {
  double sweep = std::fmod(endDegrees - startDegrees, 360.0);
  if (sweep <= 0.0) sweep += 360.0;
  const double start = startDegrees * kRadiansPerDegree, span = sweep * kRadiansPerDegree;
  const int n = ChordCount(span);
  std::vector<XY> points;
  points.reserve(static_cast<std::size_t>(n) + 1);
  for (int k = 0; k <= n; ++k) {
    const double a = start + span * k / n;
    points.push_back({cx + r * std::cos(a), cy + r * std::sin(a)});
  }
  return points;
}

std::vector<XY> CirclePoints(double cx, double cy, double r) {
  std::vector<XY> points = ArcPoints(cx, cy, r, 0.0, 360.0);
  points.pop_back();
  return points;
}

}  // namespace tavrin::dxf

// Chords of arcs: each arc is cut into the fewest equal chords that span at most
// kMaxChordDegrees, so the chords' corners lie exactly on the arc. Linear in the chords made.
#include "importer/ArcChords.h"

#include <cmath>
#include <numbers>

#include "model/ArcGeometry.h"

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
  const tavrin::Arc arc = ArcThrough(from.x, from.y, to.x, to.y, bulge);
  const int n = ChordCount(arc.sweep);
  for (int k = 1; k < n; ++k) {
    XY p;
    ArcPointAt(arc, static_cast<double>(k) / n, p.x, p.y);
    out.push_back(p);
  }
  out.push_back(to);
}

std::vector<XY> Chords(const std::vector<Vertex>& corners) {
  std::vector<XY> points;
  if (corners.empty()) return points;
  points.push_back({corners[0].x, corners[0].y});
  for (std::size_t k = 0; k < corners.size(); ++k) {
    const Vertex& v = corners[k];
    const Vertex& w = corners[(k + 1) % corners.size()];
    AppendBulge({v.x, v.y}, {w.x, w.y}, v.bulge, points);
  }
  points.pop_back();  // the chords came back to the first corner
  return points;
}

}  // namespace tavrin::dxf

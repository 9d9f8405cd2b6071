// Arc edges from drawn arcs. A split arc of included angle theta into n equal parts keeps the
// centre and takes bulge tan(theta / (4 n)); halving uses tan(x / 2) = t / (1 + sqrt(1 + t^2))
// for t = tan(x), exact for every bulge. New corners come from ArcPointAt, so they lie on the
// circle the job's geometry computes from the same two ends and bulge.
#include "importer/ArcEdges.h"

#include <cmath>
#include <numbers>

#include "model/ArcGeometry.h"

namespace tavrin::dxf {

namespace {

constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;

// The corners of one segment from v to w, split into n equal arcs: v's place, then the n - 1
// points between, each with the parts' bulge.
void AppendSplit(const Vertex& v, const Vertex& w, int n, std::vector<Vertex>& out) {
  const tavrin::Arc arc = ArcThrough(v.x, v.y, w.x, w.y, v.bulge);
  const double bulge = std::tan(arc.sweep / (4.0 * n));
  out.push_back({v.x, v.y, bulge});
  for (int k = 1; k < n; ++k) {
    Vertex p{0.0, 0.0, bulge};
    ArcPointAt(arc, static_cast<double>(k) / n, p.x, p.y);
    out.push_back(p);
  }
}

// Each arc of the closed loop split into `parts(bulge)` equal arcs.
template <typename Parts>
void SplitArcs(std::vector<Vertex>& corners, Parts parts) {
  std::vector<Vertex> out;
  for (std::size_t k = 0; k < corners.size(); ++k) {
    const Vertex& v = corners[k];
    const int n = v.bulge == 0.0 ? 1 : parts(v.bulge);
    if (n == 1)
      out.push_back(v);
    else
      AppendSplit(v, corners[(k + 1) % corners.size()], n, out);
  }
  corners = std::move(out);
}

}  // namespace

std::vector<Vertex> ArcCorners(double cx, double cy, double r, double startDegrees,
                               double endDegrees) {
  double sweep = std::fmod(endDegrees - startDegrees, 360.0);
  if (sweep < 0.0) sweep += 360.0;
  if (!(sweep > 0.0)) return {};
  const int n = static_cast<int>(std::ceil(sweep / 180.0));
  const double bulge = std::tan(sweep * kRadiansPerDegree / (4.0 * n));
  std::vector<Vertex> corners;
  for (int k = 0; k <= n; ++k) {
    const double a = (startDegrees + sweep * k / n) * kRadiansPerDegree;
    corners.push_back({cx + r * std::cos(a), cy + r * std::sin(a), k < n ? bulge : 0.0});
  }
  return corners;
}

std::vector<Vertex> CircleCorners(double cx, double cy, double r) {
  return {{cx + r, cy, 1.0}, {cx - r, cy, 1.0}};
}

void FinishLoop(std::vector<Vertex>& corners, double tolerance) {
  const std::size_t n = corners.size();
  for (std::size_t k = 0; k < n; ++k) {
    Vertex& v = corners[k];
    const Vertex& w = corners[(k + 1) % n];
    if (ArcSagitta(std::hypot(w.x - v.x, w.y - v.y), v.bulge) <= tolerance) v.bulge = 0.0;
  }
  SplitArcs(corners, [](double bulge) {
    return static_cast<int>(std::ceil(std::atan(std::fabs(bulge)) / std::atan(kMaxBulge)));
  });
  const auto arcs = [&] {
    int count = 0;
    for (const Vertex& v : corners) count += v.bulge != 0.0;
    return count;
  };
  while (corners.size() >= 2 && corners.size() < 3 && arcs() > 0)
    SplitArcs(corners, [](double) { return 2; });
}

std::vector<Vertex> Reversed(const std::vector<Vertex>& corners, bool closed) {
  const std::size_t n = corners.size();
  std::vector<Vertex> out;
  out.reserve(n);
  for (std::size_t k = 0; k < n; ++k) {
    const Vertex& at = corners[n - 1 - k];
    // The segment from here leads back to the corner before `at`, whose bulge it carried.
    double bulge = 0.0;
    if (n - 1 - k > 0)
      bulge = -corners[n - 2 - k].bulge;
    else if (closed)
      bulge = -corners[n - 1].bulge;
    out.push_back({at.x, at.y, bulge});
  }
  return out;
}

double LoopArea(const std::vector<Vertex>& corners) {
  double twice = 0.0, segments = 0.0;
  for (std::size_t k = 0; k < corners.size(); ++k) {
    const Vertex& v = corners[k];
    const Vertex& w = corners[(k + 1) % corners.size()];
    twice += v.x * w.y - w.x * v.y;
    if (v.bulge == 0.0) continue;
    const double chord = std::hypot(w.x - v.x, w.y - v.y);
    const double theta = 4.0 * std::atan(v.bulge);
    const double r = chord / (2.0 * std::sin(theta / 2.0));
    segments += r * r / 2.0 * (theta - std::sin(theta));
  }
  return twice / 2.0 + segments;
}

}  // namespace tavrin::dxf

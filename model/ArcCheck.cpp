// Arcs are compared with other edges as fine polylines of points on the arc (64 pieces per half
// turn): a crossing of the arc itself by a straight edge that the polyline misses would lie
// within a piece's sagitta (R (1 - cos(pi/128)), 3e-4 of the radius) of the arc, where the node
// distance test, exact for the circle, already refuses any node of that edge closer than the
// clearance.
#include "model/ArcCheck.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "model/ArcGeometry.h"
#include "model/TObjCont.h"

namespace tavrin {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kPiecesPerHalfTurn = 64;

std::string Num(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", v);
  return text;
}

struct Point {
  double x, y;
};

// The edge as a polyline from its begin node to its end node.
std::vector<Point> Polyline(const TObjCont& job, int e) {
  const double x1 = job.NodeX(job.EdgeBegin(e)), y1 = job.NodeY(job.EdgeBegin(e));
  const double x2 = job.NodeX(job.EdgeEnd(e)), y2 = job.NodeY(job.EdgeEnd(e));
  const double bulge = job.EdgeBulge(e);
  if (bulge == 0.0) return {{x1, y1}, {x2, y2}};
  const Arc arc = ArcThrough(x1, y1, x2, y2, bulge);
  const int pieces =
      std::max(1, static_cast<int>(std::ceil(std::fabs(arc.sweep) / kPi * kPiecesPerHalfTurn)));
  std::vector<Point> line{{x1, y1}};
  for (int k = 1; k < pieces; ++k) {
    Point p{};
    ArcPointAt(arc, static_cast<double>(k) / pieces, p.x, p.y);
    line.push_back(p);
  }
  line.push_back({x2, y2});
  return line;
}

double Orient(Point a, Point b, Point c) {
  return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
}

bool Same(Point a, Point b) { return a.x == b.x && a.y == b.y; }

// Where the polylines cross (a sign change on both pieces), pieces sharing an end point apart.
bool Cross(const std::vector<Point>& u, const std::vector<Point>& v, Point& at) {
  for (std::size_t i = 0; i + 1 < u.size(); ++i) {
    const Point a = u[i], b = u[i + 1];
    for (std::size_t j = 0; j + 1 < v.size(); ++j) {
      const Point c = v[j], d = v[j + 1];
      if (Same(a, c) || Same(a, d) || Same(b, c) || Same(b, d)) continue;
      const double o1 = Orient(a, b, c), o2 = Orient(a, b, d);
      const double o3 = Orient(c, d, a), o4 = Orient(c, d, b);
      if ((o1 > 0) == (o2 > 0) || (o3 > 0) == (o4 > 0)) continue;
      if (o1 == 0 || o2 == 0 || o3 == 0 || o4 == 0) continue;
      const double t = o3 / (o3 - o4);
      at = {a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)};
      return true;
    }
  }
  return false;
}

// Distance from (px, py) to the arc, for a point whose polar angle lies within the arc's sweep;
// a negative value when it lies outside (the arc's nearest point is then an end node, which the
// node spacing has judged).
double ArcDistance(const Arc& arc, double px, double py) {
  return ArcFacesPoint(arc, px, py) ? DistanceToArc(arc, px, py) : -1;
}

// The bulge of arc edge e: finite, at most a half turn, and standing off its chord.
std::string BulgeProblem(const TObjCont& job, int e, double clearance) {
  const double bulge = job.EdgeBulge(e);
  const std::string edge = "Edge " + std::to_string(e);
  if (!std::isfinite(bulge)) return edge + " is an arc whose bulge is not a finite number.";
  if (std::fabs(bulge) > kMaxBulge) {
    return edge + " is an arc of more than a half turn (bulge " + Num(bulge) +
           "): an arc edge may turn at most half way round (bulge between -1 and 1); draw a "
           "longer arc as two edges.";
  }
  const int b = job.EdgeBegin(e), f = job.EdgeEnd(e);
  const double chord = std::hypot(job.NodeX(f) - job.NodeX(b), job.NodeY(f) - job.NodeY(b));
  const double sagitta = ArcSagitta(chord, bulge);
  if (sagitta < clearance) {
    return edge + " is an arc too flat to tell from its chord: it stands only " + Num(sagitta) +
           " off it, less than the clearance " + Num(clearance) +
           "; make it straight or give it a larger bulge.";
  }
  return {};
}

// Where arc edge e runs, its bulge sound: clear of the other nodes, crossing no edge.
std::string PlacementProblem(const TObjCont& job, int e, double clearance) {
  const int b = job.EdgeBegin(e), f = job.EdgeEnd(e);
  const Arc arc =
      ArcThrough(job.NodeX(b), job.NodeY(b), job.NodeX(f), job.NodeY(f), job.EdgeBulge(e));
  for (int n = 0; n < job.NodeCount(); ++n) {
    if (n == b || n == f) continue;
    const double distance = ArcDistance(arc, job.NodeX(n), job.NodeY(n));
    if (distance >= 0 && distance < clearance) {
      return "Node " + std::to_string(n) + " is only " + Num(distance) + " from edge " +
             std::to_string(e) + ", an arc: a node must be at least " + Num(clearance) +
             " from every edge that does not end at it.";
    }
  }
  const std::vector<Point> line = Polyline(job, e);
  const double reach = arc.radius + clearance;
  for (int g = 0; g < job.EdgeCount(); ++g) {
    if (g == e) continue;
    const double gx1 = job.NodeX(job.EdgeBegin(g)), gy1 = job.NodeY(job.EdgeBegin(g));
    const double gx2 = job.NodeX(job.EdgeEnd(g)), gy2 = job.NodeY(job.EdgeEnd(g));
    // An arc's own circle bounds it; a straight edge wholly beside the circle's box is clear.
    if (job.EdgeBulge(g) == 0.0 &&
        (std::max(gx1, gx2) < arc.cx - reach || std::min(gx1, gx2) > arc.cx + reach ||
         std::max(gy1, gy2) < arc.cy - reach || std::min(gy1, gy2) > arc.cy + reach))
      continue;
    Point at{};
    if (Cross(line, Polyline(job, g), at)) {
      return "Edge " + std::to_string(e) + ", an arc, crosses edge " + std::to_string(g) + " at (" +
             Num(at.x) + ", " + Num(at.y) + ").";
    }
  }
  return {};
}

}  // namespace

std::string CheckArcs(const TObjCont& job, double clearance) {
  for (int e = 0; e < job.EdgeCount(); ++e) {
    if (job.EdgeBulge(e) == 0.0) continue;
    std::string problem = BulgeProblem(job, e, clearance);
    if (!problem.empty()) return problem;
  }
  // Bulges are sound: now where the arcs run.
  for (int e = 0; e < job.EdgeCount(); ++e) {
    if (job.EdgeBulge(e) == 0.0) continue;
    std::string problem = PlacementProblem(job, e, clearance);
    if (!problem.empty()) return problem;
  }
  return {};
}

std::string CheckArc(const TObjCont& job, int e, double clearance) {
  if (job.EdgeBulge(e) == 0.0) return {};
  std::string problem = BulgeProblem(job, e, clearance);
  return problem.empty() ? PlacementProblem(job, e, clearance) : problem;
}

}  // namespace tavrin

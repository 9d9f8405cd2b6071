// Loop nesting. Crossings: every segment pair of a loop (neighbours excepted) and of two loops
// whose bounding boxes overlap, by the signs of four orientation products; touching counts, as
// the job model allows loops to meet nowhere. Nesting: once nothing crosses, one corner of a
// loop tells whether another holds it (even-odd ray test), and its parent is the smallest loop
// that holds it.
#include "importer/LoopNesting.h"

#include <algorithm>
#include <cmath>

namespace tavrin::dxf {

namespace {

struct Box {
  double x0, y0, x1, y1;
  bool Overlaps(const Box& o) const { return x0 <= o.x1 && o.x0 <= x1 && y0 <= o.y1 && o.y0 <= y1; }
};

Box BoxOf(XY a, XY b) {
  return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

Box BoxOf(const std::vector<XY>& points) {
  Box box{points[0].x, points[0].y, points[0].x, points[0].y};
  for (const XY& p : points) {
    box.x0 = std::min(box.x0, p.x), box.y0 = std::min(box.y0, p.y);
    box.x1 = std::max(box.x1, p.x), box.y1 = std::max(box.y1, p.y);
  }
  return box;
}

double Orientation(XY a, XY b, XY c) {
  return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
}

int Sign(double v) { return (v > 0.0) - (v < 0.0); }

bool SegmentsMeet(XY a, XY b, XY c, XY d) {
  if (!BoxOf(a, b).Overlaps(BoxOf(c, d))) return false;
  const int o1 = Sign(Orientation(a, b, c)), o2 = Sign(Orientation(a, b, d));
  const int o3 = Sign(Orientation(c, d, a)), o4 = Sign(Orientation(c, d, b));
  if (o1 == 0 && o2 == 0) return true;  // collinear, and the boxes overlap
  return o1 * o2 <= 0 && o3 * o4 <= 0;
}

// Where a segment of loop p meets one of loop q (p itself when `same`), if any does.
bool FindMeeting(const std::vector<XY>& p, const std::vector<XY>& q, bool same, XY& where) {
  const std::size_t n = p.size(), m = q.size();
  for (std::size_t i = 0; i < n; ++i) {
    const XY a = p[i], b = p[(i + 1) % n];
    for (std::size_t j = same ? i + 1 : 0; j < m; ++j) {
      // Neighbouring segments of one loop share a corner by construction.
      if (same && (j == i + 1 || (i == 0 && j == n - 1))) continue;
      const XY c = q[j], d = q[(j + 1) % m];
      if (SegmentsMeet(a, b, c, d)) {
        const double oa = Orientation(c, d, a), ob = Orientation(c, d, b);
        where = oa == ob
                    ? c
                    : XY{a.x + (b.x - a.x) * oa / (oa - ob), a.y + (b.y - a.y) * oa / (oa - ob)};
        return true;
      }
    }
  }
  return false;
}

bool Holds(const std::vector<XY>& loop, XY p) {
  bool inside = false;
  for (std::size_t i = 0, j = loop.size() - 1; i < loop.size(); j = i++) {
    const XY a = loop[i], b = loop[j];
    if ((a.y > p.y) != (b.y > p.y) && p.x < a.x + (p.y - a.y) * (b.x - a.x) / (b.y - a.y))
      inside = !inside;
  }
  return inside;
}

// Signed area by the shoelace sum: positive for a counter-clockwise loop.
double SignedArea(const std::vector<XY>& points) {
  double twice = 0.0;
  for (std::size_t i = 0, j = points.size() - 1; i < points.size(); j = i++)
    twice += points[j].x * points[i].y - points[i].x * points[j].y;
  return twice / 2.0;
}

}  // namespace

Nesting NestLoops(const std::vector<Loop>& loops) {
  Nesting result;
  const std::size_t n = loops.size();
  if (n == 0) {
    result.refusal = "The selection holds no closed loop, so there is no plate outline.";
    return result;
  }
  std::vector<double> area(n);
  std::vector<Box> box;
  for (std::size_t i = 0; i < n; ++i) {
    area[i] = std::fabs(SignedArea(loops[i].points));
    if (loops[i].points.size() < 3 || !(area[i] > 0.0)) {
      result.refusal = "The loop of " + loops[i].name + " encloses no area.";
      return result;
    }
    box.push_back(BoxOf(loops[i].points));
  }
  XY where;
  for (std::size_t i = 0; i < n; ++i) {
    if (FindMeeting(loops[i].points, loops[i].points, true, where)) {
      result.refusal =
          "The loop of " + loops[i].name + " crosses itself near " + PointText(where) + ".";
      return result;
    }
    for (std::size_t j = i + 1; j < n; ++j)
      if (box[i].Overlaps(box[j]) && FindMeeting(loops[i].points, loops[j].points, false, where)) {
        result.refusal = "Crossing loops: the loop of " + loops[i].name + " and the loop of " +
                         loops[j].name + " cross or touch near " + PointText(where) +
                         "; loops of a plate must not meet.";
        return result;
      }
  }

  std::vector<int> parent(n, -1), depth(n, 0);
  for (std::size_t i = 0; i < n; ++i)
    for (std::size_t j = 0; j < n; ++j)
      if (j != i && Holds(loops[j].points, loops[i].points[0])) {
        ++depth[i];
        if (parent[i] < 0 || area[j] < area[static_cast<std::size_t>(parent[i])])
          parent[i] = static_cast<int>(j);
      }
  for (std::size_t i = 0; i < n; ++i) {
    if (depth[i] == 0) {
      if (result.outline >= 0) {
        result.refusal = "The selection holds more than one plate: the loop of " +
                         loops[static_cast<std::size_t>(result.outline)].name +
                         " and the loop of " + loops[i].name +
                         " lie outside each other, and a job has one outline. Choose the "
                         "layers of one plate.";
        return result;
      }
      result.outline = static_cast<int>(i);
    } else if (depth[i] >= 2) {
      result.refusal = "The loop of " + loops[i].name + " lies inside the hole made by " +
                       loops[static_cast<std::size_t>(parent[i])].name +
                       "; a plate has no islands inside its holes. Leave its layer out or make "
                       "it a job of its own.";
      return result;
    } else {
      result.holes.push_back(static_cast<int>(i));
    }
  }
  return result;
}

}  // namespace tavrin::dxf

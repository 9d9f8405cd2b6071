// Joining pieces into loops. The ends of the open pieces are sorted by x and each is merged
// with the later ends within the tolerance (a union-find over the ends): O(n log n) plus the
// pairs that close in x. Every merged point must then hold exactly two ends, so each chain of
// pieces is a cycle, walked piece to piece.
#include "importer/LoopAssembly.h"

#include "importer/ArcEdges.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <numeric>

namespace tavrin::dxf {

namespace {

double Distance(XY a, XY b) { return std::hypot(a.x - b.x, a.y - b.y); }

double Distance(const Vertex& a, const Vertex& b) { return Distance(XY{a.x, a.y}, XY{b.x, b.y}); }

std::vector<Vertex> WithoutRepeats(const std::vector<Vertex>& corners, bool closed,
                                   double tolerance) {
  std::vector<Vertex> out;
  for (const Vertex& p : corners) {
    if (out.empty() || Distance(out.back(), p) > tolerance)
      out.push_back(p);
    else
      out.back().bulge = p.bulge;  // the segment to p has no length; the one after p stays
  }
  if (closed)
    while (out.size() > 1 && Distance(out.front(), out.back()) <= tolerance) out.pop_back();
  return out;
}

int Find(std::vector<int>& parent, int i) {
  while (parent[static_cast<std::size_t>(i)] != i) {
    parent[static_cast<std::size_t>(i)] =
        parent[static_cast<std::size_t>(parent[static_cast<std::size_t>(i)])];
    i = parent[static_cast<std::size_t>(i)];
  }
  return i;
}

// "a chain of 3 LINE and 1 ARC on layer A": what a walk joined, for messages.
std::string ChainName(const std::vector<const Piece*>& pieces) {
  std::map<std::string, int> types;
  std::vector<std::string> layers;
  for (const Piece* p : pieces) {
    ++types[p->type];
    if (std::find(layers.begin(), layers.end(), p->layer) == layers.end())
      layers.push_back(p->layer);
  }
  std::string name = "a chain of";
  bool first = true;
  for (const auto& [type, count] : types) {
    name += (first ? " " : " and ") + std::to_string(count) + " " + type;
    first = false;
  }
  name += layers.size() == 1 ? " on layer " : " on layers ";
  for (std::size_t i = 0; i < layers.size(); ++i) name += (i ? ", " : "") + layers[i];
  return name;
}

}  // namespace

std::string PointText(XY p) {
  char text[64];
  std::snprintf(text, sizeof text, "(%.10g, %.10g)", p.x, p.y);
  return text;
}

LoopAssembly AssembleLoops(const std::vector<Piece>& pieces, double tolerance) {
  LoopAssembly result;
  std::vector<const Piece*> open;
  std::vector<std::vector<Vertex>> openPoints;
  for (const Piece& piece : pieces) {
    std::vector<Vertex> points = WithoutRepeats(piece.corners, piece.closed, tolerance);
    if (piece.closed) {
      if (points.empty()) continue;
      const std::string name = "the " + piece.type + " on layer " + piece.layer + " through " +
                               PointText({points[0].x, points[0].y});
      result.loops.push_back({std::move(points), {}, name});
    } else if (points.size() >= 2) {  // a piece of no length joins nothing
      open.push_back(&piece);
      openPoints.push_back(std::move(points));
    }
  }

  // End 2p is the start of open piece p, end 2p + 1 its end.
  const int ends = static_cast<int>(open.size()) * 2;
  const auto endPoint = [&](int e) {
    const std::vector<Vertex>& p = openPoints[static_cast<std::size_t>(e / 2)];
    const Vertex& v = e % 2 == 0 ? p.front() : p.back();
    return XY{v.x, v.y};
  };
  std::vector<int> byX(static_cast<std::size_t>(ends));
  std::iota(byX.begin(), byX.end(), 0);
  std::sort(byX.begin(), byX.end(), [&](int a, int b) { return endPoint(a).x < endPoint(b).x; });
  std::vector<int> parent(static_cast<std::size_t>(ends));
  std::iota(parent.begin(), parent.end(), 0);
  for (std::size_t i = 0; i < byX.size(); ++i) {
    const XY a = endPoint(byX[i]);
    for (std::size_t j = i + 1; j < byX.size() && endPoint(byX[j]).x - a.x <= tolerance; ++j)
      if (Distance(a, endPoint(byX[j])) <= tolerance) {
        const int ra = Find(parent, byX[i]), rb = Find(parent, byX[j]);
        parent[static_cast<std::size_t>(std::max(ra, rb))] = std::min(ra, rb);
      }
  }
  // The ends at each merged point; its lowest end stands for the point.
  std::map<int, std::vector<int>> at;
  for (int e = 0; e < ends; ++e) at[Find(parent, e)].push_back(e);
  const auto other = [&](int e) {  // the other end meeting at e's point
    const std::vector<int>& here = at[Find(parent, e)];
    return here[0] == e ? here[1] : here[0];
  };

  // An open chain: walk from a lone end through the points where two ends meet.
  for (const auto& [root, here] : at) {
    if (here.size() != 1) continue;
    std::vector<const Piece*> chain;
    int e = here[0];
    while (true) {
      chain.push_back(open[static_cast<std::size_t>(e / 2)]);
      const int far = e ^ 1;
      if (at[Find(parent, far)].size() != 2) {
        result.refusal = "The drawing has an open chain: " + ChainName(chain) + " runs from " +
                         PointText(endPoint(here[0])) + " to " + PointText(endPoint(far)) +
                         ", and only closed loops make a plate.";
        return result;
      }
      e = other(far);
    }
  }
  for (const auto& [root, here] : at) {
    if (here.size() <= 2) continue;
    std::vector<const Piece*> meeting;
    for (int e : here) meeting.push_back(open[static_cast<std::size_t>(e / 2)]);
    std::string pieces = ChainName(meeting).substr(std::string("a chain of ").size());
    result.refusal = std::to_string(here.size()) + " ends of pieces (" + pieces + ") meet at " +
                     PointText(endPoint(root)) +
                     ": a loop must pass each point once, so the loops there cannot be told apart.";
    return result;
  }

  std::vector<bool> used(open.size(), false);
  for (std::size_t start = 0; start < open.size(); ++start) {
    if (used[start]) continue;
    Loop loop;
    std::vector<const Piece*> chain;
    int e = static_cast<int>(start) * 2;  // entering piece `start` at its start
    while (!used[static_cast<std::size_t>(e / 2)]) {
      const std::size_t p = static_cast<std::size_t>(e / 2);
      used[p] = true;
      chain.push_back(open[p]);
      std::vector<Vertex> points = openPoints[p];
      if (e % 2 == 1) points = Reversed(points, false);
      // Joins take the point that stands for them, so neighbours share exact coordinates.
      const XY join = endPoint(Find(parent, e));
      loop.corners.push_back({join.x, join.y, points.front().bulge});
      loop.corners.insert(loop.corners.end(), points.begin() + 1, points.end() - 1);
      e = other(e ^ 1);
    }
    loop.corners = WithoutRepeats(loop.corners, true, tolerance);
    loop.name = ChainName(chain) + " through " + PointText({loop.corners[0].x, loop.corners[0].y});
    result.loops.push_back(std::move(loop));
  }
  return result;
}

}  // namespace tavrin::dxf

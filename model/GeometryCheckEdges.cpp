// The clearances of the geometry check between nodes and edges: no node within the clearance of
// an edge it does not end, no two edges crossing. The edges go into a SegmentGrid near their
// mean length, where a node meets the edges near it and edges meet those sharing a cell: about
// linear in the edges.
#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "model/GeometryChecker.h"
#include "model/SegmentGrid.h"
#include "model/TObjCont.h"

namespace tavrin::geometry_check {

namespace {

double SegmentDistance(double px, double py, double ax, double ay, double bx, double by) {
  const double dx = bx - ax, dy = by - ay;
  const double length2 = dx * dx + dy * dy;
  double t = length2 > 0 ? ((px - ax) * dx + (py - ay) * dy) / length2 : 0.0;
  t = std::clamp(t, 0.0, 1.0);
  return std::hypot(px - (ax + t * dx), py - (ay + t * dy));
}

}  // namespace

void Checker::BuildGrid() {
  double total = 0;
  for (int e = 0; e < job_.EdgeCount(); ++e) {
    total += std::hypot(X(End(e)) - X(Begin(e)), Y(End(e)) - Y(Begin(e)));
  }
  // Near the mean edge length, each edge touches a few cells; never so small that the margin
  // around an edge dominates.
  const double cell = std::max(4 * clearance_, total / std::max(1, job_.EdgeCount()));
  grid_ = std::make_unique<SegmentGrid>(cell, clearance_);
  for (int e = 0; e < job_.EdgeCount(); ++e) {
    const int a = Begin(e), b = End(e);
    grid_->Add(e, X(a), Y(a), X(b), Y(b));
  }
}

double Checker::NodeEdgeDistance(int node, int edge) const {
  const int a = Begin(edge), b = End(edge);
  return SegmentDistance(X(node), Y(node), X(a), Y(a), X(b), Y(b));
}

std::string Checker::NodesOffEdges() {
  for (int n = 0; n < job_.NodeCount(); ++n) {
    int edge = -1;
    double edgeDistance = 0;
    for (int e : grid_->Near(X(n), Y(n))) {
      if (Ends(e, n)) continue;
      const double distance = NodeEdgeDistance(n, e);
      if (distance < clearance_ && (edge == -1 || e < edge)) {
        edge = e;
        edgeDistance = distance;
      }
    }
    if (edge == -1) continue;
    // An edge of n running along `edge` is an overlap, not just a node too close.
    for (int f : nodeEdges_[static_cast<std::size_t>(n)]) {
      if (f == -1) continue;
      const int m = Other(f, n);
      const int b = Begin(edge), c = End(edge);
      const bool along = (!Ends(edge, m) && NodeEdgeDistance(m, edge) < clearance_) ||
                         (b != m && NodeEdgeDistance(b, f) < clearance_) ||
                         (c != m && NodeEdgeDistance(c, f) < clearance_);
      if (along) {
        return "Edges " + std::to_string(std::min(f, edge)) + " and " +
               std::to_string(std::max(f, edge)) + " overlap near " + At(X(n), Y(n)) + ".";
      }
    }
    const std::string node = "Node " + std::to_string(n);
    if (edgeDistance == 0)
      return node + " lies on edge " + std::to_string(edge) + ", at " + At(X(n), Y(n)) + ".";
    return node + " is only " + Num(edgeDistance) + " from edge " + std::to_string(edge) + ", at " +
           At(X(n), Y(n)) + ": a node must be at least " + Num(clearance_) +
           " from every edge that does not end at it" + ClearanceReason() + ".";
  }
  return {};
}

std::string Checker::Crossings() {
  std::pair<int, int> first{-1, -1};
  double crossX = 0, crossY = 0;
  grid_->ForEachCell([&](const std::vector<int>& ids) {
    for (std::size_t i = 0; i < ids.size(); ++i) {
      for (std::size_t j = i + 1; j < ids.size(); ++j) {
        const int e = std::min(ids[i], ids[j]), f = std::max(ids[i], ids[j]);
        if (first.first != -1 && std::make_pair(e, f) >= first) continue;
        const int a = Begin(e), b = End(e), c = Begin(f), d = End(f);
        if (a == c || a == d || b == c || b == d) continue;  // meet at their common node
        const double o1 = Orient(X(a), Y(a), X(b), Y(b), X(c), Y(c));
        const double o2 = Orient(X(a), Y(a), X(b), Y(b), X(d), Y(d));
        const double o3 = Orient(X(c), Y(c), X(d), Y(d), X(a), Y(a));
        const double o4 = Orient(X(c), Y(c), X(d), Y(d), X(b), Y(b));
        // Touching (a zero) was refused as a node on an edge; only a sign change is left.
        if ((o1 > 0) == (o2 > 0) || (o3 > 0) == (o4 > 0)) continue;
        const double t = o3 / (o3 - o4);
        first = {e, f};
        crossX = X(a) + t * (X(b) - X(a));
        crossY = Y(a) + t * (Y(b) - Y(a));
      }
    }
  });
  if (first.first == -1) return {};
  return "Edges " + std::to_string(first.first) + " and " + std::to_string(first.second) +
         " cross at " + At(crossX, crossY) + ".";
}

}  // namespace tavrin::geometry_check

// The checks run from the cheapest and most basic to the costliest, each assuming the ones
// before it passed: loops before coordinates are compared, coordinates bounded before they are
// multiplied, nodes apart before edges are tested for crossing, edges apart before a ray may
// decide what lies inside what. Node spacing is a sweep in x keeping the nodes of the last
// clearance ordered by y, so each node meets only its few neighbours; edges go into a
// SegmentGrid, where nodes meet the edges near them, edges meet the edges sharing a cell, and a
// ray meets the edges of its row.
#include "model/GeometryCheck.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <memory>
#include <numeric>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "model/ArcCheck.h"
#include "model/ConstraintCode.h"
#include "model/NumberFormat.h"
#include "model/SegmentGrid.h"
#include "model/TObjCont.h"

namespace tavrin {

namespace {

const char* const kFreedom[3] = {"lin. Z", "rot. X", "rot. Y"};
// Unsigned area, relative to the squared extent, at which a polygon counts as a line: rounding
// noise of the cross products, far below any drawable sliver.
constexpr double kFlat = 1e-12;

std::string Num(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", v);
  return text;
}

// An offending value in full: rounded, 1.0000001e30 would read as the limit it exceeds.
std::string Exact(double v) { return ShortestNumber(v); }

std::string At(double x, double y) {
  char text[72];
  std::snprintf(text, sizeof text, "(%g, %g)", x, y);
  return text;
}

// "edge 4", "edges 4 and 5", "edges 4, 5 and 6", "edges 4, 5, 6, ... (12 edges)".
std::string EdgeList(const std::vector<int>& edges) {
  if (edges.size() == 1) return "edge " + std::to_string(edges[0]);
  std::string s = "edges ";
  const std::size_t shown = std::min<std::size_t>(edges.size(), 4);
  for (std::size_t k = 0; k < shown; ++k) {
    if (k > 0) s += (k + 1 == edges.size()) ? " and " : ", ";
    s += std::to_string(edges[k]);
  }
  if (shown < edges.size()) s += ", ... (" + std::to_string(edges.size()) + " edges)";
  return s;
}

// Twice the signed area of triangle a, b, c; positive when c lies left of a->b.
double Orient(double ax, double ay, double bx, double by, double cx, double cy) {
  return (bx - ax) * (cy - ay) - (by - ay) * (cx - ax);
}

double SegmentDistance(double px, double py, double ax, double ay, double bx, double by) {
  const double dx = bx - ax, dy = by - ay;
  const double length2 = dx * dx + dy * dy;
  double t = length2 > 0 ? ((px - ax) * dx + (py - ay) * dy) / length2 : 0.0;
  t = std::clamp(t, 0.0, 1.0);
  return std::hypot(px - (ax + t * dx), py - (ay + t * dy));
}

class Checker {
 public:
  // Coordinates and edge ends are copied once: the rays and the grid read them many times.
  explicit Checker(const TObjCont& job) : job_(job) {
    for (int i = 0; i < job.NodeCount(); ++i) {
      x_.push_back(job.NodeX(i));
      y_.push_back(job.NodeY(i));
    }
    for (int e = 0; e < job.EdgeCount(); ++e) ends_.push_back({job.EdgeBegin(e), job.EdgeEnd(e)});
  }

  std::string Run() {
    std::string problem = Loops();
    if (problem.empty()) problem = Magnitudes();
    if (problem.empty()) problem = Physics();
    if (problem.empty()) problem = Extent();
    if (problem.empty()) problem = Areas();
    if (problem.empty()) problem = NodeSpacing();
    if (problem.empty()) problem = CheckArcs(job_, clearance_);
    if (problem.empty()) {
      BuildGrid();
      problem = NodesOffEdges();
    }
    if (problem.empty()) problem = Crossings();
    if (problem.empty()) problem = Containment();
    return problem;
  }

 private:
  double X(int node) const { return x_[static_cast<std::size_t>(node)]; }
  double Y(int node) const { return y_[static_cast<std::size_t>(node)]; }
  int Begin(int edge) const { return ends_[static_cast<std::size_t>(edge)][0]; }
  int End(int edge) const { return ends_[static_cast<std::size_t>(edge)][1]; }
  int Other(int edge, int node) const { return Begin(edge) == node ? End(edge) : Begin(edge); }
  // The outline is meshed whatever its flag says.
  bool IsHole(int polygon) const { return polygon > 0 && job_.IsHole(polygon); }
  bool Ends(int edge, int node) const { return Begin(edge) == node || End(edge) == node; }

  // Closed polygons as loops; the node sequence of each is kept for the area and the rays.
  std::string Loops() {
    const int polygons = job_.PolygonCount();
    if (polygons == 0)
      return "The job has no closed polygon: draw the plate's outline and close it.";
    const int open = job_.PolygonEdgeCount(polygons);
    if (open > 0) {
      std::vector<int> edges;
      for (int k = 0; k < open; ++k) edges.push_back(job_.PolygonEdge(polygons, k));
      return "The polygon being drawn (" + EdgeList(edges) +
             ") is not closed: close it on its first node before meshing.";
    }

    edgePolygon_.assign(static_cast<std::size_t>(job_.EdgeCount()), -1);
    nodePolygon_.assign(static_cast<std::size_t>(job_.NodeCount()), -1);
    nodeEdges_.assign(static_cast<std::size_t>(job_.NodeCount()), {-1, -1});
    loops_.assign(static_cast<std::size_t>(polygons), {});
    for (int p = 0; p < polygons; ++p) {
      for (int k = 0; k < job_.PolygonEdgeCount(p); ++k)
        edgePolygon_[static_cast<std::size_t>(job_.PolygonEdge(p, k))] = p;
    }
    for (int e = 0; e < job_.EdgeCount(); ++e) {
      if (edgePolygon_[static_cast<std::size_t>(e)] == -1)
        return "Edge " + std::to_string(e) + " belongs to no polygon.";
    }
    if (job_.PolygonEdgeCount(0) == 0) return "The plate's outline (polygon 0) has no edges.";

    for (int p = 0; p < polygons; ++p) {
      const int count = job_.PolygonEdgeCount(p);
      if (count == 0) continue;  // an empty polygon bounds nothing
      std::vector<int> edges;
      for (int k = 0; k < count; ++k) edges.push_back(job_.PolygonEdge(p, k));
      if (count < 3) {
        std::string s =
            "Polygon " + std::to_string(p) + " is not closed: it has only " + EdgeList(edges);
        if (count == 1) {
          s += ", from node " + std::to_string(Begin(edges[0])) + " to node " +
               std::to_string(End(edges[0]));
        }
        return s + "; a polygon needs at least three edges.";
      }
      for (int e : edges) {
        for (int n : {Begin(e), End(e)}) {
          const auto ni = static_cast<std::size_t>(n);
          if (nodePolygon_[ni] != -1 && nodePolygon_[ni] != p) {
            return "Polygons " + std::to_string(nodePolygon_[ni]) + " and " + std::to_string(p) +
                   " touch at node " + std::to_string(n) + ": polygons may not share a node.";
          }
          nodePolygon_[ni] = p;
          auto& at = nodeEdges_[ni];
          if (at[0] == -1) {
            at[0] = e;
          } else if (at[1] == -1) {
            at[1] = e;
          } else {
            return "Polygon " + std::to_string(p) + " passes through node " + std::to_string(n) +
                   " more than once: draw each loop as a polygon of its own.";
          }
        }
      }
      for (int e : edges) {
        for (int n : {Begin(e), End(e)}) {
          if (nodeEdges_[static_cast<std::size_t>(n)][1] == -1) {
            return "Polygon " + std::to_string(p) + " is not closed: only one of its edges (edge " +
                   std::to_string(e) + ") ends at node " + std::to_string(n) + ".";
          }
        }
      }
      // Every node is on two of the polygon's edges: walk the loop from the first edge.
      std::vector<int>& loop = loops_[static_cast<std::size_t>(p)];
      const int start = Begin(edges[0]);
      int node = start, edge = edges[0];
      do {
        loop.push_back(node);
        node = Other(edge, node);
        const auto& at = nodeEdges_[static_cast<std::size_t>(node)];
        edge = at[0] == edge ? at[1] : at[0];
      } while (node != start && static_cast<int>(loop.size()) <= count);
      if (static_cast<int>(loop.size()) != count) {
        std::vector<char> onLoop(static_cast<std::size_t>(job_.NodeCount()), 0);
        for (int n : loop) onLoop[static_cast<std::size_t>(n)] = 1;
        for (int e : edges) {
          if (!onLoop[static_cast<std::size_t>(Begin(e))]) {
            return "Polygon " + std::to_string(p) + " is more than one loop: edge " +
                   std::to_string(e) + " is not connected to edge " + std::to_string(edges[0]) +
                   " through the polygon's edges.";
          }
        }
      }
    }
    return {};
  }

  std::string Magnitudes() {
    for (int i = 0; i < job_.NodeCount(); ++i) {
      const double x = X(i), y = Y(i);
      if (!(std::fabs(x) <= kMaxCoordinate && std::fabs(y) <= kMaxCoordinate)) {
        return "Node " + std::to_string(i) + " lies at (" + Exact(x) + ", " + Exact(y) + ")" +
               ": coordinates must be finite and at most " + Num(kMaxCoordinate) + " in magnitude.";
      }
    }
    std::array<double, 6> values{};
    int code = 0;
    for (int pass = 0; pass < 2; ++pass) {
      const bool node = pass == 0;
      const int count = node ? job_.NodeCount() : job_.EdgeCount();
      for (int i = 0; i < count; ++i) {
        if (node)
          job_.GetNodeAttributes(i, values, code);
        else
          job_.GetEdgeAttributes(i, values, code);
        const ConstrainedFreedoms fixed = DecodeConstraintCode(code);
        for (int d = 0; d < 6; ++d) {
          const bool displacement = d < 3;
          if (displacement && !fixed[static_cast<std::size_t>(d)])
            continue;  // not prescribed: never read
          const double v = values[static_cast<std::size_t>(d)];
          if (std::fabs(v) <= kMaxPhysicalValue) continue;
          return std::string(node ? "Node " : "Edge ") + std::to_string(i) + " has a " +
                 (displacement ? "prescribed displacement" : "load") + " (" + kFreedom[d % 3] +
                 ") of " + Exact(v) +
                 ": loads, displacements and pressures must be finite and at most " +
                 Num(kMaxPhysicalValue) + " in magnitude.";
        }
      }
    }
    return {};
  }

  std::string Physics() {
    for (int p = 0; p < job_.PolygonCount(); ++p) {
      if (job_.PolygonEdgeCount(p) == 0 || IsHole(p)) continue;
      const PolygonPhysics ph = job_.Physics(p);
      const std::string polygon = "Polygon " + std::to_string(p) + " has ";
      if (!(std::fabs(ph.pressure) <= kMaxPhysicalValue)) {
        return polygon + "a pressure of " + Exact(ph.pressure) +
               ": it must be finite and at most " + Num(kMaxPhysicalValue) + " in magnitude.";
      }
      if (!(ph.eModulus > 0 && ph.eModulus <= kMaxPhysicalValue)) {
        return polygon + "an E modulus of " + Exact(ph.eModulus) +
               ": it must be positive and at most " + Num(kMaxPhysicalValue) + ".";
      }
      if (!(ph.thickness > 0 && ph.thickness <= kMaxThickness)) {
        return polygon + "a thickness of " + Exact(ph.thickness) +
               ": it must be positive and at most " + Num(kMaxThickness) + ".";
      }
      if (!(ph.nu > -1 && ph.nu < 1)) {
        return polygon + "a Poisson ratio of " + Exact(ph.nu) +
               ": it must lie strictly between -1 and 1.";
      }
    }
    return {};
  }

  std::string Extent() {
    double largest = 0;
    for (int i = 0; i < job_.NodeCount(); ++i)
      largest = std::max({largest, std::fabs(X(i)), std::fabs(Y(i))});
    const std::vector<int>& outline = loops_[0];
    double xmin = X(outline[0]), xmax = xmin, ymin = Y(outline[0]), ymax = ymin;
    for (int n : outline) {
      xmin = std::min(xmin, X(n));
      xmax = std::max(xmax, X(n));
      ymin = std::min(ymin, Y(n));
      ymax = std::max(ymax, Y(n));
    }
    const double extent = std::max(xmax - xmin, ymax - ymin);
    if (extent < kMinRelativeExtent * largest) {
      return "The plate spans only " + Num(extent) + " at coordinates up to " + Num(largest) +
             ": it must span at least " + Num(kMinRelativeExtent) +
             " of its largest coordinate; move it nearer the origin or draw it in smaller units.";
    }
    // The triangulation's side tests compare products of coordinates: a feature this much
    // smaller than the plate reads as rounding noise there, and the plate meshed to nothing.
    extent_ = extent;
    clearance_ = std::max(kMinNodeDistance, kMinRelativeSpacing * extent);
    return {};
  }

  // Names the plate's span when it, not the absolute spacing, set the clearance.
  std::string ClearanceReason() const {
    if (clearance_ == kMinNodeDistance) return {};
    return " in a plate spanning " + Num(extent_) + " (" + Num(kMinRelativeSpacing) +
           " of its span)";
  }

  // Unsigned: a loop that crosses itself can have no signed area and still be a drawing to fix
  // at the crossing, which a later check names.
  std::string Areas() {
    for (std::size_t p = 0; p < loops_.size(); ++p) {
      const std::vector<int>& loop = loops_[p];
      if (loop.empty()) continue;
      double fan = 0, xmin = X(loop[0]), xmax = xmin, ymin = Y(loop[0]), ymax = ymin;
      for (std::size_t k = 1; k < loop.size(); ++k) {
        xmin = std::min(xmin, X(loop[k]));
        xmax = std::max(xmax, X(loop[k]));
        ymin = std::min(ymin, Y(loop[k]));
        ymax = std::max(ymax, Y(loop[k]));
        if (k + 1 < loop.size()) {
          fan += std::fabs(Orient(X(loop[0]), Y(loop[0]), X(loop[k]), Y(loop[k]), X(loop[k + 1]),
                                  Y(loop[k + 1])));
        }
      }
      // Relative to the polygon's size: a tiny polygon is a matter of node spacing, named later.
      const double extent = std::max(xmax - xmin, ymax - ymin);
      if (fan <= kFlat * extent * extent) {
        return "Polygon " + std::to_string(p) + " encloses no area: its nodes lie on one line.";
      }
    }
    return {};
  }

  std::string NodeSpacing() {
    const int count = job_.NodeCount();
    std::vector<int> order(static_cast<std::size_t>(count));
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](int a, int b) {
      return std::make_tuple(X(a), Y(a), a) < std::make_tuple(X(b), Y(b), b);
    });
    std::set<std::pair<double, int>>
        window;  // by y: the nodes less than the spacing left of the sweep
    std::size_t oldest = 0;
    for (int n : order) {
      while (X(order[oldest]) <= X(n) - clearance_) {
        window.erase({Y(order[oldest]), order[oldest]});
        ++oldest;
      }
      for (auto it = window.lower_bound({Y(n) - clearance_, -1});
           it != window.end() && it->first < Y(n) + clearance_; ++it) {
        const int m = it->second;
        const double distance = std::hypot(X(n) - X(m), Y(n) - Y(m));
        if (distance >= clearance_) continue;
        const int a = std::min(n, m), b = std::max(n, m);
        const std::string pair = "Nodes " + std::to_string(a) + " and " + std::to_string(b);
        if (distance == 0) return pair + " are at the same place, " + At(X(a), Y(a)) + ".";
        return pair + " are only " + Num(distance) + " apart, at " + At(X(a), Y(a)) +
               ": nodes must be at least " + Num(clearance_) + " apart" + ClearanceReason() + ".";
      }
      window.insert({Y(n), n});
    }
    return {};
  }

  void BuildGrid() {
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

  double NodeEdgeDistance(int node, int edge) const {
    const int a = Begin(edge), b = End(edge);
    return SegmentDistance(X(node), Y(node), X(a), Y(a), X(b), Y(b));
  }

  std::string NodesOffEdges() {
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
      return node + " is only " + Num(edgeDistance) + " from edge " + std::to_string(edge) +
             ", at " + At(X(n), Y(n)) + ": a node must be at least " + Num(clearance_) +
             " from every edge that does not end at it" + ClearanceReason() + ".";
    }
    return {};
  }

  std::string Crossings() {
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

  // The polygons whose boundary a ray from (x, y) to the right crosses an odd number of times,
  // that is, the polygons the point lies inside; edges of polygon `skip` are not counted.
  std::vector<int> Enclosing(double x, double y, int skip) const {
    std::vector<int> odd;
    for (int e : grid_->InRow(y)) {
      const int p = edgePolygon_[static_cast<std::size_t>(e)];
      if (p == skip) continue;
      const int a = Begin(e), b = End(e);
      if ((Y(a) > y) == (Y(b) > y)) continue;
      if (X(a) + (y - Y(a)) * (X(b) - X(a)) / (Y(b) - Y(a)) <= x) continue;
      const auto it = std::find(odd.begin(), odd.end(), p);
      if (it == odd.end())
        odd.push_back(p);
      else
        odd.erase(it);
    }
    return odd;
  }

  // Empty when the point lies in the plate; else why not, after `what` ("Node 4, a free node").
  std::string Placement(const std::string& what, double x, double y, int skip) const {
    const std::vector<int> inside = Enclosing(x, y, skip);
    if (std::find(inside.begin(), inside.end(), 0) == inside.end()) {
      return what + " lies outside the plate's outline (polygon 0).";
    }
    for (int p : inside) {
      if (IsHole(p)) return what + " lies inside polygon " + std::to_string(p) + ", a hole.";
    }
    return {};
  }

  std::string Containment() {
    for (int p = 1; p < job_.PolygonCount(); ++p) {
      if (loops_[static_cast<std::size_t>(p)].empty()) continue;
      const int n = loops_[static_cast<std::size_t>(p)][0];
      std::string problem = Placement("Polygon " + std::to_string(p), X(n), Y(n), p);
      if (!problem.empty()) return problem;
    }
    for (int n = 0; n < job_.NodeCount(); ++n) {
      if (!job_.IsFreeNode(n)) continue;
      std::string problem =
          Placement("Node " + std::to_string(n) + ", a free node,", X(n), Y(n), -1);
      if (!problem.empty()) return problem;
    }
    return {};
  }

  const TObjCont& job_;
  std::vector<double> x_, y_;
  std::vector<std::array<int, 2>> ends_;
  std::vector<int> edgePolygon_;               // closed polygon of each edge
  std::vector<int> nodePolygon_;               // closed polygon of each node, -1 for a free node
  std::vector<std::array<int, 2>> nodeEdges_;  // the two polygon edges at each node
  std::vector<std::vector<int>> loops_;        // node sequence of each closed polygon's loop
  std::unique_ptr<SegmentGrid> grid_;
  double extent_ = 0;                    // the outline's larger side, set by Extent()
  double clearance_ = kMinNodeDistance;  // least node-node and node-edge distance
};

}  // namespace

GeometryCheckResult CheckGeometry(const TObjCont& job) {
  std::string problem = Checker(job).Run();
  if (problem.empty()) return {};
  return {false, std::move(problem)};
}

}  // namespace tavrin

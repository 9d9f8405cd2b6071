// The steps of the geometry check (CheckGeometry, GeometryCheck.h), as one object over a copy of
// the job's coordinates and edge ends: each step returns "" or the one sentence naming the first
// problem it finds, and assumes the steps before it passed. Run() keeps the order. By file:
//   GeometryCheck.cpp             the order of the steps and the texts their messages share
//   GeometryCheckLoops.cpp        closed polygons as single loops
//   GeometryCheckValues.cpp       bounds of coordinates, loads, pressures and physics
//   GeometryCheckSpacing.cpp      the plate's extent (and so the clearance), areas, node spacing
//   GeometryCheckEdges.cpp        nodes off edges and crossing edges, through a SegmentGrid
//   GeometryCheckContainment.cpp  what lies inside the outline and the holes, by rays
// Internal to the model library; the job is read, never changed, and must outlive the checker.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "model/GeometryCheck.h"

namespace tavrin {

class SegmentGrid;
class TObjCont;

namespace geometry_check {

// "%g" of v.
std::string Num(double v);
// An offending value in full.
std::string Exact(double v);
// "(x, y)" with "%g".
std::string At(double x, double y);
// "edge 4", "edges 4 and 5", "edges 4, 5 and 6", "edges 4, 5, 6, ... (12 edges)".
std::string EdgeList(const std::vector<int>& edges);

// Twice the signed area of triangle a, b, c; positive when c lies left of a->b.
inline double Orient(double ax, double ay, double bx, double by, double cx, double cy) {
  return (bx - ax) * (cy - ay) - (by - ay) * (cx - ax);
}

class Checker {
 public:
  // Coordinates and edge ends are copied once: the rays and the grid read them many times.
  explicit Checker(const TObjCont& job);
  ~Checker();

  // Every step in order; "" when the job passes.
  std::string Run();

 private:
  double X(int node) const { return x_[static_cast<std::size_t>(node)]; }
  double Y(int node) const { return y_[static_cast<std::size_t>(node)]; }
  int Begin(int edge) const { return ends_[static_cast<std::size_t>(edge)][0]; }
  int End(int edge) const { return ends_[static_cast<std::size_t>(edge)][1]; }
  int Other(int edge, int node) const { return Begin(edge) == node ? End(edge) : Begin(edge); }
  // The outline is meshed whatever its flag says.
  bool IsHole(int polygon) const;
  bool Ends(int edge, int node) const { return Begin(edge) == node || End(edge) == node; }

  // Closed polygons as loops; the node sequence of each is kept for the area and the rays.
  std::string Loops();
  std::string Magnitudes();
  std::string Physics();
  // Sets extent_ and clearance_.
  std::string Extent();
  // Names the plate's span when it, not the absolute spacing, set the clearance.
  std::string ClearanceReason() const;
  // Unsigned: a loop that crosses itself can have no signed area and still be a drawing to fix
  // at the crossing, which a later check names.
  // Prescribed values beyond what the solve carries next to the plate's own deflections
  // (DisplacementBound); needs extent_.
  std::string Displacements();
  std::string Areas();
  std::string NodeSpacing();
  // The edges into grid_, for the steps after it.
  void BuildGrid();
  double NodeEdgeDistance(int node, int edge) const;
  std::string NodesOffEdges();
  std::string Crossings();
  // The polygons whose boundary a ray from (x, y) to the right crosses an odd number of times,
  // that is, the polygons the point lies inside; edges of polygon `skip` are not counted.
  std::vector<int> Enclosing(double x, double y, int skip) const;
  // Empty when the point lies in the plate; else why not, after `what` ("Node 4, a free node").
  std::string Placement(const std::string& what, double x, double y, int skip) const;
  std::string Containment();

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

}  // namespace geometry_check
}  // namespace tavrin

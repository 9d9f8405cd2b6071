// The first step of the geometry check: the closed polygons as loops. Every node of a polygon
// on exactly two of its edges, the edges connected, no node shared between polygons; the node
// sequence of each loop is kept for the areas and the rays. Linear in the edges.
#include <string>
#include <vector>

#include "model/GeometryChecker.h"
#include "model/TObjCont.h"

namespace tavrin::geometry_check {

std::string Checker::Loops() {
  const int polygons = job_.PolygonCount();
  if (polygons == 0) return "The job has no closed polygon: draw the plate's outline and close it.";
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

}  // namespace tavrin::geometry_check

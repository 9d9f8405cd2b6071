// NodeGrid: answers "is some node strictly inside the square of half side d around p" without
// scanning the node table, with exactly the answer of the scan.
//
// Owns a dense grid over the bounding box of the nodes it has seen, with cells at least as wide
// as d (a node within the square then lies in p's cell or a neighbouring one), each cell the
// head of a list threaded through the nodes. Nodes are only appended and never move, so the
// grid brings itself up to date at each query. It is rebuilt when d changes, and with finer
// cells as the nodes multiply while the cells are still coarser than d (a grid of cells as
// wide as d over a large plate with few nodes would be mostly empty). Nodes outside the box or
// with coordinates that are not finite are kept in a list that every query scans.
//
// Memory: 4 bytes per node and per cell, at most about 4 cells per node plus 65536. A query
// looks at 9 cells.
#pragma once

#include <cstdint>
#include <vector>

#include "mesh/MeshGeometry.h"

namespace tavrin {

class TVertexes;

class NodeGrid {
 public:
  bool AnyWithin(const TVertexes& nodes, MeshPoint p, double d);

 private:
  void Rebuild(const TVertexes& nodes, double d);
  void Place(const TVertexes& nodes, int v);
  // The range of cell numbers of the cells within one cell of coordinate c along an axis with
  // cells from origin; empty (first > last) when the range misses the grid.
  void CellRange(double c, double origin, int cells, int& first, int& last) const;

  double distance_ = 0.0;  // the d the grid was built for
  double cell_ = 0.0;
  double x0_ = 0.0, y0_ = 0.0;  // lower left corner of cell (0, 0)
  int nx_ = 0, ny_ = 0;
  std::size_t budget_ = 0;  // the node count at which coarse cells are refined
  int placed_ = 0;          // nodes 0 .. placed_ - 1 are in the grid or off it
  std::vector<int> head_;   // by cell: first node, -1 when empty
  std::vector<int> next_;   // by node: next node of its cell, -1 at the end
  std::vector<int> offGrid_;
};

}  // namespace tavrin

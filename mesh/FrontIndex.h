// FrontIndex: a uniform grid over a mesh's nodes and over the edges the advancing front makes,
// for the front's two questions: which node sees an open edge under the largest angle, and
// whether a new side would cut through an edge already made. Both answers are those of the
// plain scans over all nodes and all edges (same node on ties), found by looking near the edge.
//
// Owns a copy of the node grid (each node in one cell, about one node per cell, so memory
// linear in the nodes) and a list of the edges meeting each cell (an edge is listed in every
// cell its segment passes through). Nodes are gridded once, by Build; the front adds no nodes.
// Edges are taken up lazily at each query from the edge table, which must only grow while the
// index is in use, with ends that never change (true of the front, not of the refinement).
//
// Costs: Build is linear in the nodes. A visibility test reads the edges listed in the cells
// along the tested side (and the rare edges flat within rounding, see FrontIndex.cpp); an apex
// search reads the nodes in cells meeting a lens over the edge that doubles in height until it
// holds the answer, so both cost about the number of entries near the edge, not the size of
// the mesh.
#pragma once

#include <utility>
#include <vector>

#include "mesh/MeshGeometry.h"

namespace tavrin {

class FEM;

// The open side of a front edge b-e: the strict half-plane beyond the line through b and e
// away from c, the third node of the edge's triangle (no tolerance; a node on the line is on
// neither side).
class FrontSide {
 public:
  FrontSide(MeshPoint b, MeshPoint e, MeshPoint c);
  bool Holds(MeshPoint v) const;
  // A unit normal of b-e pointing into the open side; (0, 0) when b and e coincide.
  MeshPoint Normal() const;

 private:
  double a_;  // the line a x + b y + c = 0
  double b_;
  double c_;
  bool wantNegative_;
};

class FrontIndex {
 public:
  // Grids the nodes. False when no grid can hold them (no node, or a coordinate, the extent or
  // the sum of the largest coordinate and the extent not finite); the index must then not be
  // asked.
  bool Build(const FEM& mesh);

  // True when some edge sharing no end with a-v crosses the segment a-v (SegmentsCross), as
  // the scan over all edges finds it; edges added to the table since the last query included.
  bool Blocked(const FEM& mesh, int a, int v);

  // The node of the open side that sees b-e under the largest angle: the smallest
  // ViewCosine(b, e, v) below 1.0 among the nodes with side.Holds(v) and accept(v), the lowest
  // index among equal cosines; -1 when there is none. accept is asked only of nodes that
  // would win if accepted, best first.
  template <typename Accept>
  int BestApex(MeshPoint b, MeshPoint e, const FrontSide& side, const Accept& accept);

 private:
  // A rectangle of cells, bounds included.
  struct CellRange {
    int col0 = 0;
    int col1 = -1;
    int row0 = 0;
    int row1 = -1;
    bool Contains(int col, int row) const {
      return col >= col0 && col <= col1 && row >= row0 && row <= row1;
    }
  };
  int Column(double x) const;  // clamped to the grid
  int Row(double y) const;
  CellRange Cells(double xmin, double xmax, double ymin, double ymax) const;
  bool Whole(const CellRange& r) const {
    return r.col0 == 0 && r.row0 == 0 && r.col1 == columns_ - 1 && r.row1 == rows_ - 1;
  }
  // The cells holding the part of the lens over b-e (on the side of the unit normal n) whose
  // points see b-e under an angle of at least the one seen from height h above its middle,
  // and that angle's cosine; the whole grid when the lens is not finite.
  CellRange LensCells(MeshPoint b, MeshPoint e, MeshPoint n, double h, double& cosine) const;
  // Calls visit(cell) for the cells met by the segment p-q widened by the slack, from p's end
  // towards q's, until visit returns true; whether it did.
  template <typename Visit>
  bool AlongSegment(MeshPoint p, MeshPoint q, const Visit& visit) const;
  void CatchUpEdges(const FEM& mesh);

  using Candidate = std::pair<double, int>;  // (cosine, node), the best at the front of heap_
  void Offer(MeshPoint b, MeshPoint e, const FrontSide& side, int col, int row);
  bool PopBelow(double bound, Candidate& best);

  double x0_ = 0.0;
  double y0_ = 0.0;
  double cell_ = 1.0;
  int columns_ = 0;
  int rows_ = 0;
  // Around a side, the width within which an edge might cross it by SegmentsCross's
  // arithmetic, far larger than the rounding of the coordinates; an edge or a side with an
  // extent in x or y below flat_ (but not zero) can cross by rounding much further away.
  double slack_ = 0.0;
  double flat_ = 0.0;
  bool Flat(MeshPoint p, MeshPoint q) const;
  // The nodes of cell k (row-major) are cellNodes_[cellStart_[k] .. cellStart_[k + 1]), with
  // their coordinates beside them in cellPoints_.
  std::vector<int> cellStart_;
  std::vector<int> cellNodes_;
  std::vector<MeshPoint> cellPoints_;
  std::vector<int> edgeHead_;  // per cell, the first entry of its edge list, or -1
  std::vector<int> entryEdge_;
  std::vector<int> entryNext_;
  std::vector<int> flatEdges_;  // listed in no cell
  int edgesListed_ = 0;
  std::vector<std::pair<int, int>> edgeEnds_;  // per listed edge
  std::vector<std::pair<MeshPoint, MeshPoint>> edgePoints_;
  std::vector<int> testedBy_;  // per edge, the last query that tested it
  int query_ = 0;
  std::vector<Candidate> heap_;
};

template <typename Accept>
int FrontIndex::BestApex(MeshPoint b, MeshPoint e, const FrontSide& side, const Accept& accept) {
  heap_.clear();
  const MeshPoint n = side.Normal();
  const double half = Length(b, e) / 2;
  // Start with a lens no taller than a cell (a long edge's apex is usually close to it) and
  // double its height: the cells read grow with the answer's distance, not the grid's size.
  // A very short edge starts a little flatter than a half disc, not at a vanishing height.
  double h = half < cell_ ? half : cell_;
  if (!(h > cell_ / 64)) h = cell_ / 64;
  CellRange done;
  for (;;) {
    double cosine = 1.0;
    const CellRange lens = LensCells(b, e, n, h, cosine);
    for (int row = lens.row0; row <= lens.row1; ++row) {
      for (int col = lens.col0; col <= lens.col1; ++col) {
        if (!done.Contains(col, row)) Offer(b, e, side, col, row);
      }
    }
    done = lens;
    // A node outside the lens sees b-e under a smaller angle, so with a cosine above the
    // lens's; the margin is far above the rounding of either cosine, so that a candidate below
    // the bound beats every node not read yet, ties included.
    const bool all = Whole(lens);
    const double bound = all ? 2.0 : cosine - 1e-9;
    Candidate best;
    while (PopBelow(bound, best)) {
      if (accept(best.second)) return best.second;
    }
    if (all) return -1;
    h *= 2;
  }
}

}  // namespace tavrin

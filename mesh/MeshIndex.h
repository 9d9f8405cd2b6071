// MeshIndex: search structures that answer the mesher's whole-table questions without scanning
// whole tables, giving exactly the answers of the plain scans (same index on ties).
//
// Owns copies of what it needs and nothing of the mesh itself:
// - a heap of (stored minAngle, index) over all triangles and one of (stored area, index) over
//   those at or above an area floor (over all once none is left there), brought up to date at
//   each question from TriangleStored, which the mesh calls whenever it makes or re-shapes one
//   (those above an angle ceiling enter the angle heap only once no triangle at or below it is
//   left);
// - a uniform grid over the nodes (NodeGrid: cells as wide as the too-close distance), brought
//   up to date lazily at each query: nodes are only appended and never move;
// - a hierarchical grid over the segments (each segment in one cell of a level at least as wide
//   as its diametral circle), brought up to date lazily for new edges; a segment whose end
//   nodes change must be passed to EdgeMayHaveMoved before the next query (the mesh does so
//   where it moves an end: in splits).
// Values that are not finite, or coordinates too large for a cell number, send the query back
// to the plain scan, so the answer never depends on the index.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <unordered_map>
#include <utility>
#include <vector>

#include "mesh/IndexedHeap.h"
#include "mesh/MeshGeometry.h"
#include "mesh/NodeGrid.h"

namespace tavrin {

class TVertexes;
class TEdges;

class MeshIndex {
 public:
  // Triangles: record the stored measures of triangle t (new or re-shaped). Inline: the mesh
  // calls it for every triangle it cuts or turns.
  void TriangleStored(int t, double minAngle, double area);
  // First triangle with the smallest stored minAngle / largest stored area; 0 when there is
  // none. Valid only when Exact() (no stored measure was NaN).
  int MinAngleIndex();
  int MaxAreaIndex();
  bool TrianglesExact() const { return !nanSeen_; }
  // Room for n triangles in all, so that storing measures up to n moves none.
  void Reserve(std::size_t n);
  // Triangles below this area stay out of the area heap until no triangle at or above it is
  // left (the heap is then filled with all of them once): the refinement asks for the largest
  // triangle at nearly every node while some are too large, and most triangles it makes are
  // not, so they would only be pushed and later popped as outdated. The answers do not change.
  // No floor at first; setting one refills the heap.
  void SetAreaFloor(double floor);
  // Likewise, triangles whose smallest angle is above this ceiling wait outside the angle heap
  // until none at or below it is left: while the refinement has bad triangles to mend it asks
  // for the worst one at every node, and the good triangles it makes are mostly re-shaped again
  // before they could come to the top; each enters the heap once, when first needed. The
  // answers do not change. No ceiling at first.
  void SetAngleCeiling(double ceiling) { angleCeiling_ = ceiling; }

  // True when some node lies strictly inside the square of half side d around p. Falls back to
  // a scan when the grid cannot answer.
  bool AnyNodeWithin(const TVertexes& nodes, MeshPoint p, double d) {
    return nodeGrid_.AnyWithin(nodes, p, d);
  }

  // Segments whose diametral circle holds p strictly (by encroaches, the caller's exact test),
  // in increasing index order.
  template <typename Encroaches>
  void EncroachedSegments(const TVertexes& nodes, const TEdges& edges, MeshPoint p,
                          const Encroaches& encroaches, std::vector<int>& out);

  void EdgeMayHaveMoved(int e);

 private:
  struct CellKey {
    int level;
    std::int64_t cx;
    std::int64_t cy;
    bool operator==(const CellKey&) const = default;
  };
  struct CellHash {
    std::size_t operator()(const CellKey& k) const;
  };
  // The cell of (x, y) in a grid of the given cell size; false when a coordinate is not finite
  // or its cell number would be too large.
  static bool CellOf(double x, double y, double size, std::int64_t& cx, std::int64_t& cy);

  void CatchUpSegments(const TVertexes& nodes, const TEdges& edges);
  void RegisterSegment(const TVertexes& nodes, const TEdges& edges, int s);
  void UnregisterSegment(int s);
  // The segments whose diametral circle may hold p, each once, in no particular order; false
  // when the grid cannot answer for p.
  bool SegmentCandidates(MeshPoint p, std::vector<int>& out) const;
  // The segments' cells: an open-addressing table (linear probing, at most half full) from a
  // cell to its list in cellLists_; a query's cells are mostly empty, and a miss then costs a
  // slot or two instead of a bucket chain. Cells are never taken out (an emptied list stays).
  // The list of key's cell, or null when the cell never held a segment.
  const std::vector<int>* FindCell(const CellKey& key) const;
  // The index in cellLists_ of key's cell, made when new.
  int CellList(const CellKey& key);

  // Triangles.
  // A triangle re-shaped several times between two questions (flips) is brought up to date in
  // the heaps once, with its measures at the time of the question.
  // State flags of a triangle: its measures were stored; it is listed in pending_; its angle
  // is above the ceiling and waits in deferred_ instead of the angle heap.
  enum : std::uint8_t { kKnown = 1, kListed = 2, kDeferred = 4 };
  struct Measures {  // of one triangle, as last stored
    double angle = 0.0;
    double area = 0.0;
  };
  // Makes the area heap hold the current area of every triangle at or above areaFloor_.
  void RefillAreas();
  void Flush();
  // Puts the angles waiting above the ceiling into the heap.
  void FlushDeferred();
  std::vector<Measures> measures_;  // by triangle
  // By triangle, apart from the measures: storing them is then a write the processor need not
  // wait for, while the flags, read at every store, lie in a table a sixth the size.
  std::vector<std::uint8_t> states_;
  std::vector<int> pending_;  // stored since the last question, not yet in the heaps
  // Flagged kDeferred: current angle above the ceiling, not in the angle heap (an entry whose
  // flag is clear is outdated and skipped). A triangle in the heap stays there whatever its
  // angle becomes.
  std::vector<int> deferred_;
  double angleCeiling_ = std::numeric_limits<double>::infinity();
  IndexedHeap byAngle_;  // keys: smallest angles
  IndexedHeap byArea_;   // keys: minus the areas
  double areaFloor_ = -std::numeric_limits<double>::infinity();
  bool nanSeen_ = false;

  NodeGrid nodeGrid_;

  // Segments.
  struct Registration {
    int begin = -1;
    int end = -1;
    bool onGrid = false;
    CellKey key{0, 0, 0};
    int list = -1;  // its cell's list in cellLists_
    int slot = -1;  // position in its level's list
  };
  struct CellSlot {
    CellKey key{0, 0, 0};
    int list = -1;  // -1: empty
  };
  int edgesSeen_ = 0;
  std::vector<int> segments_;                         // all segment indices, increasing
  std::unordered_map<int, Registration> registered_;  // by segment index
  std::vector<CellSlot> cellSlots_;                   // size a power of two, or empty
  std::vector<std::vector<int>> cellLists_;
  // The segments of each level, by level + kLevelOffset: a level with few is searched by its
  // list, which costs less than nine cell lookups.
  std::vector<std::vector<int>> levelSegments_;
  // The range of the levels that ever held a segment; empty at first.
  int lowestLevel_ = std::numeric_limits<int>::max();
  int highestLevel_ = std::numeric_limits<int>::min();
  std::vector<int> segmentsOffGrid_;
  std::vector<int> moved_;
  std::vector<int> candidates_;  // scratch of EncroachedSegments
};

inline void MeshIndex::TriangleStored(int t, double minAngle, double area) {
  const auto s = static_cast<std::size_t>(t);
  // Triangles come in index order, one at a time.
  if (s == measures_.size()) {
    measures_.emplace_back();
    states_.push_back(0);
  } else if (s > measures_.size()) {
    measures_.resize(s + 1);
    states_.resize(s + 1, 0);
  }
  if (std::isnan(minAngle) || std::isnan(area)) nanSeen_ = true;
  measures_[s] = Measures{minAngle, area};
  std::uint8_t& state = states_[s];
  state |= kKnown;
  if (!(state & kListed)) {
    state |= kListed;
    pending_.push_back(t);
  }
}

template <typename Encroaches>
void MeshIndex::EncroachedSegments(const TVertexes& nodes, const TEdges& edges, MeshPoint p,
                                   const Encroaches& encroaches, std::vector<int>& out) {
  out.clear();
  CatchUpSegments(nodes, edges);
  const bool near = SegmentCandidates(p, candidates_);
  for (int s : near ? candidates_ : segments_) {
    if (encroaches(s)) out.push_back(s);
  }
  // The candidates come level by level; the few that encroach, not the many near, are sorted.
  if (near) std::sort(out.begin(), out.end());
}

}  // namespace tavrin

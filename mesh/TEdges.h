// TEdges: the edge table of a mesh. Owns, per edge, its two end nodes, the triangles on its two
// sides (-1 when empty), its segment mark (non-zero for a boundary piece that is never flipped)
// and its loads and constraints. Edges are only appended; ends and triangle slots change in
// place. Find is served by a hash index on the unordered node pair (NodePairIndex), kept in
// step with AddEdge/SetBegin/SetEnd, so a lookup costs O(1) on average instead of a scan of the
// table, with the same result: the highest edge index joining the two nodes. A caller that
// knows it will not ask for a while may drop the index (DropFindIndex): changes then cost
// nothing extra, and the next Find builds it again in one pass over the table.
//
// The ends and the triangle slots of an edge, which the mesher reads together, lie in one
// 16-byte record; marks and loads, rarely read, lie apart (loads only for the edges that have
// any, DofColumn).
#pragma once

#include <cassert>
#include <cstdint>
#include <vector>

#include "containers/NodePairIndex.h"
#include "mesh/DofColumn.h"
#include "model/DofRecord.h"

namespace tavrin {

class TEdges {
 public:
  // Appends an edge with both triangle slots -1 and returns its index. arc: the index of the
  // circular arc the edge is a chord of (a piece of an arc edge), -1 for none.
  int AddEdge(int begin, int end, const DofRecord& dof, std::uint8_t mark, int arc = -1);
  int Count() const { return static_cast<int>(links_.size()); }
  // Room for n edges in all, so that the appends up to n move no record.
  void Reserve(std::size_t n);
  // End nodes; the caller passes 0..Count()-1 (checked only by assertion, -1 otherwise).
  // Accessors are inline: the mesher asks them several times per edge it looks at.
  int Begin(int e) const {
    assert(Valid(e));
    return Valid(e) ? links_[static_cast<std::size_t>(e)].begin : -1;
  }
  int End(int e) const {
    assert(Valid(e));
    return Valid(e) ? links_[static_cast<std::size_t>(e)].end : -1;
  }
  // Replace one end node, or both; ignored for an index out of range.
  void SetBegin(int e, int n);
  void SetEnd(int e, int n);
  void SetEnds(int e, int begin, int end);
  // Highest edge index whose ends are {a, b} in either order; -1 when there is none.
  int Find(int a, int b) const;
  // Frees the index of Find and stops keeping it; the next Find rebuilds it.
  void DropFindIndex();
  // Puts triangle t into a free slot: 1 when both were empty (slot 1 filled), 2 when slot 2 or,
  // with slot 2 full, slot 1 was filled; 0 and no change when both were full or e is invalid.
  // Inline, as Detach: the mesher attaches and detaches every side of every triangle it cuts
  // or turns.
  int Attach(int e, int t) {
    if (!Valid(e)) return 0;
    Links& l = links_[static_cast<std::size_t>(e)];
    if (l.tri1 == -1 && l.tri2 == -1) {
      l.tri1 = t;
      return 1;
    }
    if (l.tri1 != -1 && l.tri2 == -1) {
      l.tri2 = t;
      return 2;
    }
    if (l.tri1 == -1) {
      l.tri1 = t;
      return 2;
    }
    return 0;
  }
  // Empties the slot holding t: 1 or 2 for the slot emptied, -1 when neither holds t.
  int Detach(int e, int t) {
    if (!Valid(e)) return -1;
    Links& l = links_[static_cast<std::size_t>(e)];
    if (l.tri1 == t) {
      l.tri1 = -1;
      return 1;
    }
    if (l.tri2 == t) {
      l.tri2 = -1;
      return 2;
    }
    return -1;
  }
  // 0 when slot 1 is empty (whatever slot 2 holds), 1 when only slot 1 is full, 2 when both are.
  int TriangleCount(int e) const;
  // Slot k (1 or 2); -1 for any other k or an invalid e.
  int Triangle(int e, int k) const {
    if (!Valid(e)) return -1;
    const Links& l = links_[static_cast<std::size_t>(e)];
    return k == 1 ? l.tri1 : k == 2 ? l.tri2 : -1;
  }
  // Copies edge e's loads and constraints; 0, or -1 when e is out of range (dof untouched).
  int GetDof(int e, DofRecord& dof) const;
  // The segment mark; 0 for an index out of range.
  std::uint8_t Mark(int e) const { return Valid(e) ? mark_[static_cast<std::size_t>(e)] : 0; }
  // The arc index given to AddEdge; -1 for none or an index out of range.
  int Arc(int e) const {
    const auto i = static_cast<std::size_t>(e);
    return e >= 0 && i < arc_.size() ? arc_[i] : -1;
  }

 private:
  bool Valid(int e) const { return e >= 0 && e < Count(); }

  struct Links {
    int begin;
    int end;
    int tri1;
    int tri2;
  };
  std::vector<Links> links_;
  std::vector<std::uint8_t> mark_;
  // Arc index by edge, only as far as the last edge that has one: a mesh without arcs pays
  // nothing for the column.
  std::vector<int> arc_;
  DofColumn dof_;
  mutable NodePairIndex byEnds_;
  mutable bool indexed_ = true;  // byEnds_ holds every edge
};

}  // namespace tavrin

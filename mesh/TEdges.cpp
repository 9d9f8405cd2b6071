// Edge table operations. Find is a lookup in the hash index of unordered node pairs (constant
// time on average); while the index is kept, it is updated whenever an end node changes. Everything
// else is a direct access by index.
#include "mesh/TEdges.h"

namespace tavrin {

int TEdges::AddEdge(int begin, int end, const DofRecord& dof, std::uint8_t mark, int arc) {
  links_.push_back(Links{begin, end, -1, -1});
  mark_.push_back(mark);
  dof_.Append(dof);
  const int e = Count() - 1;
  if (arc >= 0) {
    arc_.resize(static_cast<std::size_t>(e), -1);
    arc_.push_back(arc);
  }
  if (indexed_) byEnds_.Insert(begin, end, e);
  return e;
}

void TEdges::Reserve(std::size_t n) {
  links_.reserve(n);
  mark_.reserve(n);
  dof_.Reserve(n);
}

void TEdges::SetBegin(int e, int n) {
  if (Valid(e)) SetEnds(e, n, End(e));
}

void TEdges::SetEnd(int e, int n) {
  if (Valid(e)) SetEnds(e, Begin(e), n);
}

void TEdges::SetEnds(int e, int begin, int end) {
  if (!Valid(e)) return;
  Links& l = links_[static_cast<std::size_t>(e)];
  if (indexed_) {
    byEnds_.Erase(l.begin, l.end, e);
    byEnds_.Insert(begin, end, e);
  }
  l.begin = begin;
  l.end = end;
}

int TEdges::Find(int a, int b) const {
  if (!indexed_) {
    for (int e = 0; e < Count(); ++e) {
      const Links& l = links_[static_cast<std::size_t>(e)];
      byEnds_.Insert(l.begin, l.end, e);
    }
    indexed_ = true;
  }
  return byEnds_.Highest(a, b);
}

void TEdges::DropFindIndex() {
  byEnds_ = NodePairIndex();
  indexed_ = false;
}

int TEdges::TriangleCount(int e) const {
  if (!Valid(e)) return 0;
  const Links& l = links_[static_cast<std::size_t>(e)];
  if (l.tri1 == -1) return 0;
  return l.tri2 == -1 ? 1 : 2;
}

int TEdges::GetDof(int e, DofRecord& dof) const {
  if (!Valid(e)) return -1;
  dof = dof_.Get(e);
  return 0;
}

}  // namespace tavrin

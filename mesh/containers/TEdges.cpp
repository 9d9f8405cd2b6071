// Edge table operations. Find is a lookup in the hash index of unordered node pairs (constant
// time on average); the index is updated whenever an end node changes. Everything else is a
// direct access by index.
#include "mesh/containers/TEdges.h"

namespace tavrin {

int TEdges::AddEdge(int begin, int end, const DofRecord& dof, std::uint8_t mark) {
  begin_.push_back(begin);
  end_.push_back(end);
  tri1_.push_back(-1);
  tri2_.push_back(-1);
  mark_.push_back(mark);
  dof_.push_back(dof);
  const int e = Count() - 1;
  byEnds_.Insert(begin, end, e);
  return e;
}

void TEdges::SetBegin(int e, int n) {
  if (!Valid(e)) return;
  const auto s = static_cast<std::size_t>(e);
  byEnds_.Erase(begin_[s], end_[s], e);
  begin_[s] = n;
  byEnds_.Insert(n, end_[s], e);
}

void TEdges::SetEnd(int e, int n) {
  if (!Valid(e)) return;
  const auto s = static_cast<std::size_t>(e);
  byEnds_.Erase(begin_[s], end_[s], e);
  end_[s] = n;
  byEnds_.Insert(begin_[s], n, e);
}

int TEdges::Find(int a, int b) const { return byEnds_.Highest(a, b); }

int TEdges::Attach(int e, int t) {
  if (!Valid(e)) return 0;
  int& s1 = tri1_[static_cast<std::size_t>(e)];
  int& s2 = tri2_[static_cast<std::size_t>(e)];
  if (s1 == -1 && s2 == -1) {
    s1 = t;
    return 1;
  }
  if (s1 != -1 && s2 == -1) {
    s2 = t;
    return 2;
  }
  if (s1 == -1) {
    s1 = t;
    return 2;
  }
  return 0;
}

int TEdges::Detach(int e, int t) {
  if (!Valid(e)) return -1;
  int& s1 = tri1_[static_cast<std::size_t>(e)];
  int& s2 = tri2_[static_cast<std::size_t>(e)];
  if (s1 == t) {
    s1 = -1;
    return 1;
  }
  if (s2 == t) {
    s2 = -1;
    return 2;
  }
  return -1;
}

int TEdges::TriangleCount(int e) const {
  if (!Valid(e)) return 0;
  const auto s = static_cast<std::size_t>(e);
  if (tri1_[s] == -1) return 0;
  return tri2_[s] == -1 ? 1 : 2;
}

int TEdges::GetDof(int e, DofRecord& dof) const {
  if (!Valid(e)) return -1;
  dof = dof_[static_cast<std::size_t>(e)];
  return 0;
}

}  // namespace tavrin

// Edge table operations. Find is a lookup in the hash index of unordered node pairs (constant
// time on average); the index is updated whenever an end node changes. Everything else is a
// direct access by index.
#include "mesh/containers/TEdges.h"

#include <algorithm>
#include <cassert>

namespace tavrin {

std::uint64_t TEdges::Key(int a, int b) {
  const auto lo = static_cast<std::uint32_t>(std::min(a, b));
  const auto hi = static_cast<std::uint32_t>(std::max(a, b));
  return (static_cast<std::uint64_t>(hi) << 32) | lo;
}

void TEdges::Index(int e) {
  const auto s = static_cast<std::size_t>(e);
  byEnds_[Key(begin_[s], end_[s])].push_back(e);
}

void TEdges::Unindex(int e) {
  const auto s = static_cast<std::size_t>(e);
  auto it = byEnds_.find(Key(begin_[s], end_[s]));
  if (it == byEnds_.end()) return;
  std::vector<int>& list = it->second;
  list.erase(std::remove(list.begin(), list.end(), e), list.end());
  if (list.empty()) byEnds_.erase(it);
}

int TEdges::AddEdge(int begin, int end, const DofRecord& dof, std::uint8_t mark) {
  begin_.push_back(begin);
  end_.push_back(end);
  tri1_.push_back(-1);
  tri2_.push_back(-1);
  mark_.push_back(mark);
  dof_.push_back(dof);
  const int e = Count() - 1;
  Index(e);
  return e;
}

int TEdges::Begin(int e) const {
  assert(Valid(e));
  return Valid(e) ? begin_[static_cast<std::size_t>(e)] : -1;
}

int TEdges::End(int e) const {
  assert(Valid(e));
  return Valid(e) ? end_[static_cast<std::size_t>(e)] : -1;
}

void TEdges::SetBegin(int e, int n) {
  if (!Valid(e)) return;
  Unindex(e);
  begin_[static_cast<std::size_t>(e)] = n;
  Index(e);
}

void TEdges::SetEnd(int e, int n) {
  if (!Valid(e)) return;
  Unindex(e);
  end_[static_cast<std::size_t>(e)] = n;
  Index(e);
}

int TEdges::Find(int a, int b) const {
  auto it = byEnds_.find(Key(a, b));
  if (it == byEnds_.end() || it->second.empty()) return -1;
  return *std::max_element(it->second.begin(), it->second.end());
}

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

int TEdges::Triangle(int e, int k) const {
  if (!Valid(e)) return -1;
  const auto s = static_cast<std::size_t>(e);
  if (k == 1) return tri1_[s];
  if (k == 2) return tri2_[s];
  return -1;
}

int TEdges::GetDof(int e, DofRecord& dof) const {
  if (!Valid(e)) return -1;
  dof = dof_[static_cast<std::size_t>(e)];
  return 0;
}

std::uint8_t TEdges::Mark(int e) const { return Valid(e) ? mark_[static_cast<std::size_t>(e)] : 0; }

}  // namespace tavrin

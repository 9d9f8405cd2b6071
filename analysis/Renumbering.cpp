// Cuthill-McKee renumbering. Each root search builds a few level structures of its component
// (linear each), numbering is one breadth-first walk with a selection sort of each node's short
// run of new neighbours, so the whole costs about (a few) x (nodes + edges).
#include "analysis/Renumbering.h"

#include <algorithm>
#include <utility>

namespace tavrin {

Renumbering::Code Renumbering::BuildAdjacency(int nodeCount,
                                              const std::vector<std::array<int, 2>>& edges) {
  nodeCount_ = nodeCount;
  adjStart_.assign(static_cast<size_t>(nodeCount) + 1, 0);
  for (const auto& e : edges) {
    if (e[0] < 0 || e[1] < 0 || e[0] >= nodeCount || e[1] >= nodeCount) return Code::BadAdjacency;
    ++adjStart_[e[0] + 1];
    ++adjStart_[e[1] + 1];
  }
  for (int i = 0; i < nodeCount; ++i) adjStart_[i + 1] += adjStart_[i];
  adjList_.assign(adjStart_[nodeCount], 0);
  std::vector<int> fill(adjStart_.begin(), adjStart_.end() - 1);
  for (const auto& e : edges) {
    adjList_[fill[e[0]]++] = e[1];
    adjList_[fill[e[1]]++] = e[0];
  }
  mask_.assign(nodeCount, 1);
  stamp_.assign(nodeCount, 0);
  stampValue_ = 0;
  return Code::Ok;
}

int Renumbering::MaskedDegree(int node) const {
  int d = 0;
  for (int k = adjStart_[node]; k < adjStart_[node + 1]; ++k) d += mask_[adjList_[k]];
  return d;
}

int Renumbering::LevelStructure(int root, std::vector<int>& order,
                                std::vector<int>& levelStart) const {
  if (++stampValue_ == 0) {
    std::fill(stamp_.begin(), stamp_.end(), 0);
    stampValue_ = 1;
  }
  order.clear();
  levelStart.clear();
  order.push_back(root);
  stamp_[root] = stampValue_;
  levelStart.push_back(0);
  size_t begin = 0;
  while (begin < order.size()) {
    const size_t end = order.size();
    for (size_t p = begin; p < end; ++p) {
      const int v = order[p];
      for (int k = adjStart_[v]; k < adjStart_[v + 1]; ++k) {
        const int w = adjList_[k];
        if (mask_[w] && stamp_[w] != stampValue_) {
          stamp_[w] = stampValue_;
          order.push_back(w);
        }
      }
    }
    begin = end;
    if (order.size() > end) levelStart.push_back(static_cast<int>(end));
  }
  levelStart.push_back(static_cast<int>(order.size()));
  return static_cast<int>(levelStart.size()) - 1;
}

int Renumbering::FindRoot(int s) const {
  std::vector<int> order, levels;
  int levelCount = LevelStructure(s, order, levels);
  const int n = static_cast<int>(order.size());
  if (n == levelCount || levelCount == 1) return s;
  int root = s;
  // Each accepted candidate strictly deepens the structure, and depth is bounded by n.
  while (true) {
    if (levelCount > nodeCount_) return -1;
    int candidate = -1, best = n;
    for (int p = levels[levelCount - 1]; p < levels[levelCount]; ++p) {
      const int d = MaskedDegree(order[p]);
      if (d < best) {
        best = d;
        candidate = order[p];
      }
    }
    if (candidate < 0) return -1;
    const int deeper = LevelStructure(candidate, order, levels);
    if (deeper > nodeCount_) return -1;
    if (deeper <= levelCount || deeper >= n) return candidate;
    levelCount = deeper;
    root = candidate;
  }
  return root;
}

void Renumbering::NumberComponent(int root) {
  // Masked degrees are taken once, before any node of the component is numbered: the sort
  // below orders by these, not by degrees recounted as masks clear.
  std::vector<int> order, levels;
  LevelStructure(root, order, levels);
  for (int v : order) degree_[v] = MaskedDegree(v);

  size_t walk = newToMesh_.size();
  mask_[root] = 0;
  newToMesh_.push_back(root);
  for (; walk < newToMesh_.size(); ++walk) {
    const int v = newToMesh_[walk];
    const size_t runStart = newToMesh_.size();
    for (int k = adjStart_[v]; k < adjStart_[v + 1]; ++k) {
      const int w = adjList_[k];
      if (mask_[w]) {
        mask_[w] = 0;
        newToMesh_.push_back(w);
      }
    }
    // Selection by exchange on the short run of this node's new neighbours.
    const size_t runEnd = newToMesh_.size();
    for (size_t k = runStart; k < runEnd; ++k)
      for (size_t l = k; l < runEnd; ++l)
        if (degree_[newToMesh_[k]] > degree_[newToMesh_[l]])
          std::swap(newToMesh_[k], newToMesh_[l]);
  }
}

Renumbering::Code Renumbering::Number() {
  newToMesh_.clear();
  newToMesh_.reserve(nodeCount_);
  degree_.assign(nodeCount_, 0);
  std::fill(mask_.begin(), mask_.end(), 1);
  for (int i = 0; i < nodeCount_; ++i) {
    if (!mask_[i]) continue;
    const int root = FindRoot(i);
    if (root < 0) return Code::NoRoot;
    NumberComponent(root);
  }
  meshToNew_.assign(nodeCount_, -1);
  for (int v = 0; v < nodeCount_; ++v) meshToNew_[newToMesh_[v]] = v;
  return Code::Ok;
}

Renumbering::Code Renumbering::EnvelopeStarts(std::vector<int>& start, int& failedNode) const {
  start.assign(nodeCount_, 0);
  failedNode = -1;
  for (int v = 0; v < nodeCount_; ++v) {
    const int mesh = newToMesh_[v];
    if (Degree(mesh) == 0) {
      failedNode = mesh;
      return Code::IsolatedNode;
    }
    int m = v;
    for (int k = adjStart_[mesh]; k < adjStart_[mesh + 1]; ++k)
      m = std::min(m, meshToNew_[adjList_[k]]);
    start[v] = m;
  }
  return Code::Ok;
}

const char* Message(Renumbering::Code code) {
  switch (code) {
    case Renumbering::Code::Ok:
      return "The nodes are numbered.";
    case Renumbering::Code::BadAdjacency:
      return "An edge of the mesh refers to a node outside the mesh.";
    case Renumbering::Code::NoRoot:
      return "The node renumbering found no starting node.";
    case Renumbering::Code::IsolatedNode:
      return "A node of the mesh is not connected to any element.";
  }
  return "";
}

}  // namespace tavrin

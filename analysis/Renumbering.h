// Renumbering: Cuthill-McKee ordering of the mesh nodes (not reversed) from pseudo-peripheral
// roots, one connected component after the other, and the envelope start of every node in the
// new numbering.
//
// Expects node indices 0 to nodeCount - 1 and an edge list joining them (the edges of the
// triangulation). Neighbour lists are built in edge order and grow as needed, so no bound on the
// number of neighbours is assumed.
#pragma once

#include <array>
#include <vector>

namespace tavrin {

class Renumbering {
 public:
  enum class [[nodiscard]] Code{
      Ok,
      BadAdjacency,  // an edge names a node outside the range
      NoRoot,        // the search for a starting node failed
      IsolatedNode,  // a node belongs to no edge
  };

  // Builds the neighbour lists: each edge (a, b) appends b to a's list, then a to b's.
  // Returns Ok, or BadAdjacency when an edge names a node outside the range.
  Code BuildAdjacency(int nodeCount, const std::vector<std::array<int, 2>>& edges);
  // Numbers every node. Returns Ok or NoRoot.
  Code Number();
  // For every new number v, the smallest new number among v and its neighbours. Returns Ok, or
  // IsolatedNode with `failedNode` (mesh index) set when a node has no neighbour.
  Code EnvelopeStarts(std::vector<int>& start, int& failedNode) const;

  int NodeCount() const { return nodeCount_; }
  const std::vector<int>& NewToMesh() const { return newToMesh_; }
  const std::vector<int>& MeshToNew() const { return meshToNew_; }
  int Degree(int node) const { return adjStart_[node + 1] - adjStart_[node]; }
  int Neighbour(int node, int k) const { return adjList_[adjStart_[node] + k]; }

  // Level structure of root r over the nodes whose mask is set (the root itself always comes
  // first): fills `order` with the component in breadth-first order and `levelStart` with the
  // start of each level in it (plus the end). Returns the number of levels, the root's own
  // level included.
  int LevelStructure(int root, std::vector<int>& order, std::vector<int>& levelStart) const;
  // Pseudo-peripheral root of the component of s, found by repeated level structures.
  // Returns the root, or -1 when the search fails.
  int FindRoot(int s) const;

 private:
  int MaskedDegree(int node) const;
  void NumberComponent(int root);

  int nodeCount_ = 0;
  std::vector<int> adjStart_, adjList_;
  std::vector<unsigned char> mask_;  // 1 while a node has no new number
  std::vector<int> newToMesh_, meshToNew_;
  std::vector<int> degree_;         // masked degrees of the component being numbered
  mutable std::vector<int> stamp_;  // visit marks of level structures
  mutable int stampValue_ = 0;
};

const char* Message(Renumbering::Code code);

}  // namespace tavrin

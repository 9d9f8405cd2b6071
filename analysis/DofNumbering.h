// DofNumbering: the freedoms of a meshed plate and which of them the system solves for.
//
// Equation e = 3 v + d belongs to the node with solver number v (Cuthill-McKee, see
// Renumbering) and to freedom d (0 lin. Z, 1 rot. X, 2 rot. Y). Constrained equations are
// eliminated: they keep their prescribed value and get no row in the reduced system, whose rows
// are the free equations in increasing e. Numbering is linear in the edges (plus the root
// searches of the renumbering); the constraints pass is linear in nodes and edges.
#pragma once

#include <array>
#include <vector>

#include "analysis/PlateMesh.h"
#include "analysis/Renumbering.h"

namespace tavrin {

class DofNumbering {
 public:
  // Numbers the nodes of `mesh` (which must have consistent tables). Returns Ok, or the
  // renumbering's failure with `isolatedNode` the mesh index of a node on no edge.
  Renumbering::Code Number(const PlateMesh& mesh, int& isolatedNode);
  // Marks the constrained equations of `mesh` (numbered first) and their prescribed values: the
  // edges in edge order, the lowest-index edge giving the value, then the nodes, whose own
  // constraint overrides the value of their edges. Builds the reduced index.
  void MarkConstraints(const PlateMesh& mesh);

  int NodeCount() const { return static_cast<int>(newToMesh_.size()); }
  int EquationCount() const { return 3 * NodeCount(); }
  int FreeCount() const { return freeCount_; }
  bool IsFixed(int equation) const { return fixed_[equation] != 0; }
  double Prescribed(int equation) const { return prescribed_[equation]; }
  int Reduced(int equation) const { return reducedIndex_[equation]; }
  // The equation of a reduced row, or -1 when no free equation has that row.
  int EquationOfRow(int row) const;
  bool HasConstraints() const { return !fixed_.empty(); }

  const std::vector<int>& MeshToNew() const { return meshToNew_; }
  const std::vector<int>& NewToMesh() const { return newToMesh_; }
  // Solver node numbers of every triangle's corners, in the mesh's corner order.
  const std::vector<std::array<int, 3>>& TriangleNodes() const { return triangleNodes_; }
  // For every solver node, the smallest solver node number coupled to it (envelope start).
  const std::vector<int>& EnvelopeStarts() const { return nodeEnvelopeStart_; }

 private:
  // All owned by value; empty until Number.
  std::vector<int> meshToNew_, newToMesh_;
  std::vector<std::array<int, 3>> triangleNodes_;
  std::vector<int> nodeEnvelopeStart_;
  std::vector<unsigned char> fixed_;  // per equation
  std::vector<double> prescribed_;    // per equation, value of a fixed freedom
  std::vector<int> reducedIndex_;     // per equation: e less the fixed equations before it
  int freeCount_ = 0;
};

}  // namespace tavrin

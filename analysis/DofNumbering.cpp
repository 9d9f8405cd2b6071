// Freedom numbering and constraints: the Cuthill-McKee node numbers, the triangles in them, and
// the elimination of the constrained equations. Linear in nodes, edges and triangles apart from
// the renumbering's root searches.
#include "analysis/DofNumbering.h"

#include "model/ConstraintCode.h"

namespace tavrin {

Renumbering::Code DofNumbering::Number(const PlateMesh& mesh, int& isolatedNode) {
  isolatedNode = -1;
  Renumbering numbering;
  if (const auto rc = numbering.BuildAdjacency(mesh.NodeCount(), mesh.edges);
      rc != Renumbering::Code::Ok)
    return rc;
  if (const auto rc = numbering.Number(); rc != Renumbering::Code::Ok) return rc;
  meshToNew_ = numbering.MeshToNew();
  newToMesh_ = numbering.NewToMesh();
  triangleNodes_.resize(mesh.TriangleCount());
  for (int t = 0; t < mesh.TriangleCount(); ++t)
    for (int k = 0; k < 3; ++k) triangleNodes_[t][k] = meshToNew_[mesh.triangles[t][k]];
  return numbering.EnvelopeStarts(nodeEnvelopeStart_, isolatedNode);
}

void DofNumbering::MarkConstraints(const PlateMesh& mesh) {
  const int equations = EquationCount();
  fixed_.assign(equations, 0);
  prescribed_.assign(equations, 0.0);
  std::vector<unsigned char> valueTaken(equations, 0);
  for (int e = 0; e < mesh.EdgeCount(); ++e) {
    const DofRecord& dof = mesh.edgeDof[e];
    if (dof.code == 0) continue;
    const auto fixed = DecodeConstraintCode(dof.code);
    for (int d = 0; d < 3; ++d) {
      if (!fixed[d]) continue;
      for (int end = 0; end < 2; ++end) {
        const int eq = 3 * meshToNew_[mesh.edges[e][end]] + d;
        fixed_[eq] = 1;
        if (!valueTaken[eq]) {
          prescribed_[eq] = dof.displacement[d];
          valueTaken[eq] = 1;
        }
      }
    }
  }
  for (int i = 0; i < mesh.NodeCount(); ++i) {
    const DofRecord& dof = mesh.nodeDof[i];
    if (dof.code == 0) continue;
    const auto fixed = DecodeConstraintCode(dof.code);
    for (int d = 0; d < 3; ++d) {
      if (!fixed[d]) continue;
      const int eq = 3 * meshToNew_[i] + d;
      fixed_[eq] = 1;
      prescribed_[eq] = dof.displacement[d];
    }
  }
  reducedIndex_.assign(equations, 0);
  int fixedSoFar = 0;
  for (int e = 0; e < equations; ++e) {
    reducedIndex_[e] = e - fixedSoFar;
    if (fixed_[e]) ++fixedSoFar;
  }
  freeCount_ = equations - fixedSoFar;
}

int DofNumbering::EquationOfRow(int row) const {
  for (int e = 0; e < EquationCount(); ++e)
    if (!fixed_[e] && reducedIndex_[e] == row) return e;
  return -1;
}

}  // namespace tavrin

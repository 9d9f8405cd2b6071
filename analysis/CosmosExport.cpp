// COSMOS input file of a solved model: nodes, triangles, constraints with their prescribed
// values, and the applied nodal loads of the free freedoms. One pass over each table.
#include <cstdio>

#include "analysis/TGlobMatrix.h"

namespace tavrin {

namespace {
const char* const kDofNames[3] = {"UZ", "ROTX", "ROTY"};
const char* const kLoadNames[3] = {"FZ", "MX", "MY"};
}  // namespace

ExportResult TGlobMatrix::ExportCosmos(const std::string& fileName) const {
  if (!solved_) return ExportResult::NoSolution;
  const DofNumbering& numbering = solution_.numbering;
  const auto& newToMesh = numbering.NewToMesh();
  const auto& meshToNew = numbering.MeshToNew();
  const auto& triangleNodes = numbering.TriangleNodes();
  std::FILE* f = std::fopen(fileName.c_str(), "w");
  if (!f) return ExportResult::CannotCreate;
  for (int v = 0; v < nodeCount_; ++v)
    std::fprintf(f, "N, %d, %g, %g, 0\n", v + 1, mesh_.x[newToMesh[v]], mesh_.y[newToMesh[v]]);
  for (int t = 0; t < triangleCount_; ++t)
    std::fprintf(f, "E, %d, %d, %d, %d\n", t + 1, triangleNodes[t][0] + 1, triangleNodes[t][1] + 1,
                 triangleNodes[t][2] + 1);
  // One line per constrained edge end; a node shared by several such edges is listed for each.
  for (int e = 0; e < mesh_.EdgeCount(); ++e) {
    const DofRecord& dof = mesh_.edgeDof[e];
    if (dof.code == 0) continue;
    const auto fixed = DecodeConstraintCode(dof.code);
    for (int d = 0; d < 3; ++d) {
      if (!fixed[d]) continue;
      std::fprintf(f, "D,%d,%s,%g\n", meshToNew[mesh_.edges[e][0]] + 1, kDofNames[d],
                   dof.displacement[d]);
      std::fprintf(f, "D,%d,%s,%g\n", meshToNew[mesh_.edges[e][1]] + 1, kDofNames[d],
                   dof.displacement[d]);
    }
  }
  for (int v = 0; v < nodeCount_; ++v) {
    const DofRecord& dof = mesh_.nodeDof[newToMesh[v]];
    if (dof.code == 0) continue;
    const auto fixed = DecodeConstraintCode(dof.code);
    for (int d = 0; d < 3; ++d)
      if (fixed[d]) std::fprintf(f, "D,%d,%s,%g\n", v + 1, kDofNames[d], dof.displacement[d]);
  }
  // Every non-zero load counts, however small: there is no unit in which 1e-4 is negligible.
  for (int v = 0; v < nodeCount_; ++v)
    for (int d = 0; d < 3; ++d) {
      const int e = 3 * v + d;
      if (!numbering.IsFixed(e) && solution_.loads[e] != 0.0)
        std::fprintf(f, "F, %d, %s, %g\n", v + 1, kLoadNames[d], solution_.loads[e]);
    }
  return CloseExport(f);
}

}  // namespace tavrin

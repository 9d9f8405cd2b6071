// Load vector: pressures, node loads, edge loads, in that order (the order fixes the rounding).
#include "analysis/LoadVector.h"

#include <cmath>
#include <utility>

namespace tavrin {

LoadVector BuildLoads(const PlateMesh& mesh, const DofNumbering& numbering) {
  const auto& meshToNew = numbering.MeshToNew();
  const int equations = numbering.EquationCount();
  std::vector<long double> load(equations, 0.0L);
  for (int t = 0; t < mesh.TriangleCount(); ++t) {
    const auto& c = mesh.triangles[t];
    const double twiceArea = (mesh.x[c[1]] - mesh.x[c[0]]) * (mesh.y[c[2]] - mesh.y[c[0]]) -
                             (mesh.y[c[1]] - mesh.y[c[0]]) * (mesh.x[c[2]] - mesh.x[c[0]]);
    const double f = static_cast<double>(static_cast<long double>(mesh.materials[t].pressure) *
                                         (std::fabs(twiceArea) * 0.5) * (1.0L / 3.0L));
    for (int k = 0; k < 3; ++k) load[3 * meshToNew[c[k]]] += f;
  }
  for (int i = 0; i < mesh.NodeCount(); ++i)
    for (int d = 0; d < 3; ++d) load[3 * meshToNew[i] + d] += mesh.nodeDof[i].force[d];
  for (int e = 0; e < mesh.EdgeCount(); ++e) {
    const int a = mesh.edges[e][0], b = mesh.edges[e][1];
    const double dx = mesh.x[a] - mesh.x[b], dy = mesh.y[a] - mesh.y[b];
    const double h = std::sqrt(dx * dx + dy * dy) * 0.5;
    for (int end : {a, b})
      for (int d = 0; d < 3; ++d) load[3 * meshToNew[end] + d] += mesh.edgeDof[e].force[d] * h;
  }
  LoadVector result;
  result.rounded.assign(equations, 0.0);
  long double sumZ = 0.0L;
  for (int e = 0; e < equations; ++e) {
    result.rounded[e] = static_cast<double>(load[e]);
    if (e % 3 == 0) sumZ += load[e];
  }
  result.sumZ = static_cast<double>(sumZ);
  result.exact = std::move(load);
  return result;
}

}  // namespace tavrin

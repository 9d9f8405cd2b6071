// Load vector: pressures, node loads, edge loads, in that order (the order fixes the rounding).
#include "analysis/LoadVector.h"

#include <array>
#include <cmath>
#include <utility>

namespace tavrin {

LoadVector BuildLoads(const PlateMesh& mesh, const DofNumbering& numbering,
                      EdgeLoadKind edgeLoads) {
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
    // On a piece of an arc edge the mesh edge is a chord between two nodes on the arc. The load
    // is per unit length of the arc, taken as constant along the piece: the piece's share,
    // that load times the arc's length between the nodes, is spread over the chord as a load
    // per unit chord length scaled by the arc-to-chord ratio, with the chord's shape functions.
    // Summed over the pieces this is the arc's whole load exactly; how it is spread converges
    // with the chords as the arc is refined.
    std::array<double, 3> f = mesh.edgeDof[e].force;
    if (!mesh.edgeArcRatio.empty())
      for (double& component : f) component *= mesh.edgeArcRatio[static_cast<std::size_t>(e)];
    const double dx = mesh.x[a] - mesh.x[b], dy = mesh.y[a] - mesh.y[b];
    const double h = std::sqrt(dx * dx + dy * dy) * 0.5;
    if (edgeLoads == EdgeLoadKind::Lumped) {
      for (int end : {a, b})
        for (int d = 0; d < 3; ++d) load[3 * meshToNew[end] + d] += f[d] * h;
      continue;
    }
    if (f[0] == 0.0 && f[1] == 0.0 && f[2] == 0.0) continue;
    const long double length = 2.0L * h;
    const long double sx = -dx / length, sy = -dy / length;  // from a to b
    const long double nx = sy, ny = -sx;
    const long double bending = f[1] * sx + f[2] * sy;   // moment about s, per unit length
    const long double twisting = f[1] * nx + f[2] * ny;  // moment about n, per unit length
    const long double endMoment = f[0] * length * length / 12.0L;
    const int ea = 3 * meshToNew[a], eb = 3 * meshToNew[b];
    load[ea] += f[0] * h - twisting;
    load[eb] += f[0] * h + twisting;
    load[ea + 1] += bending * h * sx + endMoment * nx;
    load[ea + 2] += bending * h * sy + endMoment * ny;
    load[eb + 1] += bending * h * sx - endMoment * nx;
    load[eb + 2] += bending * h * sy - endMoment * ny;
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

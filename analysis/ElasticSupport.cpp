// Springs and foundation: their check and their lumped diagonal terms.
#include "analysis/ElasticSupport.h"

#include <cmath>

namespace tavrin {

namespace {
const char* const kFreedomNames[3] = {"lin. Z", "rot. X", "rot. Y"};

bool Sound(double k) { return std::isfinite(k) && k >= 0; }
}  // namespace

std::string CheckElasticSupport(const PlateMesh& mesh, const DofNumbering& numbering) {
  const auto& meshToNew = numbering.MeshToNew();
  for (int i = 0; i < mesh.NodeCount(); ++i)
    for (int d = 0; d < 3; ++d) {
      const double k = mesh.nodeDof[i].spring[d];
      if (!Sound(k))
        return "The spring of mesh node " + std::to_string(i) + " on " + kFreedomNames[d] +
               " is negative or not finite.";
      if (k != 0 && numbering.IsFixed(3 * meshToNew[i] + d))
        return "Mesh node " + std::to_string(i) + " is both held rigidly and on a spring in " +
               kFreedomNames[d] + ".";
    }
  for (int e = 0; e < mesh.EdgeCount(); ++e)
    for (int d = 0; d < 3; ++d) {
      const double k = mesh.edgeDof[e].spring[d];
      if (!Sound(k))
        return "The spring of mesh edge " + std::to_string(e) + " on " + kFreedomNames[d] +
               " is negative or not finite.";
      for (int end = 0; end < 2; ++end)
        if (k != 0 && numbering.IsFixed(3 * meshToNew[mesh.edges[e][end]] + d))
          return "Mesh edge " + std::to_string(e) + " is on a spring in " + kFreedomNames[d] +
                 " where its node " + std::to_string(mesh.edges[e][end]) + " is held rigidly.";
    }
  for (int t = 0; t < mesh.TriangleCount(); ++t)
    if (!Sound(mesh.materials[t].foundation))
      return "The foundation modulus under element " + std::to_string(t) +
             " is negative or not finite.";
  return std::string();
}

ElasticTerms BuildElasticTerms(const PlateMesh& mesh, const DofNumbering& numbering) {
  const auto& meshToNew = numbering.MeshToNew();
  ElasticTerms terms;
  terms.spring.assign(numbering.EquationCount(), 0.0L);
  terms.foundation.assign(numbering.EquationCount(), 0.0L);
  terms.tributaryArea.assign(numbering.NodeCount(), 0.0);
  for (int i = 0; i < mesh.NodeCount(); ++i)
    for (int d = 0; d < 3; ++d) terms.spring[3 * meshToNew[i] + d] += mesh.nodeDof[i].spring[d];
  for (int e = 0; e < mesh.EdgeCount(); ++e) {
    const int a = mesh.edges[e][0], b = mesh.edges[e][1];
    const long double half = 0.5L * std::hypot(static_cast<long double>(mesh.x[a] - mesh.x[b]),
                                               static_cast<long double>(mesh.y[a] - mesh.y[b]));
    for (int end : {a, b})
      for (int d = 0; d < 3; ++d)
        terms.spring[3 * meshToNew[end] + d] += mesh.edgeDof[e].spring[d] * half;
  }
  for (int t = 0; t < mesh.TriangleCount(); ++t) {
    const auto& c = mesh.triangles[t];
    const long double third =
        std::fabs((static_cast<long double>(mesh.x[c[1]]) - mesh.x[c[0]]) *
                      (static_cast<long double>(mesh.y[c[2]]) - mesh.y[c[0]]) -
                  (static_cast<long double>(mesh.y[c[1]]) - mesh.y[c[0]]) *
                      (static_cast<long double>(mesh.x[c[2]]) - mesh.x[c[0]])) /
        6.0L;
    const double k = mesh.materials[t].foundation;
    for (int corner = 0; corner < 3; ++corner) {
      const int v = meshToNew[c[corner]];
      terms.tributaryArea[v] += static_cast<double>(third);
      terms.foundation[3 * v] += k * third;
    }
  }
  for (std::size_t e = 0; e < terms.spring.size() && !terms.any; ++e)
    terms.any = terms.spring[e] != 0.0L || terms.foundation[e] != 0.0L;
  return terms;
}

}  // namespace tavrin

// Stiffness diagnosis: E t^3 per element in extended precision (whose range still holds what a
// double cannot), then every pair of elements sharing an edge compared.
#include "analysis/StiffnessDiagnosis.h"

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <unordered_map>

#include "containers/NodePairKey.h"

namespace tavrin {

namespace {

long double BendingStiffness(const ElementPhysics& m) {
  const long double t = m.thickness;
  return static_cast<long double>(m.eModulus) * t * t * t;
}

}  // namespace

std::string DiagnoseStiffness(const PlateMesh& mesh) {
  const int triangles = mesh.TriangleCount();
  char text[400];
  for (int t = 0; t < triangles; ++t) {
    const ElementPhysics& m = mesh.materials[t];
    const long double d = BendingStiffness(m);
    if (std::fabs(d) >= DBL_MIN) continue;
    std::snprintf(text, sizeof text,
                  "the bending stiffness E t^3 = %.3Lg of element %d (E %g, thickness %g) "
                  "underflows the range of the numbers: the plate is far too thin.",
                  d, t, m.eModulus, m.thickness);
    return text;
  }
  // The largest ratio between two elements sharing an edge.
  std::unordered_map<std::uint64_t, int> firstOfEdge;
  firstOfEdge.reserve(static_cast<size_t>(triangles) * 2);
  long double worst = 1.0L;
  int soft = -1, stiff = -1;
  for (int t = 0; t < triangles; ++t) {
    const auto& c = mesh.triangles[t];
    for (int k = 0; k < 3; ++k) {
      const auto [it, added] = firstOfEdge.emplace(NodePairKey(c[k], c[(k + 1) % 3]), t);
      if (added) continue;
      const long double a = BendingStiffness(mesh.materials[it->second]);
      const long double b = BendingStiffness(mesh.materials[t]);
      const long double ratio = a > b ? a / b : b / a;
      if (ratio > worst) {
        worst = ratio;
        soft = a > b ? t : it->second;
        stiff = a > b ? it->second : t;
      }
    }
  }
  if (worst < kStiffnessContrastLimit) return std::string();
  const ElementPhysics& s = mesh.materials[soft];
  const ElementPhysics& h = mesh.materials[stiff];
  std::snprintf(text, sizeof text,
                "the bending stiffness E t^3 of element %d (E %g, thickness %g) is %.3Lg of its "
                "neighbour element %d's (E %g, thickness %g), a contrast beyond the precision of "
                "the numbers.",
                soft, s.eModulus, s.thickness, 1.0L / worst, stiff, h.eModulus, h.thickness);
  return text;
}

}  // namespace tavrin

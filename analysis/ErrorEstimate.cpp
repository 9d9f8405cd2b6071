// Zienkiewicz-Zhu error estimate: the recovered moments stand in for the exact ones, so the
// energy norm of (recovered - element) over an element estimates the element's error. The
// integrals use the edge midpoints, exact for the quadratic integrand of a linearly
// interpolated recovered field and constant element moments. One pass over the elements.
#include <cmath>

#include "analysis/TGlobMatrix.h"

namespace tavrin {

namespace {
// m . C m with C the bending compliance of a plate of modulus E, ratio nu and thickness t.
double Energy(const double m[3], double e, double nu, double t) {
  const double c = 12.0 / (e * t * t * t);
  return c * (m[0] * m[0] + m[1] * m[1] - 2 * nu * m[0] * m[1] + 2 * (1 + nu) * m[2] * m[2]);
}
}  // namespace

void TGlobMatrix::EstimateErrors() {
  elementError_.assign(triangleCount_, 0.0);
  double errorSum = 0, energySum = 0;
  for (int t = 0; t < triangleCount_; ++t) {
    const auto& tn = TriangleNodes()[t];
    const auto& c = mesh_.triangles[t];
    const double area =
        0.5 * std::fabs((mesh_.x[c[1]] - mesh_.x[c[0]]) * (mesh_.y[c[2]] - mesh_.y[c[0]]) -
                        (mesh_.y[c[1]] - mesh_.y[c[0]]) * (mesh_.x[c[2]] - mesh_.x[c[0]]));
    const ElementPhysics& m = mesh_.materials[t];
    const double* own = &elementMoment_[3 * t];
    double e2 = 0;
    for (int k = 0; k < 3; ++k) {
      const int a = tn[k], b = tn[(k + 1) % 3];
      double d[3];
      for (int j = 0; j < 3; ++j)
        d[j] = 0.5 * (nodeMoment_[3 * a + j] + nodeMoment_[3 * b + j]) - own[j];
      e2 += Energy(d, m.eModulus, m.nu, m.thickness);
    }
    e2 *= area / 3;
    // An element whose material made no stiffness solved nothing; it contributes nothing here.
    if (!std::isfinite(e2)) e2 = 0;
    const double energy = area * Energy(own, m.eModulus, m.nu, m.thickness);
    elementError_[t] = std::sqrt(e2);
    errorSum += e2;
    if (std::isfinite(energy)) energySum += energy;
  }
  errorEstimate_ = errorSum + energySum > 0 ? std::sqrt(errorSum / (errorSum + energySum)) : 0.0;
}

double TGlobMatrix::ElementError(int triangle) const {
  if (!hasStresses_ || triangle < 0 || triangle >= triangleCount_) return kNoValue;
  return elementError_[triangle];
}

double TGlobMatrix::ErrorEstimate() const { return hasStresses_ ? errorEstimate_ : kNoValue; }

}  // namespace tavrin

// Reactions and the check of a solution: the element stiffnesses times the solution, summed per
// equation in extended precision, less the applied load there (K u - f). At a constrained
// freedom that is the reaction; at a free one it is the residual of the solved equations, and
// ought to be round-off. Built from the element matrices rather than from the assembled storage
// (which the envelope solver has overwritten with its factor), so a fault of assembly or of
// either factorization shows in it. One more pass over the elements, linear in their number.
#include <algorithm>
#include <cmath>
#include <vector>

#include "analysis/PlateElement.h"
#include "analysis/TGlobMatrix.h"

namespace tavrin {

void TGlobMatrix::ComputeReactions(long double loadNorm) {
  std::vector<long double> internal(equationCount_, 0.0L);
  long double termsZ = 0.0L;  // sum of |k u| over the terms of the vertical equations: the scale of their round-off
  auto element = MakePlateElement(elementKind_);
  double in[10];
  for (int t = 0; t < triangleCount_; ++t) {
    ElementInput(t, in);
    if (element->BuildStiffness(in[0], in[1], in[2], in[3], in[4], in[5], in[6], in[7], in[8], in[9]) != kElementOk)
      continue;  // cannot happen after a successful assembly
    const auto& tn = triangleNodes_[t];
    long double u[9];
    for (int k = 0; k < 9; ++k) u[k] = Displacement(tn[k / 3], k % 3);
    for (int i = 0; i < 9; ++i) {
      long double f = 0.0L;
      for (int j = 0; j < 9; ++j) {
        const long double term = element->StiffnessAt(i, j) * u[j];
        f += term;
        if (i % 3 == 0) termsZ += std::fabs(term);
      }
      internal[3 * tn[i / 3] + i % 3] += f;
    }
  }
  reactions_.assign(equationCount_, 0.0);
  long double sumZ = 0.0L, residual = 0.0L;
  for (int e = 0; e < equationCount_; ++e) {
    const long double r = internal[e] - loads_[e];
    if (e % 3 == 0) termsZ += std::fabs(loads_[e]);
    if (!fixed_[e]) {
      residual += r * r;
      continue;
    }
    reactions_[e] = static_cast<double>(r);
    if (e % 3 == 0) sumZ += r;
  }
  reactionZ_ = static_cast<double>(sumZ);
  residual = std::sqrt(residual);
  // No load at all solves to exactly zero, where any residual would be a fault.
  relativeResidual_ = loadNorm > 0.0L ? static_cast<double>(residual / loadNorm) : (residual > 0.0L ? HUGE_VAL : 0.0);
  // The vertical loads and reactions cancel exactly in exact arithmetic (a rigid lift does no
  // work); what is left is round-off of the terms summed, unless the solution is wrong.
  const long double imbalance = std::fabs(sumZ + loadZ_);
  loadImbalance_ = termsZ > 0.0L ? static_cast<double>(imbalance / termsZ) : 0.0;
}

}  // namespace tavrin

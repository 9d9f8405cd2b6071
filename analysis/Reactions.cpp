// Reactions and the check of a solution: K u - f per equation, in extended precision. At a
// constrained freedom that is the reaction; at a free one it is the residual of the solved
// equations, and ought to be round-off.
//
// The envelope solver has overwritten its matrix with the factor, so with it everything comes
// from the element matrices, rebuilt in one more pass over the elements. The sparse solver keeps
// its assembled matrix: the residual is that matrix times the solution less the reduced loads,
// and only the elements at a constrained freedom are rebuilt for the reactions, which spares
// a pass over the elements that costs as much as the assembly. Either way a fault of the
// factorization or the substitutions shows in the residual.
#include <algorithm>
#include <cmath>
#include <vector>

#include "analysis/PlateElement.h"
#include "analysis/SparseCholesky.h"
#include "analysis/TGlobMatrix.h"

namespace tavrin {

void TGlobMatrix::ComputeReactions(long double loadNorm,
                                   const std::vector<long double>& reducedLoad) {
  std::vector<long double> internal(equationCount_, 0.0L);
  long double termsZ =
      0.0L;  // sum of |k u| over the terms of the vertical equations: the scale of their round-off
  auto element = MakePlateElement(elementKind_);
  double in[10];
  const bool everyElement = !sparse_;
  for (int t = 0; t < triangleCount_; ++t) {
    const auto& tn = triangleNodes_[t];
    bool held = everyElement;
    for (int k = 0; k < 9 && !held; ++k) held = fixed_[3 * tn[k / 3] + k % 3] != 0;
    if (!held) continue;
    ElementInput(t, in);
    if (element->BuildStiffness(in[0], in[1], in[2], in[3], in[4], in[5], in[6], in[7], in[8],
                                in[9]) != kElementOk)
      continue;  // cannot happen after a successful assembly
    long double u[9];
    for (int k = 0; k < 9; ++k) u[k] = Displacement(tn[k / 3], k % 3);
    for (int i = 0; i < 9; ++i) {
      const int e = 3 * tn[i / 3] + i % 3;
      if (!everyElement && !fixed_[e]) continue;
      long double f = 0.0L;
      for (int j = 0; j < 9; ++j) {
        const long double term = element->StiffnessAt(i, j) * u[j];
        f += term;
        if (i % 3 == 0) termsZ += std::fabs(term);
      }
      internal[e] += f;
    }
  }
  long double residual = 0.0L;
  if (!everyElement && freeCount_ > 0) {
    std::vector<long double> product, magnitude;
    sparse_->Multiply(rhs_, product, &magnitude);
    for (int e = 0; e < equationCount_; ++e) {
      if (fixed_[e]) continue;
      const int r = reducedIndex_[e];
      const long double d = product[r] - reducedLoad[r];
      residual += d * d;
      if (e % 3 == 0) termsZ += magnitude[r] + std::fabs(reducedLoad[r]);
    }
  }
  reactions_.assign(equationCount_, 0.0);
  long double sumZ = 0.0L;
  for (int e = 0; e < equationCount_; ++e) {
    const long double r = internal[e] - loads_[e];
    if (e % 3 == 0) termsZ += std::fabs(loads_[e]);
    if (!fixed_[e]) {
      if (everyElement) residual += r * r;
      continue;
    }
    reactions_[e] = static_cast<double>(r);
    if (e % 3 == 0) sumZ += r;
  }
  reactionZ_ = static_cast<double>(sumZ);
  residual = std::sqrt(residual);
  // No load at all solves to exactly zero, where any residual would be a fault.
  relativeResidual_ = loadNorm > 0.0L ? static_cast<double>(residual / loadNorm)
                                      : (residual > 0.0L ? HUGE_VAL : 0.0);
  // The vertical loads and reactions cancel exactly in exact arithmetic (a rigid lift does no
  // work); what is left is round-off of the terms summed, unless the solution is wrong.
  const long double imbalance = std::fabs(sumZ + loadZ_);
  loadImbalance_ = termsZ > 0.0L ? static_cast<double>(imbalance / termsZ) : 0.0;
}

}  // namespace tavrin

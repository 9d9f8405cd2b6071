// Reactions and the check of a solution: K u - f per equation, in extended precision. At a
// constrained freedom that is the reaction; at a free one it is the residual of the solved
// equations, and ought to be round-off.
//
// A matrix factored in place (the envelope) has lost its assembled values, so everything comes
// from the element matrices, rebuilt in one more pass over the elements. A matrix that keeps
// them (the sparse one) gives the residual as that matrix times the solution less the reduced
// loads, and only the elements at a constrained freedom are rebuilt for the reactions, which
// spares a pass over the elements that costs as much as the assembly. Either way a fault of the
// factorization or the substitutions shows in the residual.
#include "analysis/SolutionCheck.h"

#include <cmath>

namespace tavrin {

void CheckSolution(const PlateMesh& mesh, ElementKind kind, const SystemMatrix& matrix,
                   long double loadNorm, const std::vector<long double>& reducedLoad,
                   StaticSolution& solution) {
  const DofNumbering& numbering = solution.numbering;
  const int equations = numbering.EquationCount();
  std::vector<long double> internal(equations, 0.0L);
  // Sum of |k u| over the terms of the vertical equations: the scale of their round-off.
  long double termsZ = 0.0L;
  auto element = MakePlateElement(kind);
  double in[10];
  const bool everyElement = !matrix.KeepsAssembledMatrix();
  for (int t = 0; t < mesh.TriangleCount(); ++t) {
    const auto& tn = numbering.TriangleNodes()[t];
    bool held = everyElement;
    for (int k = 0; k < 9 && !held; ++k) held = numbering.IsFixed(3 * tn[k / 3] + k % 3);
    if (!held) continue;
    mesh.ElementInput(t, in);
    if (element->BuildStiffness(in[0], in[1], in[2], in[3], in[4], in[5], in[6], in[7], in[8],
                                in[9]) != ElementCode::Ok)
      continue;  // cannot happen after a successful assembly
    long double u[9];
    for (int k = 0; k < 9; ++k) u[k] = solution.Displacement(tn[k / 3], k % 3);
    for (int i = 0; i < 9; ++i) {
      const int e = 3 * tn[i / 3] + i % 3;
      if (!everyElement && !numbering.IsFixed(e)) continue;
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
  if (!everyElement && numbering.FreeCount() > 0) {
    std::vector<long double> product, magnitude;
    matrix.Multiply(solution.reduced, product, &magnitude);
    for (int e = 0; e < equations; ++e) {
      if (numbering.IsFixed(e)) continue;
      const int r = numbering.Reduced(e);
      const long double d = product[r] - reducedLoad[r];
      residual += d * d;
      if (e % 3 == 0) termsZ += magnitude[r] + std::fabs(reducedLoad[r]);
    }
  }
  solution.reactions.assign(equations, 0.0);
  long double sumZ = 0.0L;
  for (int e = 0; e < equations; ++e) {
    const long double r = internal[e] - solution.loads[e];
    if (e % 3 == 0) termsZ += std::fabs(solution.loads[e]);
    if (!numbering.IsFixed(e)) {
      if (everyElement) residual += r * r;
      continue;
    }
    solution.reactions[e] = static_cast<double>(r);
    if (e % 3 == 0) sumZ += r;
  }
  solution.reactionZ = static_cast<double>(sumZ);
  residual = std::sqrt(residual);
  // No load at all solves to exactly zero, where any residual would be a fault.
  solution.relativeResidual = loadNorm > 0.0L ? static_cast<double>(residual / loadNorm)
                                              : (residual > 0.0L ? HUGE_VAL : 0.0);
  // The vertical loads and reactions cancel exactly in exact arithmetic (a rigid lift does no
  // work); what is left is round-off of the terms summed, unless the solution is wrong.
  const long double imbalance = std::fabs(sumZ + solution.loadZ);
  solution.loadImbalance = termsZ > 0.0L ? static_cast<double>(imbalance / termsZ) : 0.0;
}

}  // namespace tavrin

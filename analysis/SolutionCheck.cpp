// Reactions and the check of a solution: K u - f per equation, in extended precision. At a
// constrained freedom that is the reaction; at a free one it is the residual of the solved
// equations, and ought to be round-off.
//
// A matrix factored in place (the envelope) has lost its assembled values, so everything comes
// from the element matrices, rebuilt in one more pass over the elements. A matrix that keeps
// them (the sparse one) gives the residual as that matrix times the solution less the reduced
// loads, and only the elements at a constrained freedom are rebuilt for the reactions, which
// spares a pass over the elements that costs as much as the assembly. Either way a fault of the
// factorization or the substitutions shows in the residual. Then the balance of loads and
// reactions, one pass over the nodes.
#include "analysis/SolutionCheck.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace tavrin {

void CheckSolution(const PlateMesh& mesh, ElementKind kind, const SystemMatrix& matrix,
                   long double loadNorm, const std::vector<long double>& reducedLoad,
                   const ElasticTerms* elastic, StaticSolution& solution,
                   const long double* residualSquares, HeldElements* held) {
  const DofNumbering& numbering = solution.numbering;
  const int equations = numbering.EquationCount();
  std::vector<long double> internal(equations, 0.0L);
  // Sum of |k u| over the terms of the vertical equations: the scale of their round-off, and of
  // the balance of an element that does not balance exactly.
  long double termsZ = 0.0L;
  auto element = MakePlateElement(kind);
  double in[10];
  const bool everyElement = !matrix.KeepsAssembledMatrix();
  // K u of one element at the rows the check reads, `k` giving its coefficients.
  auto addElement = [&](int t, const auto& k) {
    const auto& tn = numbering.TriangleNodes()[t];
    long double u[9];
    for (int j = 0; j < 9; ++j) u[j] = solution.Displacement(tn[j / 3], j % 3);
    for (int i = 0; i < 9; ++i) {
      const int e = 3 * tn[i / 3] + i % 3;
      if (!everyElement && !numbering.IsFixed(e)) continue;
      long double f = 0.0L;
      for (int j = 0; j < 9; ++j) {
        const long double term = k(i, j) * u[j];
        f += term;
        if (i % 3 == 0) termsZ += std::fabs(term);
      }
      internal[e] += f;
    }
  };
  if (held && held->made && !everyElement) {
    for (std::size_t h = 0; h < held->triangles.size(); ++h) {
      const long double* k = &held->stiffness[81 * h];
      addElement(held->triangles[h], [k](int i, int j) { return k[9 * i + j]; });
    }
  } else {
    const bool keep = held && !everyElement;
    if (keep) *held = HeldElements{};
    for (int t = 0; t < mesh.TriangleCount(); ++t) {
      const auto& tn = numbering.TriangleNodes()[t];
      bool atHeld = everyElement;
      for (int k = 0; k < 9 && !atHeld; ++k) atHeld = numbering.IsFixed(3 * tn[k / 3] + k % 3);
      if (!atHeld) continue;
      mesh.ElementInput(t, in);
      if (element->BuildStiffness(in[0], in[1], in[2], in[3], in[4], in[5], in[6], in[7], in[8],
                                  in[9]) != ElementCode::Ok)
        continue;  // cannot happen after a successful assembly
      addElement(t, [&](int i, int j) { return element->StiffnessAt(i, j); });
      if (!keep) continue;
      held->triangles.push_back(t);
      for (int i = 0; i < 9; ++i)
        for (int j = 0; j < 9; ++j) held->stiffness.push_back(element->StiffnessAt(i, j));
    }
    if (keep) held->made = true;
  }
  if (elastic) {
    // The diagonal terms at every freedom the element pass covered.
    for (int e = 0; e < equations; ++e) {
      if (!everyElement && !numbering.IsFixed(e)) continue;
      const long double k = elastic->spring[e] + elastic->foundation[e];
      if (k == 0.0L) continue;
      const long double term = k * solution.Displacement(e / 3, e % 3);
      internal[e] += term;
      if (e % 3 == 0) termsZ += std::fabs(term);
    }
  }
  long double residual = 0.0L;
  const bool multiplies = !everyElement && numbering.FreeCount() > 0;
  if (multiplies && residualSquares) {
    residual = *residualSquares;
  } else if (multiplies) {
    std::vector<long double> ku;
    matrix.Multiply(solution.reduced, ku, nullptr);
    for (int e = 0; e < equations; ++e) {
      if (numbering.IsFixed(e)) continue;
      const int r = numbering.Reduced(e);
      const long double d = ku[r] - reducedLoad[r];
      residual += d * d;
    }
  }
  solution.reactions.assign(equations, 0.0);
  std::vector<long double> reactions(equations, 0.0L);  // unrounded: the balance reads these
  long double sumZ = 0.0L;
  for (int e = 0; e < equations; ++e) {
    const long double r = internal[e] - solution.loads[e];
    if (!numbering.IsFixed(e)) {
      if (everyElement) residual += r * r;
      continue;
    }
    solution.reactions[e] = static_cast<double>(r);
    reactions[e] = r;
    if (e % 3 == 0) sumZ += r;
  }
  // The magnitudes of the product's terms, the loads' and the reduced loads' in the vertical
  // equations, only when the balance is measured against them: the product again, with them.
  auto terms = [&] {
    if (multiplies) {
      std::vector<long double> product, magnitude;
      matrix.Multiply(solution.reduced, product, &magnitude);
      for (int e = 0; e < equations; e += 3) {
        if (numbering.IsFixed(e)) continue;
        const int r = numbering.Reduced(e);
        termsZ += magnitude[r] + std::fabs(reducedLoad[r]);
      }
    }
    for (int e = 0; e < equations; e += 3) termsZ += std::fabs(solution.loads[e]);
    return termsZ;
  };
  solution.reactionZ = static_cast<double>(sumZ);
  if (elastic) {
    solution.springForces.assign(equations, 0.0);
    solution.foundationForces.assign(equations, 0.0);
    long double springZ = 0.0L, foundationZ = 0.0L;
    for (int e = 0; e < equations; ++e) {
      if (numbering.IsFixed(e)) continue;
      const long double u = solution.Displacement(e / 3, e % 3);
      const long double spring = -elastic->spring[e] * u, ground = -elastic->foundation[e] * u;
      solution.springForces[e] = static_cast<double>(spring);
      solution.foundationForces[e] = static_cast<double>(ground);
      reactions[e] += spring + ground;
      if (e % 3 == 0) {
        springZ += spring;
        foundationZ += ground;
      }
    }
    solution.springZ = static_cast<double>(springZ);
    solution.foundationZ = static_cast<double>(foundationZ);
    solution.foundationModulus.assign(numbering.NodeCount(), 0.0);
    for (int v = 0; v < numbering.NodeCount(); ++v)
      if (elastic->tributaryArea[v] > 0)
        solution.foundationModulus[v] =
            static_cast<double>(elastic->foundation[3 * v] / elastic->tributaryArea[v]);
  }
  residual = std::sqrt(residual);
  // No load at all solves to exactly zero, where any residual would be a fault.
  solution.relativeResidual = loadNorm > 0.0L ? static_cast<double>(residual / loadNorm)
                                              : (residual > 0.0L ? HUGE_VAL : 0.0);
  MeasureBalance(mesh, reactions, BalancesExactly(kind), terms, solution);
}

void MeasureBalance(const PlateMesh& mesh, const std::vector<long double>& reactions, bool exact,
                    const std::function<long double()>& termsZ, StaticSolution& solution) {
  // Loads and reactions cancel exactly in exact arithmetic for the vertical forces and for the
  // moments about both axes (a rigid lift or tilt does no work on the plate). The scale is the
  // load itself, or the reaction when that is larger: a scale built from the stiffness terms
  // grows with a prescribed displacement and would hide a load lost in its round-off.
  const DofNumbering& numbering = solution.numbering;
  const int nodes = numbering.NodeCount();
  long double cx = 0.0L, cy = 0.0L;
  for (int v = 0; v < nodes; ++v) {
    cx += mesh.x[numbering.NewToMesh()[v]];
    cy += mesh.y[numbering.NewToMesh()[v]];
  }
  if (nodes > 0) {
    cx /= nodes;
    cy /= nodes;
  }
  // Per component (z, about x, about y): the sums of the load and reaction terms, the sum of
  // the load terms' magnitudes, and the plate's reach from the centroid (the lever arm that
  // turns a force into a moment scale).
  std::array<long double, 3> load{}, loadSize{}, reaction{};
  long double reach = 0.0L;
  for (int v = 0; v < nodes; ++v) {
    const int m = numbering.NewToMesh()[v];
    const long double x = mesh.x[m] - cx, y = mesh.y[m] - cy;
    reach = std::max(reach, std::sqrt(x * x + y * y));
    const long double f[3] = {solution.loads[3 * v], solution.loads[3 * v + 1],
                              solution.loads[3 * v + 2]};
    const long double r[3] = {reactions[3 * v], reactions[3 * v + 1], reactions[3 * v + 2]};
    load[0] += f[0];
    load[1] += f[0] * y + f[1];
    load[2] += -f[0] * x + f[2];
    loadSize[0] += std::fabs(f[0]);
    loadSize[1] += std::fabs(f[0] * y) + std::fabs(f[1]);
    loadSize[2] += std::fabs(f[0] * x) + std::fabs(f[2]);
    reaction[0] += r[0];
    reaction[1] += r[0] * y + r[1];
    reaction[2] += -r[0] * x + r[2];
  }
  // The load as a force (moments over the reach), and as a moment (forces times the reach).
  const long double force =
      std::max(loadSize[0], reach > 0.0L ? (loadSize[1] + loadSize[2]) / reach : 0.0L);
  const long double scale[3] = {std::max(force, std::fabs(reaction[0])),
                                std::max({loadSize[1], force * reach, std::fabs(reaction[1])}),
                                std::max({loadSize[2], force * reach, std::fabs(reaction[2])})};
  solution.loadImbalance = 0.0;
  solution.balance = {0.0, 0.0, 0.0};
  // With no load at all (a prescribed motion alone) the reactions balance only one another, and
  // an element that does not balance exactly leaves forces of its own: both are measured, in
  // the vertical forces only, against the stiffness terms as well.
  const bool againstTerms = !exact || force == 0.0L;
  const long double terms = againstTerms ? termsZ() : 0.0L;
  for (int c = 0; c < (againstTerms ? 1 : 3); ++c) {
    const long double measure = againstTerms ? std::max(scale[c], terms) : scale[c];
    const long double imbalance = std::fabs(load[c] + reaction[c]);
    solution.balance[c] = measure > 0.0L ? static_cast<double>(imbalance / measure) : 0.0;
    solution.loadImbalance = std::max(solution.loadImbalance, solution.balance[c]);
  }
}

}  // namespace tavrin

// Superconvergent patch recovery. The element values are sampled at the centroids, where a
// plate element's moments are most accurate; a polynomial fitted over a patch of them is a
// better nodal value than their mean, above all at a boundary, where the mean lags by about an
// element's size behind the true value.
#include "analysis/PatchRecovery.h"

#include <algorithm>
#include <cmath>

namespace tavrin {

namespace {

constexpr int kMaxTerms = 6;

int Terms(PatchRecovery::Degree d) { return d == PatchRecovery::Degree::Quadratic ? 6 : 3; }

// The monomials at a point in the patch's scaled coordinates.
void Basis(double u, double v, int terms, double p[kMaxTerms]) {
  p[0] = 1;
  p[1] = u;
  p[2] = v;
  if (terms > 3) {
    p[3] = u * u;
    p[4] = u * v;
    p[5] = v * v;
  }
}

}  // namespace

struct PatchRecovery::Fit {
  double x0 = 0, y0 = 0, scale = 1;
  int terms = 0;  // 0: the plain mean in coefficient 0
  double c[kMaxComponents][kMaxTerms] = {};

  // The fit of every component at a point, into out[0 .. components - 1]; the monomials are
  // made once for all the components.
  void At(double x, double y, int components, double* out) const {
    if (terms == 0) {
      for (int k = 0; k < components; ++k) out[k] = c[k][0];
      return;
    }
    double p[kMaxTerms];
    Basis((x - x0) / scale, (y - y0) / scale, terms, p);
    for (int k = 0; k < components; ++k) {
      double s = 0;
      for (int i = 0; i < terms; ++i) s += c[k][i] * p[i];
      out[k] = s;
    }
  }
};

PatchRecovery::PatchRecovery(const std::vector<double>& x, const std::vector<double>& y,
                             const std::vector<std::array<int, 3>>& triangles)
    : x_(x), y_(y), triangles_(triangles) {
  const int nodes = static_cast<int>(x.size());
  const int count = static_cast<int>(triangles.size());
  cx_.resize(count);
  cy_.resize(count);
  start_.assign(nodes + 1, 0);
  for (int t = 0; t < count; ++t) {
    const auto& c = triangles[t];
    cx_[t] = (x[c[0]] + x[c[1]] + x[c[2]]) / 3;
    cy_[t] = (y[c[0]] + y[c[1]] + y[c[2]]) / 3;
    for (int k = 0; k < 3; ++k) ++start_[c[k] + 1];
  }
  for (int v = 0; v < nodes; ++v) start_[v + 1] += start_[v];
  list_.resize(start_[nodes]);
  std::vector<int> fill(start_.begin(), start_.end() - 1);
  for (int t = 0; t < count; ++t)
    for (int k = 0; k < 3; ++k) list_[fill[triangles[t][k]]++] = t;
  // A node is on the boundary when one of its edges belongs to a single triangle.
  onBoundary_.assign(nodes, 0);
  std::vector<int> seen;
  for (int v = 0; v < nodes; ++v) {
    seen.clear();
    for (int k = start_[v]; k < start_[v + 1]; ++k)
      for (int w : triangles[list_[k]])
        if (w != v) seen.push_back(w);
    std::sort(seen.begin(), seen.end());
    for (size_t i = 0; i < seen.size(); ++i) {
      const bool single =
          (i == 0 || seen[i - 1] != seen[i]) && (i + 1 == seen.size() || seen[i + 1] != seen[i]);
      if (single) {
        onBoundary_[v] = 1;
        break;
      }
    }
  }
}

void PatchRecovery::Patch(int node, bool widened, std::vector<int>& elements) const {
  elements.assign(list_.begin() + start_[node], list_.begin() + start_[node + 1]);
  if (!widened) return;
  const size_t ring = elements.size();
  for (size_t i = 0; i < ring; ++i)
    for (int w : triangles_[elements[i]])
      elements.insert(elements.end(), list_.begin() + start_[w], list_.begin() + start_[w + 1]);
  std::sort(elements.begin(), elements.end());
  elements.erase(std::unique(elements.begin(), elements.end()), elements.end());
}

void PatchRecovery::MakePlan(int node, Degree degree, Plan& plan) const {
  std::vector<int>& elements = plan.elements;
  plan.x0 = x_[node];
  plan.y0 = y_[node];
  for (int terms = Terms(degree); terms >= 3; terms -= 3) {
    for (bool widened : {false, true}) {
      // The elements around one node barely determine six terms, and a quadratic so fitted
      // swings wildly outside them: the boundary value it gives was off by 90 % at places.
      if (terms > 3 && !widened) continue;
      Patch(node, widened, elements);
      const int m = static_cast<int>(elements.size());
      // More samples than terms, so that the fit smooths rather than interpolates.
      if (m <= terms) continue;
      double scale = 0;
      for (int t : elements)
        scale = std::max({scale, std::fabs(cx_[t] - plan.x0), std::fabs(cy_[t] - plan.y0)});
      if (!(scale > 0)) continue;
      // Normal equations in scaled coordinates, solved by Cholesky in extended precision; a
      // pivot that collapses means the centroids cannot determine the polynomial.
      long double a[kMaxTerms][kMaxTerms] = {};
      plan.basis.resize(static_cast<std::size_t>(m) * terms);
      for (int k = 0; k < m; ++k) {
        const int t = elements[k];
        double* p = &plan.basis[static_cast<std::size_t>(k) * terms];
        Basis((cx_[t] - plan.x0) / scale, (cy_[t] - plan.y0) / scale, terms, p);
        for (int i = 0; i < terms; ++i)
          for (int j = 0; j <= i; ++j) a[i][j] += static_cast<long double>(p[i]) * p[j];
      }
      bool ok = true;
      for (int i = 0; i < terms && ok; ++i) {
        const long double original = a[i][i];
        for (int j = 0; j <= i; ++j) {
          long double s = a[i][j];
          for (int k = 0; k < j; ++k) s -= a[i][k] * a[j][k];
          if (j < i) {
            a[i][j] = s / a[j][j];
          } else if (!(s > 1e-10L * original)) {
            ok = false;
          } else {
            a[i][i] = std::sqrt(s);
          }
        }
      }
      if (!ok) continue;
      plan.factor.resize(static_cast<std::size_t>(terms) * terms);
      for (int i = 0; i < terms; ++i)
        for (int j = 0; j <= i; ++j) plan.factor[static_cast<std::size_t>(i) * terms + j] = a[i][j];
      plan.terms = terms;
      plan.scale = scale;
      return;
    }
  }
  // Nothing determined: the mean of the elements around the node.
  Patch(node, false, elements);
  plan.terms = 0;
  plan.basis.clear();
  plan.factor.clear();
}

void PatchRecovery::Apply(const Plan& plan, const Layout& values, int components, Fit& fit) const {
  const std::vector<int>& elements = plan.elements;
  fit.x0 = plan.x0;
  fit.y0 = plan.y0;
  fit.terms = plan.terms;
  fit.scale = plan.scale;
  const int terms = plan.terms;
  const std::size_t stride = values.inStride;
  if (terms == 0) {
    for (int c = 0; c < components; ++c) {
      double sum = 0;
      for (int t : elements) sum += values.in[c][stride * t];
      fit.c[c][0] = elements.empty() ? 0.0 : sum / static_cast<double>(elements.size());
    }
    return;
  }
  // Each sum over the patch in the patch's order; a component's sums side by side, so that
  // they run in parallel rather than one after another (the linear fit's three in registers).
  long double b[kMaxComponents][kMaxTerms];
  const std::size_t count = elements.size();
  const double* basis = plan.basis.data();
  for (int c = 0; c < components; ++c) {
    const double* in = values.in[c];
    if (terms == 3) {
      long double s0 = 0.0L, s1 = 0.0L, s2 = 0.0L;
      for (std::size_t k = 0; k < count; ++k) {
        const long double v = in[stride * elements[k]];
        s0 += static_cast<long double>(basis[3 * k]) * v;
        s1 += static_cast<long double>(basis[3 * k + 1]) * v;
        s2 += static_cast<long double>(basis[3 * k + 2]) * v;
      }
      b[c][0] = s0;
      b[c][1] = s1;
      b[c][2] = s2;
      continue;
    }
    long double* sum = b[c];
    for (int i = 0; i < terms; ++i) sum[i] = 0.0L;
    for (std::size_t k = 0; k < count; ++k) {
      const long double v = in[stride * elements[k]];
      for (int i = 0; i < terms; ++i)
        sum[i] += static_cast<long double>(basis[k * static_cast<std::size_t>(terms) + i]) * v;
    }
  }
  auto a = [&](int i, int j) { return plan.factor[static_cast<std::size_t>(i) * terms + j]; };
  for (int c = 0; c < components; ++c) {
    long double z[kMaxTerms];
    for (int i = 0; i < terms; ++i) {
      long double s = b[c][i];
      for (int k = 0; k < i; ++k) s -= a(i, k) * z[k];
      z[i] = s / a(i, i);
    }
    for (int i = terms - 1; i >= 0; --i) {
      long double s = z[i];
      for (int k = i + 1; k < terms; ++k) s -= a(k, i) * z[k];
      z[i] = s / a(i, i);
    }
    for (int i = 0; i < terms; ++i) fit.c[c][i] = static_cast<double>(z[i]);
  }
}

void PatchRecovery::Recover(const std::vector<double>& elementValues, int components,
                            std::vector<double>& nodeValues) {
  components = std::min(components, kMaxComponents);
  nodeValues.assign(static_cast<size_t>(components) * x_.size(), 0.0);
  Layout layout;
  layout.inStride = layout.outStride = static_cast<std::size_t>(components);
  for (int c = 0; c < components; ++c) {
    layout.in.push_back(elementValues.data() + c);
    layout.out.push_back(nodeValues.data() + c);
  }
  Recover(layout);
}

void PatchRecovery::Recover(const Layout& layout) {
  const int nodes = static_cast<int>(x_.size());
  const int components = std::min(static_cast<int>(layout.in.size()), kMaxComponents);
  const auto put = [&](int v, const double* at) {
    for (int c = 0; c < components; ++c) layout.out[c][layout.outStride * v] = at[c];
  };
  // The boundary nodes' sums of the fits that reach them, in slots of their own: the boundary
  // is a small part of the mesh.
  std::vector<int> slot(static_cast<std::size_t>(nodes), -1);
  int boundaryNodes = 0;
  for (int v = 0; v < nodes; ++v)
    if (onBoundary_[v] && TriangleCount(v) > 0) slot[v] = boundaryNodes++;
  std::vector<double> boundarySum(static_cast<size_t>(components) * boundaryNodes, 0.0);
  std::vector<int> boundaryCount(static_cast<std::size_t>(boundaryNodes), 0);
  std::vector<int> reached;
  // The fits' geometry, made for each node in turn, or once and kept when asked.
  const bool plan = !keep_ || interiorPlans_.empty();
  if (keep_ && plan) {
    interiorPlans_.resize(static_cast<std::size_t>(nodes));
    boundaryPlans_.resize(static_cast<std::size_t>(nodes));
  }
  Plan scratch;
  auto fitAt = [&](std::vector<Plan>& plans, int v, Degree degree, Fit& fit) {
    Plan& p = keep_ ? plans[static_cast<std::size_t>(v)] : scratch;
    if (plan) MakePlan(v, degree, p);
    Apply(p, layout, components, fit);
  };
  Fit fit;
  const double zeros[kMaxComponents] = {};
  double at[kMaxComponents];
  for (int v = 0; v < nodes; ++v) {
    if (TriangleCount(v) == 0) put(v, zeros);
    if (onBoundary_[v] || TriangleCount(v) == 0) continue;
    fitAt(interiorPlans_, v, interior_, fit);
    fit.At(x_[v], y_[v], components, at);
    put(v, at);
    // The boundary nodes of this patch take its fit at their own positions.
    reached.clear();
    for (int k = start_[v]; k < start_[v + 1]; ++k)
      for (int w : triangles_[list_[k]])
        if (onBoundary_[w]) reached.push_back(w);
    if (reached.empty()) continue;
    std::sort(reached.begin(), reached.end());
    reached.erase(std::unique(reached.begin(), reached.end()), reached.end());
    if (boundary_ != interior_) fitAt(boundaryPlans_, v, boundary_, fit);
    for (int w : reached) {
      const auto s = static_cast<std::size_t>(slot[w]);
      ++boundaryCount[s];
      fit.At(x_[w], y_[w], components, at);
      for (int c = 0; c < components; ++c) boundarySum[components * s + c] += at[c];
    }
  }
  for (int v = 0; v < nodes; ++v) {
    if (!onBoundary_[v] || TriangleCount(v) == 0) continue;
    const auto s = static_cast<std::size_t>(slot[v]);
    if (boundaryCount[s] > 0) {
      for (int c = 0; c < components; ++c)
        at[c] = boundarySum[components * s + c] / boundaryCount[s];
      put(v, at);
      continue;
    }
    fitAt(boundaryPlans_, v, boundary_, fit);
    fit.At(x_[v], y_[v], components, at);
    put(v, at);
  }
}

}  // namespace tavrin

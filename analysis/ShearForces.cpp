// Shear forces by differentiated patch fits; the construction of the patches, the least-squares
// fit (normal equations in coordinates scaled to the patch, Gaussian elimination with partial
// pivoting) and the averaging at boundary nodes and elements.
#include "analysis/ShearForces.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <unordered_map>

namespace tavrin {

namespace {

constexpr int kTerms = 6;  // 1, u, v, u^2, u v, v^2 in scaled coordinates around the centre

// A fit of Mx, My and Mxy around a centre, in coordinates (x - cx) / h, (y - cy) / h.
struct Fit {
  double cx = 0, cy = 0, h = 1;
  double c[3][kTerms] = {};  // coefficients per moment
  bool ok = false;
};

// Solves the n x n system a x = b for three right-hand sides; false when a pivot is below
// 1e-12 of the largest diagonal entry.
bool Solve(int n, double a[kTerms][kTerms], double b[3][kTerms]) {
  double largest = 0;
  for (int i = 0; i < n; ++i) largest = std::max(largest, std::abs(a[i][i]));
  for (int k = 0; k < n; ++k) {
    int p = k;
    for (int i = k + 1; i < n; ++i) {
      if (std::abs(a[i][k]) > std::abs(a[p][k])) p = i;
    }
    if (!(std::abs(a[p][k]) > 1e-12 * largest)) return false;
    for (int j = 0; j < n; ++j) std::swap(a[k][j], a[p][j]);
    for (int r = 0; r < 3; ++r) std::swap(b[r][k], b[r][p]);
    for (int i = k + 1; i < n; ++i) {
      const double f = a[i][k] / a[k][k];
      for (int j = k; j < n; ++j) a[i][j] -= f * a[k][j];
      for (int r = 0; r < 3; ++r) b[r][i] -= f * b[r][k];
    }
  }
  for (int r = 0; r < 3; ++r) {
    double* rhs = b[r];
    for (int k = n - 1; k >= 0; --k) {
      for (int j = k + 1; j < n; ++j) rhs[k] -= a[k][j] * rhs[j];
      rhs[k] /= a[k][k];
    }
  }
  return true;
}

class ShearRecovery {
 public:
  ShearRecovery(const std::vector<double>& x, const std::vector<double>& y,
                const std::vector<std::array<int, 3>>& triangles,
                const std::vector<double>& moments)
      : x_(x), y_(y), triangles_(triangles), moments_(moments) {
    const std::size_t n = x.size();
    start_.assign(n + 1, 0);
    for (const auto& t : triangles)
      for (const int v : t) ++start_[static_cast<std::size_t>(v) + 1];
    for (std::size_t v = 0; v < n; ++v) start_[v + 1] += start_[v];
    list_.resize(static_cast<std::size_t>(start_[n]));
    std::vector<int> fill(start_.begin(), start_.end() - 1);
    for (std::size_t t = 0; t < triangles.size(); ++t)
      for (const int v : triangles[t])
        list_[static_cast<std::size_t>(fill[static_cast<std::size_t>(v)]++)] = static_cast<int>(t);
    // A boundary node lies on an edge of one triangle only.
    std::unordered_map<std::uint64_t, int> edgeUse;
    for (const auto& t : triangles) {
      for (int k = 0; k < 3; ++k) ++edgeUse[Key(t[static_cast<std::size_t>(k)], t[(k + 1) % 3])];
    }
    boundary_.assign(n, 0);
    for (const auto& [key, count] : edgeUse) {
      if (count != 1) continue;
      boundary_[key >> 32] = 1;
      boundary_[key & 0xffffffffu] = 1;
    }
  }

  void Run(std::vector<double>& nodeShear, std::vector<double>& elementShear) const {
    const std::size_t n = x_.size();
    std::vector<Fit> fits(n);
    for (std::size_t v = 0; v < n; ++v) {
      if (!boundary_[v] && Count(v) > 0) fits[v] = FitAround(v);
    }
    nodeShear.assign(2 * n, 0.0);
    for (std::size_t v = 0; v < n; ++v) {
      if (Count(v) == 0) continue;
      if (!boundary_[v]) {
        Shear(fits[v], x_[v], y_[v], &nodeShear[2 * v]);
        continue;
      }
      // The interior nodes sharing an element with v, each once.
      std::vector<int> seen;
      double sum[2] = {0, 0};
      for (int k = start_[v]; k < start_[v + 1]; ++k) {
        for (const int w :
             triangles_[static_cast<std::size_t>(list_[static_cast<std::size_t>(k)])]) {
          const auto u = static_cast<std::size_t>(w);
          if (boundary_[u] || !fits[u].ok || std::find(seen.begin(), seen.end(), w) != seen.end())
            continue;
          seen.push_back(w);
          double q[2];
          Shear(fits[u], x_[v], y_[v], q);
          sum[0] += q[0];
          sum[1] += q[1];
        }
      }
      if (!seen.empty()) {
        nodeShear[2 * v] = sum[0] / static_cast<double>(seen.size());
        nodeShear[2 * v + 1] = sum[1] / static_cast<double>(seen.size());
      } else {
        Shear(FitAround(v), x_[v], y_[v], &nodeShear[2 * v]);
      }
    }
    elementShear.assign(2 * triangles_.size(), 0.0);
    for (std::size_t t = 0; t < triangles_.size(); ++t) {
      for (const int v : triangles_[t]) {
        elementShear[2 * t] += nodeShear[2 * static_cast<std::size_t>(v)] / 3;
        elementShear[2 * t + 1] += nodeShear[2 * static_cast<std::size_t>(v) + 1] / 3;
      }
    }
  }

 private:
  static std::uint64_t Key(int a, int b) {
    const auto lo = static_cast<std::uint64_t>(std::min(a, b));
    const auto hi = static_cast<std::uint64_t>(std::max(a, b));
    return (lo << 32) | hi;
  }
  int Count(std::size_t v) const { return start_[v + 1] - start_[v]; }

  // The elements around v and around their corners, each once.
  std::vector<int> Patch(std::size_t v) const {
    std::vector<int> patch;
    for (int k = start_[v]; k < start_[v + 1]; ++k) {
      for (const int w : triangles_[static_cast<std::size_t>(list_[static_cast<std::size_t>(k)])]) {
        const auto u = static_cast<std::size_t>(w);
        for (int j = start_[u]; j < start_[u + 1]; ++j) {
          const int t = list_[static_cast<std::size_t>(j)];
          if (std::find(patch.begin(), patch.end(), t) == patch.end()) patch.push_back(t);
        }
      }
    }
    return patch;
  }

  Fit FitAround(std::size_t v) const {
    Fit fit;
    fit.cx = x_[v];
    fit.cy = y_[v];
    const std::vector<int> patch = Patch(v);
    std::vector<std::array<double, 2>> at;
    double reach = 0;
    for (const int t : patch) {
      const auto& n = triangles_[static_cast<std::size_t>(t)];
      double px = 0, py = 0;
      for (const int w : n) {
        px += x_[static_cast<std::size_t>(w)] / 3;
        py += y_[static_cast<std::size_t>(w)] / 3;
      }
      at.push_back({px - fit.cx, py - fit.cy});
      reach = std::max(reach, std::hypot(px - fit.cx, py - fit.cy));
    }
    if (!(reach > 0)) return fit;
    fit.h = reach;
    // A quadratic needs more centroids than terms; a plane, then nothing, when it fails.
    for (const int terms : {kTerms, 3}) {
      if (static_cast<int>(patch.size()) <= terms) continue;
      double a[kTerms][kTerms] = {};
      double b[3][kTerms] = {};
      for (std::size_t k = 0; k < patch.size(); ++k) {
        double p[kTerms];
        Basis(at[k][0] / fit.h, at[k][1] / fit.h, p);
        const auto m = 3 * static_cast<std::size_t>(patch[k]);
        for (int i = 0; i < terms; ++i) {
          for (int j = 0; j < terms; ++j) a[i][j] += p[i] * p[j];
          for (int c = 0; c < 3; ++c) b[c][i] += p[i] * moments_[m + static_cast<std::size_t>(c)];
        }
      }
      if (!Solve(terms, a, b)) continue;
      for (int c = 0; c < 3; ++c)
        for (int i = 0; i < kTerms; ++i) fit.c[c][i] = i < terms ? b[c][i] : 0.0;
      fit.ok = true;
      return fit;
    }
    return fit;
  }

  static void Basis(double u, double v, double p[kTerms]) {
    p[0] = 1;
    p[1] = u;
    p[2] = v;
    p[3] = u * u;
    p[4] = u * v;
    p[5] = v * v;
  }

  // Qx, Qy of a fit at (px, py).
  static void Shear(const Fit& fit, double px, double py, double* q) {
    if (!fit.ok) {
      q[0] = q[1] = 0;
      return;
    }
    const double u = (px - fit.cx) / fit.h, v = (py - fit.cy) / fit.h;
    auto dx = [&](int c) { return (fit.c[c][1] + 2 * fit.c[c][3] * u + fit.c[c][4] * v) / fit.h; };
    auto dy = [&](int c) { return (fit.c[c][2] + fit.c[c][4] * u + 2 * fit.c[c][5] * v) / fit.h; };
    q[0] = dx(0) + dy(2);
    q[1] = dx(2) + dy(1);
  }

  const std::vector<double>& x_;
  const std::vector<double>& y_;
  const std::vector<std::array<int, 3>>& triangles_;
  const std::vector<double>& moments_;
  std::vector<int> start_, list_;  // node -> triangles
  std::vector<unsigned char> boundary_;
};

}  // namespace

void RecoverShearForces(const std::vector<double>& x, const std::vector<double>& y,
                        const std::vector<std::array<int, 3>>& triangles,
                        const std::vector<double>& elementMoments, std::vector<double>& nodeShear,
                        std::vector<double>& elementShear) {
  ShearRecovery(x, y, triangles, elementMoments).Run(nodeShear, elementShear);
}

}  // namespace tavrin

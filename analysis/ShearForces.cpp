// Shear forces by differentiated patch fits: the patches, the least-squares fits (normal
// equations in coordinates scaled to the patch, Gaussian elimination with partial pivoting)
// turned into derivative weights per node, and their application to moment fields.
#include "analysis/ShearForces.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <unordered_map>

namespace tavrin {

namespace {

constexpr int kTerms = 6;  // 1, u, v, u^2, u v, v^2 in scaled coordinates around the centre
using Row = std::array<double, kTerms>;

// Solves the n x n system a x = b in place for every column of b (b[c] is one right-hand
// side); false when a pivot is below 1e-12 of the largest diagonal entry.
bool Solve(int n, double a[kTerms][kTerms], std::vector<Row>& b) {
  double largest = 0;
  for (int i = 0; i < n; ++i) largest = std::max(largest, std::abs(a[i][i]));
  for (int k = 0; k < n; ++k) {
    int p = k;
    for (int i = k + 1; i < n; ++i) {
      if (std::abs(a[i][k]) > std::abs(a[p][k])) p = i;
    }
    if (!(std::abs(a[p][k]) > 1e-12 * largest)) return false;
    for (int j = 0; j < n; ++j) std::swap(a[k][j], a[p][j]);
    for (Row& rhs : b) std::swap(rhs[k], rhs[p]);
    for (int i = k + 1; i < n; ++i) {
      const double f = a[i][k] / a[k][k];
      for (int j = k; j < n; ++j) a[i][j] -= f * a[k][j];
      for (Row& rhs : b) rhs[i] -= f * rhs[k];
    }
  }
  for (Row& rhs : b) {
    for (int k = n - 1; k >= 0; --k) {
      for (int j = k + 1; j < n; ++j) rhs[k] -= a[k][j] * rhs[j];
      rhs[k] /= a[k][k];
    }
  }
  return true;
}

Row Basis(double u, double v) { return {1, u, v, u * u, u * v, v * v}; }

// A fit around a centre: coefficient k of the fitted polynomial is the sum over the patch of
// coefficient[i][k] times element patch[i]'s value.
struct Fit {
  double cx = 0, cy = 0, h = 1;
  std::vector<int> patch;
  std::vector<Row> coefficient;
  bool ok = false;

  // Appends the weights of d/dx and d/dy at (px, py), times `scale`.
  void Weights(double px, double py, double scale, std::vector<int>& element,
               std::vector<double>& wx, std::vector<double>& wy) const {
    if (!ok) return;
    const double u = (px - cx) / h, v = (py - cy) / h;
    for (std::size_t i = 0; i < patch.size(); ++i) {
      const Row& c = coefficient[i];
      element.push_back(patch[i]);
      wx.push_back(scale * (c[1] + 2 * c[3] * u + c[4] * v) / h);
      wy.push_back(scale * (c[2] + c[4] * u + 2 * c[5] * v) / h);
    }
  }
};

class FitBuilder {
 public:
  FitBuilder(const std::vector<double>& x, const std::vector<double>& y,
             const std::vector<std::array<int, 3>>& triangles)
      : x_(x), y_(y), triangles_(triangles) {
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
    for (const auto& t : triangles)
      for (int k = 0; k < 3; ++k) ++edgeUse[Key(t[static_cast<std::size_t>(k)], t[(k + 1) % 3])];
    boundary_.assign(n, 0);
    for (const auto& [key, count] : edgeUse) {
      if (count != 1) continue;
      boundary_[key >> 32] = 1;
      boundary_[key & 0xffffffffu] = 1;
    }
  }

  std::size_t NodeCount() const { return x_.size(); }
  bool Boundary(std::size_t v) const { return boundary_[v] != 0; }
  int Count(std::size_t v) const { return start_[v + 1] - start_[v]; }
  // The nodes sharing an element with v, v included, each once.
  std::vector<int> Neighbours(std::size_t v) const {
    std::vector<int> around;
    for (int k = start_[v]; k < start_[v + 1]; ++k)
      for (const int w : triangles_[static_cast<std::size_t>(list_[static_cast<std::size_t>(k)])])
        if (std::find(around.begin(), around.end(), w) == around.end()) around.push_back(w);
    return around;
  }

  Fit FitAround(std::size_t v) const {
    Fit fit;
    fit.cx = x_[v];
    fit.cy = y_[v];
    // The elements around v and around their corners.
    for (const int w : Neighbours(v)) {
      const auto u = static_cast<std::size_t>(w);
      for (int j = start_[u]; j < start_[u + 1]; ++j) {
        const int t = list_[static_cast<std::size_t>(j)];
        if (std::find(fit.patch.begin(), fit.patch.end(), t) == fit.patch.end())
          fit.patch.push_back(t);
      }
    }
    std::vector<std::array<double, 2>> at;
    double reach = 0;
    for (const int t : fit.patch) {
      double px = 0, py = 0;
      for (const int w : triangles_[static_cast<std::size_t>(t)]) {
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
      if (static_cast<int>(fit.patch.size()) <= terms) continue;
      double a[kTerms][kTerms] = {};
      std::vector<Row> g(fit.patch.size());  // the basis rows, then the fit's coefficients
      for (std::size_t k = 0; k < fit.patch.size(); ++k) {
        g[k] = Basis(at[k][0] / fit.h, at[k][1] / fit.h);
        for (int i = 0; i < terms; ++i)
          for (int j = 0; j < terms; ++j) a[i][j] += g[k][i] * g[k][j];
        for (int i = terms; i < kTerms; ++i) g[k][i] = 0;
      }
      if (!Solve(terms, a, g)) continue;
      fit.coefficient = std::move(g);
      fit.ok = true;
      return fit;
    }
    return fit;
  }

  double X(std::size_t v) const { return x_[v]; }
  double Y(std::size_t v) const { return y_[v]; }

 private:
  static std::uint64_t Key(int a, int b) {
    const auto lo = static_cast<std::uint64_t>(std::min(a, b));
    const auto hi = static_cast<std::uint64_t>(std::max(a, b));
    return (lo << 32) | hi;
  }

  const std::vector<double>& x_;
  const std::vector<double>& y_;
  const std::vector<std::array<int, 3>>& triangles_;
  std::vector<int> start_, list_;  // node -> triangles
  std::vector<unsigned char> boundary_;
};

}  // namespace

ShearRecovery::ShearRecovery(const std::vector<double>& x, const std::vector<double>& y,
                             const std::vector<std::array<int, 3>>& triangles)
    : triangles_(triangles) {
  const FitBuilder builder(x, y, triangles);
  const std::size_t n = builder.NodeCount();
  std::vector<Fit> fits(n);
  for (std::size_t v = 0; v < n; ++v)
    if (!builder.Boundary(v) && builder.Count(v) > 0) fits[v] = builder.FitAround(v);
  start_.assign(n + 1, 0);
  for (std::size_t v = 0; v < n; ++v) {
    if (builder.Count(v) > 0) {
      if (!builder.Boundary(v)) {
        fits[v].Weights(builder.X(v), builder.Y(v), 1.0, element_, wx_, wy_);
      } else {
        // The mean of the interior fits of v's elements, each at v.
        std::vector<const Fit*> around;
        for (const int w : builder.Neighbours(v)) {
          const auto u = static_cast<std::size_t>(w);
          if (!builder.Boundary(u) && fits[u].ok) around.push_back(&fits[u]);
        }
        for (const Fit* fit : around)
          fit->Weights(builder.X(v), builder.Y(v), 1.0 / static_cast<double>(around.size()),
                       element_, wx_, wy_);
        if (around.empty())
          builder.FitAround(v).Weights(builder.X(v), builder.Y(v), 1.0, element_, wx_, wy_);
      }
    }
    start_[v + 1] = static_cast<int>(element_.size());
  }
}

void ShearRecovery::Recover(const std::vector<double>& elementMoments,
                            std::vector<double>& nodeShear,
                            std::vector<double>& elementShear) const {
  const std::size_t n = start_.size() - 1;
  nodeShear.assign(2 * n, 0.0);
  for (std::size_t v = 0; v < n; ++v) {
    double qx = 0, qy = 0;
    for (int k = start_[v]; k < start_[v + 1]; ++k) {
      const auto i = static_cast<std::size_t>(k);
      const double* m = &elementMoments[3 * static_cast<std::size_t>(element_[i])];
      qx += wx_[i] * m[0] + wy_[i] * m[2];  // dMx/dx + dMxy/dy
      qy += wx_[i] * m[2] + wy_[i] * m[1];  // dMxy/dx + dMy/dy
    }
    nodeShear[2 * v] = qx;
    nodeShear[2 * v + 1] = qy;
  }
  elementShear.assign(2 * triangles_.size(), 0.0);
  for (std::size_t t = 0; t < triangles_.size(); ++t) {
    for (const int v : triangles_[t]) {
      elementShear[2 * t] += nodeShear[2 * static_cast<std::size_t>(v)] / 3;
      elementShear[2 * t + 1] += nodeShear[2 * static_cast<std::size_t>(v) + 1] / 3;
    }
  }
}

void RecoverShearForces(const std::vector<double>& x, const std::vector<double>& y,
                        const std::vector<std::array<int, 3>>& triangles,
                        const std::vector<double>& elementMoments, std::vector<double>& nodeShear,
                        std::vector<double>& elementShear) {
  ShearRecovery(x, y, triangles).Recover(elementMoments, nodeShear, elementShear);
}

}  // namespace tavrin

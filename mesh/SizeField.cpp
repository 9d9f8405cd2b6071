#include "mesh/SizeField.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <queue>
#include <utility>

namespace tavrin {

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

// Barycentric coordinates of p in triangle (a, b, c); false for a degenerate triangle.
bool Barycentric(MeshPoint a, MeshPoint b, MeshPoint c, MeshPoint p, double l[3]) {
  const double d = (b.x - a.x) * (c.y - a.y) - (c.x - a.x) * (b.y - a.y);
  if (!(std::fabs(d) > 0)) return false;
  l[1] = ((p.x - a.x) * (c.y - a.y) - (c.x - a.x) * (p.y - a.y)) / d;
  l[2] = ((b.x - a.x) * (p.y - a.y) - (p.x - a.x) * (b.y - a.y)) / d;
  l[0] = 1 - l[1] - l[2];
  return true;
}

}  // namespace

SizeField::SizeField(std::vector<double> x, std::vector<double> y,
                     std::vector<std::array<int, 3>> triangles,
                     const std::vector<double>& targetArea, double gradation)
    : x_(std::move(x)), y_(std::move(y)), triangles_(std::move(triangles)) {
  h_.assign(x_.size(), kInfinity);
  for (std::size_t t = 0; t < triangles_.size() && t < targetArea.size(); ++t) {
    const double a = targetArea[t];
    if (!(a > 0) || !std::isfinite(a)) continue;
    for (int n : triangles_[t]) {
      double& h = h_[static_cast<std::size_t>(n)];
      h = std::min(h, std::sqrt(a));
    }
  }
  for (double h : h_)
    if (std::isfinite(h)) largest_ = std::max(largest_, h);
  if (largest_ == 0) largest_ = 1;  // no usable target: a field that asks for nothing small
  for (double& h : h_)
    if (!std::isfinite(h)) h = largest_;
  GradeSizes(gradation);
  smallest_ = h_.empty() ? largest_ : *std::min_element(h_.begin(), h_.end());
  BuildGrid();
}

void SizeField::GradeSizes(double gradation) {
  if (!(gradation > 0) || h_.empty()) return;
  std::vector<std::vector<int>> neighbours(h_.size());
  for (const auto& t : triangles_)
    for (int k = 0; k < 3; ++k) {
      neighbours[static_cast<std::size_t>(t[k])].push_back(t[(k + 1) % 3]);
      neighbours[static_cast<std::size_t>(t[(k + 1) % 3])].push_back(t[k]);
    }
  using Entry = std::pair<double, int>;
  std::priority_queue<Entry, std::vector<Entry>, std::greater<>> queue;
  for (std::size_t i = 0; i < h_.size(); ++i) queue.emplace(h_[i], static_cast<int>(i));
  while (!queue.empty()) {
    const auto [h, i] = queue.top();
    queue.pop();
    if (h > h_[static_cast<std::size_t>(i)]) continue;  // outdated entry
    for (int j : neighbours[static_cast<std::size_t>(i)]) {
      const double d =
          std::hypot(x_[static_cast<std::size_t>(j)] - x_[static_cast<std::size_t>(i)],
                     y_[static_cast<std::size_t>(j)] - y_[static_cast<std::size_t>(i)]);
      const double limit = h + gradation * d;
      if (limit < h_[static_cast<std::size_t>(j)]) {
        h_[static_cast<std::size_t>(j)] = limit;
        queue.emplace(limit, j);
      }
    }
  }
}

void SizeField::BuildGrid() {
  if (x_.empty()) return;
  const auto [xMin, xMax] = std::minmax_element(x_.begin(), x_.end());
  const auto [yMin, yMax] = std::minmax_element(y_.begin(), y_.end());
  x0_ = *xMin;
  y0_ = *yMin;
  const double width = std::max(*xMax - x0_, 1e-300), height = std::max(*yMax - y0_, 1e-300);
  const double cells = std::max<double>(1.0, static_cast<double>(triangles_.size()));
  cell_ = std::sqrt(width * height / cells);
  if (!(cell_ > 0) || !std::isfinite(cell_)) cell_ = std::max(width, height);
  columns_ = static_cast<int>(std::clamp(std::floor(width / cell_) + 1, 1.0, 4096.0));
  rows_ = static_cast<int>(std::clamp(std::floor(height / cell_) + 1, 1.0, 4096.0));
  cell_ = std::max(width / columns_, height / rows_) * (1 + 1e-12);

  // Counting sort of (cell, triangle) pairs: two passes over the triangles' boxes.
  std::vector<int> count(static_cast<std::size_t>(columns_ * rows_) + 1, 0);
  const auto forCells = [&](std::size_t t, const auto& visit) {
    const auto& c = triangles_[t];
    double bx0 = kInfinity, by0 = kInfinity, bx1 = -kInfinity, by1 = -kInfinity;
    for (int n : c) {
      bx0 = std::min(bx0, x_[static_cast<std::size_t>(n)]);
      bx1 = std::max(bx1, x_[static_cast<std::size_t>(n)]);
      by0 = std::min(by0, y_[static_cast<std::size_t>(n)]);
      by1 = std::max(by1, y_[static_cast<std::size_t>(n)]);
    }
    const int first = CellOf(bx0, by0), last = CellOf(bx1, by1);
    for (int r = first / columns_; r <= last / columns_; ++r)
      for (int q = first % columns_; q <= last % columns_; ++q) visit(r * columns_ + q);
  };
  for (std::size_t t = 0; t < triangles_.size(); ++t)
    forCells(t, [&](int cell) { ++count[static_cast<std::size_t>(cell) + 1]; });
  for (std::size_t k = 1; k < count.size(); ++k) count[k] += count[k - 1];
  cellStart_ = count;
  cellTriangles_.assign(static_cast<std::size_t>(count.back()), 0);
  for (std::size_t t = 0; t < triangles_.size(); ++t)
    forCells(t, [&](int cell) {
      cellTriangles_[static_cast<std::size_t>(count[static_cast<std::size_t>(cell)]++)] =
          static_cast<int>(t);
    });
}

int SizeField::CellOf(double x, double y) const {
  // Clamped while still a double: a point far outside would overflow the conversion.
  const auto index = [](double f, int cells) {
    return std::isfinite(f) ? static_cast<int>(std::clamp(std::floor(f), 0.0, cells - 1.0)) : 0;
  };
  return index((y - y0_) / cell_, rows_) * columns_ + index((x - x0_) / cell_, columns_);
}

double SizeField::AreaAt(MeshPoint p) const {
  if (triangles_.empty()) return largest_ * largest_;
  const int cell = CellOf(p.x, p.y);
  // The element holding p, or else the one p is least outside of (its most negative
  // barycentric coordinate closest to 0), with its coordinates clamped onto it.
  double bestOutside = -kInfinity, best[3] = {0, 0, 0};
  int bestTriangle = -1;
  for (int k = cellStart_[static_cast<std::size_t>(cell)];
       k < cellStart_[static_cast<std::size_t>(cell) + 1]; ++k) {
    const auto& c =
        triangles_[static_cast<std::size_t>(cellTriangles_[static_cast<std::size_t>(k)])];
    double l[3];
    const auto node = [&](int i) {
      return MeshPoint{x_[static_cast<std::size_t>(c[i])], y_[static_cast<std::size_t>(c[i])]};
    };
    if (!Barycentric(node(0), node(1), node(2), p, l)) continue;
    const double outside = std::min({l[0], l[1], l[2]});
    if (outside > bestOutside) {
      bestOutside = outside;
      bestTriangle = cellTriangles_[static_cast<std::size_t>(k)];
      std::copy(l, l + 3, best);
      if (outside >= 0) break;
    }
  }
  double h = 0;
  if (bestTriangle >= 0) {
    double sum = 0;
    for (double& l : best) {
      l = std::max(l, 0.0);
      sum += l;
    }
    const auto& c = triangles_[static_cast<std::size_t>(bestTriangle)];
    for (int k = 0; k < 3; ++k) h += best[k] / sum * h_[static_cast<std::size_t>(c[k])];
  } else {
    // No element near: the nearest background node (a scan; only for points far outside).
    double nearest = kInfinity;
    for (std::size_t i = 0; i < x_.size(); ++i) {
      const double d = std::hypot(x_[i] - p.x, y_[i] - p.y);
      if (d < nearest) {
        nearest = d;
        h = h_[i];
      }
    }
  }
  return h * h;
}

}  // namespace tavrin

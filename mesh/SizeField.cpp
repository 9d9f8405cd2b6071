#include "mesh/SizeField.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <queue>
#include <tuple>
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
  if (x_.empty()) return;
  // Finer grids down to four levels below the top: each level divides a crowded cell's side by
  // about the square root of its crowd.
  constexpr int kFinerLevels = 4;
  std::vector<int> all(triangles_.size());
  for (std::size_t t = 0; t < all.size(); ++t) all[t] = static_cast<int>(t);
  const auto [xMin, xMax] = std::minmax_element(x_.begin(), x_.end());
  const auto [yMin, yMax] = std::minmax_element(y_.begin(), y_.end());
  BuildGrid(all, *xMin, *yMin, *xMax, *yMax, kFinerLevels);
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

int SizeField::BuildGrid(const std::vector<int>& elements, double x0, double y0, double x1,
                         double y1, int depth) {
  Grid g;
  g.x0 = x0;
  g.y0 = y0;
  const double width = std::max(x1 - x0, 1e-300), height = std::max(y1 - y0, 1e-300);
  const double cells = std::max<double>(1.0, static_cast<double>(elements.size()));
  g.cell = std::sqrt(width * height / cells);
  if (!(g.cell > 0) || !std::isfinite(g.cell)) g.cell = std::max(width, height);
  g.columns = static_cast<int>(std::clamp(std::floor(width / g.cell) + 1, 1.0, 4096.0));
  g.rows = static_cast<int>(std::clamp(std::floor(height / g.cell) + 1, 1.0, 4096.0));
  g.cell = std::max(width / g.columns, height / g.rows) * (1 + 1e-12);

  // Counting sort of (cell, triangle) pairs: two passes over the triangles' boxes.
  std::vector<int> count(static_cast<std::size_t>(g.columns * g.rows) + 1, 0);
  const auto forCells = [&](int t, const auto& visit) {
    const auto& c = triangles_[static_cast<std::size_t>(t)];
    double bx0 = kInfinity, by0 = kInfinity, bx1 = -kInfinity, by1 = -kInfinity;
    for (int n : c) {
      bx0 = std::min(bx0, x_[static_cast<std::size_t>(n)]);
      bx1 = std::max(bx1, x_[static_cast<std::size_t>(n)]);
      by0 = std::min(by0, y_[static_cast<std::size_t>(n)]);
      by1 = std::max(by1, y_[static_cast<std::size_t>(n)]);
    }
    const int first = g.CellOf(bx0, by0), last = g.CellOf(bx1, by1);
    for (int r = first / g.columns; r <= last / g.columns; ++r)
      for (int q = first % g.columns; q <= last % g.columns; ++q) visit(r * g.columns + q);
  };
  for (const int t : elements)
    forCells(t, [&](int cell) { ++count[static_cast<std::size_t>(cell) + 1]; });
  for (std::size_t k = 1; k < count.size(); ++k) count[k] += count[k - 1];
  g.start = count;
  g.listed.assign(static_cast<std::size_t>(count.back()), 0);
  for (const int t : elements)
    forCells(t, [&](int cell) {
      g.listed[static_cast<std::size_t>(count[static_cast<std::size_t>(cell)]++)] = t;
    });
  g.finer.assign(static_cast<std::size_t>(g.columns * g.rows), -1);
  const int index = static_cast<int>(grids_.size());
  grids_.push_back(std::move(g));
  if (depth <= 0) return index;
  // A crowded cell gets its finer grid, unless its elements are large against the finer cells
  // (a fan around one node): each would be listed in many of them, and nothing is gained.
  constexpr int kCrowded = 24;
  constexpr double kMostListedPerCell = 8;
  const int cellCount = grids_[static_cast<std::size_t>(index)].columns *
                        grids_[static_cast<std::size_t>(index)].rows;
  for (int cell = 0; cell < cellCount; ++cell) {
    const Grid& own = grids_[static_cast<std::size_t>(index)];
    const int from = own.start[static_cast<std::size_t>(cell)];
    const int to = own.start[static_cast<std::size_t>(cell) + 1];
    if (to - from <= kCrowded) continue;
    const std::vector<int> crowd(own.listed.begin() + from, own.listed.begin() + to);
    const double cx = own.x0 + (cell % own.columns) * own.cell;
    const double cy = own.y0 + (cell / own.columns) * own.cell;
    const double side = own.cell, finerSide = side / std::sqrt(static_cast<double>(to - from));
    double listings = 0;  // in the finer grid, from the elements' boxes
    for (const int t : crowd) {
      const auto& c = triangles_[static_cast<std::size_t>(t)];
      const auto [xl, xh] =
          std::minmax({x_[static_cast<std::size_t>(c[0])], x_[static_cast<std::size_t>(c[1])],
                       x_[static_cast<std::size_t>(c[2])]});
      const auto [yl, yh] =
          std::minmax({y_[static_cast<std::size_t>(c[0])], y_[static_cast<std::size_t>(c[1])],
                       y_[static_cast<std::size_t>(c[2])]});
      listings +=
          (std::min(xh - xl, side) / finerSide + 1) * (std::min(yh - yl, side) / finerSide + 1);
    }
    if (listings > kMostListedPerCell * (to - from)) continue;
    const int finer = BuildGrid(crowd, cx, cy, cx + side, cy + side, depth - 1);
    grids_[static_cast<std::size_t>(index)].finer[static_cast<std::size_t>(cell)] = finer;
  }
  return index;
}

int SizeField::Grid::CellOf(double x, double y) const {
  // Clamped while still a double: a point far outside would overflow the conversion.
  const auto index = [](double f, int cells) {
    return std::isfinite(f) ? static_cast<int>(std::clamp(std::floor(f), 0.0, cells - 1.0)) : 0;
  };
  return index((y - y0) / cell, rows) * columns + index((x - x0) / cell, columns);
}

int SizeField::Locate(MeshPoint p, const int* first, const int* last, bool nearest,
                      double best[3]) const {
  // Rounding may put a point on an element's edge just outside it.
  constexpr double kOnEdge = -1e-12;
  double bestOutside = -kInfinity;
  int bestTriangle = -1;
  for (const int* k = first; k != last; ++k) {
    const auto& c = triangles_[static_cast<std::size_t>(*k)];
    double l[3];
    const auto node = [&](int i) {
      return MeshPoint{x_[static_cast<std::size_t>(c[i])], y_[static_cast<std::size_t>(c[i])]};
    };
    if (!Barycentric(node(0), node(1), node(2), p, l)) continue;
    const double outside = std::min({l[0], l[1], l[2]});
    if (outside > bestOutside) {
      bestOutside = outside;
      bestTriangle = *k;
      std::copy(l, l + 3, best);
      if (outside >= 0) break;
    }
  }
  if (!nearest && !(bestOutside >= kOnEdge)) return -1;
  if (bestTriangle >= 0) {
    double sum = 0;
    for (int k = 0; k < 3; ++k) {
      best[k] = std::max(best[k], 0.0);
      sum += best[k];
    }
    for (int k = 0; k < 3; ++k) best[k] /= sum;
  }
  return bestTriangle;
}

double SizeField::AreaAt(MeshPoint p) const {
  if (triangles_.empty() || grids_.empty()) return largest_ * largest_;
  const Grid& top = grids_.front();
  const int topCell = top.CellOf(p.x, p.y);
  const Grid* g = &top;
  int cell = topCell;
  while (g->finer[static_cast<std::size_t>(cell)] >= 0) {
    g = &grids_[static_cast<std::size_t>(g->finer[static_cast<std::size_t>(cell)])];
    cell = g->CellOf(p.x, p.y);
  }
  const auto range = [](const Grid& grid, int c) {
    return std::make_pair(grid.listed.data() + grid.start[static_cast<std::size_t>(c)],
                          grid.listed.data() + grid.start[static_cast<std::size_t>(c) + 1]);
  };
  double l[3];
  auto [first, last] = range(*g, cell);
  int t = Locate(p, first, last, false, l);
  // The element holding p, or else the one of the top cell p is least outside of.
  if (t < 0) {
    std::tie(first, last) = range(top, topCell);
    t = Locate(p, first, last, true, l);
  }
  double h = 0;
  if (t >= 0) {
    const auto& c = triangles_[static_cast<std::size_t>(t)];
    for (int k = 0; k < 3; ++k) h += l[k] * h_[static_cast<std::size_t>(c[k])];
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

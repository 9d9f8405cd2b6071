#include "ui/FieldProbe.h"

#include <algorithm>
#include <cmath>

#include "ui/FringeField.h"

namespace tavrin {

FieldProbe::FieldProbe(const FringeField& field) : field_(field) {
  const int n = static_cast<int>(field.triangles.size());
  if (n == 0 || field.x.empty()) return;
  const auto [minX, maxX] = std::minmax_element(field.x.begin(), field.x.end());
  const auto [minY, maxY] = std::minmax_element(field.y.begin(), field.y.end());
  left_ = *minX;
  bottom_ = *minY;
  const double width = *maxX - left_, height = *maxY - bottom_;
  cell_ = std::sqrt(std::max(width * height, 1e-300) / n);
  if (!(cell_ > 0) || !std::isfinite(cell_)) cell_ = std::max({width, height, 1.0});
  columns_ = std::min(4096, static_cast<int>(width / cell_) + 1);
  rows_ = std::min(4096, static_cast<int>(height / cell_) + 1);
  cell_ = std::max(width / columns_, height / rows_) * (1 + 1e-12);
  if (!(cell_ > 0)) cell_ = 1;
  // Two passes: count per bucket, then place.
  auto range = [&](int t, int& c0, int& c1, int& r0, int& r1) {
    const auto& tri = field.triangles[t];
    double lo[2] = {field.x[tri[0]], field.y[tri[0]]}, hi[2] = {lo[0], lo[1]};
    for (int c = 1; c < 3; ++c) {
      lo[0] = std::min(lo[0], field.x[tri[c]]);
      hi[0] = std::max(hi[0], field.x[tri[c]]);
      lo[1] = std::min(lo[1], field.y[tri[c]]);
      hi[1] = std::max(hi[1], field.y[tri[c]]);
    }
    c0 = std::clamp(static_cast<int>((lo[0] - left_) / cell_), 0, columns_ - 1);
    c1 = std::clamp(static_cast<int>((hi[0] - left_) / cell_), 0, columns_ - 1);
    r0 = std::clamp(static_cast<int>((lo[1] - bottom_) / cell_), 0, rows_ - 1);
    r1 = std::clamp(static_cast<int>((hi[1] - bottom_) / cell_), 0, rows_ - 1);
  };
  start_.assign(static_cast<std::size_t>(columns_) * rows_ + 1, 0);
  for (int t = 0; t < n; ++t) {
    int c0, c1, r0, r1;
    range(t, c0, c1, r0, r1);
    for (int r = r0; r <= r1; ++r)
      for (int c = c0; c <= c1; ++c) ++start_[static_cast<std::size_t>(r) * columns_ + c + 1];
  }
  for (std::size_t b = 1; b < start_.size(); ++b) start_[b] += start_[b - 1];
  triangles_.resize(start_.back());
  std::vector<int> fill(start_.begin(), start_.end() - 1);
  for (int t = 0; t < n; ++t) {
    int c0, c1, r0, r1;
    range(t, c0, c1, r0, r1);
    for (int r = r0; r <= r1; ++r)
      for (int c = c0; c <= c1; ++c)
        triangles_[fill[static_cast<std::size_t>(r) * columns_ + c]++] = t;
  }
}

int FieldProbe::Bucket(double x, double y) const {
  const double c = (x - left_) / cell_, r = (y - bottom_) / cell_;
  if (!(c >= 0 && r >= 0 && c < columns_ && r < rows_)) return -1;
  return static_cast<int>(r) * columns_ + static_cast<int>(c);
}

std::optional<double> FieldProbe::ValueAt(double x, double y) const {
  const int b = Bucket(x, y);
  if (b < 0) return std::nullopt;
  const FringeField& f = field_;
  for (int k = start_[b]; k < start_[b + 1]; ++k) {
    const int t = triangles_[k];
    const auto& tri = f.triangles[t];
    const double x0 = f.x[tri[0]], y0 = f.y[tri[0]], x1 = f.x[tri[1]], y1 = f.y[tri[1]],
                 x2 = f.x[tri[2]], y2 = f.y[tri[2]];
    const double area = (x1 - x0) * (y2 - y0) - (x2 - x0) * (y1 - y0);
    if (area == 0) continue;
    const double w0 = ((x1 - x) * (y2 - y) - (x2 - x) * (y1 - y)) / area;
    const double w1 = ((x2 - x) * (y0 - y) - (x0 - x) * (y2 - y)) / area;
    const double w2 = 1 - w0 - w1;
    // A point on a shared edge belongs to the first triangle found.
    constexpr double kEdge = -1e-12;
    if (w0 < kEdge || w1 < kEdge || w2 < kEdge) continue;
    if (f.perElement) return f.values[t];
    return w0 * f.values[tri[0]] + w1 * f.values[tri[1]] + w2 * f.values[tri[2]];
  }
  return std::nullopt;
}

}  // namespace tavrin

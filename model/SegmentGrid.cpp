// A segment is listed row by row: within each row band, widened by the margin, the part of the
// segment inside it spans an x range, which widened by the margin gives the row's columns. Any
// point within the margin of the segment then lies in a listed cell.
#include "model/SegmentGrid.h"

#include <algorithm>
#include <cmath>

namespace tavrin {

namespace {
const std::vector<int> kNone;
}

std::size_t SegmentGrid::KeyHash::operator()(const Key& k) const {
  const auto c = static_cast<std::uint64_t>(k.column);
  const auto r = static_cast<std::uint64_t>(k.row);
  return static_cast<std::size_t>(c * 0x9E3779B97F4A7C15ull ^
                                  (r + 0x632BE59BD9B4E019ull + (c << 6) + (c >> 2)));
}

SegmentGrid::SegmentGrid(double cell, double margin) : cell_(cell), margin_(margin) {}

std::int64_t SegmentGrid::Index(double v) const {
  return static_cast<std::int64_t>(std::floor(v / cell_));
}

void SegmentGrid::List(int id, std::int64_t column, std::int64_t row) {
  std::vector<int>& ids = cells_[Key{column, row}];
  if (ids.empty() || ids.back() != id) ids.push_back(id);
}

void SegmentGrid::Add(int id, double x1, double y1, double x2, double y2) {
  const double ylo = std::min(y1, y2), yhi = std::max(y1, y2);
  const double xlo = std::min(x1, x2), xhi = std::max(x1, x2);
  const std::int64_t firstRow = Index(ylo - margin_), lastRow = Index(yhi + margin_);
  for (std::int64_t row = firstRow; row <= lastRow; ++row) {
    double from = xlo, to = xhi;
    if (y1 != y2) {
      // Where the segment's carrier meets the band's two edges, kept within the segment.
      const double bandLow = static_cast<double>(row) * cell_ - margin_;
      const double bandHigh = static_cast<double>(row + 1) * cell_ + margin_;
      const double xa = x1 + (x2 - x1) * ((bandLow - y1) / (y2 - y1));
      const double xb = x1 + (x2 - x1) * ((bandHigh - y1) / (y2 - y1));
      from = std::clamp(std::min(xa, xb), xlo, xhi);
      to = std::clamp(std::max(xa, xb), xlo, xhi);
    }
    rows_[row].push_back(id);
    const std::int64_t lastColumn = Index(to + margin_);
    for (std::int64_t column = Index(from - margin_); column <= lastColumn; ++column)
      List(id, column, row);
  }
}

const std::vector<int>& SegmentGrid::InRow(double y) const {
  const auto it = rows_.find(Index(y));
  return it == rows_.end() ? kNone : it->second;
}

const std::vector<int>& SegmentGrid::Near(double x, double y) const {
  const auto it = cells_.find(Key{Index(x), Index(y)});
  return it == cells_.end() ? kNone : it->second;
}

}  // namespace tavrin

// A dense bucket grid with the buckets threaded through the nodes. Cell numbers of the nodes and
// of the query come from the same formula, floor((coordinate - origin) / cell); the cells are a
// little wider than d, so two coordinates less than d apart get cell numbers at most one apart
// whatever the rounding, and the 3 x 3 cells around the query's hold every node of the square.
#include "mesh/NodeGrid.h"

#include <algorithm>
#include <cmath>

#include "mesh/TVertexes.h"

namespace tavrin {

namespace {
constexpr double kCellWidening = 1.0001;
constexpr std::size_t kMinCells = 65536;
constexpr std::size_t kCellsPerNode = 4;
}  // namespace

void NodeGrid::Rebuild(const TVertexes& nodes, double d) {
  distance_ = d;
  const int n = nodes.Count();
  double xmin = 0, xmax = 0, ymin = 0, ymax = 0;
  bool any = false;
  for (int v = 0; v < n; ++v) {
    const double x = nodes.X(v), y = nodes.Y(v);
    if (!std::isfinite(x) || !std::isfinite(y)) continue;
    if (!any) xmin = xmax = x, ymin = ymax = y;
    xmin = std::min(xmin, x), xmax = std::max(xmax, x);
    ymin = std::min(ymin, y), ymax = std::max(ymax, y);
    any = true;
  }
  const std::size_t cells = std::max(kMinCells, kCellsPerNode * static_cast<std::size_t>(n));
  const double w = xmax - xmin, h = ymax - ymin;
  const auto m = static_cast<double>(cells);
  // Never more than about three times the cells allowed, however thin the box.
  cell_ = std::max({d * kCellWidening, std::sqrt(w * h / m), std::max(w, h) / m});
  x0_ = xmin;
  y0_ = ymin;
  if (std::isfinite(cell_) && std::isfinite(w) && std::isfinite(h)) {
    nx_ = static_cast<int>(std::floor(w / cell_)) + 1;
    ny_ = static_cast<int>(std::floor(h / cell_)) + 1;
  } else {
    nx_ = ny_ = 0;  // coordinates no grid can hold: every node is scanned
  }
  budget_ = cell_ > d * kCellWidening
                ? std::max<std::size_t>(2 * static_cast<std::size_t>(n), kMinCells / kCellsPerNode)
                : static_cast<std::size_t>(-1);
  head_.assign(static_cast<std::size_t>(nx_) * static_cast<std::size_t>(ny_), -1);
  next_.clear();
  offGrid_.clear();
  placed_ = 0;
}

void NodeGrid::Place(const TVertexes& nodes, int v) {
  next_.push_back(-1);
  const double qx = std::floor((nodes.X(v) - x0_) / cell_);
  const double qy = std::floor((nodes.Y(v) - y0_) / cell_);
  // Also false for coordinates that are not finite.
  if (qx >= 0 && qx < nx_ && qy >= 0 && qy < ny_) {
    const std::size_t c =
        static_cast<std::size_t>(qy) * static_cast<std::size_t>(nx_) + static_cast<std::size_t>(qx);
    next_.back() = head_[c];
    head_[c] = v;
  } else {
    offGrid_.push_back(v);
  }
}

void NodeGrid::CellRange(double c, double origin, int cells, int& first, int& last) const {
  const double q = std::floor((c - origin) / cell_);
  const double lo = std::max(q - 1, 0.0);
  const double hi = std::min(q + 1, cells - 1.0);
  if (!(lo <= hi)) {
    first = 1;
    last = 0;
    return;
  }
  first = static_cast<int>(lo);
  last = static_cast<int>(hi);
}

bool NodeGrid::AnyWithin(const TVertexes& nodes, MeshPoint p, double d) {
  const auto within = [&](int v) {
    return std::fabs(nodes.X(v) - p.x) < d && std::fabs(nodes.Y(v) - p.y) < d;
  };
  if (!(d > 0) || !std::isfinite(d) || !std::isfinite(p.x) || !std::isfinite(p.y)) {
    for (int v = 0; v < nodes.Count(); ++v)
      if (within(v)) return true;
    return false;
  }
  const auto count = static_cast<std::size_t>(nodes.Count());
  // Nodes outside the box (the refinement makes none, but a caller may add them) are scanned
  // at every query; once they are many, a new box takes them in.
  if (d != distance_ || count > budget_ || offGrid_.size() > 64 + count / 16) Rebuild(nodes, d);
  for (; placed_ < nodes.Count(); ++placed_) Place(nodes, placed_);

  int i0, i1, j0, j1;
  CellRange(p.x, x0_, nx_, i0, i1);
  CellRange(p.y, y0_, ny_, j0, j1);
  for (int j = j0; j <= j1; ++j) {
    for (int i = i0; i <= i1; ++i) {
      const std::size_t c =
          static_cast<std::size_t>(j) * static_cast<std::size_t>(nx_) + static_cast<std::size_t>(i);
      for (int v = head_[c]; v != -1; v = next_[static_cast<std::size_t>(v)])
        if (within(v)) return true;
    }
  }
  for (int v : offGrid_)
    if (within(v)) return true;
  return false;
}

}  // namespace tavrin

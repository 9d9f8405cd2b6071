// Grid searches of the advancing front. The apex search rests on the inscribed angle: the
// points that see an edge under at least a given angle fill a lens (the part of a disc through
// the edge's ends beyond the edge), so once a lens's cells are read, a candidate whose cosine
// is clearly below the lens's angle beats every node outside it. Candidates wait in a heap
// ordered as the scan's comparison orders them (cosine, then index); each pop is the scan's
// next better node, and the first one accepted is the scan's answer.
//
// The visibility test reads only the edges listed in the cells along the side, widened by a
// slack: two segments that cross share a point. SegmentsCross decides from a computed
// intersection point, though, and where a segment is flat (its ends differ in x or in y by
// about the rounding of the coordinates, but not exactly) that point can fall inside the flat
// extent while the lines truly meet far away, so the test reports a crossing with a segment a
// whole length of the flat one away. Flat edges are therefore tested by every query, and a flat
// side against every edge. How far such a crossing reaches grows as the flat extent shrinks: in
// trials built to provoke it, a reach of a millionth of the model's size (the slack) took an
// extent of about 1e-13 of that size, and extents above 1e-11 of it gave no false crossing at
// all; edges count as flat below 1e-9 of it.
#include "mesh/FrontIndex.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <functional>

#include "mesh/FEM.h"
#include "model/Geometry.h"

namespace tavrin {

// ---- FrontSide --------------------------------------------------------------------------

FrontSide::FrontSide(MeshPoint b, MeshPoint e, MeshPoint c)
    : a_(e.y - b.y), b_(b.x - e.x), c_(-a_ * e.x - b_ * e.y) {
  wantNegative_ = a_ * c.x + b_ * c.y + c_ > 0;
}

bool FrontSide::Holds(MeshPoint v) const {
  const double value = a_ * v.x + b_ * v.y + c_;
  return wantNegative_ ? value < 0 : value > 0;
}

MeshPoint FrontSide::Normal() const {
  const double length = std::sqrt(a_ * a_ + b_ * b_);
  if (!(length > 0) || !std::isfinite(length)) return {0.0, 0.0};
  const double s = wantNegative_ ? -1.0 / length : 1.0 / length;
  return {s * a_, s * b_};
}

// ---- Grid -------------------------------------------------------------------------------

bool FrontIndex::Build(const FEM& mesh) {
  const int count = mesh.NodeCount();
  if (count == 0) return false;
  double xmin = mesh.NodeX(0), xmax = xmin, ymin = mesh.NodeY(0), ymax = ymin;
  for (int v = 0; v < count; ++v) {
    const double x = mesh.NodeX(v);
    const double y = mesh.NodeY(v);
    if (!std::isfinite(x) || !std::isfinite(y)) return false;
    xmin = std::min(xmin, x);
    xmax = std::max(xmax, x);
    ymin = std::min(ymin, y);
    ymax = std::max(ymax, y);
  }
  const double width = xmax - xmin;
  const double height = ymax - ymin;
  if (!std::isfinite(width) || !std::isfinite(height)) return false;
  // About one node per cell, and never more cells a side than nodes, so that nodes along a
  // line do not make a grid of empty cells.
  const double n = count;
  cell_ = std::max(std::sqrt(width) * std::sqrt(height / n), std::max(width, height) / n);
  if (!(cell_ > 0) || !std::isfinite(cell_)) cell_ = 1.0;
  x0_ = xmin;
  y0_ = ymin;
  columns_ = static_cast<int>(std::min(width / cell_, n)) + 1;
  rows_ = static_cast<int>(std::min(height / cell_, n)) + 1;
  const double magnitude =
      std::max({std::fabs(xmin), std::fabs(xmax), std::fabs(ymin), std::fabs(ymax)});
  const double scale = magnitude + width + height;
  if (!std::isfinite(scale)) return false;
  slack_ = 1e-6 * scale;
  flat_ = 1e-9 * scale;

  const auto cells = static_cast<std::size_t>(columns_) * static_cast<std::size_t>(rows_);
  std::vector<int> cellOf(static_cast<std::size_t>(count));
  cellStart_.assign(cells + 1, 0);
  for (int v = 0; v < count; ++v) {
    const int k = Row(mesh.NodeY(v)) * columns_ + Column(mesh.NodeX(v));
    cellOf[static_cast<std::size_t>(v)] = k;
    ++cellStart_[static_cast<std::size_t>(k) + 1];
  }
  for (std::size_t k = 0; k < cells; ++k) cellStart_[k + 1] += cellStart_[k];
  cellNodes_.resize(static_cast<std::size_t>(count));
  cellPoints_.resize(static_cast<std::size_t>(count));
  std::vector<int> fill(cellStart_.begin(), cellStart_.end() - 1);
  for (int v = 0; v < count; ++v) {
    int& next = fill[static_cast<std::size_t>(cellOf[static_cast<std::size_t>(v)])];
    const auto slot = static_cast<std::size_t>(next++);
    cellNodes_[slot] = v;
    cellPoints_[slot] = mesh.Node(v);
  }

  edgeHead_.assign(cells, -1);
  flatEdges_.clear();
  entryEdge_.clear();
  entryNext_.clear();
  edgeEnds_.clear();
  edgePoints_.clear();
  testedBy_.clear();
  edgesListed_ = 0;
  query_ = 0;
  return true;
}

int FrontIndex::Column(double x) const {
  const double q = std::floor((x - x0_) / cell_);
  if (!(q > 0)) return 0;
  return q < columns_ - 1 ? static_cast<int>(q) : columns_ - 1;
}

int FrontIndex::Row(double y) const {
  const double q = std::floor((y - y0_) / cell_);
  if (!(q > 0)) return 0;
  return q < rows_ - 1 ? static_cast<int>(q) : rows_ - 1;
}

FrontIndex::CellRange FrontIndex::Cells(double xmin, double xmax, double ymin, double ymax) const {
  return CellRange{Column(xmin), Column(xmax), Row(ymin), Row(ymax)};
}

// ---- Edges ------------------------------------------------------------------------------

bool FrontIndex::Flat(MeshPoint p, MeshPoint q) const {
  const double dx = std::fabs(q.x - p.x);
  const double dy = std::fabs(q.y - p.y);
  return (dx > 0 && dx < flat_) || (dy > 0 && dy < flat_);
}

template <typename Visit>
bool FrontIndex::AlongSegment(MeshPoint p, MeshPoint q, const Visit& visit) const {
  const double xlo = std::min(p.x, q.x), xhi = std::max(p.x, q.x);
  const double ylo = std::min(p.y, q.y), yhi = std::max(p.y, q.y);
  const int colP = Column(p.x <= q.x ? p.x - slack_ : p.x + slack_);
  const int colQ = Column(p.x <= q.x ? q.x + slack_ : q.x - slack_);
  const int colStep = colP <= colQ ? 1 : -1;
  const double slope = p.x != q.x ? (q.y - p.y) / (q.x - p.x) : 0.0;
  for (int col = colP;; col += colStep) {
    // The part of the segment over this column, widened by the slack.
    double y0 = ylo, y1 = yhi;
    if (colP != colQ && p.x != q.x && std::isfinite(slope)) {
      const double sx0 = std::max(xlo, x0_ + col * cell_ - slack_);
      const double sx1 = std::min(xhi, x0_ + (col + 1) * cell_ + slack_);
      const double ya = p.y + (sx0 - p.x) * slope;
      const double yb = p.y + (sx1 - p.x) * slope;
      if (std::isfinite(ya) && std::isfinite(yb) && sx0 <= sx1) {
        y0 = std::clamp(std::min(ya, yb), ylo, yhi);
        y1 = std::clamp(std::max(ya, yb), ylo, yhi);
      }
    }
    int rowFrom = Row(y0 - slack_), rowTo = Row(y1 + slack_);
    if (p.y > q.y) std::swap(rowFrom, rowTo);
    const int rowStep = rowFrom <= rowTo ? 1 : -1;
    for (int row = rowFrom;; row += rowStep) {
      if (visit(static_cast<std::size_t>(row) * static_cast<std::size_t>(columns_) +
                static_cast<std::size_t>(col)))
        return true;
      if (row == rowTo) break;
    }
    if (col == colQ) return false;
  }
}

void FrontIndex::CatchUpEdges(const FEM& mesh) {
  for (; edgesListed_ < mesh.EdgeCount(); ++edgesListed_) {
    const int f = edgesListed_;
    const MeshPoint p = mesh.Node(mesh.EdgeBegin(f));
    const MeshPoint q = mesh.Node(mesh.EdgeEnd(f));
    edgeEnds_.emplace_back(mesh.EdgeBegin(f), mesh.EdgeEnd(f));
    edgePoints_.emplace_back(p, q);
    testedBy_.push_back(0);
    if (Flat(p, q)) {
      flatEdges_.push_back(f);
      continue;
    }
    AlongSegment(p, q, [&](std::size_t k) {
      entryEdge_.push_back(f);
      entryNext_.push_back(edgeHead_[k]);
      edgeHead_[k] = static_cast<int>(entryEdge_.size()) - 1;
      return false;
    });
  }
}

bool FrontIndex::Blocked(const FEM& mesh, int a, int v) {
  CatchUpEdges(mesh);
  if (query_ == INT_MAX) {
    std::fill(testedBy_.begin(), testedBy_.end(), 0);
    query_ = 0;
  }
  ++query_;
  const MeshPoint pa = mesh.Node(a);
  const MeshPoint pv = mesh.Node(v);
  const auto crosses = [&](int edge) {
    const auto f = static_cast<std::size_t>(edge);
    if (testedBy_[f] == query_) return false;
    testedBy_[f] = query_;
    const auto [fb, fe] = edgeEnds_[f];
    if (fb == a || fb == v || fe == a || fe == v) return false;
    const auto [qb, qe] = edgePoints_[f];
    return SegmentsCross(pa.x, pa.y, pv.x, pv.y, qb.x, qb.y, qe.x, qe.y);
  };
  if (Flat(pa, pv)) {
    for (int f = 0; f < edgesListed_; ++f)
      if (crosses(f)) return true;
    return false;
  }
  for (const int f : flatEdges_)
    if (crosses(f)) return true;
  // From a's end: a far apex is usually hidden by the front around a.
  return AlongSegment(pa, pv, [&](std::size_t cell) {
    for (int k = edgeHead_[cell]; k != -1; k = entryNext_[static_cast<std::size_t>(k)])
      if (crosses(entryEdge_[static_cast<std::size_t>(k)])) return true;
    return false;
  });
}

// ---- Apex search ------------------------------------------------------------------------

FrontIndex::CellRange FrontIndex::LensCells(MeshPoint b, MeshPoint e, MeshPoint n, double h,
                                            double& cosine) const {
  const CellRange whole{0, columns_ - 1, 0, rows_ - 1};
  if (n.x == 0 && n.y == 0) return whole;
  const double half = Length(b, e) / 2;
  const double radius = (h * h + half * half) / (2 * h);
  const MeshPoint m{(b.x + e.x) / 2, (b.y + e.y) / 2};
  const MeshPoint centre{m.x + n.x * (h - radius), m.y + n.y * (h - radius)};
  double xmin = std::min(b.x, e.x), xmax = std::max(b.x, e.x);
  double ymin = std::min(b.y, e.y), ymax = std::max(b.y, e.y);
  // The lens's extent: the edge's ends and those of the circle's four extreme points that lie
  // on the arc, beyond the edge.
  const MeshPoint extremes[4] = {{centre.x - radius, centre.y},
                                 {centre.x + radius, centre.y},
                                 {centre.x, centre.y - radius},
                                 {centre.x, centre.y + radius}};
  for (const MeshPoint& p : extremes) {
    if ((p.x - m.x) * n.x + (p.y - m.y) * n.y <= 0) continue;
    xmin = std::min(xmin, p.x);
    xmax = std::max(xmax, p.x);
    ymin = std::min(ymin, p.y);
    ymax = std::max(ymax, p.y);
  }
  cosine = (h * h - half * half) / (h * h + half * half);
  // Far more than the rounding of the lens's own arithmetic.
  const double slack =
      1e-9 * (std::fabs(centre.x) + std::fabs(centre.y) + radius + std::fabs(m.x) + std::fabs(m.y));
  if (!std::isfinite(slack) || !std::isfinite(cosine)) return whole;
  return Cells(xmin - slack, xmax + slack, ymin - slack, ymax + slack);
}

void FrontIndex::Offer(MeshPoint b, MeshPoint e, const FrontSide& side, int col, int row) {
  const auto k = static_cast<std::size_t>(row * columns_ + col);
  for (int i = cellStart_[k]; i < cellStart_[k + 1]; ++i) {
    const MeshPoint p = cellPoints_[static_cast<std::size_t>(i)];
    if (!side.Holds(p)) continue;
    const double cosine = ViewCosine(b, e, p);
    if (!(cosine < 1.0)) continue;
    heap_.emplace_back(cosine, cellNodes_[static_cast<std::size_t>(i)]);
    std::push_heap(heap_.begin(), heap_.end(), std::greater<Candidate>());
  }
}

bool FrontIndex::PopBelow(double bound, Candidate& best) {
  if (heap_.empty() || !(heap_.front().first < bound)) return false;
  std::pop_heap(heap_.begin(), heap_.end(), std::greater<Candidate>());
  best = heap_.back();
  heap_.pop_back();
  return true;
}

}  // namespace tavrin

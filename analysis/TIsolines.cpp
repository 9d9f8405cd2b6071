// Isolines by linear interpolation inside each triangle: one pass over the triangles per level,
// so fifteen levels cost fifteen passes.
#include "analysis/TIsolines.h"

#include <algorithm>
#include <utility>

namespace tavrin {

namespace {
// Equality never crosses.
bool Crosses(double level, double u, double v) {
  return (level < u && v < level) || (u < level && level < v);
}

double CornerValue(const TGlobMatrix& solver, int node, int field) {
  return solver.NodeValue(node, static_cast<ResultField>(field));
}
}  // namespace

int TIsolines::AddSegment(double x1, double y1, double x2, double y2) {
  const int p = px_.Add(x1);
  py_.Add(y1);
  const int q = px_.Add(x2);
  py_.Add(y2);
  starts_.Add(p);
  return ends_.Add(q);
}

int TIsolines::SegmentStart(int k) const {
  return k >= 0 && k < starts_.Count() ? starts_.Get(k) : -1;
}
int TIsolines::SegmentEnd(int k) const { return k >= 0 && k < ends_.Count() ? ends_.Get(k) : -1; }
double TIsolines::PointX(int i) const { return i >= 0 && i < px_.Count() ? px_.Get(i) : -1.0; }
double TIsolines::PointY(int i) const { return i >= 0 && i < py_.Count() ? py_.Get(i) : -1.0; }

namespace {

// One level traced over the solved mesh, the corner values read by value(node).
template <class Value>
int Trace(TIsolines& set, double level, const TGlobMatrix& solver, const Value& value) {
  int added = 0;
  for (int t = 0; t < solver.ResultTriangleCount(); ++t) {
    int a = solver.TriangleCorner(t, 0), b = solver.TriangleCorner(t, 1),
        c = solver.TriangleCorner(t, 2);
    double va = value(a), vb = value(b), vc = value(c);
    if (va == kNoValue || vb == kNoValue || vc == kNoValue) continue;
    // Bring the corner that is alone on its side of the level to position a. A corner exactly on
    // the level is treated by its position in the triangle, not symmetrically.
    bool found = false;
    if (Crosses(level, va, vb)) {
      if (Crosses(level, vc, vb)) {
        std::swap(a, b);
        std::swap(va, vb);
      }
      found = true;
    }
    if (Crosses(level, vc, vb)) {
      if (Crosses(level, va, vb)) {
        std::swap(a, b);
        std::swap(va, vb);
      } else {
        std::swap(a, c);
        std::swap(va, vc);
      }
      found = true;
    }
    if (!found) continue;
    // P(a, q) = (L - A) (q - a) / (Q - A) + a, coordinate by coordinate.
    const double xa = solver.NodeX(a), ya = solver.NodeY(a);
    const double da = level - va;
    set.AddSegment(
        da * (solver.NodeX(b) - xa) / (vb - va) + xa, da * (solver.NodeY(b) - ya) / (vb - va) + ya,
        da * (solver.NodeX(c) - xa) / (vc - va) + xa, da * (solver.NodeY(c) - ya) / (vc - va) + ya);
    ++added;
  }
  return added;
}

// Fifteen levels evenly spaced between hi and lo, highest first, each traced by trace(level).
template <class TraceLevel>
int TraceLevels(TIsolines& set, double hi, double lo, std::vector<IsolineLevel>* levels,
                const TraceLevel& trace) {
  const double step = static_cast<double>((hi - lo) * (1.0L / 15.0L));
  double level = hi - step;
  for (int k = 0; k < 15; ++k) {
    const int first = set.SegmentCount();
    trace(level);
    if (levels) levels->push_back({level, first, set.SegmentCount() - first});
    level -= step;
  }
  return set.SegmentCount();
}

}  // namespace

int TraceIsolines(TIsolines& set, double level, int field, const TGlobMatrix& solver) {
  if (field < 0 || field >= kResultFieldCount) return -1;
  if (!solver.IsSolved() || (field >= 3 && !solver.HasStresses())) return -1;
  return Trace(set, level, solver, [&](int node) { return CornerValue(solver, node, field); });
}

int BuildIsolines(TIsolines& set, int field, const TGlobMatrix& solver,
                  std::vector<IsolineLevel>* levels) {
  set = TIsolines();
  if (field < 0 || field >= kResultFieldCount || !solver.IsSolved() ||
      (field >= 3 && !solver.HasStresses()))
    return -1;
  const int count = field <= 2 ? solver.ResultNodeCount() : solver.ResultTriangleCount();
  if (count == 0) return -1;
  auto value = [&](int i) {
    return field <= 2 ? static_cast<double>(solver.Displacement(i, field))
                      : solver.ElementValue(i, static_cast<ResultField>(field));
  };
  double hi = value(0), lo = hi;
  for (int i = 0; i < count; ++i) {
    const double v = value(i);
    if (hi < v) hi = v;
    if (lo > v) lo = v;
  }
  return TraceLevels(set, hi, lo, levels,
                     [&](double level) { TraceIsolines(set, level, field, solver); });
}

int BuildIsolines(TIsolines& set, const std::vector<double>& nodeValues, const TGlobMatrix& solver,
                  std::vector<IsolineLevel>* levels) {
  set = TIsolines();
  if (nodeValues.empty() || static_cast<int>(nodeValues.size()) != solver.ResultNodeCount())
    return -1;
  const auto [lo, hi] = std::minmax_element(nodeValues.begin(), nodeValues.end());
  return TraceLevels(set, *hi, *lo, levels, [&](double level) {
    Trace(set, level, solver, [&](int node) { return nodeValues[static_cast<std::size_t>(node)]; });
  });
}

}  // namespace tavrin

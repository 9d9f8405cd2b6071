#include "ui/TListingRows.h"

#include <algorithm>
#include <cmath>

#include "analysis/TGlobMatrix.h"

namespace tavrin {

double ListingSource::ExtraValue(int, bool, int) const { return 0.0; }
std::string ListingSource::ExtraText(int, bool, int) const { return {}; }

SolverListingSource::SolverListingSource(const TGlobMatrix& solver)
    : solver_(solver), extra_(std::make_unique<ResultColumns>(solver)) {}
SolverListingSource::~SolverListingSource() = default;

std::vector<ResultColumns::Column> SolverListingSource::ExtraColumns() const {
  return extra_->Columns();
}
double SolverListingSource::ExtraValue(int k, bool byNodes, int index) const {
  return byNodes ? extra_->NodeValue(k, index) : extra_->ElementValue(k, index);
}

// A solve that failed still knows its mesh's counts, but has no values to list for them.
int SolverListingSource::NodeCount() const {
  return solver_.IsSolved() ? solver_.ResultNodeCount() : 0;
}
int SolverListingSource::TriangleCount() const {
  return solver_.HasStresses() ? solver_.ResultTriangleCount() : 0;
}
double SolverListingSource::Displacement(int node, int dof) const {
  return static_cast<double>(solver_.Displacement(node, dof));
}
double SolverListingSource::CentroidDeflection(int triangle) const {
  return solver_.CentroidDeflection(triangle);
}
double SolverListingSource::ElementStress(int triangle, int component) const {
  return solver_.ElementStress(triangle, component);
}
bool SolverListingSource::HasStresses() const { return solver_.HasStresses(); }

std::array<int, 2> DeviationWindow(const std::vector<double>& keys, double factor) {
  const int n = static_cast<int>(keys.size());
  if (n == 0) return {0, 0};
  const double ref = std::max(keys[0], keys[n - 1]);
  const double limit = ref * factor;
  for (int i = 0; i + 1 < n; ++i) {
    double d0 = std::fabs(ref - keys[i]), d1 = std::fabs(ref - keys[i + 1]);
    if (d0 > limit && d1 < limit) return {i + 1, n};  // ascending: the tail holds the largest
    if (d0 < limit && d1 > limit) return {0, i + 1};  // descending: the head holds them
  }
  return {0, n};
}

namespace {

struct Keyed {
  double key;
  int row;
};

// NaN (a failed result) sorts after every number in either direction, so the order stays a
// strict weak ordering whatever the solver returned.
bool Before(const Keyed& a, const Keyed& b, bool ascending) {
  bool an = std::isnan(a.key), bn = std::isnan(b.key);
  if (an != bn) return bn;
  if (!an && a.key != b.key) return ascending ? a.key < b.key : a.key > b.key;
  return a.row < b.row;
}

}  // namespace

bool ListingColumnUsed(const ListingSource& source, int column, bool byNodes) {
  if (column < 0) return false;
  if (column == kColNumber || column == kColLinZ) return true;
  if (column < kColSigmaX) return byNodes;
  if (column < kListingColumns) return !byNodes && source.HasStresses();
  const auto extra = source.ExtraColumns();
  const auto k = static_cast<std::size_t>(column - kListingColumns);
  return k < extra.size() && (byNodes ? extra[k].atNodes : extra[k].atElements);
}

bool BuildListingRows(const ListingSource& source, const ListingQuery& q,
                      std::vector<ListingRow>& rows) {
  const int n = q.byNodes ? source.NodeCount() : source.TriangleCount();
  if (n <= 0) return false;
  if (q.byNodes && q.sortColumn >= kColSigmaX && q.sortColumn < kListingColumns) return false;
  if (!q.byNodes && (q.sortColumn == kColRotX || q.sortColumn == kColRotY)) return false;
  if (q.sortColumn >= kListingColumns && !ListingColumnUsed(source, q.sortColumn, q.byNodes))
    return false;
  if (q.sortColumn < 0) return false;

  // Read every value once; the keys are magnitudes of the sort column.
  std::vector<ListingRow> all(n);
  for (int i = 0; i < n; ++i) {
    ListingRow& r = all[i];
    r.number = i;
    if (q.byNodes) {
      for (int d = 0; d < 3; ++d) r.values[kColLinZ - 1 + d] = source.Displacement(i, d);
    } else {
      r.values[kColLinZ - 1] = source.CentroidDeflection(i);
      for (int c = 0; c < 3; ++c) r.values[kColSigmaX - 1 + c] = source.ElementStress(i, c);
    }
  }
  std::vector<Keyed> keyed(n);
  const int extra = q.sortColumn - kListingColumns;
  for (int i = 0; i < n; ++i)
    keyed[i] = {q.sortColumn == kColNumber ? static_cast<double>(i)
                : extra >= 0               ? std::fabs(source.ExtraValue(extra, q.byNodes, i))
                                           : std::fabs(all[i].values[q.sortColumn - 1]),
                i};
  std::sort(keyed.begin(), keyed.end(),
            [&](const Keyed& a, const Keyed& b) { return Before(a, b, q.ascending); });

  std::vector<double> keys(n);
  for (int i = 0; i < n; ++i) keys[i] = keyed[i].key;
  auto [first, last] = DeviationWindow(keys, q.deviationFactor);

  rows.clear();
  rows.reserve(last - first);
  for (int i = first; i < last; ++i) rows.push_back(all[keyed[i].row]);
  return true;
}

}  // namespace tavrin

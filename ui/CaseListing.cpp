#include "ui/CaseListing.h"

namespace tavrin {

namespace {
// ResultSet's node columns of the moments, and its element columns of them.
constexpr int kNodeMoments = 6;
constexpr int kElementMoments = 4;
const char* const kMomentNames[3] = {"m_x", "m_y", "m_xy"};
}  // namespace

SetListingSource::SetListingSource(const ResultSet& set, const DesignColumns& design)
    : set_(set), design_(design) {}

std::vector<ResultColumns::Column> SetListingSource::ExtraColumns() const {
  std::vector<ResultColumns::Column> columns;
  for (const char* name : kMomentNames) columns.push_back({name, true, true});
  for (const char* name : kDesignColumnNames) columns.push_back({name, true, true});
  return columns;
}

double SetListingSource::ExtraValue(int k, bool byNodes, int index) const {
  if (k < 3)
    return byNodes ? set_.Node(index, kNodeMoments + k) : set_.Element(index, kElementMoments + k);
  return byNodes ? design_.Node(index, k - 3) : design_.Element(index, k - 3);
}

EnvelopeListingSource::EnvelopeListingSource(const NodeEnvelope& envelope, bool max)
    : envelope_(envelope), max_(max) {}

double EnvelopeListingSource::Value(int node, int column) const {
  const std::vector<double>& side = max_ ? envelope_.max : envelope_.min;
  return side[envelope_.At(node, column)];
}

std::vector<ResultColumns::Column> EnvelopeListingSource::ExtraColumns() const {
  std::vector<ResultColumns::Column> columns;
  for (int k = 3; k < NodeEnvelope::kColumns; ++k)
    columns.push_back({NodeEnvelope::ColumnName(k), true, false});
  return columns;
}

double EnvelopeListingSource::ExtraValue(int k, bool byNodes, int index) const {
  return byNodes ? Value(index, 3 + k) : 0.0;
}

}  // namespace tavrin

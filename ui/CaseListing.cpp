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
    : envelope_(envelope), max_(max) {
  for (int k = 0; k < NodeEnvelope::kColumns; ++k) {
    if (k >= 3) extras_.push_back({k, false});
    extras_.push_back({k, true});
  }
}

double EnvelopeListingSource::Value(int node, int column) const {
  const std::vector<double>& side = max_ ? envelope_.max : envelope_.min;
  return side[envelope_.At(node, column)];
}

int EnvelopeListingSource::From(int node, int column) const {
  const std::vector<int>& side = max_ ? envelope_.maxFrom : envelope_.minFrom;
  return side[envelope_.At(node, column)];
}

std::vector<ResultColumns::Column> EnvelopeListingSource::ExtraColumns() const {
  std::vector<ResultColumns::Column> columns;
  for (const Extra& x : extras_) {
    std::string name = NodeEnvelope::ColumnName(x.column);
    if (x.by) name += " by";
    columns.push_back({name, true, false, x.by});
  }
  return columns;
}

double EnvelopeListingSource::ExtraValue(int k, bool byNodes, int index) const {
  if (!byNodes) return 0.0;
  const Extra& x = extras_[static_cast<std::size_t>(k)];
  return x.by ? From(index, x.column) : Value(index, x.column);
}

std::string EnvelopeListingSource::ExtraText(int k, bool byNodes, int index) const {
  const Extra& x = extras_[static_cast<std::size_t>(k)];
  if (!byNodes || !x.by) return {};
  return envelope_.combinations[static_cast<std::size_t>(From(index, x.column))];
}

}  // namespace tavrin

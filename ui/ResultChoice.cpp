#include "ui/ResultChoice.h"

#include "analysis/CaseSolution.h"
#include "analysis/TGlobMatrix.h"
#include "model/LoadCases.h"
#include "ui/CaseListing.h"
#include "ui/ResultColumns.h"
#include "ui/ResultViews.h"

namespace tavrin {

ResultChoice::ResultChoice() { Reset(nullptr, std::string(kFirstCaseName)); }
ResultChoice::~ResultChoice() = default;

ResultChoice::ResultChoice(const ResultChoice& other)
    : cases_(other.cases_),
      items_(other.items_),
      chosen_(other.chosen_),
      plainColumns_(other.plainColumns_) {}

void ResultChoice::Reset(std::shared_ptr<const CaseSolution> cases, const std::string& firstName) {
  cases_ = std::move(cases);
  plainColumns_ = std::make_shared<ColumnsCache>();
  items_.clear();
  chosen_ = 0;
  if (!cases_) {
    items_.push_back({firstName, Kind::set, 0});
    return;
  }
  const std::vector<ResultSet>& sets = cases_->Sets();
  for (std::size_t s = 0; s < sets.size(); ++s)
    items_.push_back({sets[s].name, Kind::set, static_cast<int>(s)});
  const std::vector<NodeEnvelope>& envelopes = cases_->Envelopes();
  for (std::size_t e = 0; e < envelopes.size(); ++e) {
    std::string max = envelopes[e].name, min = envelopes[e].name;
    max += " (max)";
    min += " (min)";
    items_.push_back({max, Kind::envelopeMax, static_cast<int>(e)});
    items_.push_back({min, Kind::envelopeMin, static_cast<int>(e)});
  }
}

bool ResultChoice::Choose(int index) {
  if (index < 0 || index >= static_cast<int>(items_.size())) return false;
  chosen_ = index;
  return true;
}

std::vector<double> ResultChoice::NodeValues(const ResultView& view,
                                             const TGlobMatrix& solver) const {
  std::vector<double> values;
  // The error estimate is the solver's (the first case's): only the first case has one.
  if (view.perElement) return values;
  const int column = NodeColumnOf(view);
  if (!cases_) {
    if (view.design < 0) return values;
    std::lock_guard lock(plainColumns_->mutex);
    if (!plainColumns_->columns) plainColumns_->columns = std::make_unique<ResultColumns>(solver);
    const ResultColumns& columns = *plainColumns_->columns;
    const int k = columns.Find(kDesignColumnNames[view.design]);
    values.resize(static_cast<std::size_t>(solver.ResultNodeCount()));
    for (int v = 0; v < solver.ResultNodeCount(); ++v) values[v] = columns.NodeValue(k, v);
    return values;
  }
  const Item& item = items_[static_cast<std::size_t>(chosen_)];
  if (item.kind == Kind::set) {
    const ResultSet& set = cases_->Sets()[static_cast<std::size_t>(item.index)];
    const DesignColumns& design = cases_->Design()[static_cast<std::size_t>(item.index)];
    values.resize(static_cast<std::size_t>(set.nodes));
    for (int v = 0; v < set.nodes; ++v)
      values[v] = column < ResultSet::kNodeColumns
                      ? set.Node(v, column)
                      : design.Node(v, column - ResultSet::kNodeColumns);
  } else {
    const NodeEnvelope& envelope = cases_->Envelopes()[static_cast<std::size_t>(item.index)];
    const std::vector<double>& side = item.kind == Kind::envelopeMax ? envelope.max : envelope.min;
    values.resize(static_cast<std::size_t>(envelope.nodes));
    for (int v = 0; v < envelope.nodes; ++v) values[v] = side[envelope.At(v, column)];
  }
  // The foundation view's column is the deflection: its pressure k w is linear in w, and with
  // k >= 0 the envelope's extreme pressure is that of its extreme deflection.
  if (view.foundation)
    for (std::size_t v = 0; v < values.size(); ++v)
      values[v] = solver.FoundationPressure(static_cast<int>(v), values[v]);
  return values;
}

std::unique_ptr<ListingSource> ResultChoice::Listing() const {
  if (!cases_) return nullptr;
  const Item& item = items_[static_cast<std::size_t>(chosen_)];
  const auto i = static_cast<std::size_t>(item.index);
  if (item.kind == Kind::set)
    return std::make_unique<SetListingSource>(cases_->Sets()[i], cases_->Design()[i]);
  return std::make_unique<EnvelopeListingSource>(cases_->Envelopes()[i],
                                                 item.kind == Kind::envelopeMax);
}

}  // namespace tavrin

// Running extremes over the combinations, column by column.
#include "analysis/Envelopes.h"

namespace tavrin {

namespace {
const char* const kResultColumnNames[ResultSet::kNodeColumns] = {
    "w", "rot_x", "rot_y", "sigma_x", "sigma_y", "tau_xy", "m_x", "m_y", "m_xy"};
}

const char* NodeEnvelope::ColumnName(int k) {
  if (k >= 0 && k < ResultSet::kNodeColumns) return kResultColumnNames[k];
  if (k >= ResultSet::kNodeColumns && k < kColumns)
    return kDesignColumnNames[k - ResultSet::kNodeColumns];
  return "";
}

NodeEnvelope BuildEnvelope(const std::string& name, const std::vector<const ResultSet*>& sets,
                           const std::vector<const DesignColumns*>& design) {
  NodeEnvelope e;
  e.name = name;
  for (const ResultSet* set : sets) e.combinations.push_back(set->name);
  if (sets.empty()) return e;
  e.nodes = sets[0]->nodes;
  const std::size_t size = NodeEnvelope::kColumns * static_cast<std::size_t>(e.nodes);
  e.max.assign(size, 0.0);
  e.min.assign(size, 0.0);
  e.maxFrom.assign(size, 0);
  e.minFrom.assign(size, 0);
  for (std::size_t c = 0; c < sets.size(); ++c) {
    for (int v = 0; v < e.nodes; ++v) {
      for (int k = 0; k < NodeEnvelope::kColumns; ++k) {
        const double value = k < ResultSet::kNodeColumns
                                 ? sets[c]->Node(v, k)
                                 : design[c]->Node(v, k - ResultSet::kNodeColumns);
        const std::size_t at = e.At(v, k);
        if (c == 0 || value > e.max[at]) {
          e.max[at] = value;
          e.maxFrom[at] = static_cast<int>(c);
        }
        if (c == 0 || value < e.min[at]) {
          e.min[at] = value;
          e.minFrom[at] = static_cast<int>(c);
        }
      }
    }
  }
  return e;
}

}  // namespace tavrin

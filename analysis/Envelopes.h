// The envelope of a set of combinations: at every node, the largest and the smallest value of
// each result and design column over the combinations, with the combination that gave it (the
// first one on a tie). Linear in nodes x columns x combinations.
#pragma once

#include <string>
#include <vector>

#include "analysis/DesignTable.h"
#include "analysis/ResultSet.h"

namespace tavrin {

struct NodeEnvelope {
  // The columns: ResultSet's nine node columns, then the design columns.
  static constexpr int kColumns = ResultSet::kNodeColumns + kDesignColumns;
  static const char* ColumnName(int k);

  std::string name;
  std::vector<std::string> combinations;  // the names maxFrom and minFrom index
  int nodes = 0;
  std::vector<double> max, min;       // kColumns per node
  std::vector<int> maxFrom, minFrom;  // index into the combinations given, per value

  std::size_t At(int v, int k) const { return static_cast<std::size_t>(kColumns * v + k); }
};

// sets[i] and design[i] belong to combination i; all of one shape; at least one.
NodeEnvelope BuildEnvelope(const std::string& name, const std::vector<const ResultSet*>& sets,
                           const std::vector<const DesignColumns*>& design);

}  // namespace tavrin

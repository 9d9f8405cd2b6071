// DofColumn: the loads and constraints of every entry of a node or edge table, stored for the
// few entries that have any. The mesher makes most of a mesh's nodes and edges with no loads at
// all; only the job's own nodes and edges, and the pieces of a loaded edge, carry a record.
//
// Owns a 4-byte slot per entry and one record per entry added with a non-zero record: a table
// of mostly bare entries costs 4 bytes each instead of a whole record (80 bytes). Append and
// read cost constant time.
#pragma once

#include <cstdint>
#include <vector>

#include "model/DofRecord.h"

namespace tavrin {

class DofColumn {
 public:
  void Append(const DofRecord& dof);
  // Room for n entries in all (their slots; records are few and grow as they come).
  void Reserve(std::size_t n) { slot_.reserve(n); }
  // The record of entry i; the caller passes 0..count-1.
  const DofRecord& Get(int i) const;

 private:
  std::vector<std::uint32_t> slot_;  // by entry: 0 for none, else 1 + index into records_
  std::vector<DofRecord> records_;
};

}  // namespace tavrin

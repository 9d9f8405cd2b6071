// Sparse load records: a bare entry stores slot 0, which reads as the zero record.
#include "mesh/DofColumn.h"

namespace tavrin {

namespace {
const DofRecord kNone{};
}  // namespace

void DofColumn::Append(const DofRecord& dof) {
  if (dof == kNone) {
    slot_.push_back(0);
    return;
  }
  records_.push_back(dof);
  slot_.push_back(static_cast<std::uint32_t>(records_.size()));
}

const DofRecord& DofColumn::Get(int i) const {
  const std::uint32_t s = slot_[static_cast<std::size_t>(i)];
  return s == 0 ? kNone : records_[s - 1];
}

}  // namespace tavrin

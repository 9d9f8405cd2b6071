// List of 32-bit integers: appends are amortised constant time, access is direct.
#include "containers/TInts.h"

#include <cassert>

namespace tavrin {

int TInts::Add(int value) {
  items_.push_back(value);
  return Count() - 1;
}

int TInts::Get(int i) const {
  assert(i >= 0 && i < Count());
  if (i < 0 || i >= Count()) return -1;
  return items_[static_cast<std::size_t>(i)];
}

void TInts::Set(int i, int value) {
  if (i < 0 || i >= Count()) return;
  items_[static_cast<std::size_t>(i)] = value;
}

}  // namespace tavrin

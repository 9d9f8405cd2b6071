// List of doubles: appends are amortised constant time; the descending sort is O(n log n).
#include "containers/TFloats.h"

#include <algorithm>
#include <cassert>
#include <functional>

namespace tavrin {

int TFloats::Add(double value) {
  items_.push_back(value);
  return Count() - 1;
}

double TFloats::Get(int i) const {
  assert(i >= 0 && i < Count());
  if (i < 0 || i >= Count()) return 0.0;
  return items_[static_cast<std::size_t>(i)];
}

void TFloats::Set(int i, double value) {
  if (i < 0 || i >= Count()) return;
  items_[static_cast<std::size_t>(i)] = value;
}

// Lists here are short (crossings of one line with an outline), but a sort is O(n log n)
// anyway; the result is the same non-increasing order an exchange sort gives.
void TFloats::SortDescending() { std::sort(items_.begin(), items_.end(), std::greater<double>()); }

}  // namespace tavrin

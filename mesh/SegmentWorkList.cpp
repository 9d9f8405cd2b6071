// The marked segments in a binary heap, smallest index on top: a sweep pops them in increasing
// order, and those marked behind its position are set aside until the sweep ends.
#include "mesh/SegmentWorkList.h"

#include <algorithm>
#include <functional>

namespace tavrin {

void SegmentWorkList::Push(int s) {
  heap_.push_back(s);
  std::push_heap(heap_.begin(), heap_.end(), std::greater<int>());
}

void SegmentWorkList::Mark(int s) {
  const auto i = static_cast<std::size_t>(s);
  if (i >= marked_.size()) marked_.resize(std::max(i + 1, 2 * marked_.size()), 0);
  if (marked_[i]) return;
  marked_[i] = 1;
  Push(s);
}

bool SegmentWorkList::Marked(int s) const {
  const auto i = static_cast<std::size_t>(s);
  return i < marked_.size() && marked_[i] != 0;
}

int SegmentWorkList::StartSweep(int limit) {
  for (int s : waiting_) Push(s);
  waiting_.clear();
  limit_ = limit;
  position_ = -1;
  return Next();
}

int SegmentWorkList::Next() {
  while (!heap_.empty()) {
    const int s = heap_.front();
    if (s >= limit_) break;
    std::pop_heap(heap_.begin(), heap_.end(), std::greater<int>());
    heap_.pop_back();
    if (s <= position_) {
      waiting_.push_back(s);
      continue;
    }
    marked_[static_cast<std::size_t>(s)] = 0;
    position_ = s;
    return s;
  }
  for (int s : waiting_) Push(s);
  waiting_.clear();
  position_ = limit_;
  return -1;
}

}  // namespace tavrin

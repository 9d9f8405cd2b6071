// A four-way heap with the place of every id: the children of the pair at i are those at
// 4 i + 1 .. 4 i + 4. A moving pair is held aside while the pairs it passes shift one level,
// each written once with its new place.
#include "mesh/IndexedHeap.h"

namespace tavrin {

void IndexedHeap::Reserve(std::size_t n) {
  heap_.reserve(n);
  place_.reserve(n);
}

void IndexedHeap::Set(int id, double key) {
  const auto i = static_cast<std::size_t>(id);
  if (i >= place_.size()) place_.resize(i + 1, kAbsent);
  if (place_[i] == kAbsent) {
    place_[i] = static_cast<int>(heap_.size());
    heap_.push_back(Pair{key, id});
    SiftUp(heap_.size() - 1);
    return;
  }
  const auto at = static_cast<std::size_t>(place_[i]);
  const double old = heap_[at].key;
  heap_[at].key = key;
  if (key < old)
    SiftUp(at);
  else
    SiftDown(at);
}

void IndexedHeap::Remove(int id) {
  if (!Contains(id)) return;
  const auto i = static_cast<std::size_t>(id);
  const auto at = static_cast<std::size_t>(place_[i]);
  place_[i] = kAbsent;
  const Pair last = heap_.back();
  heap_.pop_back();
  if (at == heap_.size()) return;
  heap_[at] = last;
  place_[static_cast<std::size_t>(last.id)] = static_cast<int>(at);
  // The last pair may belong above or below the removed one's place.
  if (at > 0 && Before(last, heap_[(at - 1) / kArity]))
    SiftUp(at);
  else
    SiftDown(at);
}

void IndexedHeap::Clear() {
  for (const Pair& p : heap_) place_[static_cast<std::size_t>(p.id)] = kAbsent;
  heap_.clear();
}

void IndexedHeap::SiftUp(std::size_t i) {
  const Pair moving = heap_[i];
  while (i > 0) {
    const std::size_t parent = (i - 1) / kArity;
    if (!Before(moving, heap_[parent])) break;
    heap_[i] = heap_[parent];
    place_[static_cast<std::size_t>(heap_[i].id)] = static_cast<int>(i);
    i = parent;
  }
  heap_[i] = moving;
  place_[static_cast<std::size_t>(moving.id)] = static_cast<int>(i);
}

void IndexedHeap::SiftDown(std::size_t i) {
  const Pair moving = heap_[i];
  const std::size_t n = heap_.size();
  for (;;) {
    const std::size_t first = kArity * i + 1;
    if (first >= n) break;
    const std::size_t end = first + kArity < n ? first + kArity : n;
    std::size_t least = first;
    for (std::size_t c = first + 1; c < end; ++c)
      if (Before(heap_[c], heap_[least])) least = c;
    if (!Before(heap_[least], moving)) break;
    heap_[i] = heap_[least];
    place_[static_cast<std::size_t>(heap_[i].id)] = static_cast<int>(i);
    i = least;
  }
  heap_[i] = moving;
  place_[static_cast<std::size_t>(moving.id)] = static_cast<int>(i);
}

}  // namespace tavrin

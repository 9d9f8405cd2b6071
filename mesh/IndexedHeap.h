// IndexedHeap: the smallest of a set of (key, id) pairs, each id at most once, with keys that
// change in place; ordered by key, then by id, so the smallest is one pair whatever the order
// of the changes (the mesh index asks it for the first triangle of the smallest angle or of the
// largest area).
//
// A four-way heap of the pairs with every id's place in it: a change or a removal moves the
// pair up or down from where it is, so the heap holds no outdated pairs and never grows beyond
// the ids in it. Cost: a change O(log n) at worst and about constant for a pair that lands near
// the bottom, as most do; the four children of a pair lie side by side. Memory: 16 bytes
// per pair and 4 per id up to the largest. Keys must not be NaN for the order to hold (the
// heap stays consistent either way).
#pragma once

#include <cstddef>
#include <vector>

namespace tavrin {

class IndexedHeap {
 public:
  // Room for ids below n and for n pairs, so that the changes up to them move no table.
  void Reserve(std::size_t n);
  // Puts id in with the key, or gives it the key when it is in already. id >= 0.
  void Set(int id, double key);
  // Takes id out; nothing when it is not in.
  void Remove(int id);
  bool Contains(int id) const {
    const auto i = static_cast<std::size_t>(id);
    return i < place_.size() && place_[i] != kAbsent;
  }
  // The id of the smallest pair; -1 when the heap is empty.
  int Top() const { return heap_.empty() ? -1 : heap_.front().id; }
  // Takes every id out.
  void Clear();
  std::size_t Size() const { return heap_.size(); }

 private:
  struct Pair {
    double key;
    int id;
  };
  static constexpr int kAbsent = -1;
  static constexpr std::size_t kArity = 4;
  static bool Before(const Pair& a, const Pair& b) {
    return a.key < b.key || (a.key == b.key && a.id < b.id);
  }
  // Moves the pair at i up or down to where it belongs, keeping place_ in step.
  void SiftUp(std::size_t i);
  void SiftDown(std::size_t i);

  std::vector<Pair> heap_;
  std::vector<int> place_;  // by id: index in heap_, or kAbsent
};

}  // namespace tavrin

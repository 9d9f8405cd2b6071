// TInts: an append-only list of 32-bit indices addressed by index. Used for polygon numbers of
// ray crossings, isoline point indices and other scratch lists.
#pragma once

#include <vector>

namespace tavrin {

class TInts {
 public:
  // Appends and returns the new index (Count() - 1).
  int Add(int value);
  // Item i; the caller passes 0..Count()-1 (checked only by assertion, -1 otherwise).
  int Get(int i) const;
  // Stores value at i when 0 <= i < Count(); does nothing otherwise.
  void Set(int i, int value);
  int Count() const { return static_cast<int>(items_.size()); }

 private:
  std::vector<int> items_;
};

}  // namespace tavrin

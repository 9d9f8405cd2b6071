// TFloats: an append-only list of doubles addressed by index. Used for ray crossings of the job
// model, isoline coordinates and other short scratch lists. An index, once returned by Add,
// keeps its value until the list is destroyed.
#pragma once

#include <vector>

namespace tavrin {

class TFloats {
 public:
  // Appends and returns the new index (Count() - 1).
  int Add(double value);
  // Item i; the caller passes 0..Count()-1 (checked only by assertion, 0.0 otherwise).
  double Get(int i) const;
  // Stores value at i when 0 <= i < Count(); does nothing otherwise.
  void Set(int i, double value);
  int Count() const { return static_cast<int>(items_.size()); }
  // Reorders the items into non-increasing order.
  void SortDescending();

 private:
  std::vector<double> items_;
};

}  // namespace tavrin

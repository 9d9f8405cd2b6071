// FringeField: one result field copied out of the solver for drawing: the solved mesh (nodes in
// the solver's numbering, triangles), the values (one per node, interpolated linearly over
// each triangle; or one per triangle, drawn flat, for the error estimate), their range and
// where the extremes are. Copying costs 2 doubles per node, 3 ints per triangle and one double
// per value, and frees the pictures from the solver's query functions on every frame.
#pragma once

#include <array>
#include <vector>

namespace tavrin {

class TGlobMatrix;
struct ResultView;

struct FringeField {
  std::vector<double> x, y;
  std::vector<std::array<int, 3>> triangles;
  std::vector<double> values;  // per node, or per triangle when perElement
  bool perElement = false;
  double min = 0, max = 0;
  // Index (node, or triangle when perElement) of the first smallest and largest value; -1 for
  // a field without values.
  int minAt = -1, maxAt = -1;

  bool Empty() const { return values.empty(); }
  // Where a marker of the value at index i goes: the node, or the triangle's centroid.
  double MarkerX(int i) const;
  double MarkerY(int i) const;
};

// The field a result view shows, from a solver that has the results the view needs (a design
// view computes its column from the whole solve).
FringeField BuildFringeField(const TGlobMatrix& solver, const ResultView& view);
// The solved mesh with the given values, one per node in the solver's numbering (a result set
// other than the solver's own, or a design column).
FringeField BuildFringeField(const TGlobMatrix& solver, std::vector<double> nodeValues);

}  // namespace tavrin

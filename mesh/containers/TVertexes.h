// TVertexes: the node table of a mesh. Owns, per node, its coordinates, the job polygon it came
// from (input nodes only) and its loads and constraints. Nodes are only appended; an index keeps
// its node for the life of the table. Columns are parallel arrays sharing one count.
#pragma once

#include <cassert>
#include <vector>

#include "mesh/containers/DofRecord.h"

namespace tavrin {

class TVertexes {
 public:
  // Appends a node and returns its index. The polygon column is left at -1.
  int AddNode(double x, double y, const DofRecord& dof);
  int Count() const { return static_cast<int>(x_.size()); }
  // Coordinates; the caller passes 0..Count()-1 (checked only by assertion, 2e200 otherwise).
  // Inline: the mesher reads coordinates in every measure it takes.
  double X(int i) const {
    assert(Valid(i));
    return Valid(i) ? x_[static_cast<std::size_t>(i)] : kBadCoordinate;
  }
  double Y(int i) const {
    assert(Valid(i));
    return Valid(i) ? y_[static_cast<std::size_t>(i)] : kBadCoordinate;
  }
  // Copies node i's loads and constraints; 0, or -1 when i is out of range (dof untouched).
  int GetDof(int i, DofRecord& dof) const;
  // Polygon column of node i, or -1 when i is out of range.
  int Polygon(int i) const;
  // Stores p in the polygon column; 0, or -1 when i is out of range.
  int SetPolygon(int i, int p);

 private:
  static constexpr double kBadCoordinate = 2e200;
  bool Valid(int i) const { return i >= 0 && i < Count(); }

  std::vector<double> x_;
  std::vector<double> y_;
  std::vector<int> polygon_;
  std::vector<DofRecord> dof_;
};

}  // namespace tavrin

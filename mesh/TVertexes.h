// TVertexes: the node table of a mesh. Owns, per node, its coordinates, the job polygon it came
// from (input nodes only) and its loads and constraints. Nodes are only appended; an index keeps
// its node for the life of the table. The coordinates of a node lie together (the mesher reads
// them together); polygons and loads lie apart, loads only for the nodes that have any
// (DofColumn).
#pragma once

#include <cassert>
#include <vector>

#include "containers/Sentinels.h"
#include "mesh/DofColumn.h"
#include "model/DofRecord.h"

namespace tavrin {

class TVertexes {
 public:
  // Appends a node and returns its index. The polygon column is left at -1.
  int AddNode(double x, double y, const DofRecord& dof);
  int Count() const { return static_cast<int>(xy_.size()); }
  // Room for n nodes in all, so that the appends up to n move no record.
  void Reserve(std::size_t n);
  // Coordinates; the caller passes 0..Count()-1 (checked only by assertion, kNoCoordinate
  // otherwise). Inline: the mesher reads coordinates in every measure it takes.
  double X(int i) const {
    assert(Valid(i));
    return Valid(i) ? xy_[static_cast<std::size_t>(i)].x : kNoCoordinate;
  }
  double Y(int i) const {
    assert(Valid(i));
    return Valid(i) ? xy_[static_cast<std::size_t>(i)].y : kNoCoordinate;
  }
  // Copies node i's loads and constraints; 0, or -1 when i is out of range (dof untouched).
  int GetDof(int i, DofRecord& dof) const;
  // Polygon column of node i, or -1 when i is out of range.
  int Polygon(int i) const;
  // Stores p in the polygon column; 0, or -1 when i is out of range.
  int SetPolygon(int i, int p);

 private:
  bool Valid(int i) const { return i >= 0 && i < Count(); }

  struct Position {
    double x;
    double y;
  };
  std::vector<Position> xy_;
  std::vector<int> polygon_;
  DofColumn dof_;
};

}  // namespace tavrin

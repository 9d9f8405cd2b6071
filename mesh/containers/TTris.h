// TTris: the triangle table of a mesh. Owns, per triangle, its three edges (a triangle stores
// edges, not nodes), its smallest interior angle in radians and its area as measured when it
// was made or last re-shaped, and its physics (set by the caller after creation). Triangles
// are only appended; they are re-shaped in place.
#pragma once

#include <cassert>
#include <vector>

#include "mesh/containers/DofRecord.h"

namespace tavrin {

class TTris {
 public:
  // Appends and returns the index; physics is left zero for the caller to set.
  int AddTriangle(int e1, int e2, int e3, double minAngle, double area);
  // Overwrites edges and measures of t in place, keeping its physics; ignored for a bad t.
  void SetTriangle(int t, int e1, int e2, int e3, double minAngle, double area);
  int Count() const { return static_cast<int>(records_.size()); }
  // Edge k (1, 2 or 3); -1 when t is out of range or k is another value. Accessors are inline:
  // the mesher asks them several times per triangle it looks at.
  int Edge(int t, int k) const {
    if (!Valid(t)) return -1;
    return k >= 1 && k <= 3 ? records_[static_cast<std::size_t>(t)].edge[k - 1] : -1;
  }
  // Stored measures; the caller passes 0..Count()-1 (checked only by assertion, 0 otherwise).
  double MinAngle(int t) const {
    assert(Valid(t));
    return Valid(t) ? records_[static_cast<std::size_t>(t)].minAngle : 0.0;
  }
  double Area(int t) const {
    assert(Valid(t));
    return Valid(t) ? records_[static_cast<std::size_t>(t)].area : 0.0;
  }
  // Copies t's physics and returns t; -1 (physics untouched) when t is out of range.
  int GetPhysics(int t, ElementPhysics& physics) const;
  // Stores t's physics and returns t; -1 when t is out of range.
  int SetPhysics(int t, const ElementPhysics& physics);
  // First triangle with the smallest stored minAngle; 0 for an empty table. Linear scan.
  int MinAngleIndex() const;
  // First triangle with the largest stored area; 0 for an empty table. Linear scan.
  int MaxAreaIndex() const;

 private:
  bool Valid(int t) const { return t >= 0 && t < Count(); }

  // Everything of a triangle in one cache line: the mesher reads its edges and measures
  // together and copies its physics when it cuts it.
  struct alignas(64) Record {
    int edge[3];
    double minAngle;
    double area;
    ElementPhysics physics;
  };
  std::vector<Record> records_;
};

}  // namespace tavrin

// TTris: the triangle table of a mesh. Owns, per triangle, its three edges (a triangle stores
// edges, not nodes), its smallest interior angle in radians and its area as measured when it
// was made or last re-shaped, and its physics (set by the caller after creation). Triangles
// are only appended; they are re-shaped in place.
//
// A triangle's edges, measures and physics lie in one 32-byte record; the physics as the
// number of an entry of a table of the distinct physics set so far (a mesh has one per
// region), kept bit for bit as given.
#pragma once

#include <array>
#include <cassert>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "model/DofRecord.h"

namespace tavrin {

class TTris {
 public:
  // Appends and returns the index; physics is left zero for the caller to set.
  int AddTriangle(int e1, int e2, int e3, double minAngle, double area);
  // Overwrites edges and measures of t in place, keeping its physics; ignored for a bad t.
  void SetTriangle(int t, int e1, int e2, int e3, double minAngle, double area);
  int Count() const { return static_cast<int>(records_.size()); }
  // Room for n triangles in all, so that the appends up to n move no record.
  void Reserve(std::size_t n) { records_.reserve(n); }
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
  // Gives triangle to the physics of triangle from, bit for bit (a piece cut off a triangle
  // keeps its physics); ignored when either is out of range.
  void CopyPhysics(int from, int to) {
    if (Valid(from) && Valid(to))
      records_[static_cast<std::size_t>(to)].physics =
          records_[static_cast<std::size_t>(from)].physics;
  }
  // First triangle with the smallest stored minAngle; 0 for an empty table. Linear scan.
  int MinAngleIndex() const;
  // First triangle with the largest stored area; 0 for an empty table. Linear scan.
  int MaxAreaIndex() const;

 private:
  bool Valid(int t) const { return t >= 0 && t < Count(); }

  // Two triangles to a cache line: the mesher reads a triangle's edges and measures together
  // and copies its physics when it cuts it.
  struct alignas(32) Record {
    int edge[3];
    std::uint32_t physics;  // entry of physicsTable_
    double minAngle;
    double area;
  };
  std::vector<Record> records_;

  // The distinct physics by their bits (so -0.0 and NaN payloads come back as given).
  using PhysicsBits = std::array<std::uint64_t, sizeof(ElementPhysics) / 8>;
  struct BitsHash {
    std::size_t operator()(const PhysicsBits& b) const;
  };
  std::uint32_t PhysicsEntry(const ElementPhysics& physics);
  std::vector<ElementPhysics> physicsTable_{ElementPhysics{}};
  std::unordered_map<PhysicsBits, std::uint32_t, BitsHash> physicsByBits_;
  std::uint32_t lastPhysics_ = 0;
};

}  // namespace tavrin

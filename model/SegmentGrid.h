// SegmentGrid: square cells over the plane, each listing the segments that pass within a margin
// of it, so that the segments near a point, or two segments that may meet, are found without
// comparing every pair; and rows of cells, each listing its segments once, for rays. Owns the
// lists (hash maps from occupied cell and from occupied row to segment ids).
// Adding a segment costs one step per cell it touches, about length / cell + 2 rows and columns
// of margin; a caller that picks the cell near the segments' mean length keeps the total linear
// in the number of segments.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

namespace tavrin {

class SegmentGrid {
 public:
  // cell > 0 is the side of a cell, 0 <= margin <= cell the distance within which a cell lists a
  // segment. Coordinates divided by cell must fit a 64-bit integer.
  SegmentGrid(double cell, double margin);

  // Lists segment id in every cell that has a point within margin of the segment.
  void Add(int id, double x1, double y1, double x2, double y2);

  // The ids listed in the cell that holds (x, y): every segment within margin of the point is
  // among them. Empty when none.
  const std::vector<int>& Near(double x, double y) const;

  // Calls visit(ids) for every occupied cell, in no particular order.
  template <class Visit>
  void ForEachCell(Visit visit) const {
    for (const auto& [key, ids] : cells_) visit(ids);
  }

  // Every segment that has a point within margin of the row (the horizontal band of cells) that
  // holds y, each once; empty when none.
  const std::vector<int>& InRow(double y) const;

 private:
  struct Key {
    std::int64_t column;
    std::int64_t row;
    bool operator==(const Key& other) const = default;
  };
  struct KeyHash {
    std::size_t operator()(const Key& k) const;
  };

  std::int64_t Index(double v) const;
  void List(int id, std::int64_t column, std::int64_t row);

  double cell_;
  double margin_;
  std::unordered_map<Key, std::vector<int>, KeyHash> cells_;
  std::unordered_map<std::int64_t, std::vector<int>> rows_;
};

}  // namespace tavrin

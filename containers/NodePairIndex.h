// NodePairIndex: which edges join two given nodes, for the edge table's Find.
//
// Owns an open-addressing hash table of (unordered node pair, edge index) entries with linear
// probing, at most half full: no allocation per entry, and a lookup touches one or two cache
// lines. A pair may carry several edges (duplicate edges); Highest answers the largest index.
// Memory: 16 bytes per slot, between 2 and 4 slots per entry. Insert and Erase cost constant
// time on average (a growth re-inserts everything, amortised over the inserts before it).
#pragma once

#include <cstdint>
#include <vector>

namespace tavrin {

class NodePairIndex {
 public:
  // Adds edge e joining a and b (in either order).
  void Insert(int a, int b, int e);
  // Removes the entry of edge e joining a and b; nothing when there is none.
  void Erase(int a, int b, int e);
  // Highest edge index joining a and b in either order; -1 when there is none.
  int Highest(int a, int b) const;

 private:
  struct Slot {
    std::uint64_t key = 0;
    int edge = -1;  // -1: empty
  };
  static std::uint64_t Key(int a, int b);
  std::size_t Home(std::uint64_t key) const;
  void Grow();

  std::vector<Slot> slots_;  // size a power of two, or empty
  std::size_t count_ = 0;
};

}  // namespace tavrin

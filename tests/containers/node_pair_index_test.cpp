// The node-pair index against a plain multimap: random inserts and erases of edges on a few
// nodes, so that pairs repeat, probe runs collide and wrap around the table, and erases shift
// entries back across the runs of other pairs.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <set>
#include <utility>

#include "containers/NodePairIndex.h"

namespace tavrin {
namespace {

TEST(NodePairIndex, EitherOrderAndTheHighestDuplicate) {
  NodePairIndex index;
  EXPECT_EQ(index.Highest(0, 1), -1);
  index.Erase(0, 1, 0);  // nothing to erase: no effect
  index.Insert(3, 7, 4);
  index.Insert(7, 3, 9);
  index.Insert(3, 7, 2);
  EXPECT_EQ(index.Highest(7, 3), 9);
  index.Erase(3, 7, 9);
  EXPECT_EQ(index.Highest(3, 7), 4);
  index.Erase(7, 3, 5);  // not an edge of the pair
  EXPECT_EQ(index.Highest(3, 7), 4);
  index.Insert(-1, 0, 1);  // ends outside the node range still find their own entry
  EXPECT_EQ(index.Highest(0, -1), 1);
  EXPECT_EQ(index.Highest(3, 3), -1);
}

TEST(NodePairIndex, AgreesWithAMultimapThroughGrowthAndErases) {
  NodePairIndex index;
  std::map<std::pair<int, int>, std::set<int>> reference;
  std::mt19937 random(1234);
  std::uniform_int_distribution<int> node(0, 40);
  std::uniform_int_distribution<int> action(0, 9);
  int nextEdge = 0;
  for (int step = 0; step < 60000; ++step) {
    int a = node(random), b = node(random);
    const auto key = std::minmax(a, b);
    auto& edges = reference[{key.first, key.second}];
    if (action(random) < 6 || edges.empty()) {
      index.Insert(a, b, nextEdge);
      edges.insert(nextEdge++);
    } else {
      // Erase an edge of the pair, given in either order, not always the highest.
      const int victim = (step % 3 == 0) ? *edges.rbegin() : *edges.begin();
      if (step % 2) std::swap(a, b);
      index.Erase(a, b, victim);
      edges.erase(victim);
    }
    if (step % 997 == 0) {
      for (const auto& [pair, list] : reference) {
        const int want = list.empty() ? -1 : *list.rbegin();
        ASSERT_EQ(index.Highest(pair.second, pair.first), want) << "step " << step;
      }
    }
  }
}

}  // namespace
}  // namespace tavrin

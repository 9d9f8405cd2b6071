// The segment work list must hand out exactly the segments a pass in index order over all of
// them would meet while they are marked: each once per sweep, in increasing order, including
// those marked ahead of the sweep while it runs, and none marked behind it or beyond its limit.
#include <gtest/gtest.h>

#include <vector>

#include "mesh/SegmentWorkList.h"

namespace tavrin {
namespace {

std::vector<int> Sweep(SegmentWorkList& list, int limit) {
  std::vector<int> out;
  for (int s = list.StartSweep(limit); s != -1; s = list.Next()) out.push_back(s);
  return out;
}

TEST(SegmentWorkList, SweepsMarkedSegmentsBelowTheLimitInIndexOrderOnce) {
  SegmentWorkList list;
  EXPECT_EQ(Sweep(list, 100), (std::vector<int>{}));
  for (int s : {40, 3, 17, 3, 99, 100, 250}) list.Mark(s);
  EXPECT_EQ(Sweep(list, 100), (std::vector<int>{3, 17, 40, 99}));
  EXPECT_FALSE(list.Marked(17));
  EXPECT_TRUE(list.Marked(100));  // at the limit: left for a later sweep
  EXPECT_EQ(Sweep(list, 100), (std::vector<int>{}));
  EXPECT_EQ(Sweep(list, 1000), (std::vector<int>{100, 250}));
}

TEST(SegmentWorkList, MarksDuringASweepFollowThePositionOfTheSweep) {
  SegmentWorkList list;
  for (int s : {2, 5, 9}) list.Mark(s);
  std::vector<int> seen;
  for (int s = list.StartSweep(20); s != -1; s = list.Next()) {
    seen.push_back(s);
    if (s == 5) {
      list.Mark(5);   // the segment just handed out (a split re-marks it): next sweep
      list.Mark(1);   // behind the sweep: next sweep
      list.Mark(7);   // ahead: this sweep, before 9
      list.Mark(12);  // ahead, after everything marked before: this sweep
      list.Mark(30);  // beyond the limit
    }
    if (s == 7) list.Mark(7);  // re-marked while handed out: next sweep, not again now
  }
  EXPECT_EQ(seen, (std::vector<int>{2, 5, 7, 9, 12}));
  EXPECT_EQ(Sweep(list, 20), (std::vector<int>{1, 5, 7}));
  EXPECT_EQ(Sweep(list, 40), (std::vector<int>{30}));
}

TEST(SegmentWorkList, ASweepAbandonedHalfWayLosesNothing) {
  SegmentWorkList list;
  for (int s : {4, 8, 15}) list.Mark(s);
  EXPECT_EQ(list.StartSweep(20), 4);
  list.Mark(2);  // behind the sweep, set aside
  EXPECT_EQ(Sweep(list, 20), (std::vector<int>{2, 8, 15}));
}

}  // namespace
}  // namespace tavrin

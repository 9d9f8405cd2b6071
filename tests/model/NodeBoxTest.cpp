#include "model/NodeBox.h"

#include <gtest/gtest.h>

#include <limits>

#include "model/TObjCont.h"

namespace tavrin {
namespace {

// The box the default maximal area is computed from: every node, the first one included, and
// nothing that is not a number.
TEST(NodeBox, HoldsEveryNodeAndPassesOverNonNumbers) {
  TObjCont job;
  EXPECT_EQ(NodeBox(job).Width(), 0.0);
  EXPECT_EQ(NodeBox(job).Height(), 0.0);

  job.AddNode(-5, 40);  // the first node is the extreme one on two sides
  job.AddNode(10, 7);
  job.AddNode(3, 12);
  PlanBox box = NodeBox(job);
  EXPECT_EQ(box.xmin, -5.0);
  EXPECT_EQ(box.xmax, 10.0);
  EXPECT_EQ(box.ymin, 7.0);
  EXPECT_EQ(box.ymax, 40.0);
  EXPECT_EQ(box.Width(), 15.0);
  EXPECT_EQ(box.Height(), 33.0);

  job.AddNode(std::numeric_limits<double>::quiet_NaN(), 100);
  box = NodeBox(job);
  EXPECT_EQ(box.Width(), 15.0);
  EXPECT_EQ(box.ymax, 100.0);
}

}  // namespace
}  // namespace tavrin

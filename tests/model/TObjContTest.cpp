#include <gtest/gtest.h>

#include <limits>
#include <utility>

#include "TestJobs.h"
#include "model/TObjCont.h"

namespace tavrin {
namespace {

TEST(TObjCont, FreshModelAndSentinels) {
  TObjCont job;
  EXPECT_EQ(job.NodeCount(), 0);
  EXPECT_EQ(job.EdgeCount(), 0);
  EXPECT_EQ(job.PolygonCount(), 0);
  EXPECT_EQ(job.LastNode(), -1);
  EXPECT_EQ(job.PolygonEdgeCount(0), 0);
  EXPECT_EQ(job.PolygonEdgeCount(1), -1);
  EXPECT_EQ(job.PolygonEdgeCount(-1), -1);
  EXPECT_EQ(job.NodeX(0), 2e200);
  EXPECT_EQ(job.NodeY(-1), 2e200);
  EXPECT_EQ(job.EdgeBegin(0), -1);
  EXPECT_EQ(job.EdgeEnd(0), -1);
  EXPECT_FALSE(job.IsFreeNode(0));
  EXPECT_FALSE(job.IsHole(0));
  EXPECT_FALSE(job.HasLinZLoad(0, true));
  EXPECT_EQ(job.GetConstraintCode(0, false), -1);
  EXPECT_TRUE(job.NewPolygonPending());
  std::array<double, 6> a{1, 1, 1, 1, 1, 1};
  int code = 42;
  EXPECT_EQ(job.GetNodeAttributes(0, a, code), -1);
  EXPECT_EQ(code, 42);
  EXPECT_EQ(a[0], 1.0);
}

TEST(TObjCont, LongPolygonKeepsEveryFieldAndOrder) {
  TObjCont job;
  for (int i = 0; i < 26; ++i) job.AddNode(i, -i);
  // A 25-edge open chain drawn as one polygon, then closed.
  for (int i = 0; i < 25; ++i) ASSERT_EQ(job.AddPolygonEdge(i, i + 1), StatusCode::Added);
  job.SetNodeLoads(3, 1, 2, 3);
  job.SetNodeConstraints(4, 110, 0.5, 0.25, 9);
  job.SetEdgeLoads(24, -7, 0, 0);
  job.ClosePolygon();
  for (int i = 0; i < 26; ++i) job.AddNode(100 + i, 0);  // free nodes after the polygon
  ASSERT_EQ(job.PolygonEdgeCount(0), 25);
  for (int k = 0; k < 25; ++k) EXPECT_EQ(job.PolygonEdge(0, k), k);
  EXPECT_FALSE(job.IsFreeNode(25));
  EXPECT_TRUE(job.IsFreeNode(26));
  EXPECT_EQ(job.NodeX(25), 25);
  EXPECT_EQ(job.NodeY(25), -25);
  std::array<double, 6> a{};
  int code = 0;
  EXPECT_EQ(job.GetNodeAttributes(3, a, code), 0);
  EXPECT_EQ(a, (std::array<double, 6>{0, 0, 0, 1, 2, 3}));
  EXPECT_EQ(job.GetNodeAttributes(4, a, code), 110);
  EXPECT_EQ(a, (std::array<double, 6>{0.5, 0.25, 9, 0, 0, 0}));
  EXPECT_EQ(job.GetEdgeAttributes(24, a, code), 0);
  EXPECT_EQ(a[3], -7);
}

TEST(TObjCont, ElevenClosedPolygonsKeepTheirLists) {
  TObjCont job;
  for (int p = 0; p < 11; ++p) testing::AddRectangle(job, 10 * p, 0, 10 * p + 5, 5);
  ASSERT_EQ(job.PolygonCount(), 11);
  EXPECT_EQ(job.PolygonEdgeCount(11), 0);  // the open polygon
  for (int p = 0; p < 11; ++p) {
    ASSERT_EQ(job.PolygonEdgeCount(p), 4);
    EXPECT_EQ(job.PolygonEdge(p, 0), 4 * p);
    EXPECT_EQ(job.PolygonEdge(p, 3), 4 * p + 3);
    EXPECT_EQ(job.IsHole(p), p != 0);
  }
  EXPECT_EQ(job.PolygonEdge(0, 4), -1);
}

TEST(TObjCont, AddEdgeRefusals) {
  TObjCont job;
  for (int i = 0; i < 6; ++i) job.AddNode(i, 0);
  EXPECT_EQ(job.AddEdge(5, 3), StatusCode::Done);
  EXPECT_EQ(job.AddEdge(3, 5), StatusCode::Exists);
  EXPECT_EQ(job.AddEdge(5, 3), StatusCode::Exists);
  EXPECT_EQ(job.AddEdge(0, 6), StatusCode::BadNode);
  EXPECT_EQ(job.AddEdge(-1, 0), StatusCode::BadNode);
  EXPECT_EQ(job.EdgeCount(), 1);
  EXPECT_FALSE(job.IsFreeNode(3));
  EXPECT_TRUE(job.IsFreeNode(0));
  EXPECT_EQ(job.AddPolygonEdge(3, 5), StatusCode::Exists);
  EXPECT_EQ(job.PolygonEdgeCount(0), 0);
  EXPECT_EQ(job.AddPolygonEdge(0, 1), StatusCode::Added);
  EXPECT_EQ(job.PolygonEdge(0, 0), 1);
  job.Clear();
  EXPECT_EQ(job.NodeCount(), 0);
  job.AddNode(0, 0);
  job.AddNode(1, 0);
  EXPECT_EQ(job.AddEdge(0, 1), StatusCode::Done);  // the pair set was cleared too
}

TEST(TObjCont, PolygonPhysicsDefaultsAndOpenSlot) {
  TObjCont job;
  testing::AddRectangle(job, 0, 0, 10, 10);
  EXPECT_EQ(job.SetPolygonPhysics(1, -3, 1000, 0.1, 2, false), StatusCode::Done);  // open polygon
  std::array<double, 5> v{};
  EXPECT_EQ(job.GetPolygonPhysics(1, v), StatusCode::Done);
  EXPECT_EQ(v, (std::array<double, 5>{1000, 0.1, 2, -3, -1.0}));
  testing::AddRectangle(job, 2, 2, 4, 4);  // closing resets the slot
  EXPECT_EQ(job.GetPolygonPhysics(0, v), StatusCode::Done);
  EXPECT_EQ(v, (std::array<double, 5>{210000.0, 0.25, 10.0, 0.0, -1.0}));
  EXPECT_EQ(job.GetPolygonPhysics(1, v), StatusCode::Done);
  EXPECT_EQ(v, (std::array<double, 5>{210000.0, 0.25, 10.0, 0.0, 1.0}));
  EXPECT_EQ(job.GetPolygonPhysics(3, v), StatusCode::BadPolygon);
  EXPECT_EQ(job.SetPolygonPhysics(3, 0, 0, 0, 0, false), StatusCode::BadPolygon);
  EXPECT_EQ(job.SetPolygonPhysics(-1, 0, 0, 0, 0, false), StatusCode::BadPolygon);
  EXPECT_EQ(job.SetPolygonName(0, "slab"), StatusCode::Done);
  EXPECT_EQ(job.PolygonName(0), "slab");
}

TEST(TObjCont, LoadPredicatesAndConstraintSetters) {
  TObjCont job;
  job.AddNode(0, 0);
  job.AddNode(1, 0);
  job.AddEdge(0, 1);
  job.SetNodeLoads(0, 1e-4, -1.0001e-4, 0);
  EXPECT_FALSE(job.HasLinZLoad(0, true));
  EXPECT_TRUE(job.HasRotXLoad(0, true));
  EXPECT_FALSE(job.HasRotYLoad(0, true));
  job.SetEdgeLoads(0, 0, 0, 5);
  EXPECT_TRUE(job.HasRotYLoad(0, false));
  EXPECT_FALSE(job.HasRotYLoad(1, false));
  EXPECT_EQ(job.SetNodeLoads(2, 1, 1, 1), StatusCode::BadIndex);
  EXPECT_EQ(job.SetEdgeLoads(1, 1, 1, 1), StatusCode::BadIndex);
  EXPECT_EQ(job.SetNodeConstraints(2, 100, 0, 0, 0), StatusCode::BadNode);
  EXPECT_EQ(job.SetEdgeConstraints(1, 100, 0, 0, 0), StatusCode::BadIndex);

  EXPECT_EQ(job.SetNodeConstraints(1, 100, 0.5, 7, 7), StatusCode::Done);
  std::array<double, 6> a{};
  int code = 0;
  EXPECT_EQ(job.GetNodeAttributes(1, a, code), 100);
  EXPECT_EQ(a[0], 0.5);
  EXPECT_EQ(a[1], 7);
  EXPECT_EQ(a[2], 7);
  EXPECT_EQ(job.GetConstraintCode(1, true), 100);
  job.SetFreeNode(1, true);
  EXPECT_TRUE(job.IsFreeNode(1));
  job.SetFreeNode(5, true);  // ignored
}

TEST(TObjCont, NonFiniteValuesNeverEnterTheModel) {
  TObjCont job;
  testing::AddRectangle(job, 0, 0, 10, 10);
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(job.SetNodeLoads(0, nan, 0, 0), StatusCode::BadNumber);
  EXPECT_EQ(job.SetEdgeLoads(0, 0, inf, 0), StatusCode::BadNumber);
  EXPECT_EQ(job.SetNodeConstraints(0, 100, 0, 0, -inf), StatusCode::BadNumber);
  EXPECT_EQ(job.SetEdgeConstraints(0, 100, nan, 0, 0), StatusCode::BadNumber);
  EXPECT_EQ(job.SetPolygonPhysics(0, 0, inf, 0.3, 10, false), StatusCode::BadNumber);
  EXPECT_EQ(job.MoveNode(0, nan, 1), StatusCode::Rejected);
  EXPECT_EQ(job.AddPolygonVertex(inf, 1, 1), StatusCode::Rejected);
  EXPECT_EQ(job.NodeCount(), 4);
  EXPECT_EQ(job.GetConstraintCode(0, true), 0);
  EXPECT_FALSE(job.HasLinZLoad(0, true));
  EXPECT_EQ(job.Physics(0).eModulus, 210000);
}

// The numbers are the documented ones; a renumbered status would change what they tell.
TEST(TObjCont, StatusNumbersAreTheDocumentedOnes) {
  const std::pair<StatusCode, int> table[] = {
      {StatusCode::Crossing, 1},    {StatusCode::PolygonClosed, 3}, {StatusCode::Added, 4},
      {StatusCode::Done, 5},        {StatusCode::BadNumber, 6},     {StatusCode::Comment, 7},
      {StatusCode::BadNode, 8},     {StatusCode::Exists, 10},       {StatusCode::BadIndex, 11},
      {StatusCode::BadPolygon, 12}, {StatusCode::Rejected, 13},     {StatusCode::UnknownRecord, 14},
      {StatusCode::BadName, 15},    {StatusCode::OutsideCase, 16}};
  for (const auto& [status, number] : table) EXPECT_EQ(ToCode(status), number);
}

}  // namespace
}  // namespace tavrin

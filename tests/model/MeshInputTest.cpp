#include <gtest/gtest.h>

#include "TestJobs.h"
#include "model/TObjCont.h"

namespace tavrin {
namespace {

using testing::AddClosedPolygon;
using testing::AddRectangle;

TEST(SelectOutline, OutlineFirstNeedsNoExchange) {
  TObjCont job;
  AddRectangle(job, 0, 0, 450, 450);
  AddRectangle(job, 100, 100, 200, 200);
  job.PrepareForMeshing();
  EXPECT_EQ(job.PolygonEdge(0, 0), 0);
  EXPECT_EQ(job.PolygonEdge(1, 0), 4);
  EXPECT_FALSE(job.IsHole(0));
  EXPECT_TRUE(job.IsHole(1));
  for (int i = 0; i < 4; ++i) EXPECT_EQ(job.NodePolygon(i), 0);
  for (int i = 4; i < 8; ++i) EXPECT_EQ(job.NodePolygon(i), 1);
}

TEST(SelectOutline, HoleDrawnFirstIsExchangedWithItsOwnPhysics) {
  TObjCont job;
  AddRectangle(job, 100, 100, 200, 200);  // slot 0: the hole, drawn first
  AddRectangle(job, 0, 0, 450, 450);      // slot 1: the outline
  // The user gives the outline its material before meshing.
  job.SetPolygonPhysics(1, -0.01, 70000, 0.33, 12, true);
  job.SetPolygonName(1, "slab");
  job.SetPolygonPhysics(0, 0, 210000, 0.25, 10, true);
  job.PrepareForMeshing();
  EXPECT_EQ(job.PolygonEdge(0, 0), 4);
  EXPECT_EQ(job.PolygonEdge(1, 0), 0);
  const PolygonPhysics plate = job.Physics(0);
  EXPECT_EQ(plate.eModulus, 70000);
  EXPECT_EQ(plate.pressure, -0.01);
  EXPECT_EQ(plate.thickness, 12);
  EXPECT_FALSE(plate.isHole);
  EXPECT_EQ(job.PolygonName(0), "slab");
  EXPECT_TRUE(job.IsHole(1));
  EXPECT_EQ(job.Physics(1).eModulus, 210000);
  for (int i = 4; i < 8; ++i) EXPECT_EQ(job.NodePolygon(i), 0);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(job.NodePolygon(i), 1);

  job.PrepareForMeshing();  // a second run exchanges nothing
  EXPECT_EQ(job.PolygonEdge(0, 0), 4);
  EXPECT_EQ(job.Physics(0).eModulus, 70000);
}

TEST(SelectOutline, DefaultPhysicsGiveThePlainSlotResult) {
  TObjCont job;
  AddRectangle(job, 100, 100, 200, 200);
  AddRectangle(job, 0, 0, 450, 450);
  job.SelectOutline();
  EXPECT_FALSE(job.IsHole(0));
  EXPECT_TRUE(job.IsHole(1));
  EXPECT_EQ(job.Physics(0).eModulus, 210000);
}

TEST(SelectOutline, SideBySideLeftmostCrossingWins) {
  TObjCont job;
  AddRectangle(job, 100, 0, 150, 100);  // slot 0, ray at y = 50
  AddRectangle(job, 0, 20, 50, 80);     // crossed further left
  job.SelectOutline();
  EXPECT_EQ(job.PolygonEdge(0, 0), 4);
  EXPECT_FALSE(job.IsHole(0));
  EXPECT_TRUE(job.IsHole(1));
}

TEST(SelectOutline, FlatPolygonZeroBorrowsTheRayHeight) {
  TObjCont job;
  // Slot 0 is degenerate (all on y = 5); the ray comes from the outline in slot 1.
  AddClosedPolygon(job, {{10, 5}, {20, 5}, {30, 5}});
  AddRectangle(job, 0, 0, 40, 40);
  job.SelectOutline();
  EXPECT_EQ(job.PolygonEdge(0, 0), 3);
  // Nothing rises anywhere: the order stays.
  TObjCont flat;
  AddClosedPolygon(flat, {{10, 5}, {20, 5}, {30, 5}});
  AddClosedPolygon(flat, {{0, 7}, {50, 7}, {60, 7}});
  flat.SelectOutline();
  EXPECT_EQ(flat.PolygonEdge(0, 0), 0);
  TObjCont empty;
  empty.PrepareForMeshing();
  EXPECT_EQ(empty.PolygonCount(), 0);
}

TEST(FindPolygonAt, InsideOutsideAndHoles) {
  TObjCont job;
  AddRectangle(job, 0, 0, 450, 450);
  AddRectangle(job, 100, 100, 200, 200);
  EXPECT_EQ(job.FindPolygonAt(50, 300), 0);
  EXPECT_EQ(job.FindPolygonAt(150, 150), 1);
  EXPECT_EQ(job.FindPolygonAt(-10, 150), -1);
  EXPECT_EQ(job.FindPolygonAt(500, 150), -1);
  EXPECT_EQ(job.FindPolygonAt(50, 150), 0);
  EXPECT_EQ(job.FindPolygonAt(300, 150), 1);  // right of the hole on the same line
  EXPECT_EQ(job.FindPolygonAt(0, 300), 0);    // on the left boundary counts inside
  EXPECT_EQ(job.FindPolygonAt(450, 300), -1);
  EXPECT_EQ(job.FindPolygonAt(50, 500), -1);
}

TEST(AssignNodePolygons, FreeNodesAndSharedHeights) {
  TObjCont job;
  AddRectangle(job, 0, 0, 450, 450);
  AddRectangle(job, 100, 100, 200, 200);
  job.AddFreeNode(50, 300);             // 8: plate
  job.AddFreeNode(600, 300);            // 9: outside
  job.AddFreeNode(150, 150);            // 10: in the hole
  job.AddFreeNode(50, 100);             // 11: at the height of the hole's corners
  job.AddPolygonVertex(1000, 1000, 1);  // 12, 13: the open polygon's nodes keep -1
  job.AddPolygonVertex(1100, 1000, 1);
  job.PrepareForMeshing();
  EXPECT_EQ(job.NodePolygon(8), 0);
  EXPECT_EQ(job.NodePolygon(9), -1);
  EXPECT_EQ(job.NodePolygon(10), 1);
  EXPECT_EQ(job.NodePolygon(11), 0);  // the hole's horizontal edges and corners give no crossing
  EXPECT_EQ(job.NodePolygon(12), -1);
  EXPECT_EQ(job.NodePolygon(13), -1);
  EXPECT_TRUE(job.IsFreeNode(8));
  EXPECT_FALSE(job.IsFreeNode(0));
}

}  // namespace
}  // namespace tavrin

#include <gtest/gtest.h>

#include "TestJobs.h"
#include "model/Geometry.h"
#include "model/TObjCont.h"

namespace tavrin {
namespace {

TEST(SegmentsCross, ObliqueTouchingAndParallel) {
  EXPECT_TRUE(SegmentsCross(0, 0, 10, 10, 0, 10, 10, 0));
  EXPECT_FALSE(SegmentsCross(0, 0, 10, 10, 10, 10, 20, 0));  // shared end point
  EXPECT_FALSE(SegmentsCross(0, 0, 10, 0, 5, 0, 15, 0));     // collinear overlap
  EXPECT_FALSE(SegmentsCross(0, 0, 10, 10, 0, 1, 10, 11));   // parallel
  EXPECT_FALSE(SegmentsCross(0, 0, 10, 10, 5, 5, 10, 0));    // one ends on the other
  EXPECT_FALSE(SegmentsCross(0, 0, 4, 4, 6, 0, 10, -4));     // lines cross outside both
  EXPECT_TRUE(SegmentsCross(0, 0, 10, 0, 5, -5, 6, 5));      // horizontal against oblique
  EXPECT_TRUE(SegmentsCross(0, -5, 0, 5, -5, -1, 5, 1));     // vertical against oblique
  // |D| below 0.001 counts as parallel however the segments lie: short ones never cross.
  EXPECT_FALSE(SegmentsCross(0, 0, 0.01, 0.01, 0, 0.01, 0.01, 0));
}

TEST(SegmentsCross, HorizontalAgainstVertical) {
  EXPECT_TRUE(SegmentsCross(0, 5, 10, 5, 5, 0, 5, 10));
  EXPECT_TRUE(SegmentsCross(5, 10, 5, 0, 10, 5, 0, 5));     // either order, either direction
  EXPECT_FALSE(SegmentsCross(0, 5, 10, 5, 5, 5, 5, 10));    // T-junction on the horizontal
  EXPECT_FALSE(SegmentsCross(0, 5, 10, 5, 10, 0, 10, 10));  // T-junction on the vertical
  EXPECT_FALSE(SegmentsCross(0, 0, 10, 0, 10, 0, 10, 10));  // corner
  EXPECT_FALSE(SegmentsCross(0, 5, 10, 5, 12, 0, 12, 10));  // apart
  EXPECT_FALSE(SegmentsCross(0, 5, 10, 5, 5, 6, 5, 10));    // apart
}

TEST(Distances, FloorsAndOutsideFoot) {
  EXPECT_DOUBLE_EQ(PointSegmentDistance(5, 3, 0, 0, 10, 0), 3.0);
  EXPECT_EQ(PointSegmentDistance(12, 3, 0, 0, 10, 0), 1e200);
  EXPECT_EQ(PointSegmentDistance(5, 0.005, 0, 0, 10, 0), 0.0);
  EXPECT_EQ(PointSegmentDistance(1, 1, 2, 2, 2, 2), 1e200);  // zero-length segment
  EXPECT_NEAR(PointSegmentDistance(0, 10, 0, 0, 10, 10), 7.0710678118654755, 1e-12);
  EXPECT_EQ(PointDistance(0, 0, 0.005, 0), 0.0);
  EXPECT_EQ(PointDistance(0, 0, 0.01, 0), 0.01);  // >= against the floor
  EXPECT_DOUBLE_EQ(PointDistance(1, 1, 4, 5), 5.0);
}

class Drawing : public ::testing::Test {
 protected:
  // The square of the drawing examples, clicked at pixel size 1.
  void DrawSquare() {
    ASSERT_EQ(job.AddPolygonVertex(0, 0, 1), StatusCode::Added);
    ASSERT_EQ(job.AddPolygonVertex(10, 0, 1), StatusCode::Added);
    ASSERT_EQ(job.AddPolygonVertex(10, 10, 1), StatusCode::Added);
    ASSERT_EQ(job.AddPolygonVertex(0, 10, 1), StatusCode::Added);
    ASSERT_EQ(job.AddPolygonVertex(-1, 1, 1), StatusCode::PolygonClosed);
  }
  TObjCont job;
};

TEST_F(Drawing, ClicksBuildAndCloseASquare) {
  EXPECT_EQ(job.AddPolygonVertex(0, 0, 1), StatusCode::Added);
  EXPECT_EQ(job.NodeCount(), 1);
  EXPECT_EQ(job.EdgeCount(), 0);
  EXPECT_EQ(job.AddPolygonVertex(10, 0, 1), StatusCode::Added);
  EXPECT_EQ(job.EdgeCount(), 1);
  EXPECT_EQ(job.AddPolygonVertex(10, 10, 1), StatusCode::Added);
  EXPECT_EQ(job.AddPolygonVertex(0, 10, 1), StatusCode::Added);
  EXPECT_EQ(job.AddPolygonVertex(2.9, 2.9, 1), StatusCode::PolygonClosed);  // within 3 pixels
  EXPECT_EQ(job.NodeCount(), 4);
  EXPECT_EQ(job.EdgeCount(), 4);
  EXPECT_EQ(job.EdgeEnd(3), 0);
  EXPECT_EQ(job.PolygonCount(), 1);
  EXPECT_FALSE(job.IsHole(0));
  EXPECT_TRUE(job.NewPolygonPending());
}

TEST_F(Drawing, SnapBoxScalesWithPixelSize) {
  job.AddPolygonVertex(0, 0, 2);
  job.AddPolygonVertex(100, 0, 2);
  job.AddPolygonVertex(100, 100, 2);
  EXPECT_EQ(job.AddPolygonVertex(6, 0, 2),
            StatusCode::Added);  // exactly 3 pixels away: outside the open box
  job.Clear();
  job.AddPolygonVertex(0, 0, 2);
  job.AddPolygonVertex(100, 0, 2);
  job.AddPolygonVertex(100, 100, 2);
  EXPECT_EQ(job.AddPolygonVertex(-5.9, 5.9, 2), StatusCode::PolygonClosed);
  job.Clear();
  job.AddPolygonVertex(0, 0, 2);
  job.AddPolygonVertex(100, 0, 2);
  job.AddPolygonVertex(100, 100, 2);
  // Near the first vertex, but the way there cuts the first edge: the crossing test comes first.
  EXPECT_EQ(job.AddPolygonVertex(5.9, -5.9, 2), StatusCode::Crossing);
}

TEST_F(Drawing, RejectedClicks) {
  job.AddPolygonVertex(0, 0, 1);
  job.AddPolygonVertex(10, 0, 1);
  EXPECT_EQ(job.AddPolygonVertex(0, 0, 1), StatusCode::Rejected);   // only one edge yet
  EXPECT_EQ(job.AddPolygonVertex(10, 1, 1), StatusCode::Rejected);  // its own last vertex
  EXPECT_EQ(job.NodeCount(), 2);
  job.AddPolygonVertex(10, 10, 1);
  job.AddPolygonVertex(0, 0.5, 1);
  EXPECT_EQ(job.PolygonCount(), 1);
  EXPECT_EQ(job.AddPolygonVertex(10, 10, 1), StatusCode::Rejected);  // vertex of a closed polygon
  EXPECT_EQ(job.NodeCount(), 3);
}

TEST_F(Drawing, CrossingSegmentsAreRefused) {
  DrawSquare();
  EXPECT_EQ(job.AddPolygonVertex(5, 20, 1), StatusCode::Added);  // first vertex: no test
  EXPECT_EQ(job.AddPolygonVertex(8, 15, 1), StatusCode::Added);
  EXPECT_EQ(job.AddPolygonVertex(5, 5, 1),
            StatusCode::Crossing);  // oblique through the square's top
  EXPECT_EQ(job.NodeCount(), 6);
  EXPECT_EQ(job.EdgeCount(), 5);
  // Axis-parallel segment through the square's right side now counts as a crossing too.
  EXPECT_EQ(job.AddPolygonVertex(15, 15, 1), StatusCode::Added);
  EXPECT_EQ(job.AddPolygonVertex(15, 5, 1), StatusCode::Added);
  EXPECT_EQ(job.AddPolygonVertex(5, 5, 1), StatusCode::Crossing);
  // A segment of the open polygon crossing its own earlier edge.
  EXPECT_EQ(job.AddPolygonVertex(20, 5, 1), StatusCode::Added);
  EXPECT_EQ(job.AddPolygonVertex(17, 25, 1), StatusCode::Added);
  EXPECT_EQ(job.AddPolygonVertex(17, 0, 1), StatusCode::Crossing);
}

TEST_F(Drawing, SecondClickIsNeverTested) {
  DrawSquare();
  job.AddPolygonVertex(5, 20, 1);
  EXPECT_EQ(job.AddPolygonVertex(5, -20, 1),
            StatusCode::Added);  // through the square, but unchecked
}

TEST_F(Drawing, MoveNodeRules) {
  DrawSquare();
  job.AddFreeNode(50, 50);
  EXPECT_EQ(job.MoveNode(4, 60, 70), StatusCode::Done);  // free: no crossing test
  EXPECT_EQ(job.NodeX(4), 60);
  EXPECT_EQ(job.MoveNode(4, 10.2, 9.8), StatusCode::Exists);  // onto a vertex of a closed polygon
  EXPECT_EQ(job.MoveNode(4, -5, 5), StatusCode::Done);        // free nodes may sit anywhere
  EXPECT_EQ(job.MoveNode(2, 10, 10), StatusCode::Done);       // onto its own position
  EXPECT_EQ(job.MoveNode(2, 12, 11), StatusCode::Done);
  EXPECT_EQ(job.NodeX(2), 12);
  EXPECT_EQ(job.MoveNode(2, 0.1, 0.2), StatusCode::Exists);
  EXPECT_EQ(job.MoveNode(2, 10, 10), StatusCode::Done);

  // A hole inside; moving the outline's corner across it crosses the hole's edges.
  testing::AddRectangle(job, 4, 4, 6, 6);
  EXPECT_EQ(job.MoveNode(2, 5, 3), StatusCode::Crossing);
  EXPECT_EQ(job.NodeX(2), 10);
  // A narrow upright polygon right of the square: moving the corner to (12, 10) makes the
  // square's top edge horizontal through its vertical sides, a crossing only the axis-parallel
  // rule sees.
  testing::AddRectangle(job, 11, 8, 11.5, 12);
  EXPECT_EQ(job.MoveNode(2, 12, 10), StatusCode::Crossing);
  EXPECT_EQ(job.NodeX(2), 10);
  EXPECT_EQ(job.MoveNode(2, 10.5, 10), StatusCode::Done);
  EXPECT_EQ(job.MoveNode(99, 1, 1), StatusCode::Rejected);

  // The last vertex of an open polygon is on one edge only.
  job.AddPolygonVertex(30, 30, 1);
  job.AddPolygonVertex(40, 30, 1);
  EXPECT_EQ(job.MoveNode(job.LastNode(), 45, 35), StatusCode::Rejected);
}

}  // namespace
}  // namespace tavrin

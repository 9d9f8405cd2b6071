// The plan view's strokes: node squares, the constraint and load symbols (in particular the
// side on which each load arc runs), the axes, and their colours.
#include <gtest/gtest.h>

#include <utility>

#include <QImage>

#include "model/TObjCont.h"
#include "ui/JobDrawing.h"
#include "ui/PlanView.h"
#include "ui/ViewTransform.h"

namespace tavrin::test {
namespace {

class PlanViewStrokes : public ::testing::Test {
 protected:
  void SetUp() override {
    view.resize(200, 200);
    view.ClearCanvas();
  }
  // The colour at the centre of view pixel (x, y), whatever the device pixel ratio.
  QRgb At(int x, int y) {
    const QImage& image = view.Image();
    const double ratio = image.devicePixelRatio();
    return image.pixel(static_cast<int>((x + 0.5) * ratio), static_cast<int>((y + 0.5) * ratio)) &
           0xffffff;
  }
  bool Magenta(int x, int y) { return At(x, y) == (qRgb(255, 0, 255) & 0xffffff); }
  bool Blank(int x, int y) { return At(x, y) == (view.Background().rgb() & 0xffffff); }

  PlanView view;
};

TEST_F(PlanViewStrokes, NodeSquareCoversFourByFourPixels) {
  view.ClearCanvas();
  view.NodeSquare(PlanView::Red(), 50, 50, nullptr);
  EXPECT_EQ(At(48, 48), qRgb(255, 0, 0) & 0xffffff);
  EXPECT_EQ(At(51, 51), qRgb(255, 0, 0) & 0xffffff);
  EXPECT_TRUE(Blank(52, 50));  // right and bottom edges exclusive
  EXPECT_TRUE(Blank(50, 52));
  EXPECT_TRUE(Blank(47, 50));
}

// The animation's lines, written straight into the buffer: every pixel from end to end in the
// colour given, or all but the two ends (a wiped line leaves the nodes other lines meet at),
// lines reaching far off the view clipped to it, and lines wholly off it drawing nothing.
TEST_F(PlanViewStrokes, PixelLinesFromEndToEndAndClipped) {
  if (view.Image().devicePixelRatio() != 1.0) GTEST_SKIP() << "drawn by the painter at this ratio";
  const QRgb black = qRgb(0, 0, 0) & 0xffffff;
  view.PixelLine(10, 20, 30, 30, PlanView::Black());
  for (int x = 10; x <= 30; ++x) EXPECT_EQ(At(x, 20 + (x - 10 + 1) / 2), black) << x;
  EXPECT_TRUE(Blank(31, 30));
  EXPECT_TRUE(Blank(9, 20));

  view.PixelLine(10, 20, 30, 30, view.Background(), false);  // wiped but for its ends
  EXPECT_EQ(At(10, 20), black);
  EXPECT_EQ(At(30, 30), black);
  for (int x = 11; x < 30; ++x) EXPECT_TRUE(Blank(x, 20 + (x - 10 + 1) / 2)) << x;

  view.PixelLine(-100000, 100, 100000, 100, PlanView::Red());  // across the whole view
  for (int x : {0, 100, 199}) EXPECT_EQ(At(x, 100), qRgb(255, 0, 0) & 0xffffff) << x;
  view.PixelLine(50, -10, 50, -1000000, PlanView::Red());  // above it: nothing
  view.PixelLine(-5, 300, 400, 250, PlanView::Red());      // below it: nothing
  for (int x = 0; x < 200; ++x) EXPECT_TRUE(Blank(x, 0) && Blank(x, 199)) << x;
}

TEST_F(PlanViewStrokes, ConstraintSymbols) {
  const int x = 100, y = 100;
  view.ClearCanvas();
  view.DrawSymbols(x, y, Symbols{100, false, false, false});  // lin. Z support only
  EXPECT_TRUE(Magenta(x, y + 5));
  EXPECT_TRUE(Magenta(x - 5, y + 10));
  EXPECT_TRUE(Magenta(x + 5, y + 10));
  EXPECT_TRUE(Blank(x + 10, y));  // no rot. X constraint
  EXPECT_TRUE(Blank(x, y + 19));  // no rot. Y constraint

  view.ClearCanvas();
  view.DrawSymbols(x, y, Symbols{11, false, false, false});  // rot. X and rot. Y
  EXPECT_TRUE(Magenta(x + 10, y));
  // Both chevrons symmetric about the line: apexes at x + 17 and x + 14.
  for (int d = 1; d <= 3; ++d) {
    EXPECT_TRUE(Magenta(x + 17 + d, y - d) && Magenta(x + 17 + d, y + d)) << d;
    EXPECT_TRUE(Magenta(x + 14 + d, y - d) && Magenta(x + 14 + d, y + d)) << d;
  }
  EXPECT_TRUE(Magenta(x, y + 19));
  for (int d = 1; d <= 3; ++d)
    EXPECT_TRUE(Magenta(x - d, y + 17 + d) && Magenta(x + d, y + 17 + d)) << d;
  EXPECT_TRUE(Blank(x - 5, y + 10));  // no support base
}

// A spring under lin. Z is a zigzag down to a base line, where the rigid support has a stem.
TEST_F(PlanViewStrokes, SpringSymbol) {
  const int x = 100, y = 100;
  view.ClearCanvas();
  Symbols s;
  s.springs = {true, false, false};
  view.DrawSymbols(x, y, s);
  for (auto [dx, dy] : {std::pair{3, 1}, {-3, 4}, {3, 7}, {-5, 12}, {5, 12}})
    EXPECT_TRUE(Magenta(x + dx, y + dy)) << dx << ", " << dy;
  EXPECT_TRUE(Blank(x, y + 5));  // no stem
}

// The load arcs run counter-clockwise on the screen from their start point: the rot. X arc
// over the left half of its ellipse, the rot. Y arc over the lower half of its own.
TEST_F(PlanViewStrokes, LoadSymbols) {
  const int x = 100, y = 100;
  view.ClearCanvas();
  view.DrawSymbols(x, y, Symbols{0, true, false, false});
  EXPECT_TRUE(Magenta(x, y - 15));
  EXPECT_TRUE(Magenta(x + 3, y - 10));
  EXPECT_TRUE(Blank(x + 13, y));

  view.ClearCanvas();
  view.DrawSymbols(x, y, Symbols{0, false, true, false});
  EXPECT_TRUE(Magenta(x + 13, y));  // leftmost point of the ellipse (x + 13 .. x + 23)
  EXPECT_TRUE(Blank(x + 23, y));
  EXPECT_TRUE(Blank(x + 22, y));
  EXPECT_TRUE(Magenta(x + 10, y - 8));  // arrow head

  view.ClearCanvas();
  view.DrawSymbols(x, y, Symbols{0, false, false, true});
  EXPECT_TRUE(Magenta(x, y + 23) ||
              Magenta(x, y + 22));  // bottom of the ellipse (y + 13 .. y + 23)
  EXPECT_TRUE(Blank(x, y + 13));
  EXPECT_TRUE(Blank(x, y + 14));
  EXPECT_TRUE(Magenta(x - 9, y + 24) || Magenta(x - 10, y + 23));  // arrow head
}

TEST_F(PlanViewStrokes, AxesAtTheLowerLeftCorner) {
  view.ClearCanvas();
  view.DrawAxes();
  const int h = view.height();
  EXPECT_EQ(At(30, h - 20), 0u);  // X arrow
  EXPECT_EQ(At(20, h - 30), 0u);  // Y arrow
  EXPECT_TRUE(Blank(20, h - 10));
}

// An arc edge is drawn along its arc, not along its chord: a triangle whose edge from (100, 20)
// to (100, 80) is a half circle about (100, 50) run counter-clockwise (bulge 1), out to x = 130.
TEST_F(PlanViewStrokes, ArcEdgesFollowTheirArc) {
  TObjCont job;
  job.ReadJobText(
      "N, 40, 50\nN, 100, 20\nN, 100, 80\nE, 0, 1\nE, 1, 2\nE, 2, 0\nClose\nAE, 1, 1\n");
  ViewTransform t;
  t.scale = 1;
  t.canvasWidth = 200;
  t.canvasHeight = 200;
  RedrawPlan(view, job, nullptr, nullptr, t, {});
  auto inked = [&](double x, double y) {  // any pixel within one of the point
    for (int dx = -1; dx <= 1; ++dx)
      for (int dy = -1; dy <= 1; ++dy)
        if (!Blank(t.ScreenX(x) + dx, t.ScreenY(y) + dy)) return true;
    return false;
  };
  EXPECT_TRUE(inked(130, 50));   // the arc's far point
  EXPECT_FALSE(inked(100, 50));  // the chord's middle
}

}  // namespace
}  // namespace tavrin::test

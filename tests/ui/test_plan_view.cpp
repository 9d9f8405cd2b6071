// The plan view's strokes: node squares, the constraint and load symbols (in particular the
// side on which each load arc runs), the axes, and their colours.
#include <gtest/gtest.h>

#include <QImage>

#include "ui/PlanView.h"

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
    return image.pixel(static_cast<int>((x + 0.5) * ratio), static_cast<int>((y + 0.5) * ratio)) & 0xffffff;
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

TEST_F(PlanViewStrokes, ConstraintSymbols) {
  const int x = 100, y = 100;
  view.ClearCanvas();
  view.DrawSymbols(x, y, Symbols{100, false, false, false});  // lin. Z support only
  EXPECT_TRUE(Magenta(x, y + 5));
  EXPECT_TRUE(Magenta(x - 5, y + 10));
  EXPECT_TRUE(Magenta(x + 5, y + 10));
  EXPECT_TRUE(Blank(x + 10, y));   // no rot. X constraint
  EXPECT_TRUE(Blank(x, y + 19));   // no rot. Y constraint

  view.ClearCanvas();
  view.DrawSymbols(x, y, Symbols{11, false, false, false});  // rot. X and rot. Y
  EXPECT_TRUE(Magenta(x + 10, y));
  // Both chevrons symmetric about the line: apexes at x + 17 and x + 14.
  for (int d = 1; d <= 3; ++d) {
    EXPECT_TRUE(Magenta(x + 17 + d, y - d) && Magenta(x + 17 + d, y + d)) << d;
    EXPECT_TRUE(Magenta(x + 14 + d, y - d) && Magenta(x + 14 + d, y + d)) << d;
  }
  EXPECT_TRUE(Magenta(x, y + 19));
  for (int d = 1; d <= 3; ++d) EXPECT_TRUE(Magenta(x - d, y + 17 + d) && Magenta(x + d, y + 17 + d)) << d;
  EXPECT_TRUE(Blank(x - 5, y + 10));  // no support base
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
  EXPECT_TRUE(Magenta(x, y + 23) || Magenta(x, y + 22));  // bottom of the ellipse (y + 13 .. y + 23)
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

}  // namespace
}  // namespace tavrin::test

#include <gtest/gtest.h>

#include "tests/ui/TestPlatform.h"
#include "ui/ViewTransform.h"

namespace tavrin {
namespace {

TEST(Platform, FiltersBecomeQtFilterText) {
  EXPECT_EQ(QtFilterText(kOpenJobFilter.filter), "Point File(*.SAM) (*.sam)");
  EXPECT_EQ(QtFilterText(kDataFileFilter.filter), "ASCII Data Files (*.TVD) (*.tvd)");
  EXPECT_EQ(QtFilterText("A|*.a|B|*.b"), "A (*.a);;B (*.b)");
  EXPECT_EQ(kDataFileFilter.defaultExtension, "TVD");
}

TEST(Platform, TestPlatformReplacesAndRestores) {
  Platform* production = &CurrentPlatform();
  {
    test::TestPlatform fake;
    EXPECT_EQ(&CurrentPlatform(), &fake);
    ShowError("boom");
    ASSERT_EQ(fake.messages.size(), 1u);
    EXPECT_EQ(fake.messages[0].caption, "Error!");
  }
  EXPECT_EQ(&CurrentPlatform(), production);
}

// Tolerance: exact, the mapping floors to whole pixels.
TEST(ViewTransform, MapsWorldToScreenAndBack) {
  ViewTransform t;
  t.canvasHeight = 300;
  t.canvasWidth = 400;
  EXPECT_EQ(t.ScreenX(100), 200);
  EXPECT_EQ(t.ScreenY(50), 200);  // 100 pixels above the bottom edge
  EXPECT_EQ(t.WorldX(200), 100.0);
  EXPECT_EQ(t.WorldY(200), 50.0);
  EXPECT_EQ(t.ScreenX(-0.1), -1);  // floor, not truncation
  EXPECT_EQ(t.ScreenX(1e300), 1000000);
  EXPECT_EQ(t.ScreenY(1e300), -1000000);
}

TEST(ViewTransform, ZoomSteps) {
  ViewTransform t;
  t.ZoomIn();
  EXPECT_EQ(t.scale, 0.25);
  t.ZoomIn();
  EXPECT_EQ(t.scale, 0.125);
  t.Reset();
  double out[] = {1.0, 2.0, 3.0};
  for (double s : out) {
    t.ZoomOut();
    EXPECT_EQ(t.scale, s);
  }
  double in[] = {2.0, 1.0, 0.5};
  for (double s : in) {
    t.ZoomIn();
    EXPECT_EQ(t.scale, s);
  }
}

}  // namespace
}  // namespace tavrin

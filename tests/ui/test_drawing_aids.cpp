// What helps while drawing: the rubber band from the last vertex to the mouse, and the polygon
// pressures drawn on the plan.
#include <QImage>
#include <QTest>

#include "tests/ui/WorkbenchFixture.h"

namespace tavrin::test {
namespace {

using DrawingAids = Workbench;

TEST_F(DrawingAids, RubberBandRunsFromTheLastVertexToTheMouseWhileDrawing) {
  window->ZoomoutButtonClick();  // scale 1: one world unit per pixel
  const ViewTransform& t = CurrentViewTransform();
  PlanView& view = *window->PlanArea();
  const QImage before = view.Image().copy();
  window->Editing().NewPolygonButton();
  QTest::mouseMove(&view, QPoint(t.ScreenX(200), t.ScreenY(200)));
  EXPECT_FALSE(view.HasRubberBand());  // no vertex yet
  const QPoint corners[] = {{t.ScreenX(20), t.ScreenY(20)},
                            {t.ScreenX(300), t.ScreenY(20)},
                            {t.ScreenX(300), t.ScreenY(300)}};
  for (const QPoint& at : corners) {
    ClickWorld(t.WorldX(at.x()), t.WorldY(at.y()));
    const QPoint mouse = at + QPoint(-37, 23);
    window->mousemoved(mouse.x(), mouse.y());
    ASSERT_TRUE(view.HasRubberBand());
    EXPECT_EQ(view.RubberBand(), QLine(at, mouse));
  }
  // On the screen only: the picture a Save picture writes has none of it.
  auto red = [](const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    int n = 0;
    for (int y = 0; y < rgb.height(); ++y)
      for (int x = 0; x < rgb.width(); ++x) n += rgb.pixel(x, y) == qRgb(255, 0, 0);
    return n;
  };
  EXPECT_GT(red(view.grab().toImage()), red(view.Image()) + 10);

  ClickWorld(20, 20);  // closes the polygon
  window->mousemoved(t.ScreenX(100), t.ScreenY(100));
  EXPECT_FALSE(view.HasRubberBand());
  EXPECT_NE(before, view.Image());
}

TEST_F(DrawingAids, PolygonPressureIsTintedAndWritten) {
  ASSERT_TRUE(window->OpenJob(ExamplePath("plate-with-hole.sam")));
  const TObjCont& job = window->Structure();
  ASSERT_LT(job.Physics(0).pressure, 0.0);
  ASSERT_TRUE(job.Physics(1).isHole);
  // A point of the plate away from every line, and the hole's centre: tinted and clear.
  const ViewTransform& t = CurrentViewTransform();
  const QImage& picture = window->PlanArea()->Image();
  auto pixelAt = [&](double x, double y) {
    return picture.pixel(QPoint(t.ScreenX(x), t.ScreenY(y)) * picture.devicePixelRatio());
  };
  double hx = 0, hy = 0;
  const int hole = job.PolygonEdgeCount(1);
  for (int k = 0; k < hole; ++k) {
    const int n = job.EdgeBegin(job.PolygonEdge(1, k));
    hx += job.NodeX(n) / hole;
    hy += job.NodeY(n) / hole;
  }
  const QRgb background = window->PlanArea()->Background().rgb();
  EXPECT_EQ(pixelAt(hx, hy), background);
  const int outline = job.EdgeBegin(job.PolygonEdge(0, 0));
  const QRgb tint =
      pixelAt(0.9 * job.NodeX(outline) + 0.1 * hx, 0.9 * job.NodeY(outline) + 0.1 * hy);
  EXPECT_NE(tint, background);
  EXPECT_GT(qBlue(tint), qRed(tint));  // a negative pressure's blue
}

}  // namespace
}  // namespace tavrin::test

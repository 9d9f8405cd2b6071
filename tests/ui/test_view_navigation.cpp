// Moving the plan view: fitting the job (Open, drawing, Generate mesh, F and the tool button),
// wheel zoom about the cursor, panning with the middle button and the arrow keys, and resizing.
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>
#include <cmath>

#include "mesh/FEM.h"
#include "tests/ui/WorkbenchFixture.h"
#include "ui/PlanNavigator.h"
#include "ui/ViewNavigation.h"

namespace tavrin::test {
namespace {

ViewTransform Canvas(int width, int height) {
  ViewTransform t;
  t.canvasWidth = width;
  t.canvasHeight = height;
  return t;
}

// Tolerance for world points: a few units in the last place of the coordinates used.
constexpr double kWorldTolerance = 1e-9;

TEST(ViewNavigation, FitCentresTheBoxWithinTheMargins) {
  ViewTransform t = Canvas(400, 300);
  WorldBox box;
  box.Add(-50, 10);
  box.Add(400, 460);  // 450 x 450
  FitToBox(t, box, 30);
  EXPECT_DOUBLE_EQ(t.scale, 450.0 / 240.0);  // the height (300 - 2 * 30) limits
  for (double x : {-50.0, 400.0}) {
    EXPECT_GE(t.ScreenX(x), 30 - 1);
    EXPECT_LE(t.ScreenX(x), 400 - 30);
  }
  EXPECT_EQ(t.ScreenY(10), 300 - 30);
  EXPECT_EQ(t.ScreenY(460), 30);
  EXPECT_NEAR(t.WorldX(200), 175.0, t.scale);  // the centre in the middle

  // A single point keeps the scale and is centred; an empty box changes nothing.
  WorldBox point;
  point.Add(1000, -1000);
  t.scale = 0.75;
  FitToBox(t, point, 30);
  EXPECT_EQ(t.scale, 0.75);
  EXPECT_EQ(t.ScreenX(1000), 200);
  EXPECT_EQ(t.ScreenY(-1000), 150);
  const ViewTransform before = t;
  FitToBox(t, WorldBox{}, 30);
  EXPECT_EQ(t.scale, before.scale);
  EXPECT_EQ(t.originX, before.originX);
  EXPECT_EQ(t.originY, before.originY);

  // A canvas smaller than two margins still shows the box.
  ViewTransform tiny = Canvas(40, 40);
  FitToBox(tiny, box, 30);
  EXPECT_GT(tiny.scale, 0.0);
  EXPECT_GE(tiny.ScreenX(-50), 0);
  EXPECT_LE(tiny.ScreenX(400), 40);
}

// A legend's strip at the right is left out of the fit, unless it would take over half the
// canvas, where the plate matters more.
TEST(ViewNavigation, FitLeavesTheReservedStripClear) {
  WorldBox box;
  box.Add(0, 0);
  box.Add(1000, 100);  // wide: the width limits
  ViewTransform t = Canvas(600, 400);
  FitToBox(t, box, 20, 150);
  EXPECT_DOUBLE_EQ(t.scale, 1000.0 / (600 - 150 - 2 * 20));
  EXPECT_NEAR(t.ScreenX(0), 20, 1);
  EXPECT_NEAR(t.ScreenX(1000), 600 - 150 - 20, 1);
  EXPECT_NEAR(t.ScreenY(50), 200, 1);  // centred in height as ever

  ViewTransform narrow = Canvas(280, 400);
  FitToBox(narrow, box, 20, 150);
  ViewTransform plain = Canvas(280, 400);
  FitToBox(plain, box, 20);
  EXPECT_EQ(narrow.scale, plain.scale);
  EXPECT_EQ(narrow.originX, plain.originX);
}

TEST(ViewNavigation, ZoomAboutKeepsTheWorldPointUnderTheCursor) {
  for (auto [sx, sy, factor] : {std::tuple{0.0, 0.0, 0.5},
                                {123.0, 45.0, 1.25},
                                {799.0, 599.0, 1 / 1.25},
                                {400.0, 1.0, 7.0}}) {
    ViewTransform t = Canvas(800, 600);
    t.scale = 0.37;
    t.originX = -12.5;
    t.originY = 1e4;
    const double x = t.WorldX(static_cast<int>(sx)), y = t.WorldY(static_cast<int>(sy));
    ZoomAbout(t, sx, sy, factor);
    EXPECT_DOUBLE_EQ(t.scale, 0.37 * factor);
    EXPECT_NEAR(t.WorldX(static_cast<int>(sx)), x, kWorldTolerance * 1e4) << sx;
    EXPECT_NEAR(t.WorldY(static_cast<int>(sy)), y, kWorldTolerance * 1e4) << sy;
  }
  // The scale never reaches zero or infinity, however far the wheel turns.
  ViewTransform t = Canvas(800, 600);
  ZoomAbout(t, 10, 10, 1e-300);
  EXPECT_EQ(t.scale, kMinViewScale);
  ZoomAbout(t, 10, 10, 1e300);
  EXPECT_EQ(t.scale, kMaxViewScale);
}

class Navigation : public Workbench {
 protected:
  PlanView& View() { return *window->PlanArea(); }
  const ViewTransform& T() { return CurrentViewTransform(); }

  // Every node of the job, and of the mesh when there is one, lies inside the plan view.
  void ExpectAllShown() {
    const TObjCont& job = window->Structure();
    const int w = View().width(), h = View().height();
    for (int i = 0; i < job.NodeCount(); ++i) {
      EXPECT_GE(T().ScreenX(job.NodeX(i)), 0) << i;
      EXPECT_LT(T().ScreenX(job.NodeX(i)), w) << i;
      EXPECT_GE(T().ScreenY(job.NodeY(i)), 0) << i;
      EXPECT_LT(T().ScreenY(job.NodeY(i)), h) << i;
    }
    const FEM& mesh = window->Mesh();
    for (int i = 0; i < mesh.NodeCount(); ++i) {
      EXPECT_GE(T().ScreenX(mesh.NodeX(i)), 0) << i;
      EXPECT_LT(T().ScreenY(mesh.NodeY(i)), h) << i;
    }
  }
  // The job's box spans the view less its margins in one direction at least: it is fitted,
  // not merely somewhere inside. Tolerance: 2 pixels of rounding.
  void ExpectFitted() {
    ExpectAllShown();
    const WorldBox box = JobBox(window->Structure());
    const double spanX = (box.xmax - box.xmin) / T().scale,
                 spanY = (box.ymax - box.ymin) / T().scale;
    const int margins = 2 * TMainWindow::kFitMargin;
    EXPECT_TRUE(std::fabs(spanX - (View().width() - margins)) < 2 ||
                std::fabs(spanY - (View().height() - margins)) < 2)
        << spanX << " x " << spanY << " in " << View().width() << " x " << View().height();
  }
  void Wheel(QPoint at, int delta) {
    QWheelEvent wheel(at, View().mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&View(), &wheel);
  }
  void Mouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
    QMouseEvent event(type, at, View().mapToGlobal(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(&View(), &event);
  }
};

TEST_F(Navigation, OpenShowsTheWholeJob) {
  OpenThroughDialog(ExamplePath("plate-with-hole.sam"));
  ExpectFitted();
  // The zoom buttons keep their steps from the fitted scale, about the lower left corner.
  const double fitted = T().scale, left = T().originX, bottom = T().originY;
  Action("ZoominButton")->trigger();
  EXPECT_EQ(T().scale, fitted <= 1.0 ? fitted / 2 : fitted - 1.0);
  EXPECT_EQ(T().originX, left);
  EXPECT_EQ(T().originY, bottom);
  // New puts back the start-up view: scale 0.5 with the world origin at the lower left.
  window->New1Click();
  EXPECT_EQ(T().scale, 0.5);
  EXPECT_EQ(T().originX, 0.0);
  EXPECT_EQ(T().originY, 0.0);
}

TEST_F(Navigation, ADrawnPolygonIsFittedUnlessTheUserMovedTheView) {
  Action("newpolygon")->trigger();
  for (auto [x, y] : {std::pair{20.0, 20.0}, {120.0, 20.0}, {70.0, 90.0}, {20.0, 20.0}})
    ClickWorld(x, y);
  ASSERT_EQ(window->Structure().PolygonCount(), 1);
  ExpectFitted();

  // Zoomed out by the user, the next drawing keeps the user's view.
  Action("ZoomoutButton")->trigger();
  const double scale = T().scale, left = T().originX;
  Action("newpolygon")->trigger();
  for (auto [x, y] : {std::pair{200.0, 20.0}, {260.0, 20.0}, {230.0, 60.0}, {200.0, 20.0}})
    ClickWorld(x, y);
  ASSERT_EQ(window->Structure().PolygonCount(), 2);
  EXPECT_EQ(T().scale, scale);
  EXPECT_EQ(T().originX, left);
}

TEST_F(Navigation, GenerateMeshShowsTheWholePlate) {
  GlobalMeshParameters().animate = false;
  OpenThroughDialog(ExamplePath("plate-with-hole.sam"));
  for (int i = 0; i < 4; ++i) Action("ZoominButton")->trigger();
  Action("Generatemesh")->trigger();
  ASSERT_TRUE(window->Meshed());
  ExpectFitted();
}

TEST_F(Navigation, ZoomToFitByKeyAndByButton) {
  OpenThroughDialog(ExamplePath("square.sam"));
  const ViewTransform fitted = T();
  Action("ZoominButton")->trigger();
  Action("ZoominButton")->trigger();
  ASSERT_NE(T().scale, fitted.scale);
  Press(Qt::Key_F);
  EXPECT_DOUBLE_EQ(T().scale, fitted.scale);
  EXPECT_DOUBLE_EQ(T().originX, fitted.originX);
  EXPECT_DOUBLE_EQ(T().originY, fitted.originY);

  Action("ZoomoutButton")->trigger();
  auto* button = window->findChild<QToolButton*>("ZoomFitButton");
  ASSERT_NE(button, nullptr);
  QTest::mouseClick(button, Qt::LeftButton);
  EXPECT_DOUBLE_EQ(T().scale, fitted.scale);
  EXPECT_DOUBLE_EQ(T().originY, fitted.originY);
}

TEST_F(Navigation, WheelZoomsAboutTheCursor) {
  OpenThroughDialog(ExamplePath("square.sam"));
  const QPoint at(310, 207);
  const double scale = T().scale, x = T().WorldX(at.x()), y = T().WorldY(at.y());
  Wheel(at, 120);  // one notch forward: zoom in
  EXPECT_DOUBLE_EQ(T().scale, scale / PlanNavigator::kWheelStep);
  EXPECT_NEAR(T().WorldX(at.x()), x, kWorldTolerance * 1e3);
  EXPECT_NEAR(T().WorldY(at.y()), y, kWorldTolerance * 1e3);
  Wheel(at, -240);  // two notches back
  EXPECT_DOUBLE_EQ(T().scale, scale * PlanNavigator::kWheelStep);
  EXPECT_NEAR(T().WorldX(at.x()), x, kWorldTolerance * 1e3);
  EXPECT_NEAR(T().WorldY(at.y()), y, kWorldTolerance * 1e3);
  // The picture follows: every node of the job is drawn where the new scale puts it (black, or
  // magenta under a symbol).
  const TObjCont& job = window->Structure();
  const QImage& image = View().Image();
  const double ratio = image.devicePixelRatio();
  for (int i = 0; i < job.NodeCount(); ++i) {
    const int px = T().ScreenX(job.NodeX(i)), py = T().ScreenY(job.NodeY(i));
    if (px < 2 || py < 2 || px >= View().width() - 2 || py >= View().height() - 2) continue;
    const QRgb pixel =
        image.pixel(static_cast<int>(px * ratio), static_cast<int>(py * ratio)) & 0xffffff;
    EXPECT_TRUE(pixel == 0u || pixel == (qRgb(255, 0, 255) & 0xffffffu)) << i;
  }
}

TEST_F(Navigation, MiddleDragPansByTheDraggedAmountAndEditsNothing) {
  OpenThroughDialog(ExamplePath("square.sam"));
  Action("newpolygon")->trigger();  // a left click now would add a vertex
  const int nodes = window->Structure().NodeCount();
  const double x = 100.25, y = 200.25;
  const int sx = T().ScreenX(x), sy = T().ScreenY(y);
  const double scale = T().scale;
  Mouse(QEvent::MouseButtonPress, {100, 100}, Qt::MiddleButton, Qt::MiddleButton);
  Mouse(QEvent::MouseMove, {130, 110}, Qt::NoButton, Qt::MiddleButton);
  Mouse(QEvent::MouseMove, {160, 130}, Qt::NoButton, Qt::MiddleButton);
  Mouse(QEvent::MouseButtonRelease, {160, 130}, Qt::MiddleButton, Qt::NoButton);
  EXPECT_EQ(T().ScreenX(x), sx + 60);
  EXPECT_EQ(T().ScreenY(y), sy + 30);
  EXPECT_EQ(T().scale, scale);
  EXPECT_EQ(window->Structure().NodeCount(), nodes);
  // Released, moving the mouse pans no more.
  Mouse(QEvent::MouseMove, {200, 200}, Qt::NoButton, Qt::NoButton);
  EXPECT_EQ(T().ScreenX(x), sx + 60);
}

// A picture slow to draw is not drawn whole at every step of a drag: the step shifts the
// picture as it stands, and the whole picture follows a moment later and at the release.
TEST_F(Navigation, ADragOfASlowPictureShiftsItThenDrawsItWhole) {
  OpenThroughDialog(ExamplePath("plate-with-hole.sam"));
  window->SetFluidRedrawLimit(-1);  // every picture counts as slow
  window->redraw();
  const QImage before = View().Image().copy();
  const QRgb background = View().Background().rgb();
  Mouse(QEvent::MouseButtonPress, {100, 100}, Qt::MiddleButton, Qt::MiddleButton);
  Mouse(QEvent::MouseMove, {130, 110}, Qt::NoButton, Qt::MiddleButton);
  const QImage shifted = View().Image().copy();
  int drawn = 0;
  for (int y = 0; y + 10 < before.height(); ++y) {
    for (int x = 0; x + 30 < before.width(); ++x) {
      ASSERT_EQ(shifted.pixel(x + 30, y + 10), before.pixel(x, y)) << x << "," << y;
      drawn += before.pixel(x, y) != background;
    }
  }
  ASSERT_GT(drawn, 500);  // the comparison saw the plate, not only background
  for (int y = 0; y < shifted.height(); y += 5) EXPECT_EQ(shifted.pixel(29, y), background) << y;
  for (int x = 0; x < shifted.width(); x += 5) EXPECT_EQ(shifted.pixel(x, 9), background) << x;

  // A moment later, still dragging: the whole picture where the view now is. The moment is made
  // immediate, so that the test counts turns of the event loop, not milliseconds.
  ASSERT_TRUE(window->PlanControl().WholePicturePending());
  window->PlanControl().SetWholePictureDelay(0);
  for (int turn = 0; turn < 100 && window->PlanControl().WholePicturePending(); ++turn)
    QApplication::processEvents();
  ASSERT_FALSE(window->PlanControl().WholePicturePending());
  const QImage later = View().Image().copy();
  window->redraw();
  EXPECT_EQ(View().Image(), later);

  Mouse(QEvent::MouseMove, {160, 130}, Qt::NoButton, Qt::MiddleButton);
  Mouse(QEvent::MouseButtonRelease, {160, 130}, Qt::MiddleButton, Qt::NoButton);
  const QImage released = View().Image().copy();
  window->redraw();
  EXPECT_EQ(View().Image(), released);

  // A quick picture follows every step whole.
  window->SetFluidRedrawLimit(10);
  Mouse(QEvent::MouseButtonPress, {100, 100}, Qt::MiddleButton, Qt::MiddleButton);
  Mouse(QEvent::MouseMove, {90, 95}, Qt::NoButton, Qt::MiddleButton);
  const QImage step = View().Image().copy();
  window->redraw();
  EXPECT_EQ(View().Image(), step);
  Mouse(QEvent::MouseButtonRelease, {90, 95}, Qt::MiddleButton, Qt::NoButton);
}

TEST_F(Navigation, ArrowKeysPanByATenthOfTheView) {
  OpenThroughDialog(ExamplePath("square.sam"));
  const double x = 100.25, y = 200.25;
  const int sx = T().ScreenX(x), sy = T().ScreenY(y);
  const int stepX = View().width() / PlanNavigator::kKeyPanParts,
            stepY = View().height() / PlanNavigator::kKeyPanParts;
  Press(Qt::Key_Right);  // the view moves right over the job: the picture moves left
  EXPECT_EQ(T().ScreenX(x), sx - stepX);
  Press(Qt::Key_Up);
  EXPECT_EQ(T().ScreenY(y), sy + stepY);
  Press(Qt::Key_Left);
  Press(Qt::Key_Down);
  EXPECT_EQ(T().ScreenX(x), sx);
  EXPECT_EQ(T().ScreenY(y), sy);
}

TEST_F(Navigation, ResizeKeepsTheScaleAndTheLowerLeftCorner) {
  OpenThroughDialog(ExamplePath("plate-with-hole.sam"));
  QApplication::processEvents();  // painted: the window is on screen
  const double scale = T().scale;
  const double left = T().WorldX(0), bottom = T().WorldY(View().height());
  window->resize(1000, 900);
  QApplication::processEvents();
  ASSERT_EQ(T().canvasHeight, View().height());
  EXPECT_EQ(T().scale, scale);
  EXPECT_DOUBLE_EQ(T().WorldX(0), left);
  EXPECT_DOUBLE_EQ(T().WorldY(View().height()), bottom);
}

// As the program starts with a job on its command line: opened before the window has its final
// size, the job is fitted to the size the window is shown with.
TEST(NavigationAtStartUp, JobOpenedBeforeTheWindowIsShownIsFittedToItsShownSize) {
  TestPlatform platform;
  TMainWindow window;
  ASSERT_TRUE(window.OpenJob(ExamplePath("plate-with-hole.sam")));
  window.resize(900, 500);
  window.show();
  QApplication::processEvents();
  const ViewTransform& t = CurrentViewTransform();
  const PlanView& view = *window.PlanArea();
  ASSERT_EQ(t.canvasHeight, view.height());
  const WorldBox box = JobBox(window.Structure());
  EXPECT_NEAR((box.ymax - box.ymin) / t.scale, view.height() - 2 * TMainWindow::kFitMargin,
              2);  // the height limits
  EXPECT_GE(t.ScreenX(box.xmin), 0);
  EXPECT_LT(t.ScreenX(box.xmax), view.width());
  window.Document().SetModified(false);
}

}  // namespace
}  // namespace tavrin::test

// The deflected plate in 3D: opened from the View menu after a solve, magnified automatically
// or as the user sets, and turned, zoomed and reset with the mouse and the keyboard.
#include <QApplication>
#include <QDoubleSpinBox>
#include <QPushButton>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "analysis/TGlobMatrix.h"
#include "tests/ui/WorkbenchFixture.h"
#include "ui/DeflectedView3D.h"

namespace tavrin::test {
namespace {

class Deflected : public Workbench {
 protected:
  DeflectedView3D& Open(const char* job) {
    GlobalMeshParameters().animate = false;
    EXPECT_TRUE(window->OpenJob(ExamplePath(job)));
    window->GenerateMeshClick();
    EXPECT_FALSE(Enabled("DeflectedShape"));  // nothing to lift before a solve
    window->SolveStaticClick();
    EXPECT_TRUE(window->StaticSolved());
    Action("DeflectedShape")->trigger();
    DeflectedView3D* view = window->DeflectedView();
    EXPECT_NE(view, nullptr);
    view->resize(700, 560);
    QApplication::processEvents();
    return *view;
  }
  // The picture below the row of controls (a clicked button looks different afterwards).
  static QImage Shot(DeflectedView3D& view) {
    const QImage all = view.grab().toImage().convertToFormat(QImage::Format_RGB32);
    return all.copy(0, 60, all.width(), all.height() - 60);
  }
  static void Wheel(QWidget& w, int delta) {
    const QPointF at(w.width() / 2.0, w.height() / 2.0);
    QWheelEvent e(at, w.mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                  Qt::NoScrollPhase, false);
    QApplication::sendEvent(&w, &e);
  }
};

TEST_F(Deflected, AutomaticMagnificationShowsTheLargestDeflectionAtATenthOfThePlate) {
  DeflectedView3D& view = Open("square.sam");
  ASSERT_TRUE(view.isVisible());
  const TGlobMatrix& s = window->Solver();
  double largest = 0, x0 = 1e300, x1 = -1e300, y0 = 1e300, y1 = -1e300;
  for (int v = 0; v < s.ResultNodeCount(); ++v) {
    largest = std::max(largest, std::fabs(s.NodeValue(v, ResultField::LinZ)));
    x0 = std::min(x0, s.NodeX(v)), x1 = std::max(x1, s.NodeX(v));
    y0 = std::min(y0, s.NodeY(v)), y1 = std::max(y1, s.NodeY(v));
  }
  ASSERT_GT(largest, 0);
  EXPECT_NEAR(view.AutomaticMagnification() * largest, 0.1 * std::max(x1 - x0, y1 - y0),
              1e-9 * (x1 - x0));
  EXPECT_EQ(view.Magnification(), view.AutomaticMagnification());
  const QImage automatic = Shot(view);

  // The user's factor, typed into the field: a flatter plate; 0 is automatic again.
  auto* field = view.findChild<QDoubleSpinBox*>("Magnification");
  ASSERT_NE(field, nullptr);
  field->setValue(view.AutomaticMagnification() / 10);
  emit field->editingFinished();
  // The field keeps six decimals.
  EXPECT_NEAR(view.Magnification(), view.AutomaticMagnification() / 10, 1e-6);
  EXPECT_NE(Shot(view), automatic);
  field->setValue(0);
  emit field->editingFinished();
  EXPECT_EQ(view.Magnification(), view.AutomaticMagnification());
  EXPECT_EQ(Shot(view), automatic);
}

TEST_F(Deflected, DragRotatesWheelZoomsResetReturns) {
  DeflectedView3D& view = Open("square.sam");
  const QImage first = Shot(view);
  const double yaw = view.Yaw(), pitch = view.Pitch();
  // A left drag 40 pixels right and 20 up: turned about the vertical and tilted less.
  QTest::mousePress(&view, Qt::LeftButton, {}, QPoint(300, 300));
  QTest::mouseMove(&view, QPoint(320, 290));
  QTest::mouseMove(&view, QPoint(340, 280));
  EXPECT_TRUE(view.Dragging());
  QTest::mouseRelease(&view, Qt::LeftButton, {}, QPoint(340, 280));
  EXPECT_FALSE(view.Dragging());
  EXPECT_DOUBLE_EQ(view.Yaw(), yaw + 20);
  EXPECT_DOUBLE_EQ(view.Pitch(), pitch - 10);
  const QImage turned = Shot(view);
  EXPECT_NE(turned, first);

  Wheel(view, 240);  // two notches in
  EXPECT_NEAR(view.Zoom(), 1.15 * 1.15, 1e-12);
  const QImage zoomed = Shot(view);
  EXPECT_NE(zoomed, turned);

  QTest::mouseClick(view.findChild<QPushButton*>("ResetView"), Qt::LeftButton);
  EXPECT_EQ(view.Yaw(), DeflectedView3D::kDefaultYaw);
  EXPECT_EQ(view.Zoom(), 1.0);
  EXPECT_EQ(Shot(view), first);

  // The key R resets as well; a tilt never passes the vertical.
  QTest::mousePress(&view, Qt::LeftButton, {}, QPoint(300, 300));
  QTest::mouseMove(&view, QPoint(300, 600));
  QTest::mouseRelease(&view, Qt::LeftButton, {}, QPoint(300, 600));
  EXPECT_EQ(view.Pitch(), 90.0);
  QTest::keyClick(&view, Qt::Key_R);
  EXPECT_EQ(view.Pitch(), DeflectedView3D::kDefaultPitch);
}

// The surface carries the colours of the field's bands; the undeformed outline is drawn in grey.
TEST_F(Deflected, SurfaceColouredByTheFieldWithTheOutlineBeneath) {
  DeflectedView3D& view = Open("plate-with-hole.sam");
  const QImage shot = Shot(view);
  int banded = 0, grey = 0;
  std::vector<QRgb> colours;
  for (int k = 0; k < view.Scale().Bands(); ++k)
    colours.push_back(view.Scale().BandColour(k) | 0xff000000u);
  for (int y = 0; y < shot.height(); ++y)
    for (int x = 0; x < shot.width(); ++x) {
      const QRgb c = shot.pixel(x, y);
      banded += std::find(colours.begin(), colours.end(), c) != colours.end();
      grey += c == qRgb(128, 128, 128);
    }
  EXPECT_GT(banded, shot.width() * shot.height() / 10);
  EXPECT_GT(grey, 100);
  const std::filesystem::path out = std::filesystem::path(TAVRIN_BINARY_DIR) / "screenshots";
  std::filesystem::create_directories(out);
  EXPECT_TRUE(view.grab().save(QString::fromStdString((out / "deflected-3d.png").string()), "PNG"));
  // A new solve takes the picture away with the results it showed.
  window->SolveStaticClick();
  EXPECT_FALSE(view.isVisible());
}

}  // namespace
}  // namespace tavrin::test

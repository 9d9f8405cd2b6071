// The plan picture's layer rendered off the GUI thread: the newest request wins and a stale
// picture is dropped, a view change shows the last picture moved at once and the exact one when
// it comes, which is the picture a synchronous render gives. Timings are the benchmark's.
#include <QElapsedTimer>
#include <QTimer>
#include <QWheelEvent>

#include <QRegion>

#include "analysis/TGlobMatrix.h"
#include "bench/FringeGrid.h"
#include "mesh/FEM.h"
#include "tests/ui/WorkbenchFixture.h"
#include "ui/FringeField.h"
#include "ui/LayerRenderer.h"
#include "ui/PictureLayer.h"
#include "ui/ResultViewController.h"

namespace tavrin::test {
namespace {

ViewTransform SmallView(double scale, double originX) {
  ViewTransform t;
  t.canvasWidth = 300;
  t.canvasHeight = 200;
  t.scale = scale;
  t.originX = originX;
  t.originY = -10;
  return t;
}

// Runs the event loop until `done` (at most 20 s, so that a fault fails instead of hanging).
template <class Done>
bool SpinUntil(Done done) {
  QTimer wake;
  wake.start(20);
  QElapsedTimer clock;
  clock.start();
  while (!done() && clock.elapsed() < 20000)
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  return done();
}

TEST(LayerRenderer, TheNewestRequestWinsAndAStalePictureIsDropped) {
  const auto field = std::make_shared<const FringeField>(bench::FringeGrid(200));
  const auto layer = MakeFringeLayer(field, FringeScale(field->min, field->max), Qt::black);
  int ready = 0;
  LayerRenderer renderer([&] { ++ready; });
  const ViewTransform older = SmallView(0.5, -5), newer = SmallView(2.5, -40);
  // Both on the thread (no render counts as quick); the older one may be under way, done or
  // abandoned when the newer comes, but only the newer is taken in.
  EXPECT_FALSE(renderer.Request(layer, older, -1));
  EXPECT_FALSE(renderer.Request(layer, newer, -1));
  EXPECT_TRUE(renderer.Pending());
  ASSERT_TRUE(SpinUntil([&] { return !renderer.Pending(); }));
  QCoreApplication::processEvents();  // anything the older render posted late
  EXPECT_EQ(ready, 1);
  ASSERT_NE(renderer.Latest(), nullptr);
  EXPECT_EQ(renderer.Latest()->view.scale, newer.scale);
  EXPECT_EQ(renderer.Latest()->images, LayerRenderer::Render(*layer, newer));
  // The same request again is answered by the picture there; a quick one is rendered at once.
  EXPECT_TRUE(renderer.Request(layer, newer, -1));
  EXPECT_TRUE(renderer.Request(layer, older, 10));  // predicted within 10 s
  EXPECT_EQ(renderer.Latest()->images, LayerRenderer::Render(*layer, older));
  renderer.Drop();
  EXPECT_EQ(renderer.Latest(), nullptr);
}

// The fringes of a grid in the window, every layer counted as slow to render.
class LayerInWindow : public Workbench {
 protected:
  void SetUp() override {
    Workbench::SetUp();
    window->SetFluidRedrawLimit(-1);
    bench::ShowFieldInWindow(*window, bench::FringeGrid(300), "w");
    ASSERT_TRUE(SpinUntil([&] { return !window->PlanControl().Layers().Pending(); }));
  }
  QImage Picture() { return window->PlanArea()->Image().convertToFormat(QImage::Format_RGB32); }
  // The pixels of the picture inside the grid's screen box that are not the background.
  double CoveredShare(const QImage& picture) {
    const ViewTransform& t = CurrentViewTransform();
    const QRect box =
        QRect(QPoint(t.ScreenX(0), t.ScreenY(225)), QPoint(t.ScreenX(450), t.ScreenY(0)))
            .intersected(picture.rect().adjusted(0, 0, -150, 0));  // not the legend
    const QRgb background = window->PlanArea()->Background().rgb();
    int covered = 0;
    for (int y = box.top(); y <= box.bottom(); ++y)
      for (int x = box.left(); x <= box.right(); ++x) covered += picture.pixel(x, y) != background;
    return static_cast<double>(covered) / std::max(1, box.width() * box.height());
  }
};

TEST_F(LayerInWindow, AViewChangeShowsTheMovedPictureThenTheExactOne) {
  PlanView& view = *window->PlanArea();
  const QPointF at(200, 250);
  QWheelEvent wheel(at, view.mapToGlobal(at), QPoint(), QPoint(0, 240), Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(&view, &wheel);
  // Before the exact layer comes, the grid is already covered by the old one, scaled.
  ASSERT_TRUE(window->PlanControl().Layers().Pending());
  const QImage preview = Picture();
  EXPECT_GT(CoveredShare(preview), 0.95);
  ASSERT_TRUE(SpinUntil([&] { return !window->PlanControl().Layers().Pending(); }));
  const QImage exact = Picture();
  EXPECT_NE(exact, preview);  // a scaled picture is not the exact one (its lines thicken)
  EXPECT_GT(CoveredShare(exact), 0.95);
  // What a synchronous render of the same view draws.
  window->SetFluidRedrawLimit(10);
  window->Results().Fringes().Show(bench::FringeGrid(300), "w");  // a new layer object
  window->redraw();
  EXPECT_FALSE(window->PlanControl().Layers().Pending());
  EXPECT_EQ(Picture(), exact);
}

// A field chosen on a mesh counted as large has its data built on the worker: until it has
// come the picture before stays and nothing is read out; then the value read at a node is the
// node's value of the new field, and the picture is the one the data built at once gives, with
// every band line over the job's outline: none hidden but under the legend and the extremes'
// markers.
TEST_F(Workbench, AFieldChosenIsBuiltOffTheGuiThreadThenReadOutAndDrawn) {
  GlobalMeshParameters().animate = false;
  ASSERT_TRUE(window->OpenJob(ExamplePath("square.sam")));
  window->GenerateMeshClick();
  window->SolveStaticClick();
  window->SolveStressClick();
  ASSERT_TRUE(window->StressSolved());
  const int mx = 7, rotX = 2;  // rot. X varies along the supported edges
  window->SelectView(mx);
  const ViewTransform& t = CurrentViewTransform();
  const FEM& mesh = window->Mesh();
  const int node = mesh.NodeCount() / 2;
  const int sx = t.ScreenX(mesh.NodeX(node)), sy = t.ScreenY(mesh.NodeY(node));
  const int solverNode = window->Solver().NewNumberOf(mesh.NearestNode(t.WorldX(sx), t.WorldY(sy)));
  auto value = [&](ResultField f) {
    return QString::number(window->Solver().NodeValue(solverNode, f), 'g', 5);
  };
  window->mousemoved(sx, sy);
  EXPECT_EQ(window->PanelText(3), value(ResultField::MomentX));

  window->Results().SetSmallMesh(0);
  window->SelectView(rotX);
  ASSERT_TRUE(window->Results().DataPending());
  EXPECT_EQ(window->Fringes().Title(), "Mx moment");
  window->mousemoved(sx, sy);
  EXPECT_EQ(window->PanelText(3), "");
  ASSERT_TRUE(SpinUntil(
      [&] { return !window->Results().Building() && !window->PlanControl().Layers().Pending(); }));
  EXPECT_EQ(window->Fringes().Title(), "Rot. X displacement");
  window->mousemoved(sx, sy);
  EXPECT_EQ(window->PanelText(3), value(ResultField::RotX));
  const QImage built = window->PlanArea()->Image().convertToFormat(QImage::Format_RGB32);

  // Every band line pixel shows, but where the legend or an extreme's marker lies over it.
  const QImage& over = window->PlanControl().Layers().Latest()->images.over;
  const FringeField& f = window->Fringes().Field();
  QRegion covered(QRect(built.width() - 200, 0, 200, built.height()));
  for (int at : {f.minAt, f.maxAt})
    covered += QRect(t.ScreenX(f.x[at]) - 15, t.ScreenY(f.y[at]) - 20, 60, 40);
  int lines = 0, hidden = 0;
  for (int y = 0; y < over.height(); ++y)
    for (int x = 0; x < over.width(); ++x) {
      if (qAlpha(over.pixel(x, y)) != 255 || covered.contains(QPoint(x, y))) continue;
      ++lines;
      hidden += built.pixel(x, y) != over.pixel(x, y);
    }
  EXPECT_GT(lines, 100);
  EXPECT_EQ(hidden, 0);

  window->Results().SetSmallMesh(ResultViewController::kSmallMesh);
  window->SelectView(rotX);
  EXPECT_FALSE(window->Results().DataPending());
  EXPECT_EQ(window->PlanArea()->Image().convertToFormat(QImage::Format_RGB32), built);
}

}  // namespace
}  // namespace tavrin::test

// Screenshots of the main window at start-up with an example, after meshing it, in two result
// views, with the Edit menu's undo entries open and (with TAVRIN_LARGE_SCREENSHOTS set, as it
// takes a while) the fringes of 2 10^6 triangles, saved as PNG files under the build folder
// (tests/ui/screenshots/) for people to look at.
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QTimer>
#include <cmath>

#include "bench/FringeGrid.h"
#include "mesh/FEM.h"
#include "tests/ui/WorkbenchFixture.h"
#include "ui/DeflectedView3D.h"
#include "ui/ResultViews.h"
#include "ui/TMeshInformer.h"
#include "ui/TMesh_params.h"
#include "ui/TSolveInformer.h"

namespace tavrin::test {
namespace {

int CountPixels(const QImage& image, QRgb colour) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) n += image.pixel(x, y) == colour;
  return n;
}

std::filesystem::path ScreenshotFolder() {
  std::filesystem::path out = std::filesystem::path(TAVRIN_BINARY_DIR) / "screenshots";
  std::filesystem::create_directories(out);
  return out;
}

using Screenshots = Workbench;

// As `tavrin examples/plate-with-hole.sam` starts: the window at its own size, shown, then the job
// opened; the whole plate is in view.
TEST(StartUpScreenshot, TheExampleOpensFittedToTheWindow) {
  TestPlatform platform;
  TMainWindow window;
  window.show();
  ASSERT_TRUE(window.OpenJob(ExamplePath("plate-with-hole.sam")));
  QApplication::processEvents();
  const ViewTransform& t = CurrentViewTransform();
  const TObjCont& job = window.Structure();
  const PlanView& view = *window.PlanArea();
  for (int i = 0; i < job.NodeCount(); ++i) {
    EXPECT_TRUE(view.rect().contains(t.ScreenX(job.NodeX(i)), t.ScreenY(job.NodeY(i)))) << i;
  }
  QImage image = window.grab().toImage();
  EXPECT_TRUE(image.save(
      QString::fromStdString((ScreenshotFolder() / "fitted-startup.png").string()), "PNG"));
}

// The Edit menu opened after a few edits and one undo: "Undo ..." and "Redo ..." name the steps.
TEST_F(Screenshots, UndoMenu) {
  window->resize(760, 560);
  ASSERT_TRUE(window->OpenJob(ExamplePath("plate-with-hole.sam")));
  Action("editvertex")->trigger();
  TRollup& editor = *window->Rollup();
  const TObjCont& job = window->Structure();
  ClickWorld(job.NodeX(2), job.NodeY(2));
  ASSERT_EQ(editor.Kind(), SelectionKind::node);
  Type("ForceUZ", "-250");
  editor.Apply();
  Type("Value_X", QString::number(job.NodeX(2) + 10).toStdString().c_str());
  editor.Apply();
  Action("EditUndo")->trigger();
  editor.hide();
  QApplication::processEvents();

  QMenu* edit = nullptr;
  for (QAction* top : window->menuBar()->actions())
    if (top->text() == "Edit ...") edit = top->menu();
  ASSERT_NE(edit, nullptr);
  const QRect item = window->menuBar()->actionGeometry(edit->menuAction());
  edit->popup(window->menuBar()->mapToGlobal(item.bottomLeft()));
  QApplication::processEvents();
  EXPECT_EQ(Action("EditUndo")->text(), "Undo Edit node 2: loads");
  EXPECT_EQ(Action("EditRedo")->text(), "Redo Move node 2");
  // Popups are windows of their own: the menu is drawn over the window's picture where it opened.
  QImage image = window->grab().toImage();
  {
    QPainter p(&image);
    p.drawPixmap(window->mapFromGlobal(edit->pos()), edit->grab());
  }
  edit->close();
  EXPECT_TRUE(
      image.save(QString::fromStdString((ScreenshotFolder() / "undo-menu.png").string()), "PNG"));
}

TEST_F(Screenshots, MeshDisplacementAndStressViews) {
  const std::filesystem::path out = ScreenshotFolder();
  window->resize(900, 760);
  QApplication::processEvents();
  GlobalMeshParameters().animate = false;
  ASSERT_TRUE(window->OpenJob(ExamplePath("plate-with-hole.sam")));
  window->GenerateMeshClick();
  ASSERT_TRUE(window->Meshed());
  auto shoot = [&](const char* name) {
    QApplication::processEvents();
    QImage image = window->grab().toImage();
    EXPECT_TRUE(image.save(QString::fromStdString((out / name).string()), "PNG")) << name;
    return image.convertToFormat(QImage::Format_RGB32);
  };
  QImage mesh = shoot("mesh.png");
  EXPECT_GT(CountPixels(mesh, qRgb(0, 0, 0)), 2000);  // the mesh lines
  EXPECT_EQ(CountPixels(mesh, qRgb(0, 255, 0)), 0);

  // The parameters dialog with the statistics of that mesh.
  TMesh_params& parameters = *window->MeshParamsDialog();
  parameters.setup();
  parameters.adjustSize();
  EXPECT_TRUE(
      parameters.grab().save(QString::fromStdString((out / "parameters.png").string()), "PNG"));
  EXPECT_NE(parameters.num_nodes->text(), "no_data");

  // The two progress windows with figures of that mesh.
  TMeshInformer& meshProgress = *window->MeshInformer();
  meshProgress.ShowMeshProgress("Delaunay refinement", 871, 2454, 28.0);
  EXPECT_TRUE(meshProgress.grab().save(QString::fromStdString((out / "mesh-progress.png").string()),
                                       "PNG"));
  meshProgress.HideMeshProgress();
  TSolveInformer& solveProgress = *window->SolveInformer();
  solveProgress.ShowSolveProgress("Stiffness matrix factorization", 1306, 1306, 2613);
  EXPECT_TRUE(solveProgress.grab().save(
      QString::fromStdString((out / "solve-progress.png").string()), "PNG"));
  // The long stage caption leaves the index readable.
  QLabel* index = nullptr;
  for (QLabel* label : solveProgress.findChildren<QLabel*>())
    if (label->text() == "1306") index = label;
  ASSERT_NE(index, nullptr);
  EXPECT_GE(index->width(), index->fontMetrics().horizontalAdvance("1306"));
  solveProgress.HideSolveProgress();

  window->SolveStaticClick();
  ASSERT_TRUE(window->StaticSolved());
  window->SetFringes(false);  // the isolines alone
  window->SelectView(1);
  // The mouse on a mesh node near the loaded edge, so that the read-outs show in the pictures.
  const ViewTransform& t = CurrentViewTransform();
  const FEM& fem = window->Mesh();
  int under = 0;
  for (int i = 1; i < fem.NodeCount(); ++i)
    if (std::hypot(fem.NodeX(i) - 400, fem.NodeY(i) - 225) <
        std::hypot(fem.NodeX(under) - 400, fem.NodeY(under) - 225))
      under = i;
  const int mouseX = t.ScreenX(fem.NodeX(under)), mouseY = t.ScreenY(fem.NodeY(under));
  window->mousemoved(mouseX, mouseY);
  EXPECT_FALSE(window->PanelText(1).isEmpty());
  EXPECT_FALSE(window->PanelText(3).isEmpty());
  QImage displacement = shoot("displacement.png");
  EXPECT_GT(CountPixels(displacement, qRgb(0, 255, 0)), 500);  // lime isolines

  window->SolveStressClick();
  window->SelectView(4);
  window->mousemoved(mouseX, mouseY);
  QImage stress = shoot("stress.png");
  EXPECT_GT(CountPixels(stress, qRgb(0, 255, 0)), 500);
  EXPECT_NE(displacement, stress);
}

// A structured grid of 2 10^6 triangles in the fringe view, the exact layer waited for (off the
// GUI thread); the picture is what a coarse mesh shows, with no mesh lines piling up.
TEST_F(Screenshots, TwoMillionTriangleFringes) {
  if (qEnvironmentVariableIsEmpty("TAVRIN_LARGE_SCREENSHOTS"))
    GTEST_SKIP() << "set TAVRIN_LARGE_SCREENSHOTS=1 to render 2 10^6 triangles";
  window->resize(900, 700);
  QApplication::processEvents();
  const FringeField field = bench::FringeGrid(1415);
  ASSERT_GE(field.triangles.size(), 2000000u);
  bench::ShowFieldInWindow(*window, field, "Lin. Z displacement");
  QTimer wake;
  wake.start(20);
  for (int turn = 0; turn < 10000 && window->PlanControl().Layers().Pending(); ++turn)
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  ASSERT_FALSE(window->PlanControl().Layers().Pending());
  QApplication::processEvents();
  const QImage image = window->grab().toImage();
  // The plate's middle has the colour of the field's value there.
  const ViewTransform& t = CurrentViewTransform();
  const QImage picture = window->PlanArea()->Image().convertToFormat(QImage::Format_RGB32);
  const FringeScale& scale = window->Fringes().Scale();
  // sin(x / 450 pi) sin(y / 225 pi) + 0.1 cos(x / 30) at (225, 112.5): mid-band, far from lines.
  const double middle = 1 + 0.1 * std::cos(225.0 / 30);
  EXPECT_EQ(picture.pixel(t.ScreenX(225), t.ScreenY(112.5)), scale.ColourOf(middle) | 0xff000000u);
  EXPECT_TRUE(
      image.save(QString::fromStdString((ScreenshotFolder() / "fringes-2M.png").string()), "PNG"));
}

// A circular plate with a circular hole, both added as circles of arcs, simply supported round
// its outline under a pressure: the deflection's fringes with the outline and the hole inked
// along their arcs. Then the raft example on its foundation in the foundation pressure's fringes.
TEST_F(Screenshots, CircularPlateWithAHoleAndARaftOnAFoundation) {
  const std::filesystem::path out = ScreenshotFolder();
  window->resize(900, 760);
  GlobalMeshParameters().animate = false;
  ASSERT_EQ(window->Editing().AddCircle(0, 0, 200, false), "");
  ASSERT_EQ(window->Editing().AddCircle(60, 30, 60, true), "");
  TObjCont& job = window->Structure();
  for (int e = 0; e < 4; ++e) job.SetEdgeConstraints(e, 100, 0, 0, 0);
  job.SetPolygonPhysics(0, -0.01, 210000, 0.3, 10, false);
  window->ZoomFitClick();
  window->GenerateMeshClick();
  ASSERT_TRUE(window->Meshed());
  window->SolveStaticClick();
  ASSERT_TRUE(window->StaticSolved());
  window->SetFringes(true);
  window->SelectView(1);
  QApplication::processEvents();
  EXPECT_TRUE(window->grab().save(
      QString::fromStdString((out / "circular-plate-with-hole.png").string()), "PNG"));
  // The outline's middle at 45 degrees, 59 units off the chord of its quarter: inked dark.
  const ViewTransform& t = CurrentViewTransform();
  const QImage& plan = window->PlanArea()->Image();
  const double ratio = plan.devicePixelRatio();
  const double r45 = 200 / std::sqrt(2.0);
  EXPECT_LT(qGray(plan.pixel(static_cast<int>(t.ScreenX(r45) * ratio),
                             static_cast<int>(t.ScreenY(r45) * ratio))),
            80);

  // The same plate in 3D: the outline and the hole's rim run along their arcs.
  window->DeflectedShapeClick();
  DeflectedView3D* view3d = window->DeflectedView();
  ASSERT_NE(view3d, nullptr);
  EXPECT_TRUE(view3d->isVisible());
  EXPECT_TRUE(view3d->grab().save(
      QString::fromStdString((out / "circular-plate-with-hole-3d.png").string()), "PNG"));
  view3d->hide();

  ASSERT_TRUE(window->OpenJob(ExamplePath("raft-on-foundation.sam")));
  window->GenerateMeshClick();
  window->SolveStaticClick();
  ASSERT_TRUE(window->StaticSolved());
  int view = 0;
  while (view < static_cast<int>(ResultViews().size()) && !ResultViews()[view].foundation) ++view;
  window->SelectView(view);
  ASSERT_EQ(window->ViewIndex(), view);
  EXPECT_GT(window->Solver().FoundationZ(), 0.0);  // the ground pushes up on a plate pressed down
  QApplication::processEvents();
  EXPECT_TRUE(window->grab().save(
      QString::fromStdString((out / "raft-foundation-pressure.png").string()), "PNG"));
}

// A job with load cases solved once: the envelope of the principal moment M1 (its largest
// values over the combinations) and the bottom x reinforcement moment of a combination, each
// with the legend naming the field and the set.
TEST_F(Screenshots, EnvelopeAndWoodArmerViews) {
  const std::filesystem::path out = ScreenshotFolder();
  window->resize(900, 760);
  QApplication::processEvents();
  GlobalMeshParameters().animate = false;
  GlobalMeshParameters().maxArea = 400;
  ASSERT_TRUE(window->OpenJob(ExamplePath("square-load-cases.sam")));
  GlobalMeshParameters().maxArea = 400;
  window->GenerateMeshClick();
  window->SolveStaticClick();
  ASSERT_TRUE(window->StressSolved());
  auto* cases = window->findChild<QComboBox*>("CaseSelector");
  ASSERT_NE(cases, nullptr);
  const struct {
    const char* set;
    const char* view;
    const char* title;
    const char* file;
  } shots[] = {
      {"ENV (max)", "M1 principal moment", "M1 moment (ENV (max))", "envelope-m1.png"},
      {"ULS", "Wood-Armer x bottom", "Wood-Armer Mx* bottom (ULS)", "wood-armer-x-bottom.png"},
  };
  for (const auto& shot : shots) {
    cases->setCurrentIndex(cases->findText(shot.set));
    window->SelectView(window->findChild<QComboBox*>("ViewSelector")->findText(shot.view));
    ASSERT_TRUE(window->FringesShown()) << shot.view;
    EXPECT_EQ(window->Fringes().Title(), shot.title);
    QApplication::processEvents();
    EXPECT_TRUE(
        window->grab().toImage().save(QString::fromStdString((out / shot.file).string()), "PNG"))
        << shot.file;
  }
}

}  // namespace
}  // namespace tavrin::test

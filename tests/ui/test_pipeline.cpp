// Mesh, solve and result views through the main window's commands.
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QToolBar>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <thread>

#include <unistd.h>

#include "analysis/TGlobMatrix.h"
#include "analysis/TIsolines.h"
#include "mesh/FEM.h"
#include "tests/ui/WorkbenchFixture.h"
#include "ui/ProgressThrottle.h"
#include "ui/TMeshInformer.h"
#include "ui/TMesh_params.h"
#include "ui/TSolveInformer.h"

namespace tavrin::test {
namespace {

using Pipeline = Workbench;

const char* const kPipelineCommands[] = {"Generatemesh", "SolveStaticMenu", "SolveStressMenu",
                                         "CosmosInputFile", "LocalStiffnessMatrix"};

class PipelineSession : public Pipeline {
 protected:
  // "1" for an enabled pipeline command, "0" for a disabled one, in kPipelineCommands order.
  // While idle the menus must show exactly what the window's own flags permit.
  std::string Pattern() const {
    std::string s;
    for (const char* name : kPipelineCommands) s += Enabled(name) ? '1' : '0';
    const TMainWindow::PipelineCommands& p = window->Pipeline();
    std::string permitted;
    for (bool on : {p.generateMesh, p.solveStatic, p.solveStress, p.exports, p.exports})
      permitted += on ? '1' : '0';
    EXPECT_EQ(permitted, s);
    return s;
  }
};

TEST_F(PipelineSession, EnablingThroughAWholeSession) {
  GlobalMeshParameters().animate = false;
  EXPECT_EQ(Pattern(), "00000");
  OpenThroughDialog(ExamplePath("square.sam"));
  EXPECT_EQ(Pattern(), "10000");

  // Before a solve: the plain view stays with its (empty) label, and the status bar says why.
  window->SelectView(1);
  EXPECT_EQ(window->ViewIndex(), 0);
  EXPECT_EQ(window->PanelText(2), "");
  EXPECT_EQ(window->PanelText(4), "Needs Solve Static");

  window->GenerateMeshClick();
  ASSERT_TRUE(window->Meshed());
  EXPECT_GT(window->Mesh().TriangleCount(), 0);
  EXPECT_EQ(Pattern(), "11000");
  EXPECT_FALSE(window->MeshInformer()->isVisible());
  EXPECT_GT(GlobalMeshStatistics().nodeCount, 0);

  window->SolveStaticClick();
  ASSERT_TRUE(window->StaticSolved())
      << (platform.messages.empty() ? "" : platform.messages[0].text);
  EXPECT_EQ(Pattern(), "11111");
  EXPECT_FALSE(window->SolveInformer()->isVisible());

  window->SelectView(4);  // stresses not yet solved
  EXPECT_EQ(window->ViewIndex(), 0);

  window->SolveStressClick();
  EXPECT_TRUE(window->StressSolved());
  EXPECT_EQ(Pattern(), "11011");

  window->SelectView(1);
  EXPECT_EQ(window->ViewIndex(), 1);
  EXPECT_GT(window->Isolines().SegmentCount(), 0);
  window->SelectView(6);
  EXPECT_EQ(window->ViewIndex(), 6);
  EXPECT_EQ(window->PanelText(2), "Tau XY stress:");

  // A second Solve Static clears the stresses: Solve Stress is offered again.
  window->SolveStaticClick();
  EXPECT_FALSE(window->StressSolved());
  EXPECT_EQ(Pattern(), "11111");

  // A new mesh drops every result and goes back to the plain view.
  window->GenerateMeshClick();
  EXPECT_FALSE(window->StaticSolved());
  EXPECT_FALSE(window->StressSolved());
  EXPECT_EQ(window->ViewIndex(), 0);
  EXPECT_EQ(window->Isolines().SegmentCount(), 0);
  EXPECT_EQ(Pattern(), "11000");
  EXPECT_TRUE(platform.messages.empty());

  window->New1Click();
  EXPECT_EQ(Pattern(), "00000");
  EXPECT_FALSE(window->Meshed());
}

// Tolerance: the read-out shows 5 significant digits of the nodal value.
TEST_F(Pipeline, ReadOutUnderTheMouse) {
  GlobalMeshParameters().animate = false;
  OpenThroughDialog(ExamplePath("square.sam"));
  window->GenerateMeshClick();
  window->SolveStaticClick();
  window->SolveStressClick();
  const ViewTransform& t = CurrentViewTransform();
  const FEM& mesh = window->Mesh();
  const TGlobMatrix& solver = window->Solver();
  int node = mesh.NearestNode(225, 225);
  ASSERT_GE(node, 0);

  window->SelectView(1);  // the fitted plate makes room for the legend: screen points move
  int sx = t.ScreenX(mesh.NodeX(node)), sy = t.ScreenY(mesh.NodeY(node));
  window->mousemoved(sx, sy);
  int under = mesh.NearestNode(t.WorldX(sx), t.WorldY(sy));
  double w = static_cast<double>(solver.Displacement(solver.NewNumberOf(under), 0));
  EXPECT_LT(w, 0.0);  // the centre load pushes down
  EXPECT_EQ(window->PanelText(3), QString::number(w, 'g', 5));

  window->SelectView(4);
  window->mousemoved(sx, sy);
  EXPECT_EQ(window->PanelText(3),
            QString::number(solver.NodeStress(solver.NewNumberOf(under), 0), 'g', 5));

  // Far from every node the last value stays.
  QString before = window->PanelText(3);
  window->mousemoved(t.ScreenX(5000), t.ScreenY(5000));
  EXPECT_EQ(window->PanelText(3), before);

  // A new static solve leaves no stresses to read: the stress view, its label and its value go
  // with them, and no value (the solver's no-value sentinel least of all) is read out.
  window->SolveStaticClick();
  EXPECT_EQ(window->ViewIndex(), 0);
  EXPECT_EQ(window->PanelText(2), "");
  window->mousemoved(sx, sy);
  EXPECT_EQ(window->PanelText(3), "");
  const QImage& picture = window->PlanArea()->Image();
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x)
      ASSERT_NE(picture.pixel(x, y) & 0xffffff, qRgb(0, 255, 0) & 0xffffffu)
          << "an isoline left at " << x << "," << y;
}

// Choosing a stress view before Solve Stress keeps the deflection view on screen with its own
// label and values: the status bar never puts a stress label over deflections.
TEST_F(Pipeline, AViewWithoutItsResultsLeavesTheShownViewAndLabel) {
  GlobalMeshParameters().animate = false;
  OpenThroughDialog(ExamplePath("square.sam"));
  window->GenerateMeshClick();
  window->SolveStaticClick();
  ASSERT_TRUE(window->StaticSolved());
  window->SelectView(1);
  const int segments = window->Isolines().SegmentCount();
  ASSERT_GT(segments, 0);
  const ViewTransform& t = CurrentViewTransform();
  const FEM& mesh = window->Mesh();
  const int node = mesh.NearestNode(225, 225);
  const int sx = t.ScreenX(mesh.NodeX(node)), sy = t.ScreenY(mesh.NodeY(node));
  window->mousemoved(sx, sy);
  const QString deflection = window->PanelText(3);
  const QImage picture = window->PlanArea()->Image().copy();

  window->SelectView(5);  // "Sigma Y stress isolines"
  EXPECT_EQ(window->ViewIndex(), 1);
  EXPECT_EQ(window->PanelText(2), "Lin. Z displacement:");
  EXPECT_EQ(window->PanelText(4), "Needs Solve Stress");
  EXPECT_EQ(window->Isolines().SegmentCount(), segments);
  EXPECT_EQ(window->PlanArea()->Image(), picture);
  window->mousemoved(sx + 1, sy);
  window->mousemoved(sx, sy);
  EXPECT_EQ(window->PanelText(3), deflection);

  // With the stresses the view changes, label and read-out together.
  window->SolveStressClick();
  window->SelectView(5);
  EXPECT_EQ(window->ViewIndex(), 5);
  EXPECT_EQ(window->PanelText(2), "Sigma Y stress:");
  EXPECT_EQ(window->PanelText(4), "");
  window->mousemoved(sx, sy);
  const TGlobMatrix& solver = window->Solver();
  const int under = mesh.NearestNode(t.WorldX(sx), t.WorldY(sy));
  EXPECT_EQ(window->PanelText(3),
            QString::number(solver.NodeStress(solver.NewNumberOf(under), 1), 'g', 5));
}

TEST_F(Pipeline, FailedSolveSaysWhyAndKeepsResultsOff) {
  GlobalMeshParameters().animate = false;
  std::string path =
      WriteFile("free.sam",
                "N, 0, 0\nN, 100, 0\nN, 100, 100\nN, 0, 100\nOBJECT 0\nE, 0, 1\nE, 1, 2\n"
                "E, 2, 3\nE, 3, 0\nClose\n");
  ASSERT_TRUE(window->OpenJob(path));
  window->GenerateMeshClick();
  ASSERT_TRUE(Enabled("SolveStaticMenu"));
  window->SolveStaticClick();
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].caption, "Error!");
  EXPECT_FALSE(platform.messages[0].text.empty());
  EXPECT_FALSE(window->StaticSolved());
  EXPECT_FALSE(Enabled("SolveStressMenu"));
  EXPECT_FALSE(Enabled("CosmosInputFile"));
  EXPECT_TRUE(Enabled("SolveStaticMenu"));
}

// A displacement whose stresses would not fit a double is refused at Generate mesh, naming the
// node; no mesh is made, so nothing can be solved.
TEST_F(Pipeline, OverflowingDisplacementIsRefusedBeforeMeshing) {
  GlobalMeshParameters().animate = false;
  std::string path =
      WriteFile("lifted.sam",
                "N, 0, 0\nN, 100, 0\nN, 100, 100\nN, 0, 100\nOBJECT 0\nE, 0, 1\nE, 1, 2\n"
                "E, 2, 3\nE, 3, 0\nClose\nDE, 0, 0, 0, 0\nDN, 2, 1e308, 0, 0\n");
  ASSERT_TRUE(window->OpenJob(path));
  window->GenerateMeshClick();
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].caption, "Error!");
  EXPECT_NE(platform.messages[0].text.find("Node 2 has a prescribed displacement"),
            std::string::npos);
  EXPECT_EQ(window->Mesh().NodeCount(), 0);
  EXPECT_FALSE(Enabled("SolveStaticMenu"));
  EXPECT_TRUE(Enabled("Generatemesh"));
}

// While the refinement runs, the stop keys end it and the job-changing commands are off.
class StopKeys : public Workbench, public ::testing::WithParamInterface<int> {};

TEST_P(StopKeys, EndTheRefinement) {
  OpenThroughDialog(ExamplePath("square.sam"));
  // Set after Open, which proposes its own area: half a million triangles at this one, so
  // only a stop key ends the refinement within the test.
  GlobalMeshParameters().minAngle = 34.0f;
  GlobalMeshParameters().maxArea = 0.05f;
  bool newDuringRun = true, meshDuringRun = true, viewsDuringRun = true, permittedDuringRun = true;
  int ticks = 0;
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&] {
    if (!window->Busy()) return;
    newDuringRun = newDuringRun && Enabled("New1");
    meshDuringRun = meshDuringRun && Enabled("Generatemesh");
    viewsDuringRun = viewsDuringRun && window->findChild<QComboBox*>("ViewSelector")->isEnabled();
    permittedDuringRun = permittedDuringRun && window->Pipeline().generateMesh;
    window->New1Click();  // ignored while busy
    if (++ticks >= kStopTick) {
      QTest::keyPress(window.get(), static_cast<Qt::Key>(GetParam()));
      QTest::keyRelease(window.get(), static_cast<Qt::Key>(GetParam()));
    }
  });
  timer.start(30);
  window->GenerateMeshClick();
  timer.stop();
  EXPECT_GE(ticks, kStopTick);
  EXPECT_FALSE(newDuringRun);
  EXPECT_FALSE(meshDuringRun);
  EXPECT_FALSE(viewsDuringRun);
  EXPECT_TRUE(permittedDuringRun);  // off only because busy: the permission itself stands
  EXPECT_FALSE(window->Mesh().IsUsable());
  EXPECT_GT(window->Mesh().TriangleCount(), 0);
  EXPECT_FALSE(window->Meshed());
  EXPECT_FALSE(Enabled("SolveStaticMenu"));
  EXPECT_TRUE(Enabled("Generatemesh"));
  EXPECT_TRUE(Enabled("New1"));
  EXPECT_FALSE(window->Editing().shiftHeld);
  // The unusable mesh is still drawn (the job alone would be four lines).
  QImage picture = window->PlanArea()->Image().convertToFormat(QImage::Format_RGB32);
  int black = 0;
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x) black += picture.pixel(x, y) == qRgb(0, 0, 0);
  EXPECT_GT(black, 8000);
}

INSTANTIATE_TEST_SUITE_P(Workbench, StopKeys,
                         ::testing::Values(Qt::Key_Escape, Qt::Key_Shift, Qt::Key_Space),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return info.param == Qt::Key_Escape  ? std::string("Escape")
                                  : info.param == Qt::Key_Shift ? std::string("Shift")
                                                                : std::string("Space");
                         });

// A usable mesh enables Solve Static; a later mesh stopped short of the minimal angle takes it
// away again instead of leaving the earlier mesh's permission in place.
TEST_F(Pipeline, StoppedNewMeshDisablesSolveStatic) {
  OpenThroughDialog(ExamplePath("square.sam"));
  window->GenerateMeshClick();
  ASSERT_TRUE(window->Mesh().IsUsable());
  ASSERT_TRUE(Enabled("SolveStaticMenu"));

  // Half a million triangles at this area: only the stop key ends the refinement in time.
  GlobalMeshParameters().minAngle = 34.0f;
  GlobalMeshParameters().maxArea = 0.05f;
  int ticks = 0;
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&] {
    if (window->Busy() && ++ticks == kStopTick) {
      QTest::keyPress(window.get(), Qt::Key_Escape);
      QTest::keyRelease(window.get(), Qt::Key_Escape);
    }
  });
  timer.start(30);
  window->GenerateMeshClick();
  timer.stop();
  EXPECT_GE(ticks, kStopTick);
  EXPECT_GT(window->Mesh().TriangleCount(), 0);  // stopped, not refused
  EXPECT_FALSE(window->Mesh().IsUsable());
  EXPECT_FALSE(Enabled("SolveStaticMenu"));
  // Why, where the user looks.
  EXPECT_TRUE(window->PanelText(4).startsWith("Stopped by the user: not usable"))
      << window->PanelText(4).toStdString();
}

// Closing the window while a mesh is generated stops the refinement and closes afterwards,
// never under the running mesher's feet.
TEST_F(Pipeline, CloseDuringMeshingWaitsForTheMesher) {
  // Fine enough that the refinement is still running at the first tick however fast it is.
  GlobalMeshParameters().minAngle = 30.0f;
  GlobalMeshParameters().maxArea = 2.0f;
  OpenThroughDialog(ExamplePath("square.sam"));
  bool refused = false;
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&] {
    if (window->Busy() && !refused) refused = !window->close();
  });
  timer.start(30);
  window->GenerateMeshClick();
  timer.stop();
  EXPECT_TRUE(refused);
  EXPECT_FALSE(window->isVisible());
  EXPECT_GT(window->Mesh().TriangleCount(), 0);
}

TEST(ProgressWindows, Figures) {
  TMeshInformer mesh;
  mesh.ShowMeshProgress("Delaunay refinement", 12, 30, 17.5);
  EXPECT_EQ(mesh.AngleBar(), 50);
  EXPECT_EQ(mesh.NodesText(), "12");
  EXPECT_EQ(mesh.ElementsText(), "30");
  EXPECT_EQ(mesh.windowTitle(), "Delaunay refinement");
  mesh.ShowMeshProgress("Delaunay refinement", 12, 30, 35.0);
  EXPECT_EQ(mesh.AngleBar(), 100);
  mesh.HideMeshProgress();
  EXPECT_FALSE(mesh.isVisible());

  TSolveInformer solve;
  solve.ShowSolveProgress("Generating local stiffness matrix #", 1, 7, 10);
  EXPECT_EQ(solve.Percent(), 10);
  EXPECT_EQ(solve.IndexText(), "7");
  solve.ShowSolveProgress("Factorization", 3, 3, 7);
  EXPECT_EQ(solve.Percent(), 42);
  EXPECT_EQ(solve.ActionText(), "Factorization");
  solve.ShowSolveProgress("Nothing to do", 0, 0, 0);  // no division by zero
  EXPECT_EQ(solve.Percent(), 0);
  solve.HideSolveProgress();
  EXPECT_FALSE(solve.isVisible());
}

// Reports within a few hundredths of a second of the last event processing let no events
// through (the figures still answer with the latest report); a new caption, or the interval
// passed, does. The window's clock is stepped by hand.
TEST(ProgressWindows, MeshWindowThrottlesEvents) {
  TMeshInformer mesh;
  qint64 nowMs = 1000;
  mesh.SetProgressClock([&nowMs] { return nowMs; });
  int runs = 0;
  auto pending = [&] { QTimer::singleShot(0, [&] { ++runs; }); };
  mesh.ShowMeshProgress("Initial triangulation", 0, 0, 0.0);
  pending();
  mesh.ProcessEvents();
  EXPECT_EQ(runs, 1);
  mesh.ShowMeshProgress("Delaunay refinement", 40, 100, 10.0);  // new caption
  pending();
  mesh.ProcessEvents();
  EXPECT_EQ(runs, 2);
  mesh.ShowMeshProgress("Delaunay refinement", 41, 103, 17.5);
  pending();
  mesh.ProcessEvents();
  EXPECT_EQ(runs, 2);  // within the interval: nothing processed
  EXPECT_EQ(mesh.AngleBar(), 50);
  EXPECT_EQ(mesh.NodesText(), "41");
  nowMs += ProgressThrottle::kDefaultIntervalMs - 1;
  mesh.ProcessEvents();
  EXPECT_EQ(runs, 2);  // one millisecond short of the interval
  nowMs += 1;
  mesh.ProcessEvents();
  EXPECT_EQ(runs, 3);
  mesh.HideMeshProgress();
}

// Both progress windows appear at the upper right of the plan view, 46 pixels below the tool
// bar, whatever their layout makes of their design size.
TEST_F(Pipeline, ProgressWindowsSitAtTheUpperRightOfThePlanView) {
  window->move(40, 30);
  QApplication::processEvents();
  const QPoint main = window->pos();
  const int right = main.x() + window->PlanArea()->width();
  const int top = main.y() + window->findChild<QToolBar*>("ToolBar1")->height() + 46;
  TMeshInformer& mesh = *window->MeshInformer();
  mesh.ShowMeshProgress("Delaunay refinement", 10, 20, 30.0);
  EXPECT_EQ(mesh.x() + mesh.width(), right);
  EXPECT_EQ(mesh.y(), top);
  mesh.HideMeshProgress();
  TSolveInformer& solve = *window->SolveInformer();
  solve.ShowSolveProgress("Stiffness matrix factorization", 1, 1, 2);
  EXPECT_EQ(solve.x() + solve.width(), right);
  EXPECT_EQ(solve.y(), top);
  solve.HideSolveProgress();
}

TEST_F(Pipeline, ParametersDialog) {
  TMesh_params& dialog = *window->MeshParamsDialog();
  dialog.setup();
  EXPECT_EQ(dialog.set_min_ang->text(), "31");
  EXPECT_EQ(dialog.set_max_area->text(), "200");
  EXPECT_TRUE(dialog.animate->isChecked());
  EXPECT_EQ(dialog.set_max_nodes->text(), "2000000");
  EXPECT_EQ(dialog.num_nodes->text(), "no_data");
  EXPECT_EQ(dialog.num_elements->text(), "no_data");
  EXPECT_EQ(dialog.real_min_ang->text(), "no_data");
  EXPECT_EQ(dialog.free_min_ang->text(), "no_data");
  EXPECT_EQ(dialog.corner_elements->text(), "no_data");
  EXPECT_EQ(dialog.verdict->text(), "");
  EXPECT_EQ(dialog.solver_choice->currentIndex(), static_cast<int>(SolverKind::Sparse));
  EXPECT_EQ(dialog.recovery_choice->currentIndex(), static_cast<int>(RecoveryKind::Patch));
  EXPECT_EQ(dialog.edge_load_choice->currentIndex(), static_cast<int>(EdgeLoadKind::Consistent));

  // The analysis choices are stored even when a number is refused; Solve Static reads them.
  dialog.solver_choice->setCurrentIndex(static_cast<int>(SolverKind::Envelope));
  dialog.recovery_choice->setCurrentIndex(static_cast<int>(RecoveryKind::Average));
  dialog.edge_load_choice->setCurrentIndex(static_cast<int>(EdgeLoadKind::Lumped));
  dialog.set_min_ang->setText("bad");
  dialog.Button1Click();
  EXPECT_EQ(GlobalAnalysisOptions().solver, SolverKind::Envelope);
  EXPECT_EQ(GlobalAnalysisOptions().recovery, RecoveryKind::Average);
  EXPECT_EQ(GlobalAnalysisOptions().edgeLoads, EdgeLoadKind::Lumped);
  GlobalAnalysisOptions() = AnalysisOptions{};
  platform.messages.clear();
  dialog.setup();

  dialog.set_min_ang->setText("33");
  dialog.set_max_area->setText("150.5");
  dialog.set_max_nodes->setText(" 5000 ");
  dialog.animate->setChecked(false);
  dialog.Button1Click();
  EXPECT_EQ(GlobalMeshParameters().minAngle, 33.0f);
  EXPECT_EQ(GlobalMeshParameters().maxArea, 150.5f);
  EXPECT_EQ(GlobalMeshParameters().maxNodes, 5000);
  EXPECT_FALSE(GlobalMeshParameters().animate);

  // A node limit that is no whole number above 0 is refused, after the other fields.
  for (const char* bad : {"0", "-3", "12x", "2.5", "3000000000"}) {
    dialog.setup();
    dialog.set_max_nodes->setText(bad);
    dialog.animate->setChecked(true);
    dialog.Button1Click();
    EXPECT_EQ(GlobalMeshParameters().maxNodes, 5000) << bad;
    EXPECT_TRUE(GlobalMeshParameters().animate) << bad;
    ASSERT_FALSE(platform.messages.empty());
    EXPECT_EQ(platform.messages.back().text,
              "Node limit must be a whole number from 1 to 2147483647");
    platform.messages.clear();
  }

  dialog.setup();
  dialog.set_min_ang->setText("3x");
  dialog.set_max_area->setText("10");
  dialog.Button1Click();
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].text, "Not a valid number");
  EXPECT_EQ(platform.messages[0].caption, "Error");
  EXPECT_EQ(GlobalMeshParameters().maxArea, 150.5f);  // nothing stored

  dialog.setup();
  dialog.set_min_ang->setText("30");
  dialog.set_max_area->setText("big");
  dialog.Button1Click();
  EXPECT_EQ(GlobalMeshParameters().minAngle, 30.0f);  // stored before the area failed
  EXPECT_EQ(GlobalMeshParameters().maxArea, 150.5f);
  EXPECT_EQ(platform.messages.size(), 2u);

  // Numbers the mesher cannot aim for are refused by name, storing no more than a bad text
  // would: an angle beyond 35 degrees stores nothing, a maximal area of 0 keeps the old area.
  dialog.setup();
  dialog.set_min_ang->setText("90.0001");
  dialog.set_max_area->setText("10");
  dialog.Button1Click();
  ASSERT_EQ(platform.messages.size(), 3u);
  EXPECT_EQ(platform.messages[2].text,
            "Minimal angle of triangles must lie between 0 and 35 degrees");
  EXPECT_EQ(platform.messages[2].caption, "Error");
  EXPECT_EQ(GlobalMeshParameters().minAngle, 30.0f);
  for (const char* area : {"0", "-5"}) {
    dialog.setup();
    dialog.set_min_ang->setText("25");
    dialog.set_max_area->setText(area);
    dialog.Button1Click();
    EXPECT_EQ(platform.messages.back().text, "Maximal area of triangle must be positive") << area;
    EXPECT_EQ(platform.messages.back().caption, "Error");
    EXPECT_EQ(GlobalMeshParameters().minAngle, 25.0f);
    EXPECT_EQ(GlobalMeshParameters().maxArea, 150.5f);
  }

  GlobalMeshParameters() = MeshParameters{};
  GlobalMeshParameters().animate = false;
  OpenThroughDialog(ExamplePath("square.sam"));
  window->GenerateMeshClick();
  dialog.setup();
  EXPECT_EQ(dialog.num_nodes->text().toInt(), window->Mesh().NodeCount());
  EXPECT_NE(dialog.real_min_ang->text(), "no_data");
  EXPECT_EQ(dialog.free_min_ang->text(), dialog.real_min_ang->text());  // no sharp corner
  EXPECT_EQ(dialog.corner_elements->text(), "0");
  EXPECT_EQ(dialog.verdict->text(), "Usable.");
  EXPECT_EQ(window->PanelText(4), "Usable.");
}

// A mesh the mesher's own loop leaves short of the angle is finished, and the status bar and
// the dialog say so: usable, with the elements at the sharp corner counted apart.
TEST_F(Pipeline, SharpCornerMeshIsUsableAndSaysWhy) {
  GlobalMeshParameters() = MeshParameters{};
  GlobalMeshParameters().animate = false;
  const std::string job = (std::filesystem::temp_directory_path() /
                           ("tavrin-wedge-" + std::to_string(::getpid()) + ".sam"))
                              .string();
  {
    std::ofstream out(job);
    out << "N, 0, 0\nN, 300, 0\nN, 300, 150\nN, 234.92315519647, 85.5050358314172\n"
           "OBJECT 0\nE, 0, 1\nE, 1, 2\nE, 2, 3\nE, 3, 0\nClose\n";
  }
  OpenThroughDialog(job);
  std::filesystem::remove(job);
  GlobalMeshParameters().maxArea = 100;
  window->GenerateMeshClick();
  ASSERT_TRUE(window->Mesh().IsUsable());
  EXPECT_TRUE(Enabled("SolveStaticMenu"));
  EXPECT_LT(window->Mesh().CurrentMinAngle() * 180 / M_PI, 31);
  EXPECT_TRUE(window->PanelText(4).startsWith("Usable: ")) << window->PanelText(4).toStdString();
  EXPECT_TRUE(window->PanelText(4).contains("sharper than 31 degrees"));
  TMesh_params& dialog = *window->MeshParamsDialog();
  dialog.setup();
  EXPECT_EQ(dialog.verdict->text(), window->PanelText(4));
  EXPECT_GT(dialog.corner_elements->text().toInt(), 0);
  EXPECT_GE(dialog.free_min_ang->text().toDouble(), 31.0);
}

TEST(ParametersText, FloatConversions) {
  float v = 0;
  EXPECT_TRUE(TextToFloat(" 31.5 ", v));
  EXPECT_EQ(v, 31.5f);
  EXPECT_TRUE(TextToFloat("1e2", v));
  EXPECT_EQ(v, 100.0f);
  for (const char* bad : {"", "abc", "1,5", "nan", "inf", "1e39", "2 3"})
    EXPECT_FALSE(TextToFloat(bad, v)) << bad;
  EXPECT_EQ(FloatText(578.0f), "578");
  EXPECT_EQ(FloatText(0.1f), "0.1");
}

}  // namespace
}  // namespace tavrin::test

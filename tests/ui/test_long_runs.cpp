// Long runs under the user's control: the Stop buttons of both progress windows, and Exit while
// a solve runs.
#include <QPushButton>
#include <QTimer>

#include "analysis/TGlobMatrix.h"
#include "mesh/FEM.h"
#include "tests/ui/WorkbenchFixture.h"
#include "ui/TMeshInformer.h"
#include "ui/TSolveInformer.h"

namespace tavrin::test {
namespace {

class LongRuns : public Workbench {
 protected:
  void OpenAndMesh() {
    GlobalMeshParameters().animate = false;
    OpenThroughDialog(ExamplePath("square.sam"));
    window->GenerateMeshClick();
    ASSERT_TRUE(window->Meshed());
  }
  // While the command runs, does `act` once the window is up, at the first tick (events are let
  // through at the first progress report) or at a later one.
  void WhileShown(QWidget* progress, const std::function<void()>& act, int tick = 1,
                  int intervalMs = 0) {
    timer_ = std::make_unique<QTimer>();
    QObject::connect(timer_.get(), &QTimer::timeout, [this, progress, act, tick] {
      if (!acted && window->Busy() && progress->isVisible() && ++ticks_ >= tick) {
        acted = true;
        act();
      }
    });
    timer_->start(intervalMs);
  }
  // Starts a command without waiting for its run, acts while it runs (the worker starts at the
  // next turn of the event loop, so the act comes before its first check), then waits for its
  // end and for what the ending queued.
  void WhileRunning(const std::function<void()>& start, const std::function<void()>& act) {
    window->SetWaitForRuns(false);
    start();
    ASSERT_TRUE(window->Busy());
    act();
    window->Runner().WaitUntilIdle();
    QApplication::processEvents();
    window->SetWaitForRuns(true);
  }
  static void ClickStop(QWidget* progress) {
    auto* stop = progress->findChild<QPushButton*>("StopButton");
    ASSERT_NE(stop, nullptr);
    ASSERT_TRUE(stop->isVisible());
    QTest::mouseClick(stop, Qt::LeftButton);
  }

  bool acted = false;
  int ticks_ = 0;
  std::unique_ptr<QTimer> timer_;
};

TEST_F(LongRuns, StopInTheSolveWindowLeavesNoResultsAndSaysSo) {
  OpenAndMesh();
  WhileRunning([this] { window->SolveStaticClick(); },
               [this] { ClickStop(window->SolveInformer()); });
  EXPECT_FALSE(window->StaticSolved());
  EXPECT_FALSE(window->Solver().IsSolved());
  EXPECT_FALSE(window->SolveInformer()->isVisible());
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].text, kSolveStoppedText);
  EXPECT_EQ(platform.messages[0].caption, "Stopped");
  for (const char* name : {"SolveStressMenu", "CosmosInputFile", "ExportVtk"})
    EXPECT_FALSE(Enabled(name)) << name;
  // No view has results to show.
  window->SelectView(1);
  EXPECT_EQ(window->ViewIndex(), 0);
  // The stop holds for that solve only: the next one runs to its end.
  EXPECT_TRUE(Enabled("SolveStaticMenu"));
  window->SolveStaticClick();
  EXPECT_TRUE(window->StaticSolved());
}

TEST_F(LongRuns, StopInTheStressRecoveryKeepsTheStaticSolution) {
  OpenAndMesh();
  window->SolveStaticClick();
  ASSERT_TRUE(window->StaticSolved());
  WhileRunning([this] { window->SolveStressClick(); },
               [this] { ClickStop(window->SolveInformer()); });
  EXPECT_FALSE(window->StressSolved());
  EXPECT_FALSE(window->Solver().HasStresses());
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].text, kStressStoppedText);
  // Not the message of a recovery without a static solution: that one is there, and Solve
  // Stress is offered again.
  EXPECT_TRUE(window->StaticSolved());
  EXPECT_TRUE(Enabled("SolveStressMenu"));
  window->SelectView(4);
  EXPECT_EQ(window->ViewIndex(), 0);
  window->SelectView(1);  // the deflection is still there to see
  EXPECT_EQ(window->ViewIndex(), 1);
  window->SolveStressClick();
  EXPECT_TRUE(window->StressSolved());
}

TEST_F(LongRuns, StopInTheMeshWindowEndsTheRefinement) {
  OpenThroughDialog(ExamplePath("square.sam"));
  // Half a million triangles at this area: only the stop ends the refinement in time.
  GlobalMeshParameters().minAngle = 34.0f;
  GlobalMeshParameters().maxArea = 0.05f;
  // In the refinement, past the first triangulation (a stop before it has nothing to end).
  WhileShown(
      window->MeshInformer(), [this] { ClickStop(window->MeshInformer()); }, kStopTick, 30);
  window->GenerateMeshClick();
  timer_->stop();
  ASSERT_TRUE(acted);
  EXPECT_GT(window->Mesh().TriangleCount(), 0);  // stopped, not refused
  EXPECT_FALSE(window->Mesh().IsUsable());
  EXPECT_FALSE(Enabled("SolveStaticMenu"));
  EXPECT_FALSE(window->MeshInformer()->isVisible());
}

TEST_F(LongRuns, ExitDuringASolveAsksOnceHidesAtOnceAndStops) {
  OpenAndMesh();
  window->Document().SetModified(true);
  platform.answers.push_back(false);  // do not save
  bool hiddenAtOnce = false;
  WhileRunning([this] { window->SolveStaticClick(); },
               [&] {
                 Action("Exit1")->trigger();
                 hiddenAtOnce = !window->isVisible() && !window->SolveInformer()->isVisible();
               });
  EXPECT_TRUE(hiddenAtOnce);
  EXPECT_FALSE(window->isVisible());
  EXPECT_FALSE(window->StaticSolved());          // stopped at the next check, not finished
  EXPECT_EQ(platform.confirmations.size(), 1u);  // the question is not asked a second time
  EXPECT_TRUE(platform.messages.empty());        // no "stopped" box over a closing program
}

TEST_F(LongRuns, ExitDuringASolveCanBeCancelledBySaving) {
  OpenAndMesh();
  window->Document().SetModified(true);
  window->SetTitle("Untitled");
  platform.answers.push_back(true);  // save, then cancel the file chooser: the close is off
  WhileRunning([this] { window->SolveStaticClick(); }, [&] { Action("Exit1")->trigger(); });
  EXPECT_TRUE(window->isVisible());
  EXPECT_TRUE(window->StaticSolved());  // the solve ran on
}

}  // namespace
}  // namespace tavrin::test

// The workbench while a large solve works on its worker thread: events posted meanwhile are
// handled at the next turn of the event loop, and Stop inside the factorization gives control
// back at once, with no results then or when the abandoned solve returns. "At once" is shown by
// behaviour, not by a clock: Stop returns while the factorization is still running. The turn
// and Stop times are recorded as test properties; their goals are measured in bench/.
#include <QElapsedTimer>
#include <QMetaObject>
#include <QPushButton>
#include <QThread>

#include "analysis/TGlobMatrix.h"
#include "mesh/FEM.h"
#include "tests/ui/WorkbenchFixture.h"
#include "ui/TSolveInformer.h"

namespace tavrin::test {
namespace {

using WorkerRuns = Workbench;

TEST_F(WorkerRuns, StopInsideTheFactorizationOfALargePlateAnswersAtOnceAndKeepsNoResults) {
  constexpr int kManyTriangles = 20000;
  OpenThroughDialog(ExamplePath("square.sam"));
  GlobalMeshParameters().animate = false;
  // About 2.5 x 10^4 triangles: a factorization long enough to be caught in, a suite short
  // enough to run often (the same test passes at 2 x 10^5 triangles, area 0.12, in minutes).
  GlobalMeshParameters().maxArea = 1.0f;
  window->GenerateMeshClick();
  ASSERT_TRUE(window->Meshed());
  ASSERT_GT(window->Mesh().TriangleCount(), kManyTriangles);

  window->SetWaitForRuns(false);
  window->SolveStaticClick();
  int posted = 0, handled = 0;
  qint64 worstTurnMs = 0;
  TSolveInformer& progress = *window->SolveInformer();
  while (window->Busy() && !progress.ActionText().contains("factorization")) {
    QMetaObject::invokeMethod(
        window.get(), [&handled] { ++handled; }, Qt::QueuedConnection);
    ++posted;
    QElapsedTimer turn;
    turn.start();
    QApplication::processEvents();
    worstTurnMs = std::max(worstTurnMs, turn.elapsed());
    ASSERT_EQ(handled, posted);
    QThread::msleep(1);
  }
  ASSERT_TRUE(window->Busy()) << "the solve ended before its factorization was seen";
  EXPECT_GT(posted, 0);
  RecordProperty("worst_event_turn_ms", static_cast<int>(worstTurnMs));

  QElapsedTimer stop;
  stop.start();
  QTest::mouseClick(progress.findChild<QPushButton*>("StopButton"), Qt::LeftButton);
  RecordProperty("stop_ms", static_cast<int>(stop.elapsed()));
  EXPECT_FALSE(window->Busy());
  EXPECT_TRUE(window->Runner().WorkersLeft()) << "Stop waited for the factorization to end";
  EXPECT_FALSE(window->StaticSolved());
  EXPECT_FALSE(window->Solver().IsSolved());
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].text, kSolveStoppedText);

  // The abandoned solve finishes alone; what it made is dropped when it lands.
  for (int turn = 0; turn < 600000 && window->Runner().WorkersLeft(); ++turn) {
    QApplication::processEvents();
    QThread::msleep(1);
  }
  ASSERT_FALSE(window->Runner().WorkersLeft());
  EXPECT_FALSE(window->StaticSolved());
  EXPECT_FALSE(window->Solver().IsSolved());
  EXPECT_TRUE(Enabled("SolveStaticMenu"));
  EXPECT_FALSE(Enabled("SolveStressMenu"));
}

}  // namespace
}  // namespace tavrin::test

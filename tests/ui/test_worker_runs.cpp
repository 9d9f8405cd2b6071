// The workbench while a large solve works on its worker thread: events posted meanwhile are
// handled at the next turn of the event loop, and Stop inside the factorization gives control
// back at once, with no results then or when the abandoned solve returns.
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
  constexpr qint64 kEventTurnMs = 100;  // the longest a posted event may wait
  constexpr qint64 kStopMs = 200;       // the longest Stop may take to give control back
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
  EXPECT_LT(worstTurnMs, kEventTurnMs);

  QElapsedTimer stop;
  stop.start();
  QTest::mouseClick(progress.findChild<QPushButton*>("StopButton"), Qt::LeftButton);
  EXPECT_FALSE(window->Busy());
  EXPECT_LT(stop.elapsed(), kStopMs);
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

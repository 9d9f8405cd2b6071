// Adaptive Solve in the workbench: the cycles replace the mesh and the results, the error view
// shows where the error went, and Stop keeps the last finished cycle.
#include <QPushButton>

#include "analysis/AdaptiveSolve.h"
#include "analysis/TGlobMatrix.h"
#include "mesh/FEM.h"
#include "tests/ui/WorkbenchFixture.h"
#include "ui/ResultViews.h"
#include "ui/TMesh_params.h"
#include "ui/TSolveInformer.h"

namespace tavrin::test {
namespace {

using AdaptiveSolve = Workbench;

int ErrorView() {
  const auto views = ResultViews();
  for (std::size_t i = 0; i < views.size(); ++i)
    if (QString(views[i].item) == "Error estimate") return static_cast<int>(i);
  return -1;
}

TEST_F(AdaptiveSolve, CyclesReplaceTheMeshAndResultsAndStopKeepsTheLastCycle) {
  struct Case {
    double target;
    bool stop;
    const char* summary;  // how the status bar's line begins
  };
  for (const Case c : {Case{0.05, false, "Adaptive solve: the target reached; cycle "},
                       Case{1e-4, true, "Adaptive solve: stopped; cycle 1 kept"}}) {
    SCOPED_TRACE(c.target);
    GlobalMeshParameters().animate = false;
    OpenThroughDialog(ExamplePath("l-shaped.sam"));
    window->GenerateMeshClick();
    ASSERT_TRUE(window->Meshed());
    const int first = window->Mesh().TriangleCount();
    EXPECT_TRUE(Enabled("AdaptiveSolve"));
    GlobalAdaptiveSettings() = AdaptiveSettings{};
    GlobalAdaptiveSettings().target = c.target;
    GlobalAdaptiveSettings().maxCycles = 8;
    window->SetWaitForRuns(false);
    window->AdaptiveSolveClick();
    ASSERT_TRUE(window->Busy());
    EXPECT_FALSE(Enabled("Generatemesh"));
    if (c.stop)
      QTest::mouseClick(window->SolveInformer()->findChild<QPushButton*>("StopButton"),
                        Qt::LeftButton);
    window->Runner().WaitUntilIdle();
    QApplication::processEvents();
    window->SetWaitForRuns(true);

    EXPECT_TRUE(window->PanelText(4).startsWith(c.summary)) << window->PanelText(4).toStdString();
    EXPECT_TRUE(window->StaticSolved());
    EXPECT_TRUE(window->StressSolved());
    EXPECT_TRUE(Enabled("ExportVtk"));
    // The results shown are the last cycle's, on its mesh: the estimate the line names.
    const TGlobMatrix& solver = window->Solver();
    EXPECT_EQ(solver.ResultTriangleCount(), window->Mesh().TriangleCount());
    if (!c.stop) {
      EXPECT_LE(solver.ErrorEstimate(), c.target);
      EXPECT_GT(window->Mesh().TriangleCount(), first);
    }
    EXPECT_EQ(window->ViewIndex(), ErrorView());
    EXPECT_TRUE(platform.messages.empty());
  }
}

}  // namespace
}  // namespace tavrin::test

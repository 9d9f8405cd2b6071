// Adaptive Solve in the workbench: the cycles replace the mesh and the results and the error view
// shows where the error went; a stop before the first cycle has finished leaves the mesh solved
// from, without results, as a stopped Solve Static does.
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

TEST_F(AdaptiveSolve, CyclesReplaceTheMeshAndResultsOrAStopLeavesTheMesh) {
  for (const bool stop : {false, true}) {
    SCOPED_TRACE(stop);
    platform.messages.clear();
    GlobalMeshParameters().animate = false;
    OpenThroughDialog(ExamplePath("l-shaped.sam"));
    window->GenerateMeshClick();
    ASSERT_TRUE(window->Meshed());
    const int first = window->Mesh().TriangleCount();
    EXPECT_TRUE(Enabled("AdaptiveSolve"));
    GlobalAdaptiveSettings() = AdaptiveSettings{};
    GlobalAdaptiveSettings().target = stop ? 1e-4 : 0.05;
    GlobalAdaptiveSettings().maxCycles = 8;
    window->SetWaitForRuns(false);
    window->AdaptiveSolveClick();
    ASSERT_TRUE(window->Busy());
    EXPECT_FALSE(Enabled("Generatemesh"));
    if (stop)
      QTest::mouseClick(window->SolveInformer()->findChild<QPushButton*>("StopButton"),
                        Qt::LeftButton);
    window->Runner().WaitUntilIdle();
    QApplication::processEvents();
    window->SetWaitForRuns(true);
    EXPECT_TRUE(Enabled("AdaptiveSolve"));

    if (stop) {
      EXPECT_FALSE(window->StaticSolved());
      EXPECT_EQ(window->Mesh().TriangleCount(), first);
      ASSERT_EQ(platform.messages.size(), 1u);
      EXPECT_EQ(platform.messages[0].text, kSolveStoppedText);
      continue;
    }
    EXPECT_TRUE(window->PanelText(4).startsWith("Adaptive solve: the target reached; cycle "))
        << window->PanelText(4).toStdString();
    EXPECT_TRUE(window->StaticSolved());
    EXPECT_TRUE(window->StressSolved());
    EXPECT_TRUE(Enabled("ExportVtk"));
    // The results shown are the last cycle's, on its mesh, below the target.
    const TGlobMatrix& solver = window->Solver();
    EXPECT_EQ(solver.ResultTriangleCount(), window->Mesh().TriangleCount());
    EXPECT_LE(solver.ErrorEstimate(), 0.05);
    EXPECT_GT(window->Mesh().TriangleCount(), first);
    EXPECT_EQ(window->ViewIndex(), ErrorView());
    EXPECT_TRUE(platform.messages.empty());
  }
}

}  // namespace
}  // namespace tavrin::test

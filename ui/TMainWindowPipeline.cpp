// The main window's pipeline commands: Generate mesh, Solve Static, Solve Stress, the exports
// that read their results, and what the window does when a run ends. The runs themselves are
// the PipelineRunner's; here the window checks that a command may start, starts it, and takes
// the ending into its flags, its commands and its status bar.
#include <QLabel>
#include <QTimer>
#include <cmath>

#include "analysis/TGlobMatrix.h"
#include "mesh/FEM.h"
#include "mesh/MeshParameters.h"
#include "model/GeometryCheck.h"
#include "model/NodeBox.h"
#include "model/TObjCont.h"
#include "ui/JobDrawing.h"
#include "ui/MeshAnimationCanvas.h"
#include "ui/PictureExport.h"
#include "ui/PlanView.h"
#include "ui/Platform.h"
#include "ui/ResultViews.h"
#include "ui/TAskBoxExports.h"
#include "ui/TListing.h"
#include "ui/TListingRows.h"
#include "ui/TMainWindow.h"
#include "ui/TMeshInformer.h"
#include "ui/TMesh_params.h"
#include "ui/TSolveInformer.h"
#include "ui/ViewTransform.h"

namespace tavrin {

namespace {

// The default maximal triangle area is the nodes' bounding box over this: a first mesh of a few
// hundred triangles, coarse enough to draw at once and to refine from.
constexpr double kDefaultTrianglesPerBox = 350.0;

}  // namespace

const char kSolveStoppedText[] = "The solve was stopped: there are no results.";
const char kStressStoppedText[] =
    "The stress recovery was stopped: there are no stresses. Solve Stress computes them again.";

void TMainWindow::ComputeDefaultMaxArea() {
  const TObjCont& job = Structure();
  if (job.NodeCount() == 0) return;
  const PlanBox box = NodeBox(job);
  GlobalMeshParameters().maxArea = static_cast<float>(
      std::floor(std::fabs(box.Width() * box.Height()) / kDefaultTrianglesPerBox));
}

void TMainWindow::PolygonClosed() {
  MainDraw->ClearRubberBand();
  ComputeDefaultMaxArea();
  pipeline_.generateMesh = true;
  UpdateCommands();
  // A drawing on a view the user has not moved is shown whole, as an opened job is.
  if (plan_->IsPlacedByProgram()) {
    FitViewToJob();
    redraw();
  }
}

// Results of an earlier mesh or solve must never be read against a new one.
void TMainWindow::ClearResults() {
  staticSolved_ = stressSolved_ = false;
  pipeline_.solveStress = pipeline_.exports = false;
  results_->Clear();
}

// As New drops them: nothing of the mesh or its solve stays reachable.
void TMainWindow::DropMeshAndResults() {
  ClearResults();
  runner_->DropMeshAndSolver();
  meshed_ = false;
  pipeline_.solveStatic = false;
  document_.ForgetMesh();
}

// A refused generation drops the earlier mesh and its results, as an unusable one does: they
// belong to a drawing that has changed since, and the plan should show the drawing to mend.
void TMainWindow::RefuseMesh(const std::string& why) {
  ShowError(why);
  DropMeshAndResults();
  UpdateCommands();
  redraw();
}

void TMainWindow::Started() {
  SetBusy(true);
  if (waitForRuns_) runner_->WaitUntilIdle();
}

void TMainWindow::GenerateMeshClick() {
  if (busy_ || !pipeline_.generateMesh) return;
  if (const float area = GlobalMeshParameters().maxArea; !MaxAreaAccepted(area)) {
    RefuseMesh("The maximal area of triangle is " +
               QString::number(static_cast<double>(area)).toStdString() +
               ": set a positive value in Mesh, Parameters & Stats.");
    return;
  }
  // The preparation may move the outline into the first polygon slot: then the job no longer
  // reads as its file, and Save writes the new order.
  document_.PrepareForMeshing();
  if (const GeometryCheckResult check = CheckGeometry(Structure()); !check) {
    RefuseMesh(check.message);
    return;
  }
  ClearResults();
  // The whole plate in view, for the animation as for the result.
  FitViewToJob();
  redraw();
  canvas_->Start();
  document_.MarkMeshed();
  runner_->StartMesh(Structure(), GlobalMeshParameters());
  Started();
}

void TMainWindow::ParametersStats1Click() {
  if (!busy_) meshParams_->exec();
}

void TMainWindow::SolveStaticClick() {
  if (busy_ || !pipeline_.solveStatic) return;
  // The results the shown view was drawn from go with the old solver.
  ClearResults();
  redraw();
  // The dialog's analysis options are the workbench's setting; the solver gets a copy.
  runner_->StartSolveStatic(GlobalAnalysisOptions(), Structure().Cases());
  // Shown at once, so that Stop is there before the first report.
  solveInformer_->ShowSolveProgress("Generating local stiffness matrix #", 0, 0, 1);
  Started();
}

void TMainWindow::SolveStressClick() {
  if (busy_ || !pipeline_.solveStress) return;
  pipeline_.solveStress = false;
  results_->FinishBuilding();  // the recovery writes the solver a view's data is built from
  runner_->StartSolveStress();
  solveInformer_->ShowSolveProgress("Stress recovery #", 0, 0, 1);
  Started();
}

void TMainWindow::AdaptiveSolveClick() {
  if (busy_ || !pipeline_.solveStatic) return;
  ClearResults();
  redraw();
  runner_->StartAdaptive(Structure(), GlobalMeshParameters(), GlobalAnalysisOptions(),
                         GlobalAdaptiveSettings());
  solveInformer_->ShowSolveProgress("Adaptive cycle 1 #", 0, 0, 1);
  Started();
}

void TMainWindow::AdoptSolver(std::unique_ptr<TGlobMatrix> solver) {
  if (busy_) return;
  ClearResults();
  const bool stresses = solver->HasStresses();
  runner_->AdoptSolver(std::move(solver));
  meshed_ = false;
  staticSolved_ = true;
  stressSolved_ = stresses;
  results_->SetCases(nullptr, Structure().Cases().firstName);
  UpdateCommands();
}

void TMainWindow::StopClick() {
  if (runner_->Running() == PipelineRunner::Work::None) return;
  runner_->Stop();
  if (runner_->Stopping()) {
    meshInformer_->ShowStopping();
    solveInformer_->ShowStopping();
  }
}

void TMainWindow::RunEnded(const PipelineRunner::Ending& ending) {
  if (ending.work == PipelineRunner::Work::Mesh)
    meshInformer_->HideMeshProgress();
  else
    solveInformer_->HideSolveProgress();
  SetBusy(false);
  switch (ending.work) {
    case PipelineRunner::Work::Mesh:
      MeshEnded(ending);
      break;
    case PipelineRunner::Work::SolveStatic:
      SolveEnded(ending);
      break;
    case PipelineRunner::Work::SolveStress:
      StressEnded(ending);
      break;
    case PipelineRunner::Work::Adaptive:
      AdaptiveEnded(ending);
      break;
    case PipelineRunner::Work::None:
      break;
  }
  UpdateCommands();
  // Closing waited for this: it completes once the ending has been taken in.
  if (pendingClose_) QTimer::singleShot(0, this, [this] { close(); });
}

void TMainWindow::MeshEnded(const PipelineRunner::Ending& ending) {
  // Solve Static follows the new mesh: an unusable one (stopped, or short of the minimal
  // angle) must not be solved on the strength of an earlier usable mesh.
  pipeline_.solveStatic = ending.usableMesh;
  if (ending.usableMesh) meshed_ = true;
  // The parameters dialog shows the figures of the last mesh the workbench made.
  GlobalMeshStatistics() = runner_->Mesh().Statistics();
  // Where the user looks when Solve Static stays grey: whether the mesh is usable, or why not.
  panels_[4]->setText(QString::fromStdString(MeshVerdict(GlobalMeshStatistics())));
  // The final mesh is shown whatever frames the animation skipped, usable or not; later
  // repaints follow the meshed flag.
  plan_->MeshChanged();
  if (meshed_)
    redraw();
  else
    RedrawPlan(*MainDraw, Structure(), &runner_->Mesh(), nullptr, CurrentViewTransform());
}

void TMainWindow::SolveEnded(const PipelineRunner::Ending& ending) {
  switch (ending.outcome) {
    case PipelineRunner::Outcome::Stopped:
      if (!pendingClose_) CurrentPlatform().ShowMessage(kSolveStoppedText, "Stopped");
      break;
    case PipelineRunner::Outcome::Failed:
      ShowError(ending.message);
      break;
    case PipelineRunner::Outcome::Done:
      pipeline_.solveStress = pipeline_.exports = true;
      staticSolved_ = true;
      // A job with load cases has its stresses with every case solved.
      if (runner_->Cases()) {
        stressSolved_ = true;
        pipeline_.solveStress = false;
      }
      results_->SetCases(runner_->Cases(), Structure().Cases().firstName);
      break;
  }
}

void TMainWindow::StressEnded(const PipelineRunner::Ending& ending) {
  switch (ending.outcome) {
    case PipelineRunner::Outcome::Done:
      stressSolved_ = true;
      break;
    case PipelineRunner::Outcome::Stopped:
      // The static solution stands: the recovery can be run again.
      pipeline_.solveStress = true;
      if (!pendingClose_) CurrentPlatform().ShowMessage(kStressStoppedText, "Stopped");
      break;
    case PipelineRunner::Outcome::Failed:
      // Solve Stress stays off until the next Solve Static, so say why the stress views stay off.
      ShowError(ending.message);
      break;
  }
}

void TMainWindow::AdaptiveEnded(const PipelineRunner::Ending& ending) {
  if (ending.outcome == PipelineRunner::Outcome::Failed) ShowError(ending.message);
  if (!ending.adaptiveResults) {
    // Not even the first cycle finished: the mesh solved from stays, without results.
    if (ending.outcome == PipelineRunner::Outcome::Stopped && !pendingClose_)
      CurrentPlatform().ShowMessage(kSolveStoppedText, "Stopped");
    redraw();
    return;
  }
  // The last finished cycle is the mesh and the solve the window now shows, stresses included.
  meshed_ = true;
  staticSolved_ = stressSolved_ = true;
  pipeline_.solveStatic = pipeline_.exports = true;
  pipeline_.solveStress = false;
  GlobalMeshStatistics() = runner_->Mesh().Statistics();
  UpdateCommands();
  // Where the error went: the estimate per element over the adapted mesh.
  const auto& views = ResultViews();
  for (std::size_t i = 0; i < views.size(); ++i)
    if (QString(views[i].item) == "Error estimate") SelectView(static_cast<int>(i));
  // After the view, which writes its own label: how the cycles ended stays in sight.
  panels_[4]->setText(QString::fromStdString(ending.adaptiveSummary));
  redraw();
}

void TMainWindow::CosmosInputFileClick() {
  if (busy_ || !pipeline_.exports) return;
  RunCosmosExport(Solver());
}

void TMainWindow::ExportVtkClick() {
  if (busy_ || !pipeline_.exports) return;
  RunVtkExport(Solver());
}

void TMainWindow::DeflectedShapeClick() {
  if (busy_ || !staticSolved_) return;
  results_->ShowDeflected();
}

void TMainWindow::SavePictureClick() {
  if (busy_) return;
  RunFileExport(kPictureFileFilter, [this](const std::string& path) {
    if (PictureFormatOf(path) == PictureFormat::png) {
      plan_->FinishPicture();  // not a moved preview of the layer
      return WritePng(MainDraw->Image(), path);
    }
    // The picture drawn again on the SVG device, stroke by stroke, as redraw draws it.
    return WriteSvg(path, MainDraw->size(), QString::fromStdString(document_.FileName()),
                    [this](QPaintDevice& svg) {
                      MainDraw->RenderTo(svg, [this] {
                        plan_->Draw(Structure(), meshed_ ? &runner_->Mesh() : nullptr, *results_,
                                    true);
                      });
                    });
  });
}

void TMainWindow::LocalStiffnessMatrixClick() {
  if (busy_ || !pipeline_.exports) return;
  RunLocalStiffnessExport(*askBox_, Solver());
}

void TMainWindow::ResDlgMenuClick() {
  if (busy_) return;
  if (const std::unique_ptr<ListingSource> set = results_->Listing())
    listing_->Show(*set);
  else
    listing_->Show(Solver());
}

}  // namespace tavrin

// TMainWindow: the workbench's only main window: its layout, the wiring of its parts, the job's
// lifecycle (New, Open, Save, close), the enabling of its commands, the key preview and the
// host side of editing and undo. The parts it owns, each in its own file:
//   JobDocument          the job, its file, modified flag and revision;
//   WorkbenchActions     the commands, menus and tool bar (Qt-owned, pointed to);
//   PipelineRunner       mesh, solve and stress recovery on a worker thread; the mesh and solver;
//   PlanViewController   placement and redrawing of the plan view;
//   ResultViewController the result view on screen, its isolines, fringes and 3D window.
// The pipeline commands and their endings are in TMainWindowPipeline.cpp.
//
// While a run works, every command that could change or delete the job, the mesh or the solver
// is disabled or ignored; the GUI thread keeps drawing and answering. Stop answers at once (a
// static solve is abandoned, its result discarded when it returns). Closing the window during
// a run asks to save once, stops the run, hides the windows at once and completes when the run
// has ended, which for an abandoned solve is at once.
#pragma once

#include <QMainWindow>
#include <array>
#include <memory>
#include <span>
#include <string>

#include "ui/EditRequest.h"
#include "ui/FringeView.h"
#include "ui/JobDocument.h"
#include "ui/JobHistory.h"
#include "ui/PipelineRunner.h"
#include "ui/PlanEditing.h"
#include "ui/PlanViewController.h"
#include "ui/ResultViewController.h"
#include "ui/TRollup.h"
#include "ui/WorkbenchActions.h"

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QTimer;

namespace tavrin {

class DeflectedView3D;
class FEM;
class MeshAnimationCanvas;
class PlanNavigator;
class PlanView;
class RecentFiles;
class TGlobMatrix;
class TIsolines;
class TAboutDialog;
class TAskBox;
class TListing;
class TMeshInformer;
class TMesh_params;
class TObjCont;
class TSolveInformer;
struct ViewTransform;

class TMainWindow : public QMainWindow,
                    public TRollupHost,
                    public PlanEditingHost,
                    public JobHistoryHost {
  Q_OBJECT
 public:
  static constexpr int kFitMargin = PlanViewController::kFitMargin;

  explicit TMainWindow(QWidget* parent = nullptr);
  ~TMainWindow() override;

  // ---- Job lifecycle ----
  void New1Click();
  void Open1Click();
  // Open without the dialog (the command line); false when the file could not be read.
  bool OpenJob(const std::string& path);
  // Save and Save As; true when the job was written.
  bool Save1Click();
  bool FileSaveAsClick();
  void ResetJob();
  void SetTitle(const std::string& name);
  // A file of the File menu's recent list: as Open with that file chosen; a file that cannot be
  // read any more leaves the list.
  void OpenRecent(const std::string& path);
  // File > Import DXF (TMainWindowImport.cpp): a drawing chosen, its layers and preview in
  // DxfImportDialog, and on OK the job put in place by PutImportedJob.
  void ImportDxfClick();
  // The imported job as a new, unsaved job ("Untitled") fitted to the view, as one undoable
  // step; false (nothing changed) while the mesher or the solver runs.
  bool PutImportedJob(const TObjCont& job);
  void AboutClick();
  JobDocument& Document() { return document_; }
  const JobDocument& Document() const { return document_; }

  // ---- Plan view ----
  void redraw();
  // A drag follows with whole redraws while a redraw takes at most this long, and shifts the
  // picture otherwise (tests set it to show either way; the default is a 50 Hz frame).
  void SetFluidRedrawLimit(double seconds) { plan_->SetFluidRedrawLimit(seconds); }
  PlanViewController& PlanControl() { return *plan_; }
  // The result view on screen, with its fringes and isolines.
  ResultViewController& Results() { return *results_; }
  void ZoominButtonClick();
  void ZoomoutButtonClick();
  // Zoom to fit: the whole job centred in the view (Open, the first drawn polygon and Generate
  // mesh do the same).
  void ZoomFitClick();
  void PanKey(int key);
  void mousemoved(int sx, int sy);
  void KeyPressed(int key);
  void KeyRelease(int key);
  void NewPolygonClick();
  void NewVertexClick();
  // Edit > Circle: asks for a centre and a radius and adds the circle as a closed polygon of
  // arcs (PlanEditing::AddCircle), one undo step.
  void DrawCircleClick();

  // ---- Pipeline (TMainWindowPipeline.cpp) ----
  void GenerateMeshClick();
  void ParametersStats1Click();
  void ComputeDefaultMaxArea();
  void SolveStaticClick();
  void SolveStressClick();
  void AdaptiveSolveClick();
  // The Stop button of either progress window.
  void StopClick();
  void CosmosInputFileClick();
  // The mesh and every result computed so far as a VTK grid, through the save dialog.
  void ExportVtkClick();
  // The plan view's picture as it stands, as PNG or SVG by the chosen file's extension.
  void SavePictureClick();
  // The window of the deflected plate in 3D, coloured by the result view on screen (the
  // deflection when none is); needs Solve Static.
  void DeflectedShapeClick();
  DeflectedView3D* DeflectedView() const { return results_->Deflected(); }
  void LocalStiffnessMatrixClick();
  void ResDlgMenuClick();
  // Each command that starts a run returns at once; with this set it returns when the run has
  // ended (the event loop runs meanwhile), for callers that read the result next.
  void SetWaitForRuns(bool wait) { waitForRuns_ = wait; }
  PipelineRunner& Runner() { return *runner_; }
  // A solver solved elsewhere shown as a finished solve's results, without a mesh
  // (PipelineRunner::AdoptSolver); its stresses count when it has them.
  void AdoptSolver(std::unique_ptr<TGlobMatrix> solver);

  // ---- Result views ----
  // The view selector's change event, and choosing a view as the user does.
  void ChangeView();
  void SelectView(int index);
  int ViewIndex() const { return results_->ViewIndex(); }
  // The drawing of the result views: colour fringes with band isolines, a legend and the
  // extremes marked (the default), or the isolines alone. The View menu's "Colour fringes" and
  // the tool bar's style selector both switch it. The error estimate is always drawn as fringes.
  void SetFringes(bool on);
  bool FringesChosen() const { return results_->FringesChosen(); }
  // True when the view on screen is drawn as fringes.
  bool FringesShown() const { return results_->FringesShown(); }
  const FringeView& Fringes() const { return results_->Fringes(); }

  // ---- TRollupHost ----
  EditRequest& Request() override { return editing_.Request(); }
  void SelectEdgeEnd(int edge, int end) override;
  void ApplyEdits() override;
  std::vector<std::string> CaseNames() override;
  void ChooseLoadCase(int k) override;

  // ---- PlanEditingHost ----
  TObjCont& Structure() override { return document_.Job(); }
  PlanView& View() override { return *MainDraw; }
  const ViewTransform& Transform() override;
  void Redraw() override { redraw(); }
  void SetModified() override { document_.Changed(); }
  void PolygonClosed() override;
  void ShowSelection(SelectionKind kind, std::span<const int> ids,
                     const std::array<double, 6>& c) override;

  // Edit > Load cases...: the LoadCasesDialog, its result kept by EditLoadCases.
  void LoadCasesClick();
  // The job's load cases replaced as one undoable step; "" or the fault that refused them
  // (shown to the user), the job unchanged then.
  std::string EditLoadCases(const LoadCases& cases);

  // ---- Undo and deletion ----
  // Delete: removes the selected free node or polygon (see JobDeletion.h) as one undoable step.
  void DeleteClick();
  JobState CurrentJobState() const override;
  std::uint64_t JobChanged() override;
  // An undone or redone step: the job is replaced, the selection dropped and the job marked
  // modified; a mesh (and its results) made of another job is dropped as New drops it.
  void RestoreJobState(const JobState& state) override;

  // ---- State, read by tests and the other windows ----
  PlanEditing& Editing() { return editing_; }
  const FEM& Mesh() const { return runner_->Mesh(); }
  const TGlobMatrix& Solver() const { return runner_->Solver(); }
  const TIsolines& Isolines() const { return results_->Isolines(); }
  const std::vector<IsolineLevel>& IsolineLevels() const { return results_->IsolineLevels(); }
  PlanView* PlanArea() const { return MainDraw; }
  TMesh_params* MeshParamsDialog() const { return meshParams_; }
  TRollup* Rollup() const { return rollup_; }
  TMeshInformer* MeshInformer() const { return meshInformer_; }
  TSolveInformer* SolveInformer() const { return solveInformer_; }
  TListing* Listing() const { return listing_; }
  TAboutDialog* AboutBox() const { return about_; }
  TAskBox* AskBox() const { return askBox_; }
  QString PanelText(int panel) const;
  const RecentFiles& Recent() const { return *recent_; }
  QMenu* RecentMenu() const { return actions_.recentMenu; }
  bool Busy() const { return busy_; }
  // The pipeline commands the job's progress has switched on; while busy all are off anyway.
  struct PipelineCommands {
    bool generateMesh = false, solveStatic = false, solveStress = false, exports = false;
  };
  const PipelineCommands& Pipeline() const { return pipeline_; }
  bool Meshed() const { return meshed_; }
  bool StaticSolved() const { return staticSolved_; }
  bool StressSolved() const { return stressSolved_; }
  bool Modified() const { return document_.Modified(); }
  const std::string& FileName() const { return document_.FileName(); }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildStatusBar();
  void CreateWindows();
  void NewJob();
  bool AskToSave(const char* question);
  void SetBusy(bool busy);
  void UpdateCommands();
  void ClearResults();
  // Says why Generate mesh made no mesh, and leaves no mesh or results behind.
  void RefuseMesh(const std::string& why);
  QPoint ProgressPlacement(int width) const;
  void FitViewToJob();
  void DropMeshAndResults();
  void RefreshRecentMenu();
  void WarnAboutGeometry();
  void UpdateDeleteCommand();
  void SetPanel(int panel, const QString& text);
  // A run started: wait for it when asked to.
  void Started();
  void RunEnded(const PipelineRunner::Ending& ending);
  void MeshEnded(const PipelineRunner::Ending& ending);
  void SolveEnded(const PipelineRunner::Ending& ending);
  void StressEnded(const PipelineRunner::Ending& ending);
  void AdaptiveEnded(const PipelineRunner::Ending& ending);

  JobDocument document_;
  std::unique_ptr<MeshAnimationCanvas> canvas_;
  PlanEditing editing_;
  std::unique_ptr<JobHistory> history_;
  std::unique_ptr<RecentFiles> recent_;
  // Reset first in the destructor: it waits for its workers, which report to the windows.
  std::unique_ptr<PipelineRunner> runner_;
  std::unique_ptr<ResultViewController> results_;
  std::unique_ptr<PlanViewController> plan_;
  PlanNavigator* navigator_ = nullptr;
  WorkbenchActions actions_;

  bool meshed_ = false;
  bool staticSolved_ = false;
  bool stressSolved_ = false;
  PipelineCommands pipeline_;
  bool busy_ = false;
  bool waitForRuns_ = false;
  bool pendingClose_ = false;
  bool closeConfirmed_ = false;  // the save question of a close was answered
  bool placedRollup_ = false;

  PlanView* MainDraw = nullptr;
  std::array<QLabel*, 5> panels_{};

  TMesh_params* meshParams_ = nullptr;
  TRollup* rollup_ = nullptr;
  TMeshInformer* meshInformer_ = nullptr;
  TSolveInformer* solveInformer_ = nullptr;
  TListing* listing_ = nullptr;
  TAboutDialog* about_ = nullptr;
  TAskBox* askBox_ = nullptr;
};

// What the workbench says when a solve or a stress recovery was stopped by the user.
extern const char kSolveStoppedText[];
extern const char kStressStoppedText[];

// The caption part of a path: what follows the last "\", ":" or "/".
std::string LastPathComponent(const std::string& path);

}  // namespace tavrin

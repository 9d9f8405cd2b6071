// TMainWindow: the workbench's driver and only main window. Owns the job's four objects for the
// whole run (the job model, the mesh, the solver, the isolines), the job's file name, modified
// flag and caption, its undo history, the recent-files list, the menu, tool bar, plan view and
// status bar, and every command. Creates the other windows at start-up, in a fixed order, as
// its children.
//
// While Generate mesh or a solve runs (synchronously, with the event loop kept alive by the
// progress windows), every command that could change or delete the job, the mesh or the solver
// is disabled or ignored; the progress windows' Stop buttons end the work. Closing the window
// then asks to save, stops the work, hides the windows at once and completes when the work has
// returned. (A worker thread would let Exit return even during the one step that cannot be
// interrupted, a sparse factorization of 1 to 2 s on the largest plates, but would have to
// marshal every progress report and share the job's objects across threads; the synchronous
// model keeps the solver and the mesher single-threaded.)
#pragma once

#include <QMainWindow>
#include <array>
#include <memory>
#include <span>
#include <string>

#include "ui/EditRequest.h"
#include "ui/FringeView.h"
#include "ui/JobHistory.h"
#include "ui/PlanEditing.h"
#include "ui/TRollup.h"

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
  // Pixels left free around a fitted job: room for the load and constraint symbols.
  static constexpr int kFitMargin = 30;

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
  // File > Import DXF: a drawing chosen, its layers and preview in DxfImportDialog, and on OK
  // the job it makes put in place by PutImportedJob (TMainWindowImport.cpp).
  void ImportDxfClick();
  // The imported job as a new, unsaved job ("Untitled") fitted to the view, as one undoable
  // step; false (nothing changed) while the mesher or the solver runs.
  bool PutImportedJob(const TObjCont& job);
  // A file of the File menu's recent list: as Open with that file chosen; a file that cannot be
  // read any more leaves the list.
  void OpenRecent(const std::string& path);

  // ---- Plan view ----
  void redraw();
  // A drag follows with whole redraws while a redraw takes at most this long, and shifts the
  // picture otherwise (tests set it to show either way; the default is a 50 Hz frame).
  void SetFluidRedrawLimit(double seconds) { fluidRedrawSeconds_ = seconds; }
  void ZoominButtonClick();
  void ZoomoutButtonClick();
  // Zoom to fit: the whole job centred in the view (Open, the first drawn polygon and Generate
  // mesh do the same).
  void ZoomFitClick();
  void mousemoved(int sx, int sy);
  void KeyPressed(int key);
  void KeyRelease(int key);

  // ---- Pipeline ----
  void GenerateMeshClick();
  void ParametersStats1Click();
  void ComputeDefaultMaxArea();
  void SolveStaticClick();
  void SolveStressClick();
  void CosmosInputFileClick();
  // The mesh and every result computed so far as a VTK grid, through the save dialog.
  void ExportVtkClick();
  // The plan view's picture as it stands, as PNG or SVG by the chosen file's extension.
  void SavePictureClick();
  // The window of the deflected plate in 3D, coloured by the result view on screen (the
  // deflection when none is); needs Solve Static.
  void DeflectedShapeClick();
  DeflectedView3D* DeflectedView() const { return deflected_; }
  void LocalStiffnessMatrixClick();
  void ResDlgMenuClick();
  // The view selector's change event, and choosing a view as the user does.
  void ChangeView();
  void SelectView(int index);
  int ViewIndex() const;
  // The drawing of the result views: colour fringes with band isolines, a legend and the
  // extremes marked (the default), or the isolines alone. The View menu's "Colour fringes" and
  // the tool bar's style selector both switch it. The error estimate is always drawn as fringes.
  void SetFringes(bool on);
  bool FringesChosen() const { return fringesOn_; }
  // True when the view on screen is drawn as fringes.
  bool FringesShown() const;
  const FringeView& Fringes() const { return fringeView_; }

  // ---- TRollupHost ----
  EditRequest& Request() override { return editing_.Request(); }
  void SelectEdgeEnd(int edge, int end) override;
  void ApplyEdits() override;

  // ---- PlanEditingHost ----
  TObjCont& Structure() override { return *structure_; }
  PlanView& View() override { return *MainDraw; }
  const ViewTransform& Transform() override;
  void Redraw() override { redraw(); }
  void SetModified() override { modified = true; }
  void PolygonClosed() override;
  void ShowSelection(SelectionKind kind, std::span<const int> ids,
                     const std::array<double, 6>& c) override;

  // ---- Undo and deletion ----
  // Delete: removes the selected free node or polygon (see JobDeletion.h) as one undoable step.
  void DeleteClick();
  JobState CurrentJobState() const override;
  // An undone or redone step: the job is replaced, the selection dropped and the job marked
  // modified; a mesh (and its results) made of another job is dropped as New drops it.
  void RestoreJobState(const JobState& state) override;

  // ---- State, read by tests and the other windows ----
  PlanEditing& Editing() { return editing_; }
  const FEM& Mesh() const { return *mesh_; }
  const TGlobMatrix& Solver() const { return *solver_; }
  const TIsolines& Isolines() const { return *isolines_; }
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
  QMenu* RecentMenu() const { return recentMenu_; }
  bool Busy() const { return busy_; }
  // The pipeline commands the job's progress has switched on; while busy all are off anyway.
  struct PipelineCommands {
    bool generateMesh = false, solveStatic = false, solveStress = false, exports = false;
  };
  const PipelineCommands& Pipeline() const { return pipeline_; }

  bool meshed = false;
  bool staticSolved = false;
  bool stressSolved = false;
  bool modified = false;
  std::string fileName = "Untitled";

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildMenuAndToolBar();
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
  void ResizeCanvas();
  void FitViewToJob();
  void RefitForLegend();
  void UserMovedView();
  void DraggedView(int dx, int dy);
  void DrawView();
  void DropMeshAndResults();
  void RefreshRecentMenu();
  void UpdateDeleteCommand();

  std::unique_ptr<TObjCont> structure_;
  std::unique_ptr<FEM> mesh_;
  std::unique_ptr<TGlobMatrix> solver_;
  std::unique_ptr<TIsolines> isolines_;
  std::unique_ptr<MeshAnimationCanvas> canvas_;
  PlanEditing editing_;
  std::unique_ptr<JobHistory> history_;
  std::unique_ptr<RecentFiles> recent_;
  PlanNavigator* navigator_ = nullptr;
  static constexpr int kDragRedrawMs = 150;
  QTimer* dragRedraw_ = nullptr;  // the whole picture, a while after a shifted drag step
  double lastRedrawSeconds_ = 0;
  double fluidRedrawSeconds_ = 0.02;
  // The mesh's job as it was meshed (file text), so that an undone step can tell whether the
  // mesh still belongs to the job.
  std::string meshedJob_;
  // The view's placement is the program's (start, New, Open, a fit), not the user's: a closed
  // polygon then fits the view to the drawing.
  bool viewPlacedByProgram_ = true;
  bool fittedWithLegend_ = false;  // the last fit left room for a fringe legend
  // Until the plan view is first painted, a fit is redone on each resize, so that the size the
  // window is finally shown with is the one fitted.
  bool fitUntilShown_ = true;
  int shownView_ = 0;  // the result view whose picture and label are on screen
  FringeView fringeView_;
  bool fringesOn_ = true;

  PipelineCommands pipeline_;
  bool busy_ = false;
  bool pendingClose_ = false;
  bool closeConfirmed_ = false;  // the save question of a close was answered
  bool placedRollup_ = false;

  PlanView* MainDraw = nullptr;
  QComboBox* ViewSelector = nullptr;
  QComboBox* ViewStyle = nullptr;
  QAction* ColourFringes = nullptr;
  QAction* DeflectedShape = nullptr;
  DeflectedView3D* deflected_ = nullptr;
  std::array<QLabel*, 5> panels_{};

  QAction* New1 = nullptr;
  QAction* Open1 = nullptr;
  QAction* ImportDxf = nullptr;  // null without dxflib
  QAction* Save1 = nullptr;
  QAction* FileSaveAs = nullptr;
  QAction* Exit1 = nullptr;
  QAction* newpolygon = nullptr;
  QAction* newvertex = nullptr;
  QAction* editvertex = nullptr;
  QAction* Generatemesh = nullptr;
  QAction* ParametersStats1 = nullptr;
  QAction* SolveStaticMenu = nullptr;
  QAction* SolveStressMenu = nullptr;
  QAction* CosmosInputFile = nullptr;
  QAction* ExportVtk = nullptr;
  QAction* SavePicture = nullptr;
  QAction* LocalStiffnessMatrix = nullptr;
  QAction* ResDlgMenu = nullptr;
  QAction* Help1 = nullptr;
  QAction* ZoominButton = nullptr;
  QAction* ZoomoutButton = nullptr;
  QAction* GeomRollup = nullptr;
  QAction* LoadsRollup = nullptr;
  QAction* ConstrRollup = nullptr;
  QAction* PhysicsRollup = nullptr;
  QAction* CloseRollup = nullptr;
  QAction* ZoomFit = nullptr;
  QAction* EditUndo = nullptr;
  QAction* EditRedo = nullptr;
  QAction* EditDelete = nullptr;
  QMenu* recentMenu_ = nullptr;

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

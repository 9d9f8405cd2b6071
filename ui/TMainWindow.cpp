#include "ui/TMainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCursor>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QStatusBar>
#include <QToolBar>
#include <QUndoStack>
#include <filesystem>

#include "analysis/TGlobMatrix.h"
#include "mesh/FEM.h"
#include "model/GeometryCheck.h"
#include "model/TObjCont.h"
#include "ui/JobDeletion.h"
#include "ui/MeshAnimationCanvas.h"
#include "ui/PlanNavigator.h"
#include "ui/PlanView.h"
#include "ui/Platform.h"
#include "ui/RecentFiles.h"
#include "ui/TAboutDialog.h"
#include "ui/TAskBox.h"
#include "ui/TListing.h"
#include "ui/TMeshInformer.h"
#include "ui/TMesh_params.h"
#include "ui/TSolveInformer.h"
#include "ui/ViewTransform.h"

namespace tavrin {

namespace {

// The progress windows open just below the tool bar: the main window's caption and menu bar
// were 46 pixels high in the layout the windows' positions were designed in.
constexpr int kCaptionAndMenuHeight = 46;

}  // namespace

std::string LastPathComponent(const std::string& path) {
  size_t cut = path.find_last_of("\\:/");
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

TMainWindow::TMainWindow(QWidget* parent) : QMainWindow(parent), editing_(*this) {
  setObjectName("MainWindow");
  MainDraw = new PlanView(this);
  MainDraw->setObjectName("MainDraw");
  setCentralWidget(MainDraw);
  canvas_ = std::make_unique<MeshAnimationCanvas>(*MainDraw);
  history_ = std::make_unique<JobHistory>(*this, this);
  recent_ = std::make_unique<RecentFiles>();
  BuildStatusBar();
  // The progress windows come first among the other windows: the runner reports to them.
  CreateWindows();
  runner_ = std::make_unique<PipelineRunner>(*meshInformer_, *solveInformer_, *canvas_, this);
  connect(runner_.get(), &PipelineRunner::Finished, this,
          [this](const PipelineRunner::Ending& ending) { RunEnded(ending); });
  results_ = std::make_unique<ResultViewController>(
      *this, *runner_, [this](int panel, const QString& text) { SetPanel(panel, text); });
  plan_ = std::make_unique<PlanViewController>(
      *MainDraw, [this] { redraw(); }, this);
  results_->onDataReady = [this] {
    plan_->RefitForLegend(Structure(), *results_);
    redraw();
    // The read-out under a mouse that has not moved since the view was chosen.
    if (MainDraw->underMouse()) {
      const QPoint at = MainDraw->mapFromGlobal(QCursor::pos());
      mousemoved(at.x(), at.y());
    }
  };
  actions_ = BuildWorkbenchActions(*this, history_->Stack(), results_->FringesChosen());
  results_->Attach({actions_.ViewSelector, actions_.ViewStyle, actions_.ColourFringes,
                    actions_.CaseSelector, actions_.CaseSelectorShown});
  RefreshRecentMenu();
  resize(667, 405);

  MainDraw->onMousePress = [this](Qt::MouseButton, int x, int y) {
    mousemoved(x, y);  // a click reads out as hovering does, where the mouse never moved
    if (busy_) return;
    const char* adds = editing_.newVertexMode    ? "Add node"
                       : editing_.newPolygonMode ? "Add polygon vertex"
                                                 : nullptr;
    if (!adds) {
      editing_.pickpoint(x, y);
      return;
    }
    history_->Record([&] {
      const int closed = Structure().PolygonCount();
      editing_.pickpoint(x, y);
      return QString::fromLatin1(Structure().PolygonCount() > closed ? "Close polygon" : adds);
    });
    UpdateDeleteCommand();  // nothing is deleted while a polygon is drawn
  };
  // The middle button and the wheel move the view; they never reach the editing clicks.
  navigator_ = new PlanNavigator(
      *MainDraw, [this] { plan_->UserMoved(); },
      [this](int dx, int dy) { plan_->Dragged(dx, dy); });
  MainDraw->onMouseMove = [this](int x, int y) { mousemoved(x, y); };
  MainDraw->onResized = [this] {
    plan_->Resized(Structure(), *results_);
    redraw();
  };

  CurrentViewTransform().Reset();
  ResetJob();
  qApp->installEventFilter(this);
  document_.SetModified(false);
}

TMainWindow::~TMainWindow() {
  qApp->removeEventFilter(this);
  results_->Settle();  // a view's data being built reads the runner's solver
  runner_.reset();
}

const ViewTransform& TMainWindow::Transform() { return CurrentViewTransform(); }

void TMainWindow::BuildStatusBar() {
  QStatusBar* bar = statusBar();
  bar->setObjectName("StatusBar1");
  bar->setSizeGripEnabled(false);
  const int widths[5] = {50, 80, 120, 80, 100};
  const Qt::Alignment align[5] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight, Qt::AlignHCenter,
                                  Qt::AlignHCenter};
  for (int i = 0; i < 5; ++i) {
    panels_[i] = new QLabel(bar);
    panels_[i]->setMinimumWidth(widths[i]);
    panels_[i]->setAlignment(align[i] | Qt::AlignVCenter);
    panels_[i]->setFrameShape(QFrame::Panel);
    panels_[i]->setFrameShadow(QFrame::Sunken);
    bar->addWidget(panels_[i], i == 4 ? 1 : 0);
  }
  panels_[0]->setText("Coords");
}

void TMainWindow::CreateWindows() {
  // The fixed start-up order: main window (already built), then these seven.
  meshParams_ = new TMesh_params(this);
  rollup_ = new TRollup(*this, this);
  listing_ = new TListing(this);
  about_ = new TAboutDialog(this);
  meshInformer_ = new TMeshInformer(this);
  solveInformer_ = new TSolveInformer(this);
  askBox_ = new TAskBox(this);
  meshInformer_->placement = [this](int w) { return ProgressPlacement(w); };
  meshInformer_->onKeyPressed = [this](int key) { KeyPressed(key); };
  meshInformer_->onKeyReleased = [this](int key) { KeyRelease(key); };
  meshInformer_->onStop = [this] { StopClick(); };
  solveInformer_->placement = [this](int w) { return ProgressPlacement(w); };
  solveInformer_->onStop = [this] { StopClick(); };
}

QPoint TMainWindow::ProgressPlacement(int width) const {
  QToolBar* bar = findChild<QToolBar*>("ToolBar1");
  return QPoint(pos().x() + MainDraw->width() - width,
                pos().y() + (bar ? bar->height() : 30) + kCaptionAndMenuHeight);
}

QString TMainWindow::PanelText(int panel) const {
  return panel >= 0 && panel < 5 ? panels_[panel]->text() : QString();
}

void TMainWindow::SetPanel(int panel, const QString& text) {
  if (panel >= 0 && panel < 5) panels_[panel]->setText(text);
}

void TMainWindow::AboutClick() { about_->Show(); }

// ---------------------------------------------------------------- job lifecycle

void TMainWindow::SetTitle(const std::string& name) {
  document_.SetFileName(name);
  // "TAVRIN 0.9b - plate.sam": the program's name and version as the about box shows them.
  setWindowTitle(QString::fromStdString(std::string(kProgramName) + " " + kProgramVersion + " - " +
                                        LastPathComponent(name)));
}

void TMainWindow::ResetJob() {
  editing_.Reset();
  document_.SetModified(false);
  meshed_ = staticSolved_ = stressSolved_ = false;
  ViewTransform& t = CurrentViewTransform();
  t.canvasHeight = MainDraw->height();
  t.canvasWidth = MainDraw->width();
  pipeline_ = {};
  UpdateCommands();
  results_->Clear();
  SetTitle(JobDocument::kUntitled);
}

void TMainWindow::NewJob() {
  document_.Reset();
  results_->Settle();
  runner_->DropMeshAndSolver();
  results_->Clear();
  history_->Clear();
  CurrentViewTransform().Reset();
  plan_->PlacedByProgram();
  ResetJob();
  redraw();
  // The editor must not keep offering an index of the job just deleted.
  if (rollup_) rollup_->ShowSelection(SelectionKind::none, std::array<int, 1>{-1}, {});
}

// Asks whether to save a modified job; false when the user wanted it saved and that failed,
// in which case the caller keeps the job.
bool TMainWindow::AskToSave(const char* question) {
  if (!document_.Modified()) return true;
  if (!CurrentPlatform().ConfirmYesNo(question, "Confirm")) return true;
  return Save1Click();
}

void TMainWindow::New1Click() {
  if (busy_) return;
  if (!AskToSave("Job modified. Save?")) return;
  NewJob();
}

void TMainWindow::Open1Click() {
  if (busy_) return;
  if (!AskToSave("Job modified. Save?")) return;
  std::string path = CurrentPlatform().ChooseOpenFile(kOpenJobFilter);
  if (path.empty()) return;
  OpenJob(path);
}

bool TMainWindow::OpenJob(const std::string& path) {
  if (busy_) return false;
  // Read into a fresh model first, so that a file that cannot be read leaves the job alone.
  auto loaded = std::make_unique<TObjCont>();
  JobFileResult result = loaded->LoadJob(path);
  if (!result) {
    ShowError(result.error);  // names the file and the reason
    return false;
  }
  NewJob();
  document_.Replace(std::move(loaded));
  pipeline_.generateMesh = true;
  UpdateCommands();
  SetTitle(path);
  FitViewToJob();
  redraw();
  document_.SetModified(false);
  recent_->Add(QString::fromStdString(path));
  RefreshRecentMenu();
  // The job opens without the lines it could not use; the user must know they are gone.
  if (result.read.skipped > 0) {
    CurrentPlatform().ShowMessage(
        std::filesystem::path(path).filename().string() + ": " + result.read.Describe(), "Warning");
  }
  WarnAboutGeometry();
  return true;
}

// A drawing Generate mesh would refuse is named as it opens, on a prepared copy (the job itself
// stays as its file has it), in the status bar and in a notice that does not block the work.
void TMainWindow::WarnAboutGeometry() {
  TObjCont prepared = Structure();
  prepared.PrepareForMeshing();
  const GeometryCheckResult check = CheckGeometry(prepared);
  if (check) return;
  const QString text = QString::fromStdString(check.message);
  SetPanel(4, text);
  auto* notice = new QMessageBox(QMessageBox::Warning, "Warning", text, QMessageBox::Ok, this);
  notice->setObjectName("GeometryNotice");
  notice->setAttribute(Qt::WA_DeleteOnClose);
  notice->setModal(false);
  notice->show();
}

void TMainWindow::OpenRecent(const std::string& path) {
  if (busy_) return;
  if (!AskToSave("Job modified. Save?")) return;
  if (!OpenJob(path)) {
    recent_->Remove(QString::fromStdString(path));
    RefreshRecentMenu();
  }
}

void TMainWindow::RefreshRecentMenu() {
  FillRecentMenu(
      *actions_.recentMenu, recent_->Paths(),
      [this](const QString& path) { OpenRecent(path.toStdString()); },
      [this] {
        recent_->Clear();
        RefreshRecentMenu();
      });
  actions_.recentMenu->setEnabled(!recent_->Paths().isEmpty() && !busy_);
}

bool TMainWindow::Save1Click() {
  if (document_.Untitled()) {
    if (!FileSaveAsClick()) return false;
  } else if (JobFileResult r = document_.SaveTo(document_.FileName()); !r) {
    ShowError(r.error);
    return false;
  }
  document_.SetModified(false);
  return true;
}

bool TMainWindow::FileSaveAsClick() {
  std::string path = CurrentPlatform().ChooseSaveFile(kSaveJobFilter);
  if (path.empty()) return false;
  if (JobFileResult r = document_.SaveTo(path); !r) {
    ShowError(r.error);
    return false;
  }
  SetTitle(path);
  recent_->Add(QString::fromStdString(path));
  RefreshRecentMenu();
  return true;
}

void TMainWindow::closeEvent(QCloseEvent* event) {
  // The job cannot change while a mesh or a solve runs, so the question comes first, and the
  // answer stands for the close that follows the work.
  if (!closeConfirmed_ && !AskToSave("Job modified Save?")) {
    event->ignore();
    return;
  }
  closeConfirmed_ = true;
  if (busy_) {
    // The run uses the objects this window owns: it is asked to stop, the windows go at once,
    // and the close completes when the run has ended (at once for a static solve, which is
    // abandoned; at the next stop check for a mesh or a stress recovery).
    pendingClose_ = true;
    meshInformer_->hide();
    solveInformer_->hide();
    hide();
    event->ignore();
    runner_->Stop();
    return;
  }
  closeConfirmed_ = false;  // a window shown again asks again
  event->accept();
}

void TMainWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!placedRollup_ && rollup_) {
    placedRollup_ = true;
    rollup_->Startup(frameGeometry(), statusBar()->height());
  }
}

// ---------------------------------------------------------------- commands' enabling

void TMainWindow::UpdateCommands() {
  const bool idle = !busy_;
  const WorkbenchActions& a = actions_;
  a.Generatemesh->setEnabled(pipeline_.generateMesh && idle);
  a.SolveStaticMenu->setEnabled(pipeline_.solveStatic && idle);
  a.SolveStressMenu->setEnabled(pipeline_.solveStress && idle);
  a.AdaptiveSolve->setEnabled(pipeline_.solveStatic && idle);
  a.CosmosInputFile->setEnabled(pipeline_.exports && idle);
  a.LocalStiffnessMatrix->setEnabled(pipeline_.exports && idle);
  a.ExportVtk->setEnabled(pipeline_.exports && idle);
  a.DeflectedShape->setEnabled(staticSolved_ && idle);
  // The mesher reads the parameters and writes the statistics while it runs.
  for (QAction* c : {a.New1, a.Open1, a.newpolygon, a.newvertex, a.DrawCircle, a.ResDlgMenu,
                     a.SavePicture, a.ParametersStats1})
    c->setEnabled(idle);
  a.recentMenu->setEnabled(idle && !recent_->Paths().isEmpty());
  // The undo actions follow the stack by themselves; while a mesh or a solve runs they wait.
  a.EditUndo->setEnabled(idle && history_->Stack().canUndo());
  a.EditRedo->setEnabled(idle && history_->Stack().canRedo());
  UpdateDeleteCommand();
  a.ViewSelector->setEnabled(idle);
  a.CaseSelector->setEnabled(idle);
  if (rollup_) rollup_->SetApplyBlocked(busy_);
}

void TMainWindow::SetBusy(bool busy) {
  busy_ = busy;
  UpdateCommands();
}

// ---------------------------------------------------------------- plan view

void TMainWindow::redraw() {
  plan_->CancelPending();  // the whole picture a drag was waiting for
  plan_->Draw(Structure(), meshed_ ? &runner_->Mesh() : nullptr, *results_);
}

void TMainWindow::FitViewToJob() { plan_->Fit(Structure(), *results_); }

void TMainWindow::ZoominButtonClick() { plan_->ZoomIn(); }
void TMainWindow::ZoomoutButtonClick() { plan_->ZoomOut(); }

void TMainWindow::ZoomFitClick() {
  FitViewToJob();
  redraw();
}

void TMainWindow::PanKey(int key) { navigator_->PanKey(key); }

void TMainWindow::mousemoved(int sx, int sy) {
  const ViewTransform& t = CurrentViewTransform();
  const double x = t.WorldX(sx), y = t.WorldY(sy);
  panels_[1]->setText(QString::number(x, 'g', 4) + ":" + QString::number(y, 'g', 4));
  if (editing_.newPolygonMode && !editing_.firstPolygonPoint)
    MainDraw->SetRubberBand({t.ScreenX(editing_.lastPolygonX), t.ScreenY(editing_.lastPolygonY)},
                            {sx, sy});
  else
    MainDraw->ClearRubberBand();
  if (busy_) return;  // a run may be writing the results the value would come from
  if (const auto value = results_->ValueAt(runner_->Mesh(), x, y, staticSolved_, stressSolved_))
    panels_[3]->setText(QString::number(*value, 'g', 5));
}

// Shift, Escape and Space stop a running refinement, as the mesh progress window's Stop does;
// Escape also stops an adaptive solve (Shift and Space are held while editing).
void TMainWindow::KeyPressed(int key) {
  const bool stopKey = key == Qt::Key_Shift || key == Qt::Key_Escape || key == Qt::Key_Space;
  if (stopKey && runner_->Running() == PipelineRunner::Work::Mesh) runner_->Stop();
  if (key == Qt::Key_Escape && runner_->Running() == PipelineRunner::Work::Adaptive) StopClick();
  if (key == Qt::Key_Space) MainDraw->setCursor(Qt::SizeAllCursor);
  if (key == Qt::Key_Shift || key == Qt::Key_Space) editing_.shiftHeld = true;
}

void TMainWindow::KeyRelease(int key) {
  if (key == Qt::Key_Shift) {
    editing_.shiftHeld = false;
  } else if (key == Qt::Key_Space) {
    MainDraw->unsetCursor();
    editing_.shiftHeld = false;
  }
}

// The window sees every key stroke meant for it or its children first, as with key preview.
bool TMainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::ToolTip && watched->property(kNoHintProperty).toBool()) return true;
  if (event->type() == QEvent::Paint && watched == MainDraw) plan_->Painted();
  if ((event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) &&
      watched->isWidgetType() && static_cast<QWidget*>(watched)->window() == this) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (!key->isAutoRepeat()) {
      if (event->type() == QEvent::KeyPress)
        KeyPressed(key->key());
      else
        KeyRelease(key->key());
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

// ---------------------------------------------------------------- result views

void TMainWindow::SelectView(int index) {
  if (!actions_.ViewSelector->isEnabled()) return;
  actions_.ViewSelector->setCurrentIndex(index);
  ChangeView();
}

void TMainWindow::ChangeView() {
  if (busy_ || !results_->ChangeView(staticSolved_, stressSolved_)) return;
  plan_->RefitForLegend(Structure(), *results_);
  redraw();
}

void TMainWindow::SetFringes(bool on) {
  results_->SetFringes(on);
  plan_->RefitForLegend(Structure(), *results_);
  redraw();
}

}  // namespace tavrin

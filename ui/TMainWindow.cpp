#include "ui/TMainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <cmath>

#include "analysis/TGlobMatrix.h"
#include "analysis/TIsolines.h"
#include "mesh/FEM.h"
#include "mesh/MeshCanvas.h"
#include "mesh/MeshParameters.h"
#include "model/TObjCont.h"
#include "ui/JobDrawing.h"
#include "ui/Platform.h"
#include "ui/PlanView.h"
#include "ui/TAboutDialog.h"
#include "ui/TAskBox.h"
#include "ui/TAskBoxExports.h"
#include "ui/TListing.h"
#include "ui/TMeshInformer.h"
#include "ui/TMesh_params.h"
#include "ui/TSolveInformer.h"
#include "ui/ToolIcons.h"
#include "ui/ViewTransform.h"

namespace tavrin {

namespace {

struct ViewInfo {
  const char* item;
  const char* label;
};

const ViewInfo kViews[7] = {
    {"Normal View", ""},
    {"UX Lin. Displacement isolines", "Lin. Z displacement:"},
    {"RX Rot. Displacement isolines", "Rot. X displacement:"},
    {"RY Rot. Displacement isolines", "Rot. Y displacement:"},
    {"Sigma X stress isolines", "Sigma X stress:"},
    {"Sigma Y stress isolines", "Sigma Y stress:"},
    {"Tau XY stress isolines", "Tau XY stress:"},
};

// Marks a tool button that shows no hint.
constexpr const char* kNoHintProperty = "tavrinNoHint";

}  // namespace

std::string LastPathComponent(const std::string& path) {
  size_t cut = path.find_last_of("\\:/");
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

// The mesher's drawing surface: world lines mapped through the view transform onto the plan
// view. Whole-mesh redraws of the animation are throttled so that drawing takes at most about
// a fifth of the generation: after a frame (Clear, lines, then the next progress report) that
// took d milliseconds to draw, frames starting within max(kFrameGapMs, 4 d) of its end are
// skipped up to their next Clear. Small meshes, whose frames cost little, still animate at a
// few frames a second. The caller repaints the final mesh itself after the generation.
class TMainWindow::Canvas final : public MeshCanvas {
 public:
  static constexpr qint64 kFrameGapMs = 200;
  explicit Canvas(PlanView& view) : view_(view) {}

  void Start() {
    sinceFrame_.invalidate();
    frameClock_.invalidate();
    skipping_ = false;
    lastFrameMs_ = 0;
  }
  void Clear() override {
    if (sinceFrame_.isValid() && sinceFrame_.elapsed() < std::max(kFrameGapMs, 4 * lastFrameMs_)) {
      skipping_ = true;
      return;
    }
    skipping_ = false;
    frameClock_.start();
    view_.ClearCanvas();
  }
  void SetPen(int r, int g, int b) override { view_.SetPen(QColor(r, g, b)); }
  void Line(double x1, double y1, double x2, double y2) override {
    if (skipping_) return;
    const ViewTransform& t = CurrentViewTransform();
    view_.Line(t.ScreenX(x1), t.ScreenY(y1), t.ScreenX(x2), t.ScreenY(y2));
  }
  // The mesher reports progress after drawing a frame: that ends the frame.
  void FrameEnd() {
    if (!frameClock_.isValid()) return;
    lastFrameMs_ = frameClock_.elapsed();
    frameClock_.invalidate();
    sinceFrame_.start();
  }

 private:
  PlanView& view_;
  QElapsedTimer sinceFrame_;  // since the end of the last frame drawn
  QElapsedTimer frameClock_;  // since the start of the frame being drawn
  bool skipping_ = false;
  qint64 lastFrameMs_ = 0;
};

TMainWindow::TMainWindow(QWidget* parent)
    : QMainWindow(parent),
      structure_(std::make_unique<TObjCont>()),
      mesh_(std::make_unique<FEM>()),
      solver_(std::make_unique<TGlobMatrix>()),
      isolines_(std::make_unique<TIsolines>()),
      editing_(*this) {
  setObjectName("MainWindow");
  MainDraw = new PlanView(this);
  MainDraw->setObjectName("MainDraw");
  setCentralWidget(MainDraw);
  canvas_ = std::make_unique<Canvas>(*MainDraw);
  BuildMenuAndToolBar();
  BuildStatusBar();
  resize(667, 405);

  MainDraw->onMousePress = [this](Qt::MouseButton, int x, int y) {
    if (!busy_) editing_.pickpoint(x, y);
  };
  MainDraw->onMouseMove = [this](int x, int y) { mousemoved(x, y); };
  MainDraw->onResized = [this] { ResizeCanvas(); };

  CurrentViewTransform().Reset();
  ResetJob();
  qApp->installEventFilter(this);
  CreateWindows();
  modified = false;
}

TMainWindow::~TMainWindow() { qApp->removeEventFilter(this); }

const ViewTransform& TMainWindow::Transform() { return CurrentViewTransform(); }

void TMainWindow::BuildMenuAndToolBar() {
  auto action = [this](const char* name, const QString& text, auto slot) {
    auto* a = new QAction(text, this);
    a->setObjectName(name);
    connect(a, &QAction::triggered, this, slot);
    return a;
  };
  New1 = action("New1", "New", [this] { New1Click(); });
  Open1 = action("Open1", "Open", [this] { Open1Click(); });
  Save1 = action("Save1", "Save", [this] { Save1Click(); });
  FileSaveAs = action("FileSaveAs", "Save As", [this] { FileSaveAsClick(); });
  Exit1 = action("Exit1", "Exit", [this] { close(); });
  GeomRollup = action("GeomRollup", "Geometry...", [this] { if (rollup_) rollup_->ShowPage(TRollup::TabGeometry); });
  LoadsRollup = action("LoadsRollup", "Loads...", [this] { if (rollup_) rollup_->ShowPage(TRollup::TabLoads); });
  ConstrRollup = action("ConstrRollup", "Constrains...", [this] { if (rollup_) rollup_->ShowPage(TRollup::TabConstrains); });
  PhysicsRollup = action("PhysicsRollup", "Polygon Physics...", [this] { if (rollup_) rollup_->ShowPage(TRollup::TabPhysics); });
  CloseRollup = action("CloseRollup", "Close Editor", [] {});
  Generatemesh = action("Generatemesh", "Generate mesh", [this] { GenerateMeshClick(); });
  ParametersStats1 = action("ParametersStats1", "Parameters && Stats", [this] { ParametersStats1Click(); });
  SolveStaticMenu = action("SolveStaticMenu", "Solve Static", [this] { SolveStaticClick(); });
  SolveStressMenu = action("SolveStressMenu", "Solve Stress", [this] { SolveStressClick(); });
  CosmosInputFile = action("CosmosInputFile", "COSMOS Input File", [this] { CosmosInputFileClick(); });
  LocalStiffnessMatrix = action("LocalStiffnessMatrix", "Local Stiffness Matrix", [this] { LocalStiffnessMatrixClick(); });
  ResDlgMenu = action("ResDlgMenu", "View Results", [this] { ResDlgMenuClick(); });
  Help1 = action("Help1", "About", [this] { about_->Show(); });
  newpolygon = action("newpolygon", "Polygon", [this] { if (!busy_) editing_.NewPolygonButton(); });
  newvertex = action("newvertex", "Vertex", [this] { if (!busy_) editing_.NewVertexButton(); });
  newvertex->setToolTip("New Vertex");
  editvertex = action("editvertex", "Edit", [this] { if (rollup_) rollup_->show(); });
  editvertex->setToolTip("Transform Rollup");
  ZoominButton = action("ZoominButton", "Zoom+", [this] { ZoominButtonClick(); });
  ZoominButton->setToolTip("Zoom In");
  ZoomoutButton = action("ZoomoutButton", "Zoom-", [this] { ZoomoutButtonClick(); });
  ZoomoutButton->setToolTip("Zoom Out");
  Generatemesh->setToolTip("Generate mesh");
  SolveStaticMenu->setToolTip("Static solvation");

  QMenu* file = menuBar()->addMenu("File");
  file->addActions({New1, Open1, Save1, FileSaveAs, Exit1});
  QMenu* edit = menuBar()->addMenu("Edit ...");
  edit->addActions({GeomRollup, LoadsRollup, ConstrRollup, PhysicsRollup, CloseRollup});
  QMenu* mesh = menuBar()->addMenu("Mesh");
  mesh->addActions({Generatemesh, ParametersStats1});
  QMenu* solve = menuBar()->addMenu("Solve");
  solve->addActions({SolveStaticMenu, SolveStressMenu, CosmosInputFile, LocalStiffnessMatrix});
  QMenu* results = menuBar()->addMenu("Results");
  results->addAction(ResDlgMenu);
  menuBar()->addAction(Help1);

  QToolBar* bar = addToolBar("ToolBar1");
  bar->setObjectName("ToolBar1");
  bar->setMovable(false);
  bar->setIconSize(QSize(20, 20));
  bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
  // Menu items and tool buttons share one action per command, so enabling acts on both; the
  // icon shows only on the tool bar. Buttons without a hint of their own must not fall back on
  // Qt's default hint (the menu caption): the event filter swallows their tool-tip events.
  enum Hint { kHint, kNoHint };
  auto button = [bar](QAction* a, const char* name, ToolIcon icon, Hint hint) {
    a->setIcon(MakeToolIcon(icon));
    a->setIconVisibleInMenu(false);
    bar->addAction(a);
    if (QWidget* w = bar->widgetForAction(a)) {
      w->setObjectName(name);
      w->setFixedSize(25, 25);
      // Speed buttons never hold the focus: Space is a stop key, never a click on the last
      // button tabbed to.
      w->setFocusPolicy(Qt::NoFocus);
      if (hint == kNoHint) w->setProperty(kNoHintProperty, true);
    }
  };
  button(Open1, "openbutton", ToolIcon::Open, kNoHint);
  button(Save1, "savebutton", ToolIcon::Save, kNoHint);
  bar->addSeparator();
  button(newpolygon, "newpolygon", ToolIcon::Polygon, kNoHint);
  button(newvertex, "newvertex", ToolIcon::Vertex, kHint);
  button(editvertex, "editvertex", ToolIcon::Edit, kHint);
  bar->addSeparator();
  button(Generatemesh, "GMeshButton", ToolIcon::Mesh, kHint);
  button(SolveStaticMenu, "SolveStatic", ToolIcon::SolveStatic, kHint);
  button(SolveStressMenu, "SolveStress", ToolIcon::SolveStress, kNoHint);
  bar->addSeparator();
  button(ZoominButton, "ZoominButton", ToolIcon::ZoomIn, kHint);
  button(ZoomoutButton, "ZoomoutButton", ToolIcon::ZoomOut, kHint);
  bar->addSeparator();
  ViewSelector = new QComboBox(bar);
  ViewSelector->setObjectName("ViewSelector");
  for (const ViewInfo& v : kViews) ViewSelector->addItem(v.item);
  ViewSelector->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  ViewSelector->setFocusPolicy(Qt::NoFocus);
  connect(ViewSelector, &QComboBox::activated, this, [this](int) { ChangeView(); });
  bar->addWidget(ViewSelector);
}

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
  meshInformer_->beforeEvents = [this] {
    canvas_->FrameEnd();
    MainDraw->Flush();
  };
  solveInformer_->placement = [this](int w) { return ProgressPlacement(w); };
}

QPoint TMainWindow::ProgressPlacement(int width) const {
  QToolBar* bar = findChild<QToolBar*>("ToolBar1");
  return QPoint(pos().x() + MainDraw->width() - width, pos().y() + (bar ? bar->height() : 30) + 46);
}

QString TMainWindow::PanelText(int panel) const {
  return panel >= 0 && panel < 5 ? panels_[panel]->text() : QString();
}

// ---------------------------------------------------------------- job lifecycle

void TMainWindow::SetTitle(const std::string& name) {
  fileName = name;
  // "TAVRIN 0.9b - plate.sam": the program's name and version as the about box shows them.
  setWindowTitle(QString::fromStdString(std::string(kProgramName) + " " + kProgramVersion + " - " +
                                        LastPathComponent(name)));
}

void TMainWindow::ResetJob() {
  editing_.Reset();
  modified = meshed = staticSolved = stressSolved = false;
  ViewTransform& t = CurrentViewTransform();
  t.canvasHeight = MainDraw->height();
  t.canvasWidth = MainDraw->width();
  generateMeshOn_ = solveStaticOn_ = solveStressOn_ = exportsOn_ = false;
  UpdateCommands();
  ViewSelector->setCurrentIndex(0);
  SetTitle("Untitled");
}

void TMainWindow::NewJob() {
  structure_.reset();
  structure_ = std::make_unique<TObjCont>();
  mesh_.reset();
  mesh_ = std::make_unique<FEM>();
  solver_.reset();
  solver_ = std::make_unique<TGlobMatrix>(ElementKind::Dkt, solveInformer_);
  isolines_.reset();
  isolines_ = std::make_unique<TIsolines>();
  CurrentViewTransform().Reset();
  ResetJob();
  redraw();
  // The editor must not keep offering an index of the job just deleted.
  if (rollup_) rollup_->ShowSelection(SelectionKind::none, std::array<int, 1>{-1}, {});
}

// Asks whether to save a modified job; false when the user wanted it saved and that failed,
// in which case the caller keeps the job.
bool TMainWindow::AskToSave(const char* question) {
  if (!modified) return true;
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
  structure_ = std::move(loaded);
  generateMeshOn_ = true;
  UpdateCommands();
  SetTitle(path);
  redraw();
  modified = false;
  return true;
}

bool TMainWindow::Save1Click() {
  if (fileName == "Untitled") {
    if (!FileSaveAsClick()) return false;
  } else if (JobFileResult r = structure_->SaveJob(fileName); !r) {
    ShowError(r.error);
    return false;
  }
  modified = false;
  return true;
}

bool TMainWindow::FileSaveAsClick() {
  std::string path = CurrentPlatform().ChooseSaveFile(kSaveJobFilter);
  if (path.empty()) return false;
  if (JobFileResult r = structure_->SaveJob(path); !r) {
    ShowError(r.error);
    return false;
  }
  SetTitle(path);
  return true;
}

void TMainWindow::closeEvent(QCloseEvent* event) {
  if (busy_) {
    // The work in progress uses the objects this window owns: stop a refinement and close
    // when the command has returned.
    pendingClose_ = true;
    mesh_->RequestStop();
    event->ignore();
    return;
  }
  if (!AskToSave("Job modified Save?")) {
    event->ignore();
    return;
  }
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
  Generatemesh->setEnabled(generateMeshOn_ && idle);
  SolveStaticMenu->setEnabled(solveStaticOn_ && idle);
  SolveStressMenu->setEnabled(solveStressOn_ && idle);
  CosmosInputFile->setEnabled(exportsOn_ && idle);
  LocalStiffnessMatrix->setEnabled(exportsOn_ && idle);
  for (QAction* a : {New1, Open1, newpolygon, newvertex, ResDlgMenu}) a->setEnabled(idle);
  ViewSelector->setEnabled(idle);
  if (rollup_) rollup_->SetApplyBlocked(busy_);
}

void TMainWindow::SetBusy(bool busy) {
  busy_ = busy;
  UpdateCommands();
}

// ---------------------------------------------------------------- plan view

void TMainWindow::redraw() {
  const bool resultView = ViewIndex() > 0;
  RedrawPlan(*MainDraw, *structure_, meshed && !resultView ? mesh_.get() : nullptr,
             resultView ? isolines_.get() : nullptr, CurrentViewTransform());
}

void TMainWindow::ResizeCanvas() {
  ViewTransform& t = CurrentViewTransform();
  t.canvasHeight = MainDraw->height();
  t.canvasWidth = MainDraw->width();
  redraw();
}

void TMainWindow::ZoominButtonClick() {
  CurrentViewTransform().ZoomIn();
  redraw();
}

void TMainWindow::ZoomoutButtonClick() {
  CurrentViewTransform().ZoomOut();
  redraw();
}

void TMainWindow::mousemoved(int sx, int sy) {
  const ViewTransform& t = CurrentViewTransform();
  double x = t.WorldX(sx), y = t.WorldY(sy);
  panels_[1]->setText(QString::number(x, 'g', 4) + ":" + QString::number(y, 'g', 4));
  int view = ViewIndex();
  if (view <= 0 || busy_) return;
  // A view whose results are gone (a new solve, a failed one) has nothing to read: the solver
  // would answer with its no-value sentinel.
  if (!(view <= 3 ? staticSolved : stressSolved)) return;
  int node = mesh_->NearestNode(x, y);
  if (node < 0) return;
  int solverNode = solver_->NewNumberOf(node);
  double value = view <= 3 ? static_cast<double>(solver_->Displacement(solverNode, view - 1))
                           : solver_->NodeStress(solverNode, view - 4);
  panels_[3]->setText(QString::number(value, 'g', 5));
}

void TMainWindow::KeyPressed(int key) {
  switch (key) {
    case Qt::Key_Shift:
      editing_.shiftHeld = true;
      mesh_->RequestStop();
      break;
    case Qt::Key_Escape:
      mesh_->RequestStop();
      break;
    case Qt::Key_Space:
      MainDraw->setCursor(Qt::SizeAllCursor);
      editing_.shiftHeld = true;
      mesh_->RequestStop();
      break;
    default:
      break;
  }
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
  if ((event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) && watched->isWidgetType() &&
      static_cast<QWidget*>(watched)->window() == this) {
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

// ---------------------------------------------------------------- mesh

void TMainWindow::ComputeDefaultMaxArea() {
  const TObjCont& job = *structure_;
  if (job.NodeCount() == 0) return;
  double xmin = job.NodeX(0), xmax = xmin, ymin = job.NodeY(0), ymax = ymin;
  for (int i = 1; i < job.NodeCount(); ++i) {
    xmin = std::min(xmin, job.NodeX(i));
    xmax = std::max(xmax, job.NodeX(i));
    ymin = std::min(ymin, job.NodeY(i));
    ymax = std::max(ymax, job.NodeY(i));
  }
  GlobalMeshParameters().maxArea = static_cast<float>(std::floor(std::fabs((xmax - xmin) * (ymax - ymin)) / 350.0));
}

void TMainWindow::PolygonClosed() {
  ComputeDefaultMaxArea();
  generateMeshOn_ = true;
  UpdateCommands();
}

// Results of an earlier mesh or solve must never be read against a new one.
void TMainWindow::ClearResults() {
  staticSolved = stressSolved = false;
  solveStressOn_ = exportsOn_ = false;
  isolines_ = std::make_unique<TIsolines>();
  ViewSelector->setCurrentIndex(0);
  panels_[2]->clear();
  panels_[3]->clear();
  panels_[4]->clear();
}

void TMainWindow::GenerateMeshClick() {
  if (busy_ || !generateMeshOn_) return;
  structure_->PrepareForMeshing();
  ClearResults();
  solver_ = std::make_unique<TGlobMatrix>(ElementKind::Dkt, solveInformer_);
  SetBusy(true);
  mesh_.reset();
  mesh_ = std::make_unique<FEM>();
  canvas_->Start();
  mesh_->GenerateMesh(*structure_, *canvas_, *meshInformer_);
  meshInformer_->HideMeshProgress();
  SetBusy(false);
  // Solve Static follows the new mesh: an unusable one (stopped, or short of the minimal
  // angle) must not be solved on the strength of an earlier usable mesh.
  solveStaticOn_ = mesh_->IsUsable();
  if (solveStaticOn_) meshed = true;
  // Where the user looks when Solve Static stays grey: whether the mesh is usable, or why not.
  panels_[4]->setText(QString::fromStdString(MeshVerdict(GlobalMeshStatistics())));
  UpdateCommands();
  // The final mesh is shown whatever frames the animation skipped, usable or not; later
  // repaints follow the meshed flag.
  RedrawPlan(*MainDraw, *structure_, mesh_.get(), nullptr, CurrentViewTransform());
  if (pendingClose_) close();
}

void TMainWindow::ParametersStats1Click() { meshParams_->exec(); }

// ---------------------------------------------------------------- solve

void TMainWindow::SolveStaticClick() {
  if (busy_ || !solveStaticOn_) return;
  solver_.reset();
  solver_ = std::make_unique<TGlobMatrix>(ElementKind::Dkt, solveInformer_);
  staticSolved = stressSolved = false;
  solveStressOn_ = exportsOn_ = false;
  SetBusy(true);
  int code = solver_->SolveStatic(*mesh_);
  solveInformer_->HideSolveProgress();
  SetBusy(false);
  if (code != kSolveOk) {
    std::string message = solver_->Failure().message;
    if (message.empty()) message = "The static solution failed (code " + std::to_string(code) + ").";
    ShowError(message);
  } else {
    solveStressOn_ = exportsOn_ = true;
    staticSolved = true;
  }
  UpdateCommands();
  if (pendingClose_) close();
}

void TMainWindow::SolveStressClick() {
  if (busy_ || !solveStressOn_) return;
  solveStressOn_ = false;
  SetBusy(true);
  int code = solver_->SolveStress(*mesh_);
  SetBusy(false);
  if (code == 0) {
    stressSolved = true;
  } else {
    // Solve Stress stays off until the next Solve Static, so say why the stress views stay off.
    ShowError(code == 2 ? "The stresses exceed the range of numbers: check the prescribed displacements "
                          "and the loads against the plate's stiffness."
                        : "The stresses need a finished Solve Static.");
  }
  UpdateCommands();
  if (pendingClose_) close();
}

void TMainWindow::CosmosInputFileClick() {
  if (busy_ || !exportsOn_) return;
  RunCosmosExport(*solver_);
}

void TMainWindow::LocalStiffnessMatrixClick() {
  if (busy_ || !exportsOn_) return;
  RunLocalStiffnessExport(*askBox_, *solver_);
}

void TMainWindow::ResDlgMenuClick() {
  if (busy_) return;
  listing_->Show(*solver_);
}

// ---------------------------------------------------------------- result views

int TMainWindow::ViewIndex() const { return ViewSelector->currentIndex(); }

void TMainWindow::SelectView(int index) {
  if (!ViewSelector->isEnabled()) return;
  ViewSelector->setCurrentIndex(index);
  ChangeView();
}

void TMainWindow::ChangeView() {
  int view = ViewIndex();
  if (view < 0) return;
  panels_[2]->setText(kViews[view].label);
  if (view > 0) {
    bool available = view <= 3 ? staticSolved : stressSolved;
    if (!available) {
      ViewSelector->setCurrentIndex(0);
      return;
    }
    isolines_ = std::make_unique<TIsolines>();
    BuildIsolines(*isolines_, view - 1, *solver_);
  }
  redraw();
}

// ---------------------------------------------------------------- editing

void TMainWindow::SelectEdgeEnd(int edge, int end) { editing_.SelectEdgeEnd(edge, end); }

void TMainWindow::ApplyEdits() {
  if (busy_) return;
  // The edge end the user chose in the editor stays chosen when the edge is shown again.
  const bool endChosen = rollup_ && rollup_->Kind() == SelectionKind::edge && rollup_->EndSelected();
  editing_.ApplyEdits();
  // The request now holds zeros, and a refused move never happened: show what the job holds.
  editing_.ShowSelectionAgain();
  if (endChosen && rollup_->Kind() == SelectionKind::edge && !rollup_->EndSelected()) rollup_->ToggleEdgeEnd();
}

void TMainWindow::ShowSelection(SelectionKind kind, std::span<const int> ids, const std::array<double, 6>& c) {
  if (rollup_) rollup_->ShowSelection(kind, ids, c);
}

}  // namespace tavrin

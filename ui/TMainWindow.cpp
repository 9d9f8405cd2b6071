#include "ui/TMainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUndoStack>
#include <cmath>
#include <filesystem>

#include "analysis/TGlobMatrix.h"
#include "analysis/TIsolines.h"
#include "mesh/FEM.h"
#include "mesh/MeshCanvas.h"
#include "mesh/MeshParameters.h"
#include "model/GeometryCheck.h"
#include "model/NodeBox.h"
#include "model/TObjCont.h"
#include "ui/DeflectedView3D.h"
#include "ui/JobDeletion.h"
#include "ui/JobDrawing.h"
#include "ui/MeshAnimationCanvas.h"
#include "ui/PictureExport.h"
#include "ui/PlanNavigator.h"
#include "ui/PlanView.h"
#include "ui/Platform.h"
#include "ui/RecentFiles.h"
#include "ui/ResultViews.h"
#include "ui/TAboutDialog.h"
#include "ui/TAskBox.h"
#include "ui/TAskBoxExports.h"
#include "ui/TListing.h"
#include "ui/TMeshInformer.h"
#include "ui/TMesh_params.h"
#include "ui/TSolveInformer.h"
#include "ui/ToolIcons.h"
#include "ui/ViewNavigation.h"
#include "ui/ViewTransform.h"

namespace tavrin {

namespace {

// Marks a tool button that shows no hint.
constexpr const char* kNoHintProperty = "tavrinNoHint";
// The default maximal triangle area is the nodes' bounding box over this: a first mesh of a few
// hundred triangles, coarse enough to draw at once and to refine from.
constexpr double kDefaultTrianglesPerBox = 350.0;
// The progress windows open just below the tool bar: the main window's caption and menu bar
// were 46 pixels high in the layout the windows' positions were designed in.
constexpr int kCaptionAndMenuHeight = 46;

}  // namespace

const char kSolveStoppedText[] = "The solve was stopped: there are no results.";
const char kStressStoppedText[] =
    "The stress recovery was stopped: there are no stresses. Solve Stress computes them again.";

std::string LastPathComponent(const std::string& path) {
  size_t cut = path.find_last_of("\\:/");
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

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
  canvas_ = std::make_unique<MeshAnimationCanvas>(*MainDraw);
  history_ = std::make_unique<JobHistory>(*this, this);
  recent_ = std::make_unique<RecentFiles>();
  BuildMenuAndToolBar();
  BuildStatusBar();
  resize(667, 405);

  MainDraw->onMousePress = [this](Qt::MouseButton, int x, int y) {
    if (busy_) return;
    const char* adds = editing_.newVertexMode    ? "Add node"
                       : editing_.newPolygonMode ? "Add polygon vertex"
                                                 : nullptr;
    if (!adds) {
      editing_.pickpoint(x, y);
      return;
    }
    history_->Record([&] {
      const int closed = structure_->PolygonCount();
      editing_.pickpoint(x, y);
      return QString::fromLatin1(structure_->PolygonCount() > closed ? "Close polygon" : adds);
    });
    UpdateDeleteCommand();  // nothing is deleted while a polygon is drawn
  };
  // The middle button and the wheel move the view; they never reach the editing clicks.
  navigator_ = new PlanNavigator(
      *MainDraw, [this] { UserMovedView(); }, [this](int dx, int dy) { DraggedView(dx, dy); });
  dragRedraw_ = new QTimer(this);
  dragRedraw_->setSingleShot(true);
  dragRedraw_->setInterval(kDragRedrawMs);
  connect(dragRedraw_, &QTimer::timeout, this, [this] { redraw(); });
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
#ifdef TAVRIN_HAVE_DXF
  ImportDxf = action("ImportDxf", "Import DXF...", [this] { ImportDxfClick(); });
#endif
  Save1 = action("Save1", "Save", [this] { Save1Click(); });
  FileSaveAs = action("FileSaveAs", "Save As", [this] { FileSaveAsClick(); });
  Exit1 = action("Exit1", "Exit", [this] { close(); });
  GeomRollup = action("GeomRollup", "Geometry...", [this] {
    if (rollup_) rollup_->ShowPage(TRollup::TabGeometry);
  });
  LoadsRollup = action("LoadsRollup", "Loads...", [this] {
    if (rollup_) rollup_->ShowPage(TRollup::TabLoads);
  });
  ConstrRollup = action("ConstrRollup", "Constrains...", [this] {
    if (rollup_) rollup_->ShowPage(TRollup::TabConstrains);
  });
  PhysicsRollup = action("PhysicsRollup", "Polygon Physics...", [this] {
    if (rollup_) rollup_->ShowPage(TRollup::TabPhysics);
  });
  CloseRollup = action("CloseRollup", "Close Editor", [this] {
    if (rollup_) rollup_->hide();
  });
  Generatemesh = action("Generatemesh", "Generate mesh", [this] { GenerateMeshClick(); });
  ParametersStats1 =
      action("ParametersStats1", "Parameters && Stats", [this] { ParametersStats1Click(); });
  SolveStaticMenu = action("SolveStaticMenu", "Solve Static", [this] { SolveStaticClick(); });
  SolveStressMenu = action("SolveStressMenu", "Solve Stress", [this] { SolveStressClick(); });
  CosmosInputFile =
      action("CosmosInputFile", "COSMOS Input File", [this] { CosmosInputFileClick(); });
  LocalStiffnessMatrix = action("LocalStiffnessMatrix", "Local Stiffness Matrix",
                                [this] { LocalStiffnessMatrixClick(); });
  ResDlgMenu = action("ResDlgMenu", "View Results", [this] { ResDlgMenuClick(); });
  ExportVtk = action("ExportVtk", "Export VTK", [this] { ExportVtkClick(); });
  SavePicture = action("SavePicture", "Save picture", [this] { SavePictureClick(); });
  Help1 = action("Help1", "About", [this] { about_->Show(); });
  newpolygon = action("newpolygon", "Polygon", [this] {
    if (!busy_) editing_.NewPolygonButton();
  });
  newvertex = action("newvertex", "Vertex", [this] {
    if (!busy_) editing_.NewVertexButton();
  });
  newvertex->setToolTip("New Vertex");
  editvertex = action("editvertex", "Edit", [this] {
    if (rollup_) rollup_->show();
  });
  editvertex->setToolTip("Transform Rollup");
  ZoominButton = action("ZoominButton", "Zoom In", [this] { ZoominButtonClick(); });
  ZoominButton->setToolTip("Zoom In");
  ZoomoutButton = action("ZoomoutButton", "Zoom Out", [this] { ZoomoutButtonClick(); });
  ZoomoutButton->setToolTip("Zoom Out");
  ZoomFit = action("ZoomFit", "Zoom to fit", [this] { ZoomFitClick(); });
  ZoomFit->setToolTip("Zoom to fit");
  ZoomFit->setShortcut(Qt::Key_F);
  ColourFringes =
      action("ColourFringes", "Colour fringes", [this] { SetFringes(ColourFringes->isChecked()); });
  ColourFringes->setCheckable(true);
  DeflectedShape =
      action("DeflectedShape", "Deflected shape 3D", [this] { DeflectedShapeClick(); });
  ColourFringes->setChecked(fringesOn_);
  EditDelete = action("EditDelete", "Delete", [this] { DeleteClick(); });
  EditDelete->setShortcut(QKeySequence::Delete);
  EditUndo = history_->Stack().createUndoAction(this, "Undo");
  EditUndo->setObjectName("EditUndo");
  EditUndo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
  EditRedo = history_->Stack().createRedoAction(this, "Redo");
  EditRedo->setObjectName("EditRedo");
  EditRedo->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
  New1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
  Open1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
  Save1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
  FileSaveAs->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
  Exit1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
  Generatemesh->setToolTip("Generate mesh");
  SolveStaticMenu->setToolTip("Static solvation");

  QMenu* file = menuBar()->addMenu("File");
  file->addActions({New1, Open1});
  if (ImportDxf) file->addAction(ImportDxf);
  file->addActions({Save1, FileSaveAs, ExportVtk, SavePicture});
  recentMenu_ = file->addMenu("Recent Files");
  recentMenu_->setObjectName("RecentFilesMenu");
  recentMenu_->menuAction()->setObjectName("RecentFiles");
  file->addAction(Exit1);
  RefreshRecentMenu();
  QMenu* edit = menuBar()->addMenu("Edit ...");
  edit->addActions({EditUndo, EditRedo, EditDelete});
  edit->addSeparator();
  edit->addActions({GeomRollup, LoadsRollup, ConstrRollup, PhysicsRollup, CloseRollup});
  QMenu* view = menuBar()->addMenu("View");
  view->addActions({ZoominButton, ZoomoutButton, ZoomFit});
  view->addSeparator();
  view->addActions({ColourFringes, DeflectedShape});
  // The arrow keys move the view over the job; as shortcuts they repeat while held.
  for (auto [name, text, key] : {std::tuple{"PanLeft", "Pan left", Qt::Key_Left},
                                 {"PanRight", "Pan right", Qt::Key_Right},
                                 {"PanUp", "Pan up", Qt::Key_Up},
                                 {"PanDown", "Pan down", Qt::Key_Down}}) {
    QAction* pan = action(name, text, [this, k = key] { navigator_->PanKey(k); });
    pan->setShortcut(key);
    addAction(pan);
  }
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
  button(ZoomFit, "ZoomFitButton", ToolIcon::ZoomFit, kHint);
  bar->addSeparator();
  ViewSelector = new QComboBox(bar);
  ViewSelector->setObjectName("ViewSelector");
  for (const ResultView& v : ResultViews()) ViewSelector->addItem(v.item);
  ViewSelector->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  ViewSelector->setFocusPolicy(Qt::NoFocus);
  connect(ViewSelector, &QComboBox::activated, this, [this](int) { ChangeView(); });
  bar->addWidget(ViewSelector);
  ViewStyle = new QComboBox(bar);
  ViewStyle->setObjectName("ViewStyle");
  ViewStyle->addItems({"Fringes", "Isolines"});
  ViewStyle->setCurrentIndex(fringesOn_ ? 0 : 1);
  ViewStyle->setFocusPolicy(Qt::NoFocus);
  connect(ViewStyle, &QComboBox::activated, this, [this](int index) { SetFringes(index == 0); });
  bar->addWidget(ViewStyle);
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
  meshInformer_->beforeEvents = [this] { MainDraw->Flush(); };
  meshInformer_->onStop = [this] { mesh_->RequestStop(); };
  solveInformer_->placement = [this](int w) { return ProgressPlacement(w); };
}

QPoint TMainWindow::ProgressPlacement(int width) const {
  QToolBar* bar = findChild<QToolBar*>("ToolBar1");
  return QPoint(pos().x() + MainDraw->width() - width,
                pos().y() + (bar ? bar->height() : 30) + kCaptionAndMenuHeight);
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
  pipeline_ = {};
  UpdateCommands();
  ViewSelector->setCurrentIndex(0);
  shownView_ = 0;
  fringeView_.Clear();
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
  meshedJob_.clear();
  history_->Clear();
  CurrentViewTransform().Reset();
  viewPlacedByProgram_ = true;
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
  pipeline_.generateMesh = true;
  UpdateCommands();
  SetTitle(path);
  FitViewToJob();
  redraw();
  modified = false;
  recent_->Add(QString::fromStdString(path));
  RefreshRecentMenu();
  // The job opens without the lines it could not use; the user must know they are gone.
  if (result.read.skipped > 0) {
    CurrentPlatform().ShowMessage(
        std::filesystem::path(path).filename().string() + ": " + result.read.Describe(), "Warning");
  }
  return true;
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
  recentMenu_->clear();
  const QStringList& paths = recent_->Paths();
  for (int i = 0; i < paths.size(); ++i) {
    const QString path = paths[i];
    QAction* a =
        recentMenu_->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(path).fileName()));
    a->setObjectName(QStringLiteral("RecentFile%1").arg(i));
    a->setToolTip(path);
    a->setStatusTip(path);
    connect(a, &QAction::triggered, this, [this, path] { OpenRecent(path.toStdString()); });
  }
  if (!paths.isEmpty()) {
    recentMenu_->addSeparator();
    QAction* clear = recentMenu_->addAction("Clear list");
    clear->setObjectName("ClearRecentFiles");
    connect(clear, &QAction::triggered, this, [this] {
      recent_->Clear();
      RefreshRecentMenu();
    });
  }
  recentMenu_->setEnabled(!paths.isEmpty());
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
    // The work in progress uses the objects this window owns: it is asked to stop, the windows
    // go at once, and the close completes when the command has returned (at the solver's next
    // stop check, which only a sparse factorization already started can delay).
    pendingClose_ = true;
    mesh_->RequestStop();
    solveInformer_->RequestStop();
    meshInformer_->hide();
    solveInformer_->hide();
    hide();
    event->ignore();
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
  Generatemesh->setEnabled(pipeline_.generateMesh && idle);
  SolveStaticMenu->setEnabled(pipeline_.solveStatic && idle);
  SolveStressMenu->setEnabled(pipeline_.solveStress && idle);
  CosmosInputFile->setEnabled(pipeline_.exports && idle);
  LocalStiffnessMatrix->setEnabled(pipeline_.exports && idle);
  ExportVtk->setEnabled(pipeline_.exports && idle);
  DeflectedShape->setEnabled(staticSolved && idle);
  for (QAction* a : {New1, Open1, newpolygon, newvertex, ResDlgMenu, SavePicture})
    a->setEnabled(idle);
  recentMenu_->setEnabled(idle && !recent_->Paths().isEmpty());
  // The undo actions follow the stack by themselves; while a mesh or a solve runs they wait.
  EditUndo->setEnabled(idle && history_->Stack().canUndo());
  EditRedo->setEnabled(idle && history_->Stack().canRedo());
  UpdateDeleteCommand();
  ViewSelector->setEnabled(idle);
  if (rollup_) rollup_->SetApplyBlocked(busy_);
}

void TMainWindow::SetBusy(bool busy) {
  busy_ = busy;
  UpdateCommands();
}

// ---------------------------------------------------------------- plan view

void TMainWindow::redraw() {
  if (dragRedraw_) dragRedraw_->stop();  // the whole picture a drag was waiting for
  QElapsedTimer clock;
  clock.start();
  DrawView();
  lastRedrawSeconds_ = clock.nsecsElapsed() * 1e-9;
}

void TMainWindow::DrawView() {
  const bool resultView = ViewIndex() > 0;
  const ViewTransform& t = CurrentViewTransform();
  if (resultView && FringesShown()) {
    RedrawPlan(*MainDraw, *structure_, nullptr, nullptr, t, [&] {
      MainDraw->Paint([&](QPainter& p) { p.drawImage(0, 0, fringeView_.Image(t)); });
    });
    MainDraw->Paint([&](QPainter& p) { fringeView_.DrawOverlay(p, t); });
    return;
  }
  RedrawPlan(*MainDraw, *structure_, meshed && !resultView ? mesh_.get() : nullptr,
             resultView ? isolines_.get() : nullptr, t);
}

bool TMainWindow::FringesShown() const {
  const int view = ViewIndex();
  return view > 0 && fringeView_.HasField() && (fringesOn_ || ResultViews()[view].perElement);
}

void TMainWindow::SetFringes(bool on) {
  fringesOn_ = on;
  ColourFringes->setChecked(on);
  ViewStyle->setCurrentIndex(on ? 0 : 1);
  RefitForLegend();
  redraw();
}

// A view the program placed makes room for the legend when one comes or goes. Between two
// fringe views the plate stays put, so that fields can be compared in place; a view the user
// moved stays where the user put it.
void TMainWindow::RefitForLegend() {
  if (FringesShown() == fittedWithLegend_) return;
  if (viewPlacedByProgram_ && structure_->NodeCount() > 0) FitViewToJob();
}

// The scale and the lower left corner stay; a fit made before the window was first shown
// follows the size the window is shown with.
void TMainWindow::ResizeCanvas() {
  ViewTransform& t = CurrentViewTransform();
  t.canvasHeight = MainDraw->height();
  t.canvasWidth = MainDraw->width();
  if (fitUntilShown_ && viewPlacedByProgram_ && structure_->NodeCount() > 0) FitViewToJob();
  redraw();
}

void TMainWindow::ZoominButtonClick() {
  CurrentViewTransform().ZoomIn();
  UserMovedView();
}

void TMainWindow::ZoomoutButtonClick() {
  CurrentViewTransform().ZoomOut();
  UserMovedView();
}

void TMainWindow::ZoomFitClick() {
  FitViewToJob();
  redraw();
}

void TMainWindow::FitViewToJob() {
  ViewTransform& t = CurrentViewTransform();
  t.canvasHeight = MainDraw->height();
  t.canvasWidth = MainDraw->width();
  fittedWithLegend_ = FringesShown();
  const int legend = fittedWithLegend_ ? fringeView_.LegendReserve(t.canvasHeight) : 0;
  FitToBox(t, JobBox(*structure_), kFitMargin, legend);
  viewPlacedByProgram_ = true;
}

// A picture drawn within a frame's time follows the drag exactly. A larger one (a mesh of
// 10^6 triangles takes tens of milliseconds) is shifted as it stands, with the uncovered strips
// blank, and drawn whole at most every kDragRedrawMs and when the button is released.
void TMainWindow::DraggedView(int dx, int dy) {
  viewPlacedByProgram_ = false;
  if (lastRedrawSeconds_ <= fluidRedrawSeconds_) {
    redraw();
    return;
  }
  MainDraw->Shift(dx, dy);
  if (!dragRedraw_->isActive()) dragRedraw_->start();
}

void TMainWindow::UserMovedView() {
  viewPlacedByProgram_ = false;
  redraw();
}

void TMainWindow::mousemoved(int sx, int sy) {
  const ViewTransform& t = CurrentViewTransform();
  double x = t.WorldX(sx), y = t.WorldY(sy);
  panels_[1]->setText(QString::number(x, 'g', 4) + ":" + QString::number(y, 'g', 4));
  int view = ViewIndex();
  if (view <= 0 || busy_) return;
  const ResultView& shown = ResultViews()[view];
  // A view whose results are gone (a new solve, a failed one) has nothing to read: the solver
  // would answer with its no-value sentinel.
  if (!ResultsAvailable(shown.needs, staticSolved, stressSolved)) return;
  int node = mesh_->NearestNode(x, y);
  if (node < 0) return;
  panels_[3]->setText(QString::number(ResultValueAt(shown, *solver_, node), 'g', 5));
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
  if (event->type() == QEvent::Paint && watched == MainDraw) fitUntilShown_ = false;
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

// ---------------------------------------------------------------- mesh

void TMainWindow::ComputeDefaultMaxArea() {
  const TObjCont& job = *structure_;
  if (job.NodeCount() == 0) return;
  const PlanBox box = NodeBox(job);
  GlobalMeshParameters().maxArea = static_cast<float>(
      std::floor(std::fabs(box.Width() * box.Height()) / kDefaultTrianglesPerBox));
}

void TMainWindow::PolygonClosed() {
  ComputeDefaultMaxArea();
  pipeline_.generateMesh = true;
  UpdateCommands();
  // A drawing on a view the user has not moved is shown whole, as an opened job is.
  if (viewPlacedByProgram_) {
    FitViewToJob();
    redraw();
  }
}

// Results of an earlier mesh or solve must never be read against a new one.
void TMainWindow::ClearResults() {
  staticSolved = stressSolved = false;
  pipeline_.solveStress = pipeline_.exports = false;
  isolines_ = std::make_unique<TIsolines>();
  fringeView_.Clear();
  if (deflected_) deflected_->hide();  // its picture belongs to the results now gone
  ViewSelector->setCurrentIndex(0);
  shownView_ = 0;
  panels_[2]->clear();
  panels_[3]->clear();
  panels_[4]->clear();
}

// As New drops them: nothing of the mesh or its solve stays reachable.
void TMainWindow::DropMeshAndResults() {
  ClearResults();
  mesh_ = std::make_unique<FEM>();
  solver_ = std::make_unique<TGlobMatrix>(ElementKind::Dkt, solveInformer_);
  meshed = false;
  pipeline_.solveStatic = false;
  meshedJob_.clear();
}

// A refused generation drops the earlier mesh and its results, as an unusable one does: they
// belong to a drawing that has changed since, and the plan should show the drawing to mend.
void TMainWindow::RefuseMesh(const std::string& why) {
  ShowError(why);
  DropMeshAndResults();
  UpdateCommands();
  redraw();
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
  const std::string unprepared = structure_->JobText();
  structure_->PrepareForMeshing();
  if (structure_->JobText() != unprepared) modified = true;
  if (const GeometryCheckResult check = CheckGeometry(*structure_); !check) {
    RefuseMesh(check.message);
    return;
  }
  ClearResults();
  // The whole plate in view, for the animation as for the result.
  FitViewToJob();
  redraw();
  solver_ = std::make_unique<TGlobMatrix>(ElementKind::Dkt, solveInformer_);
  SetBusy(true);
  mesh_.reset();
  mesh_ = std::make_unique<FEM>(GlobalMeshParameters());
  canvas_->Start();
  GlobalMeshStatistics() = mesh_->GenerateMesh(*structure_, *canvas_, *meshInformer_);
  meshInformer_->HideMeshProgress();
  SetBusy(false);
  // Solve Static follows the new mesh: an unusable one (stopped, or short of the minimal
  // angle) must not be solved on the strength of an earlier usable mesh.
  pipeline_.solveStatic = mesh_->IsUsable();
  if (pipeline_.solveStatic) meshed = true;
  // Where the user looks when Solve Static stays grey: whether the mesh is usable, or why not.
  panels_[4]->setText(QString::fromStdString(MeshVerdict(GlobalMeshStatistics())));
  meshedJob_ = structure_->JobText();
  UpdateCommands();
  // The final mesh is shown whatever frames the animation skipped, usable or not; later
  // repaints follow the meshed flag.
  RedrawPlan(*MainDraw, *structure_, mesh_.get(), nullptr, CurrentViewTransform());
  if (pendingClose_) close();
}

void TMainWindow::ParametersStats1Click() { meshParams_->exec(); }

// ---------------------------------------------------------------- solve

void TMainWindow::SolveStaticClick() {
  if (busy_ || !pipeline_.solveStatic) return;
  solver_.reset();
  // The dialog's analysis options are the workbench's setting; the solver gets a copy.
  solver_ =
      std::make_unique<TGlobMatrix>(ElementKind::Dkt, GlobalAnalysisOptions(), solveInformer_);
  // The results the shown view was drawn from are gone with the old solver.
  ClearResults();
  redraw();
  SetBusy(true);
  solveInformer_->ClearStop();
  const SolveCode code = solver_->SolveStatic(*mesh_);
  solveInformer_->HideSolveProgress();
  SetBusy(false);
  if (code == SolveCode::Stopped) {
    if (!pendingClose_) CurrentPlatform().ShowMessage(kSolveStoppedText, "Stopped");
  } else if (code != SolveCode::Ok) {
    std::string message = solver_->Failure().message;
    if (message.empty())
      message = "The static solution failed (code " + std::to_string(ToCode(code)) + ").";
    ShowError(message);
  } else {
    pipeline_.solveStress = pipeline_.exports = true;
    staticSolved = true;
  }
  UpdateCommands();
  if (pendingClose_) close();
}

void TMainWindow::SolveStressClick() {
  if (busy_ || !pipeline_.solveStress) return;
  pipeline_.solveStress = false;
  SetBusy(true);
  solveInformer_->ClearStop();
  const StressCode code = solver_->SolveStress();
  solveInformer_->HideSolveProgress();
  SetBusy(false);
  if (code == StressCode::Ok) {
    stressSolved = true;
  } else if (code == StressCode::Stopped) {
    // The static solution stands: the recovery can be run again.
    pipeline_.solveStress = true;
    if (!pendingClose_) CurrentPlatform().ShowMessage(kStressStoppedText, "Stopped");
  } else {
    // Solve Stress stays off until the next Solve Static, so say why the stress views stay off.
    ShowError(Message(code));
  }
  UpdateCommands();
  if (pendingClose_) close();
}

void TMainWindow::CosmosInputFileClick() {
  if (busy_ || !pipeline_.exports) return;
  RunCosmosExport(*solver_);
}

void TMainWindow::ExportVtkClick() {
  if (busy_ || !pipeline_.exports) return;
  RunVtkExport(*solver_);
}

void TMainWindow::DeflectedShapeClick() {
  if (busy_ || !staticSolved) return;
  if (!deflected_) deflected_ = new DeflectedView3D(this);
  std::vector<double> w(solver_->ResultNodeCount());
  for (int v = 0; v < solver_->ResultNodeCount(); ++v)
    w[v] = solver_->NodeValue(v, ResultField::LinZ);
  // Coloured as the plan view shows its field, or by the deflection itself.
  const ResultView& shown = ResultViews()[ViewIndex() > 0 ? ViewIndex() : 1];
  deflected_->Show(std::move(w),
                   fringeView_.HasField() ? fringeView_.Field() : BuildFringeField(*solver_, shown),
                   QString::fromLatin1(shown.label).chopped(1));
  deflected_->show();
  deflected_->raise();
}

void TMainWindow::SavePictureClick() {
  if (busy_) return;
  const QImage picture = MainDraw->Image().copy();
  RunFileExport(kPictureFileFilter,
                [&picture](const std::string& path) { return WritePicture(picture, path); });
}

void TMainWindow::LocalStiffnessMatrixClick() {
  if (busy_ || !pipeline_.exports) return;
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

// A view is shown only with the results it is drawn from. Without them the view on screen
// stays, with its own label and read-out (a label over another field's values would misstate
// them), and panel 4 says what to run first.
void TMainWindow::ChangeView() {
  int view = ViewIndex();
  if (view < 0) return;
  const ResultView& chosen = ResultViews()[view];
  if (!ResultsAvailable(chosen.needs, staticSolved, stressSolved)) {
    ViewSelector->setCurrentIndex(shownView_);
    panels_[4]->setText(MissingResultsText(chosen.needs));
    return;
  }
  shownView_ = view;
  panels_[2]->setText(chosen.label);
  panels_[4]->clear();
  if (chosen.needs != ResultNeed::none) {
    isolines_ = std::make_unique<TIsolines>();
    if (!chosen.perElement) BuildIsolines(*isolines_, static_cast<int>(chosen.field), *solver_);
    fringeView_.Show(BuildFringeField(*solver_, chosen),
                     QString::fromLatin1(chosen.label).chopped(1));
  } else {
    fringeView_.Clear();
  }
  RefitForLegend();
  redraw();
}

// ---------------------------------------------------------------- editing

void TMainWindow::SelectEdgeEnd(int edge, int end) { editing_.SelectEdgeEnd(edge, end); }

void TMainWindow::ApplyEdits() {
  if (busy_) return;
  // The edge end the user chose in the editor stays chosen when the edge is shown again.
  const bool endChosen =
      rollup_ && rollup_->Kind() == SelectionKind::edge && rollup_->EndSelected();
  const QString name = EditRequestName(editing_.Request());
  history_->Record([&] {
    editing_.ApplyEdits();
    return name;
  });
  // The request now holds zeros, and a refused move never happened: show what the job holds.
  editing_.ShowSelectionAgain();
  if (endChosen && rollup_->Kind() == SelectionKind::edge && !rollup_->EndSelected())
    rollup_->ToggleEdgeEnd();
}

void TMainWindow::ShowSelection(SelectionKind kind, std::span<const int> ids,
                                const std::array<double, 6>& c) {
  if (rollup_) rollup_->ShowSelection(kind, ids, c);
  UpdateDeleteCommand();
}

// ---------------------------------------------------------------- undo and deletion

void TMainWindow::UpdateDeleteCommand() {
  EditDelete->setEnabled(!busy_ &&
                         CanDelete(*structure_, editing_.selectionKind, editing_.SelectedIndex()));
}

void TMainWindow::DeleteClick() {
  if (busy_) return;
  const SelectionKind kind = editing_.selectionKind;
  const int index = editing_.SelectedIndex();
  if (!CanDelete(*structure_, kind, index)) return;
  history_->Record([&] {
    *structure_ = JobWithout(*structure_, kind, index);
    return QStringLiteral("Delete %1 %2")
        .arg(kind == SelectionKind::polygon ? "polygon" : "node")
        .arg(index);
  });
  modified = true;
  editing_.ClearSelection();
  ShowSelection(SelectionKind::none, std::array<int, 1>{-1}, {});
  redraw();
}

JobState TMainWindow::CurrentJobState() const {
  return JobState{*structure_, editing_.Drawing(), pipeline_.generateMesh};
}

void TMainWindow::RestoreJobState(const JobState& state) {
  *structure_ = state.job;
  editing_.RestoreDrawing(state.drawing);
  pipeline_.generateMesh = state.meshable;
  modified = true;
  if (meshedJob_ != structure_->JobText()) DropMeshAndResults();
  UpdateCommands();
  redraw();
  ShowSelection(SelectionKind::none, std::array<int, 1>{-1}, {});
}

}  // namespace tavrin

#include "ui/WorkbenchActions.h"

#include <QAction>
#include <QComboBox>
#include <QFileInfo>
#include <QMenuBar>
#include <QToolBar>
#include <QUndoStack>
#include <algorithm>
#include <initializer_list>
#include <tuple>

#include "ui/ResultViews.h"
#include "ui/TMainWindow.h"
#include "ui/TRollup.h"
#include "ui/ToolIcons.h"

namespace tavrin {

namespace {

void AddMenus(TMainWindow& window, WorkbenchActions& a) {
  QMenuBar* bar = window.menuBar();
  QMenu* file = bar->addMenu("File");
  file->addActions({a.New1, a.Open1});
  if (a.ImportDxf) file->addAction(a.ImportDxf);
  file->addActions({a.Save1, a.FileSaveAs, a.ExportVtk, a.SavePicture});
  a.recentMenu = file->addMenu("Recent Files");
  a.recentMenu->setObjectName("RecentFilesMenu");
  a.recentMenu->menuAction()->setObjectName("RecentFiles");
  file->addAction(a.Exit1);
  QMenu* edit = bar->addMenu("Edit ...");
  edit->addActions({a.EditUndo, a.EditRedo, a.EditDelete, a.DrawCircle});
  edit->addSeparator();
  edit->addActions({a.GeomRollup, a.LoadsRollup, a.ConstrRollup, a.PhysicsRollup, a.CloseRollup});
  edit->addSeparator();
  edit->addAction(a.LoadCases);
  QMenu* view = bar->addMenu("View");
  view->addActions({a.ZoominButton, a.ZoomoutButton, a.ZoomFit});
  view->addSeparator();
  view->addActions({a.ColourFringes, a.DeflectedShape});
  QMenu* mesh = bar->addMenu("Mesh");
  mesh->addActions({a.Generatemesh, a.ParametersStats1});
  QMenu* solve = bar->addMenu("Solve");
  solve->addActions({a.SolveStaticMenu, a.SolveStressMenu, a.AdaptiveSolve, a.CosmosInputFile,
                     a.LocalStiffnessMatrix});
  QMenu* results = bar->addMenu("Results");
  results->addAction(a.ResDlgMenu);
  bar->addAction(a.Help1);
}

void AddToolBar(TMainWindow& window, WorkbenchActions& a, bool fringesOn) {
  QToolBar* bar = window.addToolBar("ToolBar1");
  bar->setObjectName("ToolBar1");
  bar->setMovable(false);
  bar->setIconSize(QSize(20, 20));
  bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
  // The icon shows only on the tool bar. Buttons without a hint of their own must not fall back
  // on Qt's default hint (the menu caption).
  enum Hint { kHint, kNoHint };
  auto button = [bar](QAction* action, const char* name, ToolIcon icon, Hint hint) {
    action->setIcon(MakeToolIcon(icon));
    action->setIconVisibleInMenu(false);
    bar->addAction(action);
    if (QWidget* w = bar->widgetForAction(action)) {
      w->setObjectName(name);
      w->setFixedSize(25, 25);
      // Speed buttons never hold the focus: Space is a stop key, never a click on the last
      // button tabbed to.
      w->setFocusPolicy(Qt::NoFocus);
      if (hint == kNoHint) w->setProperty(kNoHintProperty, true);
    }
  };
  button(a.Open1, "openbutton", ToolIcon::Open, kNoHint);
  button(a.Save1, "savebutton", ToolIcon::Save, kNoHint);
  bar->addSeparator();
  button(a.newpolygon, "newpolygon", ToolIcon::Polygon, kNoHint);
  button(a.newvertex, "newvertex", ToolIcon::Vertex, kHint);
  button(a.editvertex, "editvertex", ToolIcon::Edit, kHint);
  bar->addSeparator();
  button(a.Generatemesh, "GMeshButton", ToolIcon::Mesh, kHint);
  button(a.SolveStaticMenu, "SolveStatic", ToolIcon::SolveStatic, kHint);
  button(a.SolveStressMenu, "SolveStress", ToolIcon::SolveStress, kNoHint);
  bar->addSeparator();
  button(a.ZoominButton, "ZoominButton", ToolIcon::ZoomIn, kHint);
  button(a.ZoomoutButton, "ZoomoutButton", ToolIcon::ZoomOut, kHint);
  button(a.ZoomFit, "ZoomFitButton", ToolIcon::ZoomFit, kHint);
  bar->addSeparator();
  a.ViewSelector = new QComboBox(bar);
  a.ViewSelector->setObjectName("ViewSelector");
  for (const ResultView& v : ResultViews()) a.ViewSelector->addItem(v.item);
  a.ViewSelector->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  a.ViewSelector->setFocusPolicy(Qt::NoFocus);
  QObject::connect(a.ViewSelector, &QComboBox::activated, &window,
                   [&window](int) { window.ChangeView(); });
  bar->addWidget(a.ViewSelector);
  a.CaseSelector = new QComboBox(bar);
  a.CaseSelector->setObjectName("CaseSelector");
  a.CaseSelector->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  a.CaseSelector->setFocusPolicy(Qt::NoFocus);
  a.CaseSelector->setToolTip("The load case, combination or envelope the result views show");
  QObject::connect(a.CaseSelector, &QComboBox::activated, &window,
                   [&window](int) { window.ChangeView(); });
  a.CaseSelectorShown = bar->addWidget(a.CaseSelector);
  a.CaseSelectorShown->setObjectName("CaseSelectorShown");
  a.CaseSelectorShown->setVisible(false);
  a.ViewStyle = new QComboBox(bar);
  a.ViewStyle->setObjectName("ViewStyle");
  a.ViewStyle->addItems({"Fringes", "Isolines"});
  a.ViewStyle->setCurrentIndex(fringesOn ? 0 : 1);
  a.ViewStyle->setFocusPolicy(Qt::NoFocus);
  a.ViewStyle->setToolTip("Result views drawn as colour fringes or as isolines");
  QObject::connect(a.ViewStyle, &QComboBox::activated, &window,
                   [&window](int index) { window.SetFringes(index == 0); });
  bar->addWidget(a.ViewStyle);
}

// Every command's tip names it and its shortcut ("Save (Ctrl+S)"), in the menus too; the tool
// buttons with a hint of their own keep it word for word, and those marked as showing none
// still show none (the window's event filter sees to that).
void NameShortcutsInTips(TMainWindow& window, std::initializer_list<QAction*> ownHints) {
  for (QAction* action : window.findChildren<QAction*>()) {
    if (action->isSeparator() || action->menu() || action->text().isEmpty() ||
        std::find(ownHints.begin(), ownHints.end(), action) != ownHints.end())
      continue;
    QString tip = action->text().remove('&');
    if (!action->shortcut().isEmpty())
      tip += " (" + action->shortcut().toString(QKeySequence::NativeText) + ")";
    action->setToolTip(tip);
  }
  for (QMenu* menu : window.menuBar()->findChildren<QMenu*>()) menu->setToolTipsVisible(true);
}

}  // namespace

WorkbenchActions BuildWorkbenchActions(TMainWindow& window, QUndoStack& undo, bool fringesOn) {
  TMainWindow* w = &window;
  auto action = [w](const char* name, const QString& text, auto slot) {
    auto* a = new QAction(text, w);
    a->setObjectName(name);
    QObject::connect(a, &QAction::triggered, w, slot);
    return a;
  };
  auto page = [w](int tab) {
    return [w, tab] {
      if (w->Rollup()) w->Rollup()->ShowPage(tab);
    };
  };
  WorkbenchActions a;
  a.New1 = action("New1", "New", [w] { w->New1Click(); });
  a.Open1 = action("Open1", "Open", [w] { w->Open1Click(); });
#ifdef TAVRIN_HAVE_DXF
  a.ImportDxf = action("ImportDxf", "Import DXF...", [w] { w->ImportDxfClick(); });
#endif
  a.Save1 = action("Save1", "Save", [w] { (void)w->Save1Click(); });
  a.FileSaveAs = action("FileSaveAs", "Save As", [w] { (void)w->FileSaveAsClick(); });
  a.Exit1 = action("Exit1", "Exit", [w] { w->close(); });
  a.GeomRollup = action("GeomRollup", "Geometry...", page(TRollup::TabGeometry));
  a.LoadsRollup = action("LoadsRollup", "Loads...", page(TRollup::TabLoads));
  a.LoadCases = action("LoadCases", "Load cases...", [w] { w->LoadCasesClick(); });
  a.ConstrRollup = action("ConstrRollup", "Constrains...", page(TRollup::TabConstrains));
  a.PhysicsRollup = action("PhysicsRollup", "Polygon Physics...", page(TRollup::TabPhysics));
  a.CloseRollup = action("CloseRollup", "Close Editor", [w] {
    if (w->Rollup()) w->Rollup()->hide();
  });
  a.Generatemesh = action("Generatemesh", "Generate mesh", [w] { w->GenerateMeshClick(); });
  a.ParametersStats1 =
      action("ParametersStats1", "Parameters && Stats", [w] { w->ParametersStats1Click(); });
  a.SolveStaticMenu = action("SolveStaticMenu", "Solve Static", [w] { w->SolveStaticClick(); });
  a.SolveStressMenu = action("SolveStressMenu", "Solve Stress", [w] { w->SolveStressClick(); });
  a.AdaptiveSolve = action("AdaptiveSolve", "Adaptive Solve", [w] { w->AdaptiveSolveClick(); });
  a.AdaptiveSolve->setToolTip(
      "Solve, estimate the error and remesh where it is, until the target in Mesh, Parameters "
      "&& Stats");
  a.CosmosInputFile =
      action("CosmosInputFile", "COSMOS Input File", [w] { w->CosmosInputFileClick(); });
  a.LocalStiffnessMatrix = action("LocalStiffnessMatrix", "Local Stiffness Matrix",
                                  [w] { w->LocalStiffnessMatrixClick(); });
  a.ResDlgMenu = action("ResDlgMenu", "View Results", [w] { w->ResDlgMenuClick(); });
  a.ExportVtk = action("ExportVtk", "Export VTK", [w] { w->ExportVtkClick(); });
  a.SavePicture = action("SavePicture", "Save picture", [w] { w->SavePictureClick(); });
  a.Help1 = action("Help1", "About", [w] { w->AboutClick(); });
  a.newpolygon = action("newpolygon", "Polygon", [w] { w->NewPolygonClick(); });
  a.newvertex = action("newvertex", "Vertex", [w] { w->NewVertexClick(); });
  a.newvertex->setToolTip("New Vertex");
  a.DrawCircle = action("DrawCircle", "Circle...", [w] { w->DrawCircleClick(); });
  a.editvertex = action("editvertex", "Edit", [w] {
    if (w->Rollup()) w->Rollup()->show();
  });
  a.editvertex->setToolTip("Transform Rollup");
  a.ZoominButton = action("ZoominButton", "Zoom In", [w] { w->ZoominButtonClick(); });
  a.ZoominButton->setToolTip("Zoom In");
  a.ZoomoutButton = action("ZoomoutButton", "Zoom Out", [w] { w->ZoomoutButtonClick(); });
  a.ZoomoutButton->setToolTip("Zoom Out");
  a.ZoomFit = action("ZoomFit", "Zoom to fit", [w] { w->ZoomFitClick(); });
  a.ZoomFit->setShortcut(Qt::Key_F);
  a.ColourFringes = action("ColourFringes", "Colour fringes", [] {});
  a.ColourFringes->setCheckable(true);
  a.ColourFringes->setChecked(fringesOn);
  QObject::connect(a.ColourFringes, &QAction::triggered, w,
                   [w](bool checked) { w->SetFringes(checked); });
  a.DeflectedShape =
      action("DeflectedShape", "Deflected shape 3D", [w] { w->DeflectedShapeClick(); });
  a.EditDelete = action("EditDelete", "Delete", [w] { w->DeleteClick(); });
  a.EditDelete->setShortcut(QKeySequence::Delete);
  a.EditUndo = undo.createUndoAction(w, "Undo");
  a.EditUndo->setObjectName("EditUndo");
  a.EditUndo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
  a.EditRedo = undo.createRedoAction(w, "Redo");
  a.EditRedo->setObjectName("EditRedo");
  a.EditRedo->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
  a.New1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
  a.Open1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
  a.Save1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
  a.FileSaveAs->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
  a.Exit1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
  a.Generatemesh->setToolTip("Generate mesh");
  a.SolveStaticMenu->setToolTip("Static solvation");
  // The arrow keys move the view over the job; as shortcuts they repeat while held.
  for (auto [name, text, key] : {std::tuple{"PanLeft", "Pan left", Qt::Key_Left},
                                 {"PanRight", "Pan right", Qt::Key_Right},
                                 {"PanUp", "Pan up", Qt::Key_Up},
                                 {"PanDown", "Pan down", Qt::Key_Down}}) {
    QAction* pan = action(name, text, [w, k = key] { w->PanKey(k); });
    pan->setShortcut(key);
    w->addAction(pan);
  }
  AddMenus(window, a);
  AddToolBar(window, a, fringesOn);
  NameShortcutsInTips(window, {a.newvertex, a.editvertex, a.ZoominButton, a.ZoomoutButton,
                               a.Generatemesh, a.SolveStaticMenu});
  return a;
}

void FillRecentMenu(QMenu& menu, const QStringList& paths,
                    const std::function<void(const QString&)>& open,
                    const std::function<void()>& clear) {
  menu.clear();
  for (int i = 0; i < paths.size(); ++i) {
    const QString path = paths[i];
    QAction* a =
        menu.addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(path).fileName()));
    a->setObjectName(QStringLiteral("RecentFile%1").arg(i));
    a->setToolTip(path);
    a->setStatusTip(path);
    QObject::connect(a, &QAction::triggered, &menu, [open, path] { open(path); });
  }
  if (paths.isEmpty()) return;
  menu.addSeparator();
  QAction* clearItem = menu.addAction("Clear list");
  clearItem->setObjectName("ClearRecentFiles");
  QObject::connect(clearItem, &QAction::triggered, &menu, [clear] { clear(); });
}

}  // namespace tavrin

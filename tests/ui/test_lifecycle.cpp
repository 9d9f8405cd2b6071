// The job lifecycle of the main window: caption, New, Open, Save, Save As, closing.
#include <QComboBox>
#include <QHelpEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>
#include <map>

#include "tests/ui/WorkbenchFixture.h"

namespace tavrin::test {
namespace {

using Lifecycle = Workbench;

TEST_F(Lifecycle, CaptionShowsProgramAndLastPathComponent) {
  EXPECT_EQ(window->windowTitle().toStdString(), "TAVRIN 0.9b - Untitled");
  window->SetTitle("/srv/jobs/plate.sam");
  EXPECT_EQ(window->windowTitle().toStdString(), "TAVRIN 0.9b - plate.sam");
  EXPECT_EQ(window->FileName(), "/srv/jobs/plate.sam");
  window->SetTitle("C:\\jobs\\slab.sam");
  EXPECT_EQ(window->windowTitle().toStdString(), "TAVRIN 0.9b - slab.sam");
  window->SetTitle("D:plate.sam");
  EXPECT_EQ(window->windowTitle().toStdString(), "TAVRIN 0.9b - plate.sam");
}

TEST_F(Lifecycle, StartStateDisablesThePipeline) {
  for (const char* name : {"Generatemesh", "SolveStaticMenu", "SolveStressMenu", "CosmosInputFile",
                           "LocalStiffnessMatrix", "ExportVtk"})
    EXPECT_FALSE(Enabled(name)) << name;
  for (const char* name :
       {"New1", "Open1", "Save1", "FileSaveAs", "Exit1", "newpolygon", "newvertex",
        "ParametersStats1", "ResDlgMenu", "Help1", "ZoominButton", "ZoomoutButton"})
    EXPECT_TRUE(Enabled(name)) << name;
  EXPECT_EQ(window->PanelText(0), "Coords");
  EXPECT_EQ(CurrentViewTransform().scale, 0.5);
  EXPECT_EQ(CurrentViewTransform().canvasHeight, window->PlanArea()->height());
}

TEST_F(Lifecycle, OpenLoadsAndEnablesMeshing) {
  OpenThroughDialog(ExamplePath("square.sam"));
  EXPECT_EQ(platform.filters.back().filter, "Point File(*.SAM)|*.sam");
  EXPECT_EQ(platform.filters.back().defaultExtension, "sam");
  EXPECT_EQ(window->Structure().NodeCount(), 5);
  EXPECT_TRUE(Enabled("Generatemesh"));
  EXPECT_FALSE(Enabled("SolveStaticMenu"));
  EXPECT_FALSE(window->Modified());
  EXPECT_EQ(window->windowTitle().toStdString(), "TAVRIN 0.9b - square.sam");
  EXPECT_TRUE(platform.messages.empty());
}

// A cancelled dialog, and a file that cannot be read, leave the current job as it was.
TEST_F(Lifecycle, OpenKeepsTheJobUnlessAFileIsRead) {
  window->Structure().AddFreeNode(10, 10);
  window->Document().SetModified(true);
  platform.answers.push_back(false);  // "Job modified. Save?" No
  window->Open1Click();               // and the dialog cancelled
  ASSERT_EQ(platform.confirmations.size(), 1u);
  EXPECT_EQ(platform.confirmations[0].text, "Job modified. Save?");
  EXPECT_EQ(window->Structure().NodeCount(), 1);
  EXPECT_TRUE(window->Modified());

  platform.answers.push_back(false);
  OpenThroughDialog((dir / "missing.sam").string());
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].caption, "Error!");
  EXPECT_NE(platform.messages[0].text.find("missing.sam"), std::string::npos);
  EXPECT_EQ(window->Structure().NodeCount(), 1);
  EXPECT_EQ(window->FileName(), "Untitled");
}

TEST_F(Lifecycle, NewAsksToSaveAModifiedJob) {
  window->Structure().AddFreeNode(10, 10);
  window->Document().SetModified(true);
  std::string path = (dir / "kept.sam").string();
  platform.answers.push_back(true);  // Yes: Save, which runs Save As on "Untitled"
  platform.files.push_back(path);
  window->New1Click();
  ASSERT_EQ(platform.confirmations.size(), 1u);
  EXPECT_EQ(platform.confirmations[0].text, "Job modified. Save?");
  EXPECT_TRUE(std::filesystem::exists(path));
  EXPECT_EQ(window->Structure().NodeCount(), 0);
  EXPECT_FALSE(window->Modified());

  window->Structure().AddFreeNode(10, 10);
  window->Document().SetModified(true);
  platform.answers.push_back(false);  // No discards
  window->New1Click();
  EXPECT_EQ(window->Structure().NodeCount(), 0);
}

TEST_F(Lifecycle, SaveKeepsTheModifiedFlagUnlessItWrote) {
  window->Structure().AddFreeNode(10, 10);
  window->Document().SetModified(true);
  EXPECT_FALSE(window->Save1Click());  // Save As cancelled
  EXPECT_TRUE(window->Modified());

  window->SetTitle((dir / "no-such-folder" / "job.sam").string());
  EXPECT_FALSE(window->Save1Click());
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].caption, "Error!");
  EXPECT_TRUE(window->Modified());

  window->SetTitle((dir / "job.sam").string());
  EXPECT_TRUE(window->Save1Click());
  EXPECT_FALSE(window->Modified());
  EXPECT_TRUE(std::filesystem::exists(dir / "job.sam"));
}

TEST_F(Lifecycle, SaveAsLeavesTheFlagAndRenames) {
  window->Document().SetModified(true);
  platform.files.push_back((dir / "renamed.sam").string());
  EXPECT_TRUE(window->FileSaveAsClick());
  EXPECT_EQ(platform.filters.back().filter, "Point File (*.SAM)|*.sam");
  EXPECT_TRUE(window->Modified());
  EXPECT_EQ(window->windowTitle().toStdString(), "TAVRIN 0.9b - renamed.sam");
}

TEST_F(Lifecycle, ClosingAModifiedJobAsksWithoutFullStop) {
  window->Document().SetModified(true);
  platform.answers.push_back(false);
  EXPECT_TRUE(window->close());
  ASSERT_EQ(platform.confirmations.size(), 1u);
  EXPECT_EQ(platform.confirmations[0].text, "Job modified Save?");
}

TEST_F(Lifecycle, ZoomStepsRepaintAndKeepTheOrigin) {
  window->ZoominButtonClick();
  EXPECT_EQ(CurrentViewTransform().scale, 0.25);
  Action("ZoomoutButton")->trigger();
  Action("ZoomoutButton")->trigger();
  Action("ZoomoutButton")->trigger();
  EXPECT_EQ(CurrentViewTransform().scale, 2.0);
  EXPECT_EQ(CurrentViewTransform().originX, 0.0);
  window->New1Click();
  EXPECT_EQ(CurrentViewTransform().scale, 0.5);
}

TEST_F(Lifecycle, CoordinatesUnderTheMouse) {
  int h = window->PlanArea()->height();
  window->mousemoved(200, h - 100);
  EXPECT_EQ(window->PanelText(1), "100:50");
  QPointF at(20, h - 30);
  QMouseEvent move(QEvent::MouseMove, at, window->PlanArea()->mapToGlobal(at), Qt::NoButton,
                   Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(window->PlanArea(), &move);
  EXPECT_EQ(window->PanelText(1), "10:15");
}

// Menus, items, tool-bar buttons and views in their order, with their captions.
TEST_F(Lifecycle, MenusToolBarAndViewsInOrder) {
  std::string menus;
  for (QAction* top : window->menuBar()->actions()) {
    menus += top->text().toStdString() + ":";
    if (QMenu* menu = top->menu())
      for (QAction* item : menu->actions())
        menus += (QStringLiteral(" %1=%2").arg(item->objectName(), item->text())).toStdString();
    else
      (menus += ' ') += top->objectName().toStdString();
    menus += "\n";
  }
#ifdef TAVRIN_HAVE_DXF
  const std::string import = "ImportDxf=Import DXF... ";
#else
  const std::string import;
#endif
  EXPECT_EQ(menus,
            "File: New1=New Open1=Open " + import +
                "Save1=Save FileSaveAs=Save As ExportVtk=Export VTK "
                "SavePicture=Save picture "
                "RecentFiles=Recent Files "
                "Exit1=Exit\n"
                "Edit ...: EditUndo=Undo EditRedo=Redo EditDelete=Delete DrawCircle=Circle... = "
                "GeomRollup=Geometry... "
                "LoadsRollup=Loads... ConstrRollup=Constrains... PhysicsRollup=Polygon Physics... "
                "CloseRollup=Close Editor = LoadCases=Load cases...\n"
                "View: ZoominButton=Zoom In ZoomoutButton=Zoom Out ZoomFit=Zoom to fit = "
                "ColourFringes=Colour fringes "
                "DeflectedShape=Deflected shape 3D\n"
                "Mesh: Generatemesh=Generate mesh ParametersStats1=Parameters && Stats\n"
                "Solve: SolveStaticMenu=Solve Static SolveStressMenu=Solve Stress "
                "AdaptiveSolve=Adaptive Solve CosmosInputFile=COSMOS Input File "
                "LocalStiffnessMatrix=Local Stiffness Matrix\n"
                "Results: ResDlgMenu=View Results\n"
                "About: Help1\n");
  // The standard keys of the file and edit commands, F and the arrows for the view; no others.
  const std::map<std::string, std::string> keys = {{"New1", "Ctrl+N"},
                                                   {"Open1", "Ctrl+O"},
                                                   {"Save1", "Ctrl+S"},
                                                   {"FileSaveAs", "Ctrl+Shift+S"},
                                                   {"Exit1", "Ctrl+Q"},
                                                   {"EditUndo", "Ctrl+Z"},
                                                   {"EditRedo", "Ctrl+Shift+Z"},
                                                   {"EditDelete", "Del"},
                                                   {"ZoomFit", "F"},
                                                   {"PanLeft", "Left"},
                                                   {"PanRight", "Right"},
                                                   {"PanUp", "Up"},
                                                   {"PanDown", "Down"}};
  for (QAction* a : window->findChildren<QAction*>()) {
    auto key = keys.find(a->objectName().toStdString());
    EXPECT_EQ(a->shortcut().toString().toStdString(), key == keys.end() ? "" : key->second)
        << a->objectName().toStdString();
  }

  auto* bar = window->findChild<QToolBar*>("ToolBar1");
  ASSERT_NE(bar, nullptr);
  std::string buttons;
  for (QAction* a : bar->actions()) {
    QWidget* w = bar->widgetForAction(a);
    buttons += a->isSeparator() ? std::string("|")
               : w              ? w->objectName().toStdString()
                                : std::string("?");
    buttons += " ";
  }
  EXPECT_EQ(buttons,
            "openbutton savebutton | newpolygon newvertex editvertex | GMeshButton SolveStatic "
            "SolveStress | "
            "ZoominButton ZoomoutButton ZoomFitButton | ViewSelector CaseSelector ViewStyle ");

  auto* views = window->findChild<QComboBox*>("ViewSelector");
  QStringList items;
  for (int i = 0; i < views->count(); ++i) items << views->itemText(i);
  EXPECT_EQ(items.join("; ").toStdString(),
            "Normal View; UX Lin. Displacement isolines; RX Rot. Displacement isolines; RY Rot. "
            "Displacement isolines; "
            "Sigma X stress isolines; Sigma Y stress isolines; Tau XY stress isolines; Mx bending "
            "moment; "
            "My bending moment; Mxy twisting moment; Error estimate; M1 principal moment; M2 "
            "principal moment; M1 direction; Qx shear force; Qy shear force; Q resultant shear "
            "force; Wood-Armer x bottom; Wood-Armer y bottom; Wood-Armer x top; Wood-Armer y top; "
            "Von Mises stress top; Von Mises stress bottom; Foundation pressure");
  EXPECT_FALSE(views->isEditable());
}

// The Edit menu's page items open the property editor at their page; Close Editor closes it,
// and the tool bar's Edit button brings it back.
TEST_F(Lifecycle, EditMenuOpensAndClosesThePropertyEditor) {
  TRollup* editor = window->Rollup();
  ASSERT_NE(editor, nullptr);
  auto* pages = editor->findChild<QTabWidget*>();
  ASSERT_NE(pages, nullptr);
  Action("LoadsRollup")->trigger();
  EXPECT_TRUE(editor->isVisible());
  EXPECT_EQ(pages->currentIndex(), TRollup::TabLoads);
  Action("CloseRollup")->trigger();
  EXPECT_FALSE(editor->isVisible());
  Action("editvertex")->trigger();
  EXPECT_TRUE(editor->isVisible());
  EXPECT_EQ(pages->currentIndex(), TRollup::TabLoads);  // closing keeps the page
}

// Sees whether a tool-tip request reaches the object it watches.
struct ToolTipSpy : QObject {
  bool reached = false;
  bool eventFilter(QObject*, QEvent* event) override {
    reached = reached || event->type() == QEvent::ToolTip;
    return false;
  }
};

// The tool buttons show their own hints, and the ones that have none show none (not the menu
// caption that Qt would offer instead); the other commands' tips name their shortcuts.
TEST_F(Lifecycle, ToolButtonHints) {
  const std::pair<const char*, const char*> hints[] = {{"openbutton", ""},
                                                       {"savebutton", ""},
                                                       {"newpolygon", ""},
                                                       {"newvertex", "New Vertex"},
                                                       {"editvertex", "Transform Rollup"},
                                                       {"GMeshButton", "Generate mesh"},
                                                       {"SolveStatic", "Static solvation"},
                                                       {"SolveStress", ""},
                                                       {"ZoominButton", "Zoom In"},
                                                       {"ZoomoutButton", "Zoom Out"},
                                                       {"ZoomFitButton", "Zoom to fit (F)"}};
  for (const auto& [name, hint] : hints) {
    auto* button = window->findChild<QToolButton*>(name);
    ASSERT_NE(button, nullptr) << name;
    ToolTipSpy spy;
    button->installEventFilter(&spy);
    QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), button->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(button, &help);
    button->removeEventFilter(&spy);
    if (*hint == '\0') {
      EXPECT_FALSE(spy.reached) << name;
    } else {
      EXPECT_TRUE(spy.reached) << name;
      EXPECT_EQ(QToolTip::text().toStdString(), hint) << name;
    }
  }
  QToolTip::hideText();
  for (const auto& [name, tip] : {std::pair{"Save1", "Save (Ctrl+S)"},
                                  {"Open1", "Open (Ctrl+O)"},
                                  {"EditUndo", "Undo (Ctrl+Z)"},
                                  {"ResDlgMenu", "View Results"}})
    EXPECT_EQ(window->findChild<QAction*>(name)->toolTip().toStdString(), tip) << name;
}

}  // namespace
}  // namespace tavrin::test

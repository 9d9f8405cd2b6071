// WorkbenchActions: the main window's commands as actions, and the menu bar, tool bar and
// view selectors that show them. One action per command serves its menu item and its tool
// button, so enabling acts on both. The object names are the documented control names that
// tests and the monkey find the commands by.
//
// The actions are owned by the window (Qt parent); this struct only points to them.
#pragma once

#include <QStringList>
#include <functional>

class QAction;
class QComboBox;
class QMenu;
class QUndoStack;

namespace tavrin {

class TMainWindow;

// Marks a tool button that shows no hint: the window's event filter swallows its tool-tip events.
inline constexpr const char* kNoHintProperty = "tavrinNoHint";

struct WorkbenchActions {
  QAction* New1 = nullptr;
  QAction* Open1 = nullptr;
  QAction* ImportDxf = nullptr;  // null without dxflib
  QAction* Save1 = nullptr;
  QAction* FileSaveAs = nullptr;
  QAction* Exit1 = nullptr;
  QAction* newpolygon = nullptr;
  QAction* newvertex = nullptr;
  QAction* editvertex = nullptr;
  QAction* DrawCircle = nullptr;
  QAction* Generatemesh = nullptr;
  QAction* ParametersStats1 = nullptr;
  QAction* SolveStaticMenu = nullptr;
  QAction* SolveStressMenu = nullptr;
  QAction* AdaptiveSolve = nullptr;
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
  QAction* LoadCases = nullptr;  // the load cases, combinations and envelopes dialog
  QAction* ConstrRollup = nullptr;
  QAction* PhysicsRollup = nullptr;
  QAction* CloseRollup = nullptr;
  QAction* ZoomFit = nullptr;
  QAction* ColourFringes = nullptr;
  QAction* DeflectedShape = nullptr;
  QAction* EditUndo = nullptr;
  QAction* EditRedo = nullptr;
  QAction* EditDelete = nullptr;
  QMenu* recentMenu = nullptr;
  QComboBox* ViewSelector = nullptr;
  // The load case, combination or envelope the views show; on the tool bar only once a job
  // with load cases has been solved (CaseSelectorShown is its tool bar action).
  QComboBox* CaseSelector = nullptr;
  QAction* CaseSelectorShown = nullptr;
  QComboBox* ViewStyle = nullptr;
};

// Makes every action, connects it to the window's command, and builds the menu bar and the
// tool bar "ToolBar1" of window. undo is the job history's stack (its undo and redo actions).
WorkbenchActions BuildWorkbenchActions(TMainWindow& window, QUndoStack& undo, bool fringesOn);

// The File menu's recent files, newest first ("&1 plate.sam", the path as its tip), then
// "Clear list"; open and clear are what their items do.
void FillRecentMenu(QMenu& menu, const QStringList& paths,
                    const std::function<void(const QString&)>& open,
                    const std::function<void()>& clear);

}  // namespace tavrin

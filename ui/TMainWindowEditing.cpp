// The main window as the host of editing and undo: the drawing modes, the property editor's
// Apply, the selection shown in the editor, Delete, and the job states undo and redo exchange.
// Every change to the job goes through the history, which gives it a new revision; a restored
// state brings its revision back, and with it the mesh made of it, if that is still the mesh.
#include "ui/CircleDialog.h"
#include "ui/JobDeletion.h"
#include "ui/LoadCasesDialog.h"
#include "ui/Platform.h"
#include "ui/TMainWindow.h"

namespace tavrin {

// ---------------------------------------------------------------- editing

void TMainWindow::NewPolygonClick() {
  if (!busy_) editing_.NewPolygonButton();
}

void TMainWindow::NewVertexClick() {
  if (!busy_) editing_.NewVertexButton();
}

void TMainWindow::DrawCircleClick() {
  if (busy_) return;
  CircleDialog dialog(this);
  const std::optional<CircleInput> circle = dialog.Ask();
  if (!circle) return;
  history_->Record([&] {
    editing_.AddCircle(circle->cx, circle->cy, circle->radius, circle->hole);
    return QStringLiteral("Add circle");
  });
  UpdateDeleteCommand();
}

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

void TMainWindow::LoadCasesClick() {
  if (busy_) return;
  LoadCasesDialog dialog(Structure().Cases(), this);
  if (dialog.exec() == QDialog::Accepted) (void)EditLoadCases(dialog.Result());
}

std::string TMainWindow::EditLoadCases(const LoadCases& cases) {
  if (busy_) return {};
  std::string problem;
  history_->Record([&] {
    problem = Structure().SetCases(cases);
    return QStringLiteral("Edit load cases");
  });
  if (!problem.empty()) ShowError(problem);
  // The editor's case selector lists the cases now; a case deleted may have been the one shown.
  const int k = editing_.Request().loadCase;
  ChooseLoadCase(k < Structure().Cases().CaseCount() ? k : 0);
  return problem;
}

std::vector<std::string> TMainWindow::CaseNames() {
  const LoadCases& cases = Structure().Cases();
  std::vector<std::string> names;
  for (int k = 0; k < cases.CaseCount(); ++k) names.push_back(cases.CaseName(k));
  return names;
}

void TMainWindow::ChooseLoadCase(int k) {
  editing_.Request().loadCase = k;
  if (editing_.selectionKind != SelectionKind::none)
    editing_.ShowSelectionAgain();
  else if (rollup_)  // nothing selected: the editor still shows the case chosen
    rollup_->ShowSelection(SelectionKind::none, std::array<int, 1>{-1}, {});
}

void TMainWindow::ShowSelection(SelectionKind kind, std::span<const int> ids,
                                const std::array<double, 6>& c) {
  if (rollup_) rollup_->ShowSelection(kind, ids, c);
  UpdateDeleteCommand();
}

// ---------------------------------------------------------------- undo and deletion

void TMainWindow::UpdateDeleteCommand() {
  actions_.EditDelete->setEnabled(
      !busy_ && CanDelete(Structure(), editing_.selectionKind, editing_.SelectedIndex()));
}

void TMainWindow::DeleteClick() {
  if (busy_) return;
  const SelectionKind kind = editing_.selectionKind;
  const int index = editing_.SelectedIndex();
  if (!CanDelete(Structure(), kind, index)) return;
  history_->Record([&] {
    Structure() = JobWithout(Structure(), kind, index);
    return QStringLiteral("Delete %1 %2")
        .arg(kind == SelectionKind::polygon ? "polygon" : "node")
        .arg(index);
  });
  editing_.ClearSelection();
  ShowSelection(SelectionKind::none, std::array<int, 1>{-1}, {});
  redraw();
}

JobState TMainWindow::CurrentJobState() const {
  return JobState{document_.Job(), editing_.Drawing(), pipeline_.generateMesh,
                  document_.CurrentRevision()};
}

std::uint64_t TMainWindow::JobChanged() {
  document_.Changed();
  return document_.CurrentRevision();
}

void TMainWindow::RestoreJobState(const JobState& state) {
  Structure() = state.job;
  editing_.RestoreDrawing(state.drawing);
  pipeline_.generateMesh = state.meshable;
  document_.SetModified(true);
  document_.RestoreRevision(state.revision);
  if (!document_.MeshMatchesJob()) DropMeshAndResults();
  UpdateCommands();
  redraw();
  ShowSelection(SelectionKind::none, std::array<int, 1>{-1}, {});
}

}  // namespace tavrin

// The main window's DXF import command: choosing the drawing, the dialog, and putting the job
// in place. Without dxflib the command is not offered and these do nothing.
#include <QDialog>

#include "ui/TMainWindow.h"

#ifdef TAVRIN_HAVE_DXF
#include "model/TObjCont.h"
#include "ui/DxfImportDialog.h"
#include "ui/Platform.h"
#endif

namespace tavrin {

#ifdef TAVRIN_HAVE_DXF
namespace {
const FileFilter kDxfFileFilter{"DXF drawing(*.DXF)|*.dxf", "dxf"};
}
#endif

void TMainWindow::ImportDxfClick() {
#ifdef TAVRIN_HAVE_DXF
  if (busy_) return;
  const std::string path = CurrentPlatform().ChooseOpenFile(kDxfFileFilter);
  if (path.empty()) return;
  DxfImportDialog dialog(path, this);
  if (dialog.exec() != QDialog::Accepted || !dialog.Importable()) return;
  PutImportedJob(dialog.Result().job);
#endif
}

bool TMainWindow::PutImportedJob(const TObjCont& job) {
  if (busy_) return false;
  // One step: undo puts the previous job back whole, as its file text had it. The recorded
  // edit gives the imported job a revision of its own, so no mesh of the old job matches it.
  history_->Record([&] {
    Structure() = job;
    editing_.RestoreDrawing(PolygonDrawing{});
    pipeline_.generateMesh = true;
    return QStringLiteral("Import DXF");
  });
  if (!document_.MeshMatchesJob()) DropMeshAndResults();
  editing_.ClearSelection();
  SetTitle(
      JobDocument::kUntitled);  // a new job: Save asks for its name, never overwrites the old one
  document_.SetModified(true);
  UpdateCommands();
  FitViewToJob();
  redraw();
  return true;
}

}  // namespace tavrin

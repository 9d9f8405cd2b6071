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
  // One step: undo puts the previous job back whole, as its file text had it.
  history_->Record([&] {
    RestoreJobState(JobState{job, PolygonDrawing{}, true});
    return QStringLiteral("Import DXF");
  });
  editing_.ClearSelection();
  SetTitle("Untitled");  // a new job: Save asks for its name, never overwrites the old one
  modified = true;
  FitViewToJob();
  redraw();
  return true;
}

}  // namespace tavrin

// DxfImportDialog: the dialog of File > Import DXF. Lists the drawing's layers to read (all at
// first, each with its entity count) and shows what the chosen layers make: a preview of the
// outline, the holes and the free nodes with the drawing's unit and counts, or the sentence that
// refuses them. OK is offered only for a drawing that imports whole.
//
// Owns its child widgets (Qt parent) and the last import; each change of the layer choice
// imports the drawing again (linear in the file, see importer/DxfImport.h). Built only with
// dxflib (TAVRIN_HAVE_DXF).
#pragma once

#ifdef TAVRIN_HAVE_DXF

#include <QDialog>
#include <string>
#include <vector>

#include "importer/DxfImport.h"

class QDialogButtonBox;
class QLabel;
class QListWidget;

namespace tavrin {

class DxfPreview;

class DxfImportDialog : public QDialog {
 public:
  // Imports the drawing at path with every layer read.
  DxfImportDialog(std::string path, QWidget* parent);

  // Reads exactly the named layers (as the user ticks them) and imports again.
  void ChooseLayers(const std::vector<std::string>& layers);
  // The last import: its job when it succeeded, its report, or its refusal.
  const dxf::ImportResult& Result() const { return result_; }
  // The summary line under the preview, as shown.
  QString Summary() const;
  bool Importable() const { return static_cast<bool>(result_); }

 private:
  void Import(const std::vector<std::string>& layers);
  std::vector<std::string> TickedLayers() const;

  std::string path_;
  dxf::ImportResult result_;
  QListWidget* layers_ = nullptr;        // Qt-owned; one checkable row per layer
  DxfPreview* preview_ = nullptr;        // Qt-owned
  QLabel* summary_ = nullptr;            // Qt-owned
  QDialogButtonBox* buttons_ = nullptr;  // Qt-owned
  bool filling_ = false;  // the layer list is being refilled: its changes are not the user's
};

}  // namespace tavrin

#endif

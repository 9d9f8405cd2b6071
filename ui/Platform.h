// The platform layer of the workbench: message boxes, Yes/No confirmations and file choosers.
// Windows never call QMessageBox or QFileDialog directly; they go through the current Platform,
// which production code leaves as the Qt implementation and tests replace with one that answers
// by itself. Texts are UTF-8. Qt stays out of this header.
#pragma once

#include <string>

namespace tavrin {

// A file chooser's filter in the form "Description|*.ext" (for example
// "Point File(*.SAM)|*.sam") plus the extension appended when the user types none ("sam").
struct FileFilter {
  std::string filter;
  std::string defaultExtension;
};

// The filters of the three file dialogs of the main window.
extern const FileFilter kOpenJobFilter;   // OpenFile
extern const FileFilter kSaveJobFilter;   // SaveFile
extern const FileFilter kDataFileFilter;  // SaveDataFile
// Export VTK and Save picture (whose format follows the extension of the chosen name).
extern const FileFilter kVtkFileFilter;
extern const FileFilter kPictureFileFilter;

class Platform {
 public:
  virtual ~Platform() = default;
  // A modal box with one OK button.
  virtual void ShowMessage(const std::string& text, const std::string& caption) = 0;
  // A modal box with Yes and No; true for Yes.
  virtual bool ConfirmYesNo(const std::string& text, const std::string& caption) = 0;
  // The chosen path, or an empty string when the user cancelled.
  virtual std::string ChooseOpenFile(const FileFilter& filter) = 0;
  virtual std::string ChooseSaveFile(const FileFilter& filter) = 0;
};

// The platform in use: the Qt one unless a test installed its own.
Platform& CurrentPlatform();
// Installs platform (not owned; it must outlive its use) and returns the one it replaces;
// nullptr puts the Qt platform back.
Platform* InstallPlatform(Platform* platform);

// The program's error box: one OK button, caption "Error!".
void ShowError(const std::string& text);

// Turns "Description|*.ext" into the Qt form "Description (*.ext)"; exposed for tests.
std::string QtFilterText(const std::string& filter);
// The extension a chooser appends to a typed name without one while the Qt filter entry
// ("SVG Image (*.svg)") is chosen: its first pattern's, else fallback.
std::string FilterExtension(const std::string& entry, const std::string& fallback);

}  // namespace tavrin

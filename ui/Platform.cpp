// The Qt implementation of the platform layer: QMessageBox and QFileDialog, parented to the
// active window so that the boxes stay on top of the workbench.
#include "ui/Platform.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QString>
#include <utility>

namespace tavrin {

const FileFilter kOpenJobFilter{"Point File(*.SAM)|*.sam", "sam"};
const FileFilter kSaveJobFilter{"Point File (*.SAM)|*.sam", "sam"};
const FileFilter kDataFileFilter{"ASCII Data Files (*.TVD)|*.tvd", "TVD"};
const FileFilter kVtkFileFilter{"VTK Unstructured Grid (*.vtu)|*.vtu", "vtu"};
const FileFilter kPictureFileFilter{"PNG Image (*.png)|*.png|SVG Image (*.svg)|*.svg", "png"};

std::string QtFilterText(const std::string& filter) {
  // Pairs of description|pattern, separated by '|', become Qt's ";;"-separated entries.
  std::string out;
  size_t pos = 0;
  while (pos <= filter.size()) {
    size_t bar = filter.find('|', pos);
    std::string description =
        filter.substr(pos, bar == std::string::npos ? std::string::npos : bar - pos);
    std::string pattern;
    if (bar != std::string::npos) {
      size_t next = filter.find('|', bar + 1);
      pattern =
          filter.substr(bar + 1, next == std::string::npos ? std::string::npos : next - bar - 1);
      pos = next == std::string::npos ? filter.size() + 1 : next + 1;
    } else {
      pos = filter.size() + 1;
    }
    if (!out.empty()) out += ";;";
    out += pattern.empty() ? description : description + " (" + pattern + ")";
  }
  return out;
}

std::string FilterExtension(const std::string& entry, const std::string& fallback) {
  const std::size_t star = entry.find("*.");
  if (star == std::string::npos) return fallback;
  const std::size_t end = entry.find_first_of(" ;)", star);
  const std::string extension =
      entry.substr(star + 2, end == std::string::npos ? std::string::npos : end - star - 2);
  return extension.empty() || extension == "*" ? fallback : extension;
}

namespace {

QWidget* DialogParent() { return QApplication::activeWindow(); }

// A name typed without an extension takes the chosen filter's, before the dialog asks whether
// to replace an existing file of that name (it asks in accept, with the suffix appended). The
// typed name wins over the list's selection, which the dialog's completion may have set to a
// file of another filter (pic2.png for "pic2", completed while PNG was the filter).
class SuffixedFileDialog : public QFileDialog {
 public:
  SuffixedFileDialog(QWidget* parent, std::string fallback)
      : QFileDialog(parent), fallback_(std::move(fallback)) {}
  void accept() override {
    setDefaultSuffix(
        QString::fromStdString(FilterExtension(selectedNameFilter().toStdString(), fallback_)));
    const auto* typed = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    if (acceptMode() == AcceptSave && typed && !typed->text().isEmpty())
      for (QAbstractItemView* view : findChildren<QAbstractItemView*>())
        if (view->selectionModel()) view->selectionModel()->clearSelection();
    QFileDialog::accept();
  }

 private:
  std::string fallback_;
};

std::string ChooseFile(const FileFilter& filter, QFileDialog::AcceptMode mode) {
  SuffixedFileDialog dialog(DialogParent(), filter.defaultExtension);
  dialog.setAcceptMode(mode);
  dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                     : QFileDialog::AnyFile);
  dialog.setNameFilter(QString::fromStdString(QtFilterText(filter.filter)));
  dialog.setDefaultSuffix(QString::fromStdString(filter.defaultExtension));
  // The completion of a typed name looks for it with the suffix: the chosen filter's.
  QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString& entry) {
    dialog.setDefaultSuffix(
        QString::fromStdString(FilterExtension(entry.toStdString(), filter.defaultExtension)));
  });
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().first().toStdString();
}

class QtPlatform final : public Platform {
 public:
  // Plain boxes without an icon: the caption says what kind of message it is ("Error!",
  // "Cool!"), and an information icon on an error box would contradict it.
  void ShowMessage(const std::string& text, const std::string& caption) override {
    QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(caption),
                    QString::fromStdString(text), QMessageBox::Ok, DialogParent());
    box.exec();
  }
  bool ConfirmYesNo(const std::string& text, const std::string& caption) override {
    QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(caption),
                    QString::fromStdString(text), QMessageBox::Yes | QMessageBox::No,
                    DialogParent());
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
  }
  std::string ChooseOpenFile(const FileFilter& filter) override {
    return ChooseFile(filter, QFileDialog::AcceptOpen);
  }
  std::string ChooseSaveFile(const FileFilter& filter) override {
    return ChooseFile(filter, QFileDialog::AcceptSave);
  }
};

QtPlatform qtPlatform;
Platform* installed = nullptr;

}  // namespace

Platform& CurrentPlatform() { return installed ? *installed : static_cast<Platform&>(qtPlatform); }

Platform* InstallPlatform(Platform* platform) {
  Platform* previous = installed ? installed : &qtPlatform;
  installed = platform == &qtPlatform ? nullptr : platform;
  return previous;
}

void ShowError(const std::string& text) { CurrentPlatform().ShowMessage(text, "Error!"); }

}  // namespace tavrin

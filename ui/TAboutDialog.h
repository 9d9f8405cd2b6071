// TAboutDialog: the modal about box with the program's name, version and what it does.
#pragma once

#include <QDialog>

#include "Version.h"  // kProgramVersion

namespace tavrin {

inline constexpr const char* kProgramName = "TAVRIN";
inline constexpr const char* kProgramDescription =
    "Finite-element analysis of thin plates in bending";

class TAboutDialog : public QDialog {
  Q_OBJECT
 public:
  explicit TAboutDialog(QWidget* parent = nullptr);
  // "About": shows the box modally.
  void Show() { exec(); }
};

}  // namespace tavrin

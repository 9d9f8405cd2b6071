// TAskBox, the element prompt "AskBox" of the Local Stiffness Matrix command: one field for the
// element number and an OK button. Owns its controls and keeps the last answer between
// openings; the answer is the text its field shows.
#pragma once

#include <QDialog>
#include <optional>
#include <string>

class QLineEdit;

namespace tavrin {

class TAskBox : public QDialog {
  Q_OBJECT
 public:
  explicit TAskBox(QWidget* parent = nullptr);

  // Runs the prompt modally; true when it was closed with OK.
  bool Ask();
  // The answer text: what the field shows (initially "0").
  std::string AnswerText() const;

 private:
  QLineEdit* answer_ = nullptr;
};

// The element number in text: optional blanks around an optional sign and decimal digits that
// fit an int; nothing else.
std::optional<int> ParseElementNumber(const std::string& text);

}  // namespace tavrin

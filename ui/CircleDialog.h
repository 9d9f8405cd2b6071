// CircleDialog, "Circle": the centre, the radius and the hole choice of a circle to add to the
// job as a closed polygon of arcs. Owns its controls and keeps the last answer between
// openings; the numbers are read as the property editor reads its fields.
#pragma once

#include <QDialog>
#include <optional>

class QCheckBox;
class QLineEdit;

namespace tavrin {

struct CircleInput {
  double cx = 0.0, cy = 0.0, radius = 0.0;
  bool hole = false;
};

class CircleDialog : public QDialog {
  Q_OBJECT
 public:
  explicit CircleDialog(QWidget* parent = nullptr);

  // Runs the dialog modally; the circle when it was closed with OK and every field holds a
  // number (a bad field is named in a message and the dialog stays open), else nothing.
  std::optional<CircleInput> Ask();

 private:
  void Accept();

  QLineEdit* centreX_ = nullptr;
  QLineEdit* centreY_ = nullptr;
  QLineEdit* radius_ = nullptr;
  QCheckBox* hole_ = nullptr;
  CircleInput answer_;
};

}  // namespace tavrin

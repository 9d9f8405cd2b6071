#include "ui/CircleDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

#include "ui/Platform.h"
#include "ui/TRollupFields.h"

namespace tavrin {

namespace {

QLineEdit* Field(QWidget* parent, const char* name, const char* text) {
  auto* field = new QLineEdit(QString::fromLatin1(text), parent);
  field->setObjectName(QString::fromLatin1(name));
  return field;
}

}  // namespace

CircleDialog::CircleDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("CircleBox"));
  setWindowTitle(QStringLiteral("Circle"));
  auto* form = new QFormLayout(this);
  centreX_ = Field(this, "CentreX", "0");
  centreY_ = Field(this, "CentreY", "0");
  radius_ = Field(this, "CircleRadius", "100");
  hole_ = new QCheckBox(QStringLiteral("Hole"), this);
  hole_->setObjectName(QStringLiteral("CircleHole"));
  form->addRow(QStringLiteral("Centre X:"), centreX_);
  form->addRow(QStringLiteral("Centre Y:"), centreY_);
  form->addRow(QStringLiteral("Radius:"), radius_);
  form->addRow(hole_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("OK"));
  buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("Cancel"));
  form->addRow(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &CircleDialog::Accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void CircleDialog::Accept() {
  const double x = ParseFieldValue(centreX_->text().toStdString());
  const double y = ParseFieldValue(centreY_->text().toStdString());
  const double r = ParseFieldValue(radius_->text().toStdString());
  for (auto [value, name] : {std::pair{x, "Centre X"}, {y, "Centre Y"}, {r, "Radius"}}) {
    if (IsInvalidFieldValue(value)) {
      std::string message = "Not a valid number in '";
      message += name;
      message += "' field";
      ShowError(message);
      return;
    }
  }
  answer_ = CircleInput{x, y, r, hole_->isChecked()};
  accept();
}

std::optional<CircleInput> CircleDialog::Ask() {
  radius_->setFocus();
  radius_->selectAll();
  if (exec() != QDialog::Accepted) return std::nullopt;
  return answer_;
}

}  // namespace tavrin

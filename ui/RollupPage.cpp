#include "ui/RollupPage.h"

#include <QCheckBox>
#include <QLineEdit>

#include "ui/Platform.h"
#include "ui/TRollupFields.h"

namespace tavrin {

RollupPage::RollupPage(const char* objectName) { setObjectName(QString::fromLatin1(objectName)); }

void RollupPage::Watch(QLineEdit* edit) {
  connect(edit, &QLineEdit::textChanged, this, [this] {
    if (!filling_) changed_ = true;
  });
}

// clicked, not toggled: only the user's click is a change.
void RollupPage::Watch(QCheckBox* box) {
  connect(box, &QCheckBox::clicked, this, [this] {
    if (!filling_) changed_ = true;
  });
}

QLineEdit* RollupPage::AddField(const char* objectName) {
  auto* e = new QLineEdit(this);
  e->setObjectName(QString::fromLatin1(objectName));
  // The window is meant to be narrow; the fields take the width the labels leave.
  e->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
  e->setMinimumWidth(48);
  return e;
}

QCheckBox* RollupPage::AddCheck(const char* objectName, const QString& caption) {
  auto* c = new QCheckBox(caption, this);
  c->setObjectName(QString::fromLatin1(objectName));
  return c;
}

QString RollupPage::Text(double value) { return QString::fromStdString(FormatFieldValue(value)); }

double RollupPage::Value(const QLineEdit* field) {
  return ParseFieldValue(field->text().toStdString());
}

bool RollupPage::ReadThree(const std::array<QLineEdit*, 3>& fields,
                           const std::array<const char*, 3>& messages, std::array<double, 3>& out) {
  bool ok = true;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    out[i] = Value(fields[i]);
    if (IsInvalidFieldValue(out[i])) {
      ShowError(messages[i]);
      ok = false;
    }
  }
  return ok;
}

void RollupPage::Address(const RollupSelection& selection, EditRequest& r, bool withEnd) {
  r.kind = selection.kind;
  r.index = selection.id;
  if (withEnd) r.moveBeginNode = !selection.endSelected;
}

}  // namespace tavrin

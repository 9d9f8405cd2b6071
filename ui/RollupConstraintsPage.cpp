#include "ui/RollupConstraintsPage.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include "model/ConstraintCode.h"

namespace tavrin {

RollupConstraintsPage::RollupConstraintsPage() : RollupPage("TabConstrains") {
  auto* c = new QGridLayout(this);
  c->setContentsMargins(3, 3, 3, 3);
  held_ = {AddCheck("EnableDZ", QStringLiteral("Constrain Lin. Z")),
           AddCheck("EnableRX", QStringLiteral("Constrain Rot. X")),
           AddCheck("EnableRY", QStringLiteral("Constrain Rot. Y"))};
  fields_ = {AddField("DispUZ"), AddField("DispRX"), AddField("DispRY")};
  const char* const labels[3] = {"Lin. Z", "Rot. X", "Rot. Y"};
  for (int i = 0; i < 3; ++i) {
    const auto k = static_cast<std::size_t>(i);
    c->addWidget(held_[k], i, 0, 1, 2);
    c->addWidget(new QLabel(QString::fromLatin1(labels[i]), this), 3 + i, 0);
    c->addWidget(fields_[k], 3 + i, 1);
    fields_[k]->setText(QStringLiteral("0"));
    Watch(held_[k]);
    Watch(fields_[k]);
  }
  c->setRowStretch(6, 1);
}

void RollupConstraintsPage::Fill(const RollupSelection& selection, const EditRequest& shown) {
  const Filling filling(*this);
  const bool attributes =
      selection.kind == SelectionKind::node || selection.kind == SelectionKind::edge;
  for (std::size_t i = 0; i < 3; ++i) {
    held_[i]->setEnabled(attributes);
    fields_[i]->setEnabled(attributes);
  }
  if (attributes) {
    fields_[0]->setText(Text(shown.dispLinZ));
    fields_[1]->setText(Text(shown.dispRotX));
    fields_[2]->setText(Text(shown.dispRotY));
    const std::array<bool, 3> fixed = DecodeConstraintCode(shown.constraintCode);
    for (std::size_t i = 0; i < 3; ++i) held_[i]->setChecked(fixed[i]);
  }
  ForgetChange();
}

bool RollupConstraintsPage::Validate(const RollupSelection& selection, EditRequest& r) {
  static constexpr std::array<const char*, 3> kMessages = {
      "Not a valid number in 'Lin. X' field in constrains tab",
      "Not a valid number in 'Rot. X' field in constrains tab",
      "Not a valid number in 'Rot. Y' field in constrains tab"};
  std::array<double, 3> v{};
  if (!ReadThree(fields_, kMessages, v)) return false;
  r.dispLinZ = v[0];
  r.dispRotX = v[1];
  r.dispRotY = v[2];
  r.constraintsChanged = true;
  Address(selection, r, true);
  r.constraintCode =
      EncodeConstraintCode(held_[0]->isChecked(), held_[1]->isChecked(), held_[2]->isChecked());
  return true;
}

void RollupConstraintsPage::KeepApplied(const EditRequest& applied, RollupSelection&,
                                        EditRequest& shown) {
  if (!applied.constraintsChanged) return;
  shown.dispLinZ = applied.dispLinZ;
  shown.dispRotX = applied.dispRotX;
  shown.dispRotY = applied.dispRotY;
  shown.constraintCode = applied.constraintCode;
}

}  // namespace tavrin

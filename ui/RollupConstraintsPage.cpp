#include "ui/RollupConstraintsPage.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <initializer_list>

#include "model/ConstraintCode.h"
#include "ui/Platform.h"
#include "ui/TRollupFields.h"

namespace tavrin {

RollupConstraintsPage::RollupConstraintsPage() : RollupPage("TabConstrains") {
  auto* c = new QGridLayout(this);
  c->setContentsMargins(3, 3, 3, 3);
  held_ = {AddCheck("EnableDZ", QStringLiteral("Constrain Lin. Z")),
           AddCheck("EnableRX", QStringLiteral("Constrain Rot. X")),
           AddCheck("EnableRY", QStringLiteral("Constrain Rot. Y"))};
  fields_ = {AddField("DispUZ"), AddField("DispRX"), AddField("DispRY")};
  elastic_ = {AddCheck("ElasticDZ", QStringLiteral("Spring on Lin. Z")),
              AddCheck("ElasticRX", QStringLiteral("Spring on Rot. X")),
              AddCheck("ElasticRY", QStringLiteral("Spring on Rot. Y"))};
  springs_ = {AddField("SpringUZ"), AddField("SpringRX"), AddField("SpringRY")};
  const char* const labels[3] = {"Lin. Z", "Rot. X", "Rot. Y"};
  const char* const stiffness[3] = {"k Lin. Z", "k Rot. X", "k Rot. Y"};
  for (int i = 0; i < 3; ++i) {
    const auto k = static_cast<std::size_t>(i);
    c->addWidget(held_[k], i, 0, 1, 2);
    c->addWidget(new QLabel(QString::fromLatin1(labels[i]), this), 3 + i, 0);
    c->addWidget(fields_[k], 3 + i, 1);
    c->addWidget(elastic_[k], 6 + i, 0, 1, 2);
    c->addWidget(new QLabel(QString::fromLatin1(stiffness[i]), this), 9 + i, 0);
    c->addWidget(springs_[k], 9 + i, 1);
    fields_[k]->setText(QStringLiteral("0"));
    springs_[k]->setText(QStringLiteral("0"));
    for (QCheckBox* box : {held_[k], elastic_[k]}) Watch(box);
    for (QLineEdit* field : {fields_[k], springs_[k]}) Watch(field);
  }
  c->setRowStretch(12, 1);
}

void RollupConstraintsPage::Fill(const RollupSelection& selection, const EditRequest& shown) {
  const Filling filling(*this);
  const bool attributes =
      selection.kind == SelectionKind::node || selection.kind == SelectionKind::edge;
  for (std::size_t i = 0; i < 3; ++i) {
    for (QWidget* w :
         std::initializer_list<QWidget*>{held_[i], fields_[i], elastic_[i], springs_[i]})
      w->setEnabled(attributes);
  }
  if (attributes) {
    fields_[0]->setText(Text(shown.dispLinZ));
    fields_[1]->setText(Text(shown.dispRotX));
    fields_[2]->setText(Text(shown.dispRotY));
    const std::array<bool, 3> fixed = DecodeConstraintCode(shown.constraintCode);
    for (std::size_t i = 0; i < 3; ++i) {
      held_[i]->setChecked(fixed[i]);
      elastic_[i]->setChecked(shown.springs[i] != 0.0);
      springs_[i]->setText(Text(shown.springs[i]));
    }
  }
  ForgetChange();
}

bool RollupConstraintsPage::Validate(const RollupSelection& selection, EditRequest& r) {
  static constexpr std::array<const char*, 3> kMessages = {
      "Not a valid number in 'Lin. X' field in constrains tab",
      "Not a valid number in 'Rot. X' field in constrains tab",
      "Not a valid number in 'Rot. Y' field in constrains tab"};
  static constexpr std::array<const char*, 3> kSpringMessages = {
      "Not a valid stiffness in 'k Lin. Z' field in constrains tab: it must not be negative",
      "Not a valid stiffness in 'k Rot. X' field in constrains tab: it must not be negative",
      "Not a valid stiffness in 'k Rot. Y' field in constrains tab: it must not be negative"};
  static constexpr std::array<const char*, 3> kBothMessages = {
      "Lin. Z cannot be both constrained and on a spring in constrains tab",
      "Rot. X cannot be both constrained and on a spring in constrains tab",
      "Rot. Y cannot be both constrained and on a spring in constrains tab"};
  std::array<double, 3> v{};
  if (!ReadThree(fields_, kMessages, v)) return false;
  // A freedom is free, held rigidly or elastic: the stiffness counts only when chosen.
  std::array<double, 3> springs{};
  for (std::size_t i = 0; i < 3; ++i) {
    if (!elastic_[i]->isChecked()) continue;
    if (held_[i]->isChecked()) {
      ShowError(kBothMessages[i]);
      return false;
    }
    springs[i] = Value(springs_[i]);
    if (IsInvalidFieldValue(springs[i]) || springs[i] < 0) {
      ShowError(kSpringMessages[i]);
      return false;
    }
  }
  r.springs = springs;
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
  shown.springs = applied.springs;
}

}  // namespace tavrin

#include "ui/RollupLoadsPage.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace tavrin {

RollupLoadsPage::RollupLoadsPage() : RollupPage("TabLoads") {
  auto* l = new QGridLayout(this);
  l->setContentsMargins(3, 3, 3, 3);
  fields_ = {AddField("ForceUZ"), AddField("ForceRX"), AddField("ForceRY")};
  const char* const labels[3] = {"Lin. Z", "Rot. X", "Rot. Y"};
  for (int i = 0; i < 3; ++i) {
    l->addWidget(new QLabel(QString::fromLatin1(labels[i]), this), i, 0);
    l->addWidget(fields_[static_cast<std::size_t>(i)], i, 1);
    Watch(fields_[static_cast<std::size_t>(i)]);
  }
  l->setRowStretch(3, 1);
}

void RollupLoadsPage::Fill(const RollupSelection& selection, const EditRequest& shown) {
  const Filling filling(*this);
  const bool attributes =
      selection.kind == SelectionKind::node || selection.kind == SelectionKind::edge;
  for (QLineEdit* f : fields_) f->setEnabled(attributes);
  if (attributes) {
    fields_[0]->setText(Text(shown.loadLinZ));
    fields_[1]->setText(Text(shown.loadRotX));
    fields_[2]->setText(Text(shown.loadRotY));
  }
  ForgetChange();
}

bool RollupLoadsPage::Validate(const RollupSelection& selection, EditRequest& r) {
  // The first message names the field "Lin. X" although its label reads "Lin. Z": kept as
  // released, in both pages.
  static constexpr std::array<const char*, 3> kMessages = {
      "Not a valid number in 'Lin. X' field in loads tab",
      "Not a valid number in 'Rot. X' field in loads tab",
      "Not a valid number in 'Rot. Y' field in loads tab"};
  std::array<double, 3> v{};
  if (!ReadThree(fields_, kMessages, v)) return false;
  r.loadLinZ = v[0];
  r.loadRotX = v[1];
  r.loadRotY = v[2];
  r.loadsChanged = true;
  Address(selection, r, true);
  return true;
}

void RollupLoadsPage::KeepApplied(const EditRequest& applied, RollupSelection&,
                                  EditRequest& shown) {
  if (!applied.loadsChanged) return;
  shown.loadLinZ = applied.loadLinZ;
  shown.loadRotX = applied.loadRotX;
  shown.loadRotY = applied.loadRotY;
}

}  // namespace tavrin

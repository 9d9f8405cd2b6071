// The property editor's polygon page: pressure, E modulus, Poisson ratio, thickness, foundation
// modulus, reinforcement angle, whether the polygon is a hole, and its name. Disabled unless a
// polygon is selected. A refused field takes the focus with its text selected, on this page turned
// to first.
#pragma once

#include "ui/RollupPage.h"

namespace tavrin {

class RollupPhysicsPage : public RollupPage {
  Q_OBJECT
 public:
  RollupPhysicsPage();

  void Fill(const RollupSelection& selection, const EditRequest& shown) override;
  bool Validate(const RollupSelection& selection, EditRequest& r) override;
  void KeepApplied(const EditRequest& applied, RollupSelection& selection,
                   EditRequest& shown) override;

 private:
  void Refuse(QLineEdit* field, const char* message);

  QLineEdit* pressure_ = nullptr;
  QLineEdit* eModulus_ = nullptr;
  QLineEdit* nuModulus_ = nullptr;
  QLineEdit* foundation_ = nullptr;
  QLineEdit* angle_ = nullptr;  // reinforcement angle, degrees from x
  QLineEdit* thickness_ = nullptr;
  QCheckBox* isHole_ = nullptr;
  QLineEdit* polyName_ = nullptr;
};

}  // namespace tavrin

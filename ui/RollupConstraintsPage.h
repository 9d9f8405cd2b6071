// The property editor's constraints page: which freedoms of the selected node or edge are
// held rigidly and the displacements prescribed for them, or which sit on springs and their
// stiffnesses (per unit length on an edge). Disabled for a polygon or no selection.
#pragma once

#include "ui/RollupPage.h"

namespace tavrin {

class RollupConstraintsPage : public RollupPage {
  Q_OBJECT
 public:
  RollupConstraintsPage();

  void Fill(const RollupSelection& selection, const EditRequest& shown) override;
  bool Validate(const RollupSelection& selection, EditRequest& r) override;
  void KeepApplied(const EditRequest& applied, RollupSelection& selection,
                   EditRequest& shown) override;

 private:
  std::array<QCheckBox*, 3> held_{};     // lin. Z, rot. X, rot. Y
  std::array<QLineEdit*, 3> fields_{};   // the prescribed values, same order
  std::array<QCheckBox*, 3> elastic_{};  // a spring on the freedom instead of a rigid hold
  std::array<QLineEdit*, 3> springs_{};  // its stiffness
};

}  // namespace tavrin

// The property editor's loads page: the force along Z and the moments about X and Y at the
// selected node, or along the selected edge. Disabled for a polygon or no selection.
#pragma once

#include "ui/RollupPage.h"

namespace tavrin {

class RollupLoadsPage : public RollupPage {
  Q_OBJECT
 public:
  RollupLoadsPage();

  void Fill(const RollupSelection& selection, const EditRequest& shown) override;
  bool Validate(const RollupSelection& selection, EditRequest& r) override;
  void KeepApplied(const EditRequest& applied, RollupSelection& selection,
                   EditRequest& shown) override;

 private:
  std::array<QLineEdit*, 3> fields_{};  // lin. Z, rot. X, rot. Y
};

}  // namespace tavrin

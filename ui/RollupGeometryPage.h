// The property editor's geometry page: the absolute coordinates of the selected node or of the
// chosen end of the selected edge, a sketch of the selection, and the buttons that select an
// edge's begin or end node in the plan. A polygon shows 0, 0 and moves nothing sensible; the
// host decides what a polygon's geometry request means.
#pragma once

#include <optional>

#include "ui/RollupPage.h"
#include "ui/TRollupSketch.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tavrin {

class RollupGeometryPage : public RollupPage {
  Q_OBJECT
 public:
  RollupGeometryPage();

  void Fill(const RollupSelection& selection, const EditRequest& shown) override;
  bool Validate(const RollupSelection& selection, EditRequest& r) override;
  // The moved node or edge end: the selection's coordinates and the sketch follow it.
  void KeepApplied(const EditRequest& applied, RollupSelection& selection,
                   EditRequest& shown) override;

  // Shows the coordinates and the sketch of the chosen end again, after the choice changed; a
  // typed change stays pending.
  void ShowEnd(const RollupSelection& selection);

  // A press in the sketch at box pixel (x, y), y down: on the far end of an edge, the editor
  // is asked to choose that end.
  void SketchClick(int x, int y);

 signals:
  void FarEndClicked();
  // "Select begin" (0) and "Select endpoint" (1).
  void EdgeEndRequested(int end);

 private:
  void ShowCoordinates(const RollupSelection& selection);
  void ShowSketch(const RollupSelection& selection);

  QLineEdit* valueX_ = nullptr;
  QLineEdit* valueY_ = nullptr;
  TRollupSketch* drawBox_ = nullptr;
  QLabel* selectedEnd_ = nullptr;
  QPushButton* selBegin_ = nullptr;
  QPushButton* selEnd_ = nullptr;
  QCheckBox* vector_ = nullptr;
  std::optional<SketchPoint> farEnd_;  // the end of the sketched edge not chosen
};

}  // namespace tavrin

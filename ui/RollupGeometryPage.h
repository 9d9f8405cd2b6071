// The property editor's geometry page: the absolute coordinates of the selected node or of the
// chosen end of the selected edge, an edge's arc as its bulge or as its radius (either field
// follows the other as it is typed; the sign is the bulge's: negative for an arc running
// clockwise from the begin node, 0 for a straight edge), a sketch of the selection with the arc
// drawn, and the buttons that select an edge's begin or end node in the plan. A polygon shows 0, 0
// and moves nothing sensible; the host decides what a polygon's geometry request means.
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
  void ShowArc(const RollupSelection& selection);
  // The edge's chord as it would be with the typed end (x, y) put in place of the chosen end.
  static double Chord(const RollupSelection& selection, double x, double y);
  // Reads the bulge, from the radius when that was typed last; false (with a message naming
  // the edge) when the field read is refused.
  bool ReadBulge(const RollupSelection& selection, double chord, double& bulge);

  QLineEdit* valueX_ = nullptr;
  QLineEdit* valueY_ = nullptr;
  QLineEdit* bulge_ = nullptr;
  QLineEdit* radius_ = nullptr;
  bool radiusTyped_ = false;  // the radius, not the bulge, was typed last
  double shownBulge_ = 0.0;   // the selected edge's bulge as shown or applied
  RollupSelection current_;   // the selection as last shown, for the fields' conversions
  TRollupSketch* drawBox_ = nullptr;
  QLabel* selectedEnd_ = nullptr;
  QPushButton* selBegin_ = nullptr;
  QPushButton* selEnd_ = nullptr;
  QCheckBox* vector_ = nullptr;
  std::optional<SketchPoint> farEnd_;  // the end of the sketched edge not chosen
};

}  // namespace tavrin

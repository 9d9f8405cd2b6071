// PlanNavigator: the mouse and key side of moving the plan view. As an event filter on the view
// it zooms with the wheel about the cursor and pans while the middle button is held (the
// middle button then never reaches the editing clicks); PanKey pans by a tenth of the view for
// the arrow keys. Every change goes to the process-wide ViewTransform and is followed by
// `moved`, with which the owner repaints and notes that the user placed the view. While a drag
// goes on, `dragged` (when given) is told each step's whole pixels instead, so that the owner
// can shift the picture it has rather than draw it whole; `moved` follows the release.
//
// Owns only the state of a middle-button drag; the view owns the navigator.
#pragma once

#include <QObject>
#include <QPointF>
#include <functional>

class QWidget;

namespace tavrin {

class PlanNavigator : public QObject {
 public:
  static constexpr double kWheelStep = 1.25;  // scale factor of one wheel notch
  static constexpr int kKeyPanParts = 10;     // an arrow key pans by this part of the view

  PlanNavigator(QWidget& view, std::function<void()> moved,
                std::function<void(int dx, int dy)> dragged = {});

  // Left, Right, Up and Down move the view that way over the job (the picture the other way);
  // false for any other key.
  bool PanKey(int key);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget& view_;
  std::function<void()> moved_;
  std::function<void(int, int)> dragged_;
  bool dragging_ = false;
  QPointF last_;
};

}  // namespace tavrin

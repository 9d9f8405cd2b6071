#include "ui/PlanNavigator.h"

#include <QMouseEvent>
#include <QWheelEvent>
#include <QWidget>
#include <cmath>

#include "ui/ViewNavigation.h"
#include "ui/ViewTransform.h"

namespace tavrin {

PlanNavigator::PlanNavigator(QWidget& view, std::function<void()> moved,
                             std::function<void(int, int)> dragged)
    : QObject(&view), view_(view), moved_(std::move(moved)), dragged_(std::move(dragged)) {
  view_.installEventFilter(this);
}

bool PlanNavigator::PanKey(int key) {
  ViewTransform& t = CurrentViewTransform();
  // Whole pixels, so that the picture moves by exactly the same amount at every step.
  const double stepX = t.canvasWidth / kKeyPanParts, stepY = t.canvasHeight / kKeyPanParts;
  switch (key) {
    case Qt::Key_Left:
      PanBy(t, stepX, 0);
      break;
    case Qt::Key_Right:
      PanBy(t, -stepX, 0);
      break;
    case Qt::Key_Up:
      PanBy(t, 0, stepY);
      break;
    case Qt::Key_Down:
      PanBy(t, 0, -stepY);
      break;
    default:
      return false;
  }
  moved_();
  return true;
}

bool PlanNavigator::eventFilter(QObject* watched, QEvent* event) {
  if (watched != &view_) return false;
  switch (event->type()) {
    case QEvent::Wheel: {
      auto* wheel = static_cast<QWheelEvent*>(event);
      const int delta =
          wheel->angleDelta().y();  // eighths of a degree: 120 a notch, less on touch pads
      if (delta == 0) return false;
      // Forward zooms in: fewer world units per pixel.
      const QPointF at = wheel->position();
      ZoomAbout(CurrentViewTransform(), at.x(), at.y(), std::pow(kWheelStep, -delta / 120.0));
      moved_();
      return true;
    }
    case QEvent::MouseButtonPress: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      if (mouse->button() != Qt::MiddleButton) return false;
      dragging_ = true;
      last_ = mouse->position();
      view_.setCursor(Qt::ClosedHandCursor);
      return true;
    }
    case QEvent::MouseMove: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      if (!dragging_) return false;
      // Whole pixels, so that a shifted picture and the view agree exactly.
      const QPointF at = mouse->position();
      const int dx = qRound(at.x() - last_.x()), dy = qRound(at.y() - last_.y());
      if (dx == 0 && dy == 0) return false;
      PanBy(CurrentViewTransform(), dx, dy);
      last_ += QPointF(dx, dy);
      if (dragged_)
        dragged_(dx, dy);
      else
        moved_();
      return false;  // the coordinate read-out follows the mouse as ever
    }
    case QEvent::MouseButtonRelease: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      if (mouse->button() != Qt::MiddleButton || !dragging_) return false;
      dragging_ = false;
      view_.unsetCursor();
      if (dragged_) moved_();  // the picture whole, where the drag left it
      return true;
    }
    default:
      return false;
  }
}

}  // namespace tavrin

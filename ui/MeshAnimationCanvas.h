#pragma once

#include <QColor>
#include <QElapsedTimer>

#include "mesh/MeshCanvas.h"
#include "ui/PlanView.h"
#include "ui/ViewTransform.h"

namespace tavrin {

// The mesher's drawing surface: world lines mapped through the view transform onto the plan
// view. The animation's frames (each draws what changed since the last) come at most
// kFramesPerSecond a second, and after a frame that took d to draw and show, not within
// kWorkPerFrame d of its end, so that drawing takes at most about a twentieth of the
// generation. The caller repaints the final mesh itself after the generation.
class MeshAnimationCanvas final : public MeshCanvas {
 public:
  static constexpr qint64 kFramesPerSecond = 25;
  static constexpr qint64 kWorkPerFrame = 19;
  explicit MeshAnimationCanvas(PlanView& view) : view_(view) {}

  void Start() {
    sinceFrame_.invalidate();
    lastFrameNs_ = 0;
  }
  void Clear() override { view_.ClearCanvas(); }
  void SetPen(int r, int g, int b) override { pen_ = QColor(r, g, b); }
  // Lines go straight into the view's buffer: a frame draws many thousands of short ones.
  void Line(double x1, double y1, double x2, double y2) override { Pixels(x1, y1, x2, y2, pen_); }
  bool FrameDue() override {
    const qint64 gap = std::max(1'000'000'000 / kFramesPerSecond, kWorkPerFrame * lastFrameNs_);
    if (sinceFrame_.isValid() && sinceFrame_.nsecsElapsed() < gap) return false;
    frameClock_.start();
    return true;
  }
  void EraseLine(double x1, double y1, double x2, double y2) override {
    Pixels(x1, y1, x2, y2, view_.Background(), false);
  }
  void FrameDone() override {
    // Shown now rather than at the next event loop, so that the frame's cost includes it.
    view_.repaint();
    lastFrameNs_ = frameClock_.nsecsElapsed();
    sinceFrame_.start();
  }

 private:
  void Pixels(double x1, double y1, double x2, double y2, const QColor& colour, bool ends = true) {
    const ViewTransform& t = CurrentViewTransform();
    view_.PixelLine(t.ScreenX(x1), t.ScreenY(y1), t.ScreenX(x2), t.ScreenY(y2), colour, ends);
  }

  PlanView& view_;
  QColor pen_ = PlanView::Black();
  QElapsedTimer sinceFrame_;  // since the end of the last frame drawn
  QElapsedTimer frameClock_;  // since the start of the frame being drawn
  qint64 lastFrameNs_ = 0;
};

}  // namespace tavrin

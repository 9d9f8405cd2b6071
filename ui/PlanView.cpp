// The plan view's back buffer and strokes. Lines are drawn aliased; at a device pixel ratio
// above 1 they run through pixel centres, so that a one-pixel line covers whole device pixels.
#include "ui/PlanView.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <algorithm>
#include <cmath>

#include "model/ConstraintCode.h"
#include "ui/RasterLine.h"

namespace tavrin {

PlanView::PlanView(QWidget* parent) : QWidget(parent) {
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::NoFocus);
}

PlanView::~PlanView() { Flush(); }

QColor PlanView::Background() const { return palette().color(QPalette::Base); }

void PlanView::EnsureBuffer() {
  if (buffer_.isNull() || buffer_.size() != size() * devicePixelRatioF()) {
    qreal ratio = devicePixelRatioF();
    buffer_ =
        QImage(std::max(1, width()) * ratio, std::max(1, height()) * ratio, QImage::Format_RGB32);
    buffer_.setDevicePixelRatio(ratio);
    buffer_.fill(Background());
  }
}

QPainter& PlanView::Painter() {
  if (!painter_) {
    EnsureBuffer();
    painter_ = std::make_unique<QPainter>(&buffer_);
    painter_->setRenderHint(QPainter::Antialiasing, false);
    painterPen_ = QColor();
    update();  // the paint event ends this painter before it copies the buffer
  }
  return *painter_;
}

void PlanView::Flush() {
  if (painter_ && !redirected_) {
    painter_->end();
    painter_.reset();
  }
}

const QImage& PlanView::Image() {
  Painter();  // makes sure the buffer exists at the current size
  Flush();
  return buffer_;
}

void PlanView::RenderTo(QPaintDevice& device, const std::function<void()>& draw) {
  Flush();
  painter_ = std::make_unique<QPainter>(&device);
  painter_->setRenderHint(QPainter::Antialiasing, false);
  painterPen_ = QColor();
  redirected_ = true;
  draw();
  painter_->end();
  painter_.reset();
  redirected_ = false;
}

void PlanView::Paint(const std::function<void(QPainter&)>& draw) {
  QPainter& p = Painter();
  p.save();
  draw(p);
  p.restore();
}

void PlanView::ClearCanvas() {
  QPainter& p = Painter();
  p.fillRect(QRect(0, 0, width(), height()), Background());
}

void PlanView::Shift(int dx, int dy) {
  if (dx == 0 && dy == 0) return;
  Flush();
  EnsureBuffer();
  const QImage before = buffer_.copy();
  buffer_.fill(Background());
  QPainter p(&buffer_);
  p.drawImage(QPointF(dx, dy), before);
  p.end();
  update();
}

void PlanView::Line(int x1, int y1, int x2, int y2) {
  QPainter& p = Painter();
  if (painterPen_ != pen_) {  // a whole mesh is drawn in one colour: set the pen once
    p.setPen(QPen(pen_, 0));
    painterPen_ = pen_;
  }
  // At one device pixel per view pixel, integer end points rasterize exactly; through pixel
  // centres, lines rising to the right came out one pixel low (lopsided chevrons).
  if (buffer_.devicePixelRatio() == 1.0)
    p.drawLine(QPoint(x1, y1), QPoint(x2, y2));
  else
    p.drawLine(QPointF(x1 + 0.5, y1 + 0.5), QPointF(x2 + 0.5, y2 + 0.5));
}

void PlanView::PixelLine(int x1, int y1, int x2, int y2, const QColor& colour, bool ends) {
  // The buffer's own ratio: asking the widget walks up to its screen, too slow per line. A
  // buffer left at an old size by a resize is replaced and redrawn by the owner anyway.
  if (buffer_.isNull()) EnsureBuffer();
  if (buffer_.devicePixelRatio() != 1.0 || redirected_) {
    pen_ = colour;
    Line(x1, y1, x2, y2);
    return;
  }
  Flush();  // a painter would not know of pixels written behind its back
  RasterLine(buffer_, x1, y1, x2, y2, colour.rgb(), ends);
}

void PlanView::NodeSquare(const QColor& colour, int sx, int sy, const Symbols* symbols) {
  Painter().fillRect(QRect(sx - 2, sy - 2, 4, 4), colour);
  pen_ = colour;
  if (symbols) DrawSymbols(sx, sy, *symbols);
}

void PlanView::EdgeLine(const QColor& colour, int sx1, int sy1, int sx2, int sy2,
                        const Symbols* symbols) {
  pen_ = colour;
  Line(sx1, sy1, sx2, sy2);
  if (symbols) DrawSymbols((sx1 + sx2) / 2, (sy1 + sy2) / 2, *symbols);
}

// A Windows-style arc: the part of the ellipse in the bounding box from the ray through
// (x3, y3) counter-clockwise to the ray through (x4, y4).
void PlanView::Arc(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4) {
  double cx = (left + right) / 2.0, cy = (top + bottom) / 2.0;
  double start = std::atan2(-(y3 - cy), x3 - cx) * 180.0 / M_PI;
  double end = std::atan2(-(y4 - cy), x4 - cx) * 180.0 / M_PI;
  double span = end - start;
  while (span <= 0) span += 360.0;
  QPainter& p = Painter();
  p.setPen(QPen(pen_, 0));
  painterPen_ = pen_;
  p.setBrush(Qt::NoBrush);
  QRectF box(std::min(left, right) + 0.5, std::min(top, bottom) + 0.5, std::abs(right - left),
             std::abs(bottom - top));
  p.drawArc(box, static_cast<int>(std::lround(start * 16)),
            static_cast<int>(std::lround(span * 16)));
}

void PlanView::DrawSymbols(int x, int y, const Symbols& s) {
  QColor saved = pen_;
  pen_ = Magenta();
  const ConstrainedFreedoms fixed = DecodeConstraintCode(s.constraintCode);
  if (fixed[0]) {  // lin. Z support
    Line(x, y, x, y + 10);
    Line(x - 5, y + 10, x + 5, y + 10);
    Line(x - 2, y + 10, x - 5, y + 13);
    Line(x + 1, y + 10, x - 2, y + 13);
    Line(x + 4, y + 10, x + 1, y + 13);
  }
  if (fixed[1]) {  // rot. X constraint
    Line(x, y, x + 20, y);
    Line(x + 20, y + 3, x + 17, y);
    Line(x + 17, y, x + 20, y - 3);
    Line(x + 17, y + 3, x + 14, y);
    Line(x + 14, y, x + 17, y - 3);
  }
  if (fixed[2]) {  // rot. Y constraint
    Line(x, y, x, y + 20);
    Line(x - 3, y + 20, x, y + 17);
    Line(x, y + 17, x + 3, y + 20);
    Line(x - 3, y + 17, x, y + 14);
    Line(x, y + 14, x + 3, y + 17);
  }
  // A spring is a zigzag where a rigid support has its hatching: along the support's stem.
  auto zigzag = [this](int x0, int y0, int dx, int dy) {  // 4 teeth from (x0, y0), step (dx, dy)
    for (int k = 0; k < 4; ++k) {
      const int side = k % 2 == 0 ? 3 : -3;
      Line(x0 + k * dx, y0 + k * dy, x0 + k * dx + dx / 2 + (dy != 0 ? side : 0),
           y0 + k * dy + dy / 2 + (dx != 0 ? side : 0));
      Line(x0 + k * dx + dx / 2 + (dy != 0 ? side : 0), y0 + k * dy + dy / 2 + (dx != 0 ? side : 0),
           x0 + (k + 1) * dx, y0 + (k + 1) * dy);
    }
  };
  if (s.springs[0]) {  // lin. Z spring
    zigzag(x, y, 0, 3);
    Line(x - 5, y + 12, x + 5, y + 12);
  }
  if (s.springs[1]) {  // rot. X spring
    zigzag(x, y, 5, 0);
    Line(x + 20, y - 4, x + 20, y + 4);
  }
  if (s.springs[2]) {  // rot. Y spring
    zigzag(x, y, 0, 5);
    Line(x - 4, y + 20, x + 4, y + 20);
  }
  if (s.loadLinZ) {
    Line(x, y - 20, x, y);
    Line(x, y, x + 3, y - 10);
    Line(x, y, x - 3, y - 10);
  }
  if (s.loadRotX) {
    Arc(x + 13, y - 10, x + 23, y + 10, x + 17, y - 11, x + 17, y + 11);
    Line(x + 17, y - 10, x + 10, y - 8);
    Line(x + 17, y - 10, x + 15, y - 3);
  }
  if (s.loadRotY) {
    Arc(x + 10, y + 13, x - 10, y + 23, x - 11, y + 17, x + 11, y + 17);
    Line(x - 10, y + 18, x - 9, y + 24);
    Line(x - 10, y + 18, x - 3, y + 19);
  }
  pen_ = saved;
}

void PlanView::DrawAxes() {
  int h = height();
  pen_ = Black();
  Line(20, h - 20, 40, h - 20);
  Line(40, h - 20, 30, h - 23);
  Line(40, h - 20, 30, h - 17);
  Line(20, h - 20, 20, h - 40);
  Line(20, h - 40, 23, h - 30);
  Line(20, h - 40, 17, h - 30);
  QPainter& p = Painter();
  p.setPen(Black());
  painterPen_ = QColor();
  p.setBackground(Background());
  p.setBackgroundMode(Qt::OpaqueMode);
  QFontMetrics metrics(p.font());
  p.drawText(QPoint(40, h - 16 + metrics.ascent()), "X");
  p.drawText(QPoint(10, h - 45 + metrics.ascent()), "Y");
  p.setBackgroundMode(Qt::TransparentMode);
}

void PlanView::SetRubberBand(const QPoint& from, const QPoint& to) {
  const QLine line(from, to);
  if (rubberBand_ == line) return;
  ClearRubberBand();
  rubberBand_ = line;
  update(QRect(from, to).normalized().adjusted(-2, -2, 2, 2));
}

void PlanView::ClearRubberBand() {
  if (!rubberBand_) return;
  update(QRect(rubberBand_->p1(), rubberBand_->p2()).normalized().adjusted(-2, -2, 2, 2));
  rubberBand_.reset();
}

void PlanView::paintEvent(QPaintEvent* event) {
  Flush();
  QPainter p(this);
  if (buffer_.isNull())
    p.fillRect(rect(), Background());
  else
    p.drawImage(event->rect(), buffer_,
                QRectF(event->rect().topLeft() * devicePixelRatioF(),
                       event->rect().size() * devicePixelRatioF()));
  if (rubberBand_) {
    p.setPen(QPen(Red(), 1, Qt::DashLine));
    p.drawLine(*rubberBand_);
  }
}

void PlanView::resizeEvent(QResizeEvent*) {
  Flush();
  buffer_ = QImage();
  if (onResized) onResized();
}

void PlanView::mousePressEvent(QMouseEvent* event) {
  QPoint at = event->position().toPoint();
  if (onMousePress) onMousePress(event->button(), at.x(), at.y());
}

void PlanView::mouseMoveEvent(QMouseEvent* event) {
  QPoint at = event->position().toPoint();
  if (onMouseMove) onMouseMove(at.x(), at.y());
}

}  // namespace tavrin

#include "ui/TRollupSketch.h"

#include <QMouseEvent>
#include <QPainter>
#include <cmath>

#include "model/ArcGeometry.h"

namespace tavrin {

namespace {

constexpr int W = kSketchSize;
constexpr int H = kSketchSize;
// A neighbour closer than this in both coordinates is the node itself (the stand-in for a
// neighbour the node does not have).
constexpr double kSameSpot = 0.0001;
// A half circle across the box in pieces of 7.5 degrees: smooth at 49 pixels.
constexpr int kArcPieces = 24;

// floor() of a quotient that can be huge: clamped to a range that keeps int arithmetic sane.
int FloorInt(double v) {
  if (!(v > -1e6)) return -1000000;
  if (!(v < 1e6)) return 1000000;
  return static_cast<int>(std::floor(v));
}

}  // namespace

std::array<SketchPoint, 2> EdgeSketchPoints(double x0, double y0, double x1, double y1) {
  double dx = x1 - x0, dy = y1 - y0;
  double k = std::fabs(dy) >= std::fabs(dx) ? std::fabs(dy / (H - 16)) : std::fabs(dx / (W - 16));
  if (!(k > 0.0) || !std::isfinite(k)) {
    SketchPoint centre{W / 2, H / 2};
    return {centre, centre};
  }
  int fx = FloorInt(dx / k), fy = FloorInt(dy / k);
  SketchPoint p1{static_cast<int>(std::trunc((H - fx) * 0.5)),
                 static_cast<int>(std::trunc((W - fy) * 0.5))};
  SketchPoint p2{fx + p1.x, fy + p1.y};
  return {p1, p2};
}

std::optional<SketchPoint> NodeStrokeStart(double x, double y, double nx, double ny) {
  double dx = x - nx, dy = y - ny;
  if (std::fabs(dx) < kSameSpot && std::fabs(dy) < kSameSpot) return std::nullopt;
  SketchPoint e;
  if (dy * dy <= dx * dx) {
    e.x = dx >= 0 ? 5 : W - 5;
    e.y = H / 2 - FloorInt((W / 2 - e.x) * dy / dx);
  } else {
    e.y = dy >= 0 ? 5 : H - 5;
    e.x = W / 2 - FloorInt((H / 2 - e.y) * dx / dy);
  }
  return e;
}

TRollupSketch::TRollupSketch(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("DrawBox"));
  setFixedSize(W, H);
}

void TRollupSketch::ShowEdge(SketchPoint chosen, SketchPoint other, double bulge) {
  shown_ = Shown::edge;
  chosen_ = chosen;
  other_ = other;
  bulge_ = chosen == other ? 0.0 : bulge;
  update();
}

void TRollupSketch::ShowNode(const std::array<double, 6>& c) {
  shown_ = Shown::node;
  node_ = c;
  update();
}

void TRollupSketch::ShowNothing() {
  shown_ = Shown::nothing;
  update();
}

void TRollupSketch::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), palette().color(QPalette::Button));
  p.setPen(Qt::black);
  auto screen = [](SketchPoint s) { return QPoint(s.x, H - s.y); };
  if (shown_ == Shown::edge) {
    const QPoint s1 = screen(chosen_), s2 = screen(other_);
    if (bulge_ == 0.0) {
      p.drawLine(s1, s2);
    } else {
      // Box pixels have y up, as the plan has, so the arc turns the same way as on the plan.
      const Arc arc = ArcThrough(chosen_.x, chosen_.y, other_.x, other_.y, bulge_);
      QPolygonF line;
      for (int k = 0; k <= kArcPieces; ++k) {
        double x = 0, y = 0;
        ArcPointAt(arc, static_cast<double>(k) / kArcPieces, x, y);
        line << QPointF(x, H - y);
      }
      p.setRenderHint(QPainter::Antialiasing);
      p.drawPolyline(line);
      p.setRenderHint(QPainter::Antialiasing, false);
    }
    p.setBrush(Qt::NoBrush);
    p.drawRect(s2.x() - 3, s2.y() - 3, 5, 5);  // outlined 6 x 6 (pen included)
    p.fillRect(s1.x() - 3, s1.y() - 3, 6, 6, Qt::black);
  } else if (shown_ == Shown::node) {
    p.fillRect(W / 2 - 3, H / 2 - 3, 6, 6, Qt::black);
    const auto& c = node_;
    if (std::fabs(c[4] - c[0]) < kSameSpot && std::fabs(c[5] - c[1]) < kSameSpot) return;
    for (int n = 0; n < 2; ++n) {
      if (auto e = NodeStrokeStart(c[4], c[5], c[2 * n], c[2 * n + 1]))
        p.drawLine(screen(*e), QPoint(W / 2, H / 2));
    }
  }
}

void TRollupSketch::mousePressEvent(QMouseEvent* event) {
  emit Pressed(event->position().toPoint());
}

}  // namespace tavrin

#include "ui/ToolIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <array>

namespace tavrin {

namespace {

void Magnifier(QPainter& p, bool plus) {
  p.drawEllipse(QRectF(2.5, 2.5, 10, 10));
  p.drawLine(QPointF(11, 11), QPointF(17.5, 17.5));
  p.drawLine(QPointF(5, 7.5), QPointF(10, 7.5));
  if (plus) p.drawLine(QPointF(7.5, 5), QPointF(7.5, 10));
}

}  // namespace

QIcon MakeToolIcon(ToolIcon icon) {
  QPixmap pixmap(20, 20);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  QPen pen(QColor(20, 20, 20), 1.4);
  p.setPen(pen);
  switch (icon) {
    case ToolIcon::Open: {
      p.setBrush(QColor(235, 200, 90));
      QPolygonF folder({{2, 5}, {7, 5}, {9, 7}, {17, 7}, {17, 16}, {2, 16}});
      p.drawPolygon(folder);
      break;
    }
    case ToolIcon::Save:
      p.setBrush(QColor(90, 120, 200));
      p.drawRect(QRectF(2.5, 2.5, 15, 15));
      p.setBrush(Qt::white);
      p.drawRect(QRectF(5.5, 2.5, 9, 6));
      p.drawRect(QRectF(5.5, 11.5, 9, 6));
      break;
    case ToolIcon::Polygon:
      p.drawPolygon(QPolygonF({{3, 16}, {8, 3}, {17, 6}, {15, 16}}));
      p.setBrush(Qt::black);
      for (QPointF c : {QPointF(3, 16), QPointF(8, 3), QPointF(17, 6), QPointF(15, 16)})
        p.drawRect(QRectF(c.x() - 1.5, c.y() - 1.5, 3, 3));
      break;
    case ToolIcon::Vertex:
      p.setBrush(Qt::black);
      p.drawRect(QRectF(4, 10, 4, 4));
      p.drawLine(QPointF(14, 3), QPointF(14, 11));
      p.drawLine(QPointF(10, 7), QPointF(18, 7));
      break;
    case ToolIcon::Edit:
      p.drawRect(QRectF(2.5, 2.5, 15, 15));
      for (double y : {6.5, 10.0, 13.5}) p.drawLine(QPointF(5, y), QPointF(15, y));
      break;
    case ToolIcon::Mesh:
      p.drawPolygon(QPolygonF({{2, 17}, {10, 3}, {18, 17}}));
      p.drawLine(QPointF(6, 10), QPointF(14, 10));
      p.drawLine(QPointF(6, 10), QPointF(10, 17));
      p.drawLine(QPointF(14, 10), QPointF(10, 17));
      break;
    case ToolIcon::SolveStatic: {
      p.drawLine(QPointF(2, 8), QPointF(18, 8));
      QPainterPath bent;
      bent.moveTo(2, 8);
      bent.quadTo(10, 20, 18, 8);
      p.setPen(QPen(QColor(0, 150, 0), 1.4));
      p.drawPath(bent);
      p.setPen(pen);
      p.drawLine(QPointF(10, 2), QPointF(10, 7));
      p.drawLine(QPointF(10, 7), QPointF(8, 5));
      p.drawLine(QPointF(10, 7), QPointF(12, 5));
      break;
    }
    case ToolIcon::SolveStress:
      p.setPen(QPen(QColor(200, 0, 200), 1.4));
      for (int k = 0; k < 3; ++k) {
        QPainterPath wave;
        wave.moveTo(2, 5 + 5 * k);
        wave.cubicTo(7, 1 + 5 * k, 13, 9 + 5 * k, 18, 5 + 5 * k);
        p.drawPath(wave);
      }
      break;
    case ToolIcon::ZoomIn:
      Magnifier(p, true);
      break;
    case ToolIcon::ZoomOut:
      Magnifier(p, false);
      break;
    case ToolIcon::ZoomFit:
      // A plate inside the four corners of the view.
      for (auto [x, y, dx, dy] : {std::array{2.5, 2.5, 1.0, 1.0},
                                  {17.5, 2.5, -1.0, 1.0},
                                  {2.5, 17.5, 1.0, -1.0},
                                  {17.5, 17.5, -1.0, -1.0}}) {
        p.drawLine(QPointF(x, y), QPointF(x + 4 * dx, y));
        p.drawLine(QPointF(x, y), QPointF(x, y + 4 * dy));
      }
      p.setBrush(QColor(200, 200, 200));
      p.drawRect(QRectF(6.5, 6.5, 7, 7));
      break;
  }
  p.end();
  return QIcon(pixmap);
}

}  // namespace tavrin

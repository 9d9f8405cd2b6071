#include "ui/IsolineOverlay.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "ui/FringeField.h"
#include "ui/FringeRenderer.h"
#include "ui/ViewTransform.h"

namespace tavrin {

namespace {
constexpr int kStroke = 18;  // the line sample beside each value
constexpr int kPadding = 6;
constexpr int kEdgeGap = 4;
QString Number(double v) { return QString::number(v, 'g', 5); }
}  // namespace

QStringList IsolineLegendLabels(const std::vector<IsolineLevel>& levels) {
  QStringList labels;
  for (const IsolineLevel& level : levels) labels << Number(level.value);
  return labels;
}

namespace {

// Where the legend's parts go in a view of the given height.
struct IsolineLegendLayout {
  QStringList labels;
  QString extremes[2];
  int line = 0, row = 0, width = 0, height = 0;
};

IsolineLegendLayout Layout(const QFontMetrics& metrics, const std::vector<IsolineLevel>& levels,
                           const QString& title, double min, double max, int viewHeight) {
  IsolineLegendLayout l;
  l.labels = IsolineLegendLabels(levels);
  l.extremes[0] = "max " + Number(max);
  l.extremes[1] = "min " + Number(min);
  int textWidth = metrics.horizontalAdvance(title) - kStroke - kPadding;
  for (const QString& s : l.labels) textWidth = std::max(textWidth, metrics.horizontalAdvance(s));
  for (const QString& s : l.extremes)
    textWidth = std::max(textWidth, metrics.horizontalAdvance(s) - kStroke - kPadding);
  l.line = metrics.height();
  // Rows share out the view's height, but never less than a line of text.
  const int count = static_cast<int>(l.labels.size());
  l.row = std::max(l.line, std::min(l.line + 4, (viewHeight - 5 * l.line) / std::max(1, count)));
  l.width = 3 * kPadding + kStroke + textWidth;
  l.height = 2 * kPadding + l.row * count + 3 * l.line + l.line / 2;
  return l;
}

}  // namespace

int IsolineLegendReserve(const QFontMetrics& metrics, const std::vector<IsolineLevel>& levels,
                         const QString& title, double min, double max, int viewHeight) {
  if (levels.empty()) return 0;
  return Layout(metrics, levels, title, min, max, viewHeight).width + 2 * kEdgeGap;
}

QRect DrawIsolineLegend(QPainter& painter, const std::vector<IsolineLevel>& levels,
                        const QString& title, double min, double max, const QColor& lineColour,
                        int viewWidth, int viewHeight) {
  if (levels.empty()) return {};
  painter.save();
  const QFontMetrics metrics = painter.fontMetrics();
  const IsolineLegendLayout l = Layout(metrics, levels, title, min, max, viewHeight);
  const QStringList& labels = l.labels;
  const QString(&extremes)[2] = l.extremes;
  const int line = l.line, row = l.row, count = static_cast<int>(labels.size());
  const QRect panel(viewWidth - l.width - kEdgeGap, kEdgeGap, l.width, l.height);
  painter.setPen(Qt::black);
  painter.setBrush(QColor(255, 255, 255, 230));
  painter.drawRect(panel);
  painter.drawText(panel.left() + kPadding, panel.top() + kPadding + metrics.ascent(), title);
  const int top = panel.top() + kPadding + line + line / 2;
  const int left = panel.left() + kPadding;
  for (int i = 0; i < count; ++i) {
    const int y = top + row * i + row / 2;
    painter.setPen(QPen(lineColour, 2));
    painter.drawLine(left, y, left + kStroke, y);
    painter.setPen(Qt::black);
    painter.drawText(left + kStroke + kPadding, y + metrics.ascent() / 2 - 1, labels[i]);
  }
  const int below = top + row * count + line / 2 + metrics.ascent();
  painter.drawText(left, below, extremes[0]);
  painter.drawText(left, below + line, extremes[1]);
  painter.restore();
  return panel;
}

std::vector<QRect> DrawIsolineLabels(QPainter& painter, const TIsolines& isolines,
                                     const std::vector<IsolineLevel>& levels,
                                     const ViewTransform& t, const QRect& avoid) {
  std::vector<QRect> placed;
  painter.save();
  const QFontMetrics metrics = painter.fontMetrics();
  const QRect view(0, 0, t.canvasWidth, t.canvasHeight);
  for (const IsolineLevel& level : levels) {
    const QString text = Number(level.value);
    const QSize size(metrics.horizontalAdvance(text) + 4, metrics.height());
    std::vector<QPoint> mine;
    for (int k = level.firstSegment;
         k < level.firstSegment + level.segments && static_cast<int>(mine.size()) < kLabelsPerLevel;
         ++k) {
      const int a = isolines.SegmentStart(k), b = isolines.SegmentEnd(k);
      const QPoint at((t.ScreenX(isolines.PointX(a)) + t.ScreenX(isolines.PointX(b))) / 2,
                      (t.ScreenY(isolines.PointY(a)) + t.ScreenY(isolines.PointY(b))) / 2);
      const QRect box(at - QPoint(size.width() / 2, size.height() / 2), size);
      if (!view.contains(box) || box.intersects(avoid)) continue;
      const bool crowded = std::any_of(placed.begin(), placed.end(),
                                       [&](const QRect& r) { return r.intersects(box); }) ||
                           std::any_of(mine.begin(), mine.end(), [&](const QPoint& p) {
                             return (p - at).manhattanLength() < kLabelSpacing;
                           });
      if (crowded) continue;
      painter.fillRect(box, QColor(255, 255, 255, 200));
      painter.setPen(QColor(0, 100, 0));
      painter.drawText(box, Qt::AlignCenter, text);
      placed.push_back(box);
      mine.push_back(at);
    }
  }
  painter.restore();
  return placed;
}

void DrawIsolineOverlay(QPainter& painter, const TIsolines& isolines,
                        const std::vector<IsolineLevel>& levels, const FringeField& field,
                        const QString& title, const QColor& lineColour, const ViewTransform& t) {
  const QRect legend = DrawIsolineLegend(painter, levels, title, field.min, field.max, lineColour,
                                         t.canvasWidth, t.canvasHeight);
  DrawIsolineLabels(painter, isolines, levels, t, legend);
  DrawExtremeMarkers(painter, field, t);
}

}  // namespace tavrin

#include "ui/LegendBar.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

#include "ui/FringeScale.h"

namespace tavrin {

namespace {
constexpr int kSwatchWidth = 16;
constexpr int kPadding = 6;
QString Number(double v) { return QString::number(v, 'g', 4); }
}  // namespace

QStringList LegendLabels(const FringeScale& scale) {
  QStringList labels;
  for (int k = scale.Bands(); k >= 0; --k) labels << Number(scale.Boundary(k));
  return labels;
}

QRect DrawLegend(QPainter& painter, const FringeScale& scale, const QString& title, int viewWidth,
                 int viewHeight) {
  painter.save();
  const QFontMetrics metrics = painter.fontMetrics();
  const QStringList labels = LegendLabels(scale);
  const QString extremes[2] = {"max " + Number(scale.Max()), "min " + Number(scale.Min())};
  int textWidth = metrics.horizontalAdvance(title) - kSwatchWidth - kPadding;
  for (const QString& s : labels) textWidth = std::max(textWidth, metrics.horizontalAdvance(s));
  for (const QString& s : extremes)
    textWidth = std::max(textWidth, metrics.horizontalAdvance(s) - kSwatchWidth - kPadding);
  const int line = metrics.height();
  // Band height: the view's height shared out, but no less than a line so labels never overlap.
  const int band =
      std::max(line, std::min(2 * line, (viewHeight - 5 * line) / std::max(1, scale.Bands())));
  const int width = kPadding * 3 + kSwatchWidth + textWidth;
  const int height = kPadding * 2 + line * 3 + band * scale.Bands() + line / 2;
  const QRect panel(viewWidth - width - 4, 4, width, height);
  painter.setPen(Qt::black);
  painter.setBrush(QColor(255, 255, 255, 230));
  painter.drawRect(panel);
  painter.drawText(panel.left() + kPadding, panel.top() + kPadding + metrics.ascent(), title);
  const int top = panel.top() + kPadding + line + line / 2;
  const int swatchLeft = panel.left() + kPadding;
  for (int k = 0; k < scale.Bands(); ++k) {
    const int y = top + band * (scale.Bands() - 1 - k);
    painter.fillRect(QRect(swatchLeft, y, kSwatchWidth, band), QColor(scale.BandColour(k)));
  }
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(QRect(swatchLeft, top, kSwatchWidth, band * scale.Bands()));
  for (int i = 0; i < labels.size(); ++i)
    painter.drawText(swatchLeft + kSwatchWidth + kPadding,
                     top + band * i + metrics.ascent() / 2 - 1, labels[i]);
  const int below = top + band * scale.Bands() + line / 2 + metrics.ascent();
  painter.drawText(swatchLeft, below, extremes[0]);
  painter.drawText(swatchLeft, below + line, extremes[1]);
  painter.restore();
  return panel;
}

}  // namespace tavrin

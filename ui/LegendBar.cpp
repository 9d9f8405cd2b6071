#include "ui/LegendBar.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "ui/FringeScale.h"

namespace tavrin {

namespace {
constexpr int kSwatchWidth = 16;
constexpr int kPadding = 6;
constexpr int kEdgeGap = 4;  // between the panel and the view's top and right edges
// A value within a billionth of the legend's range from zero is written 0: a boundary or an
// extreme meant as zero comes out of the arithmetic as round-off (1.388e-17).
QString Number(double v, const FringeScale& scale) {
  if (std::abs(v) <= 1e-9 * (scale.Max() - scale.Min())) v = 0;
  return QString::number(v, 'g', 4);
}

// The panel's layout, shared by its size and its drawing.
struct LegendLayout {
  int textWidth = 0, line = 0, band = 0;
  int Width() const { return kPadding * 3 + kSwatchWidth + textWidth; }
  int Height(int bands) const { return kPadding * 2 + line * 3 + band * bands + line / 2; }
};

QString Extreme(const char* which, double value, const FringeScale& scale) {
  return which + Number(value, scale);
}

LegendLayout Layout(const QFontMetrics& metrics, const FringeScale& scale, const QString& title,
                    int viewHeight) {
  LegendLayout l;
  l.textWidth = metrics.horizontalAdvance(title) - kSwatchWidth - kPadding;
  for (const QString& s : LegendLabels(scale))
    l.textWidth = std::max(l.textWidth, metrics.horizontalAdvance(s));
  for (const QString& s :
       {Extreme("max ", scale.Max(), scale), Extreme("min ", scale.Min(), scale)})
    l.textWidth = std::max(l.textWidth, metrics.horizontalAdvance(s) - kSwatchWidth - kPadding);
  l.line = metrics.height();
  // Band height: the view's height shared out, but no less than a line so labels never overlap.
  l.band = std::max(l.line,
                    std::min(2 * l.line, (viewHeight - 5 * l.line) / std::max(1, scale.Bands())));
  return l;
}

}  // namespace

QStringList LegendLabels(const FringeScale& scale) {
  QStringList labels;
  for (int k = scale.Bands(); k >= 0; --k) labels << Number(scale.Boundary(k), scale);
  return labels;
}

QSize LegendSize(const QFontMetrics& metrics, const FringeScale& scale, const QString& title,
                 int viewHeight) {
  const LegendLayout l = Layout(metrics, scale, title, viewHeight);
  return {l.Width(), l.Height(scale.Bands())};
}

int LegendReserve(const QFontMetrics& metrics, const FringeScale& scale, const QString& title,
                  int viewHeight) {
  return LegendSize(metrics, scale, title, viewHeight).width() + 2 * kEdgeGap;
}

QRect DrawLegend(QPainter& painter, const FringeScale& scale, const QString& title, int viewWidth,
                 int viewHeight) {
  painter.save();
  const QFontMetrics metrics = painter.fontMetrics();
  const QStringList labels = LegendLabels(scale);
  const QString extremes[2] = {Extreme("max ", scale.Max(), scale),
                               Extreme("min ", scale.Min(), scale)};
  const LegendLayout l = Layout(metrics, scale, title, viewHeight);
  const int line = l.line, band = l.band;
  const QRect panel(viewWidth - l.Width() - kEdgeGap, kEdgeGap, l.Width(), l.Height(scale.Bands()));
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

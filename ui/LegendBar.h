// The legend of a colour-fringe picture: a column of band swatches at the right edge of the
// view, the largest values at the top, each boundary labelled with its value, under the field's
// name, and the field's minimum and maximum below. Drawn over the picture on a white panel.
#pragma once

#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

class QFontMetrics;
class QPainter;

namespace tavrin {

class FringeScale;

// The boundary values as the legend writes them, from Boundary(Bands()) down to Boundary(0);
// a value within 1e-9 of the range from zero is written 0, as are the extremes.
QStringList LegendLabels(const FringeScale& scale);
// The panel's size in a view of the given height, written with the font of metrics.
QSize LegendSize(const QFontMetrics& metrics, const FringeScale& scale, const QString& title,
                 int viewHeight);
// The width the legend takes from the right side of a view, its gap to the edge included: a
// view fitted to the job keeps the plate out of it.
int LegendReserve(const QFontMetrics& metrics, const FringeScale& scale, const QString& title,
                  int viewHeight);
// Draws the legend for a view of the given size; returns the panel's rectangle.
QRect DrawLegend(QPainter& painter, const FringeScale& scale, const QString& title, int viewWidth,
                 int viewHeight);

}  // namespace tavrin

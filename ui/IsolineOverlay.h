// What makes an isoline picture readable: the legend (a panel at the right edge listing the
// value of every line beside a stroke of the line colour, highest first, under the field's
// name, with the field's extremes below), the value written on the lines where there is room,
// and the min/max markers (those of the fringe pictures).
//
// Labels: for each level its segments are walked in order and a label is put at a segment's
// middle when its box lies inside the view, clear of the legend and of every label placed so
// far, and at least kLabelSpacing pixels from the level's earlier labels; at most
// kLabelsPerLevel per level. The walk is linear in the segments, each candidate checked against
// the labels placed (a few dozen).
#pragma once

#include <QColor>
#include <QRect>
#include <QString>
#include <QStringList>
#include <vector>

#include "analysis/TIsolines.h"

class QFontMetrics;
class QPainter;

namespace tavrin {

struct FringeField;
struct ViewTransform;

inline constexpr int kLabelsPerLevel = 3;
inline constexpr int kLabelSpacing = 120;

// The legend's texts of the levels, highest first: the value of each line.
QStringList IsolineLegendLabels(const std::vector<IsolineLevel>& levels);
// The width the legend takes at the right of a view of the given height, with its gaps (0
// without levels).
int IsolineLegendReserve(const QFontMetrics& metrics, const std::vector<IsolineLevel>& levels,
                         const QString& title, double min, double max, int viewHeight);
// Draws the legend for a view of the given size (lines in lineColour); returns its panel.
QRect DrawIsolineLegend(QPainter& painter, const std::vector<IsolineLevel>& levels,
                        const QString& title, double min, double max, const QColor& lineColour,
                        int viewWidth, int viewHeight);
// Writes the level values on the lines, clear of `avoid`; returns the labels' boxes.
std::vector<QRect> DrawIsolineLabels(QPainter& painter, const TIsolines& isolines,
                                     const std::vector<IsolineLevel>& levels,
                                     const ViewTransform& t, const QRect& avoid);
// Legend, labels and the field's extremes marked, over an isoline picture.
void DrawIsolineOverlay(QPainter& painter, const TIsolines& isolines,
                        const std::vector<IsolineLevel>& levels, const FringeField& field,
                        const QString& title, const QColor& lineColour, const ViewTransform& t);

}  // namespace tavrin

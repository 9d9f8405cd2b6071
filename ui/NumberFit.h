// Numbers written to fit a width in pixels: the general format with the most significant digits
// (at most maxDigits) whose text fits. The general format turns to the exponent form when the
// fixed form would need more digits than are kept, so a small or large value keeps its
// magnitude and its leading digits instead of being cut off at the edge.
#pragma once

#include <QString>

class QFontMetrics;

namespace tavrin {

// The text of value with the most digits that fits width; with no text narrow enough, the
// one-digit text (which the caller may elide).
QString FitNumber(double value, int maxDigits, int width, const QFontMetrics& metrics);

}  // namespace tavrin

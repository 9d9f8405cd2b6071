#include "ui/NumberFit.h"

#include <QFontMetrics>

namespace tavrin {

QString FitNumber(double value, int maxDigits, int width, const QFontMetrics& metrics) {
  // Fewer digits are not always shorter (123457 against 1.235e+05), so every count is tried
  // from the most digits down.
  for (int digits = maxDigits; digits > 1; --digits) {
    const QString text = QString::number(value, 'g', digits);
    if (metrics.horizontalAdvance(text) <= width) return text;
  }
  return QString::number(value, 'g', 1);
}

}  // namespace tavrin

#include "ui/FringeScale.h"

#include <algorithm>
#include <cmath>

namespace tavrin {

FringeScale::FringeScale(double min, double max, int bands)
    : min_(std::min(min, max)), max_(std::max(min, max)), bands_(std::max(1, bands)) {
  kind_ = min_ < 0 && max_ > 0 ? ColourMapKind::Diverging : ColourMapKind::Sequential;
}

double FringeScale::Boundary(int k) const {
  if (k >= bands_) return max_;  // exactly, not by rounding of the sum
  return min_ + (max_ - min_) * k / bands_;
}

int FringeScale::BandOf(double value) const {
  const double span = max_ - min_;
  if (!(span > 0) || !std::isfinite(value)) return 0;
  const double at = std::floor((value - min_) / span * bands_);
  return static_cast<int>(std::clamp(at, 0.0, static_cast<double>(bands_ - 1)));
}

QRgb FringeScale::BandColour(int band) const {
  const double middle = (Boundary(band) + Boundary(band + 1)) / 2;
  if (kind_ == ColourMapKind::Diverging) {
    const double reach = std::max(-min_, max_);
    return MapColour(kind_, 0.5 + middle / (2 * reach));
  }
  const double span = max_ - min_;
  return MapColour(kind_, span > 0 ? (middle - min_) / span : 0.5);
}

}  // namespace tavrin

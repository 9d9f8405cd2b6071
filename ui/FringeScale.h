// FringeScale: the bands of a colour-fringe picture. The field's range [min, max] is split
// evenly into `bands` bands; band k runs from Boundary(k) to Boundary(k + 1). A field that takes
// both signs uses the diverging map centred on zero (white at zero, the larger magnitude at the
// end of the map); a field of one sign uses the sequential map over its range. Each band has one
// colour, the map's colour at the band's middle value. Plain values; no state beyond them.
#pragma once

#include <QRgb>

#include "ui/ColourMap.h"

namespace tavrin {

class FringeScale {
 public:
  static constexpr int kDefaultBands = 12;

  FringeScale() = default;
  FringeScale(double min, double max, int bands = kDefaultBands);

  double Min() const { return min_; }
  double Max() const { return max_; }
  int Bands() const { return bands_; }
  ColourMapKind Kind() const { return kind_; }
  // The lower edge of band k (0 <= k <= Bands(); Boundary(Bands()) is the maximum).
  double Boundary(int k) const;
  // The band a value falls in, clamped to [0, Bands() - 1]; a range of one value is one band.
  int BandOf(double value) const;
  QRgb BandColour(int band) const;
  QRgb ColourOf(double value) const { return BandColour(BandOf(value)); }

 private:
  double min_ = 0, max_ = 0;
  int bands_ = 1;
  ColourMapKind kind_ = ColourMapKind::Sequential;
};

}  // namespace tavrin

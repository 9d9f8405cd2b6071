// The colour maps of the result fringes: a perceptually uniform sequential map (viridis, dark
// blue through green to yellow) for fields of one sign, and a diverging map (blue through white
// to red, white at the middle) for fields that take both signs, centred on zero by the caller.
// Both take t in [0, 1] (clamped) and interpolate linearly between a few anchor colours.
#pragma once

#include <QRgb>

namespace tavrin {

enum class ColourMapKind { Sequential, Diverging };

QRgb MapColour(ColourMapKind kind, double t);

}  // namespace tavrin

#include "ui/ColourMap.h"

#include <algorithm>
#include <cmath>

namespace tavrin {

namespace {

struct Anchor {
  unsigned char r, g, b;
};

// Viridis sampled at nine evenly spaced points.
constexpr Anchor kViridis[] = {{68, 1, 84},    {71, 44, 122},  {59, 81, 139},
                               {44, 113, 142}, {33, 144, 141}, {39, 173, 129},
                               {92, 200, 99},  {170, 220, 50}, {253, 231, 37}};
// Blue, white, red, with lighter steps between so the middle bands stay distinguishable.
constexpr Anchor kDiverging[] = {{5, 48, 97},     {33, 102, 172},  {103, 169, 207},
                                 {209, 229, 240}, {247, 247, 247}, {253, 219, 199},
                                 {239, 138, 98},  {178, 24, 43},   {103, 0, 31}};

template <size_t N>
QRgb Interpolate(const Anchor (&anchors)[N], double t) {
  const double at = std::clamp(std::isfinite(t) ? t : 0.0, 0.0, 1.0) * (N - 1);
  const size_t i = std::min(static_cast<size_t>(at), N - 2);
  const double f = at - static_cast<double>(i);
  auto mix = [f](unsigned char a, unsigned char b) {
    return static_cast<int>(std::lround(a + (b - a) * f));
  };
  return qRgb(mix(anchors[i].r, anchors[i + 1].r), mix(anchors[i].g, anchors[i + 1].g),
              mix(anchors[i].b, anchors[i + 1].b));
}

}  // namespace

QRgb MapColour(ColourMapKind kind, double t) {
  return kind == ColourMapKind::Sequential ? Interpolate(kViridis, t) : Interpolate(kDiverging, t);
}

}  // namespace tavrin

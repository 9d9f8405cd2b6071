#include "ui/ViewTransform.h"

#include <cmath>

namespace tavrin {

namespace {
int ClampToPixel(double v) {
  constexpr double kLimit = 1e6;
  if (!(v > -kLimit)) return static_cast<int>(-kLimit);  // also catches NaN
  if (v > kLimit) return static_cast<int>(kLimit);
  return static_cast<int>(v);
}
}  // namespace

int ViewTransform::ScreenX(double x) const {
  return ClampToPixel(std::floor((x - originX) / scale));
}

int ViewTransform::ScreenY(double y) const {
  return ClampToPixel(std::floor((originY - y) / scale + canvasHeight));
}

void ViewTransform::ZoomIn() {
  if (scale <= 1.0)
    scale /= 2.0;
  else
    scale -= 1.0;
}

void ViewTransform::ZoomOut() {
  if (scale < 1.0)
    scale *= 2.0;
  else
    scale += 1.0;
}

void ViewTransform::Reset() {
  scale = 0.5;
  originX = 0.0;
  originY = 0.0;
}

ViewTransform& CurrentViewTransform() {
  static ViewTransform transform;
  return transform;
}

}  // namespace tavrin

#include "ui/RasterLine.h"

#include <QImage>
#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace tavrin {

bool ClipLine(int& x1, int& y1, int& x2, int& y2, int w, int h) {
  double t0 = 0, t1 = 1;
  const double dx = x2 - x1, dy = y2 - y1;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {x1 - 0.0, w - x1 + 0.0, y1 - 0.0, h - y1 + 0.0};
  for (int k = 0; k < 4; ++k) {
    if (p[k] == 0) {
      if (q[k] < 0) return false;
      continue;
    }
    const double r = q[k] / p[k];
    if (p[k] < 0)
      t0 = std::max(t0, r);
    else
      t1 = std::min(t1, r);
    if (t0 > t1) return false;
  }
  const double ox = x1, oy = y1;
  x1 = static_cast<int>(std::lround(ox + t0 * dx));
  y1 = static_cast<int>(std::lround(oy + t0 * dy));
  x2 = static_cast<int>(std::lround(ox + t1 * dx));
  y2 = static_cast<int>(std::lround(oy + t1 * dy));
  return true;
}

void RasterLine(QImage& image, int x1, int y1, int x2, int y2, QRgb colour, bool ends) {
  const int w = image.width() - 1, h = image.height() - 1;
  const bool inside =
      std::min({x1, x2, y1, y2}) >= 0 && std::max(x1, x2) <= w && std::max(y1, y2) <= h;
  const int firstX = x1, firstY = y1, lastX = x2, lastY = y2;
  if (!inside && !ClipLine(x1, y1, x2, y2, w, h)) return;
  QRgb* const pixels = reinterpret_cast<QRgb*>(image.bits());
  const qsizetype stride = image.bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb));
  const int sx = x1 < x2 ? 1 : -1, sy = y1 < y2 ? 1 : -1;
  const int ex = std::abs(x2 - x1), ey = -std::abs(y2 - y1);
  int error = ex + ey;
  for (;;) {
    if (ends || !((x1 == firstX && y1 == firstY) || (x1 == lastX && y1 == lastY)))
      pixels[y1 * stride + x1] = colour;
    if (x1 == x2 && y1 == y2) break;
    const int twice = 2 * error;
    if (twice >= ey) {
      error += ey;
      x1 += sx;
    }
    if (twice <= ex) {
      error += ex;
      y1 += sy;
    }
  }
}

}  // namespace tavrin

// One-pixel lines written straight into a 32-bit image, without a painter: many times cheaper
// than QPainter for short lines, for pictures of hundreds of thousands of them (the mesher's
// animation, the mesh and the isolines of a large mesh). Bresenham's algorithm after clipping to
// the image (Liang-Barsky), so that a line reaching far off the image costs its visible part
// only. Cost: one store per pixel of the line.
#pragma once

#include <QRgb>

class QImage;

namespace tavrin {

// The part of the line inside [0, w] x [0, h], rounded to pixels; false when none is.
bool ClipLine(int& x1, int& y1, int& x2, int& y2, int w, int h);

// The line from (x1, y1) to (x2, y2) in colour into image (Format_RGB32 or an ARGB32 format;
// colour is stored as given). Without ends, its two end pixels are left as they are.
void RasterLine(QImage& image, int x1, int y1, int x2, int y2, QRgb colour, bool ends = true);

}  // namespace tavrin

#include "ui/FringeRenderer.h"

#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <vector>

#include "ui/FringeField.h"
#include "ui/FringeScale.h"
#include "ui/RasterLine.h"
#include "ui/ViewTransform.h"

namespace tavrin {

namespace {

// Triangles between two questions whether to give up: a few tenths of a millisecond of work.
constexpr std::size_t kAskEvery = 8192;

// Unfloored screen coordinates: the rasterizer needs sub-pixel corners.
double ScreenXF(const ViewTransform& t, double x) { return (x - t.originX) / t.scale; }
double ScreenYF(const ViewTransform& t, double y) {
  return t.canvasHeight - (y - t.originY) / t.scale;
}

// Ceiling and floor of v clamped to a pixel beyond [0, size], by truncation: most triangles of a
// large mesh cover no pixel centre, and these four roundings are most of their cost.
int Ceil(double v, int size) {
  v = std::clamp(v, -1.0, size + 1.0);
  const int i = static_cast<int>(v);
  return i + (i < v);
}
int Floor(double v, int size) {
  v = std::clamp(v, -1.0, size + 1.0);
  const int i = static_cast<int>(v);
  return i - (i > v);
}

// A corner of a polygon cut from a triangle, with the field's value there.
struct Corner {
  double x, y, v;
};

// The part of a convex polygon where the linear field is at least (above) or at most (below)
// level: Sutherland-Hodgman against one level line.
std::vector<Corner> Clip(const std::vector<Corner>& in, double level, bool above) {
  std::vector<Corner> out;
  const auto inside = [&](const Corner& c) { return above ? c.v >= level : c.v <= level; };
  for (std::size_t i = 0; i < in.size(); ++i) {
    const Corner& a = in[i];
    const Corner& b = in[(i + 1) % in.size()];
    if (inside(a)) out.push_back(a);
    if (inside(a) != inside(b)) {
      const double s = (level - a.v) / (b.v - a.v);
      out.push_back({a.x + s * (b.x - a.x), a.y + s * (b.y - a.y), level});
    }
  }
  return out;
}

}  // namespace

void DrawFringePolygons(QPainter& painter, const FringeField& f, const FringeScale& scale,
                        const ViewTransform& t) {
  if (f.Empty()) return;
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  QPolygonF polygon;
  const auto fill = [&](const std::vector<Corner>& piece, int band) {
    if (piece.size() < 3) return;
    const QColor colour(scale.BandColour(band));
    // An outline of the fill's own colour closes the hairline gaps viewers leave between
    // neighbouring pieces.
    painter.setPen(QPen(colour, 0.5));
    painter.setBrush(colour);
    polygon.clear();
    for (const Corner& c : piece) polygon << QPointF(ScreenXF(t, c.x), ScreenYF(t, c.y));
    painter.drawPolygon(polygon);
  };
  for (std::size_t i = 0; i < f.triangles.size(); ++i) {
    const auto& tri = f.triangles[i];
    std::vector<Corner> corners(3);
    for (int c = 0; c < 3; ++c)
      corners[c] = {f.x[tri[c]], f.y[tri[c]], f.perElement ? f.values[i] : f.values[tri[c]]};
    const double low = std::min({corners[0].v, corners[1].v, corners[2].v});
    const double high = std::max({corners[0].v, corners[1].v, corners[2].v});
    const int first = scale.BandOf(low), last = scale.BandOf(high);
    if (first == last) {
      fill(corners, first);
      continue;
    }
    for (int band = first; band <= last; ++band) {
      std::vector<Corner> piece = corners;
      if (band > first) piece = Clip(piece, scale.Boundary(band), true);
      if (band < last) piece = Clip(piece, scale.Boundary(band + 1), false);
      fill(piece, band);
    }
  }
  painter.restore();
}

bool RenderFringes(QImage& image, const FringeField& f, const FringeScale& scale,
                   const ViewTransform& t, const Abandoned& abandoned) {
  if (f.Empty() || image.isNull()) return true;
  if (image.format() != QImage::Format_ARGB32_Premultiplied &&
      image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32)
    image.convertTo(QImage::Format_ARGB32_Premultiplied);
  const int w = image.width(), h = image.height();
  // Band colours looked up once, not per pixel.
  std::vector<QRgb> colours(scale.Bands());
  for (int k = 0; k < scale.Bands(); ++k) colours[k] = scale.BandColour(k);
  // Each node mapped to the screen once, not once per triangle it is a corner of (about six).
  std::vector<double> sx(f.x.size()), sy(f.y.size());
  for (std::size_t n = 0; n < sx.size(); ++n) {
    sx[n] = ScreenXF(t, f.x[n]);
    sy[n] = ScreenYF(t, f.y[n]);
  }
  QRgb* const pixels = reinterpret_cast<QRgb*>(image.bits());
  const qsizetype stride = image.bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb));
  for (size_t i = 0; i < f.triangles.size(); ++i) {
    if (abandoned && i % kAskEvery == 0 && abandoned()) return false;
    const auto& tri = f.triangles[i];
    const double x0 = sx[tri[0]], y0 = sy[tri[0]];
    const double x1 = sx[tri[1]], y1 = sy[tri[1]];
    const double x2 = sx[tri[2]], y2 = sy[tri[2]];
    // Pixels whose centre (px + 0.5, py + 0.5) may lie inside.
    const double left = std::min({x0, x1, x2}), right = std::max({x0, x1, x2});
    const double top = std::min({y0, y1, y2}), bottom = std::max({y0, y1, y2});
    if (right < 0 || bottom < 0 || left > w || top > h) continue;
    const int px0 = std::max(0, Ceil(left - 0.5, w));
    const int px1 = std::min(w - 1, Floor(right - 0.5, w));
    const int py0 = std::max(0, Ceil(top - 0.5, h));
    const int py1 = std::min(h - 1, Floor(bottom - 0.5, h));
    if (px0 > px1 || py0 > py1) continue;
    const double area = (x1 - x0) * (y2 - y0) - (x2 - x0) * (y1 - y0);
    if (area == 0 || !std::isfinite(area)) continue;
    const double perArea = 1 / area;  // a product per weight instead of a division
    const double v0 = f.perElement ? f.values[i] : f.values[tri[0]];
    const double v1 = f.perElement ? f.values[i] : f.values[tri[1]];
    const double v2 = f.perElement ? f.values[i] : f.values[tri[2]];
    const QRgb flat = colours[scale.BandOf(v0)];
    const bool constant = f.perElement || (scale.BandOf(v1) == scale.BandOf(v0) &&
                                           scale.BandOf(v2) == scale.BandOf(v0));
    // A point lies inside when its three barycentric weights are not negative; a small
    // tolerance lets pixel centres on a shared edge land in one triangle or the other, never
    // in neither.
    constexpr double kEdgeTolerance = -1e-9;
    for (int py = py0; py <= py1; ++py) {
      QRgb* const line = pixels + py * stride;
      const double cy = py + 0.5;
      for (int px = px0; px <= px1; ++px) {
        const double cx = px + 0.5;
        const double w0 = ((x1 - cx) * (y2 - cy) - (x2 - cx) * (y1 - cy)) * perArea;
        const double w1 = ((x2 - cx) * (y0 - cy) - (x0 - cx) * (y2 - cy)) * perArea;
        const double w2 = 1 - w0 - w1;
        if (w0 < kEdgeTolerance || w1 < kEdgeTolerance || w2 < kEdgeTolerance) continue;
        line[px] = constant ? flat : colours[scale.BandOf(w0 * v0 + w1 * v1 + w2 * v2)];
      }
    }
  }
  return true;
}

bool ForEachBandSegment(const FringeField& f, const FringeScale& scale,
                        const std::function<void(double, double, double, double)>& segment,
                        const Abandoned& abandoned) {
  if (f.Empty() || f.perElement || scale.Bands() < 2) return true;
  // Each node's band once: most triangles lie within one band and are passed over on the
  // bands of their corners (the band of the lowest value is the lowest band, as BandOf grows).
  std::vector<int> bands(f.values.size());
  for (std::size_t n = 0; n < bands.size(); ++n) bands[n] = scale.BandOf(f.values[n]);
  for (std::size_t i = 0; i < f.triangles.size(); ++i) {
    if (abandoned && i % kAskEvery == 0 && abandoned()) return false;
    const auto& tri = f.triangles[i];
    const int low = std::min({bands[tri[0]], bands[tri[1]], bands[tri[2]]});
    const int high = std::max({bands[tri[0]], bands[tri[1]], bands[tri[2]]});
    if (low == high) continue;
    const double v[3] = {f.values[tri[0]], f.values[tri[1]], f.values[tri[2]]};
    // Only the boundaries strictly inside the triangle's range: a level through a corner of a
    // triangle is drawn by its neighbours' edges.
    for (int k = low + 1; k <= high; ++k) {
      const double level = scale.Boundary(k);
      double ends[2][2];
      int n = 0;
      for (int e = 0; e < 3 && n < 2; ++e) {
        const int a = e, b = (e + 1) % 3;
        if ((v[a] < level) == (v[b] < level)) continue;
        const double s = (level - v[a]) / (v[b] - v[a]);
        ends[n][0] = f.x[tri[a]] + s * (f.x[tri[b]] - f.x[tri[a]]);
        ends[n][1] = f.y[tri[a]] + s * (f.y[tri[b]] - f.y[tri[a]]);
        ++n;
      }
      if (n == 2) segment(ends[0][0], ends[0][1], ends[1][0], ends[1][1]);
    }
  }
  return true;
}

void DrawBandLines(QPainter& painter, const FringeField& f, const FringeScale& scale,
                   const ViewTransform& t, const QColor& colour) {
  std::vector<QLineF> lines;
  ForEachBandSegment(f, scale, [&](double x1, double y1, double x2, double y2) {
    lines.emplace_back(ScreenXF(t, x1), ScreenYF(t, y1), ScreenXF(t, x2), ScreenYF(t, y2));
  });
  if (lines.empty()) return;
  painter.save();
  painter.setPen(QPen(colour, 0));
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.drawLines(lines.data(), static_cast<int>(lines.size()));
  painter.restore();
}

bool RasterBandLines(QImage& image, const FringeField& f, const FringeScale& scale,
                     const ViewTransform& t, QRgb colour, const Abandoned& abandoned) {
  return ForEachBandSegment(
      f, scale,
      [&](double x1, double y1, double x2, double y2) {
        RasterLine(image, t.ScreenX(x1), t.ScreenY(y1), t.ScreenX(x2), t.ScreenY(y2), colour);
      },
      abandoned);
}

void DrawExtremeMarkers(QPainter& painter, const FringeField& f, const ViewTransform& t) {
  if (f.Empty()) return;
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setPen(QPen(Qt::black, 1.5));
  painter.setBrush(Qt::white);
  for (int which = 0; which < 2; ++which) {
    const int at = which == 0 ? f.minAt : f.maxAt;
    const double x = ScreenXF(t, f.MarkerX(at)), y = ScreenYF(t, f.MarkerY(at));
    const double d =
        which == 0 ? 1 : -1;  // the tip at the point: from above for min, below for max
    QPolygonF marker;
    marker << QPointF(x, y) << QPointF(x - 6, y - 11 * d) << QPointF(x + 6, y - 11 * d);
    painter.drawPolygon(marker);
    painter.drawText(QPointF(x + 8, y - 4 * d + (d > 0 ? 0 : 8)), which == 0 ? "min" : "max");
  }
  painter.restore();
}

}  // namespace tavrin

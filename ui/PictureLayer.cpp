#include "ui/PictureLayer.h"

#include <QPainter>
#include <algorithm>
#include <utility>

#include "analysis/TIsolines.h"
#include "mesh/FEM.h"
#include "ui/FringeField.h"
#include "ui/RasterLine.h"
#include "ui/ViewTransform.h"

namespace tavrin {

namespace {

// Lines between two questions whether to give up.
constexpr std::size_t kAskEvery = 16384;

class FringeLayer : public PictureLayer {
 public:
  FringeLayer(std::shared_ptr<const FringeField> field, const FringeScale& scale, QColor lines)
      : field_(std::move(field)), scale_(scale), lines_(lines.rgb()) {}
  std::size_t Elements() const override { return field_->triangles.size(); }
  bool DrawsOver() const override { return true; }
  bool Render(QImage& image, const ViewTransform& t, const Abandoned& abandoned) const override {
    return RenderFringes(image, *field_, scale_, t, abandoned);
  }
  bool RenderOver(QImage& image, const ViewTransform& t,
                  const Abandoned& abandoned) const override {
    return RasterBandLines(image, *field_, scale_, t, lines_, abandoned);
  }

 private:
  std::shared_ptr<const FringeField> field_;
  FringeScale scale_;
  QRgb lines_;
};

// World end points of straight lines, four coordinates a line, under or over the outline.
class LineLayer : public PictureLayer {
 public:
  LineLayer(std::vector<double> ends, QColor colour, bool over)
      : ends_(std::move(ends)), colour_(colour.rgb()), over_(over) {}
  std::size_t Elements() const override { return ends_.size() / 4; }
  bool DrawsUnder() const override { return !over_; }
  bool DrawsOver() const override { return over_; }
  bool Render(QImage& image, const ViewTransform& t, const Abandoned& abandoned) const override {
    return over_ || Lines(image, t, abandoned);
  }
  bool RenderOver(QImage& image, const ViewTransform& t,
                  const Abandoned& abandoned) const override {
    return !over_ || Lines(image, t, abandoned);
  }

 private:
  bool Lines(QImage& image, const ViewTransform& t, const Abandoned& abandoned) const {
    for (std::size_t i = 0; i < ends_.size(); i += 4) {
      if (abandoned && (i / 4) % kAskEvery == 0 && abandoned()) return false;
      RasterLine(image, t.ScreenX(ends_[i]), t.ScreenY(ends_[i + 1]), t.ScreenX(ends_[i + 2]),
                 t.ScreenY(ends_[i + 3]), colour_);
    }
    return true;
  }

  std::vector<double> ends_;
  QRgb colour_;
  bool over_;
};

}  // namespace

std::shared_ptr<const PictureLayer> MakeFringeLayer(std::shared_ptr<const FringeField> field,
                                                    const FringeScale& scale, QColor lineColour) {
  return std::make_shared<FringeLayer>(std::move(field), scale, lineColour);
}

std::shared_ptr<const PictureLayer> MakeMeshLayer(const FEM& mesh, QColor colour) {
  std::vector<double> ends;
  ends.reserve(4 * static_cast<std::size_t>(mesh.EdgeCount()));
  for (int e = 0; e < mesh.EdgeCount(); ++e) {
    const int b = mesh.EdgeBegin(e), f = mesh.EdgeEnd(e);
    ends.insert(ends.end(), {mesh.NodeX(b), mesh.NodeY(b), mesh.NodeX(f), mesh.NodeY(f)});
  }
  return std::make_shared<LineLayer>(std::move(ends), colour, false);
}

std::shared_ptr<const PictureLayer> MakeIsolineLayer(const TIsolines& isolines, QColor colour) {
  std::vector<double> ends;
  ends.reserve(4 * static_cast<std::size_t>(isolines.SegmentCount()));
  for (int k = 0; k < isolines.SegmentCount(); ++k) {
    const int a = isolines.SegmentStart(k), b = isolines.SegmentEnd(k);
    ends.insert(ends.end(),
                {isolines.PointX(a), isolines.PointY(a), isolines.PointX(b), isolines.PointY(b)});
  }
  return std::make_shared<LineLayer>(std::move(ends), colour, true);
}

QImage NewLayerImage(const ViewTransform& t) {
  QImage image(std::max(1, t.canvasWidth), std::max(1, t.canvasHeight),
               QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  return image;
}

// A world point at screen x0 in `from` is at x0 * from.scale / to.scale + (from.originX -
// to.originX) / to.scale in `to`; in y, measured up from each canvas's lower edge likewise.
void DrawLayerMoved(QPainter& painter, const QImage& layer, const ViewTransform& from,
                    const ViewTransform& to) {
  const double k = from.scale / to.scale;
  const double left = (from.originX - to.originX) / to.scale;
  const double bottom = to.canvasHeight - (from.originY - to.originY) / to.scale;
  const QRectF target(left, bottom - layer.height() * k, layer.width() * k, layer.height() * k);
  painter.save();
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  painter.drawImage(target, layer);
  painter.restore();
}

}  // namespace tavrin

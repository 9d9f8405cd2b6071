#include "ui/FringeView.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <utility>

#include "ui/FringeRenderer.h"
#include "ui/LegendBar.h"

namespace tavrin {

void FringeView::Show(FringeField field, const QString& title) {
  field_ = std::move(field);
  scale_ = FringeScale(field_.min, field_.max);
  title_ = title;
  imageValid_ = false;
}

void FringeView::Clear() { Show(FringeField{}, QString()); }

const QImage& FringeView::Image(const ViewTransform& t) {
  const bool same = imageValid_ && t.scale == imageView_.scale && t.originX == imageView_.originX &&
                    t.originY == imageView_.originY && t.canvasWidth == imageView_.canvasWidth &&
                    t.canvasHeight == imageView_.canvasHeight;
  if (same) return image_;
  if (image_.width() != t.canvasWidth || image_.height() != t.canvasHeight)
    image_ = QImage(std::max(1, t.canvasWidth), std::max(1, t.canvasHeight),
                    QImage::Format_ARGB32_Premultiplied);
  image_.fill(Qt::transparent);
  RenderFringes(image_, field_, scale_, t);
  imageView_ = t;
  imageValid_ = true;
  return image_;
}

// The legend is drawn with a painter's default font, the application's.
int FringeView::LegendReserve(int viewHeight) const {
  if (!HasField()) return 0;
  return tavrin::LegendReserve(QFontMetrics(QFont()), scale_, title_, viewHeight);
}

void FringeView::DrawOverlay(QPainter& painter, const ViewTransform& t) const {
  if (!HasField()) return;
  DrawBandLines(painter, field_, scale_, t, LineColour());
  DrawLegend(painter, scale_, title_, t.canvasWidth, t.canvasHeight);
  // Last: an extreme under the legend is still marked.
  DrawExtremeMarkers(painter, field_, t);
}

}  // namespace tavrin

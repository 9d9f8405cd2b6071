#include "ui/FringeView.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <utility>

#include "ui/FringeRenderer.h"
#include "ui/LegendBar.h"
#include "ui/PictureLayer.h"
#include "ui/ViewTransform.h"

namespace tavrin {

FringeView::FringeView() : field_(std::make_shared<const FringeField>()) {}

void FringeView::Show(FringeField field, const QString& title) {
  Show(std::make_shared<const FringeField>(std::move(field)), title);
}

void FringeView::Show(std::shared_ptr<const FringeField> field, const QString& title) {
  field_ = std::move(field);
  scale_ = FringeScale(field_->min, field_->max);
  title_ = title;
  layer_ = HasField() ? MakeFringeLayer(field_, scale_, LineColour()) : nullptr;
}

void FringeView::Clear() { Show(FringeField{}, QString()); }

// The legend is drawn with a painter's default font, the application's.
int FringeView::LegendReserve(int viewHeight) const {
  if (!HasField()) return 0;
  return tavrin::LegendReserve(QFontMetrics(QFont()), scale_, title_, viewHeight);
}

void FringeView::DrawOverlay(QPainter& painter, const ViewTransform& t, bool bandLines) const {
  if (!HasField()) return;
  if (bandLines) DrawBandLines(painter, *field_, scale_, t, LineColour());
  DrawLegend(painter, scale_, title_, t.canvasWidth, t.canvasHeight);
  // Last: an extreme under the legend is still marked.
  DrawExtremeMarkers(painter, *field_, t);
}

}  // namespace tavrin

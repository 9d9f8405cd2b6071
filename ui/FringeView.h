// FringeView: the colour-fringe picture of one result field in the plan view. Owns the field's
// copy (FringeField, shared read-only with the picture layer that renders it, possibly on
// another thread), its bands (FringeScale) and the legend's title. The fringes themselves are
// a PictureLayer that the plan view renders and caches for its view.
#pragma once

#include <QColor>
#include <QString>
#include <memory>

#include "ui/FringeField.h"
#include "ui/FringeScale.h"

class QPainter;

namespace tavrin {

class PictureLayer;
struct ViewTransform;

class FringeView {
 public:
  // The isolines over the fringes: dark grey, distinct from every colour of both maps.
  static QColor LineColour() { return QColor(40, 40, 40); }

  FringeView();
  void Show(FringeField field, const QString& title);
  // The same for a field already shared (made off the GUI thread): not copied.
  void Show(std::shared_ptr<const FringeField> field, const QString& title);
  void Clear();
  bool HasField() const { return !field_->Empty(); }
  const FringeField& Field() const { return *field_; }
  const std::shared_ptr<const FringeField>& SharedField() const { return field_; }
  const FringeScale& Scale() const { return scale_; }
  const QString& Title() const { return title_; }

  // The fringes with their band boundaries, the same object until the field changes.
  const std::shared_ptr<const PictureLayer>& Layer() const { return layer_; }
  // The width the legend takes at the right of a view of the given height (0 without a field).
  int LegendReserve(int viewHeight) const;
  // The legend and the min and max markers over the fringes; the band boundaries too when
  // bandLines (a vector picture, whose fringes are polygons, not the layer).
  void DrawOverlay(QPainter& painter, const ViewTransform& t, bool bandLines = false) const;

 private:
  std::shared_ptr<const FringeField> field_;
  FringeScale scale_;
  QString title_;
  std::shared_ptr<const PictureLayer> layer_;
};

}  // namespace tavrin

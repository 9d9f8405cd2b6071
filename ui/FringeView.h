// FringeView: the colour-fringe picture of one result field in the plan view. Owns the field's
// copy (FringeField), its bands (FringeScale), the legend's title and the last rendered fringe
// image with the view transform it was rendered for: panning back and forth, repaints and the
// legend cost nothing while the view stands still, and a changed view renders the image once.
#pragma once

#include <QImage>
#include <QString>

#include "ui/FringeField.h"
#include "ui/FringeScale.h"
#include "ui/ViewTransform.h"

class QPainter;

namespace tavrin {

class FringeView {
 public:
  // The isolines over the fringes: dark grey, distinct from every colour of both maps.
  static QColor LineColour() { return QColor(40, 40, 40); }

  void Show(FringeField field, const QString& title);
  void Clear();
  bool HasField() const { return !field_.Empty(); }
  const FringeField& Field() const { return field_; }
  const FringeScale& Scale() const { return scale_; }
  const QString& Title() const { return title_; }

  // The fringes for the view t (transparent outside the mesh), rendered when t or the field
  // changed since the last call.
  const QImage& Image(const ViewTransform& t);
  // The width the legend takes at the right of a view of the given height (0 without a field).
  int LegendReserve(int viewHeight) const;
  // The band boundaries, the legend and the min and max markers, over the fringes.
  void DrawOverlay(QPainter& painter, const ViewTransform& t) const;

 private:
  FringeField field_;
  FringeScale scale_;
  QString title_;
  QImage image_;
  ViewTransform imageView_;
  bool imageValid_ = false;
};

}  // namespace tavrin

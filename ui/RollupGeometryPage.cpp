#include "ui/RollupGeometryPage.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>
#include <cstdlib>
#include <utility>

#include "model/ArcGeometry.h"
#include "ui/Platform.h"
#include "ui/TRollupFields.h"

namespace tavrin {

RollupGeometryPage::RollupGeometryPage() : RollupPage("TabGeometry") {
  auto* g = new QGridLayout(this);
  g->setContentsMargins(3, 3, 3, 3);
  g->setSpacing(3);
  valueX_ = AddField("Value_X");
  valueY_ = AddField("Value_Y");
  g->addWidget(new QLabel(QStringLiteral("abs. X:"), this), 0, 0);
  g->addWidget(valueX_, 0, 1);
  g->addWidget(new QLabel(QStringLiteral("abs. Y:"), this), 1, 0);
  g->addWidget(valueY_, 1, 1);
  bulge_ = AddField("Bulge");
  radius_ = AddField("Radius");
  bulge_->setToolTip(QStringLiteral(
      "Arc: tan(angle / 4), from -1 to 1 (a half circle); negative runs clockwise from the begin "
      "node; 0 for a straight edge"));
  radius_->setToolTip(QStringLiteral(
      "Arc radius, at least half the edge's length; negative runs clockwise from the begin "
      "node; 0 for a straight edge"));
  g->addWidget(new QLabel(QStringLiteral("Bulge:"), this), 2, 0);
  g->addWidget(bulge_, 2, 1);
  g->addWidget(new QLabel(QStringLiteral("Radius:"), this), 3, 0);
  g->addWidget(radius_, 3, 1);
  auto* sketchRow = new QHBoxLayout;
  drawBox_ = new TRollupSketch(this);
  sketchRow->addWidget(drawBox_, 0, Qt::AlignTop);
  auto* endCol = new QVBoxLayout;
  endCol->addWidget(new QLabel(QStringLiteral("Selected:"), this));
  selectedEnd_ = new QLabel(this);
  selectedEnd_->setObjectName(QStringLiteral("Selected_End"));
  endCol->addWidget(selectedEnd_);
  endCol->addStretch(1);
  sketchRow->addLayout(endCol, 1);
  g->addLayout(sketchRow, 4, 0, 1, 2);
  selBegin_ = new QPushButton(QStringLiteral("Select begin"), this);
  selBegin_->setObjectName(QStringLiteral("SelBegin"));
  selEnd_ = new QPushButton(QStringLiteral("Select endpoint"), this);
  selEnd_->setObjectName(QStringLiteral("SelEnd"));
  vector_ = AddCheck("Vector", QStringLiteral("Line as vector"));
  g->addWidget(selBegin_, 5, 0, 1, 2);
  g->addWidget(selEnd_, 6, 0, 1, 2);
  g->addWidget(vector_, 7, 0, 1, 2);
  g->setRowStretch(8, 1);

  Watch(valueX_);
  Watch(valueY_);
  Watch(bulge_);
  Watch(radius_);
  // Each arc field follows the other as it is typed (setText does not count as typing).
  connect(bulge_, &QLineEdit::textEdited, this, [this] {
    radiusTyped_ = false;
    const double b = Value(bulge_);
    if (IsInvalidFieldValue(b)) return;
    const double chord = Chord(current_, Value(valueX_), Value(valueY_));
    radius_->setText(b == 0.0 ? QStringLiteral("0") : Text(std::copysign(ArcRadius(chord, b), b)));
  });
  connect(radius_, &QLineEdit::textEdited, this, [this] {
    radiusTyped_ = true;
    const double b =
        BulgeForRadius(Chord(current_, Value(valueX_), Value(valueY_)), Value(radius_));
    if (std::isfinite(b)) bulge_->setText(Text(b));
  });
  connect(selBegin_, &QPushButton::clicked, this, [this] { emit EdgeEndRequested(0); });
  connect(selEnd_, &QPushButton::clicked, this, [this] { emit EdgeEndRequested(1); });
  connect(drawBox_, &TRollupSketch::Pressed, this, [this](QPoint p) { SketchClick(p.x(), p.y()); });
}

void RollupGeometryPage::Fill(const RollupSelection& selection, const EditRequest& shown) {
  const Filling filling(*this);
  shownBulge_ = selection.kind == SelectionKind::edge ? shown.bulge : 0.0;
  ShowCoordinates(selection);
  const bool edge = selection.kind == SelectionKind::edge;
  valueX_->setEnabled(selection.kind != SelectionKind::none);
  valueY_->setEnabled(selection.kind != SelectionKind::none);
  bulge_->setEnabled(edge);
  radius_->setEnabled(edge);
  selBegin_->setEnabled(edge);
  selEnd_->setEnabled(edge);
  vector_->setEnabled(edge);
  ShowArc(selection);
  ShowSketch(selection);
  ForgetChange();
}

void RollupGeometryPage::ShowEnd(const RollupSelection& selection) {
  const Filling filling(*this);
  ShowCoordinates(selection);
  ShowSketch(selection);
}

void RollupGeometryPage::ShowArc(const RollupSelection& s) {
  radiusTyped_ = false;
  if (s.kind != SelectionKind::edge) {
    bulge_->clear();
    radius_->clear();
    return;
  }
  bulge_->setText(Text(shownBulge_));
  const double chord = std::hypot(s.c[2] - s.c[0], s.c[3] - s.c[1]);
  radius_->setText(shownBulge_ == 0.0
                       ? QStringLiteral("0")
                       : Text(std::copysign(ArcRadius(chord, shownBulge_), shownBulge_)));
}

double RollupGeometryPage::Chord(const RollupSelection& s, double x, double y) {
  if (IsInvalidFieldValue(x) || IsInvalidFieldValue(y)) {
    x = s.c[s.endSelected ? 2 : 0];
    y = s.c[s.endSelected ? 3 : 1];
  }
  const double ox = s.c[s.endSelected ? 0 : 2], oy = s.c[s.endSelected ? 1 : 3];
  return std::hypot(ox - x, oy - y);
}

bool RollupGeometryPage::ReadBulge(const RollupSelection& s, double chord, double& bulge) {
  const QString edge = QStringLiteral("Edge# %1: ").arg(s.id);
  if (radiusTyped_) {
    const double radius = Value(radius_);
    bulge = IsInvalidFieldValue(radius) ? std::nan("") : BulgeForRadius(chord, radius);
    if (std::isfinite(bulge)) return true;
    ShowError((edge + QStringLiteral("not a valid radius in 'Radius' field: it must be at least "
                                     "half the edge's length, %1, or 0 for a straight edge")
                          .arg(Text(chord / 2)))
                  .toStdString());
  } else {
    bulge = Value(bulge_);
    if (!IsInvalidFieldValue(bulge) && std::fabs(bulge) <= kMaxBulge) return true;
    ShowError((edge + QStringLiteral("not a valid bulge in 'Bulge' field: it must be a number "
                                     "from -1 to 1 (a half circle), 0 for a straight edge"))
                  .toStdString());
  }
  emit ShowMe();
  return false;
}

void RollupGeometryPage::ShowCoordinates(const RollupSelection& s) {
  const std::array<double, 6>& c = s.c;
  switch (s.kind) {
    case SelectionKind::edge:
      valueX_->setText(Text(s.endSelected ? c[2] : c[0]));
      valueY_->setText(Text(s.endSelected ? c[3] : c[1]));
      selectedEnd_->setText(s.endSelected ? QStringLiteral("Endpoint") : QStringLiteral("Begin"));
      break;
    case SelectionKind::node:
      valueX_->setText(Text(c[4]));
      valueY_->setText(Text(c[5]));
      selectedEnd_->clear();
      break;
    case SelectionKind::polygon:
      valueX_->setText(QStringLiteral("0"));
      valueY_->setText(QStringLiteral("0"));
      selectedEnd_->clear();
      break;
    default:
      valueX_->clear();
      valueY_->clear();
      selectedEnd_->clear();
      break;
  }
}

void RollupGeometryPage::ShowSketch(const RollupSelection& s) {
  current_ = s;
  farEnd_.reset();
  if (s.kind == SelectionKind::edge) {
    std::array<SketchPoint, 2> ends = EdgeSketchPoints(s.c[0], s.c[1], s.c[2], s.c[3]);
    // The chosen end is always the first; the arc seen from the other end turns the other way.
    if (s.endSelected) std::swap(ends[0], ends[1]);
    drawBox_->ShowEdge(ends[0], ends[1], s.endSelected ? -shownBulge_ : shownBulge_);
    farEnd_ = ends[1];
  } else if (s.kind == SelectionKind::node) {
    drawBox_->ShowNode(s.c);
  } else {
    drawBox_->ShowNothing();
  }
}

void RollupGeometryPage::SketchClick(int x, int y) {
  // Only an edge has two ends to choose from; a node's sketch is not clickable.
  if (!farEnd_) return;
  if (std::abs(farEnd_->x - x) < 3 && std::abs(farEnd_->y - (kSketchSize - y)) < 3)
    emit FarEndClicked();
}

bool RollupGeometryPage::Validate(const RollupSelection& selection, EditRequest& r) {
  const double x = Value(valueX_), y = Value(valueY_);
  bool ok = true;
  if (IsInvalidFieldValue(x)) {
    ShowError("Not a valid number in 'abs. X' field");
    ok = false;
  }
  if (IsInvalidFieldValue(y)) {
    ShowError("Not a valid number in 'abs. Y' field");
    ok = false;
  }
  if (!ok) return false;
  const bool edge = selection.kind == SelectionKind::edge;
  double bulge = shownBulge_;
  if (edge && !ReadBulge(selection, Chord(selection, x, y), bulge)) return false;
  r.x = x;
  r.y = y;
  r.bulge = bulge;
  r.arcChanged = edge && bulge != shownBulge_;
  // An arc typed alone moves no node (and names no move on the Edit menu).
  const std::array<double, 6>& c = selection.c;
  const bool moved =
      !edge || x != c[selection.endSelected ? 2 : 0] || y != c[selection.endSelected ? 3 : 1];
  r.geometryChanged = moved || !r.arcChanged;
  Address(selection, r, true);
  return true;
}

void RollupGeometryPage::KeepApplied(const EditRequest& applied, RollupSelection& s,
                                     EditRequest& shown) {
  if (applied.arcChanged) {
    shown.bulge = shownBulge_ = applied.bulge;
    ShowSketch(s);
  }
  if (!applied.geometryChanged) return;
  if (s.kind == SelectionKind::node) {
    s.c[4] = applied.x;
    s.c[5] = applied.y;
  } else if (s.kind == SelectionKind::edge) {
    s.c[s.endSelected ? 2 : 0] = applied.x;
    s.c[s.endSelected ? 3 : 1] = applied.y;
  }
  ShowSketch(s);
}

}  // namespace tavrin

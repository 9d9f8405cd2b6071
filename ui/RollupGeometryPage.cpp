#include "ui/RollupGeometryPage.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <cstdlib>
#include <utility>

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
  g->addLayout(sketchRow, 2, 0, 1, 2);
  selBegin_ = new QPushButton(QStringLiteral("Select begin"), this);
  selBegin_->setObjectName(QStringLiteral("SelBegin"));
  selEnd_ = new QPushButton(QStringLiteral("Select endpoint"), this);
  selEnd_->setObjectName(QStringLiteral("SelEnd"));
  vector_ = AddCheck("Vector", QStringLiteral("Line as vector"));
  g->addWidget(selBegin_, 3, 0, 1, 2);
  g->addWidget(selEnd_, 4, 0, 1, 2);
  g->addWidget(vector_, 5, 0, 1, 2);
  g->setRowStretch(6, 1);

  Watch(valueX_);
  Watch(valueY_);
  connect(selBegin_, &QPushButton::clicked, this, [this] { emit EdgeEndRequested(0); });
  connect(selEnd_, &QPushButton::clicked, this, [this] { emit EdgeEndRequested(1); });
  connect(drawBox_, &TRollupSketch::Pressed, this, [this](QPoint p) { SketchClick(p.x(), p.y()); });
}

void RollupGeometryPage::Fill(const RollupSelection& selection, const EditRequest&) {
  const Filling filling(*this);
  ShowCoordinates(selection);
  const bool edge = selection.kind == SelectionKind::edge;
  valueX_->setEnabled(selection.kind != SelectionKind::none);
  valueY_->setEnabled(selection.kind != SelectionKind::none);
  selBegin_->setEnabled(edge);
  selEnd_->setEnabled(edge);
  vector_->setEnabled(edge);
  ShowSketch(selection);
  ForgetChange();
}

void RollupGeometryPage::ShowEnd(const RollupSelection& selection) {
  const Filling filling(*this);
  ShowCoordinates(selection);
  ShowSketch(selection);
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
  farEnd_.reset();
  if (s.kind == SelectionKind::edge) {
    std::array<SketchPoint, 2> ends = EdgeSketchPoints(s.c[0], s.c[1], s.c[2], s.c[3]);
    if (s.endSelected) std::swap(ends[0], ends[1]);  // the chosen end is always the first
    drawBox_->ShowEdge(ends[0], ends[1]);
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
  r.x = x;
  r.y = y;
  r.geometryChanged = true;
  Address(selection, r, true);
  return true;
}

void RollupGeometryPage::KeepApplied(const EditRequest& applied, RollupSelection& s, EditRequest&) {
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

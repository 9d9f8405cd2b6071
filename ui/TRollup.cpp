#include "ui/TRollup.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QShowEvent>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "model/ConstraintCode.h"
#include "ui/Platform.h"
#include "ui/TRollupFields.h"
#include "ui/TRollupSketch.h"

namespace tavrin {

namespace {

QString Num(double v) { return QString::fromStdString(FormatFieldValue(v)); }

double FieldValue(const QLineEdit* edit) { return ParseFieldValue(edit->text().toStdString()); }

// The pictures of the four page tabs, 21 x 21, drawn here rather than shipped as files.
QIcon TabIcon(int page) {
  QPixmap pm(21, 21);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(Qt::black, 1.5));
  switch (page) {
    case 0:  // a node on a line
      p.drawLine(3, 17, 17, 4);
      p.fillRect(8, 8, 5, 5, Qt::red);
      break;
    case 1:  // a load arrow
      p.drawLine(10, 2, 10, 16);
      p.setBrush(Qt::black);
      p.drawPolygon(QPolygon({QPoint(6, 12), QPoint(14, 12), QPoint(10, 18)}));
      break;
    case 2:  // a support triangle on hatching
      p.setBrush(Qt::NoBrush);
      p.drawPolygon(QPolygon({QPoint(10, 3), QPoint(4, 14), QPoint(16, 14)}));
      for (int x = 3; x < 18; x += 4) p.drawLine(x + 3, 15, x, 19);
      break;
    default:  // a plate
      p.setBrush(QColor(200, 200, 200));
      p.drawPolygon(QPolygon({QPoint(2, 14), QPoint(8, 6), QPoint(19, 6), QPoint(13, 14)}));
      break;
  }
  return QIcon(pm);
}

QLineEdit* Edit(const char* name, QWidget* parent) {
  auto* e = new QLineEdit(parent);
  e->setObjectName(QString::fromLatin1(name));
  // The window is meant to be narrow; the fields take the width the labels leave.
  e->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
  e->setMinimumWidth(48);
  return e;
}

QCheckBox* Check(const char* name, const QString& caption, QWidget* parent) {
  auto* c = new QCheckBox(caption, parent);
  c->setObjectName(QString::fromLatin1(name));
  return c;
}

}  // namespace

TRollup::TRollup(TRollupHost& host, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      host_(host) {
  setObjectName(QStringLiteral("TRollup"));
  setWindowTitle(QStringLiteral("Node Properties"));
  QFont f = font();
  f.setPointSize(8);
  setFont(f);
  BuildControls();
  RefreshSelection();
}

TRollup::~TRollup() = default;

void TRollup::BuildControls() {
  auto* top = new QVBoxLayout(this);
  top->setContentsMargins(4, 4, 4, 4);
  top->setSpacing(4);

  auto* selRow = new QHBoxLayout;
  selRow->addWidget(new QLabel(QStringLiteral("Selected:"), this));
  selectLabel_ = new QLabel(this);
  selectLabel_->setObjectName(QStringLiteral("Select_Label"));
  selRow->addWidget(selectLabel_, 1);
  top->addLayout(selRow);

  pageControl_ = new QTabWidget(this);
  pageControl_->setObjectName(QStringLiteral("PageControl"));
  pageControl_->setIconSize(QSize(21, 21));
  pageControl_->tabBar()->setExpanding(false);
  pageControl_->setStyleSheet(QStringLiteral("QTabBar::tab { width: 25px; padding: 2px 0px; }"));
  top->addWidget(pageControl_, 1);

  // Geometry.
  auto* geom = new QWidget;
  geom->setObjectName(QStringLiteral("TabGeometry"));
  auto* g = new QGridLayout(geom);
  g->setContentsMargins(3, 3, 3, 3);
  g->setSpacing(3);
  valueX_ = Edit("Value_X", geom);
  valueY_ = Edit("Value_Y", geom);
  g->addWidget(new QLabel(QStringLiteral("abs. X:"), geom), 0, 0);
  g->addWidget(valueX_, 0, 1);
  g->addWidget(new QLabel(QStringLiteral("abs. Y:"), geom), 1, 0);
  g->addWidget(valueY_, 1, 1);
  auto* sketchRow = new QHBoxLayout;
  drawBox_ = new TRollupSketch(*this, geom);
  sketchRow->addWidget(drawBox_, 0, Qt::AlignTop);
  auto* endCol = new QVBoxLayout;
  endCol->addWidget(new QLabel(QStringLiteral("Selected:"), geom));
  selectedEnd_ = new QLabel(geom);
  selectedEnd_->setObjectName(QStringLiteral("Selected_End"));
  endCol->addWidget(selectedEnd_);
  endCol->addStretch(1);
  sketchRow->addLayout(endCol, 1);
  g->addLayout(sketchRow, 2, 0, 1, 2);
  selBegin_ = new QPushButton(QStringLiteral("Select begin"), geom);
  selBegin_->setObjectName(QStringLiteral("SelBegin"));
  selEnd_ = new QPushButton(QStringLiteral("Select endpoint"), geom);
  selEnd_->setObjectName(QStringLiteral("SelEnd"));
  vector_ = Check("Vector", QStringLiteral("Line as vector"), geom);
  g->addWidget(selBegin_, 3, 0, 1, 2);
  g->addWidget(selEnd_, 4, 0, 1, 2);
  g->addWidget(vector_, 5, 0, 1, 2);
  g->setRowStretch(6, 1);
  pageControl_->addTab(geom, TabIcon(0), QString());
  pageControl_->setTabToolTip(TabGeometry, QStringLiteral("Geomery Properties"));

  // Loads.
  auto* loads = new QWidget;
  loads->setObjectName(QStringLiteral("TabLoads"));
  auto* l = new QGridLayout(loads);
  l->setContentsMargins(3, 3, 3, 3);
  forceUZ_ = Edit("ForceUZ", loads);
  forceRX_ = Edit("ForceRX", loads);
  forceRY_ = Edit("ForceRY", loads);
  l->addWidget(new QLabel(QStringLiteral("Lin. Z"), loads), 0, 0);
  l->addWidget(forceUZ_, 0, 1);
  l->addWidget(new QLabel(QStringLiteral("Rot. X"), loads), 1, 0);
  l->addWidget(forceRX_, 1, 1);
  l->addWidget(new QLabel(QStringLiteral("Rot. Y"), loads), 2, 0);
  l->addWidget(forceRY_, 2, 1);
  l->setRowStretch(3, 1);
  pageControl_->addTab(loads, TabIcon(1), QString());
  pageControl_->setTabToolTip(TabLoads, QStringLiteral("Loads Properties"));

  // Constraints.
  auto* cons = new QWidget;
  cons->setObjectName(QStringLiteral("TabConstrains"));
  auto* c = new QGridLayout(cons);
  c->setContentsMargins(3, 3, 3, 3);
  enableDZ_ = Check("EnableDZ", QStringLiteral("Constrain Lin. Z"), cons);
  enableRX_ = Check("EnableRX", QStringLiteral("Constrain Rot. X"), cons);
  enableRY_ = Check("EnableRY", QStringLiteral("Constrain Rot. Y"), cons);
  c->addWidget(enableDZ_, 0, 0, 1, 2);
  c->addWidget(enableRX_, 1, 0, 1, 2);
  c->addWidget(enableRY_, 2, 0, 1, 2);
  dispUZ_ = Edit("DispUZ", cons);
  dispRX_ = Edit("DispRX", cons);
  dispRY_ = Edit("DispRY", cons);
  for (QLineEdit* e : {dispUZ_, dispRX_, dispRY_}) e->setText(QStringLiteral("0"));
  c->addWidget(new QLabel(QStringLiteral("Lin. Z"), cons), 3, 0);
  c->addWidget(dispUZ_, 3, 1);
  c->addWidget(new QLabel(QStringLiteral("Rot. X"), cons), 4, 0);
  c->addWidget(dispRX_, 4, 1);
  c->addWidget(new QLabel(QStringLiteral("Rot. Y"), cons), 5, 0);
  c->addWidget(dispRY_, 5, 1);
  c->setRowStretch(6, 1);
  pageControl_->addTab(cons, TabIcon(2), QString());
  pageControl_->setTabToolTip(TabConstrains, QStringLiteral("Constrains Properties"));

  // Polygon physics.
  auto* phys = new QWidget;
  phys->setObjectName(QStringLiteral("TabPhysics"));
  auto* p = new QGridLayout(phys);
  p->setContentsMargins(3, 3, 3, 3);
  pressure_ = Edit("Pressure", phys);
  eModulus_ = Edit("EModulus", phys);
  nuModulus_ = Edit("NuModulus", phys);
  thickness_ = Edit("Thickness", phys);
  isHole_ = Check("IsHole", QStringLiteral("Hole"), phys);
  polyName_ = Edit("PolyName", phys);
  auto* qz = new QLabel(QStringLiteral("qZ"), phys);
  qz->setToolTip(QStringLiteral("Pressure"));
  p->addWidget(qz, 0, 0);
  p->addWidget(pressure_, 0, 1);
  p->addWidget(new QLabel(QStringLiteral("mod. E"), phys), 1, 0);
  p->addWidget(eModulus_, 1, 1);
  auto* nu = new QLabel(phys);  // the Poisson ratio's field is labelled by a picture of the letter
  {
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter pp(&pm);
    QFont nf = font();
    nf.setItalic(true);
    nf.setPointSize(10);
    pp.setFont(nf);
    pp.drawText(pm.rect(), Qt::AlignCenter, QString(QChar(0x03BD)));
    nu->setPixmap(pm);
  }
  nu->setToolTip(QStringLiteral("Poisson ratio"));
  p->addWidget(nu, 2, 0);
  p->addWidget(nuModulus_, 2, 1);
  p->addWidget(new QLabel(QStringLiteral("Thickn."), phys), 3, 0);
  p->addWidget(thickness_, 3, 1);
  p->addWidget(isHole_, 4, 0, 1, 2);
  p->addWidget(new QLabel(QStringLiteral("Object name"), phys), 5, 0, 1, 2);
  p->addWidget(polyName_, 6, 0, 1, 2);
  p->setRowStretch(7, 1);
  pageControl_->addTab(phys, TabIcon(3), QString());

  mainButton_ = new QPushButton(QStringLiteral("Apply"), this);
  mainButton_->setObjectName(QStringLiteral("MainButton"));
  top->addWidget(mainButton_);

  // Change events: each page's fields mark that page as changed.
  for (QLineEdit* e : {valueX_, valueY_})
    connect(e, &QLineEdit::textChanged, this, [this] { Changed(geometryDirty_); });
  for (QLineEdit* e : {forceUZ_, forceRX_, forceRY_})
    connect(e, &QLineEdit::textChanged, this, [this] { Changed(loadsDirty_); });
  for (QLineEdit* e : {dispUZ_, dispRX_, dispRY_})
    connect(e, &QLineEdit::textChanged, this, [this] { Changed(constraintsDirty_); });
  for (QCheckBox* b : {enableDZ_, enableRX_, enableRY_})
    connect(b, &QCheckBox::clicked, this, [this] { Changed(constraintsDirty_); });
  for (QLineEdit* e : {pressure_, eModulus_, nuModulus_, thickness_, polyName_})
    connect(e, &QLineEdit::textChanged, this, [this] { Changed(physicsDirty_); });
  connect(isHole_, &QCheckBox::clicked, this, [this] { Changed(physicsDirty_); });

  connect(mainButton_, &QPushButton::clicked, this, &TRollup::Apply);
  connect(selBegin_, &QPushButton::clicked, this, [this] { host_.SelectEdgeEnd(id_, 0); });
  connect(selEnd_, &QPushButton::clicked, this, [this] { host_.SelectEdgeEnd(id_, 1); });
  connect(pageControl_, &QTabWidget::currentChanged, this, [this](int page) {
    if (page == TabGeometry) RefreshSelection();
  });

  // As small as the controls allow, and not smaller than the designed 135 x 290.
  QSize least = minimumSizeHint();
  resize(std::max(135, least.width()), std::max(290, least.height()));
}

void TRollup::Changed(bool& flag) {
  if (!filling_) flag = true;
}

void TRollup::ClearDirty() {
  geometryDirty_ = loadsDirty_ = constraintsDirty_ = physicsDirty_ = false;
}

void TRollup::ShowSelection(SelectionKind kind, std::span<const int> ids,
                            const std::array<double, 6>& c) {
  kind_ = kind;
  id_ = ids.empty() ? -1 : ids[0];
  c_ = c;
  endSelected_ = false;
  ++selectionGeneration_;
  shown_ = host_.Request();
  RefreshSelection();
}

void TRollup::ComputeEdgeSketch() {
  auto pts = EdgeSketchPoints(c_[0], c_[1], c_[2], c_[3]);
  if (endSelected_) std::swap(pts[0], pts[1]);  // the chosen end is always the first point
  p1x_ = pts[0].x;
  p1y_ = pts[0].y;
  p2x_ = pts[1].x;
  p2y_ = pts[1].y;
}

void TRollup::RefreshGeometryFields() {
  filling_ = true;
  if (kind_ == SelectionKind::edge) {
    valueX_->setText(Num(endSelected_ ? c_[2] : c_[0]));
    valueY_->setText(Num(endSelected_ ? c_[3] : c_[1]));
    selectedEnd_->setText(endSelected_ ? QStringLiteral("Endpoint") : QStringLiteral("Begin"));
  } else if (kind_ == SelectionKind::node) {
    valueX_->setText(Num(c_[4]));
    valueY_->setText(Num(c_[5]));
    selectedEnd_->clear();
  } else if (kind_ == SelectionKind::polygon) {
    valueX_->setText(QStringLiteral("0"));
    valueY_->setText(QStringLiteral("0"));
    selectedEnd_->clear();
  } else {
    valueX_->clear();
    valueY_->clear();
    selectedEnd_->clear();
  }
  filling_ = false;
}

// Shows the stored selection in every control. The fields then hold exactly the stored values,
// so no page has a pending change any more.
void TRollup::RefreshSelection() {
  filling_ = true;
  const bool node = kind_ == SelectionKind::node;
  const bool edge = kind_ == SelectionKind::edge;
  const bool polygon = kind_ == SelectionKind::polygon;
  const bool attributes = node || edge;

  switch (kind_) {
    case SelectionKind::node:
      selectLabel_->setText(QStringLiteral("Node# %1").arg(id_));
      break;
    case SelectionKind::edge:
      selectLabel_->setText(QStringLiteral("Edge# %1").arg(id_));
      break;
    case SelectionKind::polygon:
      selectLabel_->setText(QStringLiteral("Polygon# %1").arg(id_));
      break;
    default:
      selectLabel_->setText(QStringLiteral("None"));
      break;
  }
  if (edge) ComputeEdgeSketch();
  RefreshGeometryFields();
  filling_ = true;

  valueX_->setEnabled(kind_ != SelectionKind::none);
  valueY_->setEnabled(kind_ != SelectionKind::none);
  selBegin_->setEnabled(edge);
  selEnd_->setEnabled(edge);
  vector_->setEnabled(edge);

  for (QWidget* w :
       std::initializer_list<QWidget*>{forceUZ_, forceRX_, forceRY_, enableDZ_, enableRX_,
                                       enableRY_, dispUZ_, dispRX_, dispRY_})
    w->setEnabled(attributes);
  if (attributes) {
    forceUZ_->setText(Num(shown_.loadLinZ));
    forceRX_->setText(Num(shown_.loadRotX));
    forceRY_->setText(Num(shown_.loadRotY));
    dispUZ_->setText(Num(shown_.dispLinZ));
    dispRX_->setText(Num(shown_.dispRotX));
    dispRY_->setText(Num(shown_.dispRotY));
    const std::array<bool, 3> fixed = DecodeConstraintCode(shown_.constraintCode);
    enableDZ_->setChecked(fixed[0]);
    enableRX_->setChecked(fixed[1]);
    enableRY_->setChecked(fixed[2]);
  }

  for (QWidget* w : std::initializer_list<QWidget*>{pressure_, eModulus_, nuModulus_, thickness_,
                                                    isHole_, polyName_})
    w->setEnabled(polygon);
  if (polygon) {
    pressure_->setText(Num(shown_.pressure));
    eModulus_->setText(Num(shown_.eModulus));
    nuModulus_->setText(Num(shown_.poisson));
    thickness_->setText(Num(shown_.thickness));
    isHole_->setChecked(shown_.hole);
    polyName_->setText(QString::fromStdString(shown_.name));
  }
  filling_ = false;
  ClearDirty();
  drawBox_->update();
}

void TRollup::SketchClick(int x, int y) {
  // Only an edge has two ends to choose from; a node's sketch is not clickable.
  if (kind_ != SelectionKind::edge) return;
  if (std::abs(p2x_ - x) < 3 && std::abs(p2y_ - (kSketchSize - y)) < 3) ToggleEdgeEnd();
}

void TRollup::ToggleEdgeEnd() {
  if (kind_ != SelectionKind::edge) return;
  endSelected_ = !endSelected_;
  std::swap(p1x_, p2x_);
  std::swap(p1y_, p2y_);
  RefreshGeometryFields();
  drawBox_->update();
}

// The selection a validated page applies to; the end choice only matters to a node or an edge.
void TRollup::AddressRequest(EditRequest& r, bool withEnd) const {
  r.kind = kind_;
  r.index = id_;
  if (withEnd) r.moveBeginNode = !endSelected_;
}

bool TRollup::ValidateGeometry(EditRequest& r) {
  double x = FieldValue(valueX_), y = FieldValue(valueY_);
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
  AddressRequest(r, true);
  return true;
}

// Reads three fields of one page; every bad one shows its own message before the page is refused.
bool TRollup::ReadThree(QLineEdit* const (&fields)[3], const char* const (&messages)[3],
                        double (&out)[3]) {
  bool ok = true;
  for (int i = 0; i < 3; ++i) {
    out[i] = FieldValue(fields[i]);
    if (IsInvalidFieldValue(out[i])) {
      ShowError(messages[i]);
      ok = false;
    }
  }
  return ok;
}

bool TRollup::ValidateLoads(EditRequest& r) {
  static const char* const kMessages[3] = {"Not a valid number in 'Lin. X' field in loads tab",
                                           "Not a valid number in 'Rot. X' field in loads tab",
                                           "Not a valid number in 'Rot. Y' field in loads tab"};
  QLineEdit* const fields[3] = {forceUZ_, forceRX_, forceRY_};
  double v[3];
  if (!ReadThree(fields, kMessages, v)) return false;
  r.loadLinZ = v[0];
  r.loadRotX = v[1];
  r.loadRotY = v[2];
  r.loadsChanged = true;
  AddressRequest(r, true);
  return true;
}

bool TRollup::ValidateConstraints(EditRequest& r) {
  static const char* const kMessages[3] = {
      "Not a valid number in 'Lin. X' field in constrains tab",
      "Not a valid number in 'Rot. X' field in constrains tab",
      "Not a valid number in 'Rot. Y' field in constrains tab"};
  QLineEdit* const fields[3] = {dispUZ_, dispRX_, dispRY_};
  double v[3];
  if (!ReadThree(fields, kMessages, v)) return false;
  r.dispLinZ = v[0];
  r.dispRotX = v[1];
  r.dispRotY = v[2];
  r.constraintsChanged = true;
  AddressRequest(r, true);
  r.constraintCode =
      EncodeConstraintCode(enableDZ_->isChecked(), enableRX_->isChecked(), enableRY_->isChecked());
  return true;
}

bool TRollup::ValidatePhysics(EditRequest& r) {
  double pressure = FieldValue(pressure_), e = FieldValue(eModulus_), nu = FieldValue(nuModulus_),
         t = FieldValue(thickness_);
  bool ok = true;
  auto refuse = [&](QLineEdit* edit, const char* message) {
    ShowError(message);
    // The offending field takes the focus with its text selected; it may be on a page that is
    // not showing, so that page is turned to first.
    pageControl_->setCurrentIndex(TabPhysics);
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
    ok = false;
  };
  if (IsInvalidFieldValue(pressure)) refuse(pressure_, "Not a valid number in «pressure» field");
  if (IsInvalidFieldValue(e) || e < 0.0001)
    refuse(eModulus_, "Not a valid number in «E modulus» field");
  if (IsInvalidFieldValue(nu) || nu < 0.0001 || nu > 0.5)
    refuse(nuModulus_, "Not a valid number in «Poisson Modulus» field");
  if (IsInvalidFieldValue(t) || t < 0.0001)
    refuse(thickness_, "Not a valid number in «Thickness» field");
  if (!ok) return false;
  r.pressure = pressure;
  r.eModulus = e;
  r.poisson = nu;
  r.thickness = t;
  r.physicsChanged = true;
  AddressRequest(r, false);
  r.hole = isHole_->isChecked();
  return true;
}

void TRollup::Apply() {
  if (!mainButton_->isEnabled()) return;
  EditRequest& r = host_.Request();
  r.geometryChanged = r.loadsChanged = r.constraintsChanged = r.physicsChanged = false;
  bool ok = true;
  if (geometryDirty_) ok = ValidateGeometry(r);
  if (ok && loadsDirty_) ok = ValidateLoads(r);
  if (ok && constraintsDirty_) ok = ValidateConstraints(r);
  if (ok && physicsDirty_) ok = ValidatePhysics(r);
  // A refused page keeps every page's pending changes, so that correcting the bad field and
  // pressing Apply again applies all of them.
  if (!ok) return;

  const EditRequest applied = r;  // the host resets parts of the request when it is done
  const unsigned generation = selectionGeneration_;
  host_.ApplyEdits();
  if (generation != selectionGeneration_) return;  // the host showed a new selection meanwhile

  // What was applied is what the item holds now; showing the selection again shows that.
  if (applied.geometryChanged) {
    if (kind_ == SelectionKind::node) {
      c_[4] = applied.x;
      c_[5] = applied.y;
    } else if (kind_ == SelectionKind::edge) {
      c_[endSelected_ ? 2 : 0] = applied.x;
      c_[endSelected_ ? 3 : 1] = applied.y;
      ComputeEdgeSketch();
      drawBox_->update();
    }
  }
  if (applied.loadsChanged) {
    shown_.loadLinZ = applied.loadLinZ;
    shown_.loadRotX = applied.loadRotX;
    shown_.loadRotY = applied.loadRotY;
  }
  if (applied.constraintsChanged) {
    shown_.dispLinZ = applied.dispLinZ;
    shown_.dispRotX = applied.dispRotX;
    shown_.dispRotY = applied.dispRotY;
    shown_.constraintCode = applied.constraintCode;
  }
  if (applied.physicsChanged) {
    shown_.pressure = applied.pressure;
    shown_.eModulus = applied.eModulus;
    shown_.poisson = applied.poisson;
    shown_.thickness = applied.thickness;
    shown_.hole = applied.hole;
  }
  geometryDirty_ = loadsDirty_ = constraintsDirty_ = false;  // physics stays until a new selection
}

void TRollup::ShowPage(int page) {
  if (isHidden()) show();
  if (page >= 0 && page < pageControl_->count()) pageControl_->setCurrentIndex(page);
}

void TRollup::Startup(const QRect& mainFrame, int statusBarHeight) {
  QSize own = isVisible() ? frameGeometry().size() : size();
  move(mainFrame.left() + mainFrame.width() - own.width() - 5,
       mainFrame.top() + mainFrame.height() - statusBarHeight - own.height() - 5);
}

void TRollup::SetApplyBlocked(bool blocked) { mainButton_->setEnabled(!blocked); }

void TRollup::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!event->spontaneous() && pageControl_->currentIndex() == TabGeometry) RefreshSelection();
}

}  // namespace tavrin

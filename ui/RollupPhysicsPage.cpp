#include "ui/RollupPhysicsPage.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>

#include "ui/Platform.h"
#include "ui/TRollupFields.h"

namespace tavrin {

namespace {

// The lower bound of E, the Poisson ratio and the thickness: a field must hold more than zero.
constexpr double kLeastPositive = 0.0001;
constexpr double kLargestPoisson = 0.5;

// The Poisson ratio's field is labelled by a picture of the letter nu.
QLabel* NuLabel(QWidget* parent) {
  auto* nu = new QLabel(parent);
  QPixmap pm(16, 16);
  pm.fill(Qt::transparent);
  QPainter painter(&pm);
  QFont font = parent->font();
  font.setItalic(true);
  font.setPointSize(10);
  painter.setFont(font);
  painter.drawText(pm.rect(), Qt::AlignCenter, QString(QChar(0x03BD)));
  nu->setPixmap(pm);
  nu->setToolTip(QStringLiteral("Poisson ratio"));
  return nu;
}

}  // namespace

RollupPhysicsPage::RollupPhysicsPage() : RollupPage("TabPhysics") {
  auto* p = new QGridLayout(this);
  p->setContentsMargins(3, 3, 3, 3);
  pressure_ = AddField("Pressure");
  eModulus_ = AddField("EModulus");
  nuModulus_ = AddField("NuModulus");
  thickness_ = AddField("Thickness");
  isHole_ = AddCheck("IsHole", QStringLiteral("Hole"));
  polyName_ = AddField("PolyName");
  foundation_ = AddField("Foundation");
  angle_ = AddField("ReinforcementAngle");
  auto* qz = new QLabel(QStringLiteral("qZ"), this);
  qz->setToolTip(QStringLiteral("Pressure"));
  p->addWidget(qz, 0, 0);
  p->addWidget(pressure_, 0, 1);
  p->addWidget(new QLabel(QStringLiteral("mod. E"), this), 1, 0);
  p->addWidget(eModulus_, 1, 1);
  p->addWidget(NuLabel(this), 2, 0);
  p->addWidget(nuModulus_, 2, 1);
  p->addWidget(new QLabel(QStringLiteral("Thickn."), this), 3, 0);
  p->addWidget(thickness_, 3, 1);
  auto* kf = new QLabel(QStringLiteral("Found. k"), this);
  kf->setToolTip(QStringLiteral("Foundation modulus (pressure per deflection); 0 for none"));
  p->addWidget(kf, 4, 0);
  p->addWidget(foundation_, 4, 1);
  auto* ra = new QLabel(QStringLiteral("Reinf. angle"), this);
  ra->setToolTip(
      QStringLiteral("Reinforcement angle: the first steel layer's direction, degrees from x; the "
                     "Wood-Armer moments are given along it and at right angles to it"));
  p->addWidget(ra, 5, 0);
  p->addWidget(angle_, 5, 1);
  p->addWidget(isHole_, 6, 0, 1, 2);
  p->addWidget(new QLabel(QStringLiteral("Object name"), this), 7, 0, 1, 2);
  p->addWidget(polyName_, 8, 0, 1, 2);
  p->setRowStretch(9, 1);
  for (QLineEdit* e :
       {pressure_, eModulus_, nuModulus_, thickness_, foundation_, angle_, polyName_})
    Watch(e);
  Watch(isHole_);
}

void RollupPhysicsPage::Fill(const RollupSelection& selection, const EditRequest& shown) {
  const Filling filling(*this);
  const bool polygon = selection.kind == SelectionKind::polygon;
  for (QWidget* w : std::initializer_list<QWidget*>{pressure_, eModulus_, nuModulus_, thickness_,
                                                    foundation_, angle_, isHole_, polyName_})
    w->setEnabled(polygon);
  if (polygon) {
    pressure_->setText(Text(shown.pressure));
    eModulus_->setText(Text(shown.eModulus));
    nuModulus_->setText(Text(shown.poisson));
    thickness_->setText(Text(shown.thickness));
    foundation_->setText(Text(shown.foundation));
    angle_->setText(Text(shown.reinforcementAngle));
    isHole_->setChecked(shown.hole);
    polyName_->setText(QString::fromStdString(shown.name));
  }
  ForgetChange();
}

void RollupPhysicsPage::Refuse(QLineEdit* field, const char* message) {
  ShowError(message);
  // The field may be on a page that is not showing: the page is turned to first.
  emit ShowMe();
  field->setFocus(Qt::OtherFocusReason);
  field->selectAll();
}

bool RollupPhysicsPage::Validate(const RollupSelection& selection, EditRequest& r) {
  const double pressure = Value(pressure_), e = Value(eModulus_), nu = Value(nuModulus_),
               t = Value(thickness_), k = Value(foundation_), angle = Value(angle_);
  bool ok = true;
  auto refuse = [&](QLineEdit* field, const char* message) {
    Refuse(field, message);
    ok = false;
  };
  if (IsInvalidFieldValue(pressure)) refuse(pressure_, "Not a valid number in «pressure» field");
  if (IsInvalidFieldValue(e) || e < kLeastPositive)
    refuse(eModulus_, "Not a valid number in «E modulus» field");
  if (IsInvalidFieldValue(nu) || nu < kLeastPositive || nu > kLargestPoisson)
    refuse(nuModulus_, "Not a valid number in «Poisson Modulus» field");
  if (IsInvalidFieldValue(t) || t < kLeastPositive)
    refuse(thickness_, "Not a valid number in «Thickness» field");
  if (IsInvalidFieldValue(k) || k < 0)
    refuse(foundation_, "Not a valid modulus in «Foundation» field: it must not be negative");
  if (IsInvalidFieldValue(angle))
    refuse(angle_, "Not a valid number in «Reinforcement angle» field");
  if (!ok) return false;
  r.foundation = k;
  r.reinforcementAngle = angle;
  r.pressure = pressure;
  r.eModulus = e;
  r.poisson = nu;
  r.thickness = t;
  r.physicsChanged = true;
  Address(selection, r, false);
  r.hole = isHole_->isChecked();
  return true;
}

void RollupPhysicsPage::KeepApplied(const EditRequest& applied, RollupSelection&,
                                    EditRequest& shown) {
  if (!applied.physicsChanged) return;
  shown.pressure = applied.pressure;
  shown.eModulus = applied.eModulus;
  shown.poisson = applied.poisson;
  shown.thickness = applied.thickness;
  shown.foundation = applied.foundation;
  shown.reinforcementAngle = applied.reinforcementAngle;
  shown.hole = applied.hole;
}

}  // namespace tavrin

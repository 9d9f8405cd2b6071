#include "ui/DeflectedView3D.h"

#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygonF>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <map>
#include <numeric>

#include "ui/LegendBar.h"

namespace tavrin {

namespace {
constexpr double kDegree = M_PI / 180;
constexpr double kDegreesPerPixel = 0.5;
constexpr double kZoomPerNotch = 1.15;  // one wheel notch (120 units)
}  // namespace

// The magnification field loses its focus while the base class destroys it, and says its
// editing finished: by then this object is only a QWidget, so it must no longer listen.
DeflectedView3D::~DeflectedView3D() { magnification_->disconnect(this); }

DeflectedView3D::DeflectedView3D(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName("DeflectedView3D");
  setWindowTitle("Deflected shape");
  setFocusPolicy(Qt::StrongFocus);
  auto* column = new QVBoxLayout(this);
  auto* row = new QHBoxLayout();
  row->addWidget(new QLabel("Magnification", this));
  magnification_ = new QDoubleSpinBox(this);
  magnification_->setObjectName("Magnification");
  magnification_->setDecimals(6);
  magnification_->setRange(0, 1e12);
  magnification_->setSpecialValueText("automatic");
  connect(magnification_, &QDoubleSpinBox::editingFinished, this,
          [this] { SetMagnification(magnification_->value()); });
  row->addWidget(magnification_);
  reset_ = new QPushButton("Reset", this);
  reset_->setObjectName("ResetView");
  reset_->setFocusPolicy(Qt::NoFocus);
  connect(reset_, &QPushButton::clicked, this, [this] { Reset(); });
  row->addWidget(reset_);
  row->addStretch(1);
  column->addLayout(row);
  column->addStretch(1);
  resize(760, 600);
}

void DeflectedView3D::Show(std::vector<double> deflection, FringeField colour, const QString& title,
                           std::vector<CurvedEdge> curved) {
  w_ = std::move(deflection);
  field_ = std::move(colour);
  scale_ = FringeScale(field_.min, field_.max);
  title_ = title;
  // The outline: edges that belong to one triangle.
  std::map<std::pair<int, int>, int> uses;
  for (const auto& t : field_.triangles)
    for (int c = 0; c < 3; ++c) ++uses[std::minmax(t[c], t[(c + 1) % 3])];
  boundary_.clear();
  curved_.clear();
  std::map<std::pair<int, int>, const CurvedEdge*> arcs;
  for (const CurvedEdge& c : curved) arcs[std::minmax(c.a, c.b)] = &c;
  for (const auto& [edge, count] : uses) {
    if (count != 1) continue;
    const auto arc = arcs.find(edge);
    if (arc != arcs.end())
      curved_.push_back(*arc->second);
    else
      boundary_.push_back({edge.first, edge.second});
  }
  double x0 = 0, x1 = 0, y0 = 0, y1 = 0;
  if (!field_.x.empty()) {
    const auto [xl, xh] = std::minmax_element(field_.x.begin(), field_.x.end());
    const auto [yl, yh] = std::minmax_element(field_.y.begin(), field_.y.end());
    x0 = *xl, x1 = *xh, y0 = *yl, y1 = *yh;
  }
  centreX_ = (x0 + x1) / 2;
  centreY_ = (y0 + y1) / 2;
  size_ = std::max({x1 - x0, y1 - y0, 1e-300});
  maxW_ = 0;
  for (double v : w_) maxW_ = std::max(maxW_, std::fabs(v));
  userMagnification_ = 0;
  magnification_->setValue(0);
  Reset();
}

double DeflectedView3D::AutomaticMagnification() const {
  return maxW_ > 0 ? 0.1 * size_ / maxW_ : 1;
}

double DeflectedView3D::Magnification() const {
  return userMagnification_ > 0 ? userMagnification_ : AutomaticMagnification();
}

void DeflectedView3D::SetMagnification(double factor) {
  userMagnification_ = factor > 0 && std::isfinite(factor) ? factor : 0;
  update();
}

void DeflectedView3D::Reset() {
  yaw_ = kDefaultYaw;
  pitch_ = kDefaultPitch;
  zoom_ = 1;
  update();
}

void DeflectedView3D::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), palette().color(QPalette::Base));
  if (field_.Empty() || w_.size() != field_.x.size()) return;
  // Rotate about the plate's centre: yaw about z, then the tilt about the screen's x axis.
  const double cy = std::cos(yaw_ * kDegree), sy = std::sin(yaw_ * kDegree);
  const double cp = std::cos(pitch_ * kDegree), sp = std::sin(pitch_ * kDegree);
  const double pixels = zoom_ * 0.7 * std::min(width(), height()) / size_;
  const double m = Magnification();
  // Centred in the room the legend leaves at the right.
  constexpr int kLegendRoom = 140;
  const QPointF centre((width() - kLegendRoom) / 2.0, height() / 2.0 + 20);
  const size_t n = field_.x.size();
  std::vector<QPointF> lifted(n), flat(n);
  std::vector<double> depth(n);
  auto project = [&](double x, double y, double z, double* d) {
    const double rx = cy * (x - centreX_) - sy * (y - centreY_);
    const double ry = sy * (x - centreX_) + cy * (y - centreY_);
    // Tilt: the plate's y axis leans away from the viewer, z points up the screen.
    const double up = ry * cp + z * sp, towards = -ry * sp + z * cp;
    if (d) *d = towards;
    return QPointF(centre.x() + rx * pixels, centre.y() - up * pixels);
  };
  for (size_t v = 0; v < n; ++v) {
    lifted[v] = project(field_.x[v], field_.y[v], w_[v] * m, &depth[v]);
    flat[v] = project(field_.x[v], field_.y[v], 0, nullptr);
  }
  p.setRenderHint(QPainter::Antialiasing, false);
  const bool outlineOnly = dragging_ && static_cast<int>(field_.triangles.size()) > kFullDragLimit;
  if (!outlineOnly) {
    std::vector<int> order(field_.triangles.size());
    std::iota(order.begin(), order.end(), 0);
    std::vector<double> key(order.size());
    for (size_t t = 0; t < order.size(); ++t) {
      const auto& tri = field_.triangles[t];
      key[t] = depth[tri[0]] + depth[tri[1]] + depth[tri[2]];
    }
    std::sort(order.begin(), order.end(), [&](int a, int b) { return key[a] < key[b]; });
    for (int t : order) {
      const auto& tri = field_.triangles[t];
      const double value =
          field_.perElement
              ? field_.values[t]
              : (field_.values[tri[0]] + field_.values[tri[1]] + field_.values[tri[2]]) / 3;
      const QColor colour(scale_.ColourOf(value));
      p.setPen(QPen(colour, 0));
      p.setBrush(colour);
      const QPointF corners[3] = {lifted[tri[0]], lifted[tri[1]], lifted[tri[2]]};
      p.drawPolygon(corners, 3);
    }
  }
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(128, 128, 128), 1, Qt::DashLine));
  for (const auto& e : boundary_) p.drawLine(flat[e[0]], flat[e[1]]);
  // An arc's chord in pieces of at most 3 degrees along the arc, the deflection linear between
  // its ends (what the plate's edge holds between two nodes is not drawn finer than that).
  auto along = [&](const CurvedEdge& c, double lift) {
    const Arc& arc = c.arc;
    const double from = std::atan2(field_.y[c.a] - arc.cy, field_.x[c.a] - arc.cx);
    double sweep = std::atan2(field_.y[c.b] - arc.cy, field_.x[c.b] - arc.cx) - from;
    if (sweep > M_PI) sweep -= 2 * M_PI;
    if (sweep <= -M_PI) sweep += 2 * M_PI;
    const int pieces = std::max(1, static_cast<int>(std::ceil(std::fabs(sweep) / (3 * kDegree))));
    QPolygonF line;
    for (int k = 0; k <= pieces; ++k) {
      const double s = static_cast<double>(k) / pieces, angle = from + s * sweep;
      const double z = lift * ((1 - s) * w_[c.a] + s * w_[c.b]);
      line << project(arc.cx + arc.radius * std::cos(angle), arc.cy + arc.radius * std::sin(angle),
                      z, nullptr);
    }
    p.drawPolyline(line);
  };
  for (const CurvedEdge& c : curved_) along(c, 0);
  p.setPen(QPen(Qt::black, 1));
  for (const auto& e : boundary_) p.drawLine(lifted[e[0]], lifted[e[1]]);
  for (const CurvedEdge& c : curved_) along(c, m);
  DrawLegend(p, scale_, title_, width(), height());
  p.drawText(8, height() - 8, QStringLiteral("Magnification %1").arg(m, 0, 'g', 4));
}

void DeflectedView3D::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  dragging_ = true;
  last_ = event->position().toPoint();
}

void DeflectedView3D::mouseMoveEvent(QMouseEvent* event) {
  if (!dragging_) return;
  const QPoint at = event->position().toPoint();
  yaw_ += (at.x() - last_.x()) * kDegreesPerPixel;
  pitch_ = std::clamp(pitch_ + (at.y() - last_.y()) * kDegreesPerPixel, 0.0, 90.0);
  last_ = at;
  update();
}

void DeflectedView3D::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !dragging_) return;
  dragging_ = false;
  update();
}

void DeflectedView3D::wheelEvent(QWheelEvent* event) {
  const double notches = event->angleDelta().y() / 120.0;
  zoom_ = std::clamp(zoom_ * std::pow(kZoomPerNotch, notches), 0.05, 100.0);
  update();
}

void DeflectedView3D::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_R)
    Reset();
  else
    QWidget::keyPressEvent(event);
}

}  // namespace tavrin

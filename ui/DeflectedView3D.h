// DeflectedView3D: the window "Deflected shape" showing the solved plate as a surface, each node
// lifted by its deflection times a magnification, the triangles coloured by the bands of a
// result field, with the undeformed outline (the mesh's boundary edges at zero) in grey for
// comparison; a boundary edge that is a chord of an arc edge is drawn along its arc, deflecting
// linearly between its ends. Left drag rotates (horizontal: about the vertical axis, vertical: the
// tilt), the wheel zooms about the centre, Reset (button or key R) returns to the first view.
//
// The magnification is automatic until the user sets one: the largest deflection shown as a
// tenth of the plate's size (the larger side of its bounding box). Painting sorts the triangles
// by depth and fills them back to front with QPainter (painter's algorithm), O(n log n) a
// frame; while a drag is under way on a mesh larger than kFullDragLimit triangles only the
// deflected and undeformed outlines are drawn, and the surface follows when the button is
// released. Owns a copy of the field (FringeField) and nothing of the solver.
#pragma once

#include <QWidget>

#include "model/ArcGeometry.h"
#include "ui/FringeField.h"
#include "ui/FringeScale.h"

class QDoubleSpinBox;
class QPushButton;

namespace tavrin {

// A mesh edge that is a chord of an arc: nodes a and b (numbered as the field's nodes) and the
// arc they lie on.
struct CurvedEdge {
  int a = -1, b = -1;
  Arc arc;
};

class DeflectedView3D : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kFullDragLimit = 20000;
  static constexpr double kDefaultYaw = -30, kDefaultPitch = 55;  // degrees

  explicit DeflectedView3D(QWidget* parent = nullptr);
  ~DeflectedView3D() override;

  // The deflection at each node (same numbering as colour's nodes) and the field to colour by.
  // curved: the mesh's chords of arc edges, drawn along their arcs where they are outline.
  void Show(std::vector<double> deflection, FringeField colour, const QString& title,
            std::vector<CurvedEdge> curved = {});
  // The automatic magnification of the current plate.
  double AutomaticMagnification() const;
  double Magnification() const;
  // Sets a magnification of the user's; 0 or less returns to the automatic one.
  void SetMagnification(double factor);
  void Reset();

  double Yaw() const { return yaw_; }
  double Pitch() const { return pitch_; }
  double Zoom() const { return zoom_; }
  bool Dragging() const { return dragging_; }
  const FringeScale& Scale() const { return scale_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  std::vector<double> w_;
  FringeField field_;
  FringeScale scale_;
  QString title_;
  std::vector<std::array<int, 2>> boundary_;  // edges of one triangle only, not curved
  std::vector<CurvedEdge> curved_;            // outline edges along arcs
  double centreX_ = 0, centreY_ = 0, size_ = 1, maxW_ = 0;
  double userMagnification_ = 0;
  double yaw_ = kDefaultYaw, pitch_ = kDefaultPitch, zoom_ = 1;
  bool dragging_ = false;
  QPoint last_;
  QDoubleSpinBox* magnification_;
  QPushButton* reset_;
};

}  // namespace tavrin

// The property editor's sketch box: a 49 x 49 picture of the selected edge (its two ends, the
// chosen one filled, joined by its chord or by its arc) or of the selected node (a square with a
// stroke towards each neighbour). The geometry is plain integer arithmetic in box pixels with y
// pointing up, kept apart from the widget so that it can be checked alone.
#pragma once

#include <QWidget>
#include <array>
#include <optional>

namespace tavrin {

inline constexpr int kSketchSize = 49;  // width and height of the box

struct SketchPoint {
  int x = 0, y = 0;  // box pixels, y up
  bool operator==(const SketchPoint&) const = default;
};

// The two sketched ends of an edge from (x0, y0) to (x1, y1), scaled to leave 8 pixels on
// every side; first is the begin point. Coinciding ends are both put at the centre.
std::array<SketchPoint, 2> EdgeSketchPoints(double x0, double y0, double x1, double y1);

// Where the stroke from the box's side towards the neighbour (nx, ny) of the node (x, y)
// starts, or nothing when the neighbour lies on the node (a missing neighbour is passed as the
// node itself). The stroke ends at the centre.
std::optional<SketchPoint> NodeStrokeStart(double x, double y, double nx, double ny);

class TRollupSketch : public QWidget {
  Q_OBJECT
 public:
  explicit TRollupSketch(QWidget* parent = nullptr);

  // An edge: the chosen end is drawn filled, the other outlined; bulge is the edge's arc run
  // from the chosen end to the other (0 for a straight edge).
  void ShowEdge(SketchPoint chosen, SketchPoint other, double bulge = 0.0);
  // A node and its neighbours, passed as TRollup::ShowSelection's c.
  void ShowNode(const std::array<double, 6>& c);
  void ShowNothing();

 signals:
  // A mouse press at box pixels, y down.
  void Pressed(QPoint position);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  enum class Shown { nothing, edge, node };
  Shown shown_ = Shown::nothing;
  SketchPoint chosen_, other_;
  double bulge_ = 0.0;
  std::array<double, 6> node_{};
};

}  // namespace tavrin

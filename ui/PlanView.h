// PlanView: the drawing area of the main window. It owns a persistent back buffer (a QImage of
// its own size) into which every drawing call paints at any time: the redraw, the mouse editing
// and the mesher's animation. The paint event only copies the buffer to the screen.
//
// Coordinates are screen pixels of the view (y down). What to draw (the job, the mesh, the
// isolines) is decided by the main window; this class only knows strokes and the symbol set.
// Mouse presses, moves and size changes are handed to callbacks that the owner installs.
#pragma once

#include <QColor>
#include <QImage>
#include <QLine>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <optional>

class QPaintDevice;
class QPainter;

namespace tavrin {

// Which of the symbols a node or an edge carries; filled by the owner from the job.
struct Symbols {
  int constraintCode = 0;  // 100 lin. Z + 10 rot. X + 1 rot. Y
  bool loadLinZ = false, loadRotX = false, loadRotY = false;
  std::array<bool, 3> springs{};  // a spring on lin. Z, rot. X, rot. Y (a zigzag, not hatching)
};

class PlanView : public QWidget {
  Q_OBJECT
 public:
  explicit PlanView(QWidget* parent = nullptr);
  ~PlanView() override;

  static QColor Black() { return QColor(0, 0, 0); }
  static QColor Red() { return QColor(255, 0, 0); }
  static QColor Magenta() { return QColor(255, 0, 255); }
  static QColor Lime() { return QColor(0, 255, 0); }
  QColor Background() const;

  // Fills the whole buffer with the background colour.
  void ClearCanvas();
  void SetPen(const QColor& colour) { pen_ = colour; }
  // A one-pixel line in the current pen colour.
  void Line(int x1, int y1, int x2, int y2);
  // A one-pixel line in colour written straight into the buffer, without the painter: many
  // times cheaper than Line for a short line, for the mesher's animation, whose frames draw
  // hundreds of thousands. Its pixels may differ from Line's by one at some steps; without
  // ends, its two end pixels are left as they are. Call update() to have it shown. At a device
  // pixel ratio other than 1 it is Line.
  void PixelLine(int x1, int y1, int x2, int y2, const QColor& colour, bool ends = true);
  // The 4 x 4 node square at (sx, sy) in colour, then the symbols (in magenta) if any.
  void NodeSquare(const QColor& colour, int sx, int sy, const Symbols* symbols);
  // A line in colour, then the symbols at its midpoint (coordinates halved towards zero).
  void EdgeLine(const QColor& colour, int sx1, int sy1, int sx2, int sy2, const Symbols* symbols);
  // The constraint and load symbols anchored at (x, y).
  void DrawSymbols(int x, int y, const Symbols& symbols);
  // The X and Y arrows at the lower left corner.
  void DrawAxes();

  // Moves the picture in the buffer by (dx, dy) pixels and fills the uncovered strips with the
  // background: a drag shows the picture it has at once, and the owner draws it whole later.
  void Shift(int dx, int dy);

  // Runs draw with every drawing call going to device instead of the buffer (a vector
  // picture: the same strokes, each an element of its own); the buffer stays as it was.
  void RenderTo(QPaintDevice& device, const std::function<void()>& draw);
  // Draws into the buffer with the view's painter (its state is restored afterwards).
  void Paint(const std::function<void(QPainter&)>& draw);
  // The buffer as it stands (drawing in progress is finished first).
  const QImage& Image();
  // Ends the painter held open between drawing calls. Call before anything that may process
  // window events (a resize there replaces the buffer).
  void Flush();

  // The line from the last vertex of a polygon being drawn to the mouse: drawn over the
  // buffer on the screen only, never into the picture.
  void SetRubberBand(const QPoint& from, const QPoint& to);
  void ClearRubberBand();
  bool HasRubberBand() const { return rubberBand_.has_value(); }
  QLine RubberBand() const { return rubberBand_.value_or(QLine()); }

  std::function<void(Qt::MouseButton, int, int)> onMousePress;
  std::function<void(int, int)> onMouseMove;
  std::function<void()> onResized;  // the buffer was replaced; the owner redraws

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  QPainter& Painter();
  void EnsureBuffer();
  void Arc(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4);

  QImage buffer_;
  std::unique_ptr<QPainter> painter_;
  QColor pen_ = Black();
  QColor painterPen_;        // the colour last set on painter_ (invalid right after it is opened)
  bool redirected_ = false;  // painter_ draws on another device (RenderTo)
  std::optional<QLine> rubberBand_;
};

}  // namespace tavrin

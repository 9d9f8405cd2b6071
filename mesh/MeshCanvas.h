// Drawing surface the mesher draws on while it works: the growing front, the animation of the
// refinement and the final mesh. Coordinates are world coordinates; the host maps them to its
// screen. Every call defaults to doing nothing, so a batch run passes the base class.
#pragma once

namespace tavrin {

class MeshCanvas {
 public:
  virtual ~MeshCanvas() = default;

  // Wipes the whole drawing area to the window background colour.
  virtual void Clear() {}
  // Colour of the lines drawn from now on, 0..255 per channel.
  virtual void SetPen(int r, int g, int b) {
    (void)r;
    (void)g;
    (void)b;
  }
  // A straight line between two world points with the current pen.
  virtual void Line(double x1, double y1, double x2, double y2) {
    (void)x1;
    (void)y1;
    (void)x2;
    (void)y2;
  }
};

}  // namespace tavrin

// Drawing surface the mesher draws on while it works: the growing front, the animation of the
// refinement and the final mesh. Coordinates are world coordinates; the host maps them to its
// screen. Every call defaults to doing nothing, so a batch run passes the base class.
//
// The animation comes in frames the host asks for: after each refinement pass the mesher calls
// FrameDue, and when it answers true, draws what changed since the last frame (EraseLine for
// each line that is gone, then Line in black for each edge made or moved) and calls FrameDone.
// A frame costs the changes, not the mesh, and the host sets the pace.
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
  // Whether the host wants an animation frame now.
  virtual bool FrameDue() { return false; }
  // Removes a line drawn earlier (draws it in the background colour) except its end points,
  // where other lines meet. The mesher sets the pen again before the lines that follow.
  virtual void EraseLine(double x1, double y1, double x2, double y2) {
    (void)x1;
    (void)y1;
    (void)x2;
    (void)y2;
  }
  // The frame the mesher was asked for is drawn.
  virtual void FrameDone() {}
};

}  // namespace tavrin

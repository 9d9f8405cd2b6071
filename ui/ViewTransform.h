// The one world/screen mapping of the program, shared by the plan view, the mouse editing and
// the mesher's drawing. World units per pixel is `scale`; the world point (originX, originY)
// sits at the lower left corner of the drawing area, whose size is canvasWidth x canvasHeight.
// Screen y grows downwards, world y upwards. Plain data, no Qt.
#pragma once

namespace tavrin {

struct ViewTransform {
  double scale = 0.5;
  double originX = 0.0;
  double originY = 0.0;
  int canvasHeight = 0;
  int canvasWidth = 0;

  // World to screen, floored; points far outside the canvas are clamped to +-1e6 pixels so
  // that no conversion overflows an int however far the user zooms.
  int ScreenX(double x) const;
  int ScreenY(double y) const;
  double WorldX(int sx) const { return sx * scale + originX; }
  double WorldY(int sy) const { return originY - (sy - canvasHeight) * scale; }

  // Zoom In: halves a scale of at most 1.0, otherwise subtracts 1.0. Zoom Out: doubles a scale
  // below 1.0, otherwise adds 1.0. Neither has a limit.
  void ZoomIn();
  void ZoomOut();
  // Back to scale 0.5 and origin (0, 0), as at start and after New.
  void Reset();
};

// The process-wide transform.
ViewTransform& CurrentViewTransform();

}  // namespace tavrin

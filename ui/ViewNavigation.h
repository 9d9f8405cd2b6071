// Moving the plan view over the job: fitting a world box into the canvas, zooming about a screen
// point and panning by pixels. Each call changes only the scale and the origin of a
// ViewTransform, so the world/screen mapping rules stay those of ViewTransform. No Qt.
#pragma once

namespace tavrin {

class TObjCont;
struct ViewTransform;

// An axis-aligned box of world points; empty until the first point is added.
struct WorldBox {
  double xmin = 0.0, ymin = 0.0, xmax = -1.0, ymax = -1.0;
  bool Empty() const { return !(xmin <= xmax && ymin <= ymax); }
  void Add(double x, double y);
};

// Every node of the job; empty for a job without nodes.
WorldBox JobBox(const TObjCont& job);

// Scales within which the wheel zooms: far beyond any job's units, but never zero or infinite.
constexpr double kMinViewScale = 1e-9;
constexpr double kMaxViewScale = 1e9;

// Shows box whole and centred, with at least margin pixels of canvas on every side (less when
// the canvas is too small for two margins). A box of a single point keeps the scale and centres
// the point; an empty box leaves the transform as it is. The rightmost rightReserve pixels (a
// legend's) are left out of the canvas the box is fitted into, when at most half of it.
void FitToBox(ViewTransform& t, const WorldBox& box, int margin, int rightReserve = 0);

// Multiplies the scale (world units per pixel) by factor, clamped to the limits above, so that
// the world point under screen point (sx, sy) stays under it.
void ZoomAbout(ViewTransform& t, double sx, double sy, double factor);

// Moves the picture by (dx, dy) pixels: every world point is drawn that far from where it was.
void PanBy(ViewTransform& t, double dx, double dy);

}  // namespace tavrin

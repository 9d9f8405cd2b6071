#include "ui/ViewNavigation.h"

#include <algorithm>

#include "model/TObjCont.h"
#include "ui/ViewTransform.h"

namespace tavrin {

void WorldBox::Add(double x, double y) {
  if (Empty()) {
    xmin = xmax = x;
    ymin = ymax = y;
    return;
  }
  xmin = std::min(xmin, x);
  xmax = std::max(xmax, x);
  ymin = std::min(ymin, y);
  ymax = std::max(ymax, y);
}

WorldBox JobBox(const TObjCont& job) {
  WorldBox box;
  for (int i = 0; i < job.NodeCount(); ++i) box.Add(job.NodeX(i), job.NodeY(i));
  return box;
}

void FitToBox(ViewTransform& t, const WorldBox& box, int margin, int rightReserve) {
  if (box.Empty()) return;
  const double canvasWidth = std::max(1, t.canvasWidth), height = std::max(1, t.canvasHeight);
  // On a narrow canvas the plate matters more than a clear view of the legend.
  const double width = rightReserve > 0 && rightReserve <= canvasWidth / 2
                           ? canvasWidth - rightReserve
                           : canvasWidth;
  // The two margins take half the canvas at most, so that a tiny canvas still shows the box.
  const double mx = std::min<double>(margin, width / 4), my = std::min<double>(margin, height / 4);
  const double spanX = box.xmax - box.xmin, spanY = box.ymax - box.ymin;
  if (spanX > 0.0 || spanY > 0.0)
    t.scale = std::clamp(std::max(spanX / (width - 2 * mx), spanY / (height - 2 * my)),
                         kMinViewScale, kMaxViewScale);
  // The box's centre at the centre of the canvas left of the reserve: ScreenX(cx) = width / 2,
  // ScreenY(cy) = height / 2.
  const double cx = (box.xmin + box.xmax) / 2, cy = (box.ymin + box.ymax) / 2;
  t.originX = cx - width / 2 * t.scale;
  t.originY = cy - height / 2 * t.scale;
}

void ZoomAbout(ViewTransform& t, double sx, double sy, double factor) {
  const double scale = std::clamp(t.scale * factor, kMinViewScale, kMaxViewScale);
  // WorldX(sx) = sx * scale + originX and WorldY(sy) = originY - (sy - H) * scale keep their
  // values when the origin takes up the change of scale.
  t.originX += sx * (t.scale - scale);
  t.originY -= (sy - t.canvasHeight) * (t.scale - scale);
  t.scale = scale;
}

void PanBy(ViewTransform& t, double dx, double dy) {
  t.originX -= dx * t.scale;
  t.originY += dy * t.scale;
}

}  // namespace tavrin

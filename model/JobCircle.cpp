// Quarter arcs rather than two half circles: a polygon needs three edges, and two edges between
// the same two nodes would be one edge to the job's duplicate rule. Four nodes also put the
// circle's extremes on nodes, so its bounding box is that of its nodes.
#include "model/JobCircle.h"

#include <cmath>

#include "model/GeometryCheck.h"
#include "model/TObjCont.h"

namespace tavrin {

std::string AddCircle(TObjCont& job, double cx, double cy, double r, bool hole) {
  if (!std::isfinite(cx) || !std::isfinite(cy) || !std::isfinite(r) || !(r > 0))
    return "A circle needs a finite centre and a radius above 0.";
  if (!job.NewPolygonPending() || job.PolygonEdgeCount(job.PolygonCount()) > 0)
    return "Finish the polygon being drawn before adding a circle.";
  constexpr double kQuarterTurn = 1.57079632679489661923;
  const double bulge = std::tan(kQuarterTurn / 4);
  TObjCont circle = job;
  const int first = circle.NodeCount();
  // Exact extremes: the nodes at the quarter turns get their coordinates without a cosine.
  const double x[4] = {cx + r, cx, cx - r, cx}, y[4] = {cy, cy + r, cy, cy - r};
  for (int k = 0; k < 4; ++k) circle.AddNode(x[k], y[k]);
  for (int k = 0; k < 4; ++k) {
    circle.AddPolygonEdge(first + k, first + (k + 1) % 4);
    circle.SetEdgeBulge(circle.EdgeCount() - 1, bulge);
  }
  const int polygon = circle.PolygonCount();
  circle.ClosePolygon();
  const PolygonPhysics physics = circle.Physics(polygon);
  circle.SetPolygonPhysics(polygon, physics.pressure, physics.eModulus, physics.nu,
                           physics.thickness, hole);
  // The whole check, as meshing would run it: a circle touching an edge with one of its nodes,
  // or lying outside the outline, is refused now rather than at Generate mesh. A problem the
  // job had before is not the circle's.
  TObjCont prepared = circle;
  prepared.PrepareForMeshing();
  const GeometryCheckResult now = CheckGeometry(prepared);
  if (!now.ok) {
    TObjCont was = job;
    was.PrepareForMeshing();
    if (CheckGeometry(was).message != now.message) {
      std::string message = "The circle cannot be added: ";
      message += now.message;
      return message;
    }
  }
  job = std::move(circle);
  return {};
}

}  // namespace tavrin

// Why this bound. The solver keeps the displacements of the whole plate in doubles (relative
// resolution 1.1e-16). A prescribed w sets a field of its own size, and the reactions it causes
// (of order D w / L each) must cancel to the applied load; what the loads add to that field is
// of the order of their own deflections, at most F L^2 / D (F the total applied force, the
// pressures over the span's square and the moments over the span counted as forces, D the
// smallest plate stiffness E t^3 / 12 (1 - nu^2)): a supported square deflects about 0.004
// times that. With |w| beyond 1e9 times this scale the loads' share sinks towards the last few
// digits; on a supported 100 x 100 square under 400 in all, a w of 1e12 left the reactions'
// sum off by 3.6e-6, 1e15 by 2.6 %, and 1e20 gave it the wrong size (the equilibrium check
// refuses such a solve; here it is refused before the mesh, with the entity named). The scale is
// never taken below the span itself: a job of prescribed values alone has a solution proportional
// to them, and a displacement 1e9 times the plate's span is no plate bending problem (the theory
// holds for deflections below the thickness).
#include "model/DisplacementBound.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "model/ConstraintCode.h"
#include "model/TObjCont.h"

namespace tavrin {

namespace {
double Length(const TObjCont& job, int e) {
  const int a = job.EdgeBegin(e), b = job.EdgeEnd(e);
  return std::hypot(job.NodeX(b) - job.NodeX(a), job.NodeY(b) - job.NodeY(a));
}
}  // namespace

DisplacementBound PrescribedDisplacementBound(const TObjCont& job, double span) {
  double force = 0;
  double stiffness = INFINITY;
  for (int p = 0; p < job.PolygonCount(); ++p) {
    if (job.PolygonEdgeCount(p) == 0 || (p > 0 && job.IsHole(p))) continue;
    const PolygonPhysics ph = job.Physics(p);
    force += std::fabs(ph.pressure) * span * span;
    const double t = ph.thickness;
    stiffness = std::min(stiffness, ph.eModulus * t * t * t / (12 * (1 - ph.nu * ph.nu)));
  }
  std::array<double, 6> values{};
  int code = 0;
  auto loads = [&](double length) {
    return (std::fabs(values[3]) + (std::fabs(values[4]) + std::fabs(values[5])) / span) * length;
  };
  for (int i = 0; i < job.NodeCount(); ++i) {
    job.GetNodeAttributes(i, values, code);
    force += loads(1);
  }
  for (int e = 0; e < job.EdgeCount(); ++e) {
    job.GetEdgeAttributes(e, values, code);
    force += loads(Length(job, e));
  }
  DisplacementBound bound;
  const double deflection = force * span * span / stiffness;
  // A stiffness that underflows is named by the solve; its scale then is the span's.
  bound.scale = std::isfinite(deflection) ? std::max(deflection, span) : span;
  bound.limit = kMaxDisplacementRatio * bound.scale;
  return bound;
}

}  // namespace tavrin

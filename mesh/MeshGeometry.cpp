// Geometric measures of the mesher. Every formula keeps the operand order it is documented
// with and the library is built without fused multiply-add, so the same coordinates give the
// same bits, and so the same mesh, on every machine of the kind.
#include "mesh/MeshGeometry.h"

#include <cmath>

namespace tavrin {

double MeshDegrees(double radians) { return 180 * radians * 0.31831015504887655; }

double Length(MeshPoint a, MeshPoint b) {
  const double dx = b.x - a.x;
  const double dy = b.y - a.y;
  const double s = dx * dx + dy * dy;
  return s > 0 ? std::sqrt(s) : 0.0;
}

bool SideOf(MeshPoint a, MeshPoint b, MeshPoint p) {
  return (a.x - p.x) * (b.y - p.y) - (b.x - p.x) * (a.y - p.y) < -kMeshTolerance;
}

double VertexAngle(MeshPoint v, MeshPoint p, MeshPoint q) {
  const double ux = p.x - v.x;
  const double uy = p.y - v.y;
  const double wx = q.x - v.x;
  const double wy = q.y - v.y;
  const double s = (ux * ux + uy * uy) * (wx * wx + wy * wy);
  // Only a side of no length leaves the angle undefined: a fixed threshold here made every
  // triangle with sides below about 0.1 units measure 0 degrees, so a small plate could never
  // be meshed usable.
  if (!(s > 0)) return 0.0;
  const double c = (ux * wx + uy * wy) / std::sqrt(s);
  if (c > 1.0) return 0.0;
  if (c < -1.0) return kMeshPi;
  return std::acos(c);
}

double MinAngle(MeshPoint a, MeshPoint b, MeshPoint c) {
  double m = VertexAngle(a, b, c);
  const double at_b = VertexAngle(b, c, a);
  if (at_b < m) m = at_b;
  const double at_c = VertexAngle(c, a, b);
  if (at_c < m) m = at_c;
  return m;
}

double TriangleArea(MeshPoint a, MeshPoint b, MeshPoint c) {
  // No threshold on the base: one below 0.01 units made a real triangle weigh nothing.
  return std::fabs((b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x)) / 2;
}

double ViewCosine(MeshPoint b, MeshPoint e, MeshPoint v) {
  const double lengths = Length(b, v) * Length(e, v);
  if (lengths < kMeshTolerance) return 1.0;
  return ((b.x - v.x) * (e.x - v.x) + (b.y - v.y) * (e.y - v.y)) / lengths;
}

int ShortestSideOpposite(const MeshPoint (&p)[3], double& squared) {
  int k = 0;
  for (int i = 0; i < 3; ++i) {
    const double dx = p[(i + 2) % 3].x - p[(i + 1) % 3].x;
    const double dy = p[(i + 2) % 3].y - p[(i + 1) % 3].y;
    const double length = dx * dx + dy * dy;
    if (i == 0 || length < squared) {
      squared = length;
      k = i;
    }
  }
  return k;
}

}  // namespace tavrin

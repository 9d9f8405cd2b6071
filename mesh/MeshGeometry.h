// The geometric measures the mesher decides with. Tolerances are absolute (0.0001 on doubled
// areas and length products), not scaled to the model, and pi is 3.141592 throughout, so that
// the mesh does not depend on anything but the job's coordinates. Angles and areas themselves
// are measured without a threshold, so that small plates measure as large ones do.
#pragma once

#include <optional>

namespace tavrin {

struct MeshPoint {
  double x;
  double y;
};

inline constexpr double kMeshPi = 3.141592;
inline constexpr double kMeshTolerance = 0.0001;

// Degrees from radians with the mesher's own pi.
double MeshDegrees(double radians);
// A bound in degrees as radians, as exactly as a double carries it. MeshDegrees, kept for the
// figures users know, reads angles about 1e-6 high, so an angle just short of a bound would pass
// a test made with it.
inline double BoundRadians(double degrees) { return degrees * (3.14159265358979323846 / 180); }

// Distance; 0 when the squared distance is not positive.
double Length(MeshPoint a, MeshPoint b);
// Length(p, q) < Length(a, b) to the bit, mostly without a square root.
bool Shorter(MeshPoint p, MeshPoint q, MeshPoint a, MeshPoint b);

// True when p lies to the right of the directed line a->b by more than the tolerance
// (doubled signed area below -0.0001); points on or near the line give false.
bool SideOf(MeshPoint a, MeshPoint b, MeshPoint p);

// Angle at v between v->p and v->q in radians; 0 when either side has no length.
double VertexAngle(MeshPoint v, MeshPoint p, MeshPoint q);

// Smallest interior angle of the triangle a, b, c: the three VertexAngle, the smaller kept as
// they are compared in vertex order (which matters only for a NaN).
double MinOfVertexAngles(MeshPoint a, MeshPoint b, MeshPoint c);
// The same to the bit, with one arc cosine where the angles are not nearly tied.
double MinAngle(MeshPoint a, MeshPoint b, MeshPoint c);
// MinAngle, and whether every order of a, b and c gives it to the bit: a corner's cosine takes
// its two sides in either order alike, and the largest and smallest of three values do not
// depend on the order they come in; only where some cosine is not a number (sides some 1e77
// long) does the order of the comparisons decide.
struct CornerFreeAngle {
  double radians;
  bool anyOrder;
};
CornerFreeAngle MinAngleAnyOrder(MeshPoint a, MeshPoint b, MeshPoint c);
// MinAngleAnyOrder(a, b, c) when floor >= its angle is false (the angle is larger, or either is
// not a number); nothing when it is true. The same decision to the bit, but mostly made without
// an arc cosine where the angle is clearly no larger: a flip test rejects most flips it tries
// that way, and the arc cosines were a sixth of its time.
std::optional<CornerFreeAngle> MinAngleAbove(MeshPoint a, MeshPoint b, MeshPoint c, double floor);

// True when turning the diagonal a-b of the quadrilateral a, c1, b, c2 (c1 and c2 the apexes on
// either side) into c1-c2 certainly gives a smaller angle, as MinAngle measures the four
// triangles, to one of the two new triangles than the smaller of the two old ones have:
// MinAngle(c1, c2, a) or MinAngle(c1, c2, b) is then no larger than the smaller of MinAngle(a,
// b, c1) and MinAngle(a, b, c2), to the bit. False when it cannot tell so cheaply. Costs no
// square root and no arc cosine: a flip test tries most flips to reject them.
bool FlipSurelyWorse(MeshPoint a, MeshPoint b, MeshPoint c1, MeshPoint c2);

// Half the absolute doubled area.
double TriangleArea(MeshPoint a, MeshPoint b, MeshPoint c);

// Cosine of the angle under which v sees the segment b-e; 1.0 when v is (nearly) on an end.
double ViewCosine(MeshPoint b, MeshPoint e, MeshPoint v);

// The corner (0, 1 or 2) of triangle p opposite its shortest side, the lowest on ties; the
// side's squared length in `squared`.
int ShortestSideOpposite(const MeshPoint (&p)[3], double& squared);

}  // namespace tavrin

// The geometric measures the mesher decides with. Tolerances are absolute (0.0001 on squared
// lengths, doubled areas and angle products), not scaled to the model, and pi is 3.141592
// throughout, so that the mesh does not depend on anything but the job's coordinates.
#pragma once

namespace tavrin {

struct MeshPoint {
  double x;
  double y;
};

inline constexpr double kMeshPi = 3.141592;
inline constexpr double kMeshTolerance = 0.0001;

// Degrees from radians with the mesher's own pi.
double MeshDegrees(double radians);

// Distance; 0 when the squared distance is not positive.
double Length(MeshPoint a, MeshPoint b);

// True when p lies to the right of the directed line a->b by more than the tolerance
// (doubled signed area below -0.0001); points on or near the line give false.
bool SideOf(MeshPoint a, MeshPoint b, MeshPoint p);

// Angle at v between v->p and v->q in radians; 0 when |v->p|^2 |v->q|^2 < 0.0001.
double VertexAngle(MeshPoint v, MeshPoint p, MeshPoint q);

// Smallest interior angle of the triangle a, b, c: the three VertexAngle, the smaller kept as
// they are compared in vertex order (which matters only for a NaN).
double MinOfVertexAngles(MeshPoint a, MeshPoint b, MeshPoint c);
// The same to the bit, with one arc cosine where the angles are not nearly tied.
double MinAngle(MeshPoint a, MeshPoint b, MeshPoint c);

// Half the absolute doubled area; 0 when the base a-b is shorter than 0.01.
double TriangleArea(MeshPoint a, MeshPoint b, MeshPoint c);

// Cosine of the angle under which v sees the segment b-e; 1.0 when v is (nearly) on an end.
double ViewCosine(MeshPoint b, MeshPoint e, MeshPoint v);

}  // namespace tavrin

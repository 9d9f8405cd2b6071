// Signs of the two determinants a Delaunay refinement decides with, computed in double
// precision and trusted only where the rounding cannot have changed them: each returns +1 or
// -1 when the sign of the exact determinant is certain, and 0 when the computed value lies
// within its worst-case rounding error (the point is then on the line or circle, or too close
// to it to tell). A flip or an insertion decided on a certain sign is one exact arithmetic
// would also make, so sequences of such decisions terminate as the exact ones do.
//
// Cost: a few dozen floating-point operations each, no allocation.
#pragma once

#include "mesh/MeshGeometry.h"

namespace tavrin {

// +1 when c lies to the left of the directed line a->b (a, b, c counter-clockwise), -1 to the
// right, 0 when on it or undecidable.
int OrientationSign(MeshPoint a, MeshPoint b, MeshPoint c);

// With a, b, c counter-clockwise: +1 when d lies inside their circumcircle, -1 outside, 0 on
// it or undecidable. The sign flips when a, b, c are clockwise.
int InCircleSign(MeshPoint a, MeshPoint b, MeshPoint c, MeshPoint d);

// Twice the signed area of a, b, c (positive counter-clockwise), in plain double arithmetic.
double Orientation(MeshPoint a, MeshPoint b, MeshPoint c);

}  // namespace tavrin

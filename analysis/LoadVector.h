// LoadVector: the applied loads of a meshed plate, per equation (constrained ones included): a
// triangle's pressure in thirds on its corners' lin. Z, node forces and moments as given, edge
// forces and moments per unit length lumped on the edge's end nodes (half the edge length
// each) or loaded consistently with the element's edge interpolation. Summed in extended
// precision, like the system they go into. Linear in nodes, edges and triangles.
//
// Consistent edge loads. Along an edge of length L from a to b (unit direction s, normal
// n = (s_y, -s_x)) the plate element interpolates w as a cubic in the end deflections and the
// end slopes dw/ds, which is the rotation about n (rot. X n_x + rot. Y n_y), and the rotation
// about s (the normal slope) linearly. Hence a force p per unit length gives p L / 2 and an end
// moment about n of +p L^2 / 12 at a and -p L^2 / 12 at b; a moment about s (bending) lumps
// exactly, half to each end; a moment m about n (twisting) does the work m (w_b - w_a), so it
// is the forces -m at a and +m at b (the Kirchhoff equivalent).
#pragma once

#include <vector>

#include "analysis/AnalysisOptions.h"
#include "analysis/DofNumbering.h"
#include "analysis/PlateMesh.h"

namespace tavrin {

struct LoadVector {
  std::vector<long double> exact;  // per equation, as summed
  std::vector<double> rounded;     // per equation, rounded to double (exports, reactions)
  double sumZ = 0;                 // sum of the lin. Z loads: the total vertical load
};

// The loads of `mesh` in the equations of `numbering` (numbered).
LoadVector BuildLoads(const PlateMesh& mesh, const DofNumbering& numbering, EdgeLoadKind edgeLoads);

}  // namespace tavrin

// LoadVector: the applied loads of a meshed plate, per equation (constrained ones included): a
// triangle's pressure in thirds on its corners' lin. Z, node forces and moments as given, edge
// forces and moments per unit length lumped on the edge's end nodes, half the edge length each.
// Summed in extended precision, like the system they go into. Linear in nodes, edges and
// triangles.
#pragma once

#include <vector>

#include "analysis/DofNumbering.h"
#include "analysis/PlateMesh.h"

namespace tavrin {

struct LoadVector {
  std::vector<long double> exact;  // per equation, as summed
  std::vector<double> rounded;     // per equation, rounded to double (exports, reactions)
  double sumZ = 0;                 // sum of the lin. Z loads: the total vertical load
};

// The loads of `mesh` in the equations of `numbering` (numbered).
LoadVector BuildLoads(const PlateMesh& mesh, const DofNumbering& numbering);

}  // namespace tavrin

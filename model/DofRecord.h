// Plain value records copied from the job model into the mesh: the loads, constraints and springs
// of a node or an edge, and the material, pressure and foundation of a triangle. The mesher
// copies a job edge's record to every piece it cuts the edge into, which is right for values per
// unit length (edge forces and edge springs).
#pragma once

#include <array>
#include <cstdint>

namespace tavrin {

// Loads, prescribed displacements and elastic supports of one node or edge. `code` is a
// ConstraintCode: 100 for lin. Z, 10 for rot. X, 1 for rot. Y, summed. The triples are ordered
// lin. Z, rot. X, rot. Y. `spring` holds the stiffness of a spring on each freedom (force per
// deflection and moment per rotation; per unit length on an edge), 0 for none; a spring acts on
// a freedom the code leaves free.
struct DofRecord {
  std::uint16_t code = 0;
  std::array<double, 3> displacement{0.0, 0.0, 0.0};
  std::array<double, 3> force{0.0, 0.0, 0.0};
  std::array<double, 3> spring{0.0, 0.0, 0.0};

  friend bool operator==(const DofRecord&, const DofRecord&) = default;
};

// Material, distributed load and foundation of one triangle; a polygon's physics without its
// hole flag. `foundation` is the modulus of the elastic (Winkler) foundation under it, pressure
// per deflection, 0 for none. `reinforcementAngle` is the direction of the first steel layer,
// degrees from x, in which the design moments are given; it does not change the stiffness.
struct ElementPhysics {
  double eModulus = 0.0;
  double nu = 0.0;
  double thickness = 0.0;
  double pressure = 0.0;
  double foundation = 0.0;
  double reinforcementAngle = 0.0;

  friend bool operator==(const ElementPhysics&, const ElementPhysics&) = default;
};

}  // namespace tavrin

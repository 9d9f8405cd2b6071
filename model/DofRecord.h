// Plain value records copied from the job model into the mesh: the loads and constraints of a
// node or an edge, and the material and pressure of a triangle.
#pragma once

#include <array>
#include <cstdint>

namespace tavrin {

// Loads and prescribed displacements of one node or edge. `code` is a ConstraintCode: 100 for
// lin. Z, 10 for rot. X, 1 for rot. Y, summed. Both triples are ordered lin. Z, rot. X, rot. Y.
struct DofRecord {
  std::uint16_t code = 0;
  std::array<double, 3> displacement{0.0, 0.0, 0.0};
  std::array<double, 3> force{0.0, 0.0, 0.0};

  friend bool operator==(const DofRecord&, const DofRecord&) = default;
};

// Material and distributed load of one triangle; a polygon's physics without its hole flag.
struct ElementPhysics {
  double eModulus = 0.0;
  double nu = 0.0;
  double thickness = 0.0;
  double pressure = 0.0;

  friend bool operator==(const ElementPhysics&, const ElementPhysics&) = default;
};

}  // namespace tavrin

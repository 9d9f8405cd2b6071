// StructuredPlate: a rectangular plate on a regular grid of cells, each cell split into
// triangles by one of the usual diagonal patterns, with its edge nodes supported and a uniform
// pressure. Builds a PlateMesh directly, without the mesher: used where a mesh of known shape
// and exact size is wanted (benchmarks, checks against reference solutions).
#pragma once

#include "analysis/PlateMesh.h"

namespace tavrin {

enum class DiagonalPattern {
  Right,       // every cell cut from its lower-left to its upper-right corner
  Left,        // every cell cut from its lower-right to its upper-left corner
  CrissCross,  // both diagonals, with a node at the cell centre
  UnionJack,   // Right and Left alternating like a chequerboard (Right in the lower-left cell):
               // every second grid node is met by eight triangles
};

enum class EdgeSupport {
  Free,
  SimplySupported,  // deflection held at the boundary nodes
  Clamped,          // deflection and both rotations held
};

struct StructuredPlate {
  double width = 1, height = 1;
  int cellsX = 1, cellsY = 1;
  DiagonalPattern pattern = DiagonalPattern::Right;
  EdgeSupport support = EdgeSupport::SimplySupported;
  ElementPhysics material{210000, 0.3, 1, 1};

  PlateMesh Build() const;
  // Node index of grid corner (i, j), i along x from 0 to cellsX.
  int GridNode(int i, int j) const { return j * (cellsX + 1) + i; }
};

}  // namespace tavrin

// PlateMesh: the solver's own copy of a triangle mesh with its loads, constraints and materials.
//
// The solver copies what it needs from the mesher's FEM once, at the start of a static solve,
// and works on this copy afterwards (stresses, isolines, exports). A result set therefore stays
// consistent with the mesh it was computed on even if the FEM is replaced later, and tests and
// benchmarks can build meshes directly, without running the mesher.
//
// Indices count from 0; triangles list their three corner nodes in the FEM's corner order.
#pragma once

#include <array>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "model/ConstraintCode.h"
#include "model/DofRecord.h"

namespace tavrin {

class FEM;

// Loads, constraints and springs of nodes and edges are the job's DofRecord (forces and springs
// per unit length on an edge); material, pressure and foundation of a triangle its
// ElementPhysics.
struct PlateMesh {
  std::vector<double> x, y;
  std::vector<DofRecord> nodeDof;
  std::vector<std::array<int, 2>> edges;
  std::vector<DofRecord> edgeDof;
  std::vector<std::array<int, 3>> triangles;
  // Springs of nodes and edges are their DofRecord's `spring`, the foundation under a triangle
  // its ElementPhysics' `foundation`.
  std::vector<ElementPhysics> materials;
  // Empty unless some edge is a piece of an arc edge; else by edge, the arc's length between
  // the edge's ends over the edge's own (1 for a straight edge): a load per unit length of the
  // arc weighs that much more on the chord that carries it.
  std::vector<double> edgeArcRatio;
  // Empty unless some node lies on an arc edge; else by node, 1 for a node on one.
  std::vector<std::uint8_t> nodeOnArc;
  double minAngle = 0;  // radians; informative only

  int NodeCount() const { return static_cast<int>(x.size()); }
  int EdgeCount() const { return static_cast<int>(edges.size()); }
  int TriangleCount() const { return static_cast<int>(triangles.size()); }

  int AddNode(double px, double py, const DofRecord& dof = DofRecord());
  int AddEdge(int a, int b, const DofRecord& dof = DofRecord());
  // Adds the triangle and, when missing, the three edges joining its corners.
  int AddTriangle(int a, int b, int c, const ElementPhysics& material);
  // Corner coordinates and material of triangle t as a PlateElement takes them: x1, y1, x2, y2,
  // x3, y3, E, E, nu, t.
  void ElementInput(int t, double record[10]) const;
  // Index of the edge joining a and b in either direction, or -1.
  int FindEdge(int a, int b) const;

  // Copies the mesh, loads, constraints and materials of a finished FEM.
  static PlateMesh FromFem(const FEM& fem);

 private:
  std::unordered_map<std::uint64_t, int> edgeLookup_;  // (low node, high node) -> edge index
};

}  // namespace tavrin

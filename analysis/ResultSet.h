// ResultSet: the results of one load case or combination, as tables, views and exports read
// them, detached from the solver that made them.
//
// Every value is linear in the loads (displacements, recovered stresses and moments, centroid
// deflections, reactions, the load and reaction sums), so a combination's set is the factored
// sum of its cases' sets: no solve. The design columns, which are not linear (principal and
// Wood–Armer moments, von Mises stresses) or need the whole field (shear forces), are computed
// from a set afterwards (DesignColumns).
//
// Nodes are in the reference solver's numbering (the rows of nodes.csv), elements in mesh
// order. Building is linear in the mesh; so is AddScaled.
#pragma once

#include <string>
#include <vector>

namespace tavrin {

class TGlobMatrix;

struct ResultSet {
  // Per node, in this order: w, rot_x, rot_y, sigma_x, sigma_y, tau_xy, m_x, m_y, m_xy (the
  // ResultField order).
  static constexpr int kNodeColumns = 9;
  // Per element: deflection, sigma_x, sigma_y, tau_xy, m_x, m_y, m_xy.
  static constexpr int kElementColumns = 7;

  std::string name;
  int nodes = 0;
  int elements = 0;
  std::vector<double> node;      // kNodeColumns per node
  std::vector<double> element;   // kElementColumns per element
  std::vector<double> reaction;  // 3 per node, 0 where the freedom is free
  double loadZ = 0;
  double reactionZ = 0;

  double Node(int v, int column) const {
    return node[static_cast<std::size_t>(kNodeColumns * v + column)];
  }
  double Element(int t, int column) const {
    return element[static_cast<std::size_t>(kElementColumns * t + column)];
  }

  // The results of a solved solver with recovered stresses, its nodes put in the numbering of
  // `reference` (a solver of the same mesh; it may be the same one).
  static ResultSet FromSolver(const TGlobMatrix& solver, const TGlobMatrix& reference,
                              const std::string& name);
  // An all-zero set of the same shape, named.
  ResultSet ZeroLike(const std::string& newName) const;
  // this += factor * other (same shape).
  void AddScaled(const ResultSet& other, double factor);
};

}  // namespace tavrin

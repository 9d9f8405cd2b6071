// StaticSolution: what a static solve leaves for the stress recovery, the views and the exports
// to read: the numbering it solved in, the displacements, the applied loads, the reactions and
// the figures of its check. A plain record; TGlobMatrix owns one and answers from it.
#pragma once

#include <array>
#include <vector>

#include "analysis/DofNumbering.h"

namespace tavrin {

struct StaticSolution {
  DofNumbering numbering;
  std::vector<long double> reduced;  // solution of the free equations, reduced numbering
  std::vector<double> loads;         // applied loads of every equation, constrained ones too
  std::vector<double> reactions;     // per equation: K u - f where constrained, else 0
  // Springs and foundation (empty without): their force on the plate, -k u, at every free
  // freedom (the foundation under a held node is part of its rigid reaction), and the
  // foundation modulus at each solver node (its lumped stiffness over its tributary area).
  std::vector<double> springForces, foundationForces, foundationModulus;
  double springZ = 0;           // sum of the springs' vertical forces
  double foundationZ = 0;       // sum of the foundation's vertical forces
  double loadZ = 0;             // sum of applied vertical loads, pressure included
  double reactionZ = 0;         // sum of vertical reactions
  double relativeResidual = 0;  // ||K u - f|| / ||f|| over the free equations
  // Relative imbalance of the vertical forces and of the moments about the x and y axes
  // through the nodes' centroid, each against the larger of the load and the reaction (see
  // MeasureBalance); loadImbalance is the largest of the three.
  std::array<double, 3> balance{0.0, 0.0, 0.0};
  double loadImbalance = 0;

  // The solution of a free freedom, the prescribed value of a constrained one. Node is a solver
  // node number, dof 0 lin. Z, 1 rot. X, 2 rot. Y; both must be in range.
  long double Displacement(int node, int dof) const {
    const int e = 3 * node + dof;
    return numbering.IsFixed(e) ? numbering.Prescribed(e) : reduced[numbering.Reduced(e)];
  }
};

}  // namespace tavrin

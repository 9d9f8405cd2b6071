// StaticSolution: what a static solve leaves for the stress recovery, the views and the exports
// to read: the numbering it solved in, the displacements, the applied loads, the reactions and
// the figures of its check. A plain record; TGlobMatrix owns one and answers from it.
#pragma once

#include <vector>

#include "analysis/DofNumbering.h"

namespace tavrin {

struct StaticSolution {
  DofNumbering numbering;
  std::vector<long double> reduced;  // solution of the free equations, reduced numbering
  std::vector<double> loads;         // applied loads of every equation, constrained ones too
  std::vector<double> reactions;     // per equation: K u - f where constrained, else 0
  double loadZ = 0;                  // sum of applied vertical loads, pressure included
  double reactionZ = 0;              // sum of vertical reactions
  double relativeResidual = 0;       // ||K u - f|| / ||f|| over the free equations
  double loadImbalance = 0;          // |load-z + reaction-z| over the scale of its terms

  // The solution of a free freedom, the prescribed value of a constrained one. Node is a solver
  // node number, dof 0 lin. Z, 1 rot. X, 2 rot. Y; both must be in range.
  long double Displacement(int node, int dof) const {
    const int e = 3 * node + dof;
    return numbering.IsFixed(e) ? numbering.Prescribed(e) : reduced[numbering.Reduced(e)];
  }
};

}  // namespace tavrin

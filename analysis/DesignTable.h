// The design columns of a result set, at its nodes and elements: principal moments, shear
// forces, Wood–Armer moments and the von Mises stress of both faces, in the order of
// kDesignColumnNames (the column names of nodes.csv and elements.csv and the .vtu arrays).
//
// Principal, Wood–Armer and von Mises values are taken point by point from the set's moments
// and stresses (nodal values from the recovered ones, element values from the element's own);
// the shear forces come from the element moments through RecoverShearForces. The solver's
// moments are positive when they put the top face in tension (its deflection is positive
// upward), so Wood–Armer, which counts sagging positive, takes them negated; its bottom moments
// are those of a plate sagging under a downward load. Linear in the mesh.
#pragma once

#include <array>
#include <vector>

#include "analysis/ResultSet.h"
#include "analysis/ShearForces.h"

namespace tavrin {

inline constexpr int kDesignColumns = 12;
extern const char* const kDesignColumnNames[kDesignColumns];

struct DesignColumns {
  std::vector<double> node;     // kDesignColumns per node
  std::vector<double> element;  // kDesignColumns per element
  double Node(int v, int k) const { return node[static_cast<std::size_t>(kDesignColumns * v + k)]; }
  double Element(int t, int k) const {
    return element[static_cast<std::size_t>(kDesignColumns * t + k)];
  }
};

// `shear` made for the set's mesh in the set's node numbering (one serves every set of a mesh).
DesignColumns ComputeDesignColumns(const ResultSet& set, const ShearRecovery& shear);

}  // namespace tavrin

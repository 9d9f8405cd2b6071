// The design columns of a result set, at its nodes and elements: principal moments, shear
// forces, Wood–Armer moments and the von Mises stress of both faces, in the order of
// kDesignColumnNames (the column names of nodes.csv and elements.csv and the .vtu arrays).
//
// Principal, Wood–Armer and von Mises values are taken point by point from the set's moments
// and stresses (nodal values from the recovered ones, element values from the element's own);
// the shear forces come from the element moments through RecoverShearForces. The solver's
// moments are positive when they put the top face in tension (its deflection is positive
// upward), so Wood–Armer, which counts sagging positive, takes them negated; its bottom moments
// are those of a plate sagging under a downward load. Where a polygon's steel runs at an angle
// to x the Wood–Armer columns are in its axes (WoodArmerAt), the first layer's as "x". Linear in
// the mesh.
#pragma once

#include <array>
#include <vector>

#include "analysis/PlateMesh.h"
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

// The reinforcement angle (degrees from x) of every element and node of a set; both empty when
// all steel runs along x and y.
struct DesignAngles {
  std::vector<double> node, element;
};

// The angles of `mesh`'s materials (mesh order, the sets' element order); `corners` are the
// elements' corners in the sets' node numbering. A node takes the angle of the first element it
// is a corner of: on a line between polygons of different angles it has one of theirs, while
// each element keeps its own. Linear in the mesh.
DesignAngles DesignAnglesOf(const PlateMesh& mesh, const std::vector<std::array<int, 3>>& corners,
                            int nodes);

// `shear` made for the set's mesh in the set's node numbering (one serves every set of a mesh).
DesignColumns ComputeDesignColumns(const ResultSet& set, const ShearRecovery& shear,
                                   const DesignAngles& angles = {});

}  // namespace tavrin

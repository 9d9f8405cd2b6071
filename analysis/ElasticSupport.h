// ElasticSupport: springs under nodes and edges and a Winkler foundation under triangles, as
// stiffness terms of the system (Assembly adds them) and as the forces they exert afterwards.
//
// Every term is diagonal: a node spring on its freedom; an edge spring per unit length lumped on
// its end nodes, half the edge's length each; a foundation lumped on its triangle's corners, a
// third of the area each (nodal quadrature). The lumped foundation is chosen over the consistent
// one because the plate element's deflection inside a triangle is not a field of its corner
// deflections alone: lumping matches the lumping of the pressure load, so a uniform pressure on
// a uniform foundation settles uniformly and exactly (w = q / k), the total foundation force is
// k w times the area, and the matrix keeps its pattern; the point-load error is that of the
// mesh (h^2 against the characteristic length). Linear in nodes, edges and triangles.
#pragma once

#include <string>
#include <vector>

#include "analysis/DofNumbering.h"
#include "analysis/PlateMesh.h"

namespace tavrin {

struct ElasticTerms {
  std::vector<long double> spring;      // per equation: spring stiffness on that freedom
  std::vector<long double> foundation;  // per equation: lumped foundation stiffness (lin. Z)
  std::vector<double> tributaryArea;    // per solver node: a third of its triangles' area
  bool any = false;                     // some spring or foundation term is not zero
};

// Checks the springs and foundation of `mesh` against its constraints (numbered and marked):
// every value finite and not negative, no spring on a freedom held rigidly. Returns an empty
// string, or one sentence naming the entity.
std::string CheckElasticSupport(const PlateMesh& mesh, const DofNumbering& numbering);

// The terms of `mesh` in the equations of `numbering`.
ElasticTerms BuildElasticTerms(const PlateMesh& mesh, const DofNumbering& numbering);

}  // namespace tavrin

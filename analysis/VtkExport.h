// The solved model as a VTK XML unstructured grid (.vtu, ASCII), for post-processing tools.
//
// Points are the solver's nodes in its numbering (the rows of nodes.csv), z = 0; cells are the
// triangles (VTK type 5, the rows of elements.csv). Point arrays carry the nodal results and
// cell arrays the element results, each named as its column of those tables, so a reader can
// compare them one for one: "mesh_node", "w", "rot_x", "rot_y" always; "sigma_x", "sigma_y",
// "tau_xy", "m_x", "m_y", "m_xy" at the points and "deflection", the same six and "error" at
// the cells once the stresses are recovered; "on_arc" (1 for a node on an arc edge, else 0) at
// the points of a plate with arc edges. Numbers are written with 10 significant digits,
// as in the tables. One pass over each table; memory is the stdio buffer only.
#pragma once

#include <string>

#include "analysis/ExportResult.h"

namespace tavrin {

class TGlobMatrix;

// The name of the array of a result field (ResultField order 0 to 8).
const char* VtkFieldName(int field);

// CannotCreate leaves the file partly written at worst.
ExportResult WriteVtu(const TGlobMatrix& solver, const std::string& fileName);

}  // namespace tavrin

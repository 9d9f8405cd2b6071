// The tables and the grid of a job with load cases: per case and combination a nodes, an
// elements and a reactions table of the plain job's columns with the design columns appended,
// one envelope table, and one .vtu grid holding every set's arrays.
//
// Table columns (10 significant digits, as the plain tables):
//   nodes:     node, mesh_node, x, y, w, rot_x, rot_y, sigma_x, sigma_y, tau_xy, m_x, m_y,
//              m_xy, then the design columns (kDesignColumnNames), then foundation_pressure
//              (k w of the set) where the plate rests on a foundation
//   elements:  element, n0, n1, n2, x, y, deflection, sigma_x .. m_xy, then the design columns
//   reactions: node, mesh_node, fz, mx, my, for every node with a held freedom
//   envelope:  envelope, field, node, mesh_node, x, y, max, max_combination, min,
//              min_combination (one row per envelope, node column and node)
// The grid's arrays are named "<column>@<set>": the node and design columns (and
// foundation_pressure where the nodes tables have it) at the points, the element and design
// columns at the cells, "<column>_max@<envelope>" and "_min" at the points.
// Every writer is one pass over its table.
#pragma once

#include <cstdio>
#include <string>

#include "analysis/CaseSolution.h"
#include "analysis/ExportResult.h"

namespace tavrin {

// Set s of the solution (a case or a combination) into the three files named.
[[nodiscard]] ExportResult WriteSetTables(const CaseSolution& solution, int s,
                                          const std::string& nodesFile,
                                          const std::string& elementsFile,
                                          const std::string& reactionsFile);
[[nodiscard]] ExportResult WriteEnvelopeTable(const CaseSolution& solution,
                                              const std::string& fileName);
[[nodiscard]] ExportResult WriteCasesVtu(const CaseSolution& solution, const std::string& fileName);

// The design columns of one set appended to a row: ",v1,v2,..." (node or element row).
void AppendDesignRow(std::FILE* f, const DesignColumns& design, int index, bool element);

}  // namespace tavrin

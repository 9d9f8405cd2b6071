#include "ui/ResultColumns.h"

#include "analysis/ResultSet.h"
#include "analysis/ShearForces.h"
#include "analysis/TGlobMatrix.h"

namespace tavrin {

ResultColumns::ResultColumns(const TGlobMatrix& solver) : solver_(solver) {
  if (!solver.IsSolved() || !solver.HasStresses()) return;
  const char* const moments[3] = {"m_x", "m_y", "m_xy"};
  for (int c = 0; c < 3; ++c) Add(moments[c], true, true, Kind::moment, c);
  Add("error", false, true, Kind::error, 0);
  for (int k = 0; k < kDesignColumns; ++k) Add(kDesignColumnNames[k], true, true, Kind::design, k);
  // Only where a foundation exists, as in the node table.
  if (solver.FoundationZ() != 0.0) Add("foundation_pressure", true, false, Kind::foundation, 0);

  const int nodes = solver.ResultNodeCount(), triangles = solver.ResultTriangleCount();
  std::vector<double> x(nodes), y(nodes);
  for (int v = 0; v < nodes; ++v) {
    x[v] = solver.NodeX(v);
    y[v] = solver.NodeY(v);
  }
  std::vector<std::array<int, 3>> corners(triangles);
  for (int t = 0; t < triangles; ++t)
    for (int c = 0; c < 3; ++c) corners[t][c] = solver.TriangleCorner(t, c);
  design_ = ComputeDesignColumns(ResultSet::FromSolver(solver, solver, std::string()),
                                 ShearRecovery(x, y, corners),
                                 DesignAnglesOf(solver.Mesh(), corners, nodes));
}

void ResultColumns::Add(const std::string& name, bool atNodes, bool atElements, Kind kind,
                        int component) {
  columns_.push_back({name, atNodes, atElements});
  sources_.push_back({kind, component});
}

int ResultColumns::Find(const std::string& name) const {
  for (int k = 0; k < Count(); ++k)
    if (columns_[static_cast<std::size_t>(k)].name == name) return k;
  return -1;
}

double ResultColumns::NodeValue(int column, int node) const {
  const Source& s = sources_[column];
  switch (s.kind) {
    case Kind::moment:
      return solver_.NodeMoment(node, s.component);
    case Kind::design:
      return design_.Node(node, s.component);
    case Kind::foundation:
      return solver_.FoundationPressure(node);
    case Kind::error:
      break;
  }
  return 0.0;
}

double ResultColumns::ElementValue(int column, int triangle) const {
  const Source& s = sources_[column];
  switch (s.kind) {
    case Kind::moment:
      return solver_.ElementMoment(triangle, s.component);
    case Kind::error:
      return solver_.ElementError(triangle);
    case Kind::design:
      return design_.Element(triangle, s.component);
    case Kind::foundation:
      break;
  }
  return 0.0;
}

}  // namespace tavrin

// The solver's entry points that take the mesher's FEM: copying the mesh into the solver's own
// PlateMesh. Kept apart so that code working on a PlateMesh alone does not pull in the mesher.
#include "analysis/PlateMesh.h"
#include "analysis/TGlobMatrix.h"
#include "mesh/FEM.h"

namespace tavrin {

PlateMesh PlateMesh::FromFem(const FEM& fem) {
  PlateMesh m;
  const int nodes = fem.NodeCount(), edges = fem.EdgeCount(), tris = fem.TriangleCount();
  m.x.reserve(nodes);
  m.y.reserve(nodes);
  m.nodeDof.reserve(nodes);
  for (int i = 0; i < nodes; ++i) {
    DofRecord r;
    m.x.push_back(fem.NodeX(i));
    m.y.push_back(fem.NodeY(i));
    // A record that cannot be read means no loads and no constraint.
    m.nodeDof.push_back(fem.GetNodeDof(i, r) == 0 ? r : DofRecord());
  }
  m.edges.reserve(edges);
  m.edgeDof.reserve(edges);
  for (int e = 0; e < edges; ++e) {
    DofRecord r;
    m.edges.push_back({fem.EdgeBegin(e), fem.EdgeEnd(e)});
    m.edgeDof.push_back(fem.GetEdgeDof(e, r) == 0 ? r : DofRecord());
    if (const double ratio = fem.ArcLengthRatio(e); ratio != 1.0) {
      m.edgeArcRatio.resize(static_cast<std::size_t>(edges), 1.0);
      m.edgeArcRatio[static_cast<std::size_t>(e)] = ratio;
    }
  }
  if (!m.edgeArcRatio.empty()) m.nodeOnArc = fem.NodesOnArcs();
  m.triangles.reserve(tris);
  m.materials.reserve(tris);
  for (int t = 0; t < tris; ++t) {
    ElementPhysics p;
    fem.GetPhysics(t, p);
    m.triangles.push_back({fem.TriangleNode(t, 0), fem.TriangleNode(t, 1), fem.TriangleNode(t, 2)});
    m.materials.push_back(p);
  }
  m.minAngle = fem.CurrentMinAngle();
  return m;
}

SolveCode TGlobMatrix::SolveStatic(const FEM& mesh) {
  return SolveStatic(PlateMesh::FromFem(mesh));
}

}  // namespace tavrin

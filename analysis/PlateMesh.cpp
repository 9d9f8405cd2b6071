// Building a PlateMesh by hand (tests, benchmarks).
#include "analysis/PlateMesh.h"

#include <algorithm>

#include "containers/NodePairKey.h"

namespace tavrin {

int PlateMesh::AddNode(double px, double py, const DofRecord& dof) {
  x.push_back(px);
  y.push_back(py);
  nodeDof.push_back(dof);
  return NodeCount() - 1;
}

int PlateMesh::AddEdge(int a, int b, const DofRecord& dof) {
  edges.push_back({a, b});
  edgeDof.push_back(dof);
  const int index = EdgeCount() - 1;
  edgeLookup_.emplace(NodePairKey(a, b), index);
  return index;
}

int PlateMesh::FindEdge(int a, int b) const {
  if (edgeLookup_.size() != edges.size()) {
    // Edges were pushed directly into the vectors: fall back to a scan.
    for (int e = EdgeCount() - 1; e >= 0; --e)
      if ((edges[e][0] == a && edges[e][1] == b) || (edges[e][0] == b && edges[e][1] == a))
        return e;
    return -1;
  }
  const auto it = edgeLookup_.find(NodePairKey(a, b));
  return it == edgeLookup_.end() ? -1 : it->second;
}

int PlateMesh::AddTriangle(int a, int b, int c, const ElementPhysics& material) {
  const int corners[3] = {a, b, c};
  for (int k = 0; k < 3; ++k) {
    const int p = corners[k], q = corners[(k + 1) % 3];
    if (FindEdge(p, q) < 0) AddEdge(p, q);
  }
  triangles.push_back({a, b, c});
  materials.push_back(material);
  return TriangleCount() - 1;
}

void PlateMesh::ElementInput(int t, double record[10]) const {
  const auto& tri = triangles[t];
  for (int k = 0; k < 3; ++k) {
    record[2 * k] = x[tri[k]];
    record[2 * k + 1] = y[tri[k]];
  }
  const ElementPhysics& m = materials[t];
  record[6] = m.eModulus;
  record[7] = m.eModulus;
  record[8] = m.nu;
  record[9] = m.thickness;
}

}  // namespace tavrin

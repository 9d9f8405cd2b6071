// The mesher's whole-table scans, kept together so that a spatial index can replace them
// without touching the algorithms that call them. Each costs time linear in its table, and the
// refinement calls them once or more per inserted node, so meshing time grows with the square
// of the mesh size. (Edge lookup is already hashed by the edge table.)
#include <cmath>

#include "mesh/FEM.h"
#include "model/Geometry.h"

namespace tavrin {

int FEM::FindEdge(int a, int b) const { return edges_.Find(a, b); }

bool FEM::TooClose(MeshPoint p) const {
  // A square of half side minDistance, not a circle.
  for (int v = 0; v < NodeCount(); ++v) {
    if (std::fabs(nodes_.X(v) - p.x) < minDistance_ && std::fabs(nodes_.Y(v) - p.y) < minDistance_)
      return true;
  }
  return false;
}

void FEM::EncroachedSegments(MeshPoint p, std::vector<int>& out) const {
  out.clear();
  for (int s = 0; s < EdgeCount(); ++s) {
    if (IsSegment(s) && Encroaches(s, p)) out.push_back(s);
  }
}

bool FEM::IsBlocked(int a, int v) const {
  const MeshPoint pa = Node(a);
  const MeshPoint pv = Node(v);
  for (int f = 0; f < EdgeCount(); ++f) {
    const int fb = edges_.Begin(f);
    const int fe = edges_.End(f);
    if (fb == a || fb == v || fe == a || fe == v) continue;
    const MeshPoint qb = Node(fb);
    const MeshPoint qe = Node(fe);
    if (SegmentsCross(pa.x, pa.y, pv.x, pv.y, qb.x, qb.y, qe.x, qe.y)) return true;
  }
  return false;
}

int FEM::WorstTriangle() {
  const int w = triangles_.MinAngleIndex();
  currentMinAngle_ = MinAngle(w);
  return w;
}

int FEM::LargestTriangle() const { return triangles_.MaxAreaIndex(); }

}  // namespace tavrin

// The mesher's whole-table questions, kept together so that the algorithms calling them need
// not know how they are answered. By default the spatial index answers them (time about
// constant, or logarithmic in the number of triangles, per question); the plain linear scans
// stay as the reference the index must agree with, entity for entity, and a switch selects
// them (a linear scan costs time proportional to its table, and the refinement asks once or
// more per inserted node, so meshing time then grows with the square of the mesh size). Edge
// lookup is hashed by the edge table itself, except at the newest node, whose edges are the
// few made or moved since it was added. IsBlocked stays a scan: only the initial
// triangulation asks it, on the job's own nodes.
#include <cassert>
#include <cmath>
#include <cstring>

#include "mesh/FEM.h"
#include "model/Geometry.h"

namespace tavrin {

int FEM::FindEdge(int a, int b) const {
  const int newest = NodeCount() - 1;
  if (!indexedScans_ || newest < 0 || (a != newest && b != newest)) return edges_.Find(a, b);
  int found = -1;
  for (int e : recentEdges_) {
    const int eb = edges_.Begin(e), ee = edges_.End(e);
    if (e > found && ((eb == a && ee == b) || (eb == b && ee == a))) found = e;
  }
  return found;
}

void FEM::NoteTriangle(int t) {
  const auto i = static_cast<std::size_t>(t);
  if (i < staleMeasures_.size()) staleMeasures_[i] = 0;
  index_.TriangleStored(t, triangles_.MinAngle(t), triangles_.Area(t));
}

double FEM::MeasuredMinAngle(int t) const {
  if (!indexedScans_ || Stale(t)) return MinAngle(t);
  const double stored = triangles_.MinAngle(t);
#ifndef NDEBUG
  // Stored and measured again come from the same formula on the same nodes.
  const double measured = MinAngle(t);
  assert(std::memcmp(&stored, &measured, sizeof stored) == 0);
#endif
  return stored;
}

double FEM::MeasuredArea(int t) const {
  if (!indexedScans_ || Stale(t)) return TriangleArea(t);
  const double stored = triangles_.Area(t);
#ifndef NDEBUG
  const double measured = TriangleArea(t);
  assert(std::memcmp(&stored, &measured, sizeof stored) == 0);
#endif
  return stored;
}

bool FEM::IsSegmentUncached(int e) const {
  for (int f = static_cast<int>(segmentMarks_.size()); f < EdgeCount(); ++f)
    segmentMarks_.push_back(edges_.Mark(f));
  const auto i = static_cast<std::size_t>(e);
  return i < segmentMarks_.size() ? segmentMarks_[i] != 0 : edges_.Mark(e) != 0;
}

bool FEM::TooClose(MeshPoint p) const {
  // A square of half side minDistance, not a circle.
  if (indexedScans_) return index_.AnyNodeWithin(nodes_, p, minDistance_);
  for (int v = 0; v < NodeCount(); ++v) {
    if (std::fabs(nodes_.X(v) - p.x) < minDistance_ && std::fabs(nodes_.Y(v) - p.y) < minDistance_)
      return true;
  }
  return false;
}

void FEM::EncroachedSegments(MeshPoint p, std::vector<int>& out) const {
  if (indexedScans_) {
    index_.EncroachedSegments(
        nodes_, edges_, p, [&](int s) { return Encroaches(s, p); }, out);
    return;
  }
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
  const int w = indexedScans_ && index_.TrianglesExact() ? index_.MinAngleIndex()
                                                         : triangles_.MinAngleIndex();
  currentMinAngle_ = MeasuredMinAngle(w);
  return w;
}

int FEM::LargestTriangle() const {
  if (indexedScans_ && index_.TrianglesExact()) return index_.MaxAreaIndex();
  return triangles_.MaxAreaIndex();
}

}  // namespace tavrin

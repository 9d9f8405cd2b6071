#include "ui/JobDeletion.h"

#include <vector>

namespace tavrin {

namespace {

// Loads, prescribed values, constraint code and springs of node (isNode) or edge i onto j of
// `to`.
void CopyAttributes(const TObjCont& from, int i, TObjCont& to, int j, bool isNode) {
  std::array<double, 6> v{};  // prescribed lin. Z, rot. X, rot. Y, then the loads
  int code = 0;
  if ((isNode ? from.GetNodeAttributes(i, v, code) : from.GetEdgeAttributes(i, v, code)) < 0)
    return;
  if (isNode) {
    to.SetNodeSupport(j, code, {v[0], v[1], v[2]}, from.NodeSprings(i));
    to.SetNodeLoads(j, v[3], v[4], v[5]);
  } else {
    to.SetEdgeSupport(j, code, {v[0], v[1], v[2]}, from.EdgeSprings(i));
    to.SetEdgeLoads(j, v[3], v[4], v[5]);
  }
}

void CopyPolygonSlot(const TObjCont& from, int p, TObjCont& to, int q) {
  const PolygonPhysics ph = from.Physics(p);
  to.SetPolygonPhysics(q, ph.pressure, ph.eModulus, ph.nu, ph.thickness, ph.isHole);
  to.SetPolygonFoundation(q, ph.foundation);
  to.SetPolygonReinforcementAngle(q, ph.reinforcementAngle);
  to.SetPolygonName(q, from.PolygonName(p));
}

// Appends polygon p's edges to the open slot of `to`, nodes mapped through newNode.
void CopyPolygonEdges(const TObjCont& from, int p, const std::vector<int>& newNode, TObjCont& to) {
  for (int k = 0; k < from.PolygonEdgeCount(p); ++k) {
    const int e = from.PolygonEdge(p, k);
    if (to.AddPolygonEdge(newNode[from.EdgeBegin(e)], newNode[from.EdgeEnd(e)]) ==
        StatusCode::Added)
      CopyAttributes(from, e, to, to.EdgeCount() - 1, false);
  }
}

}  // namespace

bool CanDelete(const TObjCont& job, SelectionKind kind, int index) {
  if (!job.NewPolygonPending()) return false;
  if (kind == SelectionKind::node)
    return index >= 0 && index < job.NodeCount() && job.IsFreeNode(index);
  if (kind == SelectionKind::polygon) return index >= 0 && index < job.PolygonCount();
  return false;
}

TObjCont JobWithout(const TObjCont& job, SelectionKind kind, int index) {
  if (!CanDelete(job, kind, index)) return job;
  const int dropPolygon = kind == SelectionKind::polygon ? index : -1;

  // A node stays when it is not the deleted free node and is free or on a kept edge.
  std::vector<bool> keep(static_cast<std::size_t>(job.NodeCount()), false);
  for (int i = 0; i < job.NodeCount(); ++i)
    keep[i] = job.IsFreeNode(i) && !(kind == SelectionKind::node && i == index);
  std::vector<bool> edgeDropped(static_cast<std::size_t>(job.EdgeCount()), false);
  for (int k = 0; dropPolygon >= 0 && k < job.PolygonEdgeCount(dropPolygon); ++k)
    edgeDropped[job.PolygonEdge(dropPolygon, k)] = true;
  for (int e = 0; e < job.EdgeCount(); ++e) {
    if (edgeDropped[e]) continue;
    keep[job.EdgeBegin(e)] = true;
    keep[job.EdgeEnd(e)] = true;
  }

  TObjCont out;
  std::vector<int> newNode(static_cast<std::size_t>(job.NodeCount()), -1);
  for (int i = 0; i < job.NodeCount(); ++i) {
    if (!keep[i]) continue;
    out.AddNode(job.NodeX(i), job.NodeY(i));
    newNode[i] = out.LastNode();
    CopyAttributes(job, i, out, newNode[i], true);
  }
  for (int p = 0; p < job.PolygonCount(); ++p) {
    if (p == dropPolygon) continue;
    CopyPolygonEdges(job, p, newNode, out);
    out.ClosePolygon();
    CopyPolygonSlot(job, p, out, out.PolygonCount() - 1);
  }
  // The open slot: an unclosed chain read from a file stays as it was.
  CopyPolygonEdges(job, job.PolygonCount(), newNode, out);
  CopyPolygonSlot(job, job.PolygonCount(), out, out.PolygonCount());
  for (int i = 0; i < job.NodeCount(); ++i)
    if (newNode[i] >= 0) out.SetFreeNode(newNode[i], job.IsFreeNode(i));
  return out;
}

}  // namespace tavrin

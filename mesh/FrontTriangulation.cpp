// Initial constrained triangulation by gift wrapping (an advancing front). Every region to be
// meshed gets one seed triangle on a boundary edge; then every open edge is closed by the node
// that sees it under the largest angle among the visible nodes on its far side. Input edges are
// segments that the front never crosses, so each region fills from its own seed and holes,
// which get no seed, stay empty.
//
// Cost: with the plain scans, each open edge tries every node and each try scans every edge
// for a crossing, so the front takes time of the order of edges x nodes x edges, minutes for a
// few thousand free nodes. The front's index (FrontIndex) answers both questions from nearby
// nodes and edges with the same result, so that a front over n nodes costs about n log n.
#include <array>
#include <cmath>
#include <vector>

#include "containers/TFloats.h"
#include "mesh/FEM.h"
#include "mesh/FrontIndex.h"
#include "mesh/MeshCanvas.h"
#include "mesh/MeshProgress.h"
#include "model/TObjCont.h"

namespace tavrin {

namespace {
const DofRecord kNoDof{};

// An edge keeps two triangles at most. Where the job's segments overlap or pass through a
// node, the nearest visible node can close a triangle on a side that already has two, which
// left a third triangle unattached and the mesh inconsistent for the refinement.
bool SideTaken(const FEM& mesh, int a, int v) {
  const int e = mesh.FindEdge(a, v);
  return e != -1 && mesh.EdgeTriangleCount(e) >= 2;
}

// What the apex b-v-e must satisfy besides lying on the open side: neither new side cuts
// through an edge already made (segments included), and neither closes a third triangle.
bool ApexAllowed(const FEM& mesh, FrontIndex* index, int b, int e, int v) {
  const auto blocked = [&](int a) {
    return index != nullptr ? index->Blocked(mesh, a, v) : mesh.IsBlocked(a, v);
  };
  return !blocked(b) && !blocked(e) && !SideTaken(mesh, b, v) && !SideTaken(mesh, e, v);
}

// The apex by scanning every node: the lowest-indexed node with the smallest cosine below 1.0
// that lies on the open side and is allowed.
template <typename Accept>
int ScanForApex(const FEM& mesh, MeshPoint b, MeshPoint e, const FrontSide& side,
                const Accept& accept) {
  int apex = -1;
  double best = 1.0;
  for (int v = 0; v < mesh.NodeCount(); ++v) {
    const MeshPoint pv = mesh.Node(v);
    const double cosine = ViewCosine(b, e, pv);
    if (!(cosine < best)) continue;
    if (!side.Holds(pv)) continue;
    if (!accept(v)) continue;
    best = cosine;
    apex = v;
  }
  return apex;
}
}  // namespace

void FEM::Triangulate(const TObjCont& structure, MeshCanvas& canvas) {
  LoadInput(structure);
  FrontIndex grid;
  FrontIndex* index = indexedScans_ && grid.Build(*this) ? &grid : nullptr;
  // Without a closed polygon there is no plate: the edges of a polygon still being drawn
  // would otherwise be seeded as if they bounded one.
  if (structure.PolygonCount() > 0) SeedTriangle(canvas, 0, index);
  for (int p = 1; p < structure.PolygonCount(); ++p) {
    if (!structure.IsHole(p)) SeedTriangle(canvas, p, index);
  }
  AdvanceFront(canvas, index);
  AssignPhysics(structure);
  inputNodes_ = NodeCount();
}

void FEM::DrawMeshEdge(MeshCanvas& canvas, int a, int b) const {
  canvas.Line(NodeX(a), NodeY(a), NodeX(b), NodeY(b));
}

void FEM::LoadInput(const TObjCont& structure) {
  for (int i = 0; i < structure.NodeCount(); ++i) {
    const int n = AddMeshNode(structure.NodeX(i), structure.NodeY(i), structure.NodeDof(i));
    nodes_.SetPolygon(n, structure.NodePolygon(i));
  }
  for (int j = 0; j < structure.EdgeCount(); ++j) {
    const int a = structure.EdgeBegin(j);
    const int b = structure.EdgeEnd(j);
    // A job edge must join two distinct nodes of the job; anything else cannot bound a region.
    if (a < 0 || b < 0 || a >= NodeCount() || b >= NodeCount() || a == b) continue;
    if (structure.IsArcEdge(j)) {
      LoadArcEdge(structure, j, a, b);
      continue;
    }
    AddMeshEdge(a, b, structure.EdgeDof(j), 1);
  }
}

bool FEM::InnerSide(int s, int polygon) const {
  const MeshPoint b = Node(edges_.Begin(s));
  const MeshPoint e = Node(edges_.End(s));
  double xm = (b.x + e.x) / 2;
  const double ym = (b.y + e.y) / 2;

  TFloats crossings;
  for (int g = 0; g < EdgeCount(); ++g) {
    const int ga = edges_.Begin(g);
    const int gb = edges_.End(g);
    if (nodes_.Polygon(ga) != polygon || nodes_.Polygon(gb) != polygon) continue;
    const MeshPoint pa = Node(ga);
    const MeshPoint pb = Node(gb);
    // Half-open in y: a ray through a vertex counts it once where the outline passes through
    // and twice or not at all where it turns back, so the parity holds. Open at both ends, a
    // ray through a vertex lost a crossing and the seed of a plain quadrilateral went outside.
    if ((pa.y > ym) != (pb.y > ym))
      crossings.Add((ym - pa.y) * (pb.x - pa.x) / (pb.y - pa.y) + pa.x);
  }
  crossings.SortDescending();

  // Even-odd: crossings 0-1, 2-3, ... bound the inside spans. The midpoint lies on s itself,
  // so it is moved to the middle of the span that s's crossing closes.
  bool odd = false;
  const int count = crossings.Count();
  for (int k = 0; k < count; ++k) {
    const double xk = crossings.Get(k);
    if (std::abs(xk - xm) < kMeshTolerance) {
      if (odd) {
        xm = (xk + crossings.Get(k - 1)) / 2;
      } else if (k + 1 < count) {
        xm = (xk + crossings.Get(k + 1)) / 2;
      } else if (k > 0) {
        // The ray passed through a vertex and the span lost its partner: take the other side.
        xm = (xk + crossings.Get(k - 1)) / 2;
      }
    }
    odd = !odd;
  }
  return SideOf(b, e, MeshPoint{xm, ym});
}

void FEM::SeedTriangle(MeshCanvas& canvas, int polygon, FrontIndex* index) {
  if (EdgeCount() == 0) return;
  int s = 0;
  for (int g = 0; g < EdgeCount(); ++g) {
    if (nodes_.Polygon(edges_.Begin(g)) != polygon) continue;
    if (std::abs(NodeY(edges_.Begin(g)) - NodeY(edges_.End(g))) > kMeshTolerance) {
      s = g;
      break;
    }
  }
  const bool side = InnerSide(s, polygon);
  const int sb = edges_.Begin(s);
  const int se = edges_.End(s);
  const MeshPoint b = Node(sb);
  const MeshPoint e = Node(se);

  // The apex is the node seeing s under the largest angle on the inner side, among those
  // that s's ends can see, as for the front: in a concave outline the best angle may belong to
  // a node behind the boundary, and a seed on it would lie partly outside the plate. Where the
  // best node is visible (every convex region) it is the apex either way.
  int apex = -1;
  double best = 1.0;
  for (int v = 0; v < NodeCount(); ++v) {
    if (polygon != 0 && nodes_.Polygon(v) != polygon) continue;
    const MeshPoint pv = Node(v);
    if (SideOf(b, e, pv) != side) continue;
    const double cosine = ViewCosine(b, e, pv);
    if (cosine < best && ApexAllowed(*this, index, sb, se, v)) {
      best = cosine;
      apex = v;
    }
  }
  if (apex == -1) return;  // nothing to stand on: the region stays empty

  const int side1 = AddMeshEdge(sb, apex, kNoDof, 0);
  const int side2 = AddMeshEdge(apex, se, kNoDof, 0);
  DrawMeshEdge(canvas, sb, apex);
  DrawMeshEdge(canvas, apex, se);
  MakeTriangle(s, side1, side2);
}

void FEM::AdvanceFront(MeshCanvas& canvas, FrontIndex* index) {
  // Passes visit the edges in index order, each pass those that existed when it began, until a
  // pass makes no triangle. The front only adds edges and triangles, so an edge with two
  // triangles, or a segment, is never open again, and an edge that found no apex finds none
  // later (more edges block more sides and close more of them): each open edge needs one try,
  // and the passes read a list of the edges still to try instead of the whole table. The plain
  // scans still try a failed edge in every pass, as the reference for that shortcut.
  std::vector<int> open;
  std::vector<int> again;
  int listed = 0;
  bool productive = true;
  while (productive) {
    productive = false;
    for (const int n = EdgeCount(); listed < n; ++listed) {
      if (!IsSegment(listed)) open.push_back(listed);
    }
    again.clear();
    for (const int e : open) {
      const int count = edges_.TriangleCount(e);
      if (count == 0) again.push_back(e);  // none in practice: sides get a triangle when made
      if (count != 1) continue;
      const int nb = edges_.Begin(e);
      const int ne = edges_.End(e);
      const MeshPoint b = Node(nb);
      const MeshPoint en = Node(ne);
      const FrontSide side(b, en, Node(OppositeNode(edges_.Triangle(e, 1), e)));
      const auto allowed = [&](int v) { return ApexAllowed(*this, index, nb, ne, v); };
      const int apex = index != nullptr ? index->BestApex(b, en, side, allowed)
                                        : ScanForApex(*this, b, en, side, allowed);
      if (apex == -1) {  // no visible node: the edge stays open
        if (index == nullptr) again.push_back(e);
        continue;
      }

      const int side1 = AddMeshEdge(nb, apex, kNoDof, 0);
      const int side2 = AddMeshEdge(apex, ne, kNoDof, 0);
      DrawMeshEdge(canvas, nb, apex);
      DrawMeshEdge(canvas, apex, ne);
      MakeTriangle(e, side1, side2);
      productive = true;
    }
    open.swap(again);
  }
}

void FEM::AssignPhysics(const TObjCont& structure) {
  auto physicsOf = [&structure](int polygon, ElementPhysics& physics) {
    std::array<double, 5> values{};
    if (structure.GetPolygonPhysics(polygon, values) != StatusCode::Done) return false;
    physics = ElementPhysics{values[0],
                             values[1],
                             values[2],
                             values[3],
                             structure.Foundation(polygon),
                             structure.ReinforcementAngle(polygon)};
    return true;
  };
  ElementPhysics outline;
  physicsOf(0, outline);
  for (int t = 0; t < TriangleCount(); ++t) {
    const int p = nodes_.Polygon(TriangleNode(t, 0));
    ElementPhysics physics = outline;
    if (p == nodes_.Polygon(TriangleNode(t, 1)) && p == nodes_.Polygon(TriangleNode(t, 2)))
      physicsOf(p, physics);
    triangles_.SetPhysics(t, physics);
  }
}

}  // namespace tavrin

// Arc edges in the mesh. A job's arc edge enters as a chain of chords whose nodes lie on the
// arc, each spanning at most kLargestPieceAngle of it; every split of such a chord afterwards
// (encroachment, finishing, a point landing on it) puts its node on the arc at the chord's
// parameter, so every boundary node of the plate lies on its arc to the rounding of one sine
// and cosine, and the meshed plate converges to the curved one as it is refined.
//
// The pieces are short enough that the node a split adds, which stands off the chord by the
// piece's sagitta (a sixteenth of the chord or less), stays inside the triangle beside a chord
// bulging into the plate: that triangle's height over the chord is its apex's, far larger for
// any triangle the first triangulation or the refinement makes there. Cost: constant per piece
// and per split; NodesOnArcs is one pass over the edges.
#include <cmath>

#include "mesh/FEM.h"
#include "model/TObjCont.h"

namespace tavrin {

namespace {
constexpr double kPi = 3.14159265358979323846;
// 15 degrees: a piece's sagitta is a 30th of its chord.
constexpr double kLargestPieceAngle = kPi / 12;

// The angle from a to b about the arc's centre, the short way round (pieces turn far less
// than half way).
double PieceSweep(const Arc& arc, MeshPoint a, MeshPoint b) {
  const double from = std::atan2(a.y - arc.cy, a.x - arc.cx);
  double sweep = std::atan2(b.y - arc.cy, b.x - arc.cx) - from;
  if (sweep > kPi) sweep -= 2 * kPi;
  if (sweep <= -kPi) sweep += 2 * kPi;
  return sweep;
}
}  // namespace

void FEM::LoadArcEdge(const TObjCont& structure, int j, int a, int b) {
  const Arc arc = ArcThrough(structure.NodeX(a), structure.NodeY(a), structure.NodeX(b),
                             structure.NodeY(b), structure.EdgeBulge(j));
  const int index = static_cast<int>(arcs_.size());
  arcs_.push_back(arc);
  arcJobEdge_.push_back(j);
  const int pieces =
      std::max(1, static_cast<int>(std::ceil(std::fabs(arc.sweep) / kLargestPieceAngle)));
  const DofRecord dof = structure.EdgeDof(j);
  int from = a;
  for (int k = 1; k < pieces; ++k) {
    double x = 0, y = 0;
    ArcPointAt(arc, static_cast<double>(k) / pieces, x, y);
    const int n = AddMeshNode(x, y, DofRecord{});
    nodes_.SetPolygon(n, structure.NodePolygon(a));
    AddMeshEdge(from, n, dof, 1, index);
    from = n;
  }
  AddMeshEdge(from, b, dof, 1, index);
}

const Arc* FEM::SegmentArc(int e) const {
  const int arc = edges_.Arc(e);
  return arc >= 0 ? &arcs_[static_cast<std::size_t>(arc)] : nullptr;
}

int FEM::ArcJobEdge(int e) const {
  const int arc = edges_.Arc(e);
  return arc >= 0 ? arcJobEdge_[static_cast<std::size_t>(arc)] : -1;
}

MeshPoint FEM::SplitPoint(int e, MeshPoint p) const {
  const Arc* arc = SegmentArc(e);
  if (arc == nullptr) return p;
  const MeshPoint a = Node(edges_.Begin(e)), b = Node(edges_.End(e));
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double t = ((p.x - a.x) * dx + (p.y - a.y) * dy) / (dx * dx + dy * dy);
  const double angle = std::atan2(a.y - arc->cy, a.x - arc->cx) + t * PieceSweep(*arc, a, b);
  return MeshPoint{arc->cx + arc->radius * std::cos(angle),
                   arc->cy + arc->radius * std::sin(angle)};
}

double FEM::ArcLengthRatio(int e) const {
  const Arc* arc = SegmentArc(e);
  if (arc == nullptr) return 1.0;
  const MeshPoint a = Node(edges_.Begin(e)), b = Node(edges_.End(e));
  const double chord = std::hypot(b.x - a.x, b.y - a.y);
  return chord > 0 ? arc->radius * std::fabs(PieceSweep(*arc, a, b)) / chord : 1.0;
}

std::vector<std::uint8_t> FEM::NodesOnArcs() const {
  std::vector<std::uint8_t> on(static_cast<std::size_t>(NodeCount()), 0);
  for (int e = 0; e < EdgeCount(); ++e) {
    if (edges_.Arc(e) < 0) continue;
    on[static_cast<std::size_t>(edges_.Begin(e))] = 1;
    on[static_cast<std::size_t>(edges_.End(e))] = 1;
  }
  return on;
}

}  // namespace tavrin

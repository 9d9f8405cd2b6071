// The finishing refinement: constrained Delaunay refinement with off-centres, concentric shells
// and the input-corner exemption. Decisions that change the mesh (flips, which side of a line
// a point lies on at the end of a walk) rest on signs the rounding cannot have changed, so the
// flips terminate and no triangle is turned inside out.
#include "mesh/FinishingRefinement.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "mesh/FEM.h"
#include "mesh/GeometricPredicates.h"
#include "mesh/MeshProgress.h"

namespace tavrin {

namespace {
// The off-centre is placed at this fraction of the height from which the shortest side is
// seen under exactly the bound, so that the new triangle on that side beats the bound.
constexpr double kOffCentreMargin = 0.95;
// A new point nearer than this fraction of its triangle's shortest side to a node around it
// would only make worse triangles (rounding has then spoilt the empty-circle property).
constexpr double kTooClose = 0.05;
// Pieces shorter than this fraction of the plate's extent are not split: their nodes would be
// too close for the double-precision signs to tell apart.
constexpr double kShortestPiece = 1e-9;
// Innermost shell radius; shells lie at 0.1 * 2^k from their corner, as the mesher's own
// splits place them, so that nodes of both kinds meet at the same distances.
constexpr double kShellUnit = 0.1;
// Progress is reported, and a stop looked for, after this many changes of the mesh.
constexpr int kReportEvery = 2048;
// An apex counts as encroaching only when it is inside the diametral circle by more than the
// rounding of the test, so right triangles (common after splits) do not split their pieces.
constexpr double kEncroachTolerance = 1e-10;

double SquaredDistance(MeshPoint a, MeshPoint b) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  return dx * dx + dy * dy;
}
}  // namespace

FinishingRefinement::FinishingRefinement(FEM& mesh, int inputNodes)
    : mesh_(mesh),
      corners_(mesh, inputNodes),
      bound_(mesh.MinAngleDegrees()),
      boundRadians_(BoundRadians(bound_)),
      maxArea_(mesh.MaxArea()) {
  const double beta = bound_ * 3.141592653589793 / 180;
  offCentre_ = beta > 0 ? kOffCentreMargin * 0.5 / std::tan(beta / 2) : 0.0;
  double xmin = 0, xmax = 0, ymin = 0, ymax = 0;
  for (int v = 0; v < mesh.NodeCount(); ++v) {
    const MeshPoint p = mesh.Node(v);
    if (v == 0 || p.x < xmin) xmin = p.x;
    if (v == 0 || p.x > xmax) xmax = p.x;
    if (v == 0 || p.y < ymin) ymin = p.y;
    if (v == 0 || p.y > ymax) ymax = p.y;
  }
  shortestPiece_ = kShortestPiece * std::max(xmax - xmin, ymax - ymin);
}

// ---- Reading the mesh ---------------------------------------------------------------------

MeshPoint FinishingRefinement::NodeAt(int v) const { return mesh_.Node(v); }

FinishingRefinement::TriangleView FinishingRefinement::View(int t) const {
  const int e1 = mesh_.TriangleEdge(t, 1), e2 = mesh_.TriangleEdge(t, 2);
  const int e3 = mesh_.TriangleEdge(t, 3);
  const int a = mesh_.EdgeBegin(e1), b = mesh_.EdgeEnd(e1);
  const int b2 = mesh_.EdgeBegin(e2);
  const int c = (b2 == a || b2 == b) ? mesh_.EdgeEnd(e2) : b2;
  const bool e2AtA = b2 == a || mesh_.EdgeEnd(e2) == a;
  TriangleView view{{a, b, c}, {e2AtA ? e3 : e2, e2AtA ? e2 : e3, e1}};
  if (Orientation(NodeAt(a), NodeAt(b), NodeAt(c)) < 0) {
    std::swap(view.v[1], view.v[2]);
    std::swap(view.e[1], view.e[2]);
  }
  return view;
}

int FinishingRefinement::Across(int e, int t) const {
  const int u = mesh_.EdgeTriangle(e, 1);
  return u == t ? mesh_.EdgeTriangle(e, 2) : u;
}

int FinishingRefinement::EdgeJoining(int t, int a, int b) const {
  for (int k = 1; k <= 3; ++k) {
    const int g = mesh_.TriangleEdge(t, k);
    const int gb = mesh_.EdgeBegin(g), ge = mesh_.EdgeEnd(g);
    if ((gb == a && ge == b) || (gb == b && ge == a)) return g;
  }
  return -1;
}

bool FinishingRefinement::Exempt(int t) const {
  return MeshDegrees(corners_.CornerAngle(t)) < bound_;
}

bool FinishingRefinement::IsBad(int t) const {
  if (mesh_.HasSizeField() ? mesh_.AboveAreaBound(t)
                           : maxArea_ > 0 && mesh_.StoredArea(t) >= maxArea_)
    return true;
  return mesh_.StoredMinAngle(t) < boundRadians_ && !Exempt(t);
}

bool FinishingRefinement::Encroaches(int s, MeshPoint p) const {
  const MeshPoint a = NodeAt(mesh_.EdgeBegin(s));
  const MeshPoint b = NodeAt(mesh_.EdgeEnd(s));
  const double dot = (a.x - p.x) * (b.x - p.x) + (a.y - p.y) * (b.y - p.y);
  return dot < -kEncroachTolerance * (SquaredDistance(a, p) + SquaredDistance(b, p));
}

bool FinishingRefinement::IsEncroached(int s) const {
  for (int slot = 1; slot <= 2; ++slot) {
    const int apex = mesh_.ApexAcross(s, slot);
    if (apex != -1 && Encroaches(s, NodeAt(apex))) return true;
  }
  return false;
}

// ---- Changing the mesh --------------------------------------------------------------------

void FinishingRefinement::Reshaped(int t) {
  ++version_[static_cast<std::size_t>(t)];
  touched_.push_back(t);
}

void FinishingRefinement::Made(int t) {
  version_.push_back(0);
  queuedAt_.push_back(kNotQueued);
  seen_.push_back(0);
  touched_.push_back(t);
}

void FinishingRefinement::InsertInTriangle(int t, MeshPoint p) {
  const TriangleView view = View(t);
  const int n = mesh_.InsertInTriangle(
      t, p, FEM::Corners{{view.v[0], view.v[1], view.v[2]}, {view.e[0], view.e[1], view.e[2]}},
      *this);
  ++figures_.insertions;
  flips_.assign({view.e[0], view.e[1], view.e[2]});
  Legalize(n);
}

int FinishingRefinement::SplitEdgeAt(int e, MeshPoint p) {
  // The sides beside e, which the new node may make illegal.
  const int b = mesh_.EdgeBegin(e);
  const int f = mesh_.EdgeEnd(e);
  flips_.clear();
  for (int slot = 1; slot <= 2; ++slot) {
    const int t = mesh_.EdgeTriangle(e, slot);
    if (t == -1) continue;
    const int apex = mesh_.OppositeNode(t, e);
    flips_.push_back(EdgeJoining(t, b, apex));
    flips_.push_back(EdgeJoining(t, f, apex));
  }
  const int h = mesh_.SplitEdgeAt(e, p, *this);
  Legalize(mesh_.NodeCount() - 1);
  return h;
}

bool FinishingRefinement::SplitSegment(int s) {
  const int b = mesh_.EdgeBegin(s);
  const int f = mesh_.EdgeEnd(s);
  const MeshPoint pb = NodeAt(b), pf = NodeAt(f);
  const double length = std::sqrt(SquaredDistance(pb, pf));
  if (!(length >= shortestPiece_)) return false;
  if (mesh_.EdgeTriangle(s, 1) == -1 && mesh_.EdgeTriangle(s, 2) == -1) return false;
  MeshPoint p{(pb.x + pf.x) / 2, (pb.y + pf.y) / 2};
  const int corner = corners_.ShellCorner(s);
  if (corner != -1) {
    // The power of two (times the shell unit) between a third and two thirds of the piece.
    double d = kShellUnit;
    while (d > 2 * length / 3) d *= 0.5;
    while (d < length / 3) d *= 2;
    const MeshPoint c = NodeAt(corner);
    const MeshPoint o = corner == b ? pf : pb;
    p = MeshPoint{c.x + d * (o.x - c.x) / length, c.y + d * (o.y - c.y) / length};
  }
  const int h = SplitEdgeAt(s, p);
  corners_.NoteSplit(s, h, mesh_.NodeCount() - 1);
  ++figures_.splits;
  return true;
}

bool FinishingRefinement::ShouldFlip(int e) const {
  const int t1 = mesh_.EdgeTriangle(e, 1);
  const int t2 = mesh_.EdgeTriangle(e, 2);
  if (t1 == -1 || t2 == -1 || mesh_.IsSegment(e)) return false;
  const MeshPoint a = NodeAt(mesh_.EdgeBegin(e));
  const MeshPoint b = NodeAt(mesh_.EdgeEnd(e));
  const MeshPoint c1 = NodeAt(mesh_.OppositeNode(t1, e));
  const MeshPoint c2 = NodeAt(mesh_.OppositeNode(t2, e));
  const int inside =
      Orientation(a, b, c1) > 0 ? InCircleSign(a, b, c1, c2) : InCircleSign(b, a, c1, c2);
  if (inside <= 0) return false;
  // The new diagonal must cross the old one, or the flip would fold the pair over.
  const int sa = OrientationSign(c1, c2, a);
  const int sb = OrientationSign(c1, c2, b);
  return sa != 0 && sb != 0 && sa != sb;
}

void FinishingRefinement::Flip(int e) {
  mesh_.FlipDiagonal(e, *this);
  ++figures_.flips;
}

void FinishingRefinement::Legalize(int node) {
  while (!flips_.empty()) {
    const int e = flips_.back();
    flips_.pop_back();
    if (!ShouldFlip(e)) continue;
    const int t1 = mesh_.EdgeTriangle(e, 1);
    const int t2 = mesh_.EdgeTriangle(e, 2);
    for (int t : {t1, t2}) {
      for (int k = 1; k <= 3; ++k) {
        const int g = mesh_.TriangleEdge(t, k);
        if (g == e) continue;
        if (node != -1 && (mesh_.EdgeBegin(g) == node || mesh_.EdgeEnd(g) == node)) continue;
        flips_.push_back(g);
      }
    }
    Flip(e);
  }
}

// ---- Refining -----------------------------------------------------------------------------

FinishingRefinement::Location FinishingRefinement::Locate(int t, MeshPoint p) const {
  // A straight walk from the centroid of t: through the side the ray to p leaves by, until p
  // is reached or a piece (or the plate's edge) is in the way.
  const TriangleView view = View(t);
  const MeshPoint v0 = NodeAt(view.v[0]), v1 = NodeAt(view.v[1]), v2 = NodeAt(view.v[2]);
  const MeshPoint q{(v0.x + v1.x + v2.x) / 3, (v0.y + v1.y + v2.y) / 3};
  const double side[3] = {Orientation(q, p, v0), Orientation(q, p, v1), Orientation(q, p, v2)};
  int exit = -1;
  for (int i = 0; i < 3 && exit == -1; ++i)
    if (side[(i + 1) % 3] <= 0 && side[(i + 2) % 3] > 0) exit = i;
  if (exit == -1) return {Location::kInside, t, -1};  // p is the centroid itself
  int right = view.v[(exit + 1) % 3];
  int left = view.v[(exit + 2) % 3];
  int edge = view.e[exit];
  int u = t;
  for (int steps = mesh_.TriangleCount() + 8; steps > 0; --steps) {
    if (Orientation(NodeAt(right), NodeAt(left), p) >= 0) return {Location::kInside, u, -1};
    const int w = Across(edge, u);
    if (w == -1 || mesh_.IsSegment(edge)) return {Location::kBlocked, u, edge};
    const int s = mesh_.OppositeNode(w, edge);
    if (Orientation(q, p, NodeAt(s)) > 0) {
      edge = EdgeJoining(w, right, s);
      left = s;
    } else {
      edge = EdgeJoining(w, s, left);
      right = s;
    }
    u = w;
    if (edge == -1) break;
  }
  return {Location::kLost, -1, -1};
}

void FinishingRefinement::CollectCavity(int host, MeshPoint p) {
  // The triangles whose circumcircles hold p, reached from the host without crossing a piece:
  // those the insertion will replace. Undecidable circles count as holding p, so that no piece
  // the new node could be joined to goes unchecked.
  ++search_;
  cavity_.assign(1, host);
  seen_[host] = search_;
  cavitySegments_.clear();
  cavityNodes_.clear();
  for (std::size_t k = 0; k < cavity_.size(); ++k) {
    const TriangleView view = View(cavity_[k]);
    for (int i = 0; i < 3; ++i) {
      cavityNodes_.push_back(view.v[i]);
      const int e = view.e[i];
      if (mesh_.IsSegment(e)) {
        cavitySegments_.push_back(e);
        continue;
      }
      const int w = Across(e, cavity_[k]);
      if (w == -1 || seen_[w] == search_) continue;
      seen_[w] = search_;
      const TriangleView other = View(w);
      if (InCircleSign(NodeAt(other.v[0]), NodeAt(other.v[1]), NodeAt(other.v[2]), p) >= 0)
        cavity_.push_back(w);
    }
  }
}

void FinishingRefinement::RefineTriangle(int t) {
  if (!IsBad(t)) return;
  const TriangleView view = View(t);
  const MeshPoint v[3] = {NodeAt(view.v[0]), NodeAt(view.v[1]), NodeAt(view.v[2])};
  double shortest = 0;
  const int k = ShortestSideOpposite(v, shortest);
  const MeshPoint a = v[(k + 1) % 3], b = v[(k + 2) % 3], c = v[k];
  // Circumcentre, from a for accuracy.
  const double bx = b.x - a.x, by = b.y - a.y, cx = c.x - a.x, cy = c.y - a.y;
  const double d = 2 * (bx * cy - by * cx);
  if (!(d > 0)) return Refuse();
  const double b2 = bx * bx + by * by, c2 = cx * cx + cy * cy;
  MeshPoint p{a.x + (cy * b2 - by * c2) / d, a.y + (bx * c2 - cx * b2) / d};
  const bool skinny = mesh_.StoredMinAngle(t) < boundRadians_ && !Exempt(t);
  const double side = std::sqrt(shortest);
  if (skinny) {
    const MeshPoint m{(a.x + b.x) / 2, (a.y + b.y) / 2};
    const double dx = p.x - m.x, dy = p.y - m.y;
    const double distance = std::sqrt(dx * dx + dy * dy);
    const double height = offCentre_ * side;
    if (distance > height)
      p = MeshPoint{m.x + dx * (height / distance), m.y + dy * (height / distance)};
  }
  if (!std::isfinite(p.x) || !std::isfinite(p.y)) return Refuse();

  const Location where = Locate(t, p);
  if (where.kind == Location::kLost) return Refuse();
  if (where.kind == Location::kBlocked) {
    // Beyond a piece: that piece is in the way of the point (unless the plate's edge is not a
    // piece at all, in a region the first triangulation left open).
    if (!mesh_.IsSegment(where.edge) || !Encroaches(where.edge, p) || !SplitSegment(where.edge))
      return Refuse();
    touched_.push_back(t);
    return;
  }

  CollectCavity(where.triangle, p);
  bool split = false, encroached = false;
  std::sort(cavitySegments_.begin(), cavitySegments_.end());
  cavitySegments_.erase(std::unique(cavitySegments_.begin(), cavitySegments_.end()),
                        cavitySegments_.end());
  for (int s : cavitySegments_) {
    if (!Encroaches(s, p)) continue;
    encroached = true;
    split = SplitSegment(s) || split;
  }
  if (encroached) {
    if (!split) return Refuse();
    touched_.push_back(t);
    return;
  }
  double nearest = std::numeric_limits<double>::infinity();
  for (int node : cavityNodes_) nearest = std::min(nearest, SquaredDistance(p, NodeAt(node)));
  if (nearest < kTooClose * kTooClose * shortest) return Refuse();

  // On a side of the host (to rounding), the point splits that side; beyond one, the walk and
  // the host disagree and the point is not used.
  const TriangleView host = View(where.triangle);
  int onEdge = -1;
  for (int i = 0; i < 3; ++i) {
    const int sign = OrientationSign(NodeAt(host.v[(i + 1) % 3]), NodeAt(host.v[(i + 2) % 3]), p);
    if (sign < 0) return Refuse();
    if (sign == 0) {
      if (onEdge != -1) return Refuse();
      onEdge = host.e[i];
    }
  }
  if (onEdge == -1) {
    InsertInTriangle(where.triangle, p);
  } else if (!mesh_.IsSegment(onEdge)) {
    SplitEdgeAt(onEdge, p);
    ++figures_.insertions;
  } else {
    return Refuse();
  }
}

// ---- Queues -------------------------------------------------------------------------------

void FinishingRefinement::QueueSegment(int s) {
  if (static_cast<std::size_t>(s) >= segmentQueued_.size()) segmentQueued_.resize(s + 1, 0);
  if (segmentQueued_[s]) return;
  segmentQueued_[s] = 1;
  encroached_.push_back(s);
}

void FinishingRefinement::Evaluate(int t) {
  for (int k = 1; k <= 3; ++k) {
    const int g = mesh_.TriangleEdge(t, k);
    if (mesh_.IsSegment(g) && Encroaches(g, NodeAt(mesh_.OppositeNode(t, g)))) QueueSegment(g);
  }
  if (queuedAt_[t] == version_[t] || !IsBad(t)) return;
  queuedAt_[t] = version_[t];
  bad_.emplace_back(t, version_[t]);
}

void FinishingRefinement::Settle() {
  for (std::size_t k = 0; k < touched_.size(); ++k) Evaluate(touched_[k]);
  touched_.clear();
}

void FinishingRefinement::Run(MeshProgress& progress) {
  mesh_.SetRunning(true);
  const int triangles = mesh_.TriangleCount();
  version_.assign(static_cast<std::size_t>(triangles), 0);
  queuedAt_.assign(static_cast<std::size_t>(triangles), kNotQueued);
  seen_.assign(static_cast<std::size_t>(triangles), 0);
  segmentQueued_.assign(static_cast<std::size_t>(mesh_.EdgeCount()), 0);

  // The mesher's loop flips for the largest smallest angle, not for empty circles, and only
  // near its insertions; the guarantees below need a constrained Delaunay mesh.
  for (int e = 0; e < mesh_.EdgeCount(); ++e) flips_.push_back(e);
  Legalize(-1);
  touched_.clear();
  for (int t = 0; t < triangles; ++t) Evaluate(t);

  for (int changes = 0; mesh_.Running(); ++changes) {
    if (changes % kReportEvery == 0) {
      progress.ShowMeshProgress("Finishing refinement", mesh_.NodeCount(), mesh_.EdgeCount(),
                                MeshDegrees(mesh_.CurrentMinAngle()));
      progress.ProcessEvents();
      if (!mesh_.Running()) break;
    }
    if (!encroached_.empty()) {
      const int s = encroached_.front();
      encroached_.pop_front();
      segmentQueued_[s] = 0;
      if (IsEncroached(s)) SplitSegment(s);
    } else if (!bad_.empty()) {
      const auto [t, version] = bad_.front();
      bad_.pop_front();
      if (version != version_[t]) continue;
      queuedAt_[t] = kNotQueued;
      RefineTriangle(t);
    } else {
      break;
    }
    Settle();
  }
  mesh_.SetRunning(false);
}

}  // namespace tavrin

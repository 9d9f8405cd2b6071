// Local mesh operations: insertion of a node into a triangle, edge split with concentric
// shells, max-min-angle edge flip, and bounded flip propagation; and the same three without a
// flip rule for the finishing stage. Both kinds cut and turn triangles through one core each
// (CutTriangle, CutBesideSplit, TurnDiagonal), which list the new triangles' edges in the
// order each caller has always used, so that the meshes stay what they were. Each touches a
// constant number of triangles (the propagation at most 60 edges), so their cost does not grow
// with the mesh, except for the edge lookups and the node and edge appends they make.
//
// Every step runs in a fixed order: which slot a triangle lands in, and so which triangle the
// next step meets first, decides the mesh that comes out.
#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <utility>

#include "mesh/FEM.h"
#include "model/Geometry.h"

namespace tavrin {

namespace {

const DofRecord kNoDof{};

// Below this angle (radians) between two segments the split point snaps to a power-of-two
// distance from their corner, so that both segments are cut at matching distances and no ever
// smaller triangles build up in the corner.
constexpr double kShellAngle = 0.78533;
// Innermost shell radius, 0.1, with room for the rounding of a length computed from nodes.
constexpr double kShortestShelled = 0.1 + 1e-9;
// Two one-pixel lines from one point more than 45 degrees apart share no pixel but that point;
// the cosine of a little more than 45 degrees.
constexpr double kRedrawCosine = 0.7;
// A split whose new node would lie nearer an end of the edge than this share of the
// coordinates' size (some 2^20 rounding units) makes no new shape: pieces that short come only
// from two segments at a corner of a few degrees encroaching on each other, split after split,
// and the triangles they leave have no area the geometry can tell. Such an edge is left whole,
// so the refinement sees that it cannot progress there.
constexpr double kShortestPieceShare = 0x1p-20;

bool PieceTooShort(MeshPoint p, MeshPoint end1, MeshPoint end2) {
  const double scale =
      std::max({1.0, std::fabs(end1.x), std::fabs(end1.y), std::fabs(end2.x), std::fabs(end2.y)});
  const double floor = kShortestPieceShare * scale;
  return Length(p, end1) < floor || Length(p, end2) < floor;
}

// The two sides of triangle t other than its side e, in the triangle's order.
std::pair<int, int> OtherSides(const TTris& triangles, int t, int e) {
  int first = -1;
  int second = -1;
  for (int k = 1; k <= 3; ++k) {
    const int g = triangles.Edge(t, k);
    if (g == e) continue;
    if (first == -1)
      first = g;
    else
      second = g;
  }
  return {first, second};
}

// The three sides of t1, then those of t2, as the triangles list them; -1 for a triangle -1.
void ReadSides(const TTris& triangles, int t1, int t2, int (&sides)[6]) {
  for (int k = 1; k <= 3; ++k) {
    sides[k - 1] = t1 == -1 ? -1 : triangles.Edge(t1, k);
    sides[k + 2] = t2 == -1 ? -1 : triangles.Edge(t2, k);
  }
}

bool Touches(const TEdges& edges, int e, int node) {
  return edges.Begin(e) == node || edges.End(e) == node;
}

}  // namespace

void FEM::CutTriangle(int t, int n, const int corner[3], const Piece pieces[3],
                      TriangleObserver* observer) {
  int spoke[3];
  for (int i = 0; i < 3; ++i) spoke[i] = AddMeshEdge(corner[i], n);
  DetachTriangle(t);
  ReshapeTriangle(t, pieces[0].side, spoke[pieces[0].first], spoke[pieces[0].second]);
  AttachTriangle(t);
  if (observer) observer->Reshaped(t);
  for (int k = 1; k <= 2; ++k) {
    const int made = MakeTriangle(pieces[k].side, spoke[pieces[k].first], spoke[pieces[k].second]);
    triangles_.CopyPhysics(t, made);
    if (observer) observer->Made(made);
  }
}

void FEM::InsertInTriangle(int t, MeshPoint p) {
  const int e1 = triangles_.Edge(t, 1);
  const int e2 = triangles_.Edge(t, 2);
  const int e3 = triangles_.Edge(t, 3);
  const int corner[3] = {edges_.Begin(e1), edges_.End(e1), TriangleNode(t, 2)};
  const int n = AddMeshNode(p.x, p.y, kNoDof);
  // The new triangles list their old side, then the new edges in the order of the corners.
  const bool e2AtB = !Touches(edges_, e2, corner[0]);
  const Piece pieces[3] = {{e1, 0, 1}, {e2, e2AtB ? 1 : 0, 2}, {e3, e2AtB ? 0 : 1, 2}};
  CutTriangle(t, n, corner, pieces, nullptr);
  Legalize(e1, e2, e3);
}

int FEM::InsertInTriangle(int t, MeshPoint p, const Corners& corners, TriangleObserver& observer) {
  const int n = AddMeshNode(p.x, p.y, kNoDof);
  // The new triangles list their old side, then the new edges around the triangle.
  const Piece pieces[3] = {
      {corners.side[2], 0, 1}, {corners.side[0], 1, 2}, {corners.side[1], 2, 0}};
  CutTriangle(t, n, corners.node, pieces, &observer);
  return n;
}

int FEM::EdgeOf(int t, int a, int b) const {
  for (int k = 1; k <= 3; ++k) {
    const int g = triangles_.Edge(t, k);
    if (Touches(edges_, g, a) && Touches(edges_, g, b)) return g;
  }
  return -1;
}

int FEM::StartSplit(int e, MeshPoint p) {
  const int b = edges_.Begin(e);
  const int f = edges_.End(e);
  DofRecord dof;
  edges_.GetDof(e, dof);
  const MeshPoint at = SplitPoint(e, p);
  const int n = AddMeshNode(at.x, at.y, kNoDof);
  const int h = AddMeshEdge(n, f, dof, edges_.Mark(e), edges_.Arc(e));
  SetEdgeEnds(e, b, n);
  return h;
}

void FEM::CutBesideSplit(int t, int e, int h, int n, int sideAtBegin, int sideAtEnd, CutOrder order,
                         TriangleObserver* observer) {
  const int spoke = AddMeshEdge(n, CommonNode(sideAtBegin, sideAtEnd));
  DetachTriangle(t);
  ReshapeTriangle(t, e, sideAtBegin, spoke);
  if (observer) observer->Reshaped(t);
  int made;
  if (order == CutOrder::SpokeFirst) {
    made = MakeTriangle(spoke, h, sideAtEnd);
    AttachTriangle(t);
  } else {
    AttachTriangle(t);
    made = MakeTriangle(h, sideAtEnd, spoke);
  }
  triangles_.CopyPhysics(t, made);
  if (observer) observer->Made(made);
}

int FEM::SplitEdgeAt(int e, MeshPoint p, TriangleObserver& observer) {
  const int b = edges_.Begin(e);
  const int f = edges_.End(e);
  struct Side {
    int t, atB, atF;
  } sides[2];
  int count = 0;
  for (int slot = 1; slot <= 2; ++slot) {
    const int t = edges_.Triangle(e, slot);
    if (t == -1) continue;
    const int apex = OppositeNode(t, e);
    sides[count++] = Side{t, EdgeOf(t, b, apex), EdgeOf(t, f, apex)};
  }
  const int h = StartSplit(e, p);
  const int n = NodeCount() - 1;
  for (int k = 0; k < count; ++k)
    CutBesideSplit(sides[k].t, e, h, n, sides[k].atB, sides[k].atF, CutOrder::SpokeLast, &observer);
  return h;
}

// A triangle beside e can be cut at a new node on e only when its two other edges meet at a
// node off e and run from that node to the two ends of e.
bool FEM::SplitArrangementValid(int e, int t) const {
  int other[2] = {-1, -1};
  int n = 0;
  for (int k = 1; k <= 3; ++k) {
    const int g = triangles_.Edge(t, k);
    if (g == e) continue;
    if (n == 2) return false;
    other[n++] = g;
  }
  if (n != 2) return false;
  const int apex = CommonNode(other[0], other[1]);
  const int b = edges_.Begin(e);
  const int f = edges_.End(e);
  if (apex == -1 || apex == b || apex == f) return false;
  const bool straight = Touches(edges_, other[0], b) && Touches(edges_, other[1], f);
  const bool crossed = Touches(edges_, other[0], f) && Touches(edges_, other[1], b);
  return straight || crossed;
}

// Inside the innermost shell of a corner sharper than the bound the two segments encroach on
// each other at every split, the splits land at lengths that match on neither segment, and no
// triangle there can meet the bound anyway: such a piece is left whole, and the finishing
// stage, which exempts these corners, takes over from where the loop then ends.
bool FEM::AtCornerSharperThanBound(int e, int t) const {
  for (int k = 1; k <= 3; ++k) {
    const int g = triangles_.Edge(t, k);
    if (g == e || edges_.Mark(g) == 0) continue;
    const int corner = CommonNode(e, g);
    if (corner == -1) continue;
    const int farOnE = edges_.Begin(e) == corner ? edges_.End(e) : edges_.Begin(e);
    const int farOnG = edges_.Begin(g) == corner ? edges_.End(g) : edges_.Begin(g);
    if (VertexAngle(Node(corner), Node(farOnE), Node(farOnG)) < targetAngle_) return true;
  }
  return false;
}

void FEM::SplitEdge(int e) {
  const int b = edges_.Begin(e);
  const int f = edges_.End(e);
  const int mark = edges_.Mark(e);
  int t1 = edges_.Triangle(e, 1);
  int t2 = edges_.Triangle(e, 2);
  if (t1 == -1 && t2 != -1) {
    t1 = t2;
    t2 = -1;
  }
  if (t1 == -1) return;
  // A consistent mesh always passes; an inconsistent triangle is left as it is.
  if (!SplitArrangementValid(e, t1) || (t2 != -1 && !SplitArrangementValid(e, t2))) {
    assert(!"SplitEdge: a triangle beside the edge is inconsistent");
    return;
  }

  if (mark != 0 && Length(b, f) <= kShortestShelled &&
      (AtCornerSharperThanBound(e, t1) || (t2 != -1 && AtCornerSharperThanBound(e, t2))))
    return;

  const MeshPoint pb = Node(b);
  const MeshPoint pf = Node(f);
  // 0.501 of the way, not the middle: a split point exactly on a circumcircle would keep
  // encroaching for ever.
  MeshPoint p{(pb.x + pf.x) / 2 + 0.001 * (pf.x - pb.x), (pb.y + pf.y) / 2 + 0.001 * (pf.y - pb.y)};

  auto [g1, g2] = OtherSides(triangles_, t1, e);

  if (mark != 0) {
    if (edges_.Mark(g2) != 0) std::swap(g1, g2);
    const int corner = CommonNode(e, g1);
    const int farOnE = corner == b ? f : b;
    const int farOnG1 = edges_.Begin(g1) == corner ? edges_.End(g1) : edges_.Begin(g1);
    const double length = Length(b, f);
    // A segment no longer than 0.1 has no shell inside it: it is split at the usual point.
    // The piece a shell split leaves at the corner is itself 0.1 long give or take rounding,
    // and splitting it at 0.1 again would put a new node on its far end, over and over.
    if (edges_.Mark(g1) != 0 && length > kShortestShelled &&
        VertexAngle(Node(corner), Node(farOnE), Node(farOnG1)) < kShellAngle) {
      double d = 0.1;
      while (length / 2 > 2 * d) d *= 2;
      const MeshPoint c = Node(corner);
      const MeshPoint o = Node(farOnE);
      p = MeshPoint{c.x + d * (o.x - c.x) / length, c.y + d * (o.y - c.y) / length};
    }
  }

  if (PieceTooShort(p, pb, pf)) return;

  const int h = StartSplit(e, p);
  const int n = NodeCount() - 1;
  // Until the split re-shapes them, the triangles beside e keep the measures of their old shape.
  for (const int t : {t1, t2}) {
    if (t == -1) continue;
    const auto i = static_cast<std::size_t>(t);
    if (i >= staleMeasures_.size())
      staleMeasures_.resize(std::max(i + 1, 2 * staleMeasures_.size()), 0);
    staleMeasures_[i] = 1;
  }

  // The side of t1 that shares a node with the new piece h ends at f.
  const bool g1AtEnd = CommonNode(h, g1) != -1;
  CutBesideSplit(t1, e, h, n, g1AtEnd ? g2 : g1, g1AtEnd ? g1 : g2, CutOrder::SpokeFirst, nullptr);

  Legalize(g1, g2, -1);

  if (t2 == -1) return;
  const auto [k1, k2] = OtherSides(triangles_, t2, e);
  const int apex2 = k2 == -1 ? -1 : CommonNode(k1, k2);
  const bool stillBesideE =
      triangles_.Edge(t2, 1) == e || triangles_.Edge(t2, 2) == e || triangles_.Edge(t2, 3) == e;
  if (!stillBesideE || apex2 == -1) {
    // The flips above re-shaped the far triangle; it no longer fits the split.
    assert(!"SplitEdge: far triangle changed by the flips");
    return;
  }
  if (CommonNode(h, k1) != -1)
    CutBesideSplit(t2, e, h, n, k2, k1, CutOrder::SpokeFirst, nullptr);
  else if (CommonNode(h, k2) != -1)
    CutBesideSplit(t2, e, h, n, k1, k2, CutOrder::SpokeFirst, nullptr);
}

int FEM::FlipEdge(int e) {
  const int t1 = edges_.Triangle(e, 1);
  const int t2 = edges_.Triangle(e, 2);
  int sides[6];
  ReadSides(triangles_, t1, t2, sides);
  return FlipEdge(e, t1, t2, sides);
}

int FEM::FlipEdge(int e, int t1, int t2, const int (&sides)[6]) {
  if (t1 == -1 || t2 == -1 || IsSegment(e)) return -1;
  const int a = edges_.Begin(e);
  const int b = edges_.End(e);
  const int c1 = ApexOf(edges_, sides, e, a, b);
  const int c2 = ApexOf(edges_, sides + 3, e, a, b);

  const MeshPoint pa = Node(a);
  const MeshPoint pb = Node(b);
  const MeshPoint q1 = Node(c1);
  const MeshPoint q2 = Node(c2);
  // Most flips tried are clearly no gain, and the rejection (which also happens when the
  // quadrilateral is not convex) is safe to take from the cheap test. It reads the nodes of t1
  // and t2, which their measures describe unless a split has moved an edge under them.
  if (!Stale(t1) && !Stale(t2) && FlipSurelyWorse(pa, pb, q1, q2)) return -1;
  // Not convex: the new diagonal would leave the quadrilateral.
  if (!SegmentsCross(pa.x, pa.y, pb.x, pb.y, q1.x, q1.y, q2.x, q2.y)) return -1;

  // Only a strict gain of the smallest angle flips, so a square never flips back and forth.
  // A first new triangle no better than the pair already decides against the flip. The flip
  // goes ahead when `before >= after` is false for the smaller of the new angles, with after
  // the first one where the second is not smaller, and for ever once the first is not a number.
  double before = MeasuredMinAngle(t1);
  const double before2 = MeasuredMinAngle(t2);
  if (before2 < before) before = before2;
  const std::optional<CornerFreeAngle> atA = MinAngleAbove(q1, q2, pa, before);
  if (!atA) return -1;
  const double floorB = std::isnan(atA->radians) ? atA->radians : before;
  const std::optional<CornerFreeAngle> atB = MinAngleAbove(q1, q2, pb, floorB);
  if (!atB) return -1;
  TurnDiagonal(e, c1, c2, &*atA, &*atB, nullptr);
  return e;
}

void FEM::FlipDiagonal(int e, TriangleObserver& observer) {
  const int c1 = OppositeNode(edges_.Triangle(e, 1), e);
  const int c2 = OppositeNode(edges_.Triangle(e, 2), e);
  TurnDiagonal(e, c1, c2, nullptr, nullptr, &observer);
}

void FEM::TurnDiagonal(int e, int c1, int c2, const CornerFreeAngle* atA,
                       const CornerFreeAngle* atB, TriangleObserver* observer) {
  const int t1 = edges_.Triangle(e, 1);
  const int t2 = edges_.Triangle(e, 2);
  const int a = edges_.Begin(e);
  const int b = edges_.End(e);
  const MeshPoint pa = Node(a);
  const MeshPoint pb = Node(b);
  int f1 = -1, g1 = -1, f2 = -1, g2 = -1;
  for (int k = 1; k <= 3; ++k) {
    const int x = triangles_.Edge(t1, k);
    if (x == e) continue;
    (f1 == -1 ? f1 : g1) = x;
  }
  for (int k = 1; k <= 3; ++k) {
    const int x = triangles_.Edge(t2, k);
    if (x == e) continue;
    (f2 == -1 ? f2 : g2) = x;
  }
  DetachTriangle(t1);
  DetachTriangle(t2);
  // The old diagonal is wiped from the animation, but for its end points; a side of the
  // quadrilateral less than 45 degrees off it shares more pixels with it near the end and is
  // drawn again. (A split needs no wiping: the two halves cover the old edge.)
  changes_.EdgeMoving(e, pa, pb);
  SetEdgeEnds(e, c2, c1);
  if (changes_.Recording()) {
    for (const int side : {f1, g1, f2, g2}) {
      const int corner = Touches(edges_, side, a) ? a : b;
      const MeshPoint p = Node(corner);
      const MeshPoint far = Node(corner == a ? b : a);
      const MeshPoint q =
          Node(edges_.Begin(side) == corner ? edges_.End(side) : edges_.Begin(side));
      if (ViewCosine(far, q, p) > kRedrawCosine) changes_.EdgeRedrawn(side, p, q);
    }
  }
  if (!Touches(edges_, f1, a)) std::swap(f1, g1);
  if (!Touches(edges_, f2, a)) std::swap(f2, g2);
  // t1 is now c1, c2, a and t2 is c1, c2, b: the triangles the caller may have measured.
  if (atA && atA->anyOrder)
    ReshapeTriangle(t1, e, f1, f2, atA->radians);
  else
    ReshapeTriangle(t1, e, f1, f2);
  if (observer) observer->Reshaped(t1);
  if (atB && atB->anyOrder)
    ReshapeTriangle(t2, e, g1, g2, atB->radians);
  else
    ReshapeTriangle(t2, e, g1, g2);
  if (observer) observer->Reshaped(t2);
  AttachTriangle(t1);
  AttachTriangle(t2);
}

namespace {

// The edges a Legalize call has listed, for the question "already listed?": a tiny hash set
// (at most 60 of 128 slots full) instead of a walk over the list for each candidate.
class ListedEdges {
 public:
  ListedEdges() { std::fill(std::begin(slots_), std::end(slots_), kEmpty); }
  // Adds x; false when it was there already.
  bool Insert(int x) {
    std::size_t i = (static_cast<std::uint32_t>(x) * 2654435761u) >> 25;
    for (; slots_[i] != kEmpty; i = (i + 1) & (kSlots - 1))
      if (slots_[i] == x) return false;
    slots_[i] = x;
    return true;
  }

 private:
  static constexpr std::size_t kSlots = 128;  // the hash above yields 7 bits
  static constexpr int kEmpty = -2;           // -1 is a value: no edge
  int slots_[kSlots];
};

}  // namespace

int FEM::Legalize(int e1, int e2, int e3) {
  // Bounded worklist: one insertion never propagates over more than 60 edges.
  constexpr int kLimit = 60;
  int list[kLimit];
  int count = 0;
  ListedEdges listed;
  for (int e : {e1, e2, e3}) {
    if (e == -1) continue;
    list[count++] = e;
    listed.Insert(e);
  }
  int result = -1;
  for (int i = 0; i < count; ++i) {
    const int e = list[i];
    // The sides of both triangles before the flip: those to look at next when it flips.
    const int t1 = edges_.Triangle(e, 1);
    const int t2 = edges_.Triangle(e, 2);
    int noted[6];
    ReadSides(triangles_, t1, t2, noted);
    if (FlipEdge(e, t1, t2, noted) == -1) continue;
    result = 1;
    for (int x : noted) {
      if (count == kLimit) break;
      if (listed.Insert(x)) list[count++] = x;
    }
  }
  return result;
}

}  // namespace tavrin

// FEM: construction, control, queries, topology helpers and the measures taken by index.
#include "mesh/FEM.h"

#include <cassert>
#include <cmath>
#include <cstring>

#include "mesh/SizeField.h"

namespace tavrin {

namespace {
const DofRecord kNoDof{};
}  // namespace

FEM::FEM() : FEM(MeshParameters{}) {}

FEM::FEM(const MeshParameters& parameters)
    : maxArea_(parameters.maxArea),
      sizeField_(parameters.sizeField),
      targetAngle_(3.141592 * parameters.minAngle * (1.0 / 180)),
      minAngleDegrees_(parameters.minAngle),
      maxNodes_(parameters.maxNodes),
      animate_(parameters.animate) {}

FEM::~FEM() = default;

// ---- Queries ----------------------------------------------------------------------------

int FEM::NodePolygon(int i) const { return nodes_.Polygon(i); }
int FEM::EdgeTriangleCount(int e) const { return edges_.TriangleCount(e); }

int FEM::TriangleNode(int t, int k) const {
  if (t < 0 || t >= TriangleCount()) return -1;
  const int e1 = triangles_.Edge(t, 1);
  const int n0 = edges_.Begin(e1);
  const int n1 = edges_.End(e1);
  if (k == 0) return n0;
  if (k == 1) return n1;
  if (k != 2) return -1;
  const int e2 = triangles_.Edge(t, 2);
  const int b2 = edges_.Begin(e2);
  return (b2 == n0 || b2 == n1) ? edges_.End(e2) : b2;
}

int FEM::GetNodeDof(int i, DofRecord& dof) const { return nodes_.GetDof(i, dof); }
int FEM::GetEdgeDof(int e, DofRecord& dof) const { return edges_.GetDof(e, dof); }
int FEM::GetPhysics(int t, ElementPhysics& physics) const {
  return triangles_.GetPhysics(t, physics);
}
double FEM::StoredMinAngle(int t) const { return triangles_.MinAngle(t); }
double FEM::StoredArea(int t) const { return triangles_.Area(t); }

MeshParameters FEM::Parameters() const {
  MeshParameters p;
  p.minAngle = static_cast<float>(minAngleDegrees_);
  p.maxArea = static_cast<float>(maxArea_);
  p.animate = animate_;
  p.maxNodes = maxNodes_;
  p.sizeField = sizeField_;
  return p;
}

double FEM::AreaBound(int t) const {
  if (!sizeField_) return maxArea_;
  MeshPoint c{0, 0};
  for (int k = 0; k < 3; ++k) {
    const MeshPoint p = Node(TriangleNode(t, k));
    c.x += p.x / 3;
    c.y += p.y / 3;
  }
  const double field = sizeField_->AreaAt(c);
  return maxArea_ > 0 ? std::fmin(maxArea_, field) : field;
}

bool FEM::AboveAreaBound(int t) const {
  if (!sizeField_) return maxArea_ > 0 && StoredArea(t) >= maxArea_;
  return StoredArea(t) >= AreaBound(t);
}

bool FEM::TooLarge(int t) const { return !(MeasuredArea(t) < maxArea_); }

int FEM::NearestNode(double x, double y) const {
  // The squared distance is compared with the radius itself, and the quick rejection box is
  // 4 sqrt(r) wide: both as the picking has always worked, so the node under the mouse is the
  // same one users are used to.
  const double r = std::sqrt(maxArea_ + 0.0001);
  const double box = 4 * std::sqrt(r);
  int best = -1;
  double bestDistance = r;
  for (int i = 0; i < NodeCount(); ++i) {
    const double dx = nodes_.X(i) - x;
    const double dy = nodes_.Y(i) - y;
    if (std::fabs(dx) >= box || std::fabs(dy) >= box) continue;
    const double d = dx * dx + dy * dy;
    if (d < bestDistance) {
      bestDistance = d;
      best = i;
    }
  }
  return best;
}

// ---- Building ---------------------------------------------------------------------------

int FEM::AddMeshNode(double x, double y, const DofRecord& dof) {
  recentEdges_.clear();
  const int n = nodes_.AddNode(x, y, dof);
  // Every refinement step that adds a node comes through here, so the limit holds to the node.
  if (running_ && NodeCount() >= maxNodes_) StopAtNodeLimit();
  return n;
}

int FEM::AddMeshNode(double x, double y) { return AddMeshNode(x, y, kNoDof); }

void FEM::SetNodePolygon(int i, int polygon) { nodes_.SetPolygon(i, polygon); }

int FEM::AddMeshEdge(int a, int b, const DofRecord& dof, int mark, int arc) {
  const int found = FindEdge(a, b);
  if (found != -1) return found;
  const int e = edges_.AddEdge(a, b, dof, static_cast<std::uint8_t>(mark), arc);
  recentEdges_.push_back(e);
  if (changes_.Recording()) changes_.EdgePlaced(e, Node(a), Node(b));
  return e;
}

void FEM::SetEdgeEnds(int e, int begin, int end) {
  edges_.SetEnds(e, begin, end);
  if (changes_.Recording()) changes_.EdgePlaced(e, Node(begin), Node(end));
  if (IsSegment(e)) index_.EdgeMayHaveMoved(e);  // the index places segments alone
  recentEdges_.push_back(e);
}

int FEM::AddMeshEdge(int a, int b) { return AddMeshEdge(a, b, kNoDof, 0); }

int FEM::MakeTriangle(int e1, int e2, int e3) {
  const int t = triangles_.AddTriangle(e1, e2, e3, MinAngle(e1, e2), TriangleArea(e1, e2));
  NoteTriangle(t);
  AttachTriangle(t);
  return t;
}

int FEM::AddTriangleByNodes(int a, int b, int c, const ElementPhysics& physics) {
  const int eab = AddMeshEdge(a, b);
  const int ebc = AddMeshEdge(b, c);
  const int eca = AddMeshEdge(c, a);
  const int t = MakeTriangle(eab, ebc, eca);
  triangles_.SetPhysics(t, physics);
  return t;
}

int FEM::SetTrianglePhysics(int t, const ElementPhysics& physics) {
  return triangles_.SetPhysics(t, physics);
}

void FEM::ReshapeTriangle(int t, int e1, int e2, int e3) {
  ReshapeTriangle(t, e1, e2, e3, MinAngle(e1, e2));
}

void FEM::ReshapeTriangle(int t, int e1, int e2, int e3, double minAngle) {
#ifndef NDEBUG
  const double measured = MinAngle(e1, e2);
  assert(std::memcmp(&minAngle, &measured, sizeof minAngle) == 0);
#endif
  triangles_.SetTriangle(t, e1, e2, e3, minAngle, TriangleArea(e1, e2));
  NoteTriangle(t);
}

// ---- Topology ---------------------------------------------------------------------------

int FEM::CommonNode(int e, int f) const {
  const int eb = edges_.Begin(e);
  const int ee = edges_.End(e);
  const int fb = edges_.Begin(f);
  if (fb == eb || fb == ee) return fb;
  const int fe = edges_.End(f);
  if (fe == eb || fe == ee) return fe;
  return -1;
}

int FEM::OppositeNode(int t, int e) const {
  const int sides[3] = {triangles_.Edge(t, 1), triangles_.Edge(t, 2), triangles_.Edge(t, 3)};
  return ApexOf(edges_, sides, e, edges_.Begin(e), edges_.End(e));
}

int FEM::ApexOf(const TEdges& edges, const int sides[3], int e, int a, int b) {
  for (int k = 0; k < 3; ++k) {
    const int g = sides[k];
    if (g == e) continue;
    const int gb = edges.Begin(g);
    if (gb != a && gb != b) return gb;
    const int ge = edges.End(g);
    if (ge != a && ge != b) return ge;
    return -1;
  }
  return -1;
}

int FEM::ApexAcross(int e, int slot) const {
  const int u = edges_.Triangle(e, slot);
  if (u == -1) return -1;
  int other[2] = {-1, -1};
  int n = 0;
  for (int k = 1; k <= 3 && n < 2; ++k) {
    const int g = triangles_.Edge(u, k);
    if (g != e) other[n++] = g;
  }
  if (n < 2) return -1;
  return CommonNode(other[0], other[1]);
}

// A segment's encroachment can change only where a triangle beside it comes or goes.
void FEM::AttachTriangle(int t) {
  for (int k = 1; k <= 3; ++k) {
    const int e = triangles_.Edge(t, k);
    edges_.Attach(e, t);
    if (IsSegment(e)) encroachable_.Mark(e);
  }
}

void FEM::DetachTriangle(int t) {
  for (int k = 1; k <= 3; ++k) {
    const int e = triangles_.Edge(t, k);
    edges_.Detach(e, t);
    if (IsSegment(e)) encroachable_.Mark(e);
  }
}

// ---- Measures by index ------------------------------------------------------------------

double FEM::Length(int a, int b) const { return tavrin::Length(Node(a), Node(b)); }

double FEM::MinAngle(int t) const {
  return tavrin::MinAngle(Node(TriangleNode(t, 0)), Node(TriangleNode(t, 1)),
                          Node(TriangleNode(t, 2)));
}

namespace {
// The end of f that is not on e.
int FarEnd(const TEdges& edges, int e, int f) {
  const int fb = edges.Begin(f);
  return (fb == edges.Begin(e) || fb == edges.End(e)) ? edges.End(f) : fb;
}
}  // namespace

double FEM::MinAngle(int e, int f) const {
  return tavrin::MinAngle(Node(edges_.Begin(e)), Node(edges_.End(e)), Node(FarEnd(edges_, e, f)));
}

double FEM::TriangleArea(int t) const {
  return tavrin::TriangleArea(Node(TriangleNode(t, 0)), Node(TriangleNode(t, 1)),
                              Node(TriangleNode(t, 2)));
}

double FEM::TriangleArea(int e, int f) const {
  return tavrin::TriangleArea(Node(edges_.Begin(e)), Node(FarEnd(edges_, e, f)),
                              Node(edges_.End(e)));
}

bool FEM::InTriangle(int t, MeshPoint p) const {
  const int e1 = triangles_.Edge(t, 1);
  const MeshPoint a = Node(edges_.End(e1));
  const MeshPoint b = Node(edges_.Begin(e1));
  const MeshPoint c = Node(TriangleNode(t, 2));
  const bool ab = SideOf(a, b, p);
  return ab == SideOf(b, c, p) && ab == SideOf(c, a, p);
}

}  // namespace tavrin

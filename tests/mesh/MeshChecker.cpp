#include "MeshChecker.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <utility>

#include "mesh/FEM.h"
#include "model/ArcGeometry.h"
#include "model/TObjCont.h"

namespace tavrin {

namespace {

std::string At(const char* what, int index) {
  return std::string(what) + " " + std::to_string(index) + ": ";
}

std::pair<int, int> Pair(int a, int b) { return {std::min(a, b), std::max(a, b)}; }

// Polygon p of the job as its chain of begin points, in list order.
std::vector<MeshPoint> PolygonPoints(const TObjCont& job, int p) {
  std::vector<MeshPoint> points;
  for (int k = 0; k < job.PolygonEdgeCount(p); ++k) {
    const int b = job.EdgeBegin(job.PolygonEdge(p, k));
    points.push_back({job.NodeX(b), job.NodeY(b)});
  }
  return points;
}

// The same with the mesh's nodes on each arc edge between its ends, in order along the arc:
// the polygon the mesh of a plate with arc edges covers.
std::vector<MeshPoint> PolygonPoints(const TObjCont& job, int p, const FEM& mesh) {
  std::vector<MeshPoint> points;
  for (int k = 0; k < job.PolygonEdgeCount(p); ++k) {
    const int j = job.PolygonEdge(p, k);
    int at = job.EdgeBegin(j);
    points.push_back(mesh.Node(at));
    if (!job.IsArcEdge(j)) continue;
    // Pieces run from the edge's begin to its end, each split keeping the direction.
    for (bool found = true; found && at != job.EdgeEnd(j);) {
      found = false;
      for (int s = 0; s < mesh.EdgeCount() && !found; ++s) {
        if (mesh.ArcJobEdge(s) != j || mesh.EdgeBegin(s) != at) continue;
        at = mesh.EdgeEnd(s);
        if (at != job.EdgeEnd(j)) points.push_back(mesh.Node(at));
        found = true;
      }
    }
  }
  return points;
}

double PolygonArea(const std::vector<MeshPoint>& pts) {
  double twice = 0.0;
  for (size_t i = 0; i < pts.size(); ++i)
    twice += pts[i].x * pts[(i + 1) % pts.size()].y - pts[(i + 1) % pts.size()].x * pts[i].y;
  return std::fabs(twice) / 2;
}

bool Inside(const std::vector<MeshPoint>& pts, MeshPoint q) {
  bool in = false;
  for (size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
    const MeshPoint a = pts[i], b = pts[j];
    if ((a.y > q.y) != (b.y > q.y) && q.x < (b.x - a.x) * (q.y - a.y) / (b.y - a.y) + a.x) in = !in;
  }
  return in;
}

MeshPoint Centroid(const FEM& mesh, int t) {
  MeshPoint c{0, 0};
  for (int k = 0; k < 3; ++k) {
    c.x += mesh.NodeX(mesh.TriangleNode(t, k)) / 3;
    c.y += mesh.NodeY(mesh.TriangleNode(t, k)) / 3;
  }
  return c;
}

}  // namespace

bool InsideJobPolygon(const TObjCont& job, int p, MeshPoint q) {
  return Inside(PolygonPoints(job, p), q);
}

MeshPoint TriangleCentroid(const FEM& mesh, int t) { return Centroid(mesh, t); }

double TrueMinAngle(const FEM& mesh) {
  double m = 10.0;
  for (int t = 0; t < mesh.TriangleCount(); ++t) m = std::min(m, mesh.MinAngle(t));
  return m;
}

std::string FirstTableDifference(const FEM& a, const FEM& b) {
  if (a.NodeCount() != b.NodeCount() || a.EdgeCount() != b.EdgeCount() ||
      a.TriangleCount() != b.TriangleCount())
    return "table sizes";
  for (int i = 0; i < a.NodeCount(); ++i)
    if (a.NodeX(i) != b.NodeX(i) || a.NodeY(i) != b.NodeY(i)) return "node " + std::to_string(i);
  for (int e = 0; e < a.EdgeCount(); ++e)
    if (a.EdgeBegin(e) != b.EdgeBegin(e) || a.EdgeEnd(e) != b.EdgeEnd(e) ||
        a.IsSegment(e) != b.IsSegment(e) || a.EdgeTriangle(e, 1) != b.EdgeTriangle(e, 1) ||
        a.EdgeTriangle(e, 2) != b.EdgeTriangle(e, 2))
      return "edge " + std::to_string(e);
  for (int t = 0; t < a.TriangleCount(); ++t)
    for (int k = 1; k <= 3; ++k)
      if (a.TriangleEdge(t, k) != b.TriangleEdge(t, k)) return "triangle " + std::to_string(t);
  return "";
}

std::vector<std::string> CheckTopology(const FEM& mesh) {
  std::vector<std::string> problems;
  const int nodes = mesh.NodeCount(), edges = mesh.EdgeCount(), tris = mesh.TriangleCount();
  std::set<std::pair<int, int>> pairs;
  for (int e = 0; e < edges; ++e) {
    const int a = mesh.EdgeBegin(e), b = mesh.EdgeEnd(e);
    if (a < 0 || b < 0 || a >= nodes || b >= nodes || a == b) {
      problems.push_back(At("edge", e) + "bad ends");
      continue;
    }
    if (!pairs.insert(Pair(a, b)).second)
      problems.push_back(At("edge", e) + "duplicates another edge");
    const int u1 = mesh.EdgeTriangle(e, 1), u2 = mesh.EdgeTriangle(e, 2);
    if (u1 != -1 && u1 == u2) problems.push_back(At("edge", e) + "same triangle in both slots");
    for (int u : {u1, u2}) {
      if (u == -1) continue;
      bool has = u < tris;
      if (has)
        has = mesh.TriangleEdge(u, 1) == e || mesh.TriangleEdge(u, 2) == e ||
              mesh.TriangleEdge(u, 3) == e;
      if (!has)
        problems.push_back(At("edge", e) + "slot holds " + std::to_string(u) +
                           ", which lacks the edge");
    }
  }
  for (int t = 0; t < tris; ++t) {
    const int te[3] = {mesh.TriangleEdge(t, 1), mesh.TriangleEdge(t, 2), mesh.TriangleEdge(t, 3)};
    if (te[0] == te[1] || te[1] == te[2] || te[0] == te[2] || *std::min_element(te, te + 3) < 0 ||
        *std::max_element(te, te + 3) >= edges) {
      problems.push_back(At("triangle", t) + "bad edges");
      continue;
    }
    const int n0 = mesh.TriangleNode(t, 0), n1 = mesh.TriangleNode(t, 1),
              n2 = mesh.TriangleNode(t, 2);
    std::set<std::pair<int, int>> sides{Pair(n0, n1), Pair(n1, n2), Pair(n0, n2)};
    for (int e : te) {
      if (!sides.erase(Pair(mesh.EdgeBegin(e), mesh.EdgeEnd(e))))
        problems.push_back(At("triangle", t) + "edge " + std::to_string(e) +
                           " not between its nodes");
      if (mesh.EdgeTriangle(e, 1) != t && mesh.EdgeTriangle(e, 2) != t)
        problems.push_back(At("triangle", t) + "not attached to edge " + std::to_string(e));
    }
    if (!(mesh.TriangleArea(t) > 0)) problems.push_back(At("triangle", t) + "no area");
    if (mesh.StoredMinAngle(t) != mesh.MinAngle(t) || mesh.StoredArea(t) != mesh.TriangleArea(t))
      problems.push_back(At("triangle", t) + "stored measures are stale");
  }
  return problems;
}

std::vector<std::string> CheckMesh(const FEM& mesh, const TObjCont& job, MeshCheckOptions options) {
  std::vector<std::string> problems = CheckTopology(mesh);

  // Every job edge is covered exactly by the segments lying on it, and there are no others.
  double jobLength = 0.0, segmentLength = 0.0;
  // Lengths along the arcs for the pieces of arc edges.
  for (int s = 0; s < mesh.EdgeCount(); ++s)
    if (mesh.IsSegment(s))
      segmentLength += mesh.ArcLengthRatio(s) * mesh.Length(mesh.EdgeBegin(s), mesh.EdgeEnd(s));
  for (int j = 0; j < job.EdgeCount(); ++j) {
    const MeshPoint a{job.NodeX(job.EdgeBegin(j)), job.NodeY(job.EdgeBegin(j))};
    const MeshPoint b{job.NodeX(job.EdgeEnd(j)), job.NodeY(job.EdgeEnd(j))};
    if (job.IsArcEdge(j)) {
      // Every piece's ends on the circle, and the pieces spanning the whole arc.
      const double length = ArcLength(Length(a, b), job.EdgeBulge(j));
      const Arc arc = ArcThrough(a.x, a.y, b.x, b.y, job.EdgeBulge(j));
      jobLength += length;
      double covered = 0.0;
      for (int s = 0; s < mesh.EdgeCount(); ++s) {
        if (mesh.ArcJobEdge(s) != j) continue;
        covered += mesh.ArcLengthRatio(s) * mesh.Length(mesh.EdgeBegin(s), mesh.EdgeEnd(s));
        for (int n : {mesh.EdgeBegin(s), mesh.EdgeEnd(s)})
          if (std::fabs(std::hypot(mesh.NodeX(n) - arc.cx, mesh.NodeY(n) - arc.cy) / arc.radius -
                        1) > 1e-12)
            problems.push_back(At("node", n) + "off the arc of job edge " + std::to_string(j));
      }
      if (std::fabs(covered - length) > 1e-9 * length)
        problems.push_back(At("job edge", j) + "covered by arc pieces of length " +
                           std::to_string(covered));
      continue;
    }
    const double length = Length(a, b), square = length * length;
    jobLength += length;
    auto onEdge = [&](MeshPoint q) {
      const double cross = (b.x - a.x) * (q.y - a.y) - (b.y - a.y) * (q.x - a.x);
      const double along = (q.x - a.x) * (b.x - a.x) + (q.y - a.y) * (b.y - a.y);
      // Within about 10^-11 of the edge's length: at a corner of a few degrees the pieces of
      // the other edge lie only some 10^-8 of it off this one.
      return std::fabs(cross) <= 1e-11 * square && along >= -1e-9 * square &&
             along <= square * (1 + 1e-9);
    };
    double covered = 0.0;
    for (int s = 0; s < mesh.EdgeCount(); ++s) {
      const MeshPoint p = mesh.Node(mesh.EdgeBegin(s)), q = mesh.Node(mesh.EdgeEnd(s));
      if (mesh.IsSegment(s) && onEdge(p) && onEdge(q)) covered += Length(p, q);
    }
    if (std::fabs(covered - length) > 1e-9 * length)
      problems.push_back(At("job edge", j) + "covered by segments of length " +
                         std::to_string(covered));
  }
  if (std::fabs(segmentLength - jobLength) > 1e-9 * jobLength)
    problems.push_back("segments off the job's edges");

  if (options.checkCoverage && job.PolygonCount() > 0) {
    // Inside the outline, outside every hole, and together exactly the plate: nothing overlaps.
    const std::vector<MeshPoint> outline = PolygonPoints(job, 0, mesh);
    double expected = PolygonArea(outline);
    std::vector<std::vector<MeshPoint>> holes;
    for (int p = 1; p < job.PolygonCount(); ++p) {
      if (!job.IsHole(p)) continue;
      holes.push_back(PolygonPoints(job, p, mesh));
      expected -= PolygonArea(holes.back());
    }
    double area = 0.0;
    for (int t = 0; t < mesh.TriangleCount(); ++t) {
      area += mesh.TriangleArea(t);
      const MeshPoint c = Centroid(mesh, t);
      if (!Inside(outline, c)) problems.push_back(At("triangle", t) + "outside the outline");
      for (const auto& hole : holes)
        if (Inside(hole, c)) problems.push_back(At("triangle", t) + "inside a hole");
    }
    if (std::fabs(area - expected) > 1e-9 * expected)
      problems.push_back("triangle areas add up to " + std::to_string(area) + ", not " +
                         std::to_string(expected));
  }

  if (options.checkPublished && mesh.TriangleCount() > 0) {
    const double trueMin = TrueMinAngle(mesh);
    const MeshStatistics& published = mesh.Statistics();
    if (mesh.CurrentMinAngle() != trueMin)
      problems.push_back("current smallest angle is not the mesh's");
    if (published.nodeCount != mesh.NodeCount() || published.elementCount != mesh.TriangleCount())
      problems.push_back("published counts differ from the mesh");
    if (std::fabs(published.minAngle - MeshDegrees(trueMin)) > 1e-4)  // a float of degrees
      problems.push_back("published smallest angle " + std::to_string(published.minAngle) +
                         " is not the mesh's " + std::to_string(MeshDegrees(trueMin)));
    const std::vector<std::string> corners = CheckInputCorners(mesh, job);
    problems.insert(problems.end(), corners.begin(), corners.end());
  }
  return problems;
}

std::vector<std::string> CheckInputCorners(const FEM& mesh, const TObjCont& job) {
  std::vector<std::string> problems;
  const double bound = mesh.Statistics().minAngleAsked;
  const bool stopped = mesh.Stop() != MeshStop::None;
  const bool usable = mesh.IsUsable();
  const SharpJobCorners corners(mesh, job, bound);
  double freeMin = kMeshPi;
  int exempt = 0;
  for (int t = 0; t < mesh.TriangleCount(); ++t) {
    const double angle = MeshDegrees(mesh.MinAngle(t));
    const MeshPoint c = Centroid(mesh, t);
    const std::string where =
        At("triangle", t) + "at (" + std::to_string(c.x) + ", " + std::to_string(c.y) + ") ";
    const bool atCorner = corners.Holds(t);
    if (MeshDegrees(mesh.CornerAngle(t)) < bound) {
      ++exempt;
      if (!atCorner)
        problems.push_back(where + "exempt but neither touching an input corner sharper than " +
                           std::to_string(bound) + " nor inside its innermost shell");
      if (stopped && usable && angle < bound)
        problems.push_back(where + "below the angle in a stopped usable mesh");
      continue;
    }
    if (atCorner) problems.push_back(where + "at a sharp corner, but not exempt");
    freeMin = std::min(freeMin, mesh.MinAngle(t));
    if (usable && angle < bound)
      problems.push_back(where +
                         "below the minimal angle in a usable mesh: " + std::to_string(angle));
  }
  const MeshStatistics& published = mesh.Statistics();
  if (std::fabs(published.minAngleFree - MeshDegrees(freeMin)) > 1e-4)
    problems.push_back("published smallest free angle " + std::to_string(published.minAngleFree) +
                       " is not the mesh's " + std::to_string(MeshDegrees(freeMin)));
  if (published.inputCornerTriangles != exempt)
    problems.push_back("published " + std::to_string(published.inputCornerTriangles) +
                       " input-corner triangles, not " + std::to_string(exempt));
  if (published.usable != usable) problems.push_back("published usable differs from IsUsable");
  return problems;
}

SharpJobCorners::SharpJobCorners(const FEM& mesh, const TObjCont& job, double boundDegrees)
    : mesh_(mesh) {
  auto point = [&](int n) { return MeshPoint{job.NodeX(n), job.NodeY(n)}; };
  // The squared distance from an end of job edge i to the nearest other mesh node on it.
  auto nearest = [&](int i, int end) {
    const MeshPoint a = point(end);
    const MeshPoint b = point(job.EdgeBegin(i) == end ? job.EdgeEnd(i) : job.EdgeBegin(i));
    const double square = (b.x - a.x) * (b.x - a.x) + (b.y - a.y) * (b.y - a.y);
    double best = square;
    for (int v = 0; v < mesh.NodeCount(); ++v) {
      const MeshPoint q = mesh.Node(v);
      const double cross = (b.x - a.x) * (q.y - a.y) - (b.y - a.y) * (q.x - a.x);
      const double along = (q.x - a.x) * (b.x - a.x) + (q.y - a.y) * (b.y - a.y);
      if (std::fabs(cross) > 1e-9 * square || along <= 0 || along > square) continue;
      best = std::min(best, (q.x - a.x) * (q.x - a.x) + (q.y - a.y) * (q.y - a.y));
    }
    return best;
  };
  for (int i = 0; i < job.EdgeCount(); ++i) {
    for (int j = i + 1; j < job.EdgeCount(); ++j) {
      for (int c : {job.EdgeBegin(i), job.EdgeEnd(i)}) {
        if (c != job.EdgeBegin(j) && c != job.EdgeEnd(j)) continue;
        const int ai = job.EdgeBegin(i) == c ? job.EdgeEnd(i) : job.EdgeBegin(i);
        const int aj = job.EdgeBegin(j) == c ? job.EdgeEnd(j) : job.EdgeBegin(j);
        if (ai == aj) continue;  // the same edge twice (an insert's side on the outline)
        const MeshPoint corner = point(c);
        const MeshPoint u{point(ai).x - corner.x, point(ai).y - corner.y};
        const MeshPoint w{point(aj).x - corner.x, point(aj).y - corner.y};
        const double between =
            std::acos((u.x * w.x + u.y * w.y) / std::hypot(u.x, u.y) / std::hypot(w.x, w.y)) * 180 /
            M_PI;
        if (!(between < boundDegrees)) continue;
        wedges_.push_back({corner, u, w, std::min(nearest(i, c), nearest(j, c)), false});
      }
    }
  }
  for (Wedge& wedge : wedges_) {
    for (int t = 0; t < mesh.TriangleCount() && !wedge.meshed; ++t) {
      bool touches = false;
      for (int k = 0; k < 3; ++k) {
        const MeshPoint q = mesh.Node(mesh.TriangleNode(t, k));
        touches = touches || (q.x == wedge.corner.x && q.y == wedge.corner.y);
      }
      wedge.meshed = touches && wedge.Holds(Centroid(mesh, t));
    }
  }
}

bool SharpJobCorners::Wedge::Holds(MeshPoint g) const {
  const MeshPoint h{g.x - corner.x, g.y - corner.y};
  const double turn = u.x * w.y - u.y * w.x;
  const double first = u.x * h.y - u.y * h.x, second = h.x * w.y - h.y * w.x;
  return first * turn > 0 && second * turn > 0;
}

bool SharpJobCorners::Holds(int t) const {
  MeshPoint p[3];
  for (int k = 0; k < 3; ++k) p[k] = mesh_.Node(mesh_.TriangleNode(t, k));
  const MeshPoint g{(p[0].x + p[1].x + p[2].x) / 3, (p[0].y + p[1].y + p[2].y) / 3};
  for (const Wedge& wedge : wedges_) {
    bool touches = false;
    for (const MeshPoint q : p)
      touches = touches || (q.x == wedge.corner.x && q.y == wedge.corner.y);
    // Around the corner on any side when the wedge is plate; otherwise inside it.
    if (touches && wedge.meshed) return true;
    if (!wedge.Holds(g)) continue;
    if (touches) return true;
    bool inside = true;
    for (const MeshPoint q : p) {
      const double dx = q.x - wedge.corner.x, dy = q.y - wedge.corner.y;
      inside = inside && dx * dx + dy * dy <= 1.002 * wedge.shell;
    }
    if (inside) return true;
  }
  return false;
}

bool AtSharpJobCorner(const FEM& mesh, const TObjCont& job, int t, double boundDegrees) {
  return SharpJobCorners(mesh, job, boundDegrees).Holds(t);
}

}  // namespace tavrin

#include "MeshChecker.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <set>
#include <utility>

#include "mesh/FEM.h"
#include "model/TObjCont.h"

namespace tavrin {

namespace {

std::string At(const char* what, int index) { return std::string(what) + " " + std::to_string(index) + ": "; }

// Closed chain of polygon p as points, in list order (begin of each edge).
std::vector<MeshPoint> PolygonPoints(const TObjCont& job, int p) {
  std::vector<MeshPoint> points;
  for (int k = 0; k < job.PolygonEdgeCount(p); ++k) {
    const int e = job.PolygonEdge(p, k);
    const int b = job.EdgeBegin(e);
    points.push_back({job.NodeX(b), job.NodeY(b)});
  }
  return points;
}

double PolygonArea(const std::vector<MeshPoint>& pts) {
  double twice = 0.0;
  for (size_t i = 0; i < pts.size(); ++i) {
    const MeshPoint a = pts[i];
    const MeshPoint b = pts[(i + 1) % pts.size()];
    twice += a.x * b.y - b.x * a.y;
  }
  return std::fabs(twice) / 2;
}

bool Inside(const std::vector<MeshPoint>& pts, MeshPoint q) {
  bool in = false;
  for (size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
    const MeshPoint a = pts[i];
    const MeshPoint b = pts[j];
    if ((a.y > q.y) != (b.y > q.y) && q.x < (b.x - a.x) * (q.y - a.y) / (b.y - a.y) + a.x) in = !in;
  }
  return in;
}

}  // namespace

double TrueMinAngle(const FEM& mesh) {
  double m = 10.0;
  for (int t = 0; t < mesh.TriangleCount(); ++t) m = std::min(m, mesh.MinAngle(t));
  return m;
}

std::vector<std::string> CheckTopology(const FEM& mesh) {
  std::vector<std::string> problems;
  const int nodes = mesh.NodeCount();
  const int edges = mesh.EdgeCount();
  const int tris = mesh.TriangleCount();
  std::set<std::pair<int, int>> pairs;
  for (int e = 0; e < edges; ++e) {
    const int a = mesh.EdgeBegin(e);
    const int b = mesh.EdgeEnd(e);
    if (a < 0 || b < 0 || a >= nodes || b >= nodes || a == b) {
      problems.push_back(At("edge", e) + "bad ends");
      continue;
    }
    if (!pairs.insert({std::min(a, b), std::max(a, b)}).second)
      problems.push_back(At("edge", e) + "duplicates another edge");
    const int u1 = mesh.EdgeTriangle(e, 1);
    const int u2 = mesh.EdgeTriangle(e, 2);
    if (u1 != -1 && u1 == u2) problems.push_back(At("edge", e) + "same triangle in both slots");
    for (int u : {u1, u2}) {
      if (u == -1) continue;
      if (u < 0 || u >= tris) {
        problems.push_back(At("edge", e) + "slot holds no triangle");
        continue;
      }
      bool has = false;
      for (int k = 1; k <= 3; ++k) has = has || mesh.TriangleEdge(u, k) == e;
      if (!has) problems.push_back(At("edge", e) + "triangle " + std::to_string(u) + " in a slot lacks the edge");
    }
  }
  for (int t = 0; t < tris; ++t) {
    int te[3];
    for (int k = 1; k <= 3; ++k) te[k - 1] = mesh.TriangleEdge(t, k);
    if (te[0] == te[1] || te[1] == te[2] || te[0] == te[2] || *std::min_element(te, te + 3) < 0 ||
        *std::max_element(te, te + 3) >= edges) {
      problems.push_back(At("triangle", t) + "bad edges");
      continue;
    }
    const int n0 = mesh.TriangleNode(t, 0), n1 = mesh.TriangleNode(t, 1), n2 = mesh.TriangleNode(t, 2);
    if (n0 == n1 || n1 == n2 || n0 == n2) {
      problems.push_back(At("triangle", t) + "repeated node");
      continue;
    }
    std::set<std::pair<int, int>> want{{std::min(n0, n1), std::max(n0, n1)},
                                       {std::min(n1, n2), std::max(n1, n2)},
                                       {std::min(n0, n2), std::max(n0, n2)}};
    for (int e : te) {
      const int a = mesh.EdgeBegin(e), b = mesh.EdgeEnd(e);
      if (!want.erase({std::min(a, b), std::max(a, b)}))
        problems.push_back(At("triangle", t) + "edge " + std::to_string(e) + " not between its nodes");
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
  double jobLength = 0.0;
  double segmentLength = 0.0;
  for (int s = 0; s < mesh.EdgeCount(); ++s)
    if (mesh.IsSegment(s)) segmentLength += mesh.Length(mesh.EdgeBegin(s), mesh.EdgeEnd(s));
  for (int j = 0; j < job.EdgeCount(); ++j) {
    const MeshPoint a{job.NodeX(job.EdgeBegin(j)), job.NodeY(job.EdgeBegin(j))};
    const MeshPoint b{job.NodeX(job.EdgeEnd(j)), job.NodeY(job.EdgeEnd(j))};
    const double length = Length(a, b);
    jobLength += length;
    auto onEdge = [&](MeshPoint q) {
      const double cross = (b.x - a.x) * (q.y - a.y) - (b.y - a.y) * (q.x - a.x);
      const double along = (q.x - a.x) * (b.x - a.x) + (q.y - a.y) * (b.y - a.y);
      return std::fabs(cross) <= 1e-9 * length * length && along >= -1e-9 * length * length &&
             along <= length * length * (1 + 1e-9);
    };
    double covered = 0.0;
    for (int s = 0; s < mesh.EdgeCount(); ++s) {
      if (!mesh.IsSegment(s)) continue;
      const MeshPoint p = mesh.Node(mesh.EdgeBegin(s));
      const MeshPoint q = mesh.Node(mesh.EdgeEnd(s));
      if (onEdge(p) && onEdge(q)) covered += Length(p, q);
    }
    if (std::fabs(covered - length) > 1e-9 * length)
      problems.push_back(At("job edge", j) + "covered by segments of length " + std::to_string(covered) +
                         " instead of " + std::to_string(length));
  }
  if (std::fabs(segmentLength - jobLength) > 1e-9 * jobLength)
    problems.push_back("segments off the job's edges");

  if (options.checkCoverage && job.PolygonCount() > 0) {
    const std::vector<MeshPoint> outline = PolygonPoints(job, 0);
    double expected = PolygonArea(outline);
    std::vector<std::vector<MeshPoint>> holes;
    for (int p = 1; p < job.PolygonCount(); ++p) {
      if (!job.IsHole(p)) continue;
      holes.push_back(PolygonPoints(job, p));
      expected -= PolygonArea(holes.back());
    }
    double area = 0.0;
    for (int t = 0; t < mesh.TriangleCount(); ++t) {
      area += mesh.TriangleArea(t);
      const MeshPoint a = mesh.Node(mesh.TriangleNode(t, 0));
      const MeshPoint b = mesh.Node(mesh.TriangleNode(t, 1));
      const MeshPoint c = mesh.Node(mesh.TriangleNode(t, 2));
      const MeshPoint centroid{(a.x + b.x + c.x) / 3, (a.y + b.y + c.y) / 3};
      if (!Inside(outline, centroid)) problems.push_back(At("triangle", t) + "outside the outline");
      for (const auto& hole : holes)
        if (Inside(hole, centroid)) problems.push_back(At("triangle", t) + "inside a hole");
    }
    if (std::fabs(area - expected) > 1e-9 * expected)
      problems.push_back("triangle areas add up to " + std::to_string(area) + " instead of " +
                         std::to_string(expected));
  }

  if (options.checkPublished && mesh.TriangleCount() > 0) {
    const double trueMin = TrueMinAngle(mesh);
    if (mesh.CurrentMinAngle() != trueMin)
      problems.push_back("current smallest angle " + std::to_string(mesh.CurrentMinAngle()) +
                         " is not the mesh's " + std::to_string(trueMin));
    const MeshStatistics& published = GlobalMeshStatistics();
    if (published.nodeCount != mesh.NodeCount() || published.elementCount != mesh.TriangleCount())
      problems.push_back("published counts differ from the mesh");
    if (std::fabs(published.minAngle - MeshDegrees(trueMin)) > 1e-4)
      problems.push_back("published smallest angle " + std::to_string(published.minAngle) +
                         " is not the mesh's " + std::to_string(MeshDegrees(trueMin)));
    if (mesh.IsUsable() && MeshDegrees(trueMin) < GlobalMeshParameters().minAngle)
      problems.push_back("usable mesh below the minimal angle");
  }
  return problems;
}

}  // namespace tavrin

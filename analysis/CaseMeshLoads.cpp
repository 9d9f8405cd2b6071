// Where the mesh's records came from, and a case's values written there.
#include "analysis/CaseMeshLoads.h"

#include <cmath>

#include "mesh/FEM.h"
#include "model/TObjCont.h"

namespace tavrin {

namespace {

// Pieces of one job edge meet in a straight line up to the rounding of the split points.
constexpr double kStraight = 1.0 - 1e-9;

bool SamePhysics(const ElementPhysics& e, const PolygonPhysics& p) {
  return e.eModulus == p.eModulus && e.nu == p.nu && e.thickness == p.thickness &&
         e.pressure == p.pressure;
}

// Even-odd test of (x, y) against closed polygon p's edges, and p's absolute area (shoelace).
bool Contains(const TObjCont& job, int p, double x, double y, double& area) {
  bool inside = false;
  area = 0;
  for (int k = 0; k < job.PolygonEdgeCount(p); ++k) {
    const int e = job.PolygonEdge(p, k);
    const double ax = job.NodeX(job.EdgeBegin(e)), ay = job.NodeY(job.EdgeBegin(e));
    const double bx = job.NodeX(job.EdgeEnd(e)), by = job.NodeY(job.EdgeEnd(e));
    area += ax * by - bx * ay;
    if ((ay > y) != (by > y) && x < ax + (y - ay) * (bx - ax) / (by - ay)) inside = !inside;
  }
  area = std::fabs(area) / 2;
  return inside;
}

}  // namespace

CaseMeshLoads::CaseMeshLoads(const FEM& mesh, const TObjCont& job) : jobNodes_(job.NodeCount()) {
  const int nodes = mesh.NodeCount(), edges = mesh.EdgeCount(), triangles = mesh.TriangleCount();
  std::vector<std::vector<int>> segmentsAt(static_cast<std::size_t>(nodes));
  for (int e = 0; e < edges; ++e) {
    if (!mesh.IsSegment(e)) continue;
    segmentsAt[static_cast<std::size_t>(mesh.EdgeBegin(e))].push_back(e);
    segmentsAt[static_cast<std::size_t>(mesh.EdgeEnd(e))].push_back(e);
  }
  edgeSource_.assign(static_cast<std::size_t>(edges), -1);
  // The pieces of an arc edge know their edge; the straight edges are traced along their line.
  for (int e = 0; e < edges; ++e) edgeSource_[static_cast<std::size_t>(e)] = mesh.ArcJobEdge(e);
  for (int j = 0; j < job.EdgeCount(); ++j) {
    if (job.IsArcEdge(j)) continue;
    const int u = job.EdgeBegin(j), v = job.EdgeEnd(j);
    if (u < 0 || v < 0 || u >= nodes || v >= nodes || u == v) continue;
    const MeshPoint target = mesh.Node(v);
    int at = u;
    for (int step = 0; at != v && step < edges; ++step) {
      const MeshPoint p = mesh.Node(at);
      const double tx = target.x - p.x, ty = target.y - p.y, tl = std::hypot(tx, ty);
      int next = -1;
      for (const int e : segmentsAt[static_cast<std::size_t>(at)]) {
        if (edgeSource_[static_cast<std::size_t>(e)] != -1) continue;
        const int w = mesh.EdgeBegin(e) == at ? mesh.EdgeEnd(e) : mesh.EdgeBegin(e);
        const MeshPoint q = mesh.Node(w);
        const double dx = q.x - p.x, dy = q.y - p.y, dl = std::hypot(dx, dy);
        if (dl > 0 && dl <= tl * (1 + 1e-12) && (dx * tx + dy * ty) / (dl * tl) > kStraight) {
          next = e;
          break;
        }
      }
      if (next == -1) break;
      edgeSource_[static_cast<std::size_t>(next)] = j;
      at = mesh.EdgeBegin(next) == at ? mesh.EdgeEnd(next) : mesh.EdgeBegin(next);
    }
  }

  // Regions: triangles joined across edges that are not segments.
  trianglePolygon_.assign(static_cast<std::size_t>(triangles), -1);
  std::vector<int> stack;
  for (int seed = 0; seed < triangles; ++seed) {
    if (trianglePolygon_[static_cast<std::size_t>(seed)] != -1) continue;
    double cx = 0, cy = 0;
    for (int k = 0; k < 3; ++k) {
      cx += mesh.NodeX(mesh.TriangleNode(seed, k)) / 3;
      cy += mesh.NodeY(mesh.TriangleNode(seed, k)) / 3;
    }
    int polygon = 0;
    double smallest = HUGE_VAL, area = 0;
    for (int p = 0; p < job.PolygonCount(); ++p) {
      if (!job.IsHole(p) && Contains(job, p, cx, cy, area) && area < smallest) {
        smallest = area;
        polygon = p;
      }
    }
    ElementPhysics physics;
    mesh.GetPhysics(seed, physics);
    for (int p = 0; !SamePhysics(physics, job.Physics(polygon)) && p < job.PolygonCount(); ++p) {
      if (SamePhysics(physics, job.Physics(p))) polygon = p;
    }
    stack.assign(1, seed);
    trianglePolygon_[static_cast<std::size_t>(seed)] = polygon;
    while (!stack.empty()) {
      const int t = stack.back();
      stack.pop_back();
      for (int k = 1; k <= 3; ++k) {
        const int g = mesh.TriangleEdge(t, k);
        if (g < 0 || mesh.IsSegment(g)) continue;
        for (int slot = 1; slot <= 2; ++slot) {
          const int n = mesh.EdgeTriangle(g, slot);
          if (n < 0 || trianglePolygon_[static_cast<std::size_t>(n)] != -1) continue;
          trianglePolygon_[static_cast<std::size_t>(n)] = polygon;
          stack.push_back(n);
        }
      }
    }
  }
}

PlateMesh CaseMeshLoads::Apply(const PlateMesh& base, const LoadCase& loads) const {
  PlateMesh m = base;
  auto put = [](DofRecord& d, const LoadCase::Triple& force, const LoadCase::Triple& value) {
    for (std::size_t k = 0; k < 3; ++k) {
      d.force[k] = force[k];
      d.displacement[k] = value[k];
    }
  };
  for (int i = 0; i < jobNodes_ && i < m.NodeCount(); ++i)
    put(m.nodeDof[static_cast<std::size_t>(i)], LoadCase::Get(loads.nodeForce, i),
        LoadCase::Get(loads.nodeDisplacement, i));
  for (std::size_t e = 0; e < edgeSource_.size() && e < m.edgeDof.size(); ++e) {
    if (const int j = edgeSource_[e]; j >= 0)
      put(m.edgeDof[e], LoadCase::Get(loads.edgeForce, j),
          LoadCase::Get(loads.edgeDisplacement, j));
  }
  for (std::size_t t = 0; t < trianglePolygon_.size() && t < m.materials.size(); ++t)
    m.materials[t].pressure = loads.Pressure(trianglePolygon_[t]);
  return m;
}

}  // namespace tavrin

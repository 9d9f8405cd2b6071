// Input segments are recovered by walking the segment pieces from each job node through the
// nodes the mesher put on them (each has exactly two pieces) to the job node at the far end.
#include "mesh/InputCorners.h"

#include <algorithm>
#include <cmath>

#include "mesh/FEM.h"
#include "mesh/GeometricPredicates.h"

namespace tavrin {

namespace {
// Two nodes count as equally far from a corner when their squared distances differ by at most
// this fraction (about 0.1 % of the distance): shell splits place them at the same distance up
// to rounding, other splits almost never that close.
constexpr double kSameDistance = 0.002;

double SquaredDistance(MeshPoint a, MeshPoint b) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  return dx * dx + dy * dy;
}
}  // namespace

InputCorners::InputCorners(const FEM& mesh, int inputNodes)
    : mesh_(mesh), inputNodes_(std::clamp(inputNodes, 0, mesh.NodeCount())) {
  const int nodes = mesh.NodeCount();
  const int edges = mesh.EdgeCount();
  // The segment pieces at each node, in compressed rows.
  std::vector<int> first(static_cast<std::size_t>(nodes) + 1, 0);
  for (int e = 0; e < edges; ++e) {
    if (!mesh.IsSegment(e)) continue;
    ++first[static_cast<std::size_t>(mesh.EdgeBegin(e)) + 1];
    ++first[static_cast<std::size_t>(mesh.EdgeEnd(e)) + 1];
  }
  for (int v = 0; v < nodes; ++v) first[v + 1] += first[v];
  std::vector<int> pieces(static_cast<std::size_t>(first[nodes]));
  std::vector<int> fill(first.begin(), first.end() - 1);
  for (int e = 0; e < edges; ++e) {
    if (!mesh.IsSegment(e)) continue;
    pieces[fill[mesh.EdgeBegin(e)]++] = e;
    pieces[fill[mesh.EdgeEnd(e)]++] = e;
  }
  auto degree = [&](int v) { return first[v + 1] - first[v]; };

  pieceSegment_.assign(static_cast<std::size_t>(edges), -1);
  nodeSegment_.assign(static_cast<std::size_t>(nodes), -1);
  for (int v = 0; v < inputNodes_; ++v) {
    for (int k = first[v]; k < first[v + 1]; ++k) {
      if (pieceSegment_[pieces[k]] != -1) continue;
      const int s = static_cast<int>(ends_.size());
      int edge = pieces[k];
      int at = v;
      int far = -1;
      int beforeFar = v;
      int afterV = -1;
      for (;;) {
        pieceSegment_[edge] = s;
        const int next = mesh.EdgeBegin(edge) == at ? mesh.EdgeEnd(edge) : mesh.EdgeBegin(edge);
        if (afterV == -1) afterV = next;
        if (IsInputNode(next) || degree(next) != 2) {
          far = next;
          break;
        }
        nodeSegment_[next] = s;
        const int other =
            pieces[first[next]] == edge ? pieces[first[next] + 1] : pieces[first[next]];
        if (pieceSegment_[other] != -1) {  // a closed chain: cannot happen in a mesh of a job
          far = next;
          break;
        }
        at = next;
        beforeFar = next;
        edge = other;
      }
      ends_.push_back({v, far});
      // Along a straight segment the neighbours of its ends are the nodes nearest them.
      nearest_.push_back({SquaredDistance(mesh.Node(v), mesh.Node(afterV)),
                          SquaredDistance(mesh.Node(far), mesh.Node(beforeFar))});
    }
  }

  firstAt_.assign(static_cast<std::size_t>(inputNodes_) + 1, 0);
  for (const auto& ends : ends_)
    for (int c : ends)
      if (IsInputNode(c)) ++firstAt_[c + 1];
  for (int v = 0; v < inputNodes_; ++v) firstAt_[v + 1] += firstAt_[v];
  segmentsAt_.resize(static_cast<std::size_t>(firstAt_[inputNodes_]));
  std::vector<int> next(firstAt_.begin(), firstAt_.end() - 1);
  for (int s = 0; s < SegmentCount(); ++s)
    for (int c : ends_[s])
      if (IsInputNode(c)) segmentsAt_[next[c]++] = s;

  shellAtEnd_.assign(ends_.size(), {false, false});
  for (int s = 0; s < SegmentCount(); ++s) {
    for (int k = 0; k < 2; ++k) {
      const int c = ends_[s][k];
      if (!IsInputNode(c)) continue;
      shellAtEnd_[s][k] = SegmentsAt(c).size() > 1;
    }
  }

  // Which corners have a sharp wedge that is plate (not a hole, not outside): only there does
  // the refinement inside the wedge reach round the corner.
  meshedWedge_.assign(static_cast<std::size_t>(inputNodes_), kNoCorner);
  for (int t = 0; t < mesh.TriangleCount(); ++t) {
    const std::array<int, 3> nodes = mesh.TriangleNodes(t);
    const int v[3] = {nodes[0], nodes[1], nodes[2]};
    // Most triangles have no job node, and need no centroid.
    if (!IsInputNode(v[0]) && !IsInputNode(v[1]) && !IsInputNode(v[2])) continue;
    const MeshPoint g = Centroid(v);
    for (int c : v) {
      if (!IsInputNode(c)) continue;
      const std::span<const int> at = SegmentsAt(c);
      for (std::size_t i = 0; i < at.size(); ++i)
        for (std::size_t j = i + 1; j < at.size(); ++j)
          if (InWedge(c, at[i], at[j], g))
            meshedWedge_[c] = std::min(meshedWedge_[c], SegmentAngle(at[i], at[j], c));
    }
  }
}

void InputCorners::NoteSplit(int e, int h, int n) {
  const int s = SegmentOfPiece(e);
  if (static_cast<std::size_t>(h) >= pieceSegment_.size()) pieceSegment_.resize(h + 1, -1);
  if (static_cast<std::size_t>(n) >= nodeSegment_.size()) nodeSegment_.resize(n + 1, -1);
  pieceSegment_[h] = s;
  nodeSegment_[n] = s;
  if (s == -1) return;
  for (int k = 0; k < 2; ++k)
    nearest_[s][k] =
        std::min(nearest_[s][k], SquaredDistance(mesh_.Node(ends_[s][k]), mesh_.Node(n)));
}

int InputCorners::SegmentOfPiece(int e) const {
  return static_cast<std::size_t>(e) < pieceSegment_.size() ? pieceSegment_[e] : -1;
}

std::span<const int> InputCorners::SegmentsAt(int v) const {
  if (IsInputNode(v))
    return std::span<const int>(segmentsAt_.data() + firstAt_[v],
                                static_cast<std::size_t>(firstAt_[v + 1] - firstAt_[v]));
  if (static_cast<std::size_t>(v) >= nodeSegment_.size() || nodeSegment_[v] == -1) return {};
  return std::span<const int>(&nodeSegment_[v], 1);
}

int InputCorners::FarEnd(int s, int corner) const {
  return ends_[s][0] == corner ? ends_[s][1] : ends_[s][0];
}

double InputCorners::SegmentAngle(int s, int t, int corner) const {
  return VertexAngle(mesh_.Node(corner), mesh_.Node(FarEnd(s, corner)),
                     mesh_.Node(FarEnd(t, corner)));
}

int InputCorners::ShellCorner(int e) const {
  const int s = SegmentOfPiece(e);
  if (s == -1) return -1;
  const int b = mesh_.EdgeBegin(e);
  const int f = mesh_.EdgeEnd(e);
  bool atB = false, atF = false;
  for (int k = 0; k < 2; ++k) {
    if (!shellAtEnd_[s][k]) continue;
    atB = atB || ends_[s][k] == b;
    atF = atF || ends_[s][k] == f;
  }
  if (atB == atF) return -1;
  return atB ? b : f;
}

double InputCorners::ShellAt(int s, int corner) const {
  return nearest_[s][ends_[s][0] == corner ? 0 : 1];
}

MeshPoint InputCorners::Centroid(const int (&v)[3]) const {
  const MeshPoint p = mesh_.Node(v[0]), q = mesh_.Node(v[1]), r = mesh_.Node(v[2]);
  return {(p.x + q.x + r.x) / 3, (p.y + q.y + r.y) / 3};
}

bool InputCorners::InWedge(int c, int sa, int sb, MeshPoint g) const {
  // Strictly: a triangle beside the wedge shares at most a side with it.
  const MeshPoint corner = mesh_.Node(c);
  const MeshPoint a = mesh_.Node(FarEnd(sa, c));
  const MeshPoint b = mesh_.Node(FarEnd(sb, c));
  const int turn = OrientationSign(corner, a, b);
  return turn != 0 && OrientationSign(corner, a, g) == turn &&
         OrientationSign(corner, g, b) == turn;
}

double InputCorners::AngleAt(int c, const int (&v)[3], MeshPoint g) const {
  const std::span<const int> at = SegmentsAt(c);
  if (at.size() < 2) return kNoCorner;
  const MeshPoint corner = mesh_.Node(c);
  const bool touches = v[0] == c || v[1] == c || v[2] == c;
  double farthest = 0;
  for (int n : v) farthest = std::max(farthest, SquaredDistance(corner, mesh_.Node(n)));
  // Touching the corner on any side, when a sharp wedge of it is plate: around the corner the
  // refinement cannot grade from the shell's chord to the segments without cutting the shell
  // smaller, and so on.
  double best = touches ? meshedWedge_[c] : kNoCorner;
  for (std::size_t i = 0; i < at.size(); ++i) {
    for (std::size_t j = i + 1; j < at.size(); ++j) {
      const int sa = at[i], sb = at[j];
      if (!touches) {
        const double shell = std::min(ShellAt(sa, c), ShellAt(sb, c));
        if (farthest > (1 + kSameDistance) * shell) continue;
      }
      if (InWedge(c, sa, sb, g)) best = std::min(best, SegmentAngle(sa, sb, c));
    }
  }
  return best;
}

double InputCorners::CornerAngle(int t) const { return CornerAngle(mesh_.TriangleNodes(t)); }

double InputCorners::CornerAngle(const std::array<int, 3>& nodes) const {
  const int v[3] = {nodes[0], nodes[1], nodes[2]};
  // The corners a triangle can be exempt at: a job node among its nodes, and the ends of the
  // input segments its nodes lie on (a triangle inside a shell has a node on it, or is the
  // rare one of nodes the first refinement put inside it, which the finishing stage may cut).
  candidates_.clear();
  auto add = [&](int c) {
    if (c < 0 || !IsInputNode(c)) return;
    if (std::find(candidates_.begin(), candidates_.end(), c) == candidates_.end())
      candidates_.push_back(c);
  };
  for (int n : v) {
    if (IsInputNode(n)) {
      add(n);
      for (int s : SegmentsAt(n)) add(FarEnd(s, n));
    } else {
      for (int s : SegmentsAt(n)) {
        add(ends_[s][0]);
        add(ends_[s][1]);
      }
    }
  }
  if (candidates_.empty()) return kNoCorner;
  const MeshPoint g = Centroid(v);
  double best = kNoCorner;
  for (int c : candidates_) best = std::min(best, AngleAt(c, v, g));
  return best;
}

}  // namespace tavrin

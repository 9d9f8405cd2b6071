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
      for (;;) {
        pieceSegment_[edge] = s;
        const int next = mesh.EdgeBegin(edge) == at ? mesh.EdgeEnd(edge) : mesh.EdgeBegin(edge);
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
        edge = other;
      }
      ends_.push_back({v, far});
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
}

void InputCorners::NoteSplit(int e, int h, int n) {
  const int s = SegmentOfPiece(e);
  if (static_cast<std::size_t>(h) >= pieceSegment_.size()) pieceSegment_.resize(h + 1, -1);
  if (static_cast<std::size_t>(n) >= nodeSegment_.size()) nodeSegment_.resize(n + 1, -1);
  pieceSegment_[h] = s;
  nodeSegment_[n] = s;
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

double InputCorners::CornerAngle(int t) const {
  const int v[3] = {mesh_.TriangleNode(t, 0), mesh_.TriangleNode(t, 1), mesh_.TriangleNode(t, 2)};
  // Both ends of the shortest side must lie on segments: most triangles, inside the plate, are
  // told apart before anything is measured.
  const int onSegments = static_cast<int>(!SegmentsAt(v[0]).empty()) +
                         static_cast<int>(!SegmentsAt(v[1]).empty()) +
                         static_cast<int>(!SegmentsAt(v[2]).empty());
  if (onSegments < 2) return kNoCorner;
  const MeshPoint p[3] = {mesh_.Node(v[0]), mesh_.Node(v[1]), mesh_.Node(v[2])};
  // The shortest side, the one opposite the smallest angle.
  double shortest = 0;
  const int k = ShortestSideOpposite(p, shortest);
  const int a = v[(k + 1) % 3];
  const int b = v[(k + 2) % 3];
  const MeshPoint apex = p[k];
  double best = kNoCorner;
  for (int sa : SegmentsAt(a)) {
    for (int sb : SegmentsAt(b)) {
      if (sa == sb) continue;
      for (int c : ends_[sa]) {
        if (c == a || c == b || (ends_[sb][0] != c && ends_[sb][1] != c)) continue;
        const MeshPoint corner = mesh_.Node(c);
        const double da = SquaredDistance(corner, mesh_.Node(a));
        const double db = SquaredDistance(corner, mesh_.Node(b));
        if (std::fabs(da - db) > kSameDistance * std::max(da, db)) continue;
        // Inside the wedge: where the segments end, the plate can open up beyond their ends,
        // and a triangle there is not forced by the corner.
        const int turn = OrientationSign(corner, mesh_.Node(a), mesh_.Node(b));
        if (OrientationSign(corner, mesh_.Node(a), apex) * turn < 0 ||
            OrientationSign(corner, apex, mesh_.Node(b)) * turn < 0)
          continue;
        best = std::min(best, SegmentAngle(sa, sb, c));
      }
    }
  }
  return best;
}

}  // namespace tavrin

// Search structures for the mesher's scans. The smallest angle and the largest area come from
// two heaps whose outdated entries are dropped when they surface (logarithmic time per change).
// Nodes sit in a uniform grid whose cells are a little wider than the too-close distance, so a
// query looks at nine cells (NodeGrid). Segments sit in a hierarchical hash grid: each in the
// one cell of the level whose cells are at least as wide as its diametral circle and that
// holds the circle's centre, so a query looks at nine cells per level in use. Each query costs about the number of entries
// near the point instead of the size of the mesh; every candidate is then decided by the
// caller's own test, so the answers are those of the plain scans.
#include "mesh/MeshIndex.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "mesh/containers/TEdges.h"
#include "mesh/containers/TVertexes.h"

namespace tavrin {

namespace {
// Cell numbers stay far inside 64 bits, so neighbouring cells never wrap.
constexpr double kMaxCellNumber = 4503599627370496.0;  // 2^52
// Segment levels: cell width 2^level for level in [-kLevelOffset, kLevelOffset].
constexpr int kLevelOffset = 60;
}  // namespace

std::size_t MeshIndex::CellHash::operator()(const CellKey& k) const {
  std::uint64_t h = static_cast<std::uint64_t>(k.cx) * 0x9E3779B97F4A7C15ull;
  h ^= static_cast<std::uint64_t>(k.cy) + 0x632BE59BD9B4E019ull + (h << 6) + (h >> 2);
  h ^= static_cast<std::uint64_t>(k.level) * 0xC2B2AE3D27D4EB4Full;
  return static_cast<std::size_t>(h ^ (h >> 29));
}

bool MeshIndex::CellOf(double x, double y, double size, std::int64_t& cx, std::int64_t& cy) {
  const double qx = std::floor(x / size);
  const double qy = std::floor(y / size);
  if (!(std::fabs(qx) < kMaxCellNumber) || !(std::fabs(qy) < kMaxCellNumber)) return false;
  cx = static_cast<std::int64_t>(qx);
  cy = static_cast<std::int64_t>(qy);
  return true;
}

// ---- Triangles --------------------------------------------------------------------------

// Min-heaps with four children per entry: half the depth of a binary heap, so a pop, which
// walks from the top to the bottom, reads half as many cache lines.
namespace {
constexpr std::size_t kArity = 4;
}  // namespace

void MeshIndex::SiftDown(std::vector<Entry>& heap, std::size_t i) {
  const std::size_t n = heap.size();
  const Entry moving = heap[i];
  for (;;) {
    const std::size_t first = kArity * i + 1;
    if (first >= n) break;
    std::size_t least = first;
    const std::size_t end = std::min(first + kArity, n);
    for (std::size_t c = first + 1; c < end; ++c)
      if (heap[c] < heap[least]) least = c;
    if (!(heap[least] < moving)) break;
    heap[i] = heap[least];
    i = least;
  }
  heap[i] = moving;
}

void MeshIndex::Push(std::vector<Entry>& heap, Entry entry) {
  std::size_t i = heap.size();
  heap.push_back(entry);
  while (i > 0) {
    const std::size_t parent = (i - 1) / kArity;
    if (!(entry < heap[parent])) break;
    heap[i] = heap[parent];
    i = parent;
  }
  heap[i] = entry;
}

int MeshIndex::Top(std::vector<Entry>& heap, const std::vector<double>& current, double sign) {
  while (!heap.empty()) {
    const Entry& top = heap.front();
    if (top.first == sign * current[static_cast<std::size_t>(top.second)]) return top.second;
    heap.front() = heap.back();
    heap.pop_back();
    if (!heap.empty()) SiftDown(heap, 0);
  }
  return 0;
}

void MeshIndex::MakeHeap(std::vector<Entry>& heap) {
  for (std::size_t i = heap.size() / kArity + 1; i-- > 0;)
    if (i < heap.size()) SiftDown(heap, i);
}

void MeshIndex::TriangleStored(int t, double minAngle, double area) {
  const auto s = static_cast<std::size_t>(t);
  if (s >= angle_.size()) {
    angle_.resize(s + 1, 0.0);
    area_.resize(s + 1, 0.0);
    state_.resize(s + 1, kUnknown);
  }
  if (std::isnan(minAngle) || std::isnan(area)) nanSeen_ = true;
  angle_[s] = minAngle;
  area_[s] = area;
  if (state_[s] != kPending) {
    state_[s] = kPending;
    pending_.push_back(t);
  }
}

void MeshIndex::Flush() {
  for (int t : pending_) {
    const auto s = static_cast<std::size_t>(t);
    Push(byAngle_, {angle_[s], t});
    Push(byArea_, {-area_[s], t});
    state_[s] = kInHeaps;
  }
  pending_.clear();
  // Outdated entries pile up with every re-shape; rebuild from the current values before
  // they outnumber the triangles, which keeps the memory linear and the cost amortised.
  if (byAngle_.size() > 2 * angle_.size() + 64) {
    byAngle_.clear();
    byArea_.clear();
    for (std::size_t i = 0; i < angle_.size(); ++i) {
      if (state_[i] == kUnknown) continue;
      byAngle_.push_back({angle_[i], static_cast<int>(i)});
      byArea_.push_back({-area_[i], static_cast<int>(i)});
    }
    MakeHeap(byAngle_);
    MakeHeap(byArea_);
  }
}

// ---- Segments ---------------------------------------------------------------------------

void MeshIndex::CatchUpSegments(const TVertexes& nodes, const TEdges& edges) {
  for (; edgesSeen_ < edges.Count(); ++edgesSeen_) {
    if (edges.Mark(edgesSeen_) == 0) continue;
    segments_.push_back(edgesSeen_);
    RegisterSegment(nodes, edges, edgesSeen_);
  }
  for (int e : moved_) {
    const auto it = registered_.find(e);
    if (it == registered_.end()) continue;
    if (it->second.begin == edges.Begin(e) && it->second.end == edges.End(e)) continue;
    UnregisterSegment(e);
    RegisterSegment(nodes, edges, e);
  }
  moved_.clear();
}

void MeshIndex::EdgeMayHaveMoved(int e) {
  // Only segments already placed need a second look; edges not seen yet are placed where they
  // are when the next query catches up, and other edges are never placed.
  if (registered_.count(e) != 0) moved_.push_back(e);
}

void MeshIndex::RegisterSegment(const TVertexes& nodes, const TEdges& edges, int s) {
  Registration& r = registered_[s];
  r.begin = edges.Begin(s);
  r.end = edges.End(s);
  r.onGrid = false;
  // The diametral circle, computed as the encroachment test computes it.
  const MeshPoint b{nodes.X(r.begin), nodes.Y(r.begin)};
  const MeshPoint e{nodes.X(r.end), nodes.Y(r.end)};
  const MeshPoint m{(b.x + e.x) / 2, (b.y + e.y) / 2};
  const double radius = Length(b, m);
  if (std::isfinite(m.x) && std::isfinite(m.y) && std::isfinite(radius)) {
    // Cells at least as wide as the circle (a point inside it is then at most half a cell from
    // the centre), and not so narrow that the centre's cell number grows too large.
    int level = 0;
    std::frexp(2 * radius, &level);
    int coordinateLevel = 0;
    std::frexp(std::max(std::fabs(m.x), std::fabs(m.y)), &coordinateLevel);
    level = std::max({level, coordinateLevel - 40, -kLevelOffset});
    std::int64_t cx, cy;
    if (level <= kLevelOffset && CellOf(m.x, m.y, std::ldexp(1.0, level), cx, cy)) {
      r.onGrid = true;
      r.key = CellKey{level, cx, cy};
      segmentCells_[r.key].push_back(s);
      if (levelCount_.empty()) levelCount_.assign(2 * kLevelOffset + 1, 0);
      ++levelCount_[static_cast<std::size_t>(level + kLevelOffset)];
      lowestLevel_ = std::min(lowestLevel_, level);
      highestLevel_ = std::max(highestLevel_, level);
    }
  }
  if (!r.onGrid) segmentsOffGrid_.push_back(s);
}

void MeshIndex::UnregisterSegment(int s) {
  Registration& r = registered_[s];
  if (r.onGrid) {
    std::vector<int>& cell = segmentCells_[r.key];
    cell.erase(std::find(cell.begin(), cell.end(), s));
    --levelCount_[static_cast<std::size_t>(r.key.level + kLevelOffset)];
  } else {
    segmentsOffGrid_.erase(std::find(segmentsOffGrid_.begin(), segmentsOffGrid_.end(), s));
  }
  r.onGrid = false;
}

bool MeshIndex::SegmentCandidates(MeshPoint p, std::vector<int>& out) const {
  out.clear();
  // Levels that never held a segment are skipped without a look.
  for (int level = lowestLevel_; level <= highestLevel_; ++level) {
    if (levelCount_[static_cast<std::size_t>(level + kLevelOffset)] == 0) continue;
    std::int64_t cx, cy;
    if (!CellOf(p.x, p.y, std::ldexp(1.0, level), cx, cy)) return false;
    for (std::int64_t i = cx - 1; i <= cx + 1; ++i) {
      for (std::int64_t j = cy - 1; j <= cy + 1; ++j) {
        const auto it = segmentCells_.find(CellKey{level, i, j});
        if (it != segmentCells_.end()) out.insert(out.end(), it->second.begin(), it->second.end());
      }
    }
  }
  out.insert(out.end(), segmentsOffGrid_.begin(), segmentsOffGrid_.end());
  std::sort(out.begin(), out.end());
  return true;
}

}  // namespace tavrin

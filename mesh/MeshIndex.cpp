// Search structures for the mesher's scans. The smallest angle and the largest area come from
// two heaps whose pairs change in place (IndexedHeap: logarithmic time per change at worst).
// Nodes sit in a uniform grid whose cells are a little wider than the too-close distance, so a
// query looks at nine cells (NodeGrid). Segments sit in a hierarchical hash grid: each in the
// one cell of the level whose cells are at least as wide as its diametral circle and that
// holds the circle's centre, so a query looks at four cells (rarely six or nine) per level
// with more than a few segments, and at the list of a level with few. Each query costs about
// the number of entries near the point instead of the size of the mesh; every candidate is
// then decided by the caller's own test, so the answers are those of the plain scans.
#include "mesh/MeshIndex.h"

#include <algorithm>
#include <cmath>

#include "mesh/TEdges.h"
#include "mesh/TVertexes.h"

namespace tavrin {

namespace {
// Cell numbers stay far inside 64 bits, so neighbouring cells never wrap.
constexpr double kMaxCellNumber = 4503599627370496.0;  // 2^52
// Segment levels: cell width 2^level for level in [-kLevelOffset, kLevelOffset].
constexpr int kLevelOffset = 60;
// A level with at most this many segments is searched through its list.
constexpr std::size_t kFewSegments = 16;
}  // namespace

// Neighbouring cells differ in the low bits of their numbers alone, and the table takes the low
// bits of the hash: every bit of the numbers is mixed into every bit of the hash (the finisher
// of splitmix64), or the neighbours would probe through one another's runs.
std::size_t MeshIndex::CellHash::operator()(const CellKey& k) const {
  std::uint64_t h = static_cast<std::uint64_t>(k.cx) * 0x9E3779B97F4A7C15ull;
  h ^= static_cast<std::uint64_t>(k.cy) * 0xC2B2AE3D27D4EB4Full;
  h ^= static_cast<std::uint64_t>(k.level) * 0x165667B19E3779F9ull;
  h ^= h >> 30;
  h *= 0xBF58476D1CE4E5B9ull;
  h ^= h >> 27;
  h *= 0x94D049BB133111EBull;
  return static_cast<std::size_t>(h ^ (h >> 31));
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

// An empty table answers 0, as the scan does.
// Every triangle at or below the ceiling has its current angle in the heap, and every other is
// above it: a top at or below the ceiling is the smallest of all, ties included.
int MeshIndex::MinAngleIndex() {
  Flush();
  const int t = byAngle_.Top();
  if ((t != -1 && measures_[static_cast<std::size_t>(t)].angle <= angleCeiling_) ||
      deferred_.empty())
    return std::max(t, 0);
  FlushDeferred();
  return std::max(byAngle_.Top(), 0);
}

void MeshIndex::FlushDeferred() {
  for (int t : deferred_) {
    std::uint8_t& state = states_[static_cast<std::size_t>(t)];
    if (!(state & kDeferred)) continue;
    state &= ~kDeferred;
    byAngle_.Set(t, measures_[static_cast<std::size_t>(t)].angle);
  }
  deferred_.clear();
}

// Every triangle at or above the floor has its current area in the heap, and every other is
// smaller than any of those: the top of the heap is the largest of all, ties included.
int MeshIndex::MaxAreaIndex() {
  Flush();
  const int t = byArea_.Top();
  if (t != -1 || areaFloor_ == -std::numeric_limits<double>::infinity()) return std::max(t, 0);
  areaFloor_ = -std::numeric_limits<double>::infinity();
  RefillAreas();
  return std::max(byArea_.Top(), 0);
}

void MeshIndex::SetAreaFloor(double floor) {
  Flush();
  areaFloor_ = floor;
  RefillAreas();
}

void MeshIndex::RefillAreas() {
  byArea_.Clear();
  for (std::size_t i = 0; i < measures_.size(); ++i)
    if ((states_[i] & kKnown) && measures_[i].area >= areaFloor_)
      byArea_.Set(static_cast<int>(i), -measures_[i].area);
}

void MeshIndex::Reserve(std::size_t n) {
  measures_.reserve(n);
  states_.reserve(n);
  byAngle_.Reserve(n);
  byArea_.Reserve(n);
}

void MeshIndex::Flush() {
  for (int t : pending_) {
    const Measures& m = measures_[static_cast<std::size_t>(t)];
    std::uint8_t& state = states_[static_cast<std::size_t>(t)];
    state &= ~kListed;
    if (m.area >= areaFloor_)
      byArea_.Set(t, -m.area);
    else
      byArea_.Remove(t);
    if (byAngle_.Contains(t)) {
      byAngle_.Set(t, m.angle);
    } else if (m.angle > angleCeiling_) {
      if (!(state & kDeferred)) deferred_.push_back(t);
      state |= kDeferred;
    } else {
      state &= ~kDeferred;
      byAngle_.Set(t, m.angle);
    }
  }
  pending_.clear();
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
      r.list = CellList(r.key);
      cellLists_[static_cast<std::size_t>(r.list)].push_back(s);
      if (levelSegments_.empty()) levelSegments_.resize(2 * kLevelOffset + 1);
      std::vector<int>& list = levelSegments_[static_cast<std::size_t>(level + kLevelOffset)];
      r.slot = static_cast<int>(list.size());
      list.push_back(s);
      lowestLevel_ = std::min(lowestLevel_, level);
      highestLevel_ = std::max(highestLevel_, level);
    }
  }
  if (!r.onGrid) segmentsOffGrid_.push_back(s);
}

void MeshIndex::UnregisterSegment(int s) {
  Registration& r = registered_[s];
  if (r.onGrid) {
    std::vector<int>& cell = cellLists_[static_cast<std::size_t>(r.list)];
    cell.erase(std::find(cell.begin(), cell.end(), s));
    std::vector<int>& list = levelSegments_[static_cast<std::size_t>(r.key.level + kLevelOffset)];
    const int last = list.back();
    list[static_cast<std::size_t>(r.slot)] = last;
    registered_[last].slot = r.slot;
    list.pop_back();
  } else {
    segmentsOffGrid_.erase(std::find(segmentsOffGrid_.begin(), segmentsOffGrid_.end(), s));
  }
  r.onGrid = false;
}

const std::vector<int>* MeshIndex::FindCell(const CellKey& key) const {
  if (cellSlots_.empty()) return nullptr;
  const std::size_t mask = cellSlots_.size() - 1;
  for (std::size_t i = CellHash{}(key)&mask;; i = (i + 1) & mask) {
    const CellSlot& slot = cellSlots_[i];
    if (slot.list == -1) return nullptr;
    if (slot.key == key) return &cellLists_[static_cast<std::size_t>(slot.list)];
  }
}

int MeshIndex::CellList(const CellKey& key) {
  if (2 * (cellLists_.size() + 1) > cellSlots_.size()) {
    // Twice as many slots, every cell placed again.
    std::vector<CellSlot> old(std::max<std::size_t>(64, 2 * cellSlots_.size()));
    old.swap(cellSlots_);
    const std::size_t mask = cellSlots_.size() - 1;
    for (const CellSlot& slot : old) {
      if (slot.list == -1) continue;
      std::size_t i = CellHash{}(slot.key) & mask;
      while (cellSlots_[i].list != -1) i = (i + 1) & mask;
      cellSlots_[i] = slot;
    }
  }
  const std::size_t mask = cellSlots_.size() - 1;
  std::size_t i = CellHash{}(key)&mask;
  for (; cellSlots_[i].list != -1; i = (i + 1) & mask)
    if (cellSlots_[i].key == key) return cellSlots_[i].list;
  cellSlots_[i] = CellSlot{key, static_cast<int>(cellLists_.size())};
  cellLists_.emplace_back();
  return cellSlots_[i].list;
}

bool MeshIndex::SegmentCandidates(MeshPoint p, std::vector<int>& out) const {
  out.clear();
  // Levels that never held a segment are skipped without a look.
  for (int level = lowestLevel_; level <= highestLevel_; ++level) {
    const std::vector<int>& list = levelSegments_[static_cast<std::size_t>(level + kLevelOffset)];
    if (list.size() <= kFewSegments) {
      out.insert(out.end(), list.begin(), list.end());
      continue;
    }
    // A circle narrower than half a cell around p has its centre within half a cell of p, so
    // in one of the (mostly) two cells per axis that this reaches: p in cell units is exact (a
    // power-of-two cell), and the slack covers the rounding of the half cells and lengths.
    const double size = std::ldexp(1.0, level);
    const double qx = p.x / size, qy = p.y / size;
    constexpr double kReach = 0.5 + 1e-9;
    std::int64_t x0, y0, x1, y1;
    if (!CellOf(qx - kReach, qy - kReach, 1.0, x0, y0) ||
        !CellOf(qx + kReach, qy + kReach, 1.0, x1, y1))
      return false;
    for (std::int64_t i = x0; i <= x1; ++i) {
      for (std::int64_t j = y0; j <= y1; ++j) {
        const std::vector<int>* cell = FindCell(CellKey{level, i, j});
        if (cell) out.insert(out.end(), cell->begin(), cell->end());
      }
    }
  }
  out.insert(out.end(), segmentsOffGrid_.begin(), segmentsOffGrid_.end());
  return true;
}

}  // namespace tavrin

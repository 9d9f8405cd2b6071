// Mesher input preparation. The outline is found by a horizontal ray: the polygon whose
// boundary the ray crosses leftmost encloses all others; an arc edge is crossed where the ray
// meets the arc itself, not its chord. A point is attributed to a polygon by
// the same kind of ray: the owner of the nearest crossing at or left of it. Each costs one pass
// over all polygon edges plus an exchange sort of the crossings of one line (a handful).
#include <algorithm>
#include <cmath>
#include <optional>
#include <unordered_set>
#include <utility>

#include "containers/TFloats.h"
#include "containers/TInts.h"
#include "model/ArcGeometry.h"
#include "model/TObjCont.h"

namespace tavrin {

namespace {
constexpr double kRisingEdge = 0.001;  // an edge rising less than this cannot set the ray height
}

void TObjCont::PrepareForMeshing() {
  SelectOutline();
  AssignNodePolygons();
}

void TObjCont::RayCrossings(double h, TFloats& crossX, TInts& crossPolygon) const {
  for (int p = 0; p < polygonCount_; ++p) {
    for (int e : polygons_[static_cast<std::size_t>(p)].edges) {
      const Edge& edge = edges_[static_cast<std::size_t>(e)];
      const Node& b = nodes_[static_cast<std::size_t>(edge.begin)];
      const Node& n = nodes_[static_cast<std::size_t>(edge.end)];
      if (edge.bulge != 0.0) {
        double x[2] = {};
        const Arc arc = ArcThrough(b.x, b.y, n.x, n.y, edge.bulge);
        for (int k = 0, count = ArcCrossingsAtHeight(arc, h, x); k < count; ++k) {
          crossX.Add(x[k]);
          crossPolygon.Add(p);
        }
        continue;
      }
      // Edges touching the line only at an end point, or lying on it, give no crossing.
      if (std::min(b.y, n.y) < h && h < std::max(b.y, n.y)) {
        crossX.Add((h - b.y) * (n.x - b.x) / (n.y - b.y) + b.x);
        crossPolygon.Add(p);
      }
    }
  }
}

void TObjCont::MoveToOutlineSlot(int q) {
  // The whole polygon moves: its edge list, physics and name, so a material given to the
  // outline before meshing stays on it. Slot 0 is the plate; slot q is a hole if either was.
  PolygonSlot& plate = polygons_[0];
  PolygonSlot& other = polygons_[static_cast<std::size_t>(q)];
  const bool anyHole = plate.physics.isHole || other.physics.isHole;
  std::swap(plate, other);
  plate.physics.isHole = false;
  other.physics.isHole = anyHole;
  // The further cases' pressures belong to the polygon, not to its slot.
  for (LoadCase& c : cases_.further) {
    const double onPlate = c.Pressure(0);
    c.SetPressure(0, c.Pressure(q));
    c.SetPressure(q, onPlate);
  }
}

void TObjCont::SelectOutline() {
  // The ray's height: the middle of the first rising edge of polygon 0, else of the first
  // closed polygon that rises. A ray through a node misses both edges that meet there (they
  // touch it only at an end point), so a polygon whose leftmost point is a node at that height
  // (a circle drawn about the plate's middle) would be passed over: the first rising edge whose
  // middle is no node's height is taken where there is one.
  std::unordered_set<double> nodeHeights;
  for (int p = 0; p < polygonCount_; ++p) {
    for (int e : polygons_[static_cast<std::size_t>(p)].edges) {
      const Edge& edge = edges_[static_cast<std::size_t>(e)];
      Node& b = nodes_[static_cast<std::size_t>(edge.begin)];
      Node& n = nodes_[static_cast<std::size_t>(edge.end)];
      b.isFree = n.isFree = false;
      b.polygon = n.polygon = p;
      nodeHeights.insert(b.y);
      nodeHeights.insert(n.y);
    }
  }
  std::optional<double> height, clear;
  for (int p = 0; p < polygonCount_ && !clear; ++p) {
    for (int e : polygons_[static_cast<std::size_t>(p)].edges) {
      const Edge& edge = edges_[static_cast<std::size_t>(e)];
      const double by = nodes_[static_cast<std::size_t>(edge.begin)].y;
      const double ny = nodes_[static_cast<std::size_t>(edge.end)].y;
      if (std::fabs(by - ny) <= kRisingEdge) continue;
      if (!height) height = (by + ny) / 2.0;
      if (!nodeHeights.contains((by + ny) / 2.0)) {
        clear = (by + ny) / 2.0;
        break;
      }
    }
  }
  if (clear) height = clear;
  if (!height) return;  // no closed polygon, or all flat: keep the order

  TFloats crossX;
  TInts crossPolygon;
  RayCrossings(*height, crossX, crossPolygon);
  if (crossX.Count() == 0) return;
  int best = 0;  // leftmost crossing; a later one wins only when strictly further left
  for (int k = 1; k < crossX.Count(); ++k) {
    if (crossX.Get(k) < crossX.Get(best)) best = k;
  }
  const int q = crossPolygon.Get(best);
  if (q != 0) MoveToOutlineSlot(q);
}

void TObjCont::AssignNodePolygons() {
  for (int p = 0; p < polygonCount_; ++p) {
    for (int e : polygons_[static_cast<std::size_t>(p)].edges) {
      const Edge& edge = edges_[static_cast<std::size_t>(e)];
      nodes_[static_cast<std::size_t>(edge.begin)].polygon = p;
      nodes_[static_cast<std::size_t>(edge.end)].polygon = p;
    }
  }
  for (Node& n : nodes_) {
    if (n.isFree) n.polygon = FindPolygonAt(n.x, n.y);
  }
}

int TObjCont::FindPolygonAt(double x, double y) const {
  TFloats crossX;
  TInts crossPolygon;
  RayCrossings(y, crossX, crossPolygon);
  // Exchange sort, kept as is: with equal abscissas the order it leaves decides the owner.
  const int count = crossX.Count();
  for (int i = 0; i < count; ++i) {
    for (int j = i + 1; j < count; ++j) {
      if (crossX.Get(j) < crossX.Get(i)) {
        const double tx = crossX.Get(i);
        crossX.Set(i, crossX.Get(j));
        crossX.Set(j, tx);
        const int tp = crossPolygon.Get(i);
        crossPolygon.Set(i, crossPolygon.Get(j));
        crossPolygon.Set(j, tp);
      }
    }
  }
  for (int i = 0; i + 1 < count; ++i) {
    if (crossX.Get(i) <= x && x < crossX.Get(i + 1)) return crossPolygon.Get(i);
  }
  return -1;
}

}  // namespace tavrin

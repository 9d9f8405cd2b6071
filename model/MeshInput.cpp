// Mesher input preparation. The outline is found by a horizontal ray: the polygon whose
// boundary the ray crosses leftmost encloses all others. A point is attributed to a polygon by
// the same kind of ray: the owner of the nearest crossing at or left of it. Each costs one pass
// over all polygon edges plus an exchange sort of the crossings of one line (a handful).
#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

#include "containers/TFloats.h"
#include "containers/TInts.h"
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
  std::optional<double> height;  // from polygon 0, else the first closed polygon that rises
  for (int p = 0; p < polygonCount_; ++p) {
    for (int e : polygons_[static_cast<std::size_t>(p)].edges) {
      const Edge& edge = edges_[static_cast<std::size_t>(e)];
      Node& b = nodes_[static_cast<std::size_t>(edge.begin)];
      Node& n = nodes_[static_cast<std::size_t>(edge.end)];
      b.isFree = n.isFree = false;
      b.polygon = n.polygon = p;
      if (!height && std::fabs(b.y - n.y) > kRisingEdge) height = (b.y + n.y) / 2.0;
    }
  }
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

// Editing with geometric rules: polygon drawing click by click (crossing test, snap to a vertex,
// closing on the first vertex) and moving a node. Each click or move scans every edge of every
// polygon once, linear in the size of the drawing.
#include <cmath>

#include "model/TObjCont.h"

namespace tavrin {

int TObjCont::FindVertexNear(int p, double x, double y, double scale) const {
  if (p < 0 || p > polygonCount_) return -1;
  const double box = 3.0 * scale;
  auto near = [&](int n) {
    const Node& node = nodes_[static_cast<std::size_t>(n)];
    return std::fabs(node.x - x) < box && std::fabs(node.y - y) < box;
  };
  for (int e : polygons_[static_cast<std::size_t>(p)].edges) {
    const Edge& edge = edges_[static_cast<std::size_t>(e)];
    if (near(edge.begin)) return edge.begin;
    if (near(edge.end)) return edge.end;
  }
  return -1;
}

int TObjCont::FindCrossedEdge(int p, double x1, double y1, double x2, double y2) const {
  if (p < 0 || p > polygonCount_) return -1;
  const std::vector<int>& list = polygons_[static_cast<std::size_t>(p)].edges;
  for (std::size_t k = 0; k < list.size(); ++k) {
    const Edge& e = edges_[static_cast<std::size_t>(list[k])];
    const Node& b = nodes_[static_cast<std::size_t>(e.begin)];
    const Node& n = nodes_[static_cast<std::size_t>(e.end)];
    if (SegmentsCross(x1, y1, x2, y2, b.x, b.y, n.x, n.y)) return static_cast<int>(k);
  }
  return -1;
}

StatusCode TObjCont::AddPolygonVertex(double x, double y, double pixelSize) {
  if (!std::isfinite(x) || !std::isfinite(y)) return StatusCode::Rejected;
  const std::vector<int>& open = polygons_[static_cast<std::size_t>(polygonCount_)].edges;

  // The new segment, from the previous vertex, may cross no edge of any polygon.
  if (!open.empty() && ValidNode(LastNode())) {
    const double px = NodeX(LastNode());
    const double py = NodeY(LastNode());
    for (int p = 0; p <= polygonCount_; ++p) {
      if (FindCrossedEdge(p, px, py, x, y) != -1) return StatusCode::Crossing;
    }
  }

  // A click on an existing vertex never makes a second one there; it may only close the polygon.
  for (int p = 0; p <= polygonCount_; ++p) {
    const int v = FindVertexNear(p, x, y, pixelSize);
    if (v == -1) continue;
    const bool closes = p == polygonCount_ && open.size() >= 2 &&
                        v == edges_[static_cast<std::size_t>(open.front())].begin;
    if (!closes) return StatusCode::Rejected;
    // The closing edge must exist before the polygon is declared closed. It is refused only when
    // that pair is joined already (an open chain read from a file that returns to its start);
    // the polygon then stays open instead of closing on a duplicate.
    if (AddPolygonEdge(LastNode(), v) != StatusCode::Added) return StatusCode::Rejected;
    return ClosePolygon();
  }

  const int previous = LastNode();
  AddNode(x, y);
  if (!newPolygonPending_) AddPolygonEdge(previous, LastNode());
  newPolygonPending_ = false;
  return StatusCode::Added;
}

StatusCode TObjCont::MoveNode(int i, double x, double y) {
  if (!ValidNode(i) || !std::isfinite(x) || !std::isfinite(y)) return StatusCode::Rejected;
  for (int p = 0; p < polygonCount_; ++p) {
    const int v = FindVertexNear(p, x, y, 0.1);
    if (v == -1) continue;
    if (v != i) return StatusCode::Exists;
    break;
  }

  Node& node = nodes_[static_cast<std::size_t>(i)];
  if (node.isFree) {
    node.x = x;
    node.y = y;
    return StatusCode::Done;
  }

  int e1 = -1;
  int e2 = -1;
  for (int e = 0; e < EdgeCount() && e2 == -1; ++e) {
    const Edge& edge = edges_[static_cast<std::size_t>(e)];
    if (edge.begin != i && edge.end != i) continue;
    (e1 == -1 ? e1 : e2) = e;
  }
  if (e2 == -1) return StatusCode::Rejected;

  // Edge e as it would lie after the move, keeping its direction: node i's end goes to (x, y).
  struct Segment {
    double x1, y1, x2, y2;
  };
  auto moved = [&](int e) {
    const Edge& edge = edges_[static_cast<std::size_t>(e)];
    const Node& b = nodes_[static_cast<std::size_t>(edge.begin)];
    const Node& n = nodes_[static_cast<std::size_t>(edge.end)];
    return edge.begin == i ? Segment{x, y, n.x, n.y} : Segment{b.x, b.y, x, y};
  };
  const Segment s1 = moved(e1);
  const Segment s2 = moved(e2);
  for (int k = 0; k < EdgeCount(); ++k) {
    if (k == e1 || k == e2) continue;
    const Edge& edge = edges_[static_cast<std::size_t>(k)];
    const Node& b = nodes_[static_cast<std::size_t>(edge.begin)];
    const Node& n = nodes_[static_cast<std::size_t>(edge.end)];
    if (SegmentsCross(b.x, b.y, n.x, n.y, s1.x1, s1.y1, s1.x2, s1.y2) ||
        SegmentsCross(b.x, b.y, n.x, n.y, s2.x1, s2.y1, s2.x2, s2.y2)) {
      return StatusCode::Crossing;
    }
  }
  node.x = x;
  node.y = y;
  return StatusCode::Done;
}

}  // namespace tavrin

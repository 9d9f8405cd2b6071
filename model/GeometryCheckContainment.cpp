// The last step of the geometry check: every polygon after the outline, and every free node,
// inside the outline and not inside a hole. A horizontal ray to the right meets the edges of
// one row of the SegmentGrid; a polygon is around the point when the ray crosses it an odd
// number of times.
#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "model/GeometryChecker.h"
#include "model/SegmentGrid.h"
#include "model/TObjCont.h"

namespace tavrin::geometry_check {

std::vector<int> Checker::Enclosing(double x, double y, int skip) const {
  std::vector<int> odd;
  for (int e : grid_->InRow(y)) {
    const int p = edgePolygon_[static_cast<std::size_t>(e)];
    if (p == skip) continue;
    const int a = Begin(e), b = End(e);
    if ((Y(a) > y) == (Y(b) > y)) continue;
    if (X(a) + (y - Y(a)) * (X(b) - X(a)) / (Y(b) - Y(a)) <= x) continue;
    const auto it = std::find(odd.begin(), odd.end(), p);
    if (it == odd.end())
      odd.push_back(p);
    else
      odd.erase(it);
  }
  return odd;
}

std::string Checker::Placement(const std::string& what, double x, double y, int skip) const {
  const std::vector<int> inside = Enclosing(x, y, skip);
  if (std::find(inside.begin(), inside.end(), 0) == inside.end()) {
    return what + " lies outside the plate's outline (polygon 0).";
  }
  for (int p : inside) {
    if (IsHole(p)) return what + " lies inside polygon " + std::to_string(p) + ", a hole.";
  }
  return {};
}

std::string Checker::Containment() {
  for (int p = 1; p < job_.PolygonCount(); ++p) {
    if (loops_[static_cast<std::size_t>(p)].empty()) continue;
    const int n = loops_[static_cast<std::size_t>(p)][0];
    std::string problem = Placement("Polygon " + std::to_string(p), X(n), Y(n), p);
    if (!problem.empty()) return problem;
  }
  for (int n = 0; n < job_.NodeCount(); ++n) {
    if (!job_.IsFreeNode(n)) continue;
    const std::array<double, 3> k = job_.NodeSprings(n);
    const bool spring = k[0] != 0.0 || k[1] != 0.0 || k[2] != 0.0;
    std::string problem =
        Placement("Node " + std::to_string(n) + ", a free node" + (spring ? " on a spring," : ","),
                  X(n), Y(n), -1);
    if (!problem.empty()) return problem;
  }
  return {};
}

}  // namespace tavrin::geometry_check

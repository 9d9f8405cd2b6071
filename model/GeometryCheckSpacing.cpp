// The sizes of the geometry check: the plate's extent against its coordinates (which sets the
// clearance), an area for every polygon, and the spacing of the nodes. The spacing is a sweep in
// x keeping the nodes of the last clearance ordered by y, so each node meets only its few
// neighbours: O(n log n) in the nodes.
#include <algorithm>
#include <cmath>
#include <numeric>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "model/GeometryChecker.h"
#include "model/TObjCont.h"

namespace tavrin::geometry_check {

namespace {

// Unsigned area, relative to the squared extent, at which a polygon counts as a line: rounding
// noise of the cross products, far below any drawable sliver.
constexpr double kFlat = 1e-12;

}  // namespace

std::string Checker::Extent() {
  double largest = 0;
  for (int i = 0; i < job_.NodeCount(); ++i)
    largest = std::max({largest, std::fabs(X(i)), std::fabs(Y(i))});
  const std::vector<int>& outline = loops_[0];
  double xmin = X(outline[0]), xmax = xmin, ymin = Y(outline[0]), ymax = ymin;
  for (int n : outline) {
    xmin = std::min(xmin, X(n));
    xmax = std::max(xmax, X(n));
    ymin = std::min(ymin, Y(n));
    ymax = std::max(ymax, Y(n));
  }
  const double extent = std::max(xmax - xmin, ymax - ymin);
  if (extent < kMinRelativeExtent * largest) {
    return "The plate spans only " + Num(extent) + " at coordinates up to " + Num(largest) +
           ": it must span at least " + Num(kMinRelativeExtent) +
           " of its largest coordinate; move it nearer the origin or draw it in smaller units.";
  }
  // The triangulation's side tests compare products of coordinates: a feature this much
  // smaller than the plate reads as rounding noise there, and the plate meshed to nothing.
  extent_ = extent;
  clearance_ = std::max(kMinNodeDistance, kMinRelativeSpacing * extent);
  return {};
}

std::string Checker::Areas() {
  for (std::size_t p = 0; p < loops_.size(); ++p) {
    const std::vector<int>& loop = loops_[p];
    if (loop.empty()) continue;
    double fan = 0, xmin = X(loop[0]), xmax = xmin, ymin = Y(loop[0]), ymax = ymin;
    for (std::size_t k = 1; k < loop.size(); ++k) {
      xmin = std::min(xmin, X(loop[k]));
      xmax = std::max(xmax, X(loop[k]));
      ymin = std::min(ymin, Y(loop[k]));
      ymax = std::max(ymax, Y(loop[k]));
      if (k + 1 < loop.size()) {
        fan += std::fabs(
            Orient(X(loop[0]), Y(loop[0]), X(loop[k]), Y(loop[k]), X(loop[k + 1]), Y(loop[k + 1])));
      }
    }
    // Relative to the polygon's size: a tiny polygon is a matter of node spacing, named later.
    const double extent = std::max(xmax - xmin, ymax - ymin);
    if (fan <= kFlat * extent * extent) {
      return "Polygon " + std::to_string(p) + " encloses no area: its nodes lie on one line.";
    }
  }
  return {};
}

std::string Checker::NodeSpacing() {
  const int count = job_.NodeCount();
  std::vector<int> order(static_cast<std::size_t>(count));
  std::iota(order.begin(), order.end(), 0);
  std::sort(order.begin(), order.end(), [&](int a, int b) {
    return std::make_tuple(X(a), Y(a), a) < std::make_tuple(X(b), Y(b), b);
  });
  std::set<std::pair<double, int>>
      window;  // by y: the nodes less than the spacing left of the sweep
  std::size_t oldest = 0;
  for (int n : order) {
    while (X(order[oldest]) <= X(n) - clearance_) {
      window.erase({Y(order[oldest]), order[oldest]});
      ++oldest;
    }
    for (auto it = window.lower_bound({Y(n) - clearance_, -1});
         it != window.end() && it->first < Y(n) + clearance_; ++it) {
      const int m = it->second;
      const double distance = std::hypot(X(n) - X(m), Y(n) - Y(m));
      if (distance >= clearance_) continue;
      const int a = std::min(n, m), b = std::max(n, m);
      const std::string pair = "Nodes " + std::to_string(a) + " and " + std::to_string(b);
      if (distance == 0) return pair + " are at the same place, " + At(X(a), Y(a)) + ".";
      return pair + " are only " + Num(distance) + " apart, at " + At(X(a), Y(a)) +
             ": nodes must be at least " + Num(clearance_) + " apart" + ClearanceReason() + ".";
    }
    window.insert({Y(n), n});
  }
  return {};
}

}  // namespace tavrin::geometry_check

#include "analysis/AdaptiveSizes.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "analysis/TGlobMatrix.h"
#include "mesh/SizeField.h"

namespace tavrin {

namespace {

double ElementArea(const TGlobMatrix& s, int t) {
  const int a = s.TriangleCorner(t, 0), b = s.TriangleCorner(t, 1), c = s.TriangleCorner(t, 2);
  return 0.5 * std::fabs((s.NodeX(b) - s.NodeX(a)) * (s.NodeY(c) - s.NodeY(a)) -
                         (s.NodeY(b) - s.NodeY(a)) * (s.NodeX(c) - s.NodeX(a)));
}

}  // namespace

std::vector<double> TargetAreas(const TGlobMatrix& solved, double target) {
  const int n = solved.ResultTriangleCount();
  const double estimate = solved.ErrorEstimate();
  if (n == 0 || !(estimate >= 0) || !(target > 0)) return {};
  double sum = 0;
  for (int t = 0; t < n; ++t) sum += solved.ElementError(t) * solved.ElementError(t);
  std::vector<double> areas(static_cast<std::size_t>(n));
  // U + sum e^2 from the estimate; with no error at all every element may grow.
  const double total = estimate > 0 ? sum / (estimate * estimate) : 0.0;
  // Each cycle aims at most at half the present estimate: the rule's prediction is only as good
  // as the estimate's rate, which is poor on a coarse mesh around a singularity, and a cycle
  // that jumps a hundredfold in elements everywhere is no better than uniform refinement.
  // The last cycle aims a little below the target: its mesh lands on either side of its aim.
  const double aim = std::fmax(kTargetMargin * target, kMostReduction * estimate);
  const double allowed = aim * std::sqrt(total / n);
  for (int t = 0; t < n; ++t) {
    const double e = solved.ElementError(t);
    double factor = kMostGrowth;
    if (allowed > 0 && e > 0)
      factor = std::clamp(allowed * allowed / (e * e), kMostShrink, kMostGrowth);
    areas[static_cast<std::size_t>(t)] = ElementArea(solved, t) * factor;
  }
  return areas;
}

double PredictedElements(const TGlobMatrix& solved, const std::vector<double>& targets) {
  double count = 0;
  for (int t = 0; t < solved.ResultTriangleCount() && t < static_cast<int>(targets.size()); ++t)
    count += ElementArea(solved, t) / targets[static_cast<std::size_t>(t)];
  return count;
}

std::shared_ptr<const SizeField> AdaptedSizeField(const TGlobMatrix& solved,
                                                  const std::vector<double>& targets,
                                                  double gradation) {
  std::vector<double> x, y;
  for (int v = 0; v < solved.ResultNodeCount(); ++v) {
    x.push_back(solved.NodeX(v));
    y.push_back(solved.NodeY(v));
  }
  std::vector<std::array<int, 3>> triangles;
  for (int t = 0; t < solved.ResultTriangleCount(); ++t)
    triangles.push_back(
        {solved.TriangleCorner(t, 0), solved.TriangleCorner(t, 1), solved.TriangleCorner(t, 2)});
  return std::make_shared<SizeField>(std::move(x), std::move(y), std::move(triangles), targets,
                                     gradation);
}

}  // namespace tavrin

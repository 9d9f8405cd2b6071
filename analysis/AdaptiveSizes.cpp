#include "analysis/AdaptiveSizes.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "analysis/TGlobMatrix.h"
#include "mesh/SizeField.h"

namespace tavrin {

namespace {

double ElementArea(const TGlobMatrix& s, int t) {
  const int a = s.TriangleCorner(t, 0), b = s.TriangleCorner(t, 1), c = s.TriangleCorner(t, 2);
  return 0.5 * std::fabs((s.NodeX(b) - s.NodeX(a)) * (s.NodeY(c) - s.NodeY(a)) -
                         (s.NodeY(b) - s.NodeY(a)) * (s.NodeX(c) - s.NodeX(a)));
}

// The area factor of an element of error e under the common error e*.
double Factor(double e, double common) {
  return e > 0 ? std::clamp(common * common / (e * e), kMostShrink, kMostGrowth) : kMostGrowth;
}

std::vector<double> Areas(const TGlobMatrix& solved, double common) {
  std::vector<double> areas(static_cast<std::size_t>(solved.ResultTriangleCount()));
  for (int t = 0; t < solved.ResultTriangleCount(); ++t)
    areas[static_cast<std::size_t>(t)] =
        ElementArea(solved, t) * Factor(solved.ElementError(t), common);
  return areas;
}

}  // namespace

bool WithinLastStep(double estimate, double target) {
  return kMostReduction * estimate <= kTargetMargin * target;
}

double NextElementCount(int elements, double estimate, int previousElements,
                        double previousEstimate, double target) {
  const double aim = kTargetMargin * target;
  double rate = kOptimalRate;
  // A count that hardly changed says nothing of the rate.
  constexpr double kLeastGrowthMeasured = 1.3;
  if (previousElements > 0 && elements > kLeastGrowthMeasured * previousElements && estimate > 0 &&
      previousEstimate > 0)
    rate = std::clamp(std::log(previousEstimate / estimate) /
                          std::log(static_cast<double>(elements) / previousElements),
                      kSlowestRate, kOptimalRate);
  if (!(estimate > aim)) return elements;
  return elements * std::fmin(std::pow(estimate / aim, 1 / rate), kMostElementGrowth);
}

std::vector<double> TargetAreas(const TGlobMatrix& solved, double target) {
  const int n = solved.ResultTriangleCount();
  const double estimate = solved.ErrorEstimate();
  if (n == 0 || !(estimate >= 0) || !(target > 0)) return {};
  double sum = 0;
  for (int t = 0; t < n; ++t) sum += solved.ElementError(t) * solved.ElementError(t);
  // U + sum e^2 from the estimate; with no error at all every element may grow.
  const double total = estimate > 0 ? sum / (estimate * estimate) : 0.0;
  // Each cycle aims at most at half the present estimate: the rule's prediction is only as good
  // as the estimate's rate, which is poor on a coarse mesh around a singularity, and a cycle
  // that jumps a hundredfold in elements everywhere is no better than uniform refinement.
  const double aim = std::fmax(kTargetMargin * target, kMostReduction * estimate);
  return Areas(solved, aim * std::sqrt(total / n));
}

std::vector<double> TargetAreasForCount(const TGlobMatrix& solved, double wanted) {
  const int n = solved.ResultTriangleCount();
  if (n == 0 || !(solved.ErrorEstimate() >= 0) || !(wanted > 0)) return {};
  double least = std::numeric_limits<double>::infinity(), most = 0;
  for (int t = 0; t < n; ++t) {
    const double e = solved.ElementError(t);
    if (e > 0) {
      least = std::fmin(least, e);
      most = std::fmax(most, e);
    }
  }
  if (!(most > 0)) return Areas(solved, 1);  // no error anywhere: every element may grow
  const auto count = [&](double common) {
    double sum = 0;
    for (int t = 0; t < n; ++t) sum += 1 / Factor(solved.ElementError(t), common);
    return sum;
  };
  // The count falls as e* grows; beyond these bounds every factor is at a limit.
  double low = std::log(least * std::sqrt(kMostShrink)), high = std::log(most * 2 * kMostGrowth);
  for (int step = 0; step < 60; ++step) {
    const double middle = 0.5 * (low + high);
    (count(std::exp(middle)) > wanted ? low : high) = middle;
  }
  return Areas(solved, std::exp(high));
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

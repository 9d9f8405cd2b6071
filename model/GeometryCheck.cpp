// The checks run from the cheapest and most basic to the costliest, each assuming the ones
// before it passed: loops before coordinates are compared, coordinates bounded before they are
// multiplied, nodes apart before edges are tested for crossing, edges apart before a ray may
// decide what lies inside what. The steps are in the GeometryCheck*.cpp files named in
// GeometryChecker.h; here are their order and the texts their messages share.
#include "model/GeometryCheck.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "model/ArcCheck.h"
#include "model/GeometryChecker.h"
#include "model/NumberFormat.h"
#include "model/SegmentGrid.h"
#include "model/SupportCheck.h"
#include "model/TObjCont.h"

namespace tavrin {

namespace geometry_check {

std::string Num(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", v);
  return text;
}

// An offending value in full: rounded, 1.0000001e30 would read as the limit it exceeds.
std::string Exact(double v) { return ShortestNumber(v); }

std::string At(double x, double y) {
  char text[72];
  std::snprintf(text, sizeof text, "(%g, %g)", x, y);
  return text;
}

std::string EdgeList(const std::vector<int>& edges) {
  if (edges.size() == 1) return "edge " + std::to_string(edges[0]);
  std::string s = "edges ";
  const std::size_t shown = std::min<std::size_t>(edges.size(), 4);
  for (std::size_t k = 0; k < shown; ++k) {
    if (k > 0) s += (k + 1 == edges.size()) ? " and " : ", ";
    s += std::to_string(edges[k]);
  }
  if (shown < edges.size()) s += ", ... (" + std::to_string(edges.size()) + " edges)";
  return s;
}

Checker::Checker(const TObjCont& job) : job_(job) {
  for (int i = 0; i < job.NodeCount(); ++i) {
    x_.push_back(job.NodeX(i));
    y_.push_back(job.NodeY(i));
  }
  for (int e = 0; e < job.EdgeCount(); ++e) ends_.push_back({job.EdgeBegin(e), job.EdgeEnd(e)});
}

Checker::~Checker() = default;

bool Checker::IsHole(int polygon) const { return polygon > 0 && job_.IsHole(polygon); }

std::string Checker::Run() {
  std::string problem = Loops();
  if (problem.empty()) problem = Magnitudes();
  if (problem.empty()) problem = Physics();
  if (problem.empty()) problem = ElasticSupportProblem(job_);
  if (problem.empty()) problem = Extent();
  if (problem.empty()) problem = Areas();
  if (problem.empty()) problem = Displacements();
  if (problem.empty()) problem = NodeSpacing();
  if (problem.empty()) problem = CheckArcs(job_, clearance_);
  if (problem.empty()) {
    BuildGrid();
    problem = NodesOffEdges();
  }
  if (problem.empty()) problem = Crossings();
  if (problem.empty()) problem = Containment();
  return problem;
}

std::string Checker::ClearanceReason() const {
  if (clearance_ == kMinNodeDistance) return {};
  return " in a plate spanning " + Num(extent_) + " (" + Num(kMinRelativeSpacing) + " of its span)";
}

}  // namespace geometry_check

GeometryCheckResult CheckGeometry(const TObjCont& job) {
  std::string problem = geometry_check::Checker(job).Run();
  if (problem.empty()) return {};
  return {false, std::move(problem)};
}

}  // namespace tavrin

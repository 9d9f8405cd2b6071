// FEM: when a mesh is usable. Triangles at input corners sharper than the minimal angle cannot
// meet it and are exempt (InputCorners); a refinement that was stopped is judged on every
// triangle, since it may have stopped anywhere.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <string>

#include "mesh/FEM.h"
#include "mesh/FinishingRefinement.h"
#include "mesh/GeometricPredicates.h"
#include "mesh/InputCorners.h"

namespace tavrin {

bool FEM::IsUsable(double minAngleDegrees) const {
  if (TriangleCount() == 0) return false;
  // A triangle whose corners lie on one line has no stiffness to assemble, whatever the bound:
  // an angle of 0 "meets" a bound of 0.
  for (int t = 0; t < TriangleCount(); ++t)
    if (OrientationSign(Node(TriangleNode(t, 0)), Node(TriangleNode(t, 1)),
                        Node(TriangleNode(t, 2))) == 0)
      return false;
  const double angle = stop_ == MeshStop::None ? MinAngleFree(minAngleDegrees) : currentMinAngle_;
  return angle >= BoundRadians(minAngleDegrees);
}

bool FEM::ShortOfBounds() {
  if (TriangleCount() == 0) return false;
  if (currentMinAngle_ < BoundRadians(minAngleDegrees_)) return true;
  if (sizeField_) {
    for (int t = 0; t < TriangleCount(); ++t)
      if (!(MeasuredArea(t) < AreaBound(t))) return true;
    return false;
  }
  return maxArea_ > 0 && MeasuredArea(LargestTriangle()) >= maxArea_;
}

namespace {

std::string Printed(const char* format, double a, double b = 0, double c = 0) {
  char text[160];
  std::snprintf(text, sizeof text, format, a, b, c);
  return text;
}

void Append(std::string& reason, const std::string& part) {
  if (!reason.empty()) reason += "; ";
  reason += part;
}

// Whether the finishing stage ran, for a bound missed without a stop.
std::string FinishingNote(bool ran, double boundDegrees) {
  if (ran) return " after the finishing stage";
  if (!FinishingRefinement::Applies(boundDegrees))
    return Printed(
        " (the finishing stage guarantees bounds up to %.4g degrees only, and did not "
        "run)",
        FinishingRefinement::kHighestBound);
  return "";
}

}  // namespace

// The corner classification and every figure that needs the triangles come from one walk over
// them, each triangle's nodes read once: the walks each of them took apart cost a few per cent
// of a small mesh's time. Each figure is what its own query gives (MinAngleFree, IsUsable,
// TriangleArea), computed the same way.
MeshStatistics FEM::ClassifyAndMeasure() {
  cornerTriangles_.clear();
  const InputCorners corners(*this, inputNodes_);
  const bool anyCorners = corners.SegmentCount() > 0;
  MeshStatistics s;
  bool flat = false;
  double smallestFree = kMeshPi;
  for (int t = 0; t < TriangleCount(); ++t) {
    const std::array<int, 3> v = TriangleNodes(t);
    const MeshPoint a = Node(v[0]), b = Node(v[1]), c = Node(v[2]);
    const double cornerAngle = anyCorners ? corners.CornerAngle(v) : InputCorners::kNoCorner;
    if (cornerAngle < InputCorners::kNoCorner) cornerTriangles_.emplace_back(t, cornerAngle);
    if (!(MeshDegrees(cornerAngle) < minAngleDegrees_))
      smallestFree = std::fmin(smallestFree, triangles_.MinAngle(t));
    if (OrientationSign(a, b, c) == 0) flat = true;
    const double area = tavrin::TriangleArea(a, b, c);
    s.largestArea = std::fmax(s.largestArea, area);
    if (sizeField_ ? area >= AreaBound(t) : maxArea_ > 0 && area >= maxArea_)
      ++s.trianglesAboveArea;
  }
  s.nodeCount = NodeCount();
  s.elementCount = TriangleCount();
  s.minAngle = static_cast<float>(MeshDegrees(currentMinAngle_));
  const double freeAngle = cornerTriangles_.empty() ? currentMinAngle_ : smallestFree;
  s.minAngleFree = static_cast<float>(MeshDegrees(freeAngle));
  s.inputCornerTriangles = InputCornerTriangles(minAngleDegrees_);
  s.stop = stop_;
  s.minAngleAsked = static_cast<float>(minAngleDegrees_);
  s.usable =
      TriangleCount() > 0 && !flat &&
      (stop_ == MeshStop::None ? freeAngle : currentMinAngle_) >= BoundRadians(minAngleDegrees_);
  s.maxAreaAsked = maxArea_;
  s.finishingRan = finishingRan_;

  if (TriangleCount() == 0) {
    s.reason = "the mesh has no elements";
    return s;
  }
  if (stop_ == MeshStop::User) s.reason = "the refinement was stopped by the user";
  if (stop_ == MeshStop::NodeLimit)
    s.reason = "the refinement stopped at the node limit of " + std::to_string(maxNodes_);
  // The angle the usable test reads, in true degrees, so that the figure and the test agree.
  const double tested = stop_ == MeshStop::None ? freeAngle : currentMinAngle_;
  const double bound = BoundRadians(minAngleDegrees_);
  const std::string finishing =
      stop_ == MeshStop::None ? FinishingNote(finishingRan_, minAngleDegrees_) : "";
  if (!s.usable && tested >= bound) {
    Append(s.reason, "an element has its three corners on one line");
  } else if (!s.usable) {
    const double degrees = tested / bound * minAngleDegrees_;
    Append(s.reason, Printed("smallest angle %.10g degrees, %.3g below the minimal angle %.9g",
                             degrees, minAngleDegrees_ - degrees, minAngleDegrees_) +
                         finishing);
  }
  if (s.trianglesAboveArea > 0 && sizeField_)
    Append(s.reason, std::to_string(s.trianglesAboveArea) +
                         " elements not below the size field's area (the largest element " +
                         Printed("%.9g)", s.largestArea) + finishing);
  else if (s.trianglesAboveArea > 0)
    Append(s.reason, std::to_string(s.trianglesAboveArea) +
                         Printed(" elements not below the maximal area %.9g (the largest %.9g, "
                                 "%.4g times it)",
                                 maxArea_, s.largestArea, s.largestArea / maxArea_) +
                         finishing);
  return s;
}

double FEM::MinAngleFree(double boundDegrees) const {
  if (cornerTriangles_.empty()) return currentMinAngle_;
  double smallest = kMeshPi;
  auto corner = cornerTriangles_.begin();
  for (int t = 0; t < TriangleCount(); ++t) {
    if (corner != cornerTriangles_.end() && corner->first == t) {
      const bool exempt = MeshDegrees(corner->second) < boundDegrees;
      ++corner;
      if (exempt) continue;
    }
    smallest = std::fmin(smallest, triangles_.MinAngle(t));
  }
  return smallest;
}

int FEM::InputCornerTriangles(double boundDegrees) const {
  int count = 0;
  for (const auto& [t, angle] : cornerTriangles_) count += MeshDegrees(angle) < boundDegrees;
  return count;
}

double FEM::CornerAngle(int t) const {
  const auto at =
      std::lower_bound(cornerTriangles_.begin(), cornerTriangles_.end(), t,
                       [](const auto& entry, int value) { return entry.first < value; });
  return at != cornerTriangles_.end() && at->first == t ? at->second : InputCorners::kNoCorner;
}

void FEM::StopAtNodeLimit() {
  running_ = false;
  stop_ = MeshStop::NodeLimit;
}

}  // namespace tavrin

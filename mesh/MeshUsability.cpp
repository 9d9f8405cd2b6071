// FEM: when a mesh is usable. Triangles at input corners sharper than the minimal angle cannot
// meet it and are exempt (InputCorners); a refinement that was stopped is judged on every
// triangle, since it may have stopped anywhere.
#include <algorithm>
#include <cmath>

#include "mesh/FEM.h"
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
  return MeshDegrees(angle) >= minAngleDegrees;
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

void FEM::ClassifyInputCorners() {
  cornerTriangles_.clear();
  const InputCorners corners(*this, inputNodes_);
  if (corners.SegmentCount() == 0) return;
  for (int t = 0; t < TriangleCount(); ++t) {
    const double angle = corners.CornerAngle(t);
    if (angle < InputCorners::kNoCorner) cornerTriangles_.emplace_back(t, angle);
  }
}

void FEM::StopAtNodeLimit() {
  running_ = false;
  stop_ = MeshStop::NodeLimit;
}

}  // namespace tavrin

#include "mesh/MeshParameters.h"

#include <cmath>

namespace tavrin {

bool MinAngleAccepted(double degrees) { return degrees >= 0 && degrees <= kMaxMinAngle; }

bool MaxAreaAccepted(double area) { return area > 0 && std::isfinite(area); }

MeshParameters& GlobalMeshParameters() {
  static MeshParameters parameters;
  return parameters;
}

MeshStatistics& GlobalMeshStatistics() {
  static MeshStatistics statistics;
  return statistics;
}

}  // namespace tavrin

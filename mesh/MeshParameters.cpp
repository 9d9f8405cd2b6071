#include "mesh/MeshParameters.h"

#include <cmath>
#include <cstdio>

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

std::string MeshVerdict(const MeshStatistics& s) {
  if (s.nodeCount == 0) return "";
  if (s.elementCount == 0) return "Not usable: the mesh has no elements.";
  char text[240];
  const double asked = s.minAngleAsked;
  if (s.stop != MeshStop::None) {
    const char* by = s.stop == MeshStop::User ? "by the user" : "at the node limit";
    if (s.usable)
      std::snprintf(text, sizeof text,
                    "Stopped %s: usable, but elements may exceed the maximal area.", by);
    else
      std::snprintf(text, sizeof text,
                    "Stopped %s: not usable, smallest angle %.4g below %.4g degrees; elements "
                    "may exceed the maximal area.",
                    by, static_cast<double>(s.minAngle), asked);
  } else if (s.usable) {
    if (s.inputCornerTriangles > 0)
      std::snprintf(text, sizeof text,
                    "Usable: %d elements at input corners sharper than %.4g degrees are exempt.",
                    s.inputCornerTriangles, asked);
    else
      std::snprintf(text, sizeof text, "Usable.");
  } else {
    std::snprintf(text, sizeof text, "Not usable: smallest angle %.4g below %.4g degrees.",
                  static_cast<double>(s.minAngleFree), asked);
  }
  return text;
}

}  // namespace tavrin

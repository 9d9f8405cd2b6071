#include "mesh/MeshParameters.h"

#include <cmath>
#include <cstdio>
#include <limits>

namespace tavrin {

bool MinAngleAccepted(double degrees) { return degrees >= 0 && degrees <= kMaxMinAngle; }

bool MaxAreaAccepted(double area) { return area > 0 && std::isfinite(area); }

float StoredMaxArea(double area) {
  if (!(area > 0)) return static_cast<float>(area);
  if (area >= std::numeric_limits<float>::max()) return std::numeric_limits<float>::max();
  const float stored = static_cast<float>(area);
  return stored > 0 ? stored : std::numeric_limits<float>::denorm_min();
}

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
  } else if (s.usable && !s.reason.empty()) {
    return "Usable, but " + s.reason + ".";
  } else if (s.usable) {
    if (s.inputCornerTriangles > 0)
      std::snprintf(text, sizeof text,
                    "Usable: %d elements at input corners sharper than %.4g degrees are exempt.",
                    s.inputCornerTriangles, asked);
    else
      std::snprintf(text, sizeof text, "Usable.");
  } else if (!s.reason.empty()) {
    return "Not usable: " + s.reason + ".";
  } else {
    std::snprintf(text, sizeof text, "Not usable: smallest angle %.4g below %.4g degrees.",
                  static_cast<double>(s.minAngleFree), asked);
  }
  return text;
}

}  // namespace tavrin

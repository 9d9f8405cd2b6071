// Spring and foundation values, entity by entity, in table order.
#include "model/SupportCheck.h"

#include <cmath>
#include <cstdio>

#include "model/ConstraintCode.h"
#include "model/GeometryCheck.h"
#include "model/NumberFormat.h"
#include "model/TObjCont.h"

namespace tavrin {

namespace {

const char* const kFreedom[3] = {"lin. Z", "rot. X", "rot. Y"};

bool Sound(double k) { return k >= 0.0 && k <= kMaxPhysicalValue; }  // false for NaN

std::string Bounds() {
  char text[160];
  std::snprintf(text, sizeof text,
                ": spring stiffnesses and foundation moduli must be finite, not negative and at "
                "most %g.",
                kMaxPhysicalValue);
  return text;
}

}  // namespace

std::string ElasticSupportProblem(const TObjCont& job) {
  for (int pass = 0; pass < 2; ++pass) {
    const bool node = pass == 0;
    const int count = node ? job.NodeCount() : job.EdgeCount();
    for (int i = 0; i < count; ++i) {
      const std::array<double, 3> k = node ? job.NodeSprings(i) : job.EdgeSprings(i);
      const ConstrainedFreedoms held = DecodeConstraintCode(job.GetConstraintCode(i, node));
      const std::string what = std::string(node ? "Node " : "Edge ") + std::to_string(i);
      for (std::size_t d = 0; d < k.size(); ++d) {
        if (!Sound(k[d]))
          return what + " has a spring (" + kFreedom[d] + ") of " + ShortestNumber(k[d]) + Bounds();
        if (k[d] != 0.0 && held[d])
          return what + " is held rigidly in " + kFreedom[d] +
                 " and also on a spring there: a freedom is either held or elastic.";
      }
    }
  }
  for (int p = 0; p < job.PolygonCount(); ++p) {
    if (!Sound(job.Foundation(p)))
      return "Polygon " + std::to_string(p) + " has a foundation modulus of " +
             ShortestNumber(job.Foundation(p)) + Bounds();
  }
  return {};
}

}  // namespace tavrin

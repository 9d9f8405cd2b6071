// The bounds of the geometry check on numbers: coordinates, loads, prescribed displacements,
// pressures and the physics of every plate polygon, so that the element's products stay far
// from overflow. Linear in the nodes, edges and polygons.
#include <array>
#include <cmath>
#include <string>

#include "model/ConstraintCode.h"
#include "model/DisplacementBound.h"
#include "model/GeometryChecker.h"
#include "model/TObjCont.h"

namespace tavrin::geometry_check {

namespace {

const char* const kFreedom[3] = {"lin. Z", "rot. X", "rot. Y"};

// Asks `check` of every node's, then every edge's record: (is a node, index, values, held
// freedoms); the first answer that is not empty ends the walk and is returned.
template <typename Check>
std::string EachRecord(const TObjCont& job, const Check& check) {
  std::array<double, 6> values{};
  int code = 0;
  for (int pass = 0; pass < 2; ++pass) {
    const bool node = pass == 0;
    const int count = node ? job.NodeCount() : job.EdgeCount();
    for (int i = 0; i < count; ++i) {
      if (node)
        job.GetNodeAttributes(i, values, code);
      else
        job.GetEdgeAttributes(i, values, code);
      std::string problem = check(node, i, values, DecodeConstraintCode(code));
      if (!problem.empty()) return problem;
    }
  }
  return {};
}

}  // namespace

std::string Checker::Magnitudes() {
  for (int i = 0; i < job_.NodeCount(); ++i) {
    const double x = X(i), y = Y(i);
    if (!(std::fabs(x) <= kMaxCoordinate && std::fabs(y) <= kMaxCoordinate)) {
      return "Node " + std::to_string(i) + " lies at (" + Exact(x) + ", " + Exact(y) + ")" +
             ": coordinates must be finite and at most " + Num(kMaxCoordinate) + " in magnitude.";
    }
  }
  return EachRecord(job_,
                    [](bool node, int i, const std::array<double, 6>& values,
                       const ConstrainedFreedoms& fixed) -> std::string {
                      for (int d = 0; d < 6; ++d) {
                        const bool displacement = d < 3;
                        if (displacement && !fixed[static_cast<std::size_t>(d)])
                          continue;  // not prescribed
                        const double v = values[static_cast<std::size_t>(d)];
                        if (std::fabs(v) <= kMaxPhysicalValue) continue;
                        return std::string(node ? "Node " : "Edge ") + std::to_string(i) +
                               " has a " + (displacement ? "prescribed displacement" : "load") +
                               " (" + kFreedom[d % 3] + ") of " + Exact(v) +
                               ": loads, displacements and pressures must be finite and at most " +
                               Num(kMaxPhysicalValue) + " in magnitude.";
                      }
                      return {};
                    });
}

std::string Checker::Physics() {
  for (int p = 0; p < job_.PolygonCount(); ++p) {
    if (job_.PolygonEdgeCount(p) == 0 || IsHole(p)) continue;
    const PolygonPhysics ph = job_.Physics(p);
    const std::string polygon = "Polygon " + std::to_string(p) + " has ";
    if (!(std::fabs(ph.pressure) <= kMaxPhysicalValue)) {
      return polygon + "a pressure of " + Exact(ph.pressure) + ": it must be finite and at most " +
             Num(kMaxPhysicalValue) + " in magnitude.";
    }
    if (!(ph.eModulus > 0 && ph.eModulus <= kMaxPhysicalValue)) {
      return polygon + "an E modulus of " + Exact(ph.eModulus) +
             ": it must be positive and at most " + Num(kMaxPhysicalValue) + ".";
    }
    if (!(ph.thickness > 0 && ph.thickness <= kMaxThickness)) {
      return polygon + "a thickness of " + Exact(ph.thickness) +
             ": it must be positive and at most " + Num(kMaxThickness) + ".";
    }
    if (!(ph.nu > -1 && ph.nu < 1)) {
      return polygon + "a Poisson ratio of " + Exact(ph.nu) +
             ": it must lie strictly between -1 and 1.";
    }
    if (!std::isfinite(ph.reinforcementAngle)) {
      return polygon + "a reinforcement angle of " + Exact(ph.reinforcementAngle) +
             ": it must be a finite number of degrees.";
    }
  }
  return {};
}

// A rotation counts as its slope over the span.
std::string Checker::Displacements() {
  const DisplacementBound bound = PrescribedDisplacementBound(job_, extent_);
  const double span = extent_;
  return EachRecord(
      job_,
      [&](bool node, int i, const std::array<double, 6>& values,
          const ConstrainedFreedoms& fixed) -> std::string {
        for (int d = 0; d < 3; ++d) {
          const double v = values[static_cast<std::size_t>(d)];
          const double reach = d == 0 ? std::fabs(v) : std::fabs(v) * span;
          if (!fixed[static_cast<std::size_t>(d)] || reach <= bound.limit) continue;
          return std::string(node ? "Node " : "Edge ") + std::to_string(i) +
                 " has a prescribed displacement (" + kFreedom[d] + ") of " + Exact(v) +
                 (d == 0 ? ": beyond " : " (times the span): beyond ") + Num(bound.limit) +
                 ", the most double precision carries next to the plate's own deflections (" +
                 Num(kMaxDisplacementRatio) +
                 " times the larger of its span and its loads' deflection, " + Num(bound.scale) +
                 ").";
        }
        return {};
      });
}

}  // namespace tavrin::geometry_check

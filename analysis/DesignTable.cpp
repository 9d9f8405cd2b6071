// One row of design values from the moments, stresses and shear of a point; every node and
// element in turn.
#include "analysis/DesignTable.h"

#include <cmath>

#include "analysis/DesignFields.h"
#include "analysis/WoodArmer.h"

namespace tavrin {

const char* const kDesignColumnNames[kDesignColumns] = {
    "m_1",         "m_2",         "m_angle",  "q_x",      "q_y",           "q",
    "wa_x_bottom", "wa_y_bottom", "wa_x_top", "wa_y_top", "von_mises_top", "von_mises_bottom"};

namespace {

// stress: sigma_x, sigma_y, tau_xy (of the top face); moment: m_x, m_y, m_xy; shear: q_x, q_y;
// angle: of the steel, degrees from x.
void Row(const double* stress, const double* moment, const double* shear, double angle,
         double* out) {
  const PrincipalMoments p = Principal(moment[0], moment[1], moment[2]);
  const ReinforcementMoments w = WoodArmerAt(-moment[0], -moment[1], -moment[2], angle);
  const double values[kDesignColumns] = {p.m1,
                                         p.m2,
                                         p.angle,
                                         shear[0],
                                         shear[1],
                                         std::hypot(shear[0], shear[1]),
                                         w.xBottom,
                                         w.yBottom,
                                         w.xTop,
                                         w.yTop,
                                         VonMises(stress[0], stress[1], stress[2]),
                                         VonMises(-stress[0], -stress[1], -stress[2])};
  for (int k = 0; k < kDesignColumns; ++k) out[k] = values[k];
}

}  // namespace

DesignAngles DesignAnglesOf(const PlateMesh& mesh, const std::vector<std::array<int, 3>>& corners,
                            int nodes) {
  DesignAngles a;
  bool any = false;
  for (const ElementPhysics& m : mesh.materials) any = any || m.reinforcementAngle != 0.0;
  if (!any) return a;
  a.node.assign(static_cast<std::size_t>(nodes), 0.0);
  std::vector<bool> set(static_cast<std::size_t>(nodes), false);
  for (std::size_t t = 0; t < corners.size() && t < mesh.materials.size(); ++t) {
    const double angle = mesh.materials[t].reinforcementAngle;
    a.element.push_back(angle);
    for (const int v : corners[t]) {
      const auto at = static_cast<std::size_t>(v);
      if (v < 0 || v >= nodes || set[at]) continue;
      set[at] = true;
      a.node[at] = angle;
    }
  }
  return a;
}

DesignColumns ComputeDesignColumns(const ResultSet& set, const ShearRecovery& shear,
                                   const DesignAngles& angles) {
  auto angleOf = [](const std::vector<double>& list, std::size_t at) {
    return at < list.size() ? list[at] : 0.0;
  };
  std::vector<double> elementMoments(3 * static_cast<std::size_t>(set.elements));
  for (int t = 0; t < set.elements; ++t)
    for (int c = 0; c < 3; ++c)
      elementMoments[3 * static_cast<std::size_t>(t) + static_cast<std::size_t>(c)] =
          set.Element(t, 4 + c);
  std::vector<double> nodeShear, elementShear;
  shear.Recover(elementMoments, nodeShear, elementShear);

  DesignColumns d;
  d.node.resize(kDesignColumns * static_cast<std::size_t>(set.nodes));
  for (int v = 0; v < set.nodes; ++v) {
    const auto at = static_cast<std::size_t>(v);
    const double* row = &set.node[ResultSet::kNodeColumns * at];
    Row(row + 3, row + 6, &nodeShear[2 * at], angleOf(angles.node, at),
        &d.node[kDesignColumns * at]);
  }
  d.element.resize(kDesignColumns * static_cast<std::size_t>(set.elements));
  for (int t = 0; t < set.elements; ++t) {
    const auto at = static_cast<std::size_t>(t);
    const double* row = &set.element[ResultSet::kElementColumns * at];
    Row(row + 1, row + 4, &elementShear[2 * at], angleOf(angles.element, at),
        &d.element[kDesignColumns * at]);
  }
  return d;
}

}  // namespace tavrin

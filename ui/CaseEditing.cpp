#include "ui/CaseEditing.h"

namespace tavrin {

void ShowCaseValues(const TObjCont& job, SelectionKind kind, int index, EditRequest& r) {
  const LoadCases& cases = job.Cases();
  if (r.loadCase <= 0 || r.loadCase >= cases.CaseCount()) return;
  const LoadCase& c = cases.further[static_cast<std::size_t>(r.loadCase - 1)];
  const bool node = kind == SelectionKind::node;
  if (node || kind == SelectionKind::edge) {
    const LoadCase::Triple force = LoadCase::Get(node ? c.nodeForce : c.edgeForce, index);
    const LoadCase::Triple value =
        LoadCase::Get(node ? c.nodeDisplacement : c.edgeDisplacement, index);
    r.loadLinZ = force[0];
    r.loadRotX = force[1];
    r.loadRotY = force[2];
    r.dispLinZ = value[0];
    r.dispRotX = value[1];
    r.dispRotY = value[2];
  } else if (kind == SelectionKind::polygon) {
    r.pressure = c.Pressure(index);
  }
}

std::string ApplyCaseEdits(TObjCont& job, const EditRequest& r) {
  LoadCases cases = job.Cases();
  if (r.loadCase <= 0 || r.loadCase >= cases.CaseCount()) return {};
  LoadCase& c = cases.further[static_cast<std::size_t>(r.loadCase - 1)];
  const bool node = r.kind == SelectionKind::node, edge = r.kind == SelectionKind::edge;
  if (r.loadsChanged && (node || edge))
    LoadCase::Set(node ? c.nodeForce : c.edgeForce, r.index, {r.loadLinZ, r.loadRotX, r.loadRotY});
  if (r.constraintsChanged && (node || edge)) {
    // The first case's prescribed values stay; the code and springs are the structure's.
    std::array<double, 6> first{};
    int code = 0;
    if (node)
      job.GetNodeAttributes(r.index, first, code);
    else
      job.GetEdgeAttributes(r.index, first, code);
    const std::array<double, 3> kept{first[0], first[1], first[2]};
    if (node)
      (void)job.SetNodeSupport(r.index, r.constraintCode, kept, r.springs);
    else
      (void)job.SetEdgeSupport(r.index, r.constraintCode, kept, r.springs);
    LoadCase::Set(node ? c.nodeDisplacement : c.edgeDisplacement, r.index,
                  {r.dispLinZ, r.dispRotX, r.dispRotY});
  }
  if (r.physicsChanged && r.kind == SelectionKind::polygon) {
    (void)job.SetPolygonPhysics(r.index, job.Physics(r.index).pressure, r.eModulus, r.poisson,
                                r.thickness, r.hole);
    (void)job.SetPolygonFoundation(r.index, r.foundation);
    (void)job.SetPolygonReinforcementAngle(r.index, r.reinforcementAngle);
    c.SetPressure(r.index, r.pressure);
  }
  return job.SetCases(std::move(cases));
}

}  // namespace tavrin

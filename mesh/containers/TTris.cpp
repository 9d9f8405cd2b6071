// Triangle table operations. MinAngleIndex and MaxAreaIndex are linear scans that keep the
// first extreme (ties go to the lower index); everything else is a direct access by index.
#include "mesh/containers/TTris.h"

namespace tavrin {

int TTris::AddTriangle(int e1, int e2, int e3, double minAngle, double area) {
  records_.push_back(Record{{e1, e2, e3}, minAngle, area, ElementPhysics{}});
  return Count() - 1;
}

void TTris::SetTriangle(int t, int e1, int e2, int e3, double minAngle, double area) {
  if (!Valid(t)) return;
  Record& r = records_[static_cast<std::size_t>(t)];
  r.edge[0] = e1;
  r.edge[1] = e2;
  r.edge[2] = e3;
  r.minAngle = minAngle;
  r.area = area;
}

int TTris::GetPhysics(int t, ElementPhysics& physics) const {
  if (!Valid(t)) return -1;
  physics = records_[static_cast<std::size_t>(t)].physics;
  return t;
}

int TTris::SetPhysics(int t, const ElementPhysics& physics) {
  if (!Valid(t)) return -1;
  records_[static_cast<std::size_t>(t)].physics = physics;
  return t;
}

int TTris::MinAngleIndex() const {
  int best = 0;
  for (int t = 1; t < Count(); ++t) {
    if (MinAngle(t) < MinAngle(best)) best = t;
  }
  return best;
}

int TTris::MaxAreaIndex() const {
  int best = 0;
  for (int t = 1; t < Count(); ++t) {
    if (Area(t) > Area(best)) best = t;
  }
  return best;
}

}  // namespace tavrin

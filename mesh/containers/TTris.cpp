// Triangle table operations. MinAngleIndex and MaxAreaIndex are linear scans that keep the
// first extreme (ties go to the lower index); everything else is a direct access by index.
#include "mesh/containers/TTris.h"

namespace tavrin {

int TTris::AddTriangle(int e1, int e2, int e3, double minAngle, double area) {
  e1_.push_back(e1);
  e2_.push_back(e2);
  e3_.push_back(e3);
  minAngle_.push_back(minAngle);
  area_.push_back(area);
  physics_.push_back(ElementPhysics{});
  return Count() - 1;
}

void TTris::SetTriangle(int t, int e1, int e2, int e3, double minAngle, double area) {
  if (!Valid(t)) return;
  const auto s = static_cast<std::size_t>(t);
  e1_[s] = e1;
  e2_[s] = e2;
  e3_[s] = e3;
  minAngle_[s] = minAngle;
  area_[s] = area;
}

int TTris::GetPhysics(int t, ElementPhysics& physics) const {
  if (!Valid(t)) return -1;
  physics = physics_[static_cast<std::size_t>(t)];
  return t;
}

int TTris::SetPhysics(int t, const ElementPhysics& physics) {
  if (!Valid(t)) return -1;
  physics_[static_cast<std::size_t>(t)] = physics;
  return t;
}

int TTris::MinAngleIndex() const {
  int best = 0;
  for (int t = 1; t < Count(); ++t) {
    if (minAngle_[static_cast<std::size_t>(t)] < minAngle_[static_cast<std::size_t>(best)]) best = t;
  }
  return best;
}

int TTris::MaxAreaIndex() const {
  int best = 0;
  for (int t = 1; t < Count(); ++t) {
    if (area_[static_cast<std::size_t>(t)] > area_[static_cast<std::size_t>(best)]) best = t;
  }
  return best;
}

}  // namespace tavrin

// Triangle table operations. MinAngleIndex and MaxAreaIndex are linear scans that keep the
// first extreme (ties go to the lower index); everything else is a direct access by index.
#include "mesh/TTris.h"

#include <cstring>

namespace tavrin {

int TTris::AddTriangle(int e1, int e2, int e3, double minAngle, double area) {
  records_.push_back(Record{{e1, e2, e3}, 0, minAngle, area});
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
  physics = physicsTable_[records_[static_cast<std::size_t>(t)].physics];
  return t;
}

int TTris::SetPhysics(int t, const ElementPhysics& physics) {
  if (!Valid(t)) return -1;
  records_[static_cast<std::size_t>(t)].physics = PhysicsEntry(physics);
  return t;
}

std::size_t TTris::BitsHash::operator()(const PhysicsBits& b) const {
  std::uint64_t h = 0;
  for (std::uint64_t w : b) h = (h ^ w) * 0x9E3779B97F4A7C15ull;
  return static_cast<std::size_t>(h ^ (h >> 31));
}

// Triangles made one after another mostly share the physics of the last one set.
std::uint32_t TTris::PhysicsEntry(const ElementPhysics& physics) {
  PhysicsBits bits;
  static_assert(sizeof bits == sizeof physics);
  std::memcpy(bits.data(), &physics, sizeof bits);
  PhysicsBits last;
  std::memcpy(last.data(), &physicsTable_[lastPhysics_], sizeof last);
  if (bits == last) return lastPhysics_;
  if (physicsByBits_.empty()) {  // the zero physics the table starts with
    PhysicsBits zero;
    std::memcpy(zero.data(), &physicsTable_[0], sizeof zero);
    physicsByBits_.emplace(zero, 0);
  }
  const auto [it, added] =
      physicsByBits_.emplace(bits, static_cast<std::uint32_t>(physicsTable_.size()));
  if (added) physicsTable_.push_back(physics);
  lastPhysics_ = it->second;
  return lastPhysics_;
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

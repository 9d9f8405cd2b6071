// One pass over the elements for every set: the record of an element (corners and material)
// is read once, its recovery operator made once, and each set's displacements go through it.
// Sharing the pass spares the operators' storage a case-by-case recovery would need to reuse
// them, and the memory traffic of reading it back for every set.
#include "analysis/ElementRecovery.h"

#include <memory>

namespace tavrin {

bool RecoverElements(const PlateMesh& mesh, ElementKind kind,
                     const std::vector<std::array<int, 3>>& corners,
                     const std::vector<const std::vector<double>*>& displacements,
                     std::vector<ElementValues>& values, const std::function<bool(int)>& goOn) {
  const int triangles = mesh.TriangleCount();
  const auto count = static_cast<std::size_t>(triangles);
  values.resize(displacements.size());
  for (ElementValues& v : values) {
    v.stress.assign(3 * count, 0.0);
    v.moment.assign(3 * count, 0.0);
    v.deflection.assign(count, 0.0);
  }
  auto element = MakePlateElement(kind);
  const int operatorSize = element->RecoveryOperatorSize();
  std::vector<long double> op(static_cast<std::size_t>(operatorSize));
  double record[20];
  for (int t = 0; t < triangles; ++t) {
    if (t % 4096 == 0 && !goOn(t)) return false;
    mesh.ElementInput(t, record);
    const std::array<int, 3>& tn = corners[static_cast<std::size_t>(t)];
    const bool prepared =
        operatorSize > 0 && element->PrepareRecovery(record, op.data()) == ElementCode::Ok;
    const double t2 = record[9] * record[9] / 6.0;
    for (std::size_t s = 0; s < displacements.size(); ++s) {
      const std::vector<double>& u = *displacements[s];
      for (int k = 0; k < 9; ++k)
        record[10 + k] = u[3 * static_cast<std::size_t>(tn[k / 3]) + k % 3];
      record[19] = 0;
      ElementCode code = ElementCode::Degenerate;
      if (operatorSize == 0)
        code = element->RecoverStress(record);
      else if (prepared)
        code = element->RecoverWith(op.data(), record);
      if (code != ElementCode::Ok) continue;
      ElementValues& v = values[s];
      for (int c = 0; c < 3; ++c) {
        v.stress[3 * static_cast<std::size_t>(t) + c] = record[13 + c];
        v.moment[3 * static_cast<std::size_t>(t) + c] = record[13 + c] * t2;
      }
      v.deflection[static_cast<std::size_t>(t)] = record[19];
    }
  }
  return true;
}

}  // namespace tavrin

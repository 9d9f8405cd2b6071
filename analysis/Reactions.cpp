// Reactions at the constrained freedoms: the element stiffnesses times the solution, summed per
// equation, less the applied load there (reaction = K u - f). One more pass over the elements,
// linear in their number.
#include <vector>

#include "analysis/PlateElement.h"
#include "analysis/TGlobMatrix.h"

namespace tavrin {

void TGlobMatrix::ComputeReactions() {
  std::vector<long double> internal(equationCount_, 0.0L);
  auto element = MakePlateElement(elementKind_);
  double in[10];
  for (int t = 0; t < triangleCount_; ++t) {
    ElementInput(t, in);
    if (element->BuildStiffness(in[0], in[1], in[2], in[3], in[4], in[5], in[6], in[7], in[8], in[9]) != kElementOk)
      continue;  // cannot happen after a successful assembly
    const auto& tn = triangleNodes_[t];
    long double u[9];
    for (int k = 0; k < 9; ++k) u[k] = Displacement(tn[k / 3], k % 3);
    for (int i = 0; i < 9; ++i) {
      const int eq = 3 * tn[i / 3] + i % 3;
      if (!fixed_[eq]) continue;
      long double f = 0.0L;
      for (int j = 0; j < 9; ++j) f += element->StiffnessAt(i, j) * u[j];
      internal[eq] += f;
    }
  }
  reactions_.assign(equationCount_, 0.0);
  reactionZ_ = 0;
  long double sumZ = 0.0L;
  for (int e = 0; e < equationCount_; ++e) {
    if (!fixed_[e]) continue;
    const long double r = internal[e] - loads_[e];
    reactions_[e] = static_cast<double>(r);
    if (e % 3 == 0) sumZ += r;
  }
  reactionZ_ = static_cast<double>(sumZ);
}

}  // namespace tavrin

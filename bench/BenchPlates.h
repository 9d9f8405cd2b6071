// Plates the solver benchmarks share.
#pragma once

#include <cmath>

#include "analysis/StructuredPlate.h"

namespace tavrin::bench {

// A clamped square grid of about `equations` free equations (3 (n - 1)^2 for n x n cells).
inline PlateMesh ClampedPlate(int equations) {
  const int cells = static_cast<int>(std::lround(std::sqrt(equations / 3.0))) + 1;
  StructuredPlate p;
  p.width = p.height = 100;
  p.cellsX = p.cellsY = cells;
  p.support = EdgeSupport::Clamped;
  p.material = {210000, 0.3, 1, -1};
  return p.Build();
}

}  // namespace tavrin::bench

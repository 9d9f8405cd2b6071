// Regular grid plate: linear in the number of cells.
#include "analysis/StructuredPlate.h"

namespace tavrin {

PlateMesh StructuredPlate::Build() const {
  PlateMesh m;
  const int code = support == EdgeSupport::Clamped ? kClampedCode
                   : support == EdgeSupport::SimplySupported
                       ? EncodeConstraintCode(true, false, false)
                       : kUnconstrainedCode;
  for (int j = 0; j <= cellsY; ++j) {
    for (int i = 0; i <= cellsX; ++i) {
      DofRecord dof;
      if (i == 0 || j == 0 || i == cellsX || j == cellsY) dof.code = code;
      m.AddNode(width * i / cellsX, height * j / cellsY, dof);
    }
  }
  for (int j = 0; j < cellsY; ++j) {
    for (int i = 0; i < cellsX; ++i) {
      const int a = GridNode(i, j), b = GridNode(i + 1, j), c = GridNode(i + 1, j + 1),
                d = GridNode(i, j + 1);
      DiagonalPattern cut = pattern;
      if (cut == DiagonalPattern::UnionJack)
        cut = (i + j) % 2 == 0 ? DiagonalPattern::Right : DiagonalPattern::Left;
      switch (cut) {
        case DiagonalPattern::Right:
          m.AddTriangle(a, b, c, material);
          m.AddTriangle(a, c, d, material);
          break;
        case DiagonalPattern::Left:
          m.AddTriangle(a, b, d, material);
          m.AddTriangle(b, c, d, material);
          break;
        case DiagonalPattern::CrissCross: {
          const int o = m.AddNode(width * (i + 0.5) / cellsX, height * (j + 0.5) / cellsY);
          m.AddTriangle(a, b, o, material);
          m.AddTriangle(b, c, o, material);
          m.AddTriangle(c, d, o, material);
          m.AddTriangle(d, a, o, material);
          break;
        }
        case DiagonalPattern::UnionJack:
          break;
      }
    }
  }
  return m;
}

}  // namespace tavrin

// Shared part of the plate elements: stiffness access and the element stiffness file.
#include "analysis/PlateElement.h"

#include <cstdio>

namespace tavrin {

long double PlateElement::StiffnessAt(int i, int j) const {
  if (i < 0 || j < 0 || i > 8 || j > 8) return 0.0L;
  return k9_[i][j];
}

int PlateElement::WriteStiffness(const std::string& fileName) const {
  std::FILE* f = std::fopen(fileName.c_str(), "w");
  if (!f) return 1;
  for (int i = 0; i < 9; ++i) {
    for (int j = 0; j < 9; ++j) std::fprintf(f, "%g  ", static_cast<double>(k9_[i][j]));
    std::fputc('\n', f);
  }
  const bool ok = std::ferror(f) == 0;
  return (std::fclose(f) == 0 && ok) ? 0 : 1;
}

}  // namespace tavrin

// Element stiffness file: the 9 x 9 matrix of one triangle, rebuilt with the element the solve
// used, so the file shows exactly what was assembled.
#include "analysis/PlateElement.h"
#include "analysis/TGlobMatrix.h"

namespace tavrin {

int TGlobMatrix::WriteLocalStiffness(const std::string& fileName, int triangle) const {
  if (!solved_) return 2;
  if (triangle < 0 || triangle >= triangleCount_) return 3;
  auto element = MakeElement();
  double in[10];
  ElementInput(triangle, in);
  if (element->BuildStiffness(in[0], in[1], in[2], in[3], in[4], in[5], in[6], in[7], in[8], in[9]) != kElementOk)
    return 4;
  return element->WriteStiffness(fileName) == 0 ? 0 : 1;
}

}  // namespace tavrin

// The decimal constraint code, built and read by its digit weights.
#include "model/ConstraintCode.h"

namespace tavrin {

namespace {
constexpr std::array<int, 3> kDigitWeight = {100, 10, 1};
}  // namespace

std::uint16_t EncodeConstraintCode(bool linZ, bool rotX, bool rotY) {
  return EncodeConstraintCode(ConstrainedFreedoms{linZ, rotX, rotY});
}

std::uint16_t EncodeConstraintCode(const ConstrainedFreedoms& fixed) {
  int code = 0;
  for (std::size_t k = 0; k < fixed.size(); ++k) {
    if (fixed[k]) code += kDigitWeight[k];
  }
  return static_cast<std::uint16_t>(code);
}

ConstrainedFreedoms DecodeConstraintCode(int code) {
  ConstrainedFreedoms fixed{false, false, false};
  for (std::size_t k = 0; k < fixed.size(); ++k) {
    if (code >= kDigitWeight[k]) {
      fixed[k] = true;
      code -= kDigitWeight[k];
    }
  }
  return fixed;
}

}  // namespace tavrin

// ConstraintCode: which of the three freedoms of a node or an edge are prescribed, stored as a
// decimal number whose digits are flags: 100 for lin. Z, 10 for rot. X, 1 for rot. Y, summed
// (0 unconstrained, 111 clamped). The number is what job files, the model and the mesh store;
// these two functions are the only place that builds or reads its digits.
#pragma once

#include <array>
#include <cstdint>

namespace tavrin {

// Prescribed flags ordered lin. Z, rot. X, rot. Y, like the value triples of a DofRecord.
using ConstrainedFreedoms = std::array<bool, 3>;

inline constexpr std::uint16_t kUnconstrainedCode = 0;
inline constexpr std::uint16_t kClampedCode = 111;

// The code of the given flags: 100·linZ + 10·rotX + rotY.
std::uint16_t EncodeConstraintCode(bool linZ, bool rotX, bool rotY);
std::uint16_t EncodeConstraintCode(const ConstrainedFreedoms& fixed);

// Reads the digits from the top: at least 100 fixes lin. Z and 100 is taken off, then at least
// 10 of the rest fixes rot. X and 10 is taken off, then any rest fixes rot. Y. A code outside
// the documented digits (200, 20) is therefore read the same way by every caller; a negative
// code (an invalid index's -1) fixes nothing.
ConstrainedFreedoms DecodeConstraintCode(int code);

}  // namespace tavrin

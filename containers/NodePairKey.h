// The key of an unordered pair of node indices: the same for (a, b) and (b, a), distinct for
// distinct pairs of non-negative indices. Used wherever edges are looked up by their two nodes.
#pragma once

#include <algorithm>
#include <cstdint>

namespace tavrin {

// High word the larger index, low word the smaller.
inline std::uint64_t NodePairKey(int a, int b) {
  const auto lo = static_cast<std::uint32_t>(std::min(a, b));
  const auto hi = static_cast<std::uint32_t>(std::max(a, b));
  return (static_cast<std::uint64_t>(hi) << 32) | lo;
}

}  // namespace tavrin

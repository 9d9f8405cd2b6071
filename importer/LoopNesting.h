// Which loop of a drawing is the plate and which are its holes: loops must not cross or touch
// one another or themselves; the one loop that no other holds is the outline, the loops it holds
// directly are holes, and a loop inside a hole is refused (the job model has no islands).
// Cost: O(s^2) segment pairs within each loop and between loops whose boxes overlap, plus
// O(l * s) point-in-loop tests for l loops of s segments in all.
#pragma once

#include <string>
#include <vector>

#include "importer/LoopAssembly.h"

namespace tavrin::dxf {

struct Nesting {
  int outline = -1;        // index into the loops
  std::vector<int> holes;  // in the loops' order
  std::string refusal;     // one sentence naming the loops at fault; empty when fine
  explicit operator bool() const { return refusal.empty(); }
};

Nesting NestLoops(const std::vector<Loop>& loops);

}  // namespace tavrin::dxf

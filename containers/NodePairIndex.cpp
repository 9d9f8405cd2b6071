// Linear probing with backward-shift deletion: a run of occupied slots is never broken by an
// erase, so a lookup may stop at the first empty slot. Entries of one pair all lie in the run
// that starts at their home slot, so the lookup sees every duplicate before that empty slot.
#include "containers/NodePairIndex.h"

#include "containers/NodePairKey.h"

#include <algorithm>

namespace tavrin {

namespace {
constexpr std::size_t kInitialSlots = 64;
}  // namespace

std::uint64_t NodePairIndex::Key(int a, int b) { return NodePairKey(a, b); }

std::size_t NodePairIndex::Home(std::uint64_t key) const {
  // Fibonacci hashing: the high bits of the product mix both nodes.
  const std::uint64_t h = key * 0x9E3779B97F4A7C15ull;
  return static_cast<std::size_t>(h ^ (h >> 32)) & (slots_.size() - 1);
}

void NodePairIndex::Grow() {
  std::vector<Slot> old;
  old.swap(slots_);
  slots_.assign(old.empty() ? kInitialSlots : 2 * old.size(), Slot{});
  const std::size_t mask = slots_.size() - 1;
  for (const Slot& s : old) {
    if (s.edge == -1) continue;
    std::size_t i = Home(s.key);
    while (slots_[i].edge != -1) i = (i + 1) & mask;
    slots_[i] = s;
  }
}

void NodePairIndex::Insert(int a, int b, int e) {
  if (2 * (count_ + 1) > slots_.size()) Grow();
  const std::uint64_t key = Key(a, b);
  const std::size_t mask = slots_.size() - 1;
  std::size_t i = Home(key);
  while (slots_[i].edge != -1) i = (i + 1) & mask;
  slots_[i] = Slot{key, e};
  ++count_;
}

void NodePairIndex::Erase(int a, int b, int e) {
  if (slots_.empty()) return;
  const std::uint64_t key = Key(a, b);
  const std::size_t mask = slots_.size() - 1;
  std::size_t i = Home(key);
  while (slots_[i].edge != -1 && !(slots_[i].key == key && slots_[i].edge == e)) i = (i + 1) & mask;
  if (slots_[i].edge == -1) return;
  // Shift later entries of the run back into the hole when their home does not lie between
  // the hole and them (cyclically), so that every entry stays reachable from its home.
  std::size_t hole = i;
  for (std::size_t j = (hole + 1) & mask; slots_[j].edge != -1; j = (j + 1) & mask) {
    const std::size_t home = Home(slots_[j].key);
    const bool homeAfterHole = ((j - home) & mask) < ((j - hole) & mask);
    if (homeAfterHole) continue;
    slots_[hole] = slots_[j];
    hole = j;
  }
  slots_[hole] = Slot{};
  --count_;
}

int NodePairIndex::Highest(int a, int b) const {
  if (slots_.empty()) return -1;
  const std::uint64_t key = Key(a, b);
  const std::size_t mask = slots_.size() - 1;
  int best = -1;
  for (std::size_t i = Home(key); slots_[i].edge != -1; i = (i + 1) & mask)
    if (slots_[i].key == key && slots_[i].edge > best) best = slots_[i].edge;
  return best;
}

}  // namespace tavrin

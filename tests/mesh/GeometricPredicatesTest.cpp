// The filtered signs never contradict exact arithmetic: on points at integer multiples of 2^-20
// (so that exact signs can be computed in 128-bit integers), nearly degenerate ones included,
// a sign given as +1 or -1 is the exact one, exactly degenerate configurations give 0, and
// clear ones give their sign.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>

#include "mesh/GeometricPredicates.h"

namespace tavrin {
namespace {

using Int = __int128;

struct Grid {
  std::int64_t x, y;
  MeshPoint Point() const {
    return {std::ldexp(static_cast<double>(x), -20), std::ldexp(static_cast<double>(y), -20)};
  }
};

int ExactSign(Int v) { return v > 0 ? 1 : v < 0 ? -1 : 0; }

int ExactOrientation(Grid a, Grid b, Grid c) {
  return ExactSign(Int(a.x - c.x) * (b.y - c.y) - Int(a.y - c.y) * (b.x - c.x));
}

int ExactInCircle(Grid a, Grid b, Grid c, Grid d) {
  const Int adx = a.x - d.x, ady = a.y - d.y, bdx = b.x - d.x, bdy = b.y - d.y;
  const Int cdx = c.x - d.x, cdy = c.y - d.y;
  return ExactSign((adx * adx + ady * ady) * (bdx * cdy - cdx * bdy) +
                   (bdx * bdx + bdy * bdy) * (cdx * ady - adx * cdy) +
                   (cdx * cdx + cdy * cdy) * (adx * bdy - bdx * ady));
}

TEST(GeometricPredicates, ClearCasesGiveTheirSign) {
  EXPECT_EQ(OrientationSign({0, 0}, {1, 0}, {0, 1}), 1);
  EXPECT_EQ(OrientationSign({0, 0}, {0, 1}, {1, 0}), -1);
  EXPECT_EQ(OrientationSign({0, 0}, {1, 1}, {3, 3}), 0);
  EXPECT_EQ(Orientation({0, 0}, {2, 0}, {0, 3}), 6.0);
  // Unit circle through three of its points: the centre inside, a far point outside, the
  // fourth point of the square on it; clockwise corners turn the sign round.
  EXPECT_EQ(InCircleSign({1, 0}, {0, 1}, {-1, 0}, {0, 0}), 1);
  EXPECT_EQ(InCircleSign({1, 0}, {0, 1}, {-1, 0}, {3, 3}), -1);
  EXPECT_EQ(InCircleSign({1, 0}, {0, 1}, {-1, 0}, {0, -1}), 0);
  EXPECT_EQ(InCircleSign({-1, 0}, {0, 1}, {1, 0}, {0, 0}), -1);
}

TEST(GeometricPredicates, NearlyDegenerateNeverContradictExactSigns) {
  std::mt19937_64 random(7);
  std::uniform_int_distribution<std::int64_t> coordinate(-(1 << 20), 1 << 20);
  std::uniform_int_distribution<std::int64_t> nudge(-2, 2);
  int decided = 0;
  for (int trial = 0; trial < 20000; ++trial) {
    // Three points on a line, the third nudged by a few units of the grid.
    const Grid a{coordinate(random), coordinate(random)};
    const Grid step{coordinate(random) / 64, coordinate(random) / 64};
    const Grid b{a.x + step.x, a.y + step.y};
    const Grid c{a.x + 3 * step.x + nudge(random), a.y + 3 * step.y + nudge(random)};
    const int exact = ExactOrientation(a, b, c);
    const int filtered = OrientationSign(a.Point(), b.Point(), c.Point());
    ASSERT_TRUE(filtered == 0 || filtered == exact) << trial;
    ASSERT_TRUE(exact != 0 || filtered == 0) << trial;
    decided += filtered != 0;

    // Four points on a circle of a Pythagorean radius (5k: (3k, 4k) and the like), the fourth
    // nudged; well away from the origin so that the rounding of the lifts matters.
    const std::int64_t k = 1 + random() % 50000;
    const Grid o{coordinate(random), coordinate(random)};
    const Grid p{o.x + 5 * k, o.y}, q{o.x + 3 * k, o.y + 4 * k}, r{o.x - 4 * k, o.y + 3 * k};
    const Grid s{o.x + 4 * k + nudge(random), o.y - 3 * k + nudge(random)};
    const int exactCircle = ExactInCircle(p, q, r, s);
    const int filteredCircle = InCircleSign(p.Point(), q.Point(), r.Point(), s.Point());
    ASSERT_TRUE(filteredCircle == 0 || filteredCircle == exactCircle) << trial;
    ASSERT_TRUE(exactCircle != 0 || filteredCircle == 0) << trial;
  }
  EXPECT_GT(decided, 1000);  // the filter does decide most nudged cases
}

}  // namespace
}  // namespace tavrin

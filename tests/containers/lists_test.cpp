#include <gtest/gtest.h>

#include "containers/TFloats.h"

namespace tavrin {
namespace {

TEST(TFloats, AddAnswersTheNewIndexAndSetIgnoresOutOfRange) {
  TFloats f;
  EXPECT_EQ(f.Add(1.0), 0);
  EXPECT_EQ(f.Add(2.0), 1);
  f.Set(-1, 9.0);
  f.Set(2, 9.0);
  EXPECT_EQ(f.Count(), 2);
  EXPECT_EQ(f.Get(0), 1.0);
  EXPECT_EQ(f.Get(1), 2.0);
  f.Set(1, 3.0);
  EXPECT_EQ(f.Get(1), 3.0);
}

TEST(TFloats, SortDescending) {
  TFloats f;
  for (double v : {3.0, 1.0, 2.0, 2.0}) f.Add(v);
  f.SortDescending();
  EXPECT_EQ(f.Get(0), 3.0);
  EXPECT_EQ(f.Get(1), 2.0);
  EXPECT_EQ(f.Get(2), 2.0);
  EXPECT_EQ(f.Get(3), 1.0);

  TFloats empty;
  empty.SortDescending();
  EXPECT_EQ(empty.Count(), 0);

  TFloats many;
  for (int i = 0; i < 50; ++i) many.Add((i * 37) % 23 - 11.5);
  many.SortDescending();
  for (int i = 1; i < 50; ++i) EXPECT_GE(many.Get(i - 1), many.Get(i));
}

}  // namespace
}  // namespace tavrin

// When the progress windows refresh and let events through: at once for a new stage, otherwise
// once per interval. The intervals are 0 (always run out) or an hour (never runs out within a
// test), so no case depends on how fast the machine is.
#include <gtest/gtest.h>

#include "ui/ProgressThrottle.h"

namespace tavrin {
namespace {

constexpr qint64 kHourMs = 3600 * 1000;

TEST(ProgressThrottle, ANewStageIsDueAtOnceAndRepeatsWaitForTheInterval) {
  ProgressThrottle t(kHourMs);
  EXPECT_TRUE(t.Report("Triangulating"));  // the first report
  EXPECT_TRUE(t.TakeEventsTurn());
  EXPECT_FALSE(t.Report("Triangulating"));  // same stage, interval running
  EXPECT_FALSE(t.TakeEventsTurn());
  EXPECT_TRUE(t.Report("Refining"));  // a new caption is a new stage
  EXPECT_EQ(t.Caption(), "Refining");
  EXPECT_TRUE(t.TakeEventsTurn());
  EXPECT_FALSE(t.TakeEventsTurn());
  t.NewStage();  // the window showed or hid
  EXPECT_TRUE(t.Report("Refining"));
  EXPECT_TRUE(t.TakeEventsTurn());
}

TEST(ProgressThrottle, AnIntervalRunOutMakesEveryReportDue) {
  ProgressThrottle t(0);
  for (int i = 0; i < 3; ++i) {
    EXPECT_TRUE(t.Report("Refining")) << i;
    EXPECT_TRUE(t.TakeEventsTurn()) << i;
  }
}

}  // namespace
}  // namespace tavrin

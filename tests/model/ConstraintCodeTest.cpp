// The decimal constraint code: the stored numbers of every flag combination, and the one reading
// of the digits that the job file, the geometry check, the solver and the views share.
#include <gtest/gtest.h>

#include <string>

#include "model/ConstraintCode.h"
#include "model/GeometryCheck.h"
#include "model/TObjCont.h"
#include "tests/model/TestJobs.h"

namespace tavrin {
namespace {

TEST(ConstraintCode, EveryFlagCombinationRoundTripsThroughItsDecimalCode) {
  // Index bits: 4 lin. Z, 2 rot. X, 1 rot. Y; the stored code reads the same bits in decimal.
  const int expected[8] = {0, 1, 10, 11, 100, 101, 110, 111};
  for (int bits = 0; bits < 8; ++bits) {
    const ConstrainedFreedoms fixed{(bits & 4) != 0, (bits & 2) != 0, (bits & 1) != 0};
    const std::uint16_t code = EncodeConstraintCode(fixed);
    EXPECT_EQ(code, expected[bits]) << bits;
    EXPECT_EQ(EncodeConstraintCode(fixed[0], fixed[1], fixed[2]), code) << bits;
    EXPECT_EQ(DecodeConstraintCode(code), fixed) << code;
  }
  EXPECT_EQ(EncodeConstraintCode(true, true, true), kClampedCode);
  EXPECT_EQ(EncodeConstraintCode(false, false, false), kUnconstrainedCode);
}

TEST(ConstraintCode, DigitsAreReadFromTheTopByTakingOffEachWeight) {
  // Codes the model accepts through its operations although no check box makes them.
  EXPECT_EQ(DecodeConstraintCode(20), (ConstrainedFreedoms{false, true, true}));
  EXPECT_EQ(DecodeConstraintCode(200), (ConstrainedFreedoms{true, true, true}));
  EXPECT_EQ(DecodeConstraintCode(2), (ConstrainedFreedoms{false, false, true}));
  // An invalid index's -1 constrains nothing.
  EXPECT_EQ(DecodeConstraintCode(-1), (ConstrainedFreedoms{false, false, false}));
}

TEST(ConstraintCode, GeometryCheckReadsTheFreedomsTheJobFileWrites) {
  // Code 20 reads as rot. X and rot. Y: the job file writes the rot. Y value, so the check must
  // refuse it when it is out of range instead of passing it as not prescribed.
  TObjCont job;
  testing::AddRectangle(job, 0, 0, 10, 10);
  job.SetNodeConstraints(0, 20, 1e300, 0, 1e300);
  job.PrepareForMeshing();
  const GeometryCheckResult r = CheckGeometry(job);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.message.rfind("Node 0 has a prescribed displacement (rot. Y) of 1e+300", 0), 0u)
      << r.message;
}

}  // namespace
}  // namespace tavrin

// The reinforcement angle record (RA) of the job file: read and written back unchanged, written
// only for a turned polygon (a job without one writes its old text), kept by the physics setter,
// refused for a polygon the job does not have, and a non-finite angle named by the geometry check.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "model/GeometryCheck.h"
#include "model/TObjCont.h"

namespace tavrin {
namespace {

// Two polygons: an outline and an inner square, with a foundation under the outline.
const std::string kTwoSquares =
    "N, 0, 0\nN, 100, 0\nN, 100, 100\nN, 0, 100\nN, 30, 30\nN, 60, 30\nN, 60, 60\nN, 30, 60\n"
    "E, 0, 1\nE, 1, 2\nE, 2, 3\nE, 3, 0\nClose\nE, 4, 5\nE, 5, 6\nE, 6, 7\nE, 7, 4\nClose\n"
    "P, 1, 0, 210000, 0.3, 10, 0\nKP, 0, 0.5\n";

TEST(ReinforcementRecord, RoundTripsAndIsWrittenOnlyWhereUsed) {
  TObjCont plain;
  plain.ReadJobText(kTwoSquares);
  TObjCont job;
  const JobReadSummary read = job.ReadJobText(kTwoSquares + "RA, 1, 33.3333333333333\n");
  EXPECT_EQ(read.skipped, 0);
  EXPECT_EQ(job.ReinforcementAngle(1), 33.3333333333333);
  EXPECT_EQ(job.ReinforcementAngle(0), 0.0);
  const std::string text = job.JobText();
  // After every other record: the plain job's text, then the record and its comment.
  EXPECT_EQ(text, plain.JobText() +
                      "\n; RA (reinforcement angle), polygon index, degrees from x\n"
                      "RA, 1, 33.3333333333333\n");
  TObjCont again;
  again.ReadJobText(text);
  EXPECT_EQ(again.JobText(), text);
  // Setting the physics keeps the angle; an angle back at 0 gives the old file byte for byte.
  ASSERT_EQ(job.SetPolygonPhysics(1, -1, 70000, 0.2, 12, false), StatusCode::Done);
  EXPECT_EQ(job.ReinforcementAngle(1), 33.3333333333333);
  ASSERT_EQ(job.SetPolygonReinforcementAngle(1, 0), StatusCode::Done);
  ASSERT_EQ(job.SetPolygonPhysics(1, 0, 210000, 0.3, 10, false), StatusCode::Done);
  EXPECT_EQ(job.JobText(), plain.JobText());

  const struct {
    const char* line;
    StatusCode status;
  } bad[] = {{"RA, 2, 10", StatusCode::BadPolygon},
             {"RA, -1, 10", StatusCode::BadPolygon},
             {"RA, 1, x", StatusCode::BadNumber},
             {"RA, 1", StatusCode::BadNumber},
             {"RB, 1, 10", StatusCode::UnknownRecord}};
  for (const auto& b : bad) {
    EXPECT_EQ(job.ParseJobLine(b.line), b.status) << b.line;
    EXPECT_EQ(job.JobText(), plain.JobText()) << b.line;
  }
}

TEST(ReinforcementRecord, GeometryCheckNamesANonFiniteAngle) {
  for (const double angle : {std::nan(""), HUGE_VAL, -HUGE_VAL}) {
    TObjCont job;
    job.ReadJobText(kTwoSquares);
    ASSERT_EQ(job.SetPolygonReinforcementAngle(1, angle), StatusCode::Done);
    job.PrepareForMeshing();
    const GeometryCheckResult r = CheckGeometry(job);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.message.find("Polygon 1 has a reinforcement angle of "), std::string::npos)
        << r.message;
  }
  TObjCont job;
  job.ReadJobText(kTwoSquares + "RA, 1, -725\n");
  job.PrepareForMeshing();
  EXPECT_TRUE(CheckGeometry(job).ok) << CheckGeometry(job).message;
}

}  // namespace
}  // namespace tavrin

// Arc edges in the job: the bulge's geometry, the AE record's round trip and its reading by a
// reader without arcs, and the geometry check's verdict on arcs.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "model/ArcGeometry.h"
#include "model/GeometryCheck.h"
#include "model/JobCircle.h"
#include "model/TObjCont.h"

namespace tavrin {
namespace {

const double kPi = std::acos(-1.0);

// A square 0..100 with edge 1 (from (100, 0) to (100, 100)) given the bulge.
std::string SquareWithArc(const std::string& bulge) {
  return "N, 0, 0\nN, 100, 0\nN, 100, 100\nN, 0, 100\nE, 0, 1\nE, 1, 2\nE, 2, 3\nE, 3, 0\n"
         "Close\nP, 0, 0, 210000, 0.3, 10, 0\nFE, 1, 2, 0, 0\nAE, 1, " +
         bulge + "\n";
}

TEST(ArcGeometry, CentreRadiusAndPointsFollowTheBulge) {
  // Quarter circle of radius 5 about (1, 2) from angle 0 to 90 degrees, counter-clockwise.
  const double b = std::tan(kPi / 8);
  const Arc arc = ArcThrough(6, 2, 1, 7, b);
  EXPECT_NEAR(arc.cx, 1, 1e-13);
  EXPECT_NEAR(arc.cy, 2, 1e-13);
  EXPECT_NEAR(arc.radius, 5, 1e-13);
  EXPECT_NEAR(arc.sweep, kPi / 2, 1e-15);
  for (double t : {0.0, 0.3, 0.5, 1.0}) {
    double x = 0, y = 0;
    ArcPointAt(arc, t, x, y);
    EXPECT_NEAR(x, 1 + 5 * std::cos(t * kPi / 2), 1e-13) << t;
    EXPECT_NEAR(y, 2 + 5 * std::sin(t * kPi / 2), 1e-13) << t;
  }
  // The same ends clockwise: the centre mirrored across the chord.
  const Arc back = ArcThrough(6, 2, 1, 7, -b);
  EXPECT_NEAR(back.cx, 6, 1e-13);
  EXPECT_NEAR(back.cy, 7, 1e-13);
  EXPECT_NEAR(ArcLength(5 * std::sqrt(2.0), b), 5 * kPi / 2, 1e-12);
  EXPECT_NEAR(ArcSagitta(10, 1), 5, 0);
}

// The radius of a chord c's arc of angle theta is c / (2 sin(theta / 2)); the editor's radius
// field turns it back into tan(theta / 4) with the radius's sign. Tolerance 1e-15 relative.
TEST(ArcGeometry, RadiusAndBulgeConvert) {
  const double chord = 8;
  for (double theta : {0.01, kPi / 3, kPi / 2, 2.5, kPi}) {
    for (double side : {1.0, -1.0}) {
      const double radius = chord / (2 * std::sin(theta / 2));
      const double bulge = side * std::tan(theta / 4);
      EXPECT_NEAR(BulgeForRadius(chord, side * radius), bulge, 1e-15 * std::fabs(bulge)) << theta;
      EXPECT_NEAR(ArcRadius(chord, bulge), radius, 1e-15 * radius) << theta;
    }
  }
  EXPECT_EQ(BulgeForRadius(chord, 0), 0.0);
  EXPECT_TRUE(std::isnan(BulgeForRadius(chord, 3.99)));  // no circle of it reaches both ends
}

// A circle is added whole, its four nodes on the circle and its arcs sound; refused, it leaves
// the job as it was and says why.
TEST(JobCircle, AddedWholeOrRefusedWithTheJobUnchanged) {
  struct Case {
    std::string name;
    double cx, cy, r;
    bool drawing;          // a polygon is being drawn
    std::string expected;  // "" added, else a part of the message
  };
  const Case cases[] = {
      {"hole in the square", 50, 50, 20, false, ""},
      {"around the square", 50, 50, 200, false, ""},
      {"crossing the square", 105, 50, 20, false, "crosses edge"},
      {"a node on an edge", 100, 50, 20, false, "lies on edge 1"},
      {"too small", 10, 10, 0.2, false, "too flat"},
      {"no radius", 50, 50, 0, false, "radius above 0"},
      {"not finite", std::nan(""), 50, 5, false, "finite centre"},
      {"while drawing", 50, 50, 20, true, "Finish the polygon"},
  };
  for (const Case& c : cases) {
    TObjCont job;
    job.ReadJobText(SquareWithArc("0"));
    if (c.drawing) job.AddPolygonVertex(300, 300, 1);
    const std::string before = job.JobText();
    const std::string message = AddCircle(job, c.cx, c.cy, c.r, true);
    if (!c.expected.empty()) {
      EXPECT_NE(message.find(c.expected), std::string::npos) << c.name << ": " << message;
      EXPECT_EQ(job.JobText(), before) << c.name;
      continue;
    }
    EXPECT_EQ(message, "") << c.name;
    ASSERT_EQ(job.PolygonCount(), 2) << c.name;
    EXPECT_TRUE(job.IsHole(1));
    for (int k = 0; k < 4; ++k) {
      const int e = job.PolygonEdge(1, k);
      EXPECT_NEAR(job.EdgeBulge(e), std::tan(kPi / 8), 1e-16) << c.name;
      EXPECT_EQ(std::hypot(job.NodeX(job.EdgeBegin(e)) - c.cx, job.NodeY(job.EdgeBegin(e)) - c.cy),
                c.r)
          << c.name;
    }
    job.PrepareForMeshing();
    EXPECT_TRUE(CheckGeometry(job).ok) << c.name << ": " << CheckGeometry(job).message;
    // A point between an arc and its chord is in the circle (the rays follow the arcs).
    const int circle = c.r > 100 ? 0 : 1;
    EXPECT_EQ(
        job.FindPolygonAt(c.cx - 0.99 * c.r * std::cos(0.3), c.cy + 0.99 * c.r * std::sin(0.3)),
        circle)
        << c.name;
  }
}

TEST(ArcEdgeFile, RoundTripsAndOldFilesStayAsTheyWere) {
  TObjCont job;
  EXPECT_EQ(job.ReadJobText(SquareWithArc("0.123456789012345")).skipped, 0);
  EXPECT_EQ(job.EdgeBulge(1), 0.123456789012345);
  EXPECT_FALSE(job.IsArcEdge(0));
  const std::string text = job.JobText();
  EXPECT_NE(text.find("\nAE, 1, 0.123456789012345\n"), std::string::npos);
  TObjCont again;
  again.ReadJobText(text);
  EXPECT_EQ(again.JobText(), text);

  // Without arcs nothing new is written; a zero bulge is a straight edge.
  TObjCont plain;
  plain.ReadJobText(SquareWithArc("0"));
  EXPECT_EQ(plain.JobText().find("AE"), std::string::npos);

  // Refused values leave the edge as it was.
  EXPECT_EQ(job.SetEdgeBulge(1, std::nan("")), StatusCode::BadNumber);
  EXPECT_EQ(job.SetEdgeBulge(9, 0.5), StatusCode::BadIndex);
  EXPECT_EQ(job.ParseJobLine("AE, 1, x"), StatusCode::BadNumber);
  EXPECT_EQ(job.ParseJobLine("AX, 1, 0.5"), StatusCode::UnknownRecord);
  EXPECT_EQ(job.EdgeBulge(1), 0.123456789012345);
}

TEST(ArcEdgeFile, AReaderWithoutArcsSkipsTheRecordAndKeepsTheStraightPlate) {
  // Such a reader sends every keyword it does not know to the unknown record: the arc's line is
  // skipped, every other line applies, and the edge stays straight between its nodes.
  TObjCont job;
  const std::string text = SquareWithArc("0.5");
  TObjCont withoutArc;
  const JobReadSummary summary = withoutArc.ReadJobText(text.substr(0, text.find("AE")));
  job.ReadJobText(text);
  EXPECT_EQ(summary.skipped, 0);
  EXPECT_EQ(job.EdgeCount(), withoutArc.EdgeCount());
  EXPECT_EQ(job.EdgeDof(1), withoutArc.EdgeDof(1));
  EXPECT_EQ(job.ParseJobLine("AZ, 1, 0.5"), StatusCode::UnknownRecord);
}

TEST(ArcEdgeCheck, EachFaultIsNamed) {
  struct Case {
    std::string name, text, expected;  // expected: "" passes, else a part of the message
  };
  const Case cases[] = {
      {"bulging out", SquareWithArc("0.4"), ""},
      {"bulging in", SquareWithArc("-0.4"), ""},
      {"half circle", SquareWithArc("1"), ""},
      {"more than a half turn", SquareWithArc("1.01"), "Edge 1 is an arc of more than a half"},
      {"too flat", SquareWithArc("1e-4"), "Edge 1 is an arc too flat to tell from its chord"},
      // Bulging in by a half circle of radius 50 it reaches x = 50, 0.05 from the free node.
      {"over a node", SquareWithArc("-1") + "N, 50.05, 50\n", "Node 4 is only"},
      // A hole beside the edge that the arc sweeps through.
      {"crossing",
       SquareWithArc("-1") + "N, 45, 40\nN, 60, 40\nN, 60, 60\nE, 4, 5\nE, 5, 6\n"
                             "E, 6, 4\nClose\n",
       "Edge 1, an arc, crosses edge"},
  };
  for (const Case& c : cases) {
    TObjCont job;
    job.ReadJobText(c.text);
    job.PrepareForMeshing();
    const GeometryCheckResult result = CheckGeometry(job);
    if (c.expected.empty()) {
      EXPECT_TRUE(result.ok) << c.name << ": " << result.message;
    } else {
      EXPECT_NE(result.message.find(c.expected), std::string::npos)
          << c.name << ": " << result.message;
    }
  }
}

}  // namespace
}  // namespace tavrin

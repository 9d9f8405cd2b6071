// The spring and foundation records of the job file (KN, KE, KP) and the model's rules for them:
// written only where used and read back unchanged, each bad value refused with its reason and
// nothing changed, and the geometry check naming the entity at fault.
#include <gtest/gtest.h>

#include <string>

#include "model/GeometryCheck.h"
#include "model/TObjCont.h"

namespace tavrin {
namespace {

// A square with a clamped node 1, a simply supported edge 1 and a free node 4 inside.
const std::string kSquare =
    "N, 0, 0\nN, 100, 0\nN, 100, 100\nN, 0, 100\nN, 50, 50\n"
    "E, 0, 1\nE, 1, 2\nE, 2, 3\nE, 3, 0\nClose\n"
    "DN, 1, 0, 0, 0\nDE, 1, 0, n, n\n";

TEST(ElasticSupportRecords, WrittenOnlyWhereUsedAndReadBackUnchanged) {
  TObjCont job;
  job.ReadJobText(kSquare + "KN, 4, 1000, 0, 2.5e7\nKE, 3, 0.125, 7, 0\nKP, 0, 0.01\n");
  EXPECT_EQ(job.NodeSprings(4), (std::array<double, 3>{1000, 0, 2.5e7}));
  EXPECT_EQ(job.EdgeSprings(3), (std::array<double, 3>{0.125, 7, 0}));
  EXPECT_DOUBLE_EQ(job.Foundation(0), 0.01);
  const std::string text = job.JobText();
  EXPECT_NE(text.find("FE (edge forces), edge index, lin.Z, rot.X, rot.Y\n"
                      "; --------------------------------------------------\n\n\n"
                      "; --------------------------------------------------\n"
                      "; Section <ELASTIC SUPPORTS> format:\n"
                      "; KN (node springs), node index, k lin.Z, k rot.X, k rot.Y\n"
                      "; KE (edge springs per unit length), edge index, k lin.Z, k rot.X, k rot.Y\n"
                      "; KP (foundation), polygon index, modulus\n"
                      "; --------------------------------------------------\n\n"
                      "KN, 4, 1000, 0, 2.5e+07\nKE, 3, 0.125, 7, 0\nKP, 0, 0.01\n"),
            std::string::npos)
      << text;
  TObjCont back;
  EXPECT_EQ(back.ReadJobText(text).skipped, 0);
  EXPECT_EQ(back.JobText(), text);

  // Springs taken off again: the file is the one without them, byte for byte.
  TObjCont plain;
  plain.ReadJobText(kSquare);
  ASSERT_EQ(job.SetNodeSprings(4, {0, 0, 0}), StatusCode::Done);
  ASSERT_EQ(job.SetEdgeSprings(3, {0, 0, 0}), StatusCode::Done);
  ASSERT_EQ(job.SetPolygonFoundation(0, 0), StatusCode::Done);
  EXPECT_FALSE(job.HasElasticSupport());
  EXPECT_EQ(job.JobText(), plain.JobText());
}

TEST(ElasticSupportRecords, BadLinesAreRefusedWithTheirReason) {
  struct Case {
    const char* line;
    StatusCode status;
    const char* reason;
  };
  const Case cases[] = {
      {"KN, 9, 1, 0, 0", StatusCode::BadIndex, "names a node or edge the job does not have"},
      {"KN, 4, -1, 0, 0", StatusCode::BadStiffness, "negative or not finite"},
      {"KN, 1, 0, 5, 0", StatusCode::HeldRigidly, "constraint code holds rigidly"},
      {"KE, 1, 5, 0, 0", StatusCode::HeldRigidly, "constraint code holds rigidly"},
      {"KE, 0, 1, x, 0", StatusCode::BadNumber, "is not a number"},
      {"KE, 0, 1", StatusCode::BadNumber, "is not a number"},
      {"KP, 1, 3", StatusCode::BadPolygon, "polygon the job does not have"},
      {"KP, 0, -2", StatusCode::BadStiffness, "negative or not finite"},
      {"KX, 0, 1", StatusCode::UnknownRecord, "no record starts with its keyword"},
  };
  TObjCont plain;
  plain.ReadJobText(kSquare);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    TObjCont job;
    job.ReadJobText(kSquare);
    EXPECT_EQ(job.ParseJobLine(c.line), c.status);
    EXPECT_EQ(job.JobText(), plain.JobText());
    const JobReadSummary read = job.ReadJobText(kSquare + c.line + "\n");
    EXPECT_NE(read.supportSkipped.find(std::string("line 13 (\"") + c.line + "\"): "),
              std::string::npos)
        << read.supportSkipped;
    EXPECT_NE(read.supportSkipped.find(c.reason), std::string::npos) << read.supportSkipped;
  }
  // The rule holds the other way round: a freedom on a spring is not then held rigidly.
  TObjCont job;
  job.ReadJobText(kSquare + "KN, 4, 5, 0, 0\n");
  EXPECT_EQ(job.ParseJobLine("DN, 4, 0, n, n"), StatusCode::HeldRigidly);
  EXPECT_EQ(job.ParseJobLine("DN, 4, n, 0, n"), StatusCode::Done);
  EXPECT_EQ(job.SetNodeSupport(4, 100, {0, 0, 0}, {0, 0, 0}),
            StatusCode::Done);  // elastic to rigid
}

TEST(ElasticSupportRecords, GeometryCheckNamesTheEntity) {
  struct Case {
    const char* records;
    const char* said;
  };
  const Case cases[] = {
      {"KN, 4, 1e31, 0, 0\n", "Node 4 has a spring (lin. Z) of 1e+31"},
      {"KE, 2, 0, 0, 2e30\n", "Edge 2 has a spring (rot. Y) of 2e+30"},
      {"KP, 0, 1e40\n", "Polygon 0 has a foundation modulus of 1e+40"},
      {"N, 150, 50\nKN, 5, 1, 0, 0\n",
       "Node 5, a free node on a spring, lies outside the plate's outline"},
  };
  for (const Case& c : cases) {
    TObjCont job;
    job.ReadJobText(kSquare + c.records);
    job.PrepareForMeshing();
    const GeometryCheckResult r = CheckGeometry(job);
    EXPECT_FALSE(r.ok) << c.records;
    EXPECT_NE(r.message.find(c.said), std::string::npos) << r.message;
  }
}

}  // namespace
}  // namespace tavrin

#include <gtest/gtest.h>

#include <limits>
#include <sstream>
#include <string>

#include "TestJobs.h"
#include "model/TObjCont.h"

namespace tavrin {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// A square plate (edges 0..3) with a square hole (polygon 1), node 0 held in lin. Z, edge 1
// clamped, and a first case of pressure, a node force and an edge moment.
TObjCont SquareJob() {
  TObjCont job;
  testing::AddRectangle(job, 0, 0, 10, 10);
  testing::AddRectangle(job, 4, 4, 6, 6);
  job.SetPolygonPhysics(0, -2.5, 210000, 0.3, 10, false);
  job.SetNodeConstraints(0, 100, 0.5, 0, 0);
  job.SetEdgeConstraints(1, 111, 0, 0, 0);
  job.SetNodeLoads(2, -4, 0, 0);
  job.SetEdgeLoads(3, 0, 1.5, 0);
  return job;
}

LoadCases TwoCases() {
  LoadCases cases;
  cases.firstName = "Dead load";
  LoadCase live;
  live.name = "Live bay 1";
  live.SetPressure(0, -5);
  LoadCase::Set(live.nodeForce, 1, {-3, 0.25, 0});
  LoadCase::Set(live.edgeForce, 2, {-1, 0, 0});
  LoadCase::Set(live.nodeDisplacement, 0, {-0.01, 0, 0});
  LoadCase::Set(live.edgeDisplacement, 1, {0, 0.002, 0});
  cases.further.push_back(live);
  LoadCase wind;
  wind.name = "Wind";
  wind.SetPressure(1, 0.75);
  cases.further.push_back(wind);
  cases.combinations.push_back({"ULS", {{"Dead load", 1.35}, {"Live bay 1", 1.5}}});
  cases.combinations.push_back({"SLS", {{"Dead load", 1}, {"Wind", -0.6}}});
  cases.envelopes.push_back({"Design", {"ULS", "SLS"}});
  return cases;
}

TEST(LoadCases, FileRoundTripIsLosslessAndAnOlderReaderSeesTheFirstCase) {
  TObjCont job = SquareJob();
  const std::string plainText = job.JobText();
  ASSERT_EQ(job.SetCases(TwoCases()), "");
  const std::string text = job.JobText();

  TObjCont back;
  const JobReadSummary summary = back.ReadJobText(text);
  EXPECT_EQ(summary.skipped, 0) << summary.Describe();
  EXPECT_EQ(back.Cases(), job.Cases());
  for (int k = 0; k < 3; ++k) EXPECT_EQ(back.CaseLoads(k), job.CaseLoads(k)) << k;
  EXPECT_EQ(back.JobText(), text);

  // Every line added is a comment, a blank or a record starting with L, which a reader of the
  // plain job dispatches to nothing: the other lines are the plain job's text, then comments.
  std::istringstream lines(text);
  std::string kept, line;
  while (std::getline(lines, line)) {
    if (line.rfind("L", 0) != 0) kept += line + "\n";
  }
  ASSERT_EQ(kept.substr(0, plainText.size()), plainText);
  std::istringstream added(kept.substr(plainText.size()));
  while (std::getline(added, line)) EXPECT_TRUE(line.empty() || line[0] == ';') << line;

  // A plain job, or one whose first case only carries the default name, writes no case line.
  TObjCont plain = SquareJob();
  LoadCases renamed;
  renamed.firstName = "Case 1";
  ASSERT_EQ(plain.SetCases(renamed), "");
  EXPECT_EQ(plain.JobText(), plainText);
}

TEST(LoadCases, ReaderRefusesBadLinesAndKeepsTheRest) {
  const std::string job = SquareJob().JobText();
  struct Row {
    const char* lines;
    int skipped;
    const char* reason;  // part of the first skipped line's reason
  };
  const Row rows[] = {
      {"LC, A\nLP, 0, 1\nLC, A\nLN, 1, 1, 0, 0\n", 2, "repeats"},  // 2nd block goes whole
      {"LP, 0, 1\n", 1, "no LC line"},
      {"LC, A\nLCO, C, A, 1\nLP, 0, 1\n", 1, "no LC line"},
      {"LC, A\nLN, 99, 1, 0, 0\n", 1, "node or edge"},
      {"LC, A\nLE, 1, 1, n, 0\n", 1, "not a number"},
      {"LC, A\nLCO, C, A, 1e999\n", 1, "not a number"},
      {"LC, A\nLCO, C, A\n", 1, "not a number"},
      {"LC, ;x\n", 1, "semicolon"},
      {"LC,\n", 1, "name"},
      {"LC, Dead\nLCO, Dead, Dead, 1\n", 1, "repeats"},
      {"LC, A\nLD, 0, 1, n, n\nLDE, 1, 0, 0, 2\n", 0, ""},
      {"LCO, C, Missing, 2\nLEN, E, C, Nothing\n", 0, ""},  // kept; Problem() names them
  };
  for (const Row& row : rows) {
    TObjCont read;
    const JobReadSummary s = read.ReadJobText(job + row.lines);
    EXPECT_EQ(s.skipped, row.skipped) << row.lines;
    EXPECT_NE(s.firstSkippedReason.find(row.reason), std::string::npos)
        << row.lines << s.firstSkippedReason;
    EXPECT_EQ(read.NodeCount(), 8) << row.lines;
    EXPECT_EQ(read.CaseLoads(0), SquareJob().CaseLoads(0)) << row.lines;
  }
  TObjCont read;
  read.ReadJobText(job + rows[11].lines);
  EXPECT_EQ(read.Cases().Problem(),
            "combination 'C' names the case 'Missing', which the job does not have");
}

TEST(LoadCases, SetCasesRefusesFaultsWithAMessageNamingThem) {
  struct Row {
    void (*edit)(LoadCases&);
    const char* message;
  };
  const Row rows[] = {
      {[](LoadCases& c) { c.further[0].name = "Live, bay 1"; },
       "the case name 'Live, bay 1' holds a comma"},
      {[](LoadCases& c) { c.further[1].name = "Dead load"; },
       "the name 'Dead load' is given to more than one case, combination or envelope"},
      {[](LoadCases& c) { c.combinations[1].name = "Wind"; },
       "the name 'Wind' is given to more than one case, combination or envelope"},
      {[](LoadCases& c) { c.combinations[0].terms[1].caseName = "Snow"; },
       "combination 'ULS' names the case 'Snow', which the job does not have"},
      {[](LoadCases& c) { c.combinations[0].terms[0].factor = kInf; },
       "combination 'ULS' has a factor for 'Dead load' that is not a finite number"},
      {[](LoadCases& c) { c.combinations[0].terms[1].caseName = "Dead load"; },
       "combination 'ULS' names the case 'Dead load' twice"},
      {[](LoadCases& c) { c.envelopes[0].combinations.push_back("ALS"); },
       "envelope 'Design' names the combination 'ALS', which the job does not have"},
      {[](LoadCases& c) { c.envelopes[0].combinations.clear(); },
       "envelope 'Design' names no combination"},
      {[](LoadCases& c) { c.further[1].SetPressure(2, 1); },
       "polygon 2 in case 'Wind' is not a closed polygon of the job"},
      {[](LoadCases& c) {
         LoadCase::Set(c.further[1].nodeForce, 8, {1, 0, 0});
       },
       "node 8 in case 'Wind' is not in the job"},
      {[](LoadCases& c) {
         LoadCase::Set(c.further[1].edgeForce, 0, {kNaN, 0, 0});
       },
       "a value on edge 0 in case 'Wind' is not a number"},
      {[](LoadCases& c) {
         LoadCase::Set(c.further[1].nodeDisplacement, 0, {0, 1, 0});
       },
       "node 0 in case 'Wind' is given a rot. X displacement its constraint code does not hold"},
  };
  for (const Row& row : rows) {
    TObjCont job = SquareJob();
    LoadCases cases = TwoCases();
    row.edit(cases);
    const std::string before = job.JobText();
    EXPECT_EQ(job.SetCases(cases), row.message);
    EXPECT_EQ(job.JobText(), before) << row.message;
  }
}

TEST(LoadCases, CombinationIsTheFactoredSumAndMakesAPlainJob) {
  TObjCont job = SquareJob();
  ASSERT_EQ(job.SetCases(TwoCases()), "");
  const LoadCase uls = job.CombinationLoads(0);
  EXPECT_DOUBLE_EQ(uls.Pressure(0), 1.35 * -2.5 + 1.5 * -5);
  EXPECT_DOUBLE_EQ(LoadCase::Get(uls.nodeForce, 1)[1], 1.5 * 0.25);
  EXPECT_DOUBLE_EQ(LoadCase::Get(uls.nodeForce, 2)[0], 1.35 * -4);
  EXPECT_DOUBLE_EQ(LoadCase::Get(uls.edgeForce, 3)[1], 1.35 * 1.5);
  EXPECT_DOUBLE_EQ(LoadCase::Get(uls.nodeDisplacement, 0)[0], 1.35 * 0.5 + 1.5 * -0.01);
  EXPECT_DOUBLE_EQ(LoadCase::Get(uls.edgeDisplacement, 1)[1], 1.5 * 0.002);
  const LoadCase sls = job.CombinationLoads(1);
  EXPECT_DOUBLE_EQ(sls.Pressure(1), -0.6 * 0.75);

  const TObjCont single = job.WithLoads(uls);
  EXPECT_TRUE(single.Cases().IsPlain());
  LoadCase asRead = single.CaseLoads(0);
  asRead.name = uls.name;
  EXPECT_EQ(asRead, uls);
  EXPECT_EQ(job.CombinationLoads(2), LoadCase{});
}

TEST(LoadCases, PressuresFollowTheirPolygonWhenTheOutlineMovesToSlotZero) {
  TObjCont job;
  testing::AddRectangle(job, 4, 4, 6, 6);  // drawn first, inside the plate
  testing::AddRectangle(job, 0, 0, 10, 10);
  LoadCases cases;
  LoadCase c;
  c.name = "Other";
  c.SetPressure(0, -1);  // the small square
  c.SetPressure(1, -7);  // the plate
  cases.further.push_back(c);
  ASSERT_EQ(job.SetCases(cases), "");
  job.PrepareForMeshing();
  ASSERT_EQ(job.NodeX(job.EdgeBegin(job.PolygonEdge(0, 0))), 0.0);
  EXPECT_EQ(job.CaseLoads(1).Pressure(0), -7);
  EXPECT_EQ(job.CaseLoads(1).Pressure(1), -1);
}

}  // namespace
}  // namespace tavrin

// tavrin-cli solve on a job with load cases: one block per case and combination, one set of
// tables each, the envelope table and one grid holding every set.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "CliRunner.h"
#include "tests/analysis/VtuReader.h"

namespace tavrin {
namespace {

using testing::CliResult;
using testing::ReadWholeFile;
using testing::RunCli;

const char kCases[] =
    "LC0, Dead\n"
    "LC, Live\n"
    "LP, 1, -0.03\n"
    "LE, 5, 0, 3, 0\n"
    "LC, Point load\n"
    "LN, 4, -500, 0, 0\n"
    "LCO, ULS, Dead, 1.35, Live, 1.5\n"
    "LCO, SLS, Dead, 1, Point load, 1\n"
    "LEN, Design, ULS, SLS\n";

class CliCases : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() / ("tavrin-cases-" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string Job(const std::string& extra) {
    const auto path = dir_ / "job.sam";
    std::ofstream(path) << ReadWholeFile(std::string(TAVRIN_SOURCE_DIR) +
                                         "/examples/two-materials.sam")
                        << extra;
    return path.string();
  }
  std::filesystem::path dir_;
};

std::map<std::string, std::vector<std::string>> ReadCsv(const std::filesystem::path& path) {
  std::istringstream in(ReadWholeFile(path));
  std::string line, cell;
  std::getline(in, line);
  std::vector<std::string> names;
  std::istringstream header(line);
  while (std::getline(header, cell, ',')) names.push_back(cell);
  std::map<std::string, std::vector<std::string>> columns;
  while (std::getline(in, line)) {
    std::istringstream row(line);
    for (size_t k = 0; k < names.size() && std::getline(row, cell, ','); ++k)
      columns[names[k]].push_back(cell);
  }
  return columns;
}

double Number(const std::string& s) { return std::strtod(s.c_str(), nullptr); }

// The lines of the printed blocks that name a set, in order.
std::vector<std::string> Blocks(const std::string& out) {
  std::vector<std::string> names;
  std::istringstream in(out);
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind("case: ", 0) == 0 || line.rfind("combination: ", 0) == 0) names.push_back(line);
  }
  return names;
}

TEST_F(CliCases, EveryCaseAndCombinationGetsItsBlockTablesAndArrays) {
  const CliResult r = RunCli({"solve", Job(kCases), "--out", (dir_ / "out").string()});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(Blocks(r.out), (std::vector<std::string>{"case: Dead", "case: Live", "case: Point load",
                                                     "combination: ULS", "combination: SLS"}));
  // Each case's block has its own equilibrium check.
  size_t at = 0;
  for (int k = 0; k < 5; ++k) {
    at = r.out.find("\nload-z: ", at) + 9;
    const double load = std::strtod(r.out.c_str() + at, nullptr);
    const size_t reaction = r.out.find("\nreaction-z: ", at) + 13;
    EXPECT_NEAR(std::strtod(r.out.c_str() + reaction, nullptr), -load, 1e-9 * std::abs(load));
  }

  const auto out = dir_ / "out";
  const auto dead = ReadCsv(out / "nodes-Dead.csv"), live = ReadCsv(out / "nodes-Live.csv"),
             point = ReadCsv(out / "nodes-Point_load.csv"), uls = ReadCsv(out / "nodes-ULS.csv"),
             sls = ReadCsv(out / "nodes-SLS.csv");
  EXPECT_EQ(ReadCsv(out / "nodes.csv").at("w"), dead.at("w"));  // the first case, as before
  for (const char* column : {"w", "m_x", "m_xy"}) {
    double scale = 0;
    for (const auto& v : uls.at(column)) scale = std::max(scale, std::abs(Number(v)));
    for (size_t v = 0; v < uls.at(column).size(); ++v)
      ASSERT_NEAR(Number(uls.at(column)[v]),
                  1.35 * Number(dead.at(column)[v]) + 1.5 * Number(live.at(column)[v]),
                  1e-9 * scale)
          << column;
  }
  ASSERT_TRUE(std::filesystem::exists(out / "elements-SLS.csv"));
  ASSERT_TRUE(std::filesystem::exists(out / "reactions-Point_load.csv"));

  // The envelope of w names the combination whose table holds the extreme.
  const auto envelope = ReadCsv(out / "envelope.csv");
  int rows = 0;
  for (size_t i = 0; i < envelope.at("field").size(); ++i) {
    if (envelope.at("field")[i] != "w") continue;
    const size_t v = static_cast<size_t>(Number(envelope.at("node")[i]));
    const auto& hi = envelope.at("max_combination")[i] == "ULS" ? uls : sls;
    const auto& lo = envelope.at("min_combination")[i] == "ULS" ? uls : sls;
    EXPECT_EQ(envelope.at("max")[i], hi.at("w")[v]);
    EXPECT_EQ(envelope.at("min")[i], lo.at("w")[v]);
    EXPECT_LE(Number(envelope.at("min")[i]),
              std::min(Number(uls.at("w")[v]), Number(sls.at("w")[v])));
    ++rows;
  }
  EXPECT_EQ(rows, static_cast<int>(uls.at("w").size()));

  const testing::VtuGrid g = testing::ReadVtu((out / "model.vtu").string());
  ASSERT_TRUE(g.ok);
  for (const auto& [set, table] :
       {std::pair{"Dead", &dead}, {"Point load", &point}, {"SLS", &sls}}) {
    for (const char* column : {"w", "m_1", "wa_x_bottom", "q"}) {
      const std::vector<double>& array = g.pointData.at(std::string(column) + "@" + set);
      ASSERT_EQ(array.size(), table->at(column).size());
      for (size_t v = 0; v < array.size(); ++v) EXPECT_EQ(array[v], Number(table->at(column)[v]));
    }
  }
  EXPECT_EQ(g.pointData.count("m_1_max@Design"), 1u);
  EXPECT_EQ(g.cellData.count("von_mises_top@ULS"), 1u);
}

TEST_F(CliCases, CaseOptionLimitsTheRunAndBadCasesAreNamed) {
  const std::string job = Job(kCases);
  EXPECT_EQ(Blocks(RunCli({"solve", job, "--case", "Live"}).out),
            (std::vector<std::string>{"case: Live"}));
  EXPECT_EQ(Blocks(RunCli({"solve", job, "--case", "ULS"}).out),
            (std::vector<std::string>{"case: Dead", "case: Live", "combination: ULS"}));
  const CliResult unknown = RunCli({"solve", job, "--case", "Snow"});
  EXPECT_EQ(unknown.exitCode, 1);
  EXPECT_NE(unknown.err.find("no case or combination 'Snow'"), std::string::npos) << unknown.err;

  const CliResult missing = RunCli({"solve", Job(std::string(kCases) + "LCO, Wind, W, 1\n")});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_NE(missing.err.find("combination 'Wind' names the case 'W', which the job does not have"),
            std::string::npos)
      << missing.err;
  EXPECT_EQ(missing.out.find("load-z"), std::string::npos);

  // info lists the cases, combinations and envelopes, and names a fault.
  const CliResult info = RunCli({"info", Job(std::string(kCases) + "LCO, Wind, W, 1\n")});
  EXPECT_NE(info.out.find("\ncase 2: Point load pressures 0 node-loads 1 edge-loads 0"),
            std::string::npos)
      << info.out;
  EXPECT_NE(info.out.find("\ncombination ULS: Dead 1.35 Live 1.5\n"), std::string::npos);
  EXPECT_NE(info.out.find("\nenvelope Design: ULS SLS\n"), std::string::npos);
  EXPECT_NE(info.out.find("\ncase-problem: combination 'Wind' names the case 'W'"),
            std::string::npos);

  // A job without cases prints no block heading.
  EXPECT_TRUE(Blocks(RunCli({"solve", Job("")}).out).empty());
}

}  // namespace
}  // namespace tavrin

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

#include "CliRunner.h"
#include "Version.h"

namespace tavrin {
namespace {

using testing::ReadWholeFile;
using testing::RunCli;

const std::string kExamples = std::string(TAVRIN_SOURCE_DIR) + "/examples/";

class CliJob : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("tavrin-cli-job-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string Write(const std::string& name, const std::string& text) {
    const auto p = dir_ / name;
    std::ofstream(p, std::ios::binary) << text;
    return p.string();
  }
  std::filesystem::path dir_;
};

TEST_F(CliJob, InfoPrintsOneRecordPerLine) {
  const std::string job =
      Write("job.sam",
            "N, 0, 0\nN, 450, 0\nN, 450, 450\nN, 0, 450\nN, 225, 225\nN, 1234.5678, -1e-05\n"
            "E, 0, 1\nE, 1, 2\nE, 2, 3\nE, 3, 0\nClose\n"
            "P, 0, -2.5, 2100000, 0.3, 12, 0\n"
            "DE, 0, 0, 0, 0\nDN, 4, 0, n, 0.5\nFN, 4, -1000, 0, 0\nFE, 2, 0, 0.1, 0\n");
  const auto r = RunCli({"info", job});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out,
            "nodes: 6\n"
            "edges: 4\n"
            "polygons: 1\n"
            "open-polygon-edges: 0\n"
            "node 0: x 0 y 0 free no polygon -1 code 0 disp 0 0 0 force 0 0 0\n"
            "node 1: x 450 y 0 free no polygon -1 code 0 disp 0 0 0 force 0 0 0\n"
            "node 2: x 450 y 450 free no polygon -1 code 0 disp 0 0 0 force 0 0 0\n"
            "node 3: x 0 y 450 free no polygon -1 code 0 disp 0 0 0 force 0 0 0\n"
            "node 4: x 225 y 225 free yes polygon -1 code 101 disp 0 0 0.5 force -1000 0 0\n"
            "node 5: x 1234.5678 y -1e-05 free yes polygon -1 code 0 disp 0 0 0 force 0 0 0\n"
            "edge 0: begin 0 end 1 code 111 disp 0 0 0 force 0 0 0\n"
            "edge 1: begin 1 end 2 code 0 disp 0 0 0 force 0 0 0\n"
            "edge 2: begin 2 end 3 code 0 disp 0 0 0 force 0 0.1 0\n"
            "edge 3: begin 3 end 0 code 0 disp 0 0 0 force 0 0 0\n"
            "polygon 0: edges 0 1 2 3 pressure -2.5 E 2100000 nu 0.3 thickness 12 hole no\n");
}

TEST_F(CliJob, InfoShowsOpenPolygonAndHoles) {
  const std::string job =
      Write("job.sam",
            "N, 0, 0\nN, 10, 0\nN, 10, 10\nN, 2, 2\nN, 3, 2\nN, 3, 3\nN, 20, 20\nN, 30, 20\n"
            "E, 0, 1\nE, 1, 2\nE, 2, 0\nClose\nE, 3, 4\nE, 4, 5\nE, 5, 3\nClose\nE, 6, 7\n");
  const auto r = RunCli({"info", job});
  ASSERT_EQ(r.exitCode, 0);
  EXPECT_NE(r.out.find("polygons: 2\nopen-polygon-edges: 1\n"), std::string::npos);
  EXPECT_NE(
      r.out.find("polygon 1: edges 3 4 5 pressure 0 E 210000 nu 0.25 thickness 10 hole yes\n"),
      std::string::npos);
  EXPECT_EQ(r.out.find("polygon 2"), std::string::npos);
  EXPECT_NE(r.out.find("edge 6: begin 6 end 7 "), std::string::npos);
}

TEST_F(CliJob, ResaveIsStableAndMatchesBundledExamples) {
  for (const char* name :
       {"square.sam", "plate-with-hole.sam", "l-shaped.sam", "two-materials.sam"}) {
    const std::string out = (dir_ / name).string();
    const auto r = RunCli({"resave", kExamples + name, out});
    ASSERT_EQ(r.exitCode, 0) << name << r.err;
    EXPECT_EQ(ReadWholeFile(out), ReadWholeFile(kExamples + name)) << name;
  }
  const std::string messy =
      Write("messy.sam",
            "N, 0, 0\r\nN,  1e1 ,0\r\nN, 10, 1.0e+01\r\nE,0,1\nE, 0, 1\nE, 1, 2\nE, 2, 0\nClose\n");
  const std::string once = (dir_ / "once.sam").string();
  const std::string twice = (dir_ / "twice.sam").string();
  ASSERT_EQ(RunCli({"resave", messy, once}).exitCode, 0);
  ASSERT_EQ(RunCli({"resave", once, twice}).exitCode, 0);
  EXPECT_EQ(ReadWholeFile(once), ReadWholeFile(twice));
  EXPECT_NE(ReadWholeFile(once).find("N, 10, 0 ;1\n"), std::string::npos);
}

TEST_F(CliJob, ExitCodesForFileAndUsageErrors) {
  auto r = RunCli({"info", (dir_ / "missing.sam").string()});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_NE(r.err.find("missing.sam"), std::string::npos);
  EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1);

  const std::string target = Write("keep.sam", "previous\n");
  r = RunCli({"resave", (dir_ / "missing.sam").string(), target});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(ReadWholeFile(target), "previous\n");  // nothing written when the input fails

  r = RunCli({"resave", kExamples + "square.sam", (dir_ / "no-such-folder" / "out.sam").string()});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1);

  EXPECT_EQ(RunCli({"info"}).exitCode, 2);
  EXPECT_EQ(RunCli({"info", "a.sam", "b.sam"}).exitCode, 2);
  EXPECT_EQ(RunCli({"resave", "a.sam"}).exitCode, 2);
  EXPECT_EQ(RunCli({}).exitCode, 2);
  EXPECT_EQ(RunCli({"no-such-command"}).exitCode, 2);
}

// The version the workbench shows, on one line; it takes no command.
TEST_F(CliJob, VersionPrintsTheProgramVersion) {
  const auto r = RunCli({"--version"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, std::string("tavrin-cli ") + kProgramVersion + "\n");
  EXPECT_EQ(r.err, "");
  EXPECT_NE(std::string(kProgramVersion).find('.'), std::string::npos);  // configured, not empty
}

// info ends with a line on the lines it skipped; a file that is no job is refused (exit 1); a
// byte-order mark is no part of the first line.
TEST_F(CliJob, InfoSaysWhatWasNotRead) {
  const std::string square = "N, 0, 0\nN, 10, 0\nN, 10, 10\nE, 0, 1\nE, 1, 2\nE, 2, 0\nClose\n";
  const auto partial = RunCli({"info", Write("partial.sam", square + "E, 0, 5\nFE, 7, 1, 1, 1\n")});
  ASSERT_EQ(partial.exitCode, 0) << partial.err;
  EXPECT_NE(partial.out.find(
                "\nskipped-lines: 2, the first line 8: it names a node the job does not have\n"),
            std::string::npos)
      << partial.out;
  const auto clean = RunCli({"info", Write("marked.sam", "\xEF\xBB\xBF" + square)});
  ASSERT_EQ(clean.exitCode, 0);
  EXPECT_EQ(clean.out.find("skipped-lines"), std::string::npos);
  EXPECT_NE(clean.out.find("nodes: 3\n"), std::string::npos);
  const auto garbage =
      RunCli({"info", Write("garbage.sam", "\x7f\x45\x4c\x46\x02\x01\n\x00\x00zz\n")});
  EXPECT_EQ(garbage.exitCode, 1);
  EXPECT_EQ(garbage.out, "");
  EXPECT_NE(garbage.err.find("is not a job file"), std::string::npos) << garbage.err;
}

// An open chain survives resave: its edges come back where they were.
TEST_F(CliJob, ResaveKeepsAnOpenChain) {
  const std::string job = Write("open.sam",
                                "N, 0, 0\nN, 10, 0\nN, 10, 10\nE, 0, 1\nE, 1, 2\nE, 2, 0\nClose\n"
                                "N, 20, 0\nN, 30, 0\nN, 30, 5\nE, 3, 4\nE, 4, 5\n");
  const std::string out = (dir_ / "out.sam").string();
  ASSERT_EQ(RunCli({"resave", job, out}).exitCode, 0);
  const auto before = RunCli({"info", job});
  const auto after = RunCli({"info", out});
  EXPECT_NE(after.out.find("open-polygon-edges: 2\n"), std::string::npos) << after.out;
  EXPECT_EQ(after.out, before.out);
}

// resave into a file-size limit: exit 1 with the reason, the previous file as it was. The
// program itself keeps SIGXFSZ from killing it.
TEST_F(CliJob, ResavePastAFileSizeLimitKeepsThePreviousFile) {
  std::string big;
  for (int k = 0; k < 300; ++k) big += "N, " + std::to_string(k) + ", 0\n";
  const std::string job = Write("big.sam", big);
  const std::string out = Write("out.sam", "previous\n");
  const auto r = RunCli({"resave", job, out}, 2048);
  ASSERT_NE(r.exitCode, 126) << "setrlimit is not available here";
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("cannot write '" + out + "': File too large"), std::string::npos) << r.err;
  EXPECT_EQ(ReadWholeFile(out), "previous\n");
  EXPECT_EQ(RunCli({"resave", job, out}).exitCode, 0);  // without the limit it goes through
  EXPECT_GT(ReadWholeFile(out).size(), 2048u);
}

}  // namespace
}  // namespace tavrin

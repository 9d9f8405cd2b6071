// Option values as tavrin-cli reads them: decimal numbers only, the whole text, finite; every
// refusal names the option and the value. Limits print the offending value in full, and a mesh
// too coarse to bend is not solved.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "CliRunner.h"

namespace tavrin {
namespace {

using testing::CliResult;
using testing::RunCli;

const std::string kSquare = std::string(TAVRIN_SOURCE_DIR) + "/examples/square.sam";

TEST(CliOptions, ValuesAreDecimalNumbersAndRefusalsNameThem) {
  struct Case {
    std::vector<std::string> args;
    int exitCode;
    std::string errorStart;  // the first line on stderr, when refused
  };
  const auto mesh = [](const char* option, const char* value) {
    return std::vector<std::string>{"mesh", kSquare, "--max-nodes", "40", option, value};
  };
  const std::vector<Case> cases = {
      {mesh("--min-angle", "nan"), 2, "tavrin-cli: --min-angle \"nan\" is not a decimal number"},
      {mesh("--min-angle", "inf"), 2, "tavrin-cli: --min-angle \"inf\" is not a decimal number"},
      {mesh("--min-angle", "abc"), 2, "tavrin-cli: --min-angle \"abc\" is not a decimal number"},
      {mesh("--min-angle", "30x"), 2, "tavrin-cli: --min-angle \"30x\" is not a decimal number"},
      {mesh("--min-angle", ""), 2, "tavrin-cli: --min-angle \"\" is not a decimal number"},
      {mesh("--min-angle", "0x1e"), 2, "tavrin-cli: --min-angle \"0x1e\" is not a decimal number"},
      {mesh("--min-angle", " 30"), 2, "tavrin-cli: --min-angle \" 30\" is not a decimal number"},
      {mesh("--min-angle", "3e"), 2, "tavrin-cli: --min-angle \"3e\" is not a decimal number"},
      {mesh("--max-area", "1e999"), 2, "tavrin-cli: --max-area \"1e999\" is not a decimal number"},
      {mesh("--max-nodes", "2.5"), 2,
       "tavrin-cli: --max-nodes \"2.5\" is not a whole number from 0 to 2000000000"},
      {{"mesh", kSquare, "--max-area"}, 2, "tavrin-cli: --max-area needs a value"},
      {{"mesh", kSquare, "--colour", "red"}, 2, "tavrin-cli: unknown option --colour"},
      {{"solve", kSquare, "--element", "quad"},
       2,
       "tavrin-cli: --element \"quad\" is not an element: dkt or cubic"},
      {{"solve", kSquare, "--solver", "banded"},
       2,
       "tavrin-cli: --solver \"banded\" is not a solver: sparse or envelope"},
      {mesh("--min-angle", "+30"), 0, ""},
      {mesh("--min-angle", "3E1"), 0, ""},
      {mesh("--min-angle", "30."), 0, ""},
      {mesh("--max-area", ".5e3"), 0, ""},
  };
  for (const Case& c : cases) {
    const CliResult r = RunCli(c.args);
    EXPECT_EQ(r.exitCode, c.exitCode) << c.args.back() << "\n" << r.err;
    if (c.exitCode == 0) continue;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err.substr(0, r.err.find('\n')), c.errorStart);
    EXPECT_NE(r.err.find("usage: tavrin-cli"), std::string::npos) << r.err;
  }
}

TEST(CliOptions, LimitsPrintTheValueInFullAndACoarseMeshIsNotSolved) {
  const auto dir =
      std::filesystem::temp_directory_path() / ("tavrin-cli-options-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const std::string job = (dir / "stiff.sam").string();
  std::ofstream(job) << "N, 0, 0\nN, 10, 0\nN, 10, 10\nN, 0, 10\nOBJECT 0\nE, 0, 1\nE, 1, 2\n"
                        "E, 2, 3\nE, 3, 0\nClose\nP, 0, -1, 1.0000001e30, 0.3, 1, 0\n";
  const CliResult stiff = RunCli({"mesh", job});
  EXPECT_EQ(stiff.exitCode, 1);
  EXPECT_NE(stiff.err.find("an E modulus of 1.0000001e+30: it must be positive and at most 1e+30"),
            std::string::npos)
      << stiff.err;

  const std::string held = (dir / "held.sam").string();
  std::ofstream(held) << "N, 0, 0\nN, 450, 0\nN, 450, 450\nN, 0, 450\nOBJECT 0\nE, 0, 1\nE, 1, 2\n"
                         "E, 2, 3\nE, 3, 0\nClose\nP, 0, -0.01, 210000, 0.3, 10, 0\n"
                         "DE, 0, 0, n, n\nDE, 1, 0, n, n\nDE, 2, 0, n, n\nDE, 3, 0, n, n\n";
  const CliResult coarse = RunCli({"solve", held, "--max-nodes", "1"});
  EXPECT_EQ(coarse.exitCode, 1);
  EXPECT_EQ(coarse.out.find("max-deflection"), std::string::npos) << coarse.out;
  EXPECT_NE(coarse.err.find("no node free to deflect"), std::string::npos) << coarse.err;
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace tavrin

// tavrin-cli solve and stiffness, end to end on an example job.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
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

const std::string kSquare = std::string(TAVRIN_SOURCE_DIR) + "/examples/square.sam";

double Field(const std::string& text, const std::string& key) {
  const size_t at = text.find("\n" + key + ": ");
  if (at == std::string::npos) return std::nan("");
  return std::strtod(text.c_str() + at + key.size() + 3, nullptr);
}

std::string FirstLine(const std::string& text) { return text.substr(0, text.find('\n')); }

TEST(CliSolve, PrintsTheSolutionAndWritesTheResultFiles) {
  const auto dir =
      std::filesystem::temp_directory_path() / ("tavrin-solve-" + std::to_string(::getpid()));
  std::filesystem::remove_all(dir);
  const CliResult r = RunCli({"solve", kSquare, "--out", dir.string()});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  // The mesh figures come first, exactly as `mesh` prints them for the same job.
  const CliResult mesh = RunCli({"mesh", kSquare});
  ASSERT_EQ(mesh.exitCode, 0) << mesh.err;
  EXPECT_EQ(r.out.substr(0, mesh.out.size()), mesh.out);
  EXPECT_EQ(r.out.rfind("nodes: ", 0), 0u);
  EXPECT_NE(r.out.find("\nusable: yes\n"), std::string::npos);
  EXPECT_EQ(r.out.find("equations: ", mesh.out.size()), mesh.out.size());
  const double load = Field(r.out, "load-z"), reaction = Field(r.out, "reaction-z");
  EXPECT_LT(load, 0);
  EXPECT_NEAR(reaction, -load, 1e-6 * std::fabs(load));
  EXPECT_GT(Field(r.out, "equations"), 0);
  // The square carries its heaviest load at its centre node.
  EXPECT_NE(r.out.find("\nmax-deflection: -"), std::string::npos);
  EXPECT_NE(r.out.find(" x 225 y 225\n"), std::string::npos);

  // The documented columns first, the design columns after them.
  const std::string design =
      ",m_1,m_2,m_angle,q_x,q_y,q,wa_x_bottom,wa_y_bottom,wa_x_top,wa_y_top,von_mises_top,"
      "von_mises_bottom";
  EXPECT_EQ(FirstLine(ReadWholeFile(dir / "nodes.csv")),
            "node,mesh_node,x,y,w,rot_x,rot_y,sigma_x,sigma_y,tau_xy,m_x,m_y,m_xy" + design);
  EXPECT_EQ(FirstLine(ReadWholeFile(dir / "elements.csv")),
            "element,n0,n1,n2,x,y,deflection,sigma_x,sigma_y,tau_xy,m_x,m_y,m_xy,error" + design);
  EXPECT_EQ(FirstLine(ReadWholeFile(dir / "reactions.csv")), "node,mesh_node,fz,mx,my");
  EXPECT_EQ(ReadWholeFile(dir / "model.tvd").rfind("N, 1, ", 0), 0u);
  std::filesystem::remove_all(dir);
}

// Rows of a table written by `solve --out`, by column name.
std::map<std::string, std::vector<double>> ReadCsv(const std::filesystem::path& path) {
  std::istringstream in(ReadWholeFile(path));
  std::string line, name;
  std::getline(in, line);
  std::vector<std::string> names;
  std::istringstream header(line);
  while (std::getline(header, name, ',')) names.push_back(name);
  std::map<std::string, std::vector<double>> columns;
  while (std::getline(in, line)) {
    std::istringstream row(line);
    std::string cell;
    for (size_t k = 0; k < names.size() && std::getline(row, cell, ','); ++k)
      columns[names[k]].push_back(std::strtod(cell.c_str(), nullptr));
  }
  return columns;
}

// The grid beside the tables carries the same numbers under the same names: a post-processing
// tool shows what the tables say.
TEST(CliSolve, GridFileMatchesTheTables) {
  const auto dir =
      std::filesystem::temp_directory_path() / ("tavrin-vtu-" + std::to_string(::getpid()));
  std::filesystem::remove_all(dir);
  const CliResult r = RunCli({"solve", kSquare, "--out", dir.string()});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const auto nodes = ReadCsv(dir / "nodes.csv"), elements = ReadCsv(dir / "elements.csv");
  const testing::VtuGrid g = testing::ReadVtu((dir / "model.vtu").string());
  std::filesystem::remove_all(dir);
  ASSERT_TRUE(g.ok);
  const size_t n = nodes.at("node").size(), m = elements.at("element").size();
  ASSERT_GT(n, 10u);
  EXPECT_EQ(g.pointCount, static_cast<int>(n));
  EXPECT_EQ(g.cellCount, static_cast<int>(m));
  // Both are written with the same ten digits: equal, not merely close.
  for (const char* column :
       {"mesh_node", "w", "rot_x", "rot_y", "sigma_x", "sigma_y", "tau_xy", "m_x", "m_y", "m_xy"})
    EXPECT_EQ(g.pointData.at(column), nodes.at(column)) << column;
  for (const char* column :
       {"deflection", "sigma_x", "sigma_y", "tau_xy", "m_x", "m_y", "m_xy", "error"})
    EXPECT_EQ(g.cellData.at(column), elements.at(column)) << column;
  ASSERT_EQ(g.points.size(), 3 * n);
  ASSERT_EQ(g.connectivity.size(), 3 * m);
  for (size_t v = 0; v < n; ++v) {
    EXPECT_EQ(g.points[3 * v], nodes.at("x")[v]);
    EXPECT_EQ(g.points[3 * v + 1], nodes.at("y")[v]);
  }
  const char* const corners[3] = {"n0", "n1", "n2"};
  for (size_t t = 0; t < m; ++t)
    for (int c = 0; c < 3; ++c) EXPECT_EQ(g.connectivity[3 * t + c], elements.at(corners[c])[t]);
}

TEST(CliSolve, RefusesUnusableMeshesAndBadArguments) {
  const CliResult unusable = RunCli({"solve", kSquare, "--max-nodes", "30", "--min-angle", "35"});
  EXPECT_EQ(unusable.exitCode, 1);
  EXPECT_NE(unusable.err.find("not usable"), std::string::npos);
  EXPECT_EQ(RunCli({"solve", kSquare, "--element", "quad"}).exitCode, 2);
  EXPECT_EQ(RunCli({"solve"}).exitCode, 2);
  EXPECT_EQ(RunCli({"solve", "/nonexistent/job.sam"}).exitCode, 1);

  // A corner held 1e308 up would give stresses beyond a double: the job is refused before
  // meshing, naming the node.
  const auto lifted = std::filesystem::temp_directory_path() /
                      ("tavrin-lifted-" + std::to_string(::getpid()) + ".sam");
  {
    std::ofstream f(lifted);
    f << "N, 0, 0\nN, 100, 0\nN, 100, 100\nN, 0, 100\nOBJECT 0\nE, 0, 1\nE, 1, 2\nE, 2, 3\nE, 3, "
         "0\n"
         "Close\nDE, 0, 0, 0, 0\nDN, 2, 1e308, 0, 0\n";
  }
  const CliResult overflow = RunCli({"solve", lifted.string()});
  std::filesystem::remove(lifted);
  EXPECT_EQ(overflow.exitCode, 1);
  EXPECT_EQ(overflow.out, "");
  EXPECT_NE(overflow.err.find("Node 2 has a prescribed displacement (lin. Z) of 1e+308"),
            std::string::npos)
      << overflow.err;
}

// The figures that matter are printed to full precision, so the two solvers can be compared
// from the output alone; the recovery changes the nodal moments, never the displacements.
TEST(CliSolve, SolverAndRecoveryChoicesAndFullPrecision) {
  const CliResult sparse = RunCli({"solve", kSquare, "--solver", "sparse", "--recovery", "patch"});
  const CliResult envelope =
      RunCli({"solve", kSquare, "--solver", "envelope", "--recovery", "average"});
  ASSERT_EQ(sparse.exitCode, 0) << sparse.err;
  ASSERT_EQ(envelope.exitCode, 0) << envelope.err;
  const double w = Field(sparse.out, "max-deflection");
  EXPECT_NEAR(w, Field(envelope.out, "max-deflection"), 1e-9 * std::fabs(w));
  // 17 significant digits: the text reads back as the very double that was printed.
  const size_t at = sparse.out.find("\nload-z: ") + 9;
  const std::string text = sparse.out.substr(at, sparse.out.find('\n', at) - at);
  char again[40];
  std::snprintf(again, sizeof again, "%.17g", std::strtod(text.c_str(), nullptr));
  EXPECT_EQ(text, again);
  const double estimate = Field(sparse.out, "error-estimate");
  EXPECT_GT(estimate, 0);
  EXPECT_LT(estimate, 1);
  EXPECT_LT(Field(sparse.out, "residual"), 1e-8);

  EXPECT_EQ(RunCli({"solve", kSquare, "--solver", "banded"}).exitCode, 2);
  EXPECT_EQ(RunCli({"solve", kSquare, "--recovery"}).exitCode, 2);
  EXPECT_EQ(RunCli({"stiffness", kSquare, "3", "k.txt", "--solver", "sparse"}).exitCode, 2);
}

// Stiffnesses 1.4e9 apart: the equations cannot be solved to a usable accuracy in these numbers,
// and the run fails naming the residual instead of printing loads and reactions.
TEST(CliSolve, RefusesASolutionThatFailsItsCheck) {
  std::string job = ReadWholeFile(std::string(TAVRIN_SOURCE_DIR) + "/examples/two-materials.sam");
  const size_t at = job.find("P, 1, -0.01, 210000,");
  ASSERT_NE(at, std::string::npos);
  job.replace(at, 20, "P, 1, -0.01, 1e14,");
  const auto path = std::filesystem::temp_directory_path() /
                    ("tavrin-stiff-" + std::to_string(::getpid()) + ".sam");
  {
    std::ofstream f(path);
    f << job;
  }
  for (const char* solver : {"sparse", "envelope"}) {
    const CliResult r = RunCli({"solve", path.string(), "--solver", solver});
    EXPECT_EQ(r.exitCode, 1) << solver;
    EXPECT_NE(r.err.find("relative residual"), std::string::npos) << r.err;
    EXPECT_EQ(r.out.find("load-z"), std::string::npos);
  }
  std::filesystem::remove(path);
}

// Regression cases of figures that were printed as true and were not, and of refusals that
// blamed the supports: each run gives a true figure or fails naming the cause.
TEST(CliSolve, GivesATrueFigureOrNamesTheCause) {
  const std::string square =
      "N, 0, 0\nN, 20, 0\nN, 20, 20\nN, 0, 20\nOBJECT 0\nE, 0, 1\nE, 1, 2\nE, 2, 3\nE, 3, "
      "0\nClose\nP, 0, 1, 210000, 0.3, THICK, 0\nDE, 0, 0, n, n\nDE, 1, 0, n, n\nDE, 2, W, n, "
      "n\nDE, 3, 0, n, n\n";
  const auto with = [](std::string job, const std::string& key, const std::string& value) {
    job.replace(job.find(key), key.size(), value);
    return job;
  };
  std::string contrast =
      ReadWholeFile(std::string(TAVRIN_SOURCE_DIR) + "/examples/two-materials.sam");
  contrast = with(contrast, "P, 1, -0.01, 210000, 0.3, 15,", "P, 1, -0.01, 7e16, 0.33, 10,");
  struct Case {
    const char* what;
    std::string job;
    std::vector<std::string> options;
    int exitCode;
    const char* said;  // in the error output (exit 1) or the standard output (exit 0)
  };
  const Case cases[] = {
      // Beyond 1e9 times the span (20) the geometry check refuses before meshing.
      {"a prescribed w of 1e20 swamps the load",
       with(with(square, "THICK", "1"), "W", "1e20"),
       {"--min-angle", "25"},
       1,
       "Edge 2 has a prescribed displacement (lin. Z) of 1e+20: beyond 2e+10"},
      {"a prescribed w of 1e12 would leave the reaction off by 1e-8",
       with(with(square, "THICK", "1"), "W", "1e12"),
       {"--min-angle", "25"},
       1,
       "Edge 2 has a prescribed displacement (lin. Z) of 1e+12: beyond 2e+10"},
      {"a prescribed w of 1 is a true result",
       with(with(square, "THICK", "1"), "W", "1"),
       {"--min-angle", "25"},
       0,
       "reaction-z: -400.0000000000"},
      {"a thickness of 1e-300",
       with(with(square, "THICK", "1e-300"), "W", "0"),
       {"--max-area", "20"},
       1,
       "underflows the range of the numbers"},
      {"materials 1e12 apart", contrast, {}, 1, "is 1e-12 of its neighbour"},
      {"the cubic element",
       with(with(square, "THICK", "1"), "W", "0"),
       {"--max-area", "20", "--element", "cubic"},
       0,
       "warning: the cubic element does not converge"},
  };
  const auto path = std::filesystem::temp_directory_path() /
                    ("tavrin-cause-" + std::to_string(::getpid()) + ".sam");
  for (const Case& c : cases) {
    {
      std::ofstream f(path);
      f << c.job;
    }
    std::vector<std::string> args = {"solve", path.string()};
    args.insert(args.end(), c.options.begin(), c.options.end());
    const CliResult r = RunCli(args);
    EXPECT_EQ(r.exitCode, c.exitCode) << c.what << "\n" << r.err;
    EXPECT_NE((c.exitCode == 0 ? r.out : r.err).find(c.said), std::string::npos) << c.what << "\n"
                                                                                 << r.out << r.err;
    EXPECT_EQ(r.err.find("not held enough"), std::string::npos) << c.what;
  }
  std::filesystem::remove(path);
}

TEST(CliStiffness, WritesNineRowsOfNineNumbers) {
  const auto path =
      std::filesystem::temp_directory_path() / ("tavrin-k-" + std::to_string(::getpid()) + ".txt");
  for (const char* element : {"dkt", "cubic"}) {
    const CliResult r = RunCli({"stiffness", kSquare, "3", path.string(), "--element", element});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::istringstream in(ReadWholeFile(path));
    std::string line;
    int rows = 0;
    while (std::getline(in, line)) {
      std::istringstream ss(line);
      double v;
      int n = 0;
      while (ss >> v) ++n;
      EXPECT_EQ(n, 9);
      ++rows;
    }
    EXPECT_EQ(rows, 9);
  }
  std::filesystem::remove(path);
  EXPECT_EQ(RunCli({"stiffness", kSquare, "100000", path.string()}).exitCode, 1);
  EXPECT_EQ(RunCli({"stiffness", kSquare, "3"}).exitCode, 2);
}

// Every command reads its arguments by one rule: "-" and a digit starts a number, not an option;
// an unknown option or a wrong count of positional arguments is a usage error found before any
// meshing (nothing on stdout), the option named; usage and help print the same line.
TEST(CliArguments, OneRuleForOptionsAndPositionals) {
  const auto path =
      std::filesystem::temp_directory_path() / ("tavrin-k-" + std::to_string(::getpid()) + ".txt");
  const CliResult negative = RunCli({"stiffness", kSquare, "-1", path.string()});
  EXPECT_EQ(negative.exitCode, 1);  // a positional element number, refused as out of range
  EXPECT_NE(negative.err.find("element -1 is outside"), std::string::npos) << negative.err;
  EXPECT_FALSE(std::filesystem::exists(path));

  for (const std::vector<std::string>& args : {std::vector<std::string>{"mesh", kSquare, "-x"},
                                               {"solve", kSquare, "-x", "1"},
                                               {"solve", kSquare, kSquare},
                                               {"stiffness", kSquare, "3"},
                                               {"stiffness", kSquare, "3", path.string(), "extra"},
                                               {"solve", kSquare, "--out"}}) {
    const CliResult r = RunCli(args);
    EXPECT_EQ(r.exitCode, 2) << args.back();
    EXPECT_EQ(r.out, "") << args.back();  // refused before meshing
    // The usage line ends the message; a line naming the bad option may come before it.
    const std::size_t usage = r.err.find("usage: tavrin-cli " + args[0] + " ");
    EXPECT_TRUE(usage == 0 || (usage != std::string::npos && r.err[usage - 1] == '\n')) << r.err;
  }

  const CliResult help = RunCli({"--help"});
  EXPECT_EQ(help.exitCode, 0);
  for (const char* command : {"info", "resave", "mesh", "solve", "stiffness"}) {
    const std::string usage = FirstLine(RunCli({command}).err);
    ASSERT_EQ(usage.rfind("usage: tavrin-cli ", 0), 0u) << usage;
    EXPECT_NE(help.out.find("  tavrin-cli " +
                            usage.substr(std::string("usage: tavrin-cli ").size()) + "\n"),
              std::string::npos)
        << usage;
  }
}

}  // namespace
}  // namespace tavrin

namespace tavrin {
namespace {

// A job with springs and a foundation, solved end to end: the printed balance counts them and
// the tables list them; a support line the reader refused stops mesh and solve, naming it.
TEST(CliSolve, ElasticSupportsAreSolvedAndListed) {
  const std::string raft = std::string(TAVRIN_SOURCE_DIR) + "/examples/raft-on-foundation.sam";
  const auto dir =
      std::filesystem::temp_directory_path() / ("tavrin-raft-" + std::to_string(::getpid()));
  std::filesystem::remove_all(dir);
  const CliResult r = RunCli({"solve", raft, "--out", dir.string()});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const double load = Field(r.out, "load-z"), spring = Field(r.out, "spring-z"),
               ground = Field(r.out, "foundation-z"), reaction = Field(r.out, "reaction-z");
  EXPECT_GT(spring, 0);
  EXPECT_GT(ground, 0);
  EXPECT_NEAR(reaction + spring + ground, -load, 1e-9 * std::fabs(load));  // none held rigidly
  const auto reactions = ReadCsv(dir / "reactions.csv");
  const auto nodes = ReadCsv(dir / "nodes.csv");
  std::filesystem::remove_all(dir);
  double springSum = 0;
  for (double fz : reactions.at("fz")) springSum += fz;
  EXPECT_NEAR(springSum, spring, 1e-6 * spring);  // every row is a spring: nothing is held
  ASSERT_EQ(nodes.count("foundation_pressure"), 1u);
  for (size_t v = 0; v < nodes.at("w").size(); ++v)
    EXPECT_NEAR(nodes.at("foundation_pressure")[v], 0.05 * nodes.at("w")[v], 1e-9);

  const std::string bad = (std::filesystem::temp_directory_path() /
                           ("tavrin-bad-spring-" + std::to_string(::getpid()) + ".sam"))
                              .string();
  std::ofstream(bad) << ReadWholeFile(raft) << "KN, 0, -5, 0, 0\n";
  for (const char* command : {"mesh", "solve"}) {
    const CliResult refused = RunCli({command, bad});
    EXPECT_EQ(refused.exitCode, 1) << command;
    EXPECT_NE(refused.err.find("(\"KN, 0, -5, 0, 0\"): a stiffness or modulus it gives is "
                               "negative or not finite"),
              std::string::npos)
        << refused.err;
  }
  std::filesystem::remove(bad);
}

}  // namespace
}  // namespace tavrin

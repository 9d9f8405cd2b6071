// tavrin-cli mesh end to end: the printed figures, its usage and file errors, and the files it
// writes (mesh tables, picture, prepared job).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "CliRunner.h"

namespace tavrin {
namespace {

using testing::CliResult;
using testing::ReadWholeFile;
using testing::RunCli;

const std::string kSquare = std::string(TAVRIN_SOURCE_DIR) + "/examples/square.sam";
const std::string kHole = std::string(TAVRIN_SOURCE_DIR) + "/examples/plate-with-hole.sam";

class CliMesh : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("tavrin-cli-mesh-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  std::filesystem::path dir_;
};

// The "key: value" lines, in the order printed.
std::vector<std::pair<std::string, std::string>> Figures(const std::string& out) {
  std::vector<std::pair<std::string, std::string>> figures;
  std::istringstream in(out);
  std::string line;
  while (std::getline(in, line)) {
    const auto colon = line.find(": ");
    figures.emplace_back(line.substr(0, colon),
                         colon == std::string::npos ? "" : line.substr(colon + 2));
  }
  return figures;
}

TEST_F(CliMesh, PrintsTheFiguresOfTheMesh) {
  const CliResult r = RunCli({"mesh", kSquare});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.err, "");
  const auto figures = Figures(r.out);
  ASSERT_EQ(figures.size(), 10u) << r.out;  // no reason: both bounds met
  const char* const keys[] = {"nodes",   "edges",       "elements",       "min-angle",
                              "usable",  "area",        "min-angle-free", "input-corner-triangles",
                              "stopped", "largest-area"};
  for (int i = 0; i < 10; ++i) EXPECT_EQ(figures[i].first, keys[i]);
  // Euler on a disc: nodes - edges + elements = 1.
  EXPECT_EQ(
      std::stoi(figures[0].second) - std::stoi(figures[1].second) + std::stoi(figures[2].second),
      1);
  EXPECT_GE(std::stod(figures[3].second), 31.0);
  EXPECT_EQ(figures[4].second, "yes");
  EXPECT_EQ(figures[5].second, "202500");           // 450 x 450
  EXPECT_EQ(figures[6].second, figures[3].second);  // no corner sharper than 31 degrees
  EXPECT_EQ(figures[7].second, "0");
  EXPECT_EQ(figures[8].second, "no");
  EXPECT_LT(std::stod(figures[9].second), 200.0);

  // A larger area bound gives fewer elements; the node limit stops a refinement that the
  // angle alone would keep going (a maximal area of 0.01 makes every triangle too large).
  const CliResult coarse = RunCli({"mesh", kSquare, "--max-area", "2000", "--min-angle", "20"});
  ASSERT_EQ(coarse.exitCode, 0) << coarse.err;
  EXPECT_LT(std::stoi(Figures(coarse.out)[2].second), std::stoi(figures[2].second));
  // The limit holds to the node, and the figures say that the mesh was stopped.
  for (const char* limit : {"40", "777"}) {
    const CliResult stopped = RunCli({"mesh", kSquare, "--max-area", "0.01", "--max-nodes", limit});
    ASSERT_EQ(stopped.exitCode, 0) << stopped.err;
    EXPECT_EQ(Figures(stopped.out)[0].second, limit);
    EXPECT_EQ(Figures(stopped.out)[5].second, "202500");
    EXPECT_EQ(Figures(stopped.out)[8].second, "node-limit (elements may exceed the maximal area)");
  }
}

TEST_F(CliMesh, SharpCornersAreReportedAndDoNotSpoilTheMesh) {
  // A plate with a 20-degree corner: the mesh is usable at 31 degrees, its smallest angle is
  // the corner's, and the triangles in the corner are counted apart.
  const std::string job = Path("wedge.sam");
  {
    std::ofstream out(job);
    out << "N, 0, 0\nN, 300, 0\nN, 300, 150\nN, 234.92315519647, 85.5050358314172\n"
           "OBJECT 0\nE, 0, 1\nE, 1, 2\nE, 2, 3\nE, 3, 0\nClose\n";
  }
  const CliResult r = RunCli({"mesh", job, "--max-area", "100"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const auto figures = Figures(r.out);
  ASSERT_EQ(figures.size(), 10u) << r.out;  // both bounds met: no reason
  EXPECT_NEAR(std::stod(figures[3].second), 20.0, 0.01);
  EXPECT_EQ(figures[4].second, "yes");
  EXPECT_GE(std::stod(figures[6].second), 31.0);
  EXPECT_GT(std::stoi(figures[7].second), 0);
  EXPECT_EQ(figures[8].second, "no");
}

TEST_F(CliMesh, AMissedBoundSaysWhy) {
  // A bound beyond what the finishing stage guarantees, and a maximal area below the smallest
  // single-precision number (kept, not dropped to "no bound"): each names its cause.
  const struct {
    std::vector<std::string> options;
    const char* usable;
    std::vector<const char*> causes;
  } cases[] = {
      {{"--min-angle", "34", "--max-area", "2000"}, "no", {"finishing stage guarantees"}},
      // Usable at the angle, so solvable, but the area bound is missed and said to be.
      {{"--max-area", "1e-46", "--max-nodes", "3000"}, "yes", {"node limit", "maximal area"}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = {"mesh", kSquare};
    args.insert(args.end(), c.options.begin(), c.options.end());
    const CliResult r = RunCli(args);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto figures = Figures(r.out);
    ASSERT_EQ(figures.size(), 11u) << r.out;
    EXPECT_EQ(figures[4].second, c.usable) << r.out;
    EXPECT_EQ(figures[10].first, "reason");
    for (const char* cause : c.causes)
      EXPECT_NE(figures[10].second.find(cause), std::string::npos) << cause << ": " << r.out;
  }
}

TEST_F(CliMesh, UsageAndFileErrors) {
  for (const std::vector<std::string>& args : {std::vector<std::string>{"mesh"},
                                               {"mesh", kSquare, "--min-angle"},
                                               {"mesh", kSquare, "--min-angle", "abc"},
                                               {"mesh", kSquare, "--max-area", "-5"},
                                               {"mesh", kSquare, "--max-nodes", "2.5"},
                                               {"mesh", kSquare, "--dump"},
                                               {"mesh", kSquare, "--colour", "red"},
                                               {"mesh", kSquare, kSquare}}) {
    const CliResult r = RunCli(args);
    EXPECT_EQ(r.exitCode, 2) << args.back();
    EXPECT_EQ(r.out, "") << args.back();
    EXPECT_NE(r.err.find("usage"), std::string::npos) << args.back();
  }
  // Missing job, a folder for a job, an output file that cannot be made: one line, exit 1.
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"mesh", Path("missing.sam")},
        {"mesh", dir_.string()},
        {"mesh", kSquare, "--dump", Path("no/such/folder/mesh.txt")},
        {"mesh", kSquare, "--svg", Path("no/such/folder/mesh.svg")},
        {"mesh", kSquare, "--save-job", Path("no/such/folder/job.sam")}}) {
    const CliResult r = RunCli(args);
    EXPECT_EQ(r.exitCode, 1) << args.back();
    ASSERT_FALSE(r.err.empty()) << args.back();
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
  }
}

TEST_F(CliMesh, WritesTheTablesThePictureAndThePreparedJob) {
  const std::string dump = Path("mesh.txt");
  const std::string svg = Path("mesh.svg");
  const std::string saved = Path("prepared.sam");
  const CliResult r = RunCli({"mesh", kHole, "--max-area", "2000", "--min-angle", "25", "--dump",
                              dump, "--svg", svg, "--save-job", saved});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const auto figures = Figures(r.out);
  ASSERT_EQ(figures.size(), 10u);

  // Tables in index order, with the counts printed; every triangle's nodes are ends of its
  // edges, and every edge slot names a triangle that lists the edge.
  std::istringstream in(ReadWholeFile(dump));
  std::string word;
  int count = 0;
  in >> word >> count;
  ASSERT_EQ(word, "nodes");
  EXPECT_EQ(std::to_string(count), figures[0].second);
  std::vector<std::pair<double, double>> nodes(count);
  for (int i = 0; i < count; ++i) {
    int index = -1;
    in >> index >> nodes[i].first >> nodes[i].second;
    ASSERT_EQ(index, i);
  }
  in >> word >> count;
  ASSERT_EQ(word, "edges");
  EXPECT_EQ(std::to_string(count), figures[1].second);
  struct Edge {
    int begin, end, mark, t1, t2;
  };
  std::vector<Edge> edges(count);
  int segments = 0;
  for (int e = 0; e < count; ++e) {
    int index = -1;
    Edge& g = edges[e];
    in >> index >> g.begin >> g.end >> g.mark >> g.t1 >> g.t2;
    ASSERT_EQ(index, e);
    EXPECT_TRUE(g.mark == 0 || g.mark == 1);
    segments += g.mark;
  }
  in >> word >> count;
  ASSERT_EQ(word, "triangles");
  EXPECT_EQ(std::to_string(count), figures[2].second);
  std::map<int, std::set<int>> edgesOf;
  for (int t = 0; t < count; ++t) {
    int index = -1, e[3], n[3];
    in >> index >> e[0] >> e[1] >> e[2] >> n[0] >> n[1] >> n[2];
    ASSERT_EQ(index, t);
    ASSERT_FALSE(in.fail());
    // Node 0 and 1 are the begin and end of edge 1; node 2 is the third corner.
    EXPECT_EQ(n[0], edges[e[0]].begin);
    EXPECT_EQ(n[1], edges[e[0]].end);
    const std::set<int> corners{n[0], n[1], n[2]};
    EXPECT_EQ(corners.size(), 3u);
    for (int k = 0; k < 3; ++k) {
      EXPECT_TRUE(corners.count(edges[e[k]].begin) && corners.count(edges[e[k]].end));
      edgesOf[t].insert(e[k]);
    }
  }
  for (int e = 0; e < static_cast<int>(edges.size()); ++e) {
    for (int t : {edges[e].t1, edges[e].t2}) {
      if (t != -1) {
        EXPECT_TRUE(edgesOf[t].count(e)) << "edge " << e;
      }
    }
  }
  // Coordinates read back to the very values: the input corners are exact.
  EXPECT_EQ(nodes[1].first, 450.0);

  // One line per edge in the picture, segments drawn in their own darker group.
  const std::string picture = ReadWholeFile(svg);
  EXPECT_EQ(picture.rfind("<svg", 0), 0u);
  EXPECT_NE(picture.find("</svg>"), std::string::npos);
  size_t lines = 0;
  for (size_t at = picture.find("<line"); at != std::string::npos;
       at = picture.find("<line", at + 1))
    ++lines;
  EXPECT_EQ(lines, edges.size());
  const size_t polygons = [&] {
    size_t n = 0;
    for (size_t at = picture.find("<polygon"); at != std::string::npos;
         at = picture.find("<polygon", at + 1))
      ++n;
    return n;
  }();
  EXPECT_EQ(std::to_string(polygons), figures[2].second);
  EXPECT_GT(segments, 0);

  // The prepared job meshes to the same mesh as the original.
  const CliResult again = RunCli({"mesh", saved, "--max-area", "2000", "--min-angle", "25"});
  ASSERT_EQ(again.exitCode, 0) << again.err;
  EXPECT_EQ(again.out, r.out);
}

// Every command that meshes checks the drawing first: a hostile one gets its message, exit 1
// and no figures.
TEST_F(CliMesh, HostileGeometryIsRefusedByName) {
  const std::string square =
      "N, 0, 0\nN, 100, 0\nN, 100, 100\nN, 0, 100\nE, 0, 1\nE, 1, 2\nE, 2, 3\nE, 3, 0\nClose\n";
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"N, 0, 0\nN, 100, 0\nN, 100, 100\nN, 0, 100\nE, 0, 2\nE, 2, 1\nE, 1, 3\nE, 3, 0\nClose\n",
       "Edges 0 and 2 cross at (50, 50)."},
      {square + "N, 20, 0\nN, 80, 0\nN, 50, 30\nE, 4, 5\nE, 5, 6\nE, 6, 4\nClose\n",
       "Edges 0 and 4 overlap near (20, 0)."},
      {square + "N, 20, 20\nN, 40, 20\nE, 4, 5\n",
       "The polygon being drawn (edge 4) is not closed: close it on its first node before "
       "meshing."},
      {square + "N, 0, 0\n", "Nodes 0 and 4 are at the same place, (0, 0)."},
      {square + "N, -50, 50\n",
       "Node 4, a free node, lies outside the plate's outline (polygon 0)."},
      {"N, 0, 0\nN, 100, 0\nN, 200, 0\nE, 0, 1\nE, 1, 2\nE, 2, 0\nClose\n",
       "Polygon 0 encloses no area: its nodes lie on one line."},
      {"N, 0, 0\nN, 1e152, 0\nN, 100, 1e152\nE, 1, 2\nClose\n",
       "Polygon 0 is not closed: it has only edge 0, from node 1 to node 2; a polygon needs at "
       "least three edges."},
      {"N, 0, 0\nN, 1e150, 0\nN, 1e150, 1e150\nE, 0, 1\nE, 1, 2\nE, 2, 0\nClose\n",
       "Node 1 lies at (1e+150, 0): coordinates must be finite and at most 1e+12 in magnitude."},
  };
  int k = 0;
  for (const auto& [text, message] : cases) {
    const std::string job = Path("hostile" + std::to_string(k++) + ".sam");
    std::ofstream(job) << text;
    for (const char* command : {"mesh", "solve"}) {
      const CliResult r = RunCli({command, job});
      EXPECT_EQ(r.exitCode, 1) << command << " " << message;
      EXPECT_EQ(r.out, "") << command;
      EXPECT_EQ(r.err, std::string("tavrin-cli ") + command + ": " + message + "\n");
    }
    const CliResult r = RunCli({"stiffness", job, "0", Path("k.txt")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "tavrin-cli stiffness: " + message + "\n");
  }
}

// The mesh options a mesher cannot aim for are refused by name (exit 2).
TEST_F(CliMesh, OptionsOutOfRangeAreNamed) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"mesh", kSquare, "--min-angle", "90.0001"},
       "tavrin-cli: --min-angle 90.0001 is outside 0 to 35 degrees\n"},
      {{"mesh", kSquare, "--min-angle", "-1"},
       "tavrin-cli: --min-angle -1 is outside 0 to 35 degrees\n"},
      {{"mesh", kSquare, "--max-area", "0"}, "tavrin-cli: --max-area 0 is not positive\n"},
      {{"solve", kSquare, "--max-area", "-3"}, "tavrin-cli: --max-area -3 is not positive\n"},
  };
  for (const auto& [args, line] : cases) {
    const CliResult r = RunCli(args);
    EXPECT_EQ(r.exitCode, 2) << line;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err.rfind(line, 0), 0u) << r.err;
  }
  EXPECT_EQ(RunCli({"mesh", kSquare, "--min-angle", "35", "--max-nodes", "50"}).exitCode, 0);
}

}  // namespace
}  // namespace tavrin

// What the workbench says about input it cannot use: drawings that cannot be meshed, files that
// are no job or have lines it skipped, a maximal area of 0; and saves that fail without losing
// the job or the file on disk.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QAction>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "analysis/TGlobMatrix.h"
#include "mesh/FEM.h"
#include "tests/ui/WorkbenchFixture.h"

namespace tavrin::test {
namespace {

class RobustInput : public Workbench {
 protected:
  void SetUp() override {
    Workbench::SetUp();
    GlobalMeshParameters().animate = false;
    GlobalMeshParameters().maxArea = 2000.0f;
  }
};

const char kSquare[] =
    "N, 0, 0\nN, 100, 0\nN, 100, 100\nN, 0, 100\nE, 0, 1\nE, 1, 2\nE, 2, 3\nE, 3, 0\nClose\n";

// Each hostile drawing: an "Error!" box naming what is wrong, no mesh, Solve Static off; the
// earlier mesh and its results go too, as with an unusable mesh, since they belong to a drawing
// that has changed since.
TEST_F(RobustInput, HostileDrawingsGetAMessageAndNoMesh) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"N, 0, 0\nN, 100, 0\nN, 100, 100\nN, 0, 100\nE, 0, 2\nE, 2, 1\nE, 1, 3\nE, 3, 0\nClose\n",
       "Edges 0 and 2 cross at (50, 50)."},
      {std::string(kSquare) + "N, 20, 0\nN, 80, 0\nN, 50, 30\nE, 4, 5\nE, 5, 6\nE, 6, 4\nClose\n",
       "Edges 0 and 4 overlap near (20, 0)."},
      {"N, 0, 0\nN, 10, 0\nN, 10, 10\nN, 0, 10\nE, 0, 1\nE, 1, 2\nE, 2, 3\nClose\n",
       "Polygon 0 is not closed: only one of its edges (edge 0) ends at node 0."},
      {std::string(kSquare) + "N, 100, 100\n", "Nodes 2 and 4 are at the same place, (100, 100)."},
      {std::string(kSquare) + "N, 500, 50\n",
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
    // A usable mesh and a solution first, so there is something to lose.
    ASSERT_TRUE(window->OpenJob(ExamplePath("square.sam")));
    window->GenerateMeshClick();
    window->SolveStaticClick();
    ASSERT_TRUE(window->StaticSolved());
    ASSERT_TRUE(platform.messages.empty()) << platform.messages[0].text;

    ASSERT_TRUE(window->OpenJob(WriteFile("hostile" + std::to_string(k++) + ".sam", text)));
    window->GenerateMeshClick();
    ASSERT_EQ(platform.messages.size(), 1u) << message;
    EXPECT_EQ(platform.messages[0].text, message);
    EXPECT_EQ(platform.messages[0].caption, "Error!");
    EXPECT_EQ(window->Mesh().NodeCount(), 0) << message;
    EXPECT_FALSE(window->Meshed());
    EXPECT_FALSE(window->StaticSolved());
    EXPECT_FALSE(Enabled("SolveStaticMenu"));
    EXPECT_FALSE(Enabled("SolveStressMenu"));
    EXPECT_FALSE(Enabled("CosmosInputFile"));
    EXPECT_TRUE(Enabled("Generatemesh"));
    platform.messages.clear();
  }
}

TEST_F(RobustInput, PolygonStillBeingDrawnIsNamed) {
  ASSERT_TRUE(window->OpenJob(
      WriteFile("open.sam", std::string(kSquare) + "N, 20, 20\nN, 40, 20\nE, 4, 5\n")));
  window->GenerateMeshClick();
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(
      platform.messages[0].text,
      "The polygon being drawn (edge 4) is not closed: close it on its first node before meshing.");
}

// A default maximal area of 0 (a plate under 350 square units) would refine for ever.
TEST_F(RobustInput, ZeroMaximalAreaIsRefusedAtGenerateMesh) {
  ASSERT_TRUE(window->OpenJob(ExamplePath("square.sam")));
  GlobalMeshParameters().maxArea = 0.0f;
  window->GenerateMeshClick();
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].text,
            "The maximal area of triangle is 0: set a positive value in Mesh, Parameters & Stats.");
  EXPECT_EQ(window->Mesh().NodeCount(), 0);
}

TEST_F(RobustInput, OpenSaysWhatWasNotRead) {
  ASSERT_TRUE(window->OpenJob(ExamplePath("square.sam")));
  const int nodes = window->Structure().NodeCount();
  window->Document().SetModified(true);
  std::string garbage;
  for (int i = 0; i < 700; ++i) garbage += static_cast<char>((i * 131 + 7) % 256);
  const std::string random = WriteFile("random.sam", garbage);
  EXPECT_FALSE(window->OpenJob(random));
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].caption, "Error!");
  EXPECT_NE(platform.messages[0].text.find("is not a job file"), std::string::npos)
      << platform.messages[0].text;
  EXPECT_EQ(window->Structure().NodeCount(), nodes);  // the job is kept, caption and flag too
  EXPECT_NE(window->windowTitle().toStdString().find("square.sam"), std::string::npos);
  EXPECT_TRUE(window->Modified());

  window->Document().SetModified(false);
  platform.messages.clear();
  const std::string partial =
      WriteFile("partial.sam", std::string(kSquare) + "E, 2, 9\nFN, 1, x, 0, 0\n");
  EXPECT_TRUE(window->OpenJob(partial));
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].caption, "Warning");
  EXPECT_EQ(platform.messages[0].text,
            "partial.sam: 2 lines were not read. The first is line 10 (\"E, 2, 9\"): it names a "
            "node the job "
            "does not have.");
  EXPECT_EQ(window->Structure().EdgeCount(), 4);
}

// A save that fails keeps the modified flag, says why and leaves the file on disk as it was:
// past a file-size limit (lowered for this process and put back), into a folder that has
// vanished, and into a read-only folder (not for root, whom permissions do not bind).
TEST_F(RobustInput, FailedSavesKeepTheJobAndTheOldFile) {
  const std::string path = WriteFile("job.sam", std::string(kSquare));
  ASSERT_TRUE(window->OpenJob(path));
  for (int k = 0; k < 60; ++k) window->Structure().AddFreeNode(1 + k, 50);
  window->Document().SetModified(true);

  rlimit saved{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  const rlimit small{1024, saved.rlim_max};
  if (saved.rlim_max != RLIM_INFINITY && saved.rlim_max < 1024)
    GTEST_SKIP() << "the file-size limit is already tiny";
  auto* previous = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool saved1 = window->Save1Click();
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previous);
  EXPECT_FALSE(saved1);
  EXPECT_TRUE(window->Modified());
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].caption, "Error!");
  EXPECT_EQ(platform.messages[0].text, "cannot write '" + path + "': File too large");
  std::ifstream in(path);
  const std::string onDisk((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(onDisk, kSquare);

  // The folder of the job gone: Save fails the same way, and Save As elsewhere still works.
  const auto sub = dir / "sub";
  std::filesystem::create_directories(sub);
  const std::string inSub = (sub / "job.sam").string();
  platform.files.push_back(inSub);
  ASSERT_TRUE(window->FileSaveAsClick());
  std::filesystem::remove_all(sub);
  EXPECT_FALSE(window->Save1Click());
  EXPECT_TRUE(window->Modified());
  ASSERT_EQ(platform.messages.size(), 2u);
  EXPECT_NE(platform.messages[1].text.find("No such file or directory"), std::string::npos)
      << platform.messages[1].text;
  platform.files.push_back((dir / "rescued.sam").string());
  EXPECT_TRUE(window->FileSaveAsClick());
  EXPECT_TRUE(window->Save1Click());
  EXPECT_FALSE(window->Modified());
}

TEST_F(RobustInput, FailedSaveIntoAReadOnlyFolderKeepsTheJob) {
  if (::geteuid() == 0)
    GTEST_SKIP() << "root ignores folder permissions: the read-only folder cannot be tried";
  ASSERT_TRUE(window->OpenJob(WriteFile("job.sam", std::string(kSquare))));
  const auto locked = dir / "locked";
  std::filesystem::create_directories(locked);
  const std::string inLocked = (locked / "job.sam").string();
  platform.files.push_back(inLocked);
  ASSERT_TRUE(window->FileSaveAsClick());
  std::filesystem::permissions(
      locked, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  window->Document().SetModified(true);
  EXPECT_FALSE(window->Save1Click());
  std::filesystem::permissions(locked, std::filesystem::perms::owner_all);
  EXPECT_TRUE(window->Modified());
  EXPECT_NE(platform.messages.back().text.find("Permission denied"), std::string::npos);
}

}  // namespace
}  // namespace tavrin::test

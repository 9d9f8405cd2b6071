// The workbench under random gestures from fixed seeds: whatever the user does, the program
// neither crashes nor misleads (see Monkey.h for what is checked after every step).
// TAVRIN_MONKEY_STEPS runs each seed longer, TAVRIN_MONKEY_SEED_OFFSET tries other seeds.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <cstdio>
#include <filesystem>
#include <string>

#include "tests/ui/Monkey.h"
#include "tests/ui/WorkbenchFixture.h"

namespace tavrin::test {
namespace {

class MonkeySeed : public ::testing::TestWithParam<std::uint64_t> {};

TEST_P(MonkeySeed, RandomSessionKeepsEveryPromise) {
  MonkeyOptions options;
  options.seed = GetParam() + MonkeySeedOffsetFromEnvironment();
  options.steps = MonkeyStepsFromEnvironment(600);
  options.dir = std::filesystem::temp_directory_path() /
                ("tavrin-monkey-" + std::to_string(QCoreApplication::applicationPid()) + "-" +
                 std::to_string(options.seed));
  Monkey monkey(options);
  const std::vector<std::string> faults = monkey.Run();
  const MonkeyFigures& f = monkey.Figures();
  std::printf(
      "monkey seed %llu: %d steps in %.1f s; %d commands, %d dialogs (%d gestures), %d messages, "
      "%d questions, %d file choosers, %d meshes (%d usable, largest %d nodes), %d stop keys, %d "
      "solves, "
      "%d restarts\n",
      static_cast<unsigned long long>(options.seed), f.steps, f.seconds, f.actions, f.dialogs,
      f.dialogGestures, f.messages, f.confirmations, f.fileChoosers, f.meshes, f.usableMeshes,
      f.maxNodes, f.stops, f.solves, f.restarts);
  for (const std::string& fault : faults) ADD_FAILURE() << fault;
  EXPECT_EQ(f.steps, options.steps);
}

INSTANTIATE_TEST_SUITE_P(Seeds, MonkeySeed, ::testing::Values(1u, 2u, 3u, 4u, 5u));

// Faults the monkey found, each kept as the shortest sequence that shows it.
using MonkeyFinds = Workbench;

// New Vertex or New Polygon, Save, then the click that adds the node: the job had changed
// since the save but was shown unmodified, and closing dropped the node without the question.
TEST_F(MonkeyFinds, ANodeAddedAfterASaveMarksTheJobModified) {
  const std::string path = (dir / "saved.sam").string();
  Action("newvertex")->trigger();
  platform.files.push_back(path);
  ASSERT_TRUE(window->Save1Click());
  ASSERT_FALSE(window->Modified());
  ClickWorld(100, 100);
  ASSERT_EQ(window->Structure().NodeCount(), 1);
  EXPECT_TRUE(window->Modified()) << "a free node";

  Action("newpolygon")->trigger();
  ClickWorld(200, 200);
  ASSERT_TRUE(window->Save1Click());
  ASSERT_FALSE(window->Modified());
  ClickWorld(400, 200);
  ASSERT_EQ(window->Structure().NodeCount(), 3);
  EXPECT_TRUE(window->Modified()) << "a polygon vertex";
  ClickWorld(300, 400);
  ASSERT_TRUE(window->Save1Click());
  ClickWorld(200, 200);  // closes the polygon
  ASSERT_EQ(window->Structure().PolygonCount(), 1);
  EXPECT_TRUE(window->Modified()) << "the closing edge";
}

// A job whose hole was drawn before its outline, opened and meshed: the mesher's preparation
// moves the outline into the first polygon slot, so Save would write another file; the job was
// nevertheless shown unmodified. An outline drawn first changes nothing and stays unmodified.
TEST_F(MonkeyFinds, GenerateMeshThatReordersTheJobMarksItModified) {
  GlobalMeshParameters().animate = false;
  const char* const kHoleFirst =
      "N, 100, 100\nN, 200, 100\nN, 200, 200\nN, 100, 200\n"
      "N, 0, 0\nN, 300, 0\nN, 300, 300\nN, 0, 300\n"
      "OBJECT 0\nE, 0, 1\nE, 1, 2\nE, 2, 3\nE, 3, 0\nClose\n"
      "OBJECT 1\nE, 4, 5\nE, 5, 6\nE, 6, 7\nE, 7, 4\nClose\n";
  OpenThroughDialog(WriteFile("hole-first.sam", kHoleFirst));
  ASSERT_EQ(window->Structure().PolygonCount(), 2);
  const std::string opened = window->Structure().JobText();
  window->GenerateMeshClick();
  ASSERT_NE(window->Structure().JobText(), opened) << "the outline was already in the first slot";
  EXPECT_TRUE(window->Modified());
  ASSERT_TRUE(window->Save1Click());

  // Meshed again, the saved order stays as it is.
  window->GenerateMeshClick();
  EXPECT_TRUE(window->Meshed());
  EXPECT_FALSE(window->Modified());
  EXPECT_TRUE(platform.messages.empty()) << platform.messages[0].text;
}

}  // namespace
}  // namespace tavrin::test

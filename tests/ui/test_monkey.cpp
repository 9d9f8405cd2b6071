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
                ("tavrin-monkey-" + std::to_string(QCoreApplication::applicationPid()) + "-" + std::to_string(options.seed));
  Monkey monkey(options);
  const std::vector<std::string> faults = monkey.Run();
  const MonkeyFigures& f = monkey.Figures();
  std::printf("monkey seed %llu: %d steps in %.1f s; %d commands, %d dialogs (%d gestures), %d messages, "
              "%d questions, %d file choosers, %d meshes (%d usable, largest %d nodes), %d stop keys, %d solves, "
              "%d restarts, %d steps with a job reordered by Generate mesh\n",
              static_cast<unsigned long long>(options.seed), f.steps, f.seconds, f.actions, f.dialogs,
              f.dialogGestures, f.messages, f.confirmations, f.fileChoosers, f.meshes, f.usableMeshes, f.maxNodes,
              f.stops, f.solves, f.restarts, f.reorderedJobs);
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
  ASSERT_FALSE(window->modified);
  ClickWorld(100, 100);
  ASSERT_EQ(window->Structure().NodeCount(), 1);
  EXPECT_TRUE(window->modified) << "a free node";

  Action("newpolygon")->trigger();
  ClickWorld(200, 200);
  ASSERT_TRUE(window->Save1Click());
  ASSERT_FALSE(window->modified);
  ClickWorld(400, 200);
  ASSERT_EQ(window->Structure().NodeCount(), 3);
  EXPECT_TRUE(window->modified) << "a polygon vertex";
  ClickWorld(300, 400);
  ASSERT_TRUE(window->Save1Click());
  ClickWorld(200, 200);  // closes the polygon
  ASSERT_EQ(window->Structure().PolygonCount(), 1);
  EXPECT_TRUE(window->modified) << "the closing edge";
}

}  // namespace
}  // namespace tavrin::test

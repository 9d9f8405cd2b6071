// The element prompt and the two export commands' flow and files.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <utility>

#include "analysis/PlateMesh.h"
#include "analysis/TGlobMatrix.h"
#include "tests/ui/TestPlatform.h"
#include "ui/TAskBox.h"
#include "ui/TAskBoxExports.h"

namespace tavrin {
namespace {

namespace fs = std::filesystem;

// Answers the prompt once its modal loop runs: optionally types text, then presses OK.
void AnswerPrompt(TAskBox& box, std::optional<QString> text) {
  QTimer::singleShot(0, &box, [&box, text] {
    if (text) box.findChild<QLineEdit*>("Answer")->setText(*text);
    box.findChild<QPushButton*>("OK")->click();
  });
}

std::string Contents(const fs::path& p) {
  std::ifstream in(p);
  std::stringstream out;
  out << in.rdbuf();
  return out.str();
}

TEST(ElementNumber, Parsing) {
  EXPECT_EQ(ParseElementNumber("0"), 0);
  EXPECT_EQ(ParseElementNumber(" 17 "), 17);
  EXPECT_EQ(ParseElementNumber("+3"), 3);
  EXPECT_EQ(ParseElementNumber("-2"), -2);
  for (const char* bad : {"", " ", "abc", "1.5", "5x", "+-5", "--5", "99999999999"})
    EXPECT_EQ(ParseElementNumber(bad), std::nullopt) << bad;
}

// A solved cantilever of two triangles, the smallest mesh both exports can write.
class ExportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("tavrin_dialogs_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    PlateMesh mesh;
    DofRecord clamped;
    clamped.code = 111;
    mesh.AddNode(0, 0, clamped);
    mesh.AddNode(2, 0, clamped);
    mesh.AddNode(2, 1);
    DofRecord loaded;
    loaded.force[0] = -5;
    mesh.AddNode(0, 1, loaded);
    ElementPhysics m{1000, 0.3, 0.1, 0};
    mesh.AddTriangle(0, 1, 2, m);
    mesh.AddTriangle(0, 2, 3, m);
    ASSERT_EQ(solver.SolveStatic(mesh), SolveCode::Ok);
  }
  void TearDown() override { fs::remove_all(dir); }

  test::TestPlatform platform;
  TGlobMatrix solver;
  TAskBox prompt;
  fs::path dir;
};

// The file written through the dialog is the solver's own export to that path.
TEST_F(ExportTest, CosmosFileThroughTheDataFileDialog) {
  fs::path out = dir / "model.tvd", direct = dir / "direct.tvd";
  platform.files.push_back(out.string());
  EXPECT_TRUE(RunCosmosExport(solver));
  ASSERT_EQ(platform.filters.size(), 1u);
  EXPECT_EQ(platform.filters[0].filter, "ASCII Data Files (*.TVD)|*.tvd");
  EXPECT_EQ(platform.filters[0].defaultExtension, "TVD");
  EXPECT_TRUE(platform.messages.empty());
  ASSERT_EQ(solver.ExportCosmos(direct.string()), ExportResult::Written);
  EXPECT_EQ(Contents(out), Contents(direct));
  EXPECT_EQ(Contents(out).rfind("N, 1, ", 0), 0u);

  // Cancelling the dialog writes nothing and says nothing.
  EXPECT_FALSE(RunCosmosExport(solver));
  EXPECT_TRUE(platform.messages.empty());
}

TEST_F(ExportTest, FileThatCannotBeCreatedShowsAnError) {
  std::string bad = (dir / "missing" / "model.tvd").string();
  platform.files.push_back(bad);
  EXPECT_FALSE(RunCosmosExport(solver));
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].caption, "Error!");
  EXPECT_NE(platform.messages[0].text.find(bad), std::string::npos);
  EXPECT_NE(platform.messages[0].text.find("No such file or directory"), std::string::npos);
  EXPECT_FALSE(fs::exists(bad));

  platform.messages.clear();
  platform.files.push_back(bad);
  AnswerPrompt(prompt, QStringLiteral("1"));
  EXPECT_FALSE(RunLocalStiffnessExport(prompt, solver));
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_NE(platform.messages[0].text.find("No such file or directory"), std::string::npos);
}

// Every way a writer can fail ends the command as failed with one "Error!" box; only Written
// counts as a file on disk.
TEST(ExportResults, NoFailureIsTakenForSuccess) {
  test::TestPlatform platform;
  const std::pair<ExportResult, const char*> failures[] = {
      {ExportResult::CannotCreate, "Cannot write the file out.tvd"},
      {ExportResult::NoSolution, "There is no solution to export: run Solve Static first"},
      {ExportResult::NoSuchElement, " in the solved mesh"},
      {ExportResult::DegenerateElement, " is degenerate: its stiffness matrix cannot be computed"},
  };
  for (const auto& [result, text] : failures) {
    for (bool cosmos : {true, false}) {
      platform.messages.clear();
      platform.files.push_back("out.tvd");
      const bool written = cosmos
                               ? RunCosmosExport([r = result](const std::string&) { return r; })
                               : RunLocalStiffnessExport(
                                     "0", 1, [r = result](const std::string&, int) { return r; });
      EXPECT_FALSE(written) << text;
      ASSERT_EQ(platform.messages.size(), 1u) << text;
      EXPECT_EQ(platform.messages[0].caption, "Error!");
      EXPECT_NE(platform.messages[0].text.find(text), std::string::npos)
          << platform.messages[0].text;
    }
  }
  platform.messages.clear();
  platform.files.push_back("out.tvd");
  EXPECT_TRUE(RunCosmosExport([](const std::string&) { return ExportResult::Written; }));
  EXPECT_TRUE(platform.messages.empty());
}

// The prompt's field reads "0" until edited, and that is the element written.
TEST_F(ExportTest, UntouchedPromptMeansElementZero) {
  fs::path out = dir / "k0.tvd", direct = dir / "direct0.tvd";
  platform.files.push_back(out.string());
  AnswerPrompt(prompt, std::nullopt);
  ASSERT_TRUE(RunLocalStiffnessExport(prompt, solver));
  EXPECT_TRUE(platform.messages.empty());
  ASSERT_EQ(solver.WriteLocalStiffness(direct.string(), 0), ExportResult::Written);
  EXPECT_EQ(Contents(out), Contents(direct));
}

TEST_F(ExportTest, TypedElementAndRefusedNumbers) {
  fs::path out = dir / "k1.tvd";
  platform.files.push_back(out.string());
  AnswerPrompt(prompt, QStringLiteral("1"));
  EXPECT_TRUE(RunLocalStiffnessExport(prompt, solver));
  fs::path direct = dir / "direct1.tvd", other = dir / "direct0.tvd";
  ASSERT_EQ(solver.WriteLocalStiffness(direct.string(), 1), ExportResult::Written);
  ASSERT_EQ(solver.WriteLocalStiffness(other.string(), 0), ExportResult::Written);
  EXPECT_EQ(Contents(out), Contents(direct));
  EXPECT_NE(Contents(out), Contents(other));
  EXPECT_EQ(prompt.AnswerText(), "1");  // kept for the next opening

  // Out of range and not a number: an error before any file dialog, nothing written.
  platform.filters.clear();
  for (const char* text : {"2", "-1"}) {
    platform.messages.clear();
    AnswerPrompt(prompt, QString::fromLatin1(text));
    EXPECT_FALSE(RunLocalStiffnessExport(prompt, solver));
    ASSERT_EQ(platform.messages.size(), 1u) << text;
    EXPECT_EQ(platform.messages[0].text, "Element # must be from 0 to 1");
    EXPECT_EQ(platform.messages[0].caption, "Error!");
  }
  platform.messages.clear();
  AnswerPrompt(prompt, QStringLiteral("x1"));
  EXPECT_FALSE(RunLocalStiffnessExport(prompt, solver));
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].text, "'x1' is not a valid integer value");
  EXPECT_TRUE(platform.filters.empty());
}

}  // namespace
}  // namespace tavrin

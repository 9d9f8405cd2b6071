// The element prompt, the two export commands' flow and files, and the about box.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "analysis/PlateMesh.h"
#include "analysis/TGlobMatrix.h"
#include "tests/ui/TestPlatform.h"
#include "ui/TAboutDialog.h"
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

std::vector<std::string> Lines(const fs::path& p) {
  std::ifstream in(p);
  std::vector<std::string> out;
  for (std::string line; std::getline(in, line);) out.push_back(line);
  return out;
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
    DofData clamped;
    clamped.code = 111;
    mesh.AddNode(0, 0, clamped);
    mesh.AddNode(2, 0, clamped);
    mesh.AddNode(2, 1);
    DofData loaded;
    loaded.force[0] = -5;
    mesh.AddNode(0, 1, loaded);
    PlateMaterial m{1000, 0.3, 0.1, 0};
    mesh.AddTriangle(0, 1, 2, m);
    mesh.AddTriangle(0, 2, 3, m);
    ASSERT_EQ(solver.SolveStatic(mesh), 0);
  }
  void TearDown() override { fs::remove_all(dir); }

  test::TestPlatform platform;
  TGlobMatrix solver;
  TAskBox prompt;
  fs::path dir;
};

TEST_F(ExportTest, CosmosFileThroughTheDataFileDialog) {
  fs::path out = dir / "model.tvd";
  platform.files.push_back(out.string());
  EXPECT_TRUE(RunCosmosExport(solver));
  ASSERT_EQ(platform.filters.size(), 1u);
  EXPECT_EQ(platform.filters[0].filter, "ASCII Data Files (*.TVD)|*.tvd");
  EXPECT_TRUE(platform.messages.empty());
  auto lines = Lines(out);
  int n = 0, e = 0, d = 0, f = 0;
  for (const auto& l : lines) {
    n += l.rfind("N, ", 0) == 0;
    e += l.rfind("E, ", 0) == 0;
    d += l.rfind("D,", 0) == 0;
    f += l.rfind("F, ", 0) == 0;
  }
  EXPECT_EQ(n, 4);
  EXPECT_EQ(e, 2);
  EXPECT_GT(d, 0);
  EXPECT_GT(f, 0);
  EXPECT_EQ(n + e + d + f, static_cast<int>(lines.size()));

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

TEST_F(ExportTest, UntouchedPromptMeansElementZero) {
  fs::path out = dir / "k0.tvd";
  platform.files.push_back(out.string());
  AnswerPrompt(prompt, std::nullopt);
  ASSERT_TRUE(RunLocalStiffnessExport(prompt, solver));
  EXPECT_TRUE(platform.messages.empty());
  auto lines = Lines(out);
  ASSERT_EQ(lines.size(), 9u);
  std::vector<std::vector<double>> k;
  for (const auto& l : lines) {
    EXPECT_EQ(l.substr(l.size() - 2), "  ");
    std::istringstream in(l);
    std::vector<double> row;
    for (double v; in >> v;) row.push_back(v);
    ASSERT_EQ(row.size(), 9u);
    k.push_back(row);
  }
  // Symmetric up to the 6 printed digits (relative 1e-5 of the larger entry, plus a floor).
  for (int i = 0; i < 9; ++i)
    for (int j = 0; j < i; ++j)
      EXPECT_NEAR(k[i][j], k[j][i], 1e-5 * std::max(std::fabs(k[i][j]), 1.0)) << i << "," << j;
}

TEST_F(ExportTest, TypedElementAndRefusedNumbers) {
  fs::path out = dir / "k1.tvd";
  platform.files.push_back(out.string());
  AnswerPrompt(prompt, QStringLiteral("1"));
  EXPECT_TRUE(RunLocalStiffnessExport(prompt, solver));
  EXPECT_EQ(Lines(out).size(), 9u);
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

TEST(AboutBox, ShowsNameVersionAndDescription) {
  TAboutDialog about;
  QString all;
  for (QLabel* l : about.findChildren<QLabel*>()) all += l->text() + "\n";
  EXPECT_TRUE(all.contains("TAVRIN"));
  EXPECT_TRUE(all.contains("0.9b"));
  EXPECT_TRUE(all.contains("thin plates"));
  QTimer::singleShot(0, &about, [&about] { about.findChild<QPushButton*>()->click(); });
  about.Show();
  EXPECT_FALSE(about.isVisible());
}

}  // namespace
}  // namespace tavrin

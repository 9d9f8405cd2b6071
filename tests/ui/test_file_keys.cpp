// The File menu from the keyboard (Ctrl+N, Ctrl+O, Ctrl+S, Ctrl+Shift+S, Ctrl+Q) and its list of
// recent files, which lives in the settings of the test run, never in the user's.
#include <QDir>
#include <QMenu>
#include <QSettings>
#include <QStandardPaths>

#include "tests/ui/WorkbenchFixture.h"
#include "ui/RecentFiles.h"

namespace tavrin::test {
namespace {

class FileKeys : public Workbench {
 protected:
  std::string Square() { return ExamplePath("square.sam"); }
  // The captions of the recent-files menu, without the separator and the clearing entry.
  std::vector<std::string> RecentCaptions() {
    std::vector<std::string> out;
    for (QAction* a : window->RecentMenu()->actions())
      if (a->objectName().startsWith("RecentFile")) out.push_back(a->text().toStdString());
    return out;
  }
  std::string Copy(const std::string& name) {
    std::ifstream in(Square(), std::ios::binary);
    return WriteFile(name, std::string(std::istreambuf_iterator<char>(in), {}));
  }
};

TEST_F(FileKeys, StandardKeysRunTheFileCommands) {
  platform.files.push_back(Square());
  Press(Qt::Key_O, Qt::ControlModifier);
  ASSERT_EQ(window->FileName(), Square());
  EXPECT_GT(window->Structure().NodeCount(), 0);

  const std::string copy = (dir / "copy.sam").string();
  platform.files.push_back(copy);
  Press(Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(window->FileName(), copy);
  ASSERT_TRUE(std::filesystem::exists(copy));

  std::filesystem::remove(copy);
  Press(Qt::Key_S, Qt::ControlModifier);
  EXPECT_TRUE(std::filesystem::exists(copy));  // Save writes to the job's own file
  EXPECT_EQ(platform.filters.size(), 2u);      // without asking

  window->Document().SetModified(true);
  platform.answers.push_back(false);
  Press(Qt::Key_N, Qt::ControlModifier);
  ASSERT_EQ(platform.confirmations.size(), 1u);
  EXPECT_EQ(platform.confirmations[0].text, "Job modified. Save?");
  EXPECT_EQ(window->Structure().NodeCount(), 0);
  EXPECT_EQ(window->FileName(), "Untitled");

  Press(Qt::Key_Q, Qt::ControlModifier);
  EXPECT_FALSE(window->isVisible());
}

TEST_F(FileKeys, RecentFilesAreKeptNewestFirstAndReopen) {
  // The test run's own settings: nothing under the user's configuration folder.
  const QString settings = RecentFiles::SettingsFile();
  const QString userConfig =
      QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  EXPECT_FALSE(settings.startsWith(userConfig)) << settings.toStdString();
  EXPECT_FALSE(window->RecentMenu()->isEnabled());

  const std::string a = Copy("a.sam"), b = Copy("b.sam");
  OpenThroughDialog(a);
  OpenThroughDialog(b);
  platform.files.push_back((dir / "c.sam").string());
  window->FileSaveAsClick();
  EXPECT_EQ(RecentCaptions(), (std::vector<std::string>{"&1 c.sam", "&2 b.sam", "&3 a.sam"}));
  EXPECT_TRUE(window->RecentMenu()->isEnabled());

  // Opening a listed file moves it to the top; the menu entry opens it as Open does.
  window->findChild<QAction*>("RecentFile2")->trigger();
  EXPECT_EQ(window->FileName(), QDir::cleanPath(QString::fromStdString(a)).toStdString());
  EXPECT_EQ(RecentCaptions(), (std::vector<std::string>{"&1 a.sam", "&2 c.sam", "&3 b.sam"}));

  // The next session finds the same list.
  EXPECT_EQ(RecentFiles().Paths().size(), 3);
  EXPECT_EQ(QSettings(settings, QSettings::IniFormat).value("recentFiles").toStringList().size(),
            3);

  // A file gone since is reported and leaves the list.
  std::filesystem::remove(b);
  window->findChild<QAction*>("RecentFile2")->trigger();
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].caption, "Error!");
  EXPECT_EQ(RecentCaptions(), (std::vector<std::string>{"&1 a.sam", "&2 c.sam"}));

  window->findChild<QAction*>("ClearRecentFiles")->trigger();
  EXPECT_TRUE(RecentCaptions().empty());
  EXPECT_FALSE(window->RecentMenu()->isEnabled());
  EXPECT_TRUE(RecentFiles().Paths().isEmpty());
}

TEST_F(FileKeys, ARecentFileOfAModifiedJobAsksFirst) {
  const std::string a = Copy("a.sam");
  OpenThroughDialog(a);
  OpenThroughDialog(Square());
  window->Document().SetModified(true);
  platform.answers.push_back(false);
  window->findChild<QAction*>("RecentFile1")->trigger();
  ASSERT_EQ(platform.confirmations.size(), 1u);
  EXPECT_EQ(window->FileName(), QDir::cleanPath(QString::fromStdString(a)).toStdString());
}

TEST(RecentFilesList, HoldsEachPathOnceAndAtMostEight) {
  RecentFiles list;
  list.Clear();
  for (int i = 0; i < 12; ++i) list.Add(QStringLiteral("/jobs/%1.sam").arg(i));
  list.Add(QStringLiteral("/jobs/sub/../5.sam"));  // the same file as /jobs/5.sam
  ASSERT_EQ(list.Paths().size(), RecentFiles::kMaxEntries);
  EXPECT_EQ(list.Paths()[0], "/jobs/5.sam");
  EXPECT_EQ(list.Paths()[1], "/jobs/11.sam");
  EXPECT_EQ(list.Paths().count("/jobs/5.sam"), 1);
  EXPECT_FALSE(list.Paths().contains("/jobs/3.sam"));  // the oldest went
  list.Remove(QStringLiteral("/jobs/11.sam"));
  EXPECT_EQ(RecentFiles().Paths().size(), RecentFiles::kMaxEntries - 1);
  list.Clear();
}

}  // namespace
}  // namespace tavrin::test

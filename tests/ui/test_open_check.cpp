// Open names a drawing Generate mesh would refuse: the status bar and a notice that does not
// block say what is wrong, and the job opens all the same; a sound job opens without a word.
#include <QMessageBox>
#include <fstream>

#include "model/GeometryCheck.h"
#include "tests/ui/WorkbenchFixture.h"

namespace tavrin::test {
namespace {

using OpenCheck = Workbench;

TEST_F(OpenCheck, ABadOutlineIsNamedAsTheJobOpens) {
  // A bow-tie: the outline's first and third edges cross.
  const std::string bowTie =
      "N, 0, 0\nN, 100, 100\nN, 100, 0\nN, 0, 100\nOBJECT 0\nE, 0, 1\nE, 1, 2\nE, 2, 3\n"
      "E, 3, 0\nClose\n";
  struct Case {
    const char* name;
    std::string path;
    bool warned;
  } cases[] = {{"bow-tie", (dir / "bow-tie.sam").string(), true},
               {"square", ExamplePath("square.sam"), false}};
  std::ofstream(cases[0].path) << bowTie;
  for (const Case& c : cases) {
    OpenThroughDialog(c.path);
    EXPECT_GT(window->Structure().NodeCount(), 0) << c.name;
    EXPECT_TRUE(Enabled("Generatemesh")) << c.name;    // opened as documented
    EXPECT_TRUE(platform.messages.empty()) << c.name;  // no modal box
    auto* notice = window->findChild<QMessageBox*>("GeometryNotice");
    EXPECT_EQ(notice != nullptr && notice->isVisible(), c.warned) << c.name;
    TObjCont prepared = window->Structure();
    prepared.PrepareForMeshing();
    const GeometryCheckResult check = CheckGeometry(prepared);
    EXPECT_EQ(!check, c.warned) << c.name;
    if (c.warned) {
      EXPECT_FALSE(notice->isModal()) << c.name;
      EXPECT_EQ(notice->text().toStdString(), check.message) << c.name;
      EXPECT_EQ(window->PanelText(4).toStdString(), check.message) << c.name;
      notice->close();
      QApplication::processEvents(QEventLoop::AllEvents);
      QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    } else {
      EXPECT_TRUE(window->PanelText(4).isEmpty()) << c.name;
    }
  }
}

}  // namespace
}  // namespace tavrin::test

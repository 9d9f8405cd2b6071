#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include "tests/ui/TestPlatform.h"
#include "ui/ViewTransform.h"

namespace tavrin {
namespace {

TEST(Platform, FiltersBecomeQtFilterText) {
  EXPECT_EQ(QtFilterText(kOpenJobFilter.filter), "Point File(*.SAM) (*.sam)");
  EXPECT_EQ(QtFilterText(kDataFileFilter.filter), "ASCII Data Files (*.TVD) (*.tvd)");
  EXPECT_EQ(QtFilterText("A|*.a|B|*.b"), "A (*.a);;B (*.b)");
  EXPECT_EQ(kDataFileFilter.defaultExtension, "TVD");
}

// The Qt chooser: a name typed without an extension takes the chosen filter's, and the question
// about replacing a file names the file that will be written.
TEST(Platform, TheChosenFilterGivesATypedNameItsExtension) {
  EXPECT_EQ(FilterExtension("SVG Image (*.svg)", "png"), "svg");
  EXPECT_EQ(FilterExtension("All (*)", "png"), "png");
  QTemporaryDir dir;
  for (const char* name : {"pic2.png", "pic2.svg"}) {
    QFile existing(dir.filePath(name));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
  }
  Platform* tests = InstallPlatform(nullptr);
  QString question;
  auto openDialog = [] {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* d = qobject_cast<QFileDialog*>(w); d && d->isVisible()) return d;
    return static_cast<QFileDialog*>(nullptr);
  };
  // Whatever happens, the chooser does not stay open.
  QTimer::singleShot(10000, [&] {
    if (QFileDialog* d = openDialog()) d->reject();
  });
  QTimer::singleShot(0, [&] {
    QFileDialog* dialog = openDialog();
    if (!dialog) return;
    dialog->setDirectory(dir.path());
    ASSERT_TRUE(dialog->nameFilters().last().startsWith("SVG Image"));
    dialog->selectNameFilter(dialog->nameFilters().last());
    // Typed into the name field, which has the focus as it has while the user types.
    auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
    QApplication::setActiveWindow(dialog);
    name->setFocus();
    name->setText("pic2");
    QTimer::singleShot(0, [&] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        question = box->text();
        box->button(QMessageBox::Yes)->click();
      }
    });
    static_cast<QDialog*>(dialog)->accept();  // as the Save button does
  });
  const std::string chosen = CurrentPlatform().ChooseSaveFile(kPictureFileFilter);
  InstallPlatform(tests);
  EXPECT_EQ(chosen, dir.filePath("pic2.svg").toStdString());
  EXPECT_TRUE(question.startsWith("pic2.svg")) << question.toStdString();
}

TEST(Platform, TestPlatformReplacesAndRestores) {
  Platform* production = &CurrentPlatform();
  {
    test::TestPlatform fake;
    EXPECT_EQ(&CurrentPlatform(), &fake);
    ShowError("boom");
    ASSERT_EQ(fake.messages.size(), 1u);
    EXPECT_EQ(fake.messages[0].caption, "Error!");
  }
  EXPECT_EQ(&CurrentPlatform(), production);
}

// Tolerance: exact, the mapping floors to whole pixels.
TEST(ViewTransform, MapsWorldToScreenAndBack) {
  ViewTransform t;
  t.canvasHeight = 300;
  t.canvasWidth = 400;
  EXPECT_EQ(t.ScreenX(100), 200);
  EXPECT_EQ(t.ScreenY(50), 200);  // 100 pixels above the bottom edge
  EXPECT_EQ(t.WorldX(200), 100.0);
  EXPECT_EQ(t.WorldY(200), 50.0);
  EXPECT_EQ(t.ScreenX(-0.1), -1);  // floor, not truncation
  EXPECT_EQ(t.ScreenX(1e300), 1000000);
  EXPECT_EQ(t.ScreenY(1e300), -1000000);
}

TEST(ViewTransform, ZoomSteps) {
  ViewTransform t;
  t.ZoomIn();
  EXPECT_EQ(t.scale, 0.25);
  t.ZoomIn();
  EXPECT_EQ(t.scale, 0.125);
  t.Reset();
  double out[] = {1.0, 2.0, 3.0};
  for (double s : out) {
    t.ZoomOut();
    EXPECT_EQ(t.scale, s);
  }
  double in[] = {2.0, 1.0, 0.5};
  for (double s : in) {
    t.ZoomIn();
    EXPECT_EQ(t.scale, s);
  }
}

}  // namespace
}  // namespace tavrin

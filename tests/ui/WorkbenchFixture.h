// A main window shown offscreen at a fixed size, with the test platform answering its boxes and
// file choosers, and helpers to reach its commands and to click world points.
#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "mesh/MeshParameters.h"
#include "model/TObjCont.h"
#include "tests/ui/TestPlatform.h"
#include "ui/PlanView.h"
#include "ui/RecentFiles.h"
#include "ui/TMainWindow.h"
#include "ui/TRollup.h"
#include "ui/ViewTransform.h"

namespace tavrin::test {

inline std::string ExamplePath(const char* name) {
  return std::string(TAVRIN_SOURCE_DIR) + "/examples/" + name;
}

// The timer tick (of 30 ms) at which the tests of stopping a long refinement press Stop: late
// enough that the refinement has left the square's first right-angled triangles behind (a stop
// there leaves a mesh meeting the angle, which is usable) even where reserving the mesh tables
// is slow, as under the sanitizers and a loaded machine (there the tenth tick came too soon),
// and early enough that the refinement (seconds of work) is still running.
inline constexpr int kStopTick = 20;

class Workbench : public ::testing::Test {
 protected:
  void SetUp() override {
    GlobalMeshParameters() = MeshParameters{};
    GlobalMeshStatistics() = MeshStatistics{};
    RecentFiles().Clear();  // each test starts without a recent-files list
    window = std::make_unique<TMainWindow>();
    window->SetWaitForRuns(true);  // the commands return with their results, as the tests read them
    window->resize(800, 700);
    window->show();
    QApplication::processEvents();
    dir = std::filesystem::temp_directory_path() /
          ("tavrin-ui-" + std::to_string(QCoreApplication::applicationPid()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir);
  }
  void TearDown() override {
    window->Document().SetModified(false);  // no save prompt while closing
    window.reset();
    std::filesystem::remove_all(dir);
  }

  QAction* Action(const char* name) const {
    QAction* a = window->findChild<QAction*>(name);
    EXPECT_NE(a, nullptr) << name;
    return a;
  }
  bool Enabled(const char* name) const { return Action(name)->isEnabled(); }

  // Left click at a world point of the plan view.
  void ClickWorld(double x, double y) {
    const ViewTransform& t = CurrentViewTransform();
    QTest::mouseClick(window->PlanArea(), Qt::LeftButton, {}, QPoint(t.ScreenX(x), t.ScreenY(y)));
  }

  // A control of the property editor, and typing into one of its fields.
  template <class T>
  T* Control(const char* name) {
    T* c = window->Rollup()->findChild<T*>(name);
    EXPECT_NE(c, nullptr) << name;
    return c;
  }
  void Type(const char* field, const char* text) {
    Control<QLineEdit>(field)->setText(QString::fromUtf8(text));
  }

  // A key stroke as the user types it into the active main window (shortcuts included).
  void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QTest::keyClick(window.get(), key, modifiers);
  }

  // Opens a job through the Open command with the file chooser answering path.
  void OpenThroughDialog(const std::string& path) {
    platform.files.push_back(path);
    window->Open1Click();
  }

  std::string WriteFile(const std::string& name, const std::string& text) {
    std::string path = (dir / name).string();
    std::ofstream(path) << text;
    return path;
  }

  TestPlatform platform;  // outlives the window
  std::unique_ptr<TMainWindow> window;
  std::filesystem::path dir;
};

}  // namespace tavrin::test

// Entry point of the GUI tests: Qt runs offscreen unless the caller chose a platform, and one
// QApplication lives for the whole run.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

// Qt keeps process-lifetime allocations that the leak checker would report at exit, also
// when CTest lists the tests at build time.
extern "C" const char* __asan_default_options() { return "detect_leaks=0"; }

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  QApplication::setApplicationName("TAVRIN");
  return RUN_ALL_TESTS();
}

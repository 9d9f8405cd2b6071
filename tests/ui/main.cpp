// Entry point of the GUI tests: Qt runs offscreen unless the caller chose a platform, one
// QApplication lives for the whole run, and settings (the recent files) go to a folder of the
// run's own, never to the user's.
#include <gtest/gtest.h>

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <cstdlib>

// Qt keeps process-lifetime allocations that the leak checker would report at exit, also
// when CTest lists the tests at build time.
extern "C" const char* __asan_default_options() { return "detect_leaks=0"; }

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  QApplication::setApplicationName("TAVRIN");
  QTemporaryDir settings;
  if (!settings.isValid()) return 1;
  for (QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
    for (QSettings::Scope scope : {QSettings::UserScope, QSettings::SystemScope})
      QSettings::setPath(format, scope, settings.path());
  return RUN_ALL_TESTS();
}

#include "ui/RecentFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace tavrin {

namespace {

constexpr const char* kKey = "recentFiles";

QSettings Settings() {
  return QSettings(QSettings::IniFormat, QSettings::UserScope, "TAVRIN", "tavrin");
}

QString Absolute(const QString& path) {
  return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

}  // namespace

RecentFiles::RecentFiles() {
  for (const QString& path : Settings().value(kKey).toStringList())
    if (!path.isEmpty() && !paths_.contains(path) && paths_.size() < kMaxEntries) paths_ << path;
}

QString RecentFiles::SettingsFile() { return Settings().fileName(); }

void RecentFiles::Add(const QString& path) {
  const QString absolute = Absolute(path);
  paths_.removeAll(absolute);
  paths_.prepend(absolute);
  while (paths_.size() > kMaxEntries) paths_.removeLast();
  Store();
}

void RecentFiles::Remove(const QString& path) {
  if (paths_.removeAll(Absolute(path)) > 0) Store();
}

void RecentFiles::Clear() {
  paths_.clear();
  Store();
}

void RecentFiles::Store() const {
  QSettings settings = Settings();
  settings.setValue(kKey, paths_);
}

}  // namespace tavrin

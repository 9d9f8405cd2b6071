// RecentFiles: the job files the user opened or saved last, newest first, kept in the user's
// settings (QSettings, INI format, user scope, "TAVRIN/tavrin") so that the File menu offers
// them in the next session too. Paths are stored absolute; a path appears once.
//
// Owns the list; every change is written through at once (a few hundred bytes).
#pragma once

#include <QStringList>

namespace tavrin {

class RecentFiles {
 public:
  static constexpr int kMaxEntries = 8;

  // Reads the list from the settings.
  RecentFiles();

  const QStringList& Paths() const { return paths_; }
  // Puts path at the top (moving it there if listed), dropping the oldest beyond kMaxEntries.
  void Add(const QString& path);
  void Remove(const QString& path);
  void Clear();

  // Where the list is kept (for tests, which must never write the user's own settings).
  static QString SettingsFile();

 private:
  void Store() const;
  QStringList paths_;
};

}  // namespace tavrin

#pragma once
// The recent-files list of the File menu. The menu items hold the list (caption "&1 " title,
// the title in full in the item's "Title" property, the path in its "Tag" property,
// visibility); the list rules are RecentFiles'.
#include <QString>

#include "scrivane/core/recentfiles.h"

class QAction;

namespace scrivane {

class MRU {
 public:
  // Fills the four entries from the settings store.
  void LoadMRU(QAction* const* menu, QAction* separator);
  // Writes the four entries to the settings store; a still empty *fault tells what failed.
  void SaveMRU(QAction* const* menu, QString* fault = nullptr);
  // Puts the file at the top of the list.
  void AddFile(QAction* const* menu, const QString& path, const QString& title, QAction* separator);

  // The list as the menu items hold it, and back.
  static RecentFiles FromMenu(QAction* const* menu);
  static void ToMenu(const RecentFiles& list, QAction* const* menu, QAction* separator);
  static QString Tag(const QAction* item);
  static QString Title(const QAction* item);  // the title in full (the caption may shorten it)
};

}  // namespace scrivane

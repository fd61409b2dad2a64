#pragma once
// The recent-files list of the File menu. Its behaviour comes with a later step; for now
// the calls the shell makes are accepted and do nothing.
#include <QString>

class QAction;

namespace scrivane {

class MRU {
 public:
  void LoadMRU(QAction* const* menu, QAction* separator) { (void)menu, (void)separator; }
  void SaveMRU(QAction* const* menu) { (void)menu; }
  void AddFile(QAction* const* menu, const QString& path, const QString& title, QAction* separator) {
    (void)menu, (void)path, (void)title, (void)separator;
  }
};

}  // namespace scrivane

#pragma once
// A scratch folder for targets that must go through files. It lies in memory (/dev/shm) where
// there is such a folder, so that the synced writes of a save cost no disk time.
#include <QDir>
#include <QTemporaryDir>

inline const QTemporaryDir& FuzzFolder() {
  static const QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists()
                                     ? QStringLiteral("/dev/shm/tarvex-fuzz-XXXXXX")
                                     : QDir::tempPath() + QStringLiteral("/tarvex-fuzz-XXXXXX"));
  return dir;
}

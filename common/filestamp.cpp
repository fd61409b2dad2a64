#include "common/filestamp.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_WIN
#include <QDateTime>
#else
#include <sys/stat.h>
#endif

namespace tarvex {

FileStamp StampOf(const QString& path) {
  FileStamp s;
  if (path.isEmpty()) return s;
#ifdef Q_OS_WIN
  const QFileInfo fi(path);
  if (!fi.isFile()) return s;
  s.exists = true;
  s.size = fi.size();
  s.modifiedNs = fi.lastModified().toMSecsSinceEpoch() * 1000000;
#else
  struct stat st {};
  if (::stat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode)) return s;
  s.exists = true;
  s.device = quint64(st.st_dev);
  s.fileNumber = quint64(st.st_ino);
  s.size = qint64(st.st_size);
  s.modifiedNs = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
#endif
  return s;
}

bool ChangedOnDisk(const FileStamp& known, const QString& path) {
  if (!known.exists) return false;
  const FileStamp now = StampOf(path);
  return now.exists && now != known;
}

}  // namespace tarvex

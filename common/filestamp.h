#pragma once
// What a program remembers of a file it read or wrote, to tell later whether the file on disk
// is still the one it knows: which file it is (device and file number, where the platform
// gives them), its length and its modification time. A file replaced by another (a safe save
// renames a new file over the old one) or written in place since shows a different stamp.
#include <QString>
#include <QtGlobal>

namespace tarvex {

struct FileStamp {
  bool exists = false;
  quint64 device = 0, fileNumber = 0;  // 0 where the platform gives no identity
  qint64 size = -1;
  qint64 modifiedNs = 0;  // modification time, nanoseconds since the epoch
  bool operator==(const FileStamp& o) const {
    return exists == o.exists && device == o.device && fileNumber == o.fileNumber && size == o.size &&
           modifiedNs == o.modifiedNs;
  }
  bool operator!=(const FileStamp& o) const { return !(*this == o); }
};

// The stamp of the file at path now (following symbolic links, as reads and writes do).
// A path that names no file gives a stamp with exists false.
FileStamp StampOf(const QString& path);

// True when the file at path is no longer the one `known` describes: another file stands
// there, or it was written since. A file that is gone, or was never stamped (known.exists
// false) is not "changed": writing it loses nothing.
bool ChangedOnDisk(const FileStamp& known, const QString& path);

}  // namespace tarvex

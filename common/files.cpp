#include "common/files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <cerrno>
#include <cstring>
#include <new>

#ifdef Q_OS_WIN
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tarvex {

namespace {

const QString kFolderNotFile = QStringLiteral("It is a folder, not a file.");

QString SystemReason(int err) { return QString::fromLocal8Bit(std::strerror(err)); }

void SetError(QString* error, const QString& reason) {
  if (error) *error = reason;
}

// The file a path names, through any chain of symbolic links (a dangling link gives the
// path it points to, so a save creates that file and the link keeps working).
QString ResolveLinks(const QString& path) {
  QString p = path;
  for (int hops = 0; hops < 32; ++hops) {
    const QFileInfo info(p);
    if (!info.isSymLink()) return p;
    p = info.symLinkTarget();
  }
  return p;
}

// An existing file may be replaced when it is a file its owner may write and the process may
// write too; root passes the second test, never the first.
bool MayReplace(const QString& path, QString* error) {
  const QFileInfo info(path);
  if (info.isDir()) {
    SetError(error, kFolderNotFile);
    return false;
  }
  if (!info.exists()) return true;
  if (!(info.permissions() & QFileDevice::WriteOwner)) {
    SetError(error, SystemReason(EACCES));
    return false;
  }
#ifdef Q_OS_WIN
  if (!info.isWritable()) {
    SetError(error, SystemReason(EACCES));
    return false;
  }
#else
  // The system's own answer, so that a read-only file system is named as such.
  if (::access(QFile::encodeName(path).constData(), W_OK) != 0) {
    SetError(error, SystemReason(errno));
    return false;
  }
#endif
  return true;
}

}  // namespace

bool IsReadOnlyFile(const QString& path) {
  const QFileInfo info(ResolveLinks(path));
  return info.isFile() && !MayReplace(info.filePath(), nullptr);
}

namespace {

qint64 WriteHandle(int fd, const char* data, qsizetype size) {
  const unsigned part = unsigned(qMin<qsizetype>(size, 1 << 30));
#ifdef Q_OS_WIN
  return _write(fd, data, part);
#else
  return ::write(fd, data, part);
#endif
}

bool SyncHandle(int fd) {
#ifdef Q_OS_WIN
  return _commit(fd) == 0;
#else
  return ::fsync(fd) == 0;
#endif
}

// What a staged file takes over from the file it is modelled on.
enum class Keep { ModeAndOwner, Mode };

// Writes bytes to a new temporary file in target's folder and syncs it. The file takes the
// permissions (and owner, with Keep::ModeAndOwner) of `like` when that exists. *temp receives
// its path.
bool Stage(const QString& target, const QByteArray& bytes, const QString& like, QString* temp, QString* error,
           [[maybe_unused]] Keep keep = Keep::ModeAndOwner) {
  QTemporaryFile f(target + QStringLiteral(".XXXXXX"));
  f.setAutoRemove(false);
  if (!f.open()) {
    SetError(error, f.errorString());
    return false;
  }
  const auto fail = [&](const QString& reason) {
    SetError(error, reason);
    f.close();
    f.remove();
    return false;
  };
  // Every byte must have reached the file: written unbuffered, each part checked, then synced,
  // since a full disk may refuse only the last part of the data.
  const int fd = f.handle();
  for (qsizetype done = 0; done < bytes.size();) {
    const auto n = WriteHandle(fd, bytes.constData() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return fail(SystemReason(n < 0 ? errno : ENOSPC));
    done += n;
  }
  if (!SyncHandle(fd)) return fail(SystemReason(errno));
  const QFileInfo model(like);
  if (model.exists()) {
#ifndef Q_OS_WIN
    struct stat st;
    if (::stat(QFile::encodeName(like).constData(), &st) == 0) {
      if (keep == Keep::ModeAndOwner && ::fchown(f.handle(), st.st_uid, st.st_gid) != 0)
        (void)::fchown(f.handle(), uid_t(-1), st.st_gid);
      if (::fchmod(f.handle(), st.st_mode & 07777) != 0) return fail(SystemReason(errno));
    }
#else
    if (!f.setPermissions(model.permissions())) return fail(f.errorString());
#endif
  } else {
#ifndef Q_OS_WIN
    // A new file gets the mode the user's file-creation mask gives, as an ordinary create would.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    if (::fchmod(f.handle(), 0666 & ~mask) != 0) return fail(SystemReason(errno));
#endif
  }
  *temp = f.fileName();
  f.close();
  return true;
}

// Renames temp over target in one step.
bool Commit(const QString& temp, const QString& target, QString* error) {
#ifdef Q_OS_WIN
  const std::wstring from = QDir::toNativeSeparators(temp).toStdWString();
  const std::wstring to = QDir::toNativeSeparators(target).toStdWString();
  if (!MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    SetError(error, qt_error_string(int(GetLastError())));
    QFile::remove(temp);
    return false;
  }
#else
  if (::rename(QFile::encodeName(temp).constData(), QFile::encodeName(target).constData()) != 0) {
    SetError(error, SystemReason(errno));
    QFile::remove(temp);
    return false;
  }
  // The rename itself reaches the disk with the folder's entry.
  const int dir = ::open(QFile::encodeName(QFileInfo(target).absolutePath()).constData(), O_RDONLY);
  if (dir >= 0) {
    (void)::fsync(dir);
    ::close(dir);
  }
#endif
  return true;
}

bool Replace(const QString& target, const QByteArray& bytes, const QString& like, QString* error) {
  QString temp;
  return Stage(target, bytes, like, &temp, error) && Commit(temp, target, error);
}

}  // namespace

QString NotAFileReason(const QString& path) {
  const QFileInfo info(path);
  if (info.isDir()) return kFolderNotFile;
  if (info.exists() && !info.isFile()) return QStringLiteral("It is not a regular file.");
  return QString();
}

bool ReadWholeFile(const QString& path, QByteArray* bytes, QString* error) {
  QFile f(path);
  if (const QString why = NotAFileReason(path); !why.isEmpty()) {
    SetError(error, why);
    return false;
  }
  if (!f.open(QIODevice::ReadOnly)) {
    SetError(error, f.errorString());
    return false;
  }
  if (f.size() > kMostFileBytes) {
    SetError(error, QStringLiteral("It is too large: %1 MB, where at most %2 MB are read.")
                        .arg((f.size() + (1 << 20) - 1) >> 20)
                        .arg(kMostFileBytes >> 20));
    return false;
  }
  try {
    *bytes = f.readAll();
  } catch (const std::bad_alloc&) {
    SetError(error, QStringLiteral("There is not enough memory to read it."));
    return false;
  }
  if (f.error() != QFileDevice::NoError) {
    SetError(error, f.errorString());
    return false;
  }
  return true;
}

bool WriteWholeFile(const QString& path, const QByteArray& bytes, QString* error) {
  const QString target = ResolveLinks(path);
  return MayReplace(target, error) && Replace(target, bytes, target, error);
}

QString WriteFaultReason(const QString& path, qint64 size) {
  const QString target = ResolveLinks(path);
  QString reason, temp;
  if (!MayReplace(target, &reason)) return reason;
  if (!Stage(target, QByteArray(qsizetype(qMax<qint64>(size, 0)), ' '), target, &temp, &reason)) return reason;
  QFile::remove(temp);
  return QString();
}

bool CopyWholeFile(const QString& source, const QString& dest, QString* error) {
  QByteArray bytes;
  if (!ReadWholeFile(source, &bytes, error)) return false;
  const QString target = ResolveLinks(dest);
  if (QFileInfo(target).isDir()) {
    SetError(error, kFolderNotFile);
    return false;
  }
  QString temp;
  return Stage(target, bytes, source, &temp, error, Keep::Mode) && Commit(temp, target, error);
}

bool WriteWholeFileWithBackup(const QString& path, const QString& backupPath, const QByteArray& bytes, QString* error,
                              QString* failedPath) {
  const QString target = ResolveLinks(path), backup = ResolveLinks(backupPath);
  const auto fail = [&](const QString& which) {
    if (failedPath) *failedPath = which;
    return false;
  };
  if (!MayReplace(target, error)) return fail(path);
  if (!QFileInfo::exists(target)) return Replace(target, bytes, target, error) || fail(path);
  if (!MayReplace(backup, error)) return fail(backupPath);

  QByteArray old, olderBackup;
  const bool hadBackup = QFileInfo(backup).isFile();
  if (!ReadWholeFile(target, &old, error)) return fail(path);
  if (hadBackup && !ReadWholeFile(backup, &olderBackup, error)) return fail(backupPath);
  QString fresh;
  if (!Stage(target, bytes, target, &fresh, error)) return fail(path);
  if (!Replace(backup, old, hadBackup ? backup : target, error)) {
    QFile::remove(fresh);
    return fail(backupPath);
  }
  if (!Commit(fresh, target, error)) {
    if (hadBackup) Replace(backup, olderBackup, backup, nullptr);
    else QFile::remove(backup);
    return fail(path);
  }
  return true;
}

}  // namespace tarvex

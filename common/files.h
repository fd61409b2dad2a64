#pragma once
// Whole-file reads and writes with the system's reason on failure.
#include <QByteArray>
#include <QString>

namespace tarvex {

// Why path cannot be read as a file: it is a folder, or a pipe, device or socket (reading one
// of those could wait for ever or never end). Empty for a file or a path that names nothing.
QString NotAFileReason(const QString& path);

// The most bytes a file read whole may hold: far more than any script or table of the game,
// and short of what a program's memory could take once the text is in a window (an edited text
// costs several times its bytes), so that a file opened by mistake is refused, not a crash.
inline constexpr qint64 kMostFileBytes = qint64(256) << 20;

// Reads the whole file. On failure returns false and sets *error to the system's reason.
bool ReadWholeFile(const QString& path, QByteArray* bytes, QString* error = nullptr);

// Writes the whole file safely: the bytes go to a temporary file beside the target, every
// byte is checked to have reached it and it is synced to disk before it replaces the target
// in one rename. A save through a symbolic link writes the file the link names and keeps the
// link; an existing file keeps its permissions (and owner, where the process may set it). A
// file its owner may not write is refused, also for root. On failure the old file is
// untouched, false is returned and *error holds the reason ("No space left on device"); the
// reason never repeats the path.
bool WriteWholeFile(const QString& path, const QByteArray& bytes, QString* error = nullptr);

// Copies source to dest through the same safe write: dest is replaced whole or left as it
// was, and takes the source's permissions (its owner is the process's, as for any new file).
// Unlike WriteWholeFile it replaces a read-only dest too: the copy puts the source in its
// place, permissions included, as an installation does.
bool CopyWholeFile(const QString& source, const QString& dest, QString* error = nullptr);

// Why a file of `size` bytes could not take path's place now, found by trying it: the reason
// WriteWholeFile would give (a read-only file or folder, a full disk), or an empty text when a
// trial file of that size could be written beside it. Nothing is left behind. For writers that
// only learn that they failed.
QString WriteFaultReason(const QString& path, qint64 size);

// An existing file (through its links) that WriteWholeFile refuses to replace: its owner may
// not write it, or the process may not. A missing file is not read-only.
bool IsReadOnlyFile(const QString& path);

// WriteWholeFile that keeps the file it replaces as backupPath. The backup is replaced in
// one step (a rename over it), and when the new file cannot take its place afterwards the
// older backup is put back, so a failure at any step leaves the file and its backup as they
// were. *failedPath names the file the reason is about (path or backupPath).
bool WriteWholeFileWithBackup(const QString& path, const QString& backupPath, const QByteArray& bytes,
                              QString* error = nullptr, QString* failedPath = nullptr);

}  // namespace tarvex

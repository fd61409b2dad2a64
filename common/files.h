#pragma once
// Whole-file reads and writes with the system's reason on failure.
#include <QByteArray>
#include <QString>

namespace tarvex {

// Reads the whole file. On failure returns false and sets *error to the system's reason.
bool ReadWholeFile(const QString& path, QByteArray* bytes, QString* error = nullptr);

// Writes the whole file atomically: the bytes go to a temporary file beside the target,
// which then replaces the target. On failure the old file is untouched, false is returned
// and *error holds the system's reason.
bool WriteWholeFile(const QString& path, const QByteArray& bytes, QString* error = nullptr);

}  // namespace tarvex

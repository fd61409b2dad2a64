#include "common/files.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace tarvex {

bool ReadWholeFile(const QString& path, QByteArray* bytes, QString* error) {
  QFile f(path);
  if (QFileInfo(path).isDir()) {
    if (error) *error = QStringLiteral("It is a folder, not a file.");
    return false;
  }
  if (!f.open(QIODevice::ReadOnly)) {
    if (error) *error = f.errorString();
    return false;
  }
  *bytes = f.readAll();
  if (f.error() != QFileDevice::NoError) {
    if (error) *error = f.errorString();
    return false;
  }
  return true;
}

bool WriteWholeFile(const QString& path, const QByteArray& bytes, QString* error) {
  QSaveFile f(path);
  if (!f.open(QIODevice::WriteOnly)) {
    if (error) *error = f.errorString();
    return false;
  }
  if (f.write(bytes) != bytes.size()) {
    if (error) *error = f.errorString();
    f.cancelWriting();
    return false;
  }
  if (!f.commit()) {
    if (error) *error = f.errorString();
    return false;
  }
  return true;
}

}  // namespace tarvex

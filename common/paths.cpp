#include "common/paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace tarvex {

namespace {
QString& FolderOverride() {
  static QString folder;
  return folder;
}
}  // namespace

QString ProgramFolder() {
  if (!FolderOverride().isEmpty()) return FolderOverride();
  return QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
}

void SetProgramFolder(const QString& folder) { FolderOverride() = NativePath(folder); }

QString DataFolder() { return DataFolderFor(ProgramFolder()); }

namespace {
// The folder the platform's layout puts at `relative` from the program folder when it
// exists, else the program folder (the one-folder layout, the build folder).
QString LaidOutBeside(const QString& programFolder, const char* relative) {
  if (relative) {
    const QString folder = QDir::cleanPath(QDir::fromNativeSeparators(programFolder) + QLatin1Char('/') + QLatin1String(relative));
    if (QFileInfo(folder).isDir()) return NativePath(folder);
  }
  return programFolder;
}
}  // namespace

// The build names the platform layout's folders relative to the program folder
// ("../share/tarvex", "../lib/tarvex").
#ifndef TARVEX_DATA_FROM_PROGRAM
#define TARVEX_DATA_FROM_PROGRAM nullptr
#endif
#ifndef TARVEX_MODULES_FROM_PROGRAM
#define TARVEX_MODULES_FROM_PROGRAM nullptr
#endif

QString DataFolderFor(const QString& programFolder) { return LaidOutBeside(programFolder, TARVEX_DATA_FROM_PROGRAM); }

QString ModuleFolderFor(const QString& programFolder) {
  return LaidOutBeside(programFolder, TARVEX_MODULES_FROM_PROGRAM);
}

QString NativePath(const QString& path) { return QDir::toNativeSeparators(path); }

QString AbsolutePath(const QString& path) {
  if (path.isEmpty()) return path;
  return QDir::toNativeSeparators(QDir::cleanPath(QDir::current().absoluteFilePath(QDir::fromNativeSeparators(path))));
}

QChar PathSeparator() { return QDir::separator(); }

bool IsPathSeparator(QChar c) {
#ifdef Q_OS_WIN
  return c == QLatin1Char('\\') || c == QLatin1Char('/');
#else
  return c == QLatin1Char('/');
#endif
}

qsizetype LastSeparator(const QString& path) {
  for (qsizetype i = path.size() - 1; i >= 0; --i)
    if (IsPathSeparator(path[i])) return i;
  return -1;
}

QString FileTitle(const QString& path) { return path.mid(LastSeparator(path) + 1); }

QString FolderPart(const QString& path) {
  const qsizetype i = LastSeparator(path);
  return i < 0 ? QString() : path.left(i);
}

QString JoinPath(const QString& folder, const QString& name) {
  if (folder.isEmpty()) return name;
  if (IsPathSeparator(folder.back())) return folder + name;
  return folder + PathSeparator() + name;
}

}  // namespace tarvex

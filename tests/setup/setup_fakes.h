#pragma once
// Test doubles for the installer: a shell that starts nothing and records what it was asked,
// file operations that can inject faults into the real ones, and a folder helper.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMap>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

#include "scrivane/setup/core/installer.h"

namespace pendrel::test {

struct Started {
  QString program;
  QStringList args;
};

class RecordingShell : public SetupShell {
 public:
  QMap<QString, QString> found;  // program name -> path FindProgram gives
  std::vector<Started> detached;
  std::vector<Started> ran;
  bool runResult = true;

  QString FindProgram(const QString& name) override { return found.value(name); }
  bool StartDetached(const QString& program, const QStringList& args, QString*) override {
    detached.push_back({program, args});
    return true;
  }
  bool Run(const QString& program, const QStringList& args) override {
    ran.push_back({program, args});
    return runResult;
  }
};

// The real file operations, with the file list optionally replaced.
class FaultyFiles : public SetupFileOps {
 public:
  std::function<bool(std::vector<ListLine>*, QString*)> list;  // unset: the real list
  QStringList copied;                                          // destinations asked for

  bool ReadFileList(const QString& path, std::vector<ListLine>* lines, QString* error) override {
    return list ? list(lines, error) : SystemFileOps().ReadFileList(path, lines, error);
  }
  bool CopyFile(const QString& s, const QString& d, QString* e) override {
    copied << d;
    return SystemFileOps().CopyFile(s, d, e);
  }
  bool MakeFolder(const QString& p, QString* e) override { return SystemFileOps().MakeFolder(p, e); }
  bool MakeFolders(const QString& p, QString* e) override { return SystemFileOps().MakeFolders(p, e); }
  bool WriteFile(const QString& p, const QByteArray& b, QString* e) override {
    return SystemFileOps().WriteFile(p, b, e);
  }
  bool FileExists(const QString& p) override { return SystemFileOps().FileExists(p); }
  bool FolderExists(const QString& p) override { return SystemFileOps().FolderExists(p); }
};

inline void PutFile(const QString& path, const QByteArray& bytes) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path;
  f.write(bytes);
}

inline QByteArray FileBytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Sets an environment variable for the life of the object.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const QByteArray& value)
      : name_(name), had_(qEnvironmentVariableIsSet(name)), old_(qgetenv(name)) {
    qputenv(name, value);
  }
  ~ScopedEnv() {
    if (had_) qputenv(name_, old_);
    else qunsetenv(name_);
  }

 private:
  const char* name_;
  bool had_;
  QByteArray old_;
};

}  // namespace pendrel::test

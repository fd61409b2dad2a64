#pragma once
// Test doubles for the installer: a shell that starts nothing and records what it was asked,
// and the real file operations with a file list that can be replaced and a record of copies;
// and desktop entries read back the way the desktop reads them.
#include <QDir>
#include <QGuiApplication>
#include <QMap>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>

#include "common/paths.h"
#include "scrivane/setup/core/installer.h"
#include "tests/support/file_bytes.h"
#include "tests/support/scripted_prompts.h"

namespace pendrel::test {

using tarvex::test::ReadBytes;
using tarvex::test::WriteBytes;

struct Started { QString program; QStringList args; };

class RecordingShell : public SetupShell {
 public:
  QMap<QString, QString> found;  // program name -> path FindProgram gives
  std::vector<Started> detached, ran;

  QString FindProgram(const QString& name) override { return found.value(name); }
  bool StartDetached(const QString& program, const QStringList& args, QString*) override {
    detached.push_back({program, args});
    return true;
  }
  bool Run(const QString& program, const QStringList& args) override {
    ran.push_back({program, args});
    return true;
  }
};

class FaultyFiles : public SetupFileOps {
 public:
  std::function<bool(std::vector<ListLine>*, QString*)> list;  // unset: the real list
  QStringList copied;                                          // destinations asked for

  bool ReadFileList(const QString& path, std::vector<ListLine>* lines, QString* error) override {
    return list ? list(lines, error) : real.ReadFileList(path, lines, error);
  }
  bool CopyFileOver(const QString& s, const QString& d, QString* e) override { return copied << d, real.CopyFileOver(s, d, e); }
  bool MakeFolder(const QString& p, QString* e) override { return real.MakeFolder(p, e); }
  bool MakeFolders(const QString& p, QString* e) override { return real.MakeFolders(p, e); }
  bool SameFile(const QString& a, const QString& b) override { return real.SameFile(a, b); }
  bool WriteFile(const QString& p, const QByteArray& b, QString* e) override { return real.WriteFile(p, b, e); }
  bool RemoveFile(const QString& p, QString* e) override { return real.RemoveFile(p, e); }
  bool FileExists(const QString& p) override { return real.FileExists(p); }
  bool FolderExists(const QString& p) override { return real.FolderExists(p); }
  SetupFileOps& real = SystemFileOps();
};

// A key of the [Desktop Entry] group, with the string escapes undone.
inline QString EntryValue(const QString& text, const QString& key) {
  EXPECT_TRUE(text.startsWith(QStringLiteral("[Desktop Entry]\n")));
  const qsizetype at = text.indexOf('\n' + key + '=');
  if (at < 0) return QStringLiteral("(none)");
  const QString raw = text.mid(at + key.size() + 2).section('\n', 0, 0);
  QString value;
  for (qsizetype i = 0; i < raw.size(); ++i) {
    const QChar n = raw[i] == '\\' && i + 1 < raw.size() ? raw[++i] : QChar();
    value += n.isNull() ? raw[i] : n == 's' ? QChar(' ') : n == 'n' ? QChar('\n') : n == 't' ? QChar('\t') : n;
  }
  return value;
}

// The arguments of an Exec value: quoting undone, "%%" read as "%".
inline QStringList ExecArguments(const QString& exec) {
  QStringList args;
  QString arg;
  bool quoted = false, any = false;
  for (qsizetype i = 0; i < exec.size(); ++i) {
    const QChar c = exec[i];
    if (quoted && c == '\\' && i + 1 < exec.size()) {
      arg += exec[++i];
    } else if (c == '"') {
      quoted = !quoted, any = true;
    } else if (c == ' ' && !quoted) {
      if (any) args << arg.replace(QLatin1String("%%"), QLatin1String("%"));
      arg.clear(), any = false;
    } else {
      arg += c, any = true;
    }
  }
  if (any) args << arg.replace(QLatin1String("%%"), QLatin1String("%"));
  return args;
}

// What the installer's tests share: a temporary folder, scripted prompts, the fakes, and the
// current and program folders put back afterwards.
class SetupTest : public ::testing::Test {
 protected:
  SetupTest() { QGuiApplication::setApplicationDisplayName(QStringLiteral("Tarvex Setup")); }
  ~SetupTest() override {
    QDir::setCurrent(oldCurrent);
    tarvex::SetProgramFolder(QString());
  }

  QTemporaryDir tmp;
  QString oldCurrent = QDir::currentPath();
  tarvex::test::ScriptedPrompts prompts;
  FaultyFiles files;
  RecordingShell shell;
};

}  // namespace pendrel::test

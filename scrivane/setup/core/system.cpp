// The platform's file operations and program starts for the installer.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <filesystem>
#include <system_error>

#include "common/files.h"
#include "common/text.h"
#include "scrivane/setup/core/installer.h"

#ifdef Q_OS_WIN
#include <windows.h>
#include <shellapi.h>
#endif

namespace pendrel {

namespace {

std::filesystem::path FsPath(const QString& path) {
#ifdef Q_OS_WIN
  return std::filesystem::path(path.toStdWString());
#else
  return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

QString Reason(const std::error_code& ec) { return QString::fromLocal8Bit(ec.message().c_str()); }

class SystemFiles final : public SetupFileOps {
 public:
  bool ReadFileList(const QString& path, std::vector<ListLine>* lines, QString* error) override {
    QFile f(path);
    if (const QString why = tarvex::NotAFileReason(path); !why.isEmpty()) {
      *error = why;
      return false;
    }
    if (!f.open(QIODevice::ReadOnly)) {
      *error = f.errorString();
      return false;
    }
    lines->clear();
    while (!f.atEnd()) {
      const qint64 before = f.pos();
      QByteArray line = f.readLine();
      if (f.error() != QFileDevice::NoError) {
        lines->push_back({QString(), true, f.errorString()});
        f.unsetError();
        if (f.pos() == before) break;  // no way past the fault: the rest of the list is lost
        continue;
      }
      // A piece read up to a line feed may hold lines ended by CR alone.
      const QString piece = QString::fromLocal8Bit(line);
      QStringView name;
      for (qsizetype at = 0; tarvex::NextLine(piece, &at, &name);)
        lines->push_back({name.toString(), false, QString()});
    }
    return true;
  }

  bool CopyFileOver(const QString& source, const QString& dest, QString* error) override {
    return tarvex::CopyWholeFile(source, dest, error);
  }

  bool SameFile(const QString& a, const QString& b) override {
    std::error_code ec;
    return std::filesystem::equivalent(FsPath(a), FsPath(b), ec) && !ec;
  }

  bool MakeFolder(const QString& path, QString* error) override {
    std::error_code ec;
    if (std::filesystem::create_directory(FsPath(path), ec)) return true;
    *error = ec ? Reason(ec) : QStringLiteral("A file or folder of that name already exists.");
    return false;
  }

  bool MakeFolders(const QString& path, QString* error) override {
    std::error_code ec;
    std::filesystem::create_directories(FsPath(path), ec);
    if (ec) *error = Reason(ec);
    return !ec;
  }

  bool WriteFile(const QString& path, const QByteArray& bytes, QString* error) override {
    return tarvex::WriteWholeFile(path, bytes, error);
  }

  bool RemoveFile(const QString& path, QString* error) override {
    std::error_code ec;
    std::filesystem::remove(FsPath(path), ec);
    if (ec) *error = Reason(ec);
    return !ec;
  }

  bool FileExists(const QString& path) override { return QFileInfo(path).isFile(); }
  bool FolderExists(const QString& path) override { return QFileInfo(path).isDir(); }
};

class SystemProcesses final : public SetupShell {
 public:
  QString FindProgram(const QString& name) override {
    return QDir::toNativeSeparators(QStandardPaths::findExecutable(name));
  }

  bool StartDetached(const QString& program, const QStringList& args, QString* error) override {
#ifdef Q_OS_WIN
    // Through the shell, which asks for the rights the registry editor needs.
    QStringList quoted;
    for (const QString& a : args) quoted << QLatin1Char('"') + a + QLatin1Char('"');
    const std::wstring file = program.toStdWString();
    const std::wstring params = quoted.join(QLatin1Char(' ')).toStdWString();
    const auto rc = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, L"open", file.c_str(), params.c_str(), nullptr, SW_SHOWNORMAL));
    if (rc > 32) return true;
    *error = QStringLiteral("The system could not start %1 (code %2).").arg(program).arg(rc);
    return false;
#else
    QProcess p;
    p.setProgram(program);
    p.setArguments(args);
    if (p.startDetached()) return true;
    *error = p.errorString();
    return false;
#endif
  }

  bool Run(const QString& program, const QStringList& args) override {
    return QProcess::execute(program, args) == 0;
  }
};

}  // namespace

SetupFileOps& SystemFileOps() {
  static SystemFiles files;
  return files;
}

SetupShell& SystemShell() {
  static SystemProcesses shell;
  return shell;
}

}  // namespace pendrel

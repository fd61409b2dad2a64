#include "scrivane/setup/core/installer.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include "common/paths.h"
#include "common/ui/prompts.h"
#include "scrivane/setup/core/desktop.h"

namespace pendrel {

using tarvex::JoinPath;
using tarvex::MsgButtons;
using tarvex::MsgIcon;
using tarvex::MsgResult;
using tarvex::prompts;

namespace {

const QString kCrLf = QStringLiteral("\r\n");

QString ErrorTitle() { return QLatin1String(kErrorTitle); }

QString ListOpenError(const QString& reason) {
  return QStringLiteral("Error opening file \"%1\".").arg(QLatin1String(kFileList)) + kCrLf + reason;
}

QString Plural(qsizetype n, const char* one, const char* many) {
  return n == 1 ? QLatin1String(one) : QStringLiteral("%1 %2").arg(n).arg(QLatin1String(many));
}

// Where a listed file is copied from. In the platform's layout a data file is in the data
// folder, the printing module in the library folder and a program beside the installer under
// its lower-case name; either way it lands in the install folder under the listed name, as the
// one-folder layout has it.
QString SourceOf(const InstallRequest& req, const QString& name, SetupFileOps& files) {
  const QString beside = JoinPath(req.programFolder, name);
  if (req.dataFolder.isEmpty() || files.FileExists(beside)) return beside;
  QStringList candidates{JoinPath(req.dataFolder, name), JoinPath(req.programFolder, name.toLower())};
  if (!req.moduleFolder.isEmpty()) candidates.append(JoinPath(req.moduleFolder, name));
  for (const QString& candidate : candidates)
    if (files.FileExists(candidate)) return candidate;
  return beside;
}

// A listed name that would have the copy reach out of the folders: an absolute path, a drive,
// or a ".." step. The list names the tool set's own files; one edited to name others must not
// have them read from or written to anywhere else.
bool LeadsOutside(const QString& name) {
  if (QDir::isAbsolutePath(name) || tarvex::IsPathSeparator(name.front()) || name.mid(1, 1) == QLatin1String(":"))
    return true;
  for (const QString& step : name.split(QRegularExpression(QStringLiteral("[/\\\\]"))))
    if (step == QLatin1String("..")) return true;
  return false;
}

// What the copy loop did: false when the user chose to end the program.
struct CopyResult {
  bool goOn = true;
  qsizetype inPlace = 0;  // files that already were the very files to be installed
  qsizetype failed = 0;   // files that could not be copied (each one told as it failed)
};

// Copies every file of the list.
CopyResult CopyFiles(const InstallRequest& req, const std::vector<ListLine>& lines, SetupFileOps& files) {
  CopyResult result;
  for (const ListLine& line : lines) {
    if (line.failed) {
      prompts().MsgBox(ListOpenError(line.error), ErrorTitle(), MsgButtons::OK, MsgIcon::Exclamation);
      continue;
    }
    // A blank line names no file (a list edited by hand often ends in one).
    if (line.name.trimmed().isEmpty()) continue;
    const QString source = SourceOf(req, line.name, files);
    const QString dest = JoinPath(req.installPath, line.name);
    // Installing into the installer's own folder: the file is where it belongs already.
    if (files.SameFile(source, dest)) {
      ++result.inPlace;
      continue;
    }
    // A name with a folder in it (the templates) goes into that folder of the install folder,
    // made if need be; a missing install folder is not made here but fails the copy. The list
    // is written with slashes, which separate folders on every platform.
    const QString folder = QFileInfo(dest).path();
    const bool inFolder = tarvex::LastSeparator(line.name) >= 0;
    QString error;
    const bool outside = LeadsOutside(line.name);
    if (outside) error = QStringLiteral("The name leads out of the folder.");
    const bool ready = !outside && (!inFolder || !files.FolderExists(req.installPath) || files.FolderExists(folder) ||
                                    files.MakeFolders(folder, &error));
    if (ready && files.CopyFileOver(source, dest, &error)) continue;
    const QString text = QStringLiteral("Error copying file ") + source + QStringLiteral(" to ") + req.installPath +
                         kCrLf + error + kCrLf + QStringLiteral("Click OK to continue, CANCEL to end.");
    ++result.failed;
    if (prompts().MsgBox(text, ErrorTitle(), MsgButtons::OKCancel, MsgIcon::Exclamation) == MsgResult::Cancel) {
      result.goOn = false;
      return result;
    }
  }
  return result;
}

QString InPlaceText(qsizetype inPlace) {
  return QStringLiteral("%1 already in place there and left as %2.")
      .arg(Plural(inPlace, "One file was", "files were"), QLatin1String(inPlace == 1 ? "it was" : "they were"));
}

bool WriteRegistryFile(const InstallRequest& req, const QString& regPath, SetupFileOps& files) {
  QString error;
  if (files.WriteFile(regPath, RegistryFileBytes(req.boxes, req.installPath), &error)) return true;
  prompts().MsgBox(QStringLiteral("Error writing file \"%1\".").arg(regPath) + kCrLf + error, ErrorTitle(),
                   MsgButtons::OK, MsgIcon::Exclamation);
  return false;
}

// Tells the user what a desktop registration did: its problems, then one summary.
void ReportDesktop(const DesktopResult& result, const QStringList& head) {
  if (!result.problems.isEmpty())
    prompts().MsgBox(QStringLiteral("The file types could not all be registered for the desktop:") + kCrLf +
                         result.problems.join(kCrLf),
                     ErrorTitle(), MsgButtons::OK, MsgIcon::Exclamation);
  QStringList lines = head + result.opens + result.notes;
  if (result.opens.isEmpty() && result.notes.isEmpty())
    lines << (result.removed.isEmpty() ? QStringLiteral("No file types are associated with the Tarvex programs.")
                                       : QStringLiteral("The Tarvex programs no longer open any file types."));
  prompts().MsgBox(lines.join(kCrLf), QStringLiteral("Info"), MsgButtons::OK, MsgIcon::Information);
}

// The Windows way: the registry editor imports the file; nobody waits for it.
InstallOutcome RegisterWithRegistryEditor(const InstallRequest& req, const QString& regPath, SetupFileOps& files,
                                          SetupShell& shell) {
  prompts().MsgBox(QStringLiteral("When prompted to install settings into your registry, click \"YES\" and then \"OK\"."),
                   QStringLiteral("Info"), MsgButtons::OK, MsgIcon::Information);
  if (!WriteRegistryFile(req, regPath, files)) return InstallOutcome::Stopped;
  const QString regedit = shell.FindProgram(QStringLiteral("regedit"));
  QString error;
  if (regedit.isEmpty()) {
    prompts().MsgBox(QStringLiteral("The registry settings were written to the file \"%1\".").arg(regPath) + kCrLf +
                         QStringLiteral("No registry editor was found here; the file can be imported with the "
                                        "registry editor (regedit) on a system that has one."),
                     QStringLiteral("Info"), MsgButtons::OK, MsgIcon::Information);
  } else if (!shell.StartDetached(regedit, {regPath}, &error)) {
    prompts().MsgBox(QStringLiteral("Error starting the registry editor.") + kCrLf + error + kCrLf +
                         QStringLiteral("The registry settings are in the file \"%1\".").arg(regPath),
                     ErrorTitle(), MsgButtons::OK, MsgIcon::Exclamation);
  }
  return InstallOutcome::Ended;
}

}  // namespace

Associations NativeAssociations() {
#ifdef Q_OS_WIN
  return Associations::RegistryEditor;
#else
  return Associations::Desktop;
#endif
}

QString AbsoluteInstallPath(const QString& installPath) { return tarvex::AbsolutePath(installPath); }

InstallOutcome Install(const InstallRequest& request, SetupFileOps& files, SetupShell& shell) {
  InstallRequest req = request;
  req.installPath = AbsoluteInstallPath(request.installPath);
  const QString refused = RefusedPathReason(req.installPath);
  if (!refused.isEmpty()) {
    prompts().MsgBox(refused + kCrLf + QStringLiteral("Please choose another install directory."), ErrorTitle(),
                     MsgButtons::OK, MsgIcon::Exclamation);
    return InstallOutcome::Stopped;
  }

  // 1. The files.
  std::vector<ListLine> lines;
  QString error;
  const QString listFolder = req.dataFolder.isEmpty() ? req.programFolder : req.dataFolder;
  if (!files.ReadFileList(JoinPath(listFolder, QLatin1String(kFileList)), &lines, &error)) {
    prompts().MsgBox(ListOpenError(error), ErrorTitle(), MsgButtons::OK, MsgIcon::Exclamation);
    return InstallOutcome::Stopped;
  }
  const CopyResult copied = CopyFiles(req, lines, files);
  if (!copied.goOn) return InstallOutcome::Ended;

  // 2. to 4. The associations.
  InstallOutcome outcome = InstallOutcome::Ended;
  if (req.associations == Associations::RegistryEditor) {
    const QString regPath = JoinPath(req.programFolder, QLatin1String(kRegFile));
    if (copied.inPlace > 0)
      prompts().MsgBox(QStringLiteral("Install directory: %1").arg(req.installPath) + kCrLf + InPlaceText(copied.inPlace),
                       QStringLiteral("Info"), MsgButtons::OK, MsgIcon::Information);
    outcome = RegisterWithRegistryEditor(req, regPath, files, shell);
  } else {
    // No registry file: only the Windows registry editor reads one, and its paths would be this
    // system's. (Beside a tool set installed by root, in /usr/bin, it could not be written.)
    // The closing summary calls the tool set installed only when every file was copied.
    QStringList head{copied.failed == 0 ? QStringLiteral("Tarvex is installed in %1.").arg(req.installPath)
                                        : QStringLiteral("Tarvex is not completely installed in %1: %2 could not be copied.")
                                              .arg(req.installPath, Plural(copied.failed, "one file", "files"))};
    if (copied.inPlace > 0) head << InPlaceText(copied.inPlace);
    ReportDesktop(RegisterDesktop({req.installPath, req.boxes, req.dataHome}, files, shell), head);
  }
  if (outcome == InstallOutcome::Stopped) return outcome;

  // 5. Done.
  QDir::setCurrent(req.programFolder);
  return InstallOutcome::Ended;
}

void RemoveAssociations(const QString& dataHome, SetupFileOps& files, SetupShell& shell) {
  const DesktopResult result = RegisterDesktop({QString(), Boxes{}, dataHome}, files, shell);
  if (!result.problems.isEmpty()) {
    prompts().MsgBox(QStringLiteral("The file associations could not all be removed:") + kCrLf +
                         result.problems.join(kCrLf),
                     ErrorTitle(), MsgButtons::OK, MsgIcon::Exclamation);
    return;
  }
  prompts().MsgBox(result.removed.isEmpty()
                       ? QStringLiteral("No file associations of the Tarvex programs were registered.")
                       : QStringLiteral("The file associations of the Tarvex programs were removed."),
                   QStringLiteral("Info"), MsgButtons::OK, MsgIcon::Information);
}

QString MakeNewDirectory(const QString& folder, const QString& name, SetupFileOps& files) {
  const QString path = JoinPath(folder, name);
  if (files.FolderExists(path)) return path;
  QString error;
  if (files.MakeFolder(path, &error)) return path;
  prompts().MsgBox(QStringLiteral("Error creating directory \"%1\".").arg(path) + kCrLf + error, ErrorTitle(),
                   MsgButtons::OK, MsgIcon::Exclamation);
  return QString();
}

}  // namespace pendrel

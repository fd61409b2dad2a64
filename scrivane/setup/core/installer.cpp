#include "scrivane/setup/core/installer.h"

#include <QDir>
#include <QFileInfo>

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

// Copies every file of the list. False when the user chose to end the program.
bool CopyFiles(const InstallRequest& req, const std::vector<ListLine>& lines, SetupFileOps& files) {
  for (const ListLine& line : lines) {
    if (line.failed) {
      prompts().MsgBox(ListOpenError(line.error), ErrorTitle(), MsgButtons::OK, MsgIcon::Exclamation);
      continue;
    }
    // A blank line names no file (a list edited by hand often ends in one).
    if (line.name.trimmed().isEmpty()) continue;
    const QString source = JoinPath(req.programFolder, line.name);
    const QString dest = JoinPath(req.installPath, line.name);
    // A name with a folder in it (the templates) goes into that folder of the install folder,
    // made if need be; a missing install folder is not made here but fails the copy. The list
    // is written with slashes on every platform, so both separators count here, unlike
    // tarvex::IsPathSeparator, which on Windows takes the backslash alone.
    const QString folder = QFileInfo(dest).path();
    const bool inFolder = line.name.contains(QLatin1Char('/')) || line.name.contains(QLatin1Char('\\'));
    QString error;
    const bool ready = !inFolder || !files.FolderExists(req.installPath) || files.FolderExists(folder) ||
                       files.MakeFolders(folder, &error);
    if (ready && files.CopyFileOver(source, dest, &error)) continue;
    const QString text = QStringLiteral("Error copying file ") + source + QStringLiteral(" to ") + req.installPath +
                         kCrLf + error + kCrLf + QStringLiteral("Click OK to continue, CANCEL to end.");
    if (prompts().MsgBox(text, ErrorTitle(), MsgButtons::OKCancel, MsgIcon::Exclamation) == MsgResult::Cancel)
      return false;
  }
  return true;
}

void RegisterForDesktop(const InstallRequest& req, SetupFileOps& files, SetupShell& shell) {
  DesktopRequest d;
  d.installPath = req.installPath;
  d.boxes = req.boxes;
  d.dataHome = req.dataHome;
  const DesktopResult result = RegisterDesktop(d, files, shell);
  if (!result.problems.isEmpty())
    prompts().MsgBox(QStringLiteral("The file types could not all be registered for the desktop:") + kCrLf +
                         result.problems.join(kCrLf),
                     ErrorTitle(), MsgButtons::OK, MsgIcon::Exclamation);
  if (!result.notes.isEmpty())
    prompts().MsgBox(result.notes.join(kCrLf), QStringLiteral("Info"), MsgButtons::OK, MsgIcon::Information);
}

}  // namespace

InstallOutcome Install(const InstallRequest& req, SetupFileOps& files, SetupShell& shell) {
  const QString refused = RefusedPathReason(req.installPath);
  if (!refused.isEmpty()) {
    prompts().MsgBox(refused + kCrLf + QStringLiteral("Please choose another install directory."), ErrorTitle(),
                     MsgButtons::OK, MsgIcon::Exclamation);
    return InstallOutcome::Stopped;
  }

  // 1. The files.
  std::vector<ListLine> lines;
  QString error;
  if (!files.ReadFileList(JoinPath(req.programFolder, QLatin1String(kFileList)), &lines, &error)) {
    prompts().MsgBox(ListOpenError(error), ErrorTitle(), MsgButtons::OK, MsgIcon::Exclamation);
    return InstallOutcome::Stopped;
  }
  if (!CopyFiles(req, lines, files)) return InstallOutcome::Ended;

  // 2. What the registry editor will ask.
  prompts().MsgBox(QStringLiteral("When prompted to install settings into your registry, click \"YES\" and then \"OK\"."),
                   QStringLiteral("Info"), MsgButtons::OK, MsgIcon::Information);

  // 3. The registry file.
  const QString regPath = JoinPath(req.programFolder, QLatin1String(kRegFile));
  if (!files.WriteFile(regPath, RegistryFileBytes(req.boxes, req.installPath), &error)) {
    prompts().MsgBox(QStringLiteral("Error writing file \"%1\".").arg(regPath) + kCrLf + error, ErrorTitle(),
                     MsgButtons::OK, MsgIcon::Exclamation);
    return InstallOutcome::Stopped;
  }
  if (req.registerDesktop) RegisterForDesktop(req, files, shell);

  // 4. The registry editor imports it; nobody waits for it.
  const QString regedit = shell.FindProgram(QStringLiteral("regedit"));
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

  // 5. Done.
  QDir::setCurrent(req.programFolder);
  return InstallOutcome::Ended;
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

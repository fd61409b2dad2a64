#include "scrivane/setup/core/desktop.h"

#include <algorithm>

#include <QDir>
#include <QFileInfo>
#include <QXmlStreamWriter>

#include "common/paths.h"
#include "scrivane/setup/core/installer.h"

namespace pendrel {

using tarvex::JoinPath;

const std::vector<GameFileType>& GameFileTypes() {
  // .dat and .uni are common extensions of other programs too: their plain globs weigh
  // little, so that other files keep their types, while the game's own tables match by name.
  static const std::vector<GameFileType> types = {
      {kBoxCog, QStringLiteral("text/x-jk-cog"), QStringLiteral("COG File"), {{QStringLiteral("*.cog"), 50}},
       QStringLiteral("COGPage.png"), QStringLiteral("Scrivane")},
      {kBoxCgt, QStringLiteral("text/x-jk-cgt"), QStringLiteral("Scrivane Template"), {{QStringLiteral("*.cgt"), 50}},
       QStringLiteral("CGTPage.png"), QStringLiteral("Scrivane")},
      {kBoxDat, QStringLiteral("text/x-jk-dat"), QStringLiteral("Jedi Knight DAT File"),
       {{QStringLiteral("models.dat"), 80}, {QStringLiteral("*.dat"), 10}}, QStringLiteral("DATPage.png"),
       QStringLiteral("Orvane")},
      {kBoxUni, QStringLiteral("text/x-jk-uni"), QStringLiteral("Jedi Knight UNI File"),
       {{QStringLiteral("jkstrings.uni"), 80}, {QStringLiteral("*.uni"), 10}}, QStringLiteral("JKUni.png"),
       QStringLiteral("Lirrel")},
  };
  return types;
}

QString MimeIconName(const QString& mimeType) { return QString(mimeType).replace(QLatin1Char('/'), QLatin1Char('-')); }

QString MimePackageXml(const Boxes& boxes) {
  QString xml;
  QXmlStreamWriter w(&xml);
  w.setAutoFormatting(true);
  w.writeStartDocument();
  w.writeStartElement(QStringLiteral("mime-info"));
  w.writeDefaultNamespace(QStringLiteral("http://www.freedesktop.org/standards/shared-mime-info"));
  for (const GameFileType& t : GameFileTypes()) {
    if (!boxes[t.box]) continue;
    w.writeStartElement(QStringLiteral("mime-type"));
    w.writeAttribute(QStringLiteral("type"), t.mimeType);
    w.writeTextElement(QStringLiteral("comment"), t.comment);
    w.writeEmptyElement(QStringLiteral("sub-class-of"));
    w.writeAttribute(QStringLiteral("type"), QStringLiteral("text/plain"));
    w.writeEmptyElement(QStringLiteral("icon"));
    w.writeAttribute(QStringLiteral("name"), MimeIconName(t.mimeType));
    for (const MimeGlob& g : t.globs) {
      w.writeEmptyElement(QStringLiteral("glob"));
      w.writeAttribute(QStringLiteral("pattern"), g.pattern);
      if (g.weight != 50) w.writeAttribute(QStringLiteral("weight"), QString::number(g.weight));
    }
    w.writeEndElement();
  }
  w.writeEndElement();
  w.writeEndDocument();
  return xml;
}

QString DesktopExecArgument(const QString& path) {
  // Inside a quoted argument, backslash, double quote, backquote and dollar sign are escaped
  // with a backslash; then the key's string escapes double every backslash once more, and a
  // percent sign is written twice so that it is no field code.
  QString quoted;
  for (const QChar c : path) {
    if (c == QLatin1Char('\\') || c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$'))
      quoted += QLatin1Char('\\');
    quoted += c;
  }
  quoted = QLatin1Char('"') + quoted + QLatin1Char('"');
  quoted.replace(QLatin1String("\\"), QLatin1String("\\\\"));
  quoted.replace(QLatin1String("%"), QLatin1String("%%"));
  return quoted;
}

const std::vector<DesktopApp>& DesktopApps() {
  static const std::vector<DesktopApp> apps = {
      {QStringLiteral("Scrivane"), QStringLiteral("COG Script Editor"),
       QStringLiteral("Edit Jedi Knight COG scripts and templates"), QStringLiteral("tarvex-scrivane")},
      {QStringLiteral("Lirrel"), QStringLiteral("String Table Editor"),
       QStringLiteral("Edit the Jedi Knight message table jkstrings.uni"), QStringLiteral("tarvex-lirrel")},
      {QStringLiteral("Orvane"), QStringLiteral("Model Table Editor"),
       QStringLiteral("Edit the Jedi Knight model table models.dat"), QStringLiteral("tarvex-orvane")},
  };
  return apps;
}

QString DesktopFileName(const QString& program) {
  return QStringLiteral("tarvex-") + program.toLower() + QStringLiteral(".desktop");
}

QString DesktopEntryText(const DesktopApp& app, const QString& programPath, const QStringList& mimeTypes) {
  QString s;
  s += QStringLiteral("[Desktop Entry]\n");
  s += QStringLiteral("Type=Application\n");
  s += QStringLiteral("Name=") + app.program + QLatin1Char('\n');
  s += QStringLiteral("GenericName=") + app.genericName + QLatin1Char('\n');
  s += QStringLiteral("Comment=") + app.comment + QLatin1Char('\n');
  s += QStringLiteral("Exec=") + DesktopExecArgument(programPath) + QStringLiteral(" %f\n");
  s += QStringLiteral("Icon=") + app.icon + QLatin1Char('\n');
  s += QStringLiteral("Terminal=false\n");
  s += QStringLiteral("Categories=Development;\n");
  s += QStringLiteral("MimeType=") + mimeTypes.join(QLatin1Char(';')) + QStringLiteral(";\n");
  return s;
}

QString XdgDataHome() {
  const QString env = qEnvironmentVariable("XDG_DATA_HOME");
  if (!env.isEmpty() && QDir::isAbsolutePath(env)) return env;
  return QDir::homePath() + QStringLiteral("/.local/share");
}

namespace {

// Copies an installed PNG into the icon theme under the given name.
void InstallIcon(const QString& source, const QString& folder, const QString& name, SetupFileOps& files,
                 QStringList* problems) {
  QString error;
  if (!files.MakeFolders(folder, &error) || !files.CopyFileOver(source, JoinPath(folder, name + QStringLiteral(".png")), &error))
    *problems << QStringLiteral("Icon %1: %2").arg(name, error);
}

void Write(const QString& path, const QString& text, SetupFileOps& files, QStringList* problems) {
  QString error;
  if (!files.MakeFolders(tarvex::FolderPart(path), &error) || !files.WriteFile(path, text.toUtf8(), &error))
    *problems << QStringLiteral("%1: %2").arg(path, error);
}

void RunTool(const QString& tool, const QString& folder, SetupShell& shell, QStringList* problems) {
  const QString path = shell.FindProgram(tool);
  if (path.isEmpty()) return;  // the desktop picks the files up by itself then, if more slowly
  if (!shell.Run(path, {folder})) *problems << QStringLiteral("%1 %2 failed.").arg(tool, folder);
}

}  // namespace

DesktopResult RegisterDesktop(const DesktopRequest& req, SetupFileOps& files, SetupShell& shell) {
  DesktopResult result;
  QStringList& problems = result.problems;
  if (std::none_of(req.boxes.begin(), req.boxes.end(), [](bool b) { return b; })) return result;

  const QString mimeFolder = JoinPath(req.dataHome, QStringLiteral("mime"));
  const QString appFolder = JoinPath(req.dataHome, QStringLiteral("applications"));
  const QString iconFolder = JoinPath(req.dataHome, QStringLiteral("icons/hicolor/48x48"));

  Write(JoinPath(mimeFolder, QStringLiteral("packages/tarvex.xml")), MimePackageXml(req.boxes), files, &problems);
  for (const GameFileType& t : GameFileTypes()) {
    if (req.boxes[t.box])
      InstallIcon(JoinPath(req.installPath, t.iconFile), JoinPath(iconFolder, QStringLiteral("mimetypes")),
                  MimeIconName(t.mimeType), files, &problems);
  }

  bool anyEntry = false;
  for (const DesktopApp& app : DesktopApps()) {
    QStringList types, extensions;
    QString iconFile;
    for (const GameFileType& t : GameFileTypes()) {
      if (t.program != app.program || !req.boxes[t.box]) continue;
      types << t.mimeType;
      extensions << t.globs.back().pattern.mid(1).toUpper();
      if (iconFile.isEmpty()) iconFile = t.iconFile;
    }
    if (types.isEmpty()) continue;
    const QString programPath =
        QDir::toNativeSeparators(QFileInfo(JoinPath(req.installPath, ProgramFileName(app.program))).absoluteFilePath());
    if (!files.FileExists(programPath)) {
      // A program left out of the build (TARVEX_SKIP) is not in the folder.
      result.notes << QStringLiteral("%1 is not in the install directory, so %2 files are not opened with it.")
                          .arg(app.program, extensions.join(QStringLiteral(" and ")));
      continue;
    }
    InstallIcon(JoinPath(req.installPath, iconFile), JoinPath(iconFolder, QStringLiteral("apps")), app.icon, files,
                &problems);
    Write(JoinPath(appFolder, DesktopFileName(app.program)), DesktopEntryText(app, programPath, types), files,
          &problems);
    anyEntry = true;
  }

  RunTool(QStringLiteral("update-mime-database"), mimeFolder, shell, &problems);
  // With no entry written (only types whose program is missing) the entries' folder may not
  // exist, and its cache tool fails on a missing folder: there is nothing to update then.
  if (anyEntry) RunTool(QStringLiteral("update-desktop-database"), appFolder, shell, &problems);
  return result;
}

}  // namespace pendrel

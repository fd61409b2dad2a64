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
  // .uni is a common extension of other programs too: its plain glob weighs little, so that
  // other files keep their types, while the game's own table matches by name. .dat is so
  // common that no glob may claim it: the type goes by the file name models.dat (any letter
  // case) and, for a model table under another name, by the count line it holds near the start.
  static const std::vector<GameFileType> types = {
      {kBoxCog, QStringLiteral("text/x-jk-cog"), QStringLiteral("COG File"), {{QStringLiteral("*.cog"), 50}}, {},
       QStringLiteral("COGPage.png"), QStringLiteral("Scrivane"), QStringLiteral(".cog")},
      {kBoxCgt, QStringLiteral("text/x-jk-cgt"), QStringLiteral("Scrivane Template"), {{QStringLiteral("*.cgt"), 50}},
       {}, QStringLiteral("CGTPage.png"), QStringLiteral("Scrivane"), QStringLiteral(".cgt")},
      {kBoxDat, QStringLiteral("text/x-jk-dat"), QStringLiteral("Jedi Knight DAT File"),
       {{QStringLiteral("models.dat"), 80}}, QStringLiteral("numModels:"), QStringLiteral("DATPage.png"),
       QStringLiteral("Orvane"), QStringLiteral("models.dat")},
      {kBoxUni, QStringLiteral("text/x-jk-uni"), QStringLiteral("Jedi Knight UNI File"),
       {{QStringLiteral("jkstrings.uni"), 80}, {QStringLiteral("*.uni"), 10}}, {}, QStringLiteral("JKUni.png"),
       QStringLiteral("Lirrel"), QStringLiteral("jkstrings.uni")},
  };
  return types;
}

namespace {
// How far into a file the magic text is looked for: well past the header an editor of the
// table writes, within what the desktop reads of a file to sniff it.
constexpr int kMagicRange = 4096;
}  // namespace

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
    if (!t.magic.isEmpty()) {
      w.writeStartElement(QStringLiteral("magic"));
      w.writeEmptyElement(QStringLiteral("match"));
      w.writeAttribute(QStringLiteral("type"), QStringLiteral("string"));
      w.writeAttribute(QStringLiteral("value"), t.magic);
      w.writeAttribute(QStringLiteral("offset"), QStringLiteral("0:%1").arg(kMagicRange));
      w.writeEndElement();
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
  // The class of the program's windows, so that a dock groups them with this entry.
  s += QStringLiteral("StartupWMClass=") + app.program + QLatin1Char('\n');
  return s;
}

QString XdgDataHome() {
  const QString env = qEnvironmentVariable("XDG_DATA_HOME");
  if (!env.isEmpty() && QDir::isAbsolutePath(env)) return env;
  return QDir::homePath() + QStringLiteral("/.local/share");
}

namespace {

// The files of one registration and what happened to them.
class Registration {
 public:
  Registration(const QString& dataHome, SetupFileOps& files, DesktopResult* result)
      : files_(files), result_(result) {
    mimeFolder = JoinPath(dataHome, QStringLiteral("mime"));
    appFolder = JoinPath(dataHome, QStringLiteral("applications"));
    themeFolder = JoinPath(dataHome, QStringLiteral("icons/hicolor"));
  }

  QString MimePackage() const { return JoinPath(mimeFolder, QStringLiteral("packages/tarvex.xml")); }
  QString Entry(const QString& program) const { return JoinPath(appFolder, DesktopFileName(program)); }
  QString Icon(const char* kind, const QString& name) const {
    return JoinPath(themeFolder, QStringLiteral("48x48/%1/%2.png").arg(QLatin1String(kind), name));
  }

  void Write(const QString& path, const QByteArray& bytes, bool* changed) {
    QString error;
    if (!files_.MakeFolders(tarvex::FolderPart(path), &error) || !files_.WriteFile(path, bytes, &error))
      result_->problems << QStringLiteral("%1: %2").arg(path, error);
    *changed = true;
  }

  void Copy(const QString& source, const QString& path, bool* changed) {
    QString error;
    if (!files_.MakeFolders(tarvex::FolderPart(path), &error) || !files_.CopyFileOver(source, path, &error))
      result_->problems << QStringLiteral("%1: %2").arg(path, error);
    *changed = true;
  }

  // Removes a file an earlier registration wrote, if it is there.
  void Remove(const QString& path, bool* changed) {
    if (!files_.FileExists(path)) return;
    QString error;
    if (!files_.RemoveFile(path, &error)) {
      result_->problems << QStringLiteral("%1: %2").arg(path, error);
      return;
    }
    result_->removed << path;
    *changed = true;
  }

  QString mimeFolder, appFolder, themeFolder;

 private:
  SetupFileOps& files_;
  DesktopResult* result_;
};

// Runs a cache tool over a folder, when both are there.
void RunTool(const QString& tool, const QStringList& args, const QString& folder, SetupFileOps& files,
             SetupShell& shell, QStringList* problems) {
  const QString path = shell.FindProgram(tool);
  if (path.isEmpty() || !files.FolderExists(folder)) return;  // the desktop reads the files itself then
  if (!shell.Run(path, args + QStringList{folder})) *problems << QStringLiteral("%1 %2 failed.").arg(tool, folder);
}

}  // namespace

DesktopResult RegisterDesktop(const DesktopRequest& req, SetupFileOps& files, SetupShell& shell) {
  DesktopResult result;
  Registration reg(req.dataHome, files, &result);
  bool mimeChanged = false, appsChanged = false, iconsChanged = false;

  if (std::any_of(req.boxes.begin(), req.boxes.end(), [](bool b) { return b; }))
    reg.Write(reg.MimePackage(), MimePackageXml(req.boxes).toUtf8(), &mimeChanged);
  else
    reg.Remove(reg.MimePackage(), &mimeChanged);
  for (const GameFileType& t : GameFileTypes()) {
    const QString icon = reg.Icon("mimetypes", MimeIconName(t.mimeType));
    if (req.boxes[t.box])
      reg.Copy(JoinPath(req.installPath, t.iconFile), icon, &iconsChanged);
    else
      reg.Remove(icon, &iconsChanged);
  }

  for (const DesktopApp& app : DesktopApps()) {
    QStringList types, shown;
    QString iconFile;
    for (const GameFileType& t : GameFileTypes()) {
      if (t.program != app.program || !req.boxes[t.box]) continue;
      types << t.mimeType;
      shown << t.files;
      if (iconFile.isEmpty()) iconFile = t.iconFile;
    }
    const QString programPath =
        QDir::toNativeSeparators(QFileInfo(JoinPath(req.installPath, ProgramFileName(app.program))).absoluteFilePath());
    const bool present = !types.isEmpty() && files.FileExists(programPath);
    if (!types.isEmpty() && !present) {
      // A program left out of the build (TARVEX_SKIP) is not in the folder.
      result.notes << QStringLiteral("%1 is not in the install directory, so %2 files are not opened with it.")
                          .arg(app.program, shown.join(QStringLiteral(" and ")));
    }
    if (!present) {
      // An entry left from an earlier installation would open these files still.
      reg.Remove(reg.Entry(app.program), &appsChanged);
      reg.Remove(reg.Icon("apps", app.icon), &iconsChanged);
      continue;
    }
    reg.Copy(JoinPath(req.installPath, iconFile), reg.Icon("apps", app.icon), &iconsChanged);
    reg.Write(reg.Entry(app.program), DesktopEntryText(app, programPath, types).toUtf8(), &appsChanged);
    result.opens << QStringLiteral("%1 now opens %2 files.").arg(app.program, shown.join(QStringLiteral(" and ")));
  }

  if (mimeChanged) RunTool(QStringLiteral("update-mime-database"), {}, reg.mimeFolder, files, shell, &result.problems);
  if (appsChanged)
    RunTool(QStringLiteral("update-desktop-database"), {}, reg.appFolder, files, shell, &result.problems);
  // The icon theme's cache only where one was made before: without it the desktop reads the
  // folders themselves, and a cache made here would then hide icons added by hand later.
  if (iconsChanged && files.FileExists(JoinPath(reg.themeFolder, QStringLiteral("icon-theme.cache"))))
    RunTool(QStringLiteral("gtk-update-icon-cache"), {QStringLiteral("-f"), QStringLiteral("-t"), QStringLiteral("-q")},
            reg.themeFolder, files, shell, &result.problems);
  return result;
}

}  // namespace pendrel

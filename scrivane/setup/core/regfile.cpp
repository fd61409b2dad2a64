#include "scrivane/setup/core/regfile.h"

#include <QDir>

#include "common/ansicodec.h"

namespace pendrel {

PathStyle WindowsStyle() { return {QLatin1Char('\\'), QStringLiteral(".exe")}; }
PathStyle UnixStyle() { return {QLatin1Char('/'), QString()}; }

PathStyle NativeStyle() {
#ifdef Q_OS_WIN
  return WindowsStyle();
#else
  return UnixStyle();
#endif
}

QString ProgramFileName(const QString& base, const PathStyle& style) { return base + style.programSuffix; }

QString DefaultInstallPath() {
#ifdef Q_OS_WIN
  return QStringLiteral("C:\\Jedi Knight\\Tarvex");
#else
  return QDir::toNativeSeparators(QDir::homePath()) + QStringLiteral("/Jedi Knight/Tarvex");
#endif
}

QString EscapedInstallPath(const QString& installPath, const PathStyle& style) {
  QString path = installPath;
  if (!path.endsWith(style.separator)) path += style.separator;
  return path.replace(QLatin1String("\\"), QLatin1String("\\\\"));
}

QString RefusedPathReason(const QString& installPath) {
  if (installPath.isEmpty()) return QStringLiteral("No install directory is given.");
  for (const QChar c : installPath) {
    if (c == QLatin1Char('"'))
      return QStringLiteral("The install directory contains a double quote (\"), which the registry file cannot hold.");
    if (c == QLatin1Char('\r') || c == QLatin1Char('\n'))
      return QStringLiteral("The install directory contains a line break, which the registry file cannot hold.");
    if (c.category() == QChar::Other_Control)
      return QStringLiteral("The install directory contains a control character, which the registry file cannot hold.");
  }
  const QString unstorable = tarvex::DescribeUnencodable(installPath, false);
  if (!unstorable.isEmpty())
    return QStringLiteral("The install directory contains the character %1, which the registry file "
                          "(Windows-1252) cannot hold.")
        .arg(unstorable);
  return QString();
}

namespace {

struct FileType {
  const char* extension;    // ".cog"
  const char* className;    // key the extension points to
  const char* description;  // the class's own name
  const char* icon;         // icon file among the installed files
  const char* program;      // program that opens the type, without suffix
  int box;                  // the check box that governs the block
};

// In the order the blocks appear in the file.
const FileType kTypes[] = {
    {".cog", "COG file", "COG File", "COGPage.ico", "Scrivane", kBoxCog},
    {".cgt", "Scrivane Template", "Scrivane Template", "CGTPage.ico", "Scrivane", kBoxCgt},
    {".dat", "JKDAT", "Jedi Knight DAT File", "DATPage.ico", "Orvane", kBoxDat},
    {".uni", "JKUNI", "Jedi Knight UNI File", "JKUni.ico", "Lirrel", kBoxUni},
};

}  // namespace

QStringList RegistryFileLines(const Boxes& boxes, const QString& installPath, const PathStyle& style) {
  const QString q = QStringLiteral("\"");
  const QString e = EscapedInstallPath(installPath, style);
  const QString root = QStringLiteral("[HKEY_CLASSES_ROOT\\");
  QStringList lines{QStringLiteral("REGEDIT4")};
  for (const FileType& t : kTypes) {
    if (!boxes[t.box]) continue;
    const QString cls = root + QLatin1String(t.className);
    lines << root + QLatin1String(t.extension) + QLatin1Char(']')
          << QStringLiteral("@=") + q + QLatin1String(t.className) + q
          << cls + QLatin1Char(']')
          << QStringLiteral("@=") + q + QLatin1String(t.description) + q
          << QStringLiteral("\"EditFlags\"=hex:00,00,00,00")
          << cls + QStringLiteral("\\DefaultIcon]")
          << QStringLiteral("@=") + q + e + QLatin1String(t.icon) + QStringLiteral(",0") + q
          << cls + QStringLiteral("\\shell]")
          << QStringLiteral("@=\"\"")
          << cls + QStringLiteral("\\shell\\open]")
          << QStringLiteral("@=\"\"")
          << QStringLiteral("\"EditFlags\"=hex:01,00,00,00")
          << cls + QStringLiteral("\\shell\\open\\command]")
          << QStringLiteral("@=") + q + QStringLiteral("\\") + q + e + ProgramFileName(QLatin1String(t.program), style) +
                 QStringLiteral("\\") + q + QStringLiteral(" %1") + q;
  }
  return lines;
}

QByteArray RegistryFileBytes(const Boxes& boxes, const QString& installPath, const PathStyle& style) {
  QString text;
  for (const QString& line : RegistryFileLines(boxes, installPath, style)) text += line + QStringLiteral("\r\n");
  return tarvex::EncodeAnsi(text);
}

}  // namespace pendrel

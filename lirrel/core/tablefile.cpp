#include "lirrel/core/tablefile.h"

#include <QDir>
#include <QFileInfo>

#include "common/paths.h"
#include "common/text.h"

namespace lirrel {

namespace {
constexpr QChar kQuote = QLatin1Char('"');
}  // namespace

QStringView GroupView(const QString& name) {
  const qsizetype u = name.indexOf(QLatin1Char('_'));
  return u < 0 ? QStringView(u"MISC.") : QStringView(name).left(u);
}

bool IsFrameLine(QStringView line, bool* end) {
  QStringView t = line.trimmed();
  *end = t.startsWith(QLatin1String("END"));
  if (!*end && !t.startsWith(QLatin1String("MSGS"))) return false;
  t = t.mid(*end ? 3 : 4).trimmed();
  if (!*end)
    while (!t.isEmpty() && t.front().isDigit()) t = t.mid(1).trimmed();
  return t.isEmpty() || t.startsWith(QLatin1Char('#'));
}

QString GroupOf(const QString& name) { return GroupView(name).toString(); }

void AppendKeyLine(QString& out, const QString& name, const QString& value) {
  static const QString kMiddle = QString(kQuote) + QString(25, QLatin1Char(' ')) + QLatin1Char('0') +
                                 QString(5, QLatin1Char(' ')) + kQuote;
  out += kQuote;
  out += name;
  out += kMiddle;
  out += value;
  out += kQuote;
}

QString KeyLine(const QString& name, const QString& value) {
  QString s;
  s.reserve(name.size() + value.size() + 35);
  AppendKeyLine(s, name, value);
  return s;
}

QStringList HeadLines(qsizetype count, const QString& comments, const Author& author) {
  return QStringList{QStringLiteral("MSGS ") + tarvex::NumText(count), QString()} +
         tarvex::AuthorHeader(QStringLiteral("JKStrings.Uni"), QStringLiteral("Lirrel"), comments, author);
}

bool Unwritable(const QString& text) {
  for (const QChar c : text)
    if (c == kQuote || tarvex::IsLineBreak(c)) return true;
  return false;
}

QString FolderOf(const QString& path) {
  const qsizetype i = tarvex::LastSeparator(path);
  if (i < 0) return QDir::toNativeSeparators(QDir::currentPath());
  if (i == 0) return path.left(1);
  return path.left(i);
}

namespace {

// The command line without surrounding blanks and one pair of surrounding double quotes.
QString Unquoted(const QString& commandLine) {
  QString cmd = commandLine.trimmed();
  if (cmd.size() >= 2 && cmd.startsWith(kQuote) && cmd.endsWith(kQuote)) cmd = cmd.mid(1, cmd.size() - 2).trimmed();
  return cmd;
}

}  // namespace

QString StartFileName(const QString& commandLine) {
  const QString cmd = Unquoted(commandLine);
  return IsTableFileName(cmd) ? tarvex::FileTitle(cmd) : QString();
}

qsizetype ValueRoom(const QString& name, const QString& trailer) {
  return qMax<qsizetype>(0, kGameLineLimit - KeyLine(name, QString()).size() - trailer.size());
}

std::optional<QString> StartFolder(const QString& commandLine, const QString& programFolder) {
  const QString cmd = Unquoted(commandLine);
  if (cmd.isEmpty()) return programFolder;
  if (cmd.toUpper().contains(QLatin1String("JKSTRINGS.UNI"))) return FolderOf(cmd);
  return std::nullopt;
}

bool IsTableFileName(const QString& path) {
  return tarvex::FileTitle(path).toUpper() == QLatin1String("JKSTRINGS.UNI");
}

QString TablePath(const QString& folder, bool backup) {
  const QString name = QLatin1String(backup ? kBackupFileName : kTableFileName);
  const QString exact = tarvex::JoinPath(folder, name);
  if (QFileInfo::exists(exact)) return exact;
  // On a file system that tells letter cases apart the game's folders often hold
  // JKSTRINGS.UNI or JkStrings.uni: that file is read and written back under its own name.
  const QStringList entries = QDir(folder).entryList(QDir::Files | QDir::System | QDir::Hidden);
  for (const QString& entry : entries)
    if (tarvex::SameText(entry, name)) return tarvex::JoinPath(folder, entry);
  return exact;
}

}  // namespace lirrel

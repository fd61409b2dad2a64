#include "orvane/core/pickcheck.h"

#include <QList>

namespace orvane {

namespace {

// The first two lines of the text that are neither blank nor '#' comments, trimmed.
QList<QByteArray> FirstDataLines(const QByteArray& bytes) {
  QList<QByteArray> out;
  qsizetype start = 0;
  while (start <= bytes.size() && out.size() < 2) {
    qsizetype end = bytes.indexOf('\n', start);
    if (end < 0) end = bytes.size();
    const QByteArray line = bytes.mid(start, end - start).trimmed();
    if (!line.isEmpty() && !line.startsWith('#')) out << line;
    start = end + 1;
  }
  return out;
}

}  // namespace

QString PickProblem(PickKind kind, const QByteArray& bytes) {
  if (bytes.contains('\0')) return QStringLiteral("it is not a text file.");
  const QList<QByteArray> lines = FirstDataLines(bytes);
  if (kind == PickKind::Model) {
    if (lines.isEmpty() || lines[0].compare("SECTION: HEADER", Qt::CaseInsensitive) != 0)
      return QStringLiteral("it does not begin with \"SECTION: HEADER\" as a 3DO model does.");
    if (lines.size() < 2 || !lines[1].toUpper().startsWith("3DO "))
      return QStringLiteral("its header does not give the \"3DO\" version line of a 3DO model.");
    return QString();
  }
  if (lines.isEmpty() || lines[0].simplified().split(' ').size() < 2)
    return QStringLiteral("its first line is not an event and a sound file, as in a sound class.");
  return QString();
}

QString ArchiveFolder(PickKind kind) {
  return kind == PickKind::Model ? QStringLiteral("3do\\") : QStringLiteral("misc\\snd\\");
}

}  // namespace orvane

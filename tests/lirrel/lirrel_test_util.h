#pragma once
// Helpers of the string-table tests: a listener that records what the table reports, and
// quick ways to write and read the lines of a table file.
#include <QStringList>
#include <QTemporaryDir>

#include "lirrel/core/stringtable.h"
#include "tests/support/file_bytes.h"

namespace lirrel::test {

using tarvex::test::ReadBytes;
using tarvex::test::WriteBytes;

// Records every report as one text line, e.g. "group Custom Keys 2", "key NEW 5", "count 5".
class RecordingListener : public TableListener {
 public:
  QStringList events;
  QStringList messages;  // "title|text"

  void ListsReset() override { events << QStringLiteral("reset"); }
  void GroupAdded(const QString& name, int index) override { events << QStringLiteral("group %1 %2").arg(name).arg(index); }
  void KeyAdded(const QString& name, int index) override { events << QStringLiteral("key %1 %2").arg(name).arg(index); }
  void CountChanged(int count) override { events << QStringLiteral("count %1").arg(count); }
  void LoadFinished() override { events << QStringLiteral("finished"); }
  void Message(const QString& text, const QString& title, Notice) override { messages << title + '|' + text; }
};

// The lines of a file written with CR LF line ends (the last line end gives no extra entry).
inline QStringList FileLines(const QString& path) {
  QString text = QString::fromLatin1(ReadBytes(path));
  if (text.endsWith(QLatin1String("\r\n"))) text.chop(2);
  return text.split(QStringLiteral("\r\n"));
}

// A table file from lines joined with CR LF.
inline QByteArray TableBytes(const QStringList& lines) { return lines.join(QStringLiteral("\r\n")).toLatin1() + "\r\n"; }

// Names and values of keys 1..N, as "name=value".
inline QStringList KeyDump(const StringTable& table) {
  QStringList out;
  for (size_t k = 1; k < table.keyTable().size(); ++k) out << table.keyTable()[k].name + '=' + table.keyTable()[k].value;
  return out;
}

}  // namespace lirrel::test

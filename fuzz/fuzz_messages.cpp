// The message list: names are distinct, non-empty single lines of the file after its
// header, and the list written out again reads back as itself.
#include <QSet>

#include "fuzz/fuzz_check.h"
#include "scrivane/core/shell.h"

void FuzzOne(const uint8_t* data, size_t size) {
  const QString text = FuzzText(data, size);
  const QStringList names = scrivane::ParseMessageList(text);
  FUZZ_CHECK(QSet<QString>(names.begin(), names.end()).size() == names.size());
  for (const QString& n : names) {
    FUZZ_CHECK(!n.isEmpty() && !n.contains(QLatin1Char('\r')) && !n.contains(QLatin1Char('\n')));
    FUZZ_CHECK(text.contains(n));
  }
  FUZZ_CHECK(scrivane::ParseMessageList(QLatin1String("header\r\n") + names.join(QLatin1String("\r\n"))) == names);
}

// The message list: names are distinct, non-empty single lines of the file after its
// header, and the list written out again reads back as itself.
#include <cstdint>

#include <QSet>

#include "common/ansicodec.h"
#include "fuzz/fuzz_check.h"
#include "scrivane/core/shell.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QString text = tarvex::DecodeAnsi(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
  const QStringList names = scrivane::ParseMessageList(text);
  FUZZ_CHECK(QSet<QString>(names.begin(), names.end()).size() == names.size());
  for (const QString& n : names) {
    FUZZ_CHECK(!n.isEmpty() && !n.contains(QLatin1Char('\r')) && !n.contains(QLatin1Char('\n')));
    FUZZ_CHECK(text.contains(n));
  }
  FUZZ_CHECK(scrivane::ParseMessageList(QLatin1String("header\r\n") + names.join(QLatin1String("\r\n"))) == names);
  return 0;
}

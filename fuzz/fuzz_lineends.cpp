// Line ends: both normalisations agree, leave no stray CR or LF, and a file saved in any
// style reads back as the same text and saves again to the same characters.
#include <cstdint>

#include "common/ansicodec.h"
#include "fuzz/fuzz_check.h"
#include "scrivane/core/lineends.h"

using namespace scrivane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QString raw = tarvex::DecodeAnsi(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
  const NormalizedText crlf = NormalizeLineEnds(raw);
  const NormalizedText lf = NormalizeToLf(raw);
  FUZZ_CHECK(crlf.style == lf.style);
  FUZZ_CHECK(!lf.text.contains(QLatin1Char('\r')));
  FUZZ_CHECK(QString(crlf.text).replace(QLatin1String("\r\n"), QLatin1String("\n")) == lf.text);
  const qsizetype pairs = crlf.text.count(QLatin1String("\r\n"));
  FUZZ_CHECK(crlf.text.count(QLatin1Char('\r')) == pairs && crlf.text.count(QLatin1Char('\n')) == pairs);

  const bool endsInBreak = crlf.text.endsWith(QLatin1Char('\n'));
  for (const LineEnd style : {LineEnd::CRLF, LineEnd::LF, LineEnd::CR}) {
    const QString file = ToFileLineEnds(crlf.text, style);
    FUZZ_CHECK(file.endsWith(LineEndText(style)));
    const NormalizedText back = NormalizeLineEnds(file);
    FUZZ_CHECK(back.style == style);
    FUZZ_CHECK(back.text == (endsInBreak ? crlf.text : crlf.text + QLatin1String("\r\n")));
    FUZZ_CHECK(ToFileLineEnds(back.text, style) == file);
  }
  return 0;
}

// Line ends: both normalisations, and the one that decodes the bytes in the same pass, agree
// and leave no stray CR or LF; a file saved with each line's own end is the file read, and one
// saved in any single style reads back in it.
#include "fuzz/fuzz_check.h"
#include "scrivane/core/lineends.h"

using namespace scrivane;

void FuzzOne(const uint8_t* data, size_t size) {
  const QString raw = FuzzText(data, size);
  const NormalizedText crlf = NormalizeLineEnds(raw);
  const NormalizedText lf = NormalizeToLf(raw);
  FUZZ_CHECK(crlf.style == lf.style && !lf.text.contains(QLatin1Char('\r')));
  const NormalizedText decoded = DecodeToLf(FuzzBytes(data, size));
  FUZZ_CHECK(decoded.text == lf.text && decoded.style == lf.style && decoded.odd == lf.odd);
  FUZZ_CHECK(QString(crlf.text).replace(QLatin1String("\r\n"), QLatin1String("\n")) == lf.text);
  const qsizetype pairs = crlf.text.count(QLatin1String("\r\n"));
  FUZZ_CHECK(crlf.text.count(QLatin1Char('\r')) == pairs && crlf.text.count(QLatin1Char('\n')) == pairs);

  // Saved with each line's own end, the file comes back as it was (one end added when the
  // text has no final one); saved in one style, it reads back in that style alone.
  const bool endsInBreak = lf.text.endsWith(QLatin1Char('\n'));
  FUZZ_CHECK(ToFileText(lf.text, lf.style, lf.odd) == (endsInBreak ? raw : raw + LineEndText(lf.style)));
  for (const LineEnd style : {LineEnd::CRLF, LineEnd::LF, LineEnd::CR}) {
    const NormalizedText back = NormalizeToLf(ToFileText(lf.text, style));
    FUZZ_CHECK(back.style == style && back.odd.empty() && back.text == (endsInBreak ? lf.text : lf.text + QLatin1Char('\n')));
  }
}

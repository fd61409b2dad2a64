// The Windows-1252 codec: every byte string decodes and encodes back to itself, and a text
// the code page can hold encodes without a reported bad character.
#include "fuzz/fuzz_check.h"

void FuzzOne(const uint8_t* data, size_t size) {
  const QByteArray bytes = FuzzBytes(data, size);
  const QString text = tarvex::DecodeAnsi(bytes);
  FUZZ_CHECK(text.size() == bytes.size());
  qsizetype bad = -2;
  FUZZ_CHECK(tarvex::EncodeAnsi(text, &bad) == bytes && bad == -1 && tarvex::FirstUnencodable(text) == -1);
  // The bytes read as UTF-16 code units give texts with characters outside the code page.
  const QString wide = QString::fromUtf16(reinterpret_cast<const char16_t*>(data), qsizetype(size / 2));
  const qsizetype first = tarvex::FirstUnencodable(wide);
  tarvex::EncodeAnsi(wide, &bad);
  FUZZ_CHECK(bad == first && tarvex::DescribeUnencodable(wide).isEmpty() == (first == -1));
}

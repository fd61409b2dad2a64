// The Windows-1252 codec: every byte string decodes and encodes back to itself, and a text
// the code page can hold encodes without a reported bad character.
#include <cstdint>

#include "common/ansicodec.h"
#include "fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const QString text = tarvex::DecodeAnsi(bytes);
  FUZZ_CHECK(text.size() == bytes.size());
  qsizetype bad = -2;
  FUZZ_CHECK(tarvex::EncodeAnsi(text, &bad) == bytes);
  FUZZ_CHECK(bad == -1);
  FUZZ_CHECK(tarvex::FirstUnencodable(text) == -1);
  // The bytes read as UTF-16 code units give texts with characters outside the code page.
  const QString wide = QString::fromUtf16(reinterpret_cast<const char16_t*>(data),
                                          static_cast<qsizetype>(size / 2));
  const qsizetype first = tarvex::FirstUnencodable(wide);
  tarvex::EncodeAnsi(wide, &bad);
  FUZZ_CHECK(bad == first);
  FUZZ_CHECK(tarvex::DescribeUnencodable(wide).isEmpty() == (first == -1));
  return 0;
}

// The archive index reader: any bytes are listed or refused, and every entry of a listed
// archive lies inside it.
#include <QBuffer>

#include "fuzz/fuzz_check.h"
#include "orvane/core/gobarchive.h"

void FuzzOne(const uint8_t* data, size_t size) {
  QByteArray bytes = FuzzBytes(data, size);
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  orvane::GobIndex index;
  QString fault;
  if (!index.Read(buffer, &fault)) {
    FUZZ_CHECK(!fault.isEmpty());
    return;
  }
  for (int i = 0; i < index.Count(); ++i) {
    FUZZ_CHECK(qint64(index.At(i).offset) + index.At(i).length <= qint64(size));
    FUZZ_CHECK(index.NameBytes(i).size() < orvane::kGobNameSize && !index.Name(i).contains(QChar(0)));
  }
  FUZZ_CHECK(index.NamesIn(QStringLiteral("3do\\")).size() <= index.Count());
}

// The models.dat reader: any bytes read without fault, and the table Orvane writes from what
// it read reads back as the same entries, renumbered, with the same comments.
#include <cstdint>

#include "common/ansicodec.h"
#include "fuzz/fuzz_check.h"
#include "orvane/core/modeltable.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QString text = tarvex::DecodeAnsi(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
  orvane::ModelText read = orvane::ReadModelText(text);
  for (size_t i = 1; i < read.entries.size(); ++i) FUZZ_CHECK(read.entries[i - 1].slot < read.entries[i].slot);
  for (size_t i = 0; i < read.entries.size(); ++i) read.entries[i].slot = int(i);
  const orvane::ModelText again = orvane::ReadModelText(orvane::ModelFileText(read.entries, read.comments, {}));
  FUZZ_CHECK(again.entries == read.entries);
  FUZZ_CHECK(again.declaredCount == int(read.entries.size()));
  return 0;
}

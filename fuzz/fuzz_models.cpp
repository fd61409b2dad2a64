// The models.dat reader: any bytes read without fault, and the table Orvane writes from what
// it read reads back as the same entries, renumbered, with the same comments.
#include "fuzz/fuzz_check.h"
#include "orvane/core/modeltable.h"

void FuzzOne(const uint8_t* data, size_t size) {
  const QString text = FuzzText(data, size);
  orvane::ModelText read = orvane::ReadModelText(text);
  for (size_t i = 1; i < read.entries.size(); ++i) FUZZ_CHECK(read.entries[i - 1].slot < read.entries[i].slot);
  for (size_t i = 0; i < read.entries.size(); ++i) read.entries[i].slot = int(i);
  const orvane::ModelText again = orvane::ReadModelText(orvane::ModelFileText(read.entries, read.comments, {}));
  FUZZ_CHECK(again.entries == read.entries && again.declaredCount == int(read.entries.size()));
}

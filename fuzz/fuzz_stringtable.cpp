// Lirrel's load, save and load again, from any jkstrings.uni: the saved and reloaded table
// has the same keys, values, groups and comments, and saving it once more writes the same
// bytes. A table whose comments the header cannot hold is refused before anything is written.
#include <algorithm>

#include "common/authorheader.h"
#include "common/files.h"
#include "fuzz/fuzz_check.h"
#include "lirrel/core/stringtable.h"
#include "lirrel/core/tablefile.h"

using namespace lirrel;

static bool SameTable(const StringTable& a, const StringTable& b) {
  const auto same = [](const StringKey& x, const StringKey& y) { return x.group == y.group && x.name == y.name && x.value == y.value; };
  return a.groupTable() == b.groupTable() && a.Comments() == b.Comments() && a.Count() == b.Count() &&
         std::equal(a.keyTable().begin(), a.keyTable().end(), b.keyTable().begin(), b.keyTable().end(), same);
}

void FuzzOne(const uint8_t* data, size_t size) {
  const QTemporaryDir& dir = FuzzFolder();
  [[maybe_unused]] static const bool isolated = qputenv("TARVEX_CONFIG_DIR", dir.filePath(QStringLiteral("config")).toLocal8Bit());
  FUZZ_CHECK(tarvex::WriteWholeFile(TablePath(dir.path()), FuzzBytes(data, size)));
  StringTable loaded, saver, reloaded;
  FUZZ_CHECK(loaded.LoadTable(dir.path(), LoadMode::Load) && saver.LoadTable(dir.path(), LoadMode::Load));
  if (!tarvex::HeaderRefusal(tarvex::Author::FromSettings(), loaded.Comments(), QLatin1String(kTableFileName), kGameLineLimit).isEmpty()) {
    FUZZ_CHECK(!saver.SaveTable(dir.path()));
    return;
  }
  FUZZ_CHECK(saver.SaveTable(dir.path()) && SameTable(loaded, saver));
  FUZZ_CHECK(reloaded.LoadTable(dir.path(), LoadMode::Load) && SameTable(loaded, reloaded));
  FUZZ_CHECK(reloaded.Serialize() == loaded.Serialize());
}

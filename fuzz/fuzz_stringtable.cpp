// Lirrel's load, save and load again, from any jkstrings.uni: the saved and reloaded table
// has the same keys, values, groups and comments, and saving it once more writes the same
// bytes.
#include <cstdint>

#include <QFile>

#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_folder.h"
#include "lirrel/core/stringtable.h"
#include "lirrel/core/tablefile.h"

using namespace lirrel;

static bool SameTable(const StringTable& a, const StringTable& b) {
  if (a.groupTable() != b.groupTable() || a.Comments() != b.Comments() || a.Count() != b.Count()) return false;
  for (size_t i = 0; i < a.keyTable().size(); ++i) {
    const StringKey &x = a.keyTable()[i], &y = b.keyTable()[i];
    if (x.group != y.group || x.name != y.name || x.value != y.value) return false;
  }
  return true;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QTemporaryDir& dir = FuzzFolder();
  static const bool isolated = qputenv("TARVEX_CONFIG_DIR", dir.filePath(QStringLiteral("config")).toLocal8Bit());
  (void)isolated;
  {
    QFile f(TablePath(dir.path()));
    FUZZ_CHECK(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    FUZZ_CHECK(f.write(reinterpret_cast<const char*>(data), qint64(size)) == qint64(size));
  }
  StringTable loaded, reloaded;
  FUZZ_CHECK(loaded.LoadTable(dir.path(), LoadMode::Load));
  const QByteArray saved = loaded.Serialize();
  StringTable saver;
  FUZZ_CHECK(saver.LoadTable(dir.path(), LoadMode::Load));
  FUZZ_CHECK(saver.SaveTable(dir.path()));
  FUZZ_CHECK(SameTable(loaded, saver));
  FUZZ_CHECK(reloaded.LoadTable(dir.path(), LoadMode::Load));
  FUZZ_CHECK(SameTable(loaded, reloaded));
  FUZZ_CHECK(reloaded.Serialize() == saved);
  return 0;
}

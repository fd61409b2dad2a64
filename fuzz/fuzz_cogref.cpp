// The reference file: every kept key is unique ignoring case, every function line has its
// name before the "(", and the kept catalogue written out again parses to itself with no
// line skipped.
#include <cstdint>

#include <QSet>

#include "common/ansicodec.h"
#include "fuzz/fuzz_check.h"
#include "scrivane/core/cogref.h"

using namespace scrivane;

static bool SameCatalogue(const CogRefData& a, const CogRefData& b) {
  if (a.categories.size() != b.categories.size()) return false;
  for (size_t i = 0; i < a.categories.size(); ++i) {
    const auto &x = a.categories[i], &y = b.categories[i];
    if (x.name != y.name || x.functions.size() != y.functions.size()) return false;
    for (size_t j = 0; j < x.functions.size(); ++j)
      if (x.functions[j].key != y.functions[j].key) return false;
  }
  return true;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QString text = tarvex::DecodeAnsi(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
  const CogRefData d = ParseCogRef(text);
  FUZZ_CHECK(FormatCogRefProblems(d.problems).isEmpty() == d.problems.empty());
  for (size_t i = 1; i < d.problems.size(); ++i) FUZZ_CHECK(d.problems[i - 1].line < d.problems[i].line);

  QSet<QString> keys;
  QString again = QStringLiteral("header\r\n");
  for (const CogRefCategory& c : d.categories) {
    FUZZ_CHECK(!c.name.isEmpty());
    keys.insert(c.name.toCaseFolded());
    again += QLatin1Char('.') + c.name + QLatin1String("\r\n");
    for (const CogRefEntry& f : c.functions) {
      FUZZ_CHECK(f.key == f.tag && f.text == f.key.left(f.key.indexOf(QLatin1Char('('))));
      FUZZ_CHECK(f.key.contains(QLatin1Char('(')));
      keys.insert(f.key.toCaseFolded());
      again += f.key + QLatin1String("\r\n");
      const qsizetype bar = f.tag.indexOf(QLatin1Char('|'));
      if (bar >= 0) FUZZ_CHECK(SignatureOf(f.tag) + QLatin1Char('|') + DescriptionOf(f.tag) == f.tag);
    }
  }
  qsizetype total = qsizetype(d.categories.size());
  for (const CogRefCategory& c : d.categories) total += qsizetype(c.functions.size());
  FUZZ_CHECK(keys.size() == total);

  const CogRefData reread = ParseCogRef(again + QLatin1String("EOF\r\n"));
  FUZZ_CHECK(reread.problems.empty());
  FUZZ_CHECK(SameCatalogue(d, reread));
  return 0;
}

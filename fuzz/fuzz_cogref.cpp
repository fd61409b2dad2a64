// The reference file: every kept key is unique ignoring case, every function line has its
// name before the "(", and the kept catalogue written out again parses to itself with no
// line skipped.
#include <QSet>

#include "fuzz/fuzz_check.h"
#include "scrivane/core/cogref.h"

using namespace scrivane;

// The catalogue as its category names and function keys, in order.
static QStringList Keys(const CogRefData& d) {
  QStringList out;
  for (const CogRefCategory& c : d.categories) {
    out << QLatin1Char('.') + c.name;
    for (const CogRefEntry& f : c.functions) out << f.key;
  }
  return out;
}

void FuzzOne(const uint8_t* data, size_t size) {
  const QString text = FuzzText(data, size);
  const CogRefData d = ParseCogRef(text);
  FUZZ_CHECK(FormatCogRefProblems(d.problems).isEmpty() == d.problems.empty());
  for (size_t i = 1; i < d.problems.size(); ++i) FUZZ_CHECK(d.problems[i - 1].line < d.problems[i].line);

  QSet<QString> keys;
  for (const CogRefCategory& c : d.categories) {
    FUZZ_CHECK(!c.name.isEmpty());
    keys.insert(c.name.toCaseFolded());
    for (const CogRefEntry& f : c.functions) {
      FUZZ_CHECK(f.key == f.tag && f.key.contains(QLatin1Char('(')) && f.text == f.key.left(f.key.indexOf(QLatin1Char('('))));
      keys.insert(f.key.toCaseFolded());
      if (f.tag.contains(QLatin1Char('|'))) FUZZ_CHECK(SignatureOf(f.tag) + QLatin1Char('|') + DescriptionOf(f.tag) == f.tag);
    }
  }
  const QStringList lines = Keys(d);
  FUZZ_CHECK(keys.size() == lines.size());
  const CogRefData reread = ParseCogRef(QLatin1String("header\r\n") + (lines + QStringList{"EOF"}).join(QLatin1String("\r\n")));
  FUZZ_CHECK(reread.problems.empty() && Keys(reread) == lines);
}

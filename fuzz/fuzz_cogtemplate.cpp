// Templates: a header is either refused with a reason (and its line, or 0 for a fault of the
// whole header such as a missing "end" line), or read into n values a
// row with unique names and a body that is exactly the rest of the text; filling in the
// body always ends, also for values that hold their own placeholders.
#include <QSet>

#include "fuzz/fuzz_check.h"
#include "scrivane/core/cogtemplate.h"
#include "scrivane/core/lineends.h"

void FuzzOne(const uint8_t* data, size_t size) {
  using namespace scrivane;
  const QString raw = FuzzText(data, size);
  const QString text = NormalizeLineEnds(raw).text;
  const TemplateParse p = ParseCogTemplate(text);
  if (!p.ok) {
    FUZZ_CHECK(p.line >= 0 && !p.fault.isEmpty());
    return;
  }
  const CogTemplate& t = p.tpl;
  FUZZ_CHECK(t.headings.size() >= 2);
  FUZZ_CHECK(t.headerLength + t.body.size() == text.size() && text.endsWith(t.body));
  QSet<QString> names;
  QList<TemplateValue> values, same;
  for (const QStringList& row : t.rows) {
    FUZZ_CHECK(row.size() == t.headings.size());
    names.insert(row[1].toCaseFolded());
    values.append({row[1], row[0]});
    same.append({row[1], QLatin1String("<%") + row[1] + QLatin1String("%>")});
  }
  FUZZ_CHECK(names.size() == t.rows.size());
  FillTemplate(t.body, values);
  // Each field replaced by its own placeholder gives the body back, up to letter case.
  FUZZ_CHECK(FillTemplate(t.body, same).toCaseFolded() == t.body.toCaseFolded());
  // A value holding its own placeholder is inserted once per occurrence, not endlessly.
  const QString self = QStringLiteral("x<%a%>");
  FUZZ_CHECK(FillTemplate(t.body, {{QStringLiteral("a"), self}}).size() <= t.body.size() * 2 + self.size());
}

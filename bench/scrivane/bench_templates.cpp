// Generating a script from a template: a 1 MB body holding 10,000 placeholders of 20 fields,
// parsed, filled in and put into a document's text box as one edit, against QString::replace
// of the same placeholders and one setPlainText.
#include <QPlainTextEdit>
#include <benchmark/benchmark.h>

#include "scrivane/core/cogtemplate.h"
#include "scrivane/gui/textbox.h"

namespace {

constexpr int kFields = 20;

QString Field(int i) { return QStringLiteral("field%1").arg(i); }
QString Value(int i) { return QStringLiteral("value_%1").arg(i * 7); }

const QString& TemplateText() {
  static const QString text = [] {
    QString s = QStringLiteral("3\r\nValue,Name,Description\r\n");
    for (int i = 0; i < kFields; ++i) s += Value(i) + QLatin1Char(',') + Field(i) + QStringLiteral(",what it is\r\n");
    s += QStringLiteral("end\r\n");
    const QString filler = QStringLiteral("   SetThingFlags(victim, 0x400);   // keep it hidden from view\r\n");
    for (int p = 0; p < 10'000; ++p) {
      s += QStringLiteral("   x = <%") + Field(p % kFields) + QStringLiteral("%>;\r\n");
      while (s.size() < qsizetype(p + 1) * 100) s += filler;
    }
    return s;
  }();
  return text;
}

void BM_GenerateFromTemplate(benchmark::State& state) {
  for (auto _ : state) {
    scrivane::TextBox box;
    box.SetText(QStringLiteral("# a new script\r\n"));
    const scrivane::TemplateParse p = scrivane::ParseCogTemplate(TemplateText());
    QList<scrivane::TemplateValue> values;
    for (const QStringList& row : p.tpl.rows) values.append({row[1], row[0]});
    scrivane::TextModel m = box.Model();
    m.SetText(scrivane::FillTemplate(p.tpl.body, values));
    m.SetSelStart(0);
    box.Apply(m);
    benchmark::DoNotOptimize(box.document()->blockCount());
  }
}
BENCHMARK(BM_GenerateFromTemplate)->Unit(benchmark::kMillisecond);

void BM_QStringReplaceAndSetPlainText(benchmark::State& state) {
  const qsizetype bodyStart = TemplateText().indexOf(QStringLiteral("\r\nend\r\n")) + 7;
  for (auto _ : state) {
    QPlainTextEdit edit;
    QString body = TemplateText().mid(bodyStart);
    for (int i = 0; i < kFields; ++i)
      body.replace(QStringLiteral("<%") + Field(i) + QStringLiteral("%>"), Value(i), Qt::CaseInsensitive);
    edit.setPlainText(body);
    benchmark::DoNotOptimize(edit.document()->blockCount());
  }
}
BENCHMARK(BM_QStringReplaceAndSetPlainText)->Unit(benchmark::kMillisecond);

}  // namespace

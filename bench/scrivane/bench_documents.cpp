// Loading a large script into a document window and small edits on it, against the bare
// widget doing the same.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextCursor>
#include <benchmark/benchmark.h>

#include "common/ansicodec.h"
#include "scrivane/core/scriptfile.h"
#include "scrivane/gui/textbox.h"

namespace {

// About 1 MB of script text in 20,000 lines.
QString BigScript() {
  QString s;
  const QString lines[] = {QStringLiteral("  SetThingFlags(victim, 0x400);   // keep hidden"),
                           QStringLiteral("  if(GetThingHealth(player) < 50) Sleep(0.5);"),
                           QStringLiteral("  damage = RandVec() * 12.5 + VectorScale(dir, 3.0);")};
  for (int i = 0; s.size() < 1'000'000 - 200; ++i) s += lines[i % 3] + QStringLiteral("\r\n");
  return s;
}

const QString& Script() {
  static const QString s = BigScript();
  return s;
}

void BM_SetPlainTextAlone(benchmark::State& state) {
  const QString widgetText = scrivane::ToWidgetText(Script());
  for (auto _ : state) {
    QPlainTextEdit edit;
    edit.setLineWrapMode(QPlainTextEdit::NoWrap);
    edit.setPlainText(widgetText);
    benchmark::DoNotOptimize(edit.document()->blockCount());
  }
}
BENCHMARK(BM_SetPlainTextAlone)->Unit(benchmark::kMillisecond);

void BM_LoadScriptIntoTextBox(benchmark::State& state) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("big.cog"));
  QFile f(path);
  f.open(QIODevice::WriteOnly);
  f.write(tarvex::EncodeAnsi(Script()));
  f.close();
  for (auto _ : state) {
    scrivane::TextBox box;
    const scrivane::ScriptReadResult r = scrivane::ReadScriptFile(path, true);
    box.SetWidgetText(r.content.text);
    benchmark::DoNotOptimize(box.document()->blockCount());
  }
}
BENCHMARK(BM_LoadScriptIntoTextBox)->Unit(benchmark::kMillisecond);

void BM_TakeText(benchmark::State& state) {
  scrivane::TextBox box;
  box.SetText(Script());
  int i = 0;
  for (auto _ : state) {
    state.PauseTiming();
    QTextCursor c(box.document());  // a change, so the text is built anew
    c.setPosition(1000 + (i++ % 2));
    c.insertText(QStringLiteral("y"));
    state.ResumeTiming();
    benchmark::DoNotOptimize(box.Text());
  }
}
BENCHMARK(BM_TakeText)->Unit(benchmark::kMillisecond);

void BM_ApplyOneCharacterChange(benchmark::State& state) {
  scrivane::TextBox box;
  box.SetText(Script());
  int i = 0;
  for (auto _ : state) {
    state.PauseTiming();
    scrivane::TextModel m = box.Model();
    m.SetSelStart(m.Length() / 2 + (i++ % 2));
    m.ReplaceSel(QStringLiteral("x"));
    state.ResumeTiming();
    box.Apply(m);
  }
}
BENCHMARK(BM_ApplyOneCharacterChange)->Unit(benchmark::kMillisecond);

void BM_PositionMappingAtTheEnd(benchmark::State& state) {
  scrivane::TextBox box;
  box.SetText(Script());
  const qsizetype end = box.TextLength() - 7;
  for (auto _ : state) {
    const int w = box.ToWidget(end);
    benchmark::DoNotOptimize(box.ToModel(w));
  }
  state.counters["lines"] = box.document()->blockCount();
}
BENCHMARK(BM_PositionMappingAtTheEnd);

}  // namespace

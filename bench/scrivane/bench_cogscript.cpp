// Reading and checking a 1 MB script as the game's loader would, against colouring it line by
// line (the cheapest full pass the editor makes over a text). The script is the corpus's
// scripts' code sections repeated under one symbols section.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTextBlock>
#include <QTextCursor>
#include <QToolButton>
#include <benchmark/benchmark.h>

#include <memory>

#include "common/ansicodec.h"
#include "common/paths.h"
#include "scrivane/core/cogscript.h"
#include "scrivane/core/cogsyntax.h"
#include "scrivane/gui/coglive.h"
#include "scrivane/gui/cogtools.h"
#include "scrivane/gui/frmmain.h"
#include "scrivane/gui/frmscrivane.h"
#include "scrivane/gui/textbox.h"
#include "sized_script.h"

namespace {

QString CorpusScript(qsizetype bytes) {
  const QDir dir(QStringLiteral(TARVEX_SOURCE_DIR "/../shared/corpus/cog"));
  QString symbols, code;
  for (const QString& name : dir.entryList({QStringLiteral("*.cog")}, QDir::Files, QDir::Name)) {
    QFile f(dir.filePath(name));
    if (!f.open(QIODevice::ReadOnly)) continue;
    const QString text = tarvex::DecodeAnsi(f.readAll());
    const scrivane::CogScript s = scrivane::ParseCogScript(text);
    if (!s.loads || s.codeEnd < 0) continue;
    for (const scrivane::CogSymbol& sym : s.symbols)
      if (sym.type != scrivane::CogSymbolType::Message) symbols += scrivane::CogSymbolTypeName(sym.type) + u' ' + sym.name + u'\n';
    code += text.mid(s.codeStart, s.codeEnd - s.codeStart) + u'\n';
  }
  QString s = QStringLiteral("symbols\n") + symbols + QStringLiteral("end\ncode\n");
  while (!code.isEmpty() && s.size() < bytes) s += code;
  return s + QStringLiteral("end\n");
}

const QString& Script() {
  static const QString s = CorpusScript(1'000'000);
  return s;
}

void BM_ParseAndCheck(benchmark::State& state) {
  const QString& text = Script();
  for (auto _ : state) {
    const scrivane::CogScript s = scrivane::ParseCogScript(text);
    benchmark::DoNotOptimize(s.findings.size());
  }
  state.SetBytesProcessed(state.iterations() * text.size());
}
BENCHMARK(BM_ParseAndCheck)->Unit(benchmark::kMillisecond);

void BM_ColourAllLines(benchmark::State& state) {
  const QString& text = Script();
  QStringList verbs;
  for (const scrivane::CogVerb& v : scrivane::CogVerbs()) verbs << v.name;
  const scrivane::CogWords words(verbs);
  std::vector<scrivane::CogSpan> spans;
  for (auto _ : state) {
    auto st = scrivane::CogState::TextStart;
    for (QStringView line : QStringView(text).split(u'\n')) st = scrivane::TokenizeCogLine(line, st, words, spans);
    benchmark::DoNotOptimize(st);
  }
  state.SetBytesProcessed(state.iterations() * text.size());
}
BENCHMARK(BM_ColourAllLines)->Unit(benchmark::kMillisecond);

// One key typed in the middle of a 1, 5 or 20 MB script, then the live findings read again as
// after a pause: the reading must cost the same at every size (the key's own cost is the text
// box's and is not counted). The keys go to the same lines of handlers around the middle at
// every size, a statement on each in turn, so that each size reads the same code, wherever the
// chunks of the reading begin. The text box alone, or a document of the main window with the
// Problems list showing, which then follows the reading (the events that brings counted).
void BM_KeyThenLiveReading(benchmark::State& state) {
  const bool listed = state.range(1) != 0;
  QString text = bench::ScriptOfSize(state.range(0));
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  std::unique_ptr<scrivane::TextBox> alone;
  std::unique_ptr<scrivane::frmMain> main;
  scrivane::TextBox* box = nullptr;
  if (listed) {
    tarvex::SetProgramFolder(QStringLiteral(TARVEX_SOURCE_DIR "/scrivane/data"));
    main = std::make_unique<scrivane::frmMain>();
    main->show();
    scrivane::frmScrivane* w = main->NewCog(QStringLiteral("blank"), QString());
    box = w->txtMain;
    scrivane::CogTools::Of(main.get())->status->click();
  } else {
    alone = std::make_unique<scrivane::TextBox>();
    box = alone.get();
  }
  box->SetWidgetText(text);
  scrivane::CogLive* live = scrivane::CogLive::Of(box);
  live->ReadNow();
  QCoreApplication::processEvents();
  QTextCursor c(box->document());
  // A statement typed and taken back, a key at a time, at the end of the first line of every
  // 37th handler from 8 before the middle to 7 after (chunks hold about 16 handlers).
  const QString typed = QStringLiteral(" x = y + 1;");
  const int places = 16, lines = box->document()->blockCount();
  qsizetype i = 0;
  for (auto _ : state) {
    state.PauseTiming();
    const qsizetype at = i % (2 * typed.size()), place = i++ / (2 * typed.size()) % places;
    if (at == 0) {
      c.setPosition(box->document()->findBlockByNumber(bench::HandlerLine(lines, 37 * int(place - places / 2))).position());
      c.movePosition(QTextCursor::EndOfBlock);
    }
    if (at < typed.size()) c.insertText(typed.mid(at, 1));
    else c.deletePreviousChar();
    if (listed) QCoreApplication::processEvents();
    state.ResumeTiming();
    live->ReadNow();
    if (listed) QCoreApplication::processEvents();
  }
  state.counters["findings"] = double(live->Findings()->Size());
  state.SetLabel(listed ? "Problems list shown" : "text box");
  if (main) {
    main->findChild<scrivane::frmScrivane*>()->bMod = false;
    tarvex::SetProgramFolder(QString());
  }
}
BENCHMARK(BM_KeyThenLiveReading)
    ->ArgsProduct({{1'000'000, 5'000'000, 20'000'000}, {0, 1}})
    ->Unit(benchmark::kMicrosecond);

}  // namespace

// Changes in many places of a 2 MB script taken over by a document window: renaming a symbol
// with 1,331 uses and Replace All of the same word, each against the same change made on the
// text alone (the window-free operation).
#include <benchmark/benchmark.h>

#include <QString>

#include "scrivane/core/bramwise.h"
#include "scrivane/core/textops.h"
#include "scrivane/gui/frmscrivane.h"

namespace {

// About 2 MB: the symbol "player" declared once and used on 1,330 lines of code spread over
// the text; one line in seven ends in LF alone.
QString ScriptWithUses() {
  QString s = QStringLiteral("# generated\r\nsymbols\r\nthing       player       local\r\nint  count\r\nend\r\ncode\r\nstartup:\r\n");
  s.reserve(2 << 20);
  const QString use = QStringLiteral("  SetThingFlags(player, 0x4);  // keeps it safe\r\n");
  const QString filler = QStringLiteral("  count = count + 1;  // nothing to rename on this line at all\n");
  const QString plain = QStringLiteral("  Sleep(0.5);\r\n");
  for (int i = 0; i < 1330; ++i) {
    s += use;
    for (int k = 0; k < 24; ++k) s += k % 7 == 0 ? filler : plain;
  }
  while (s.size() < (2 << 20) / 2) s += plain;  // QString counts characters: 2 MB as text of 1 MB characters
  return s + QStringLiteral("return;\r\nend\r\n");
}

const QString& Script() {
  static const QString s = ScriptWithUses();
  return s;
}

// The declaration's node key, as the tree holds it.
QString Key() { return QStringLiteral("thing       player       local\r"); }

void BM_RenameInWindow_1331Uses(benchmark::State& state) {
  scrivane::frmScrivane w(nullptr);
  for (auto _ : state) {
    state.PauseTiming();
    w.txtMain->SetText(Script());
    state.ResumeTiming();
    scrivane::TextModel m = w.txtMain->Model();
    scrivane::FindState f;
    scrivane::RenameNode(m, f, Key(), scrivane::BramwiseKind::Symbol, QStringLiteral("player"), QStringLiteral("hero"));
    w.txtMain->Apply(m);
  }
}
BENCHMARK(BM_RenameInWindow_1331Uses)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_RenameInTextAlone_1331Uses(benchmark::State& state) {
  for (auto _ : state) {
    scrivane::TextModel m(Script());
    scrivane::FindState f;
    scrivane::RenameNode(m, f, Key(), scrivane::BramwiseKind::Symbol, QStringLiteral("player"), QStringLiteral("hero"));
    benchmark::DoNotOptimize(m.Text().size());
  }
}
BENCHMARK(BM_RenameInTextAlone_1331Uses)->Unit(benchmark::kMillisecond);

void BM_ReplaceAllInWindow_1331Matches(benchmark::State& state) {
  scrivane::frmScrivane w(nullptr);
  for (auto _ : state) {
    state.PauseTiming();
    w.txtMain->SetText(Script());
    w.sW = QStringLiteral("player");
    w.sR = QStringLiteral("hero");
    w.ipos = 1;
    state.ResumeTiming();
    w.Replace(true, false);
  }
}
BENCHMARK(BM_ReplaceAllInWindow_1331Matches)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

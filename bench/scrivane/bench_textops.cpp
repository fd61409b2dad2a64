// Speed of the text operations on 1 MB scripts: Replace All against QString::replace, the
// syntax checker and the change handler's scan against one plain pass over the text.
#include <benchmark/benchmark.h>

#include <QString>
#include <QTextCursor>
#include <algorithm>
#include <chrono>
#include <vector>

#include "scrivane/core/syntaxcheck.h"
#include "scrivane/core/textops.h"
#include "scrivane/gui/frmscrivane.h"

namespace {

constexpr qsizetype kMegabyte = 1 << 20;

// A script of about 1 MB whose code uses the word "door" `matches` times.
QString ScriptWithMatches(int matches) {
  QString s = "# generated\r\nsymbols\r\nthing door\r\nend\r\ncode\r\n";
  const qsizetype per = (kMegabyte - s.size()) / matches;
  QString line = "  val = door + 1;";
  while (line.size() < per - 2) line.insert(2, QLatin1Char('x'));
  line += "\r\n";
  s.reserve(kMegabyte + 64);
  for (int i = 1; i < matches; ++i) s += line;  // with the declaration: `matches` in all
  s += "end\r\n";
  return s;
}

// A script of about 1 MB with `pairs` brace pairs, nested in runs of 1 to 10 deep, and one
// unmatched brace at its start.
QString ScriptWithBraces(int pairs) {
  QString s = "# generated\r\nsymbols\r\nend\r\ncode\r\n{\r\n";
  const qsizetype per = (kMegabyte - s.size()) / pairs;
  QString body = "  x = x + 1;";
  while (body.size() < per - 12) body += QLatin1Char(' ');
  s.reserve(kMegabyte + 64);
  int left = pairs;
  for (int depth = 1; left > 0; depth = depth % 10 + 1) {
    const int n = qMin(depth, left);
    for (int i = 0; i < n; ++i) s += "if(a) {\r\n" + body;
    for (int i = 0; i < n; ++i) s += "}\r\n";
    left -= n;
  }
  s += "end\r\n";
  return s;
}

// About 1 MB of script lines with a `symbols` line near the top and no `end` line, so that the
// scan has to read to the end.
QString ScriptWithoutEnd() {
  QString s = "# generated\r\nsymbols\r\n";
  while (s.size() < kMegabyte) s += "  thing = thing + other;  // a comment\r\n";
  return s;
}

void ReplaceAll(benchmark::State& state, const QString& sR, bool edges) {
  const QString text = ScriptWithMatches(50000);
  for (auto _ : state) {
    scrivane::TextModel m(text);
    scrivane::FindState f{"DOOR", sR, 1};
    const auto r = scrivane::Replace(m, f, true, edges);
    benchmark::DoNotOptimize(r.textChanged);
    benchmark::DoNotOptimize(m.Text().size());
  }
  state.SetBytesProcessed(state.iterations() * text.size() * 2);
}

void QStringReplace(benchmark::State& state, const QString& after, Qt::CaseSensitivity cs) {
  const QString text = ScriptWithMatches(50000);
  for (auto _ : state) {
    QString s = text;
    s.replace(QStringLiteral("door"), after, cs);
    benchmark::DoNotOptimize(s.size());
  }
  state.SetBytesProcessed(state.iterations() * text.size() * 2);
}

void BM_ReplaceAll_LongerWord(benchmark::State& state) { ReplaceAll(state, "gateway", false); }
void BM_ReplaceAll_SameLength(benchmark::State& state) { ReplaceAll(state, "gate", false); }
void BM_ReplaceAll_EdgeCheck(benchmark::State& state) { ReplaceAll(state, "gateway", true); }
void BM_QStringReplace_LongerWord(benchmark::State& state) { QStringReplace(state, "gateway", Qt::CaseInsensitive); }
void BM_QStringReplace_SameLength(benchmark::State& state) { QStringReplace(state, "gate", Qt::CaseInsensitive); }
void BM_QStringReplace_LongerWordCaseSensitive(benchmark::State& state) {
  QStringReplace(state, "gateway", Qt::CaseSensitive);
}
BENCHMARK(BM_ReplaceAll_LongerWord)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QStringReplace_LongerWord)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QStringReplace_LongerWordCaseSensitive)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReplaceAll_SameLength)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QStringReplace_SameLength)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReplaceAll_EdgeCheck)->Unit(benchmark::kMillisecond);

void BM_CheckCog_20000Pairs(benchmark::State& state) {
  const QString text = ScriptWithBraces(20000);
  for (auto _ : state) benchmark::DoNotOptimize(scrivane::CheckCog(text, 0).size());
  state.SetBytesProcessed(state.iterations() * text.size() * 2);
}
BENCHMARK(BM_CheckCog_20000Pairs)->Unit(benchmark::kMillisecond);

// The yardstick: one pass over the same text, counting its opening braces.
void BM_LinearPass_CountBraces(benchmark::State& state) {
  const QString text = ScriptWithBraces(20000);
  for (auto _ : state) benchmark::DoNotOptimize(text.count(QLatin1Char('{')));
  state.SetBytesProcessed(state.iterations() * text.size() * 2);
}
BENCHMARK(BM_LinearPass_CountBraces)->Unit(benchmark::kMillisecond);

void BM_ChangeScan_NoEndLine(benchmark::State& state) {
  const QString text = ScriptWithoutEnd();
  for (auto _ : state) benchmark::DoNotOptimize(scrivane::ScanSectionMarks(text).lsymend);
  state.SetBytesProcessed(state.iterations() * text.size() * 2);
}
BENCHMARK(BM_ChangeScan_NoEndLine)->Unit(benchmark::kMillisecond);

void BM_LinearPass_CountLineFeeds(benchmark::State& state) {
  const QString text = ScriptWithoutEnd();
  for (auto _ : state) benchmark::DoNotOptimize(text.count(QLatin1Char('\n')));
  state.SetBytesProcessed(state.iterations() * text.size() * 2);
}
BENCHMARK(BM_LinearPass_CountLineFeeds)->Unit(benchmark::kMillisecond);

// The whole change handler of a document window after typing one character into 1 MB without
// an end line (the section marks' worst case), against one plain pass over that text. The
// handler takes microseconds, the untimed insertion far longer: a fixed number of rounds.
void BM_ChangeHandler_DocumentWindow(benchmark::State& state) {
  scrivane::frmScrivane w(nullptr);
  w.txtMain->SetText(ScriptWithoutEnd());
  int i = 0;
  for (auto _ : state) {
    state.PauseTiming();
    QTextCursor c(w.txtMain->document());
    c.setPosition(1000 + (i++ % 2));
    {
      const QSignalBlocker quiet(w.txtMain);  // the handler runs once, timed, below
      c.insertText(QStringLiteral("y"));
    }
    state.ResumeTiming();
    w.txtMain_Change();
    benchmark::DoNotOptimize(w.lsymend);
  }
}
BENCHMARK(BM_ChangeHandler_DocumentWindow)->Unit(benchmark::kMicrosecond)->Iterations(300);

// Replace All taken over by the text box as one edit (one undo step, one change event),
// against the fastest way to the same text in the window: the replacement alone plus
// setPlainText of its result. Both sides run in every iteration, so that load on the machine
// falls on both; the counters give the median of each and their ratio.
void BM_ReplaceAll_IntoTextBox(benchmark::State& state) {
  using Clock = std::chrono::steady_clock;
  const auto ms = [](Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); };
  const QString text = ScriptWithMatches(50000);
  scrivane::frmScrivane w(nullptr);
  std::vector<double> window, fast;
  for (auto _ : state) {
    w.txtMain->SetText(text);
    w.sW = "door";
    w.sR = "gateway";
    w.ipos = 1;
    const auto t0 = Clock::now();
    w.Replace(true, false);
    const auto t1 = Clock::now();
    window.push_back(ms(t1 - t0));
    state.SetIterationTime(ms(t1 - t0) / 1e3);

    w.txtMain->SetText(text);
    const auto t2 = Clock::now();
    scrivane::TextModel m(text);
    scrivane::FindState f{"door", "gateway", 1};
    scrivane::Replace(m, f, true, false);
    w.txtMain->SetText(m.Text());
    fast.push_back(ms(Clock::now() - t2));
  }
  const auto median = [](std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[v.size() / 2];
  };
  state.counters["window_ms"] = median(window);
  state.counters["replace_setPlainText_ms"] = median(fast);
  state.counters["ratio"] = median(fast) > 0 ? median(window) / median(fast) : 0;
}
BENCHMARK(BM_ReplaceAll_IntoTextBox)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(9);

}  // namespace

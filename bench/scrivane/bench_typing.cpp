// Typing into a document window: each key goes the whole way a user's key goes (the window's
// key handlers, the text box inserting it, the change handler, the colouring, the caret's line
// band and brace highlight) and the window then paints, in the middle of scripts of 1, 5 and
// 20 MB. Six kinds of typing: plain words, a function call (the function help comes and goes),
// code with braces (a "{" typed in the middle of a script has no partner until its "}"
// follows), and at the start of the widest line: Enter (the whole line moves down), Backspace
// joining two lines (each split first by an Enter whose cost is not counted), and a letter
// typed and taken back. Typing must cost the same at every size: the counter "per_key_us" is
// the processor time of one key, "slowest_key_us" that of the slowest, "key_ratio" the ratio to
// the same typing in the 1 MB script. The script's live findings are on (read once before the
// typing starts) or taken off.
#include <QCoreApplication>
#include <QKeyEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <benchmark/benchmark.h>
#include <time.h>

#include <map>
#include <string>
#include <utility>

#include "common/paths.h"
#include "scrivane/gui/coglive.h"
#include "scrivane/gui/frmmain.h"
#include "scrivane/gui/frmscrivane.h"
#include "sized_script.h"

namespace {

void SendKey(QWidget* to, QChar ch) {
  const int key = ch == QLatin1Char(' ')    ? int(Qt::Key_Space)
                  : ch == QLatin1Char('\r') ? int(Qt::Key_Return)
                  : ch == QLatin1Char('\b') ? int(Qt::Key_Backspace)
                                            : int(ch.toUpper().unicode());
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(ch));
  QCoreApplication::sendEvent(to, &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(ch));
  QCoreApplication::sendEvent(to, &release);
}

// A key, and the window painting what it changed, as it does between keys (its own function, so
// that a profiler can count the instructions of keys alone).
__attribute__((noinline)) void TypeAndPaint(QWidget* to, QChar ch) {
  SendKey(to, ch);
  QCoreApplication::processEvents();
}

double ProcessMs() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// One short line after another, as people type; then Enter, Enter and Backspace, and a letter
// and Backspace. Only the keys of a cycle from its first counted one are timed.
const QString kCycles[] = {QStringLiteral("    x = y + 1;\r"), QStringLiteral("    x = Sleep(1);\r"),
                           QStringLiteral("    if (x > 1) { y = 2; }\r"), QStringLiteral("\r"),
                           QStringLiteral("\r\b"), QStringLiteral("x\b")};
const int kFirstCounted[] = {0, 0, 0, 0, 1, 0};
const char* const kKinds[] = {"plain", "hints", "braces", "enter", "join", "widest"};

// Processor time per key in the 1 MB script, by kind of typing and findings, for the ratios.
std::map<int64_t, double>& SmallestPerKey() {
  static std::map<int64_t, double> m;
  return m;
}

void BM_TypingInDocumentWindow(benchmark::State& state) {
  const qsizetype bytes = state.range(0);
  const int kind = int(state.range(1));
  const int64_t variant = kind * 2 + state.range(2);
  tarvex::SetProgramFolder(QStringLiteral(TARVEX_SOURCE_DIR "/scrivane/data"));
  scrivane::frmMain main;
  main.LoadCogRef();
  main.show();
  scrivane::frmScrivane* w = main.NewCog(QStringLiteral("blank"), QString());
  w->txtMain->SetText(bench::ScriptOfSize(bytes));
  // At the start of a handler in the middle, the same line at every size, so that every size
  // types in the same surroundings; for the last three kinds the line is made the widest of the
  // script (a long comment), the line that sets the horizontal scroll range.
  QTextCursor middle(w->txtMain->document()->findBlockByNumber(bench::HandlerLine(w->txtMain->document()->blockCount())));
  if (kind >= 3) {
    middle.movePosition(QTextCursor::EndOfBlock);
    middle.insertText(QStringLiteral(" // ") + QString(300, QLatin1Char('w')));
    middle.movePosition(QTextCursor::StartOfBlock);
  }
  w->txtMain->setTextCursor(middle);
  w->txtMain->setFocus();
  QCoreApplication::processEvents();
  const bool live = state.range(2) != 0;
  if (live) {
    scrivane::CogLive* findings = scrivane::CogLive::Of(w->txtMain);
    while (!findings->IsCurrent()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
  } else {
    delete w->txtMain->findChild<scrivane::CogLive*>();
  }
  const QString& cycle = kCycles[kind];
  qsizetype i = 0;
  int64_t keys = 0;
  double cpu = 0, slowest = 0;
  for (auto _ : state) {
    const qsizetype at = i++ % cycle.size();
    const bool counted = at >= kFirstCounted[kind];
    const double cpu0 = counted ? ProcessMs() : 0;
    TypeAndPaint(w->txtMain, cycle[at]);
    if (counted) {
      const double one = ProcessMs() - cpu0;
      cpu += one;
      slowest = std::max(slowest, one);
      ++keys;
    }
  }
  const double perKeyUs = cpu * 1e3 / double(std::max<int64_t>(keys, 1));
  state.counters["per_key_us"] = perKeyUs;
  state.counters["slowest_key_us"] = slowest * 1e3;
  if (bytes == 1'000'000) SmallestPerKey()[variant] = perKeyUs;
  if (const auto it = SmallestPerKey().find(variant); it != SmallestPerKey().end() && it->second > 0)
    state.counters["key_ratio"] = perKeyUs / it->second;
  state.counters["bytes"] = double(w->txtMain->TextLength());
  state.SetLabel(std::string(kKinds[kind]) + (live ? ", live findings" : ""));
  w->bMod = false;
  tarvex::SetProgramFolder(QString());
}
// The size varies fastest, so each variant's 1 MB figure comes before its larger sizes.
BENCHMARK(BM_TypingInDocumentWindow)
    ->ArgsProduct({{1'000'000, 5'000'000, 20'000'000}, {0, 1, 2, 3, 4, 5}, {1}})
    ->ArgsProduct({{1'000'000, 5'000'000, 20'000'000}, {2}, {0}})
    ->Unit(benchmark::kMicrosecond)
    ->MinTime(1.0);

}  // namespace

// Typing into a document window: each key goes the whole way a user's key goes (the window's
// key handlers, the text box inserting it, the change handler), on a small script and on a
// large one, coloured and, for comparison, with the colouring taken off; and with the script's
// live findings on (read once before the typing starts) or taken off. Typing must not slow down
// with the script's size.
#include <QCoreApplication>
#include <QKeyEvent>
#include <benchmark/benchmark.h>

#include "common/paths.h"
#include "scrivane/gui/coghighlighter.h"
#include "scrivane/gui/coglive.h"
#include "scrivane/gui/frmmain.h"
#include "scrivane/gui/frmscrivane.h"

namespace {

// A script of about `bytes` characters: a symbols section, then handlers up to the size.
QString ScriptOfSize(qsizetype bytes) {
  QString s = QStringLiteral(
      "# Jedi Knight COG script\r\n#\r\n# Written with Scrivane\r\n\r\nsymbols\r\n\r\n"
      "message     startup\r\nmessage     activated\r\nthing       victim\r\nflex        delay=0.5\r\n\r\n"
      "end\r\n\r\ncode\r\n\r\n");
  const QString handler = QStringLiteral(
      "activated:\r\n    SetThingFlags(victim, 0x400);   // keep hidden\r\n"
      "    if(GetThingHealth(player) < 50) Sleep(delay);\r\n"
      "    damage = RandVec() * 12.5 + VectorScale(dir, 3.0);\r\n    return;\r\n\r\n");
  while (s.size() + handler.size() < bytes) s += handler;
  return s + QStringLiteral("end\r\n");
}

void SendKey(QWidget* to, int key, const QString& text) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QCoreApplication::sendEvent(to, &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
  QCoreApplication::sendEvent(to, &release);
}

// Keys typed in the code section in a cycle: words, blanks, a function call (so the function
// help comes and goes) and Enter.
void BM_TypingInDocumentWindow(benchmark::State& state) {
  tarvex::SetProgramFolder(QStringLiteral(TARVEX_SOURCE_DIR "/scrivane/data"));
  scrivane::frmMain main;
  main.LoadCogRef();
  main.show();
  scrivane::frmScrivane* w = main.NewCog(QStringLiteral("blank"), QString());
  if (!state.range(1)) delete w->txtMain->document()->findChild<scrivane::CogHighlighter*>();
  w->txtMain->SetText(ScriptOfSize(state.range(0)));
  w->txtMain->SetSelStart(w->txtMain->TextLength() / 2);
  w->txtMain->setFocus();
  QCoreApplication::processEvents();
  if (state.range(2)) {
    scrivane::CogLive* live = scrivane::CogLive::Of(w->txtMain);
    while (!live->IsCurrent()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
  } else {
    delete w->txtMain->findChild<scrivane::CogLive*>();
  }
  // One short line after another, as people type.
  const QString cycle = QStringLiteral("    x = Sleep(1);\r");
  qsizetype i = 0;
  for (auto _ : state) {
    const QChar ch = cycle[i++ % cycle.size()];
    const int key = ch == QLatin1Char(' ') ? int(Qt::Key_Space) : ch == QLatin1Char('\r') ? int(Qt::Key_Return)
                                                                                          : int(ch.toUpper().unicode());
    SendKey(w->txtMain, key, QString(ch));
  }
  state.counters["bytes"] = double(w->txtMain->TextLength());
  state.SetLabel(std::string(state.range(1) ? "coloured" : "plain") + (state.range(2) ? ", live findings" : ""));
  w->bMod = false;
  tarvex::SetProgramFolder(QString());
}
BENCHMARK(BM_TypingInDocumentWindow)
    ->ArgsProduct({{10'000, 5'000'000}, {1, 0}, {0}})
    ->ArgsProduct({{10'000, 1'000'000, 5'000'000}, {1}, {1}})
    ->Args({1'000'000, 1, 0})
    ->Unit(benchmark::kMicrosecond);

}  // namespace

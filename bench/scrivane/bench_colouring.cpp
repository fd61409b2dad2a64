// Opening a large COG script into a shown text box with and without colouring. (Typing with and
// without colouring: bench_typing.cpp.)
#include <benchmark/benchmark.h>
#include <memory>

#include "scrivane/gui/coghighlighter.h"
#include "scrivane/gui/textbox.h"

namespace {

// A script of about `bytes` characters in LF form: a symbols section of declarations, then
// handlers full of verbs, numbers, strings and comments, as real scripts are.
QString ColouredScript(qsizetype bytes) {
  QString s = QStringLiteral("# Jedi Knight Cog Script\n#\n# big.cog\n\nflags=0x240\n\nsymbols\n\n");
  for (int i = 0; i < 400; ++i)
    s += QStringLiteral("thing\t\tvictim%1\t\t\tdesc=victim\nflex\t\tdelay%1=0.5\t\tlocal\n").arg(i);
  s += QStringLiteral("message\t\tstartup\nmessage\t\ttimer\n\nend\n\n# ====\n\ncode\n\n");
  for (int i = 0; s.size() < bytes - 200; ++i)
    s += QStringLiteral("handler%1:\n\tif(GetSenderRef() == victim%1) {\n\t\tSetThingFlags(victim%1, 0x400);   // keep hidden\n"
                        "\t\tPrint(\"# %1 done\");\n\t\tSleep(delay%1 * -1.5);\n\t}\n\treturn;\n\n").arg(i % 400);
  return s + QStringLiteral("end\n");
}

std::shared_ptr<const scrivane::CogWords> Words() {
  static auto w = std::make_shared<const scrivane::CogWords>(
      QStringList{QStringLiteral("GetSenderRef"), QStringLiteral("SetThingFlags"), QStringLiteral("Print"), QStringLiteral("Sleep")});
  return w;
}

// A shown box of a document window's size, coloured or not, that has painted its first page.
struct ShownBox {
  explicit ShownBox(bool coloured) {
    box.resize(900, 600);
    if (coloured) new scrivane::CogHighlighter(&box, Words(), box.palette());
    box.show();
  }
  void Load(const QString& text) {
    box.SetWidgetText(text);
    box.viewport()->repaint();
  }
  scrivane::TextBox box;
};

void BM_OpenScript(benchmark::State& state) {
  const QString text = ColouredScript(state.range(0) * 1'000'000);
  for (auto _ : state) {
    ShownBox b(state.range(1) != 0);
    b.Load(text);
    benchmark::DoNotOptimize(b.box.document()->blockCount());
  }
  state.SetLabel(state.range(1) ? "coloured" : "plain");
}
BENCHMARK(BM_OpenScript)->ArgsProduct({{1, 5}, {0, 1}})->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

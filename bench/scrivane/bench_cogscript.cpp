// Reading and checking a 1 MB script as the game's loader would, against colouring it line by
// line (the cheapest full pass the editor makes over a text). The script is the corpus's
// scripts' code sections repeated under one symbols section.
#include <QDir>
#include <QFile>
#include <benchmark/benchmark.h>

#include "common/ansicodec.h"
#include "scrivane/core/cogscript.h"
#include "scrivane/core/cogsyntax.h"

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

}  // namespace

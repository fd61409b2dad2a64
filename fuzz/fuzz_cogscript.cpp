// The script reader for each game: no crash, no endless loop; every finding, use and node lies
// inside the text with its line and column where its offset is; the findings come in text
// order; the script loads exactly when no error was found; the work stays in proportion to the
// text (no more nodes and uses than characters).
#include "fuzz/fuzz_check.h"
#include "scrivane/core/cogscript.h"

using namespace scrivane;

namespace {

// Line and column of an offset, counted afresh (CR LF, LF and a lone CR end a line).
std::pair<int, int> LineColumn(const QString& text, qsizetype offset) {
  int line = 1;
  qsizetype start = 0;
  for (qsizetype i = 0; i < offset; ++i) {
    const QChar c = text[i];
    if (c == u'\n' || (c == u'\r' && (i + 1 == text.size() || text[i + 1] != u'\n'))) {
      ++line;
      start = i + 1;
    }
  }
  return {line, int(offset - start) + 1};
}

void CheckRange(const QString& text, const CogRange& r) {
  FUZZ_CHECK(r.offset >= 0 && r.length >= 0 && r.offset + r.length <= text.size());
}

}  // namespace

void FuzzOne(const uint8_t* data, size_t size) {
  const QString text = FuzzText(data, qMin<size_t>(size, 1 << 16));
  for (CogGame game : {CogGame::JK, CogGame::MotS, CogGame::Both}) {
    const CogScript s = ParseCogScript(text, game);
    qsizetype last = 0;
    bool error = false;
    for (const CogFinding& f : s.findings) {
      CheckRange(text, f.at);
      FUZZ_CHECK(f.at.offset >= last);
      last = f.at.offset;
      const auto [line, column] = LineColumn(text, f.at.offset);
      FUZZ_CHECK(f.at.line == line && f.at.column == column);
      const auto [endLine, endColumn] = LineColumn(text, f.at.offset + f.at.length);
      FUZZ_CHECK(f.endLine == endLine && f.endColumn == endColumn);
      FUZZ_CHECK(f.code.size() == 6 && f.code.startsWith(QLatin1String("COG")) && !f.message.isEmpty());
      error = error || f.severity == CogSeverity::Error;
    }
    FUZZ_CHECK(s.loads == !error);
    FUZZ_CHECK(qsizetype(s.nodes.size()) <= text.size() + 1 && qsizetype(s.uses.size()) <= text.size());
    for (const CogUse& u : s.uses) {
      CheckRange(text, u.at);
      FUZZ_CHECK(u.symbol >= -1 && u.symbol < int(s.symbols.size()));
    }
    for (const CogNode& n : s.nodes) {
      CheckRange(text, n.at);
      FUZZ_CHECK(n.first < int(s.nodes.size()) && n.next < int(s.nodes.size()) && n.use < int(s.uses.size()));
    }
    for (const CogSymbol& sym : s.symbols) CheckRange(text, sym.at);
  }
}

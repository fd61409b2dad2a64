// The script reader for each game: no crash, no endless loop; every finding, use and node lies
// inside the text with its line and column where its offset is; the findings come in text
// order; the script loads exactly when no error was found; the work stays in proportion to the
// text (no more nodes and uses than characters). Read again after an edit (and after the edit
// taken back), in chunks of a size the input picks, it gives what a whole reading gives.
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

struct TextSource : CogTextSource {
  const QString& text;
  explicit TextSource(const QString& t) : text(t) {}
  qsizetype Size() const override { return text.size(); }
  QString Mid(qsizetype from, qsizetype length) const override { return text.mid(from, length); }
};

bool SameReading(const CogScript& a, const CogScript& b) {
  if (a.loads != b.loads || a.codeEnd != b.codeEnd || a.findings.size() != b.findings.size() || a.uses.size() != b.uses.size())
    return false;
  for (size_t i = 0; i < a.findings.size(); ++i) {
    const CogFinding &f = a.findings[i], &g = b.findings[i];
    if (f.severity != g.severity || f.code != g.code || f.message != g.message || f.at.offset != g.at.offset ||
        f.at.length != g.at.length || f.at.line != g.at.line || f.at.column != g.at.column || f.endLine != g.endLine ||
        f.endColumn != g.endColumn)
      return false;
  }
  for (size_t i = 0; i < a.uses.size(); ++i) {
    const CogUse &u = a.uses[i], &v = b.uses[i];
    if (u.at.offset != v.at.offset || u.at.line != v.at.line || u.at.column != v.at.column || u.role != v.role ||
        u.symbol != v.symbol)
      return false;
  }
  return true;
}

// An edit the input's first bytes pick: a stretch replaced by a copy of another, then taken back.
void CheckReadingAgain(const uint8_t* data, size_t size, const QString& text) {
  if (size < 6) return;
  const qsizetype n = text.size();
  const qsizetype at = (data[0] * 256 + data[1]) % (n + 1), removed = std::min<qsizetype>(data[2] % 24, n - at);
  const qsizetype copyAt = (data[3] * 256 + data[4]) % (n + 1);
  const QString edited = QString(text).replace(at, removed, text.mid(copyAt, data[5] % 40));
  CogReading reading(text, CogGame::Both, 1 + data[0] % 48);
  reading.Findings();  // as the editor has them before the edit
  // The findings alone (as the editor asks for them after an edit), then the whole script.
  const auto same = [&reading](const QString& now) {
    const CogScript whole = ParseCogScript(now);
    CogScript listed = whole;
    const auto list = reading.Findings();
    listed.findings = list->All();
    int longest = 0;
    for (const CogFinding& f : whole.findings) longest = std::max(longest, int(f.at.length));
    for (const CogSeverity s : {CogSeverity::Error, CogSeverity::Warning, CogSeverity::Note})
      if (list->Count(s) != whole.Count(s)) return false;
    return list->Longest() == longest && SameReading(listed, whole) && SameReading(reading.Script(true), whole);
  };
  const qsizetype delta = edited.size() - n;
  if (!reading.Update(TextSource(edited), at, at + removed, delta)) return;
  FUZZ_CHECK(same(edited));
  if (reading.Update(TextSource(text), at, at + removed + delta, -delta)) FUZZ_CHECK(same(text));
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
  CheckReadingAgain(data, size, text);
}

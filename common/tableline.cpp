#include "common/tableline.h"

#include "common/authorheader.h"

namespace tarvex {

namespace {
constexpr QChar kQuote = QLatin1Char('"');

// What may follow a name whose value has no quotes: blanks and the number field. Any other
// text would be dropped when the key line is written again, so such a line is not read.
bool OnlyNumberField(QStringView rest) {
  for (const QChar c : rest)
    if (!c.isSpace() && !c.isDigit()) return false;
  return true;
}
}  // namespace

TableLine ReadTableLine(QStringView line) {
  TableLine out;
  if (HeaderLine h = ReadHeaderLine(line); h.header) {
    out.kind = TableLine::Header;
    out.comments = h.comments;
    out.text = std::move(h.text);
    return out;
  }
  if (line.startsWith(QLatin1Char('#'))) {
    out.kind = TableLine::Comment;
    out.text = line.toString();
    return out;
  }
  if (line.isEmpty()) {
    out.kind = TableLine::Empty;
    return out;
  }
  const qsizetype q1 = line.indexOf(kQuote);
  const qsizetype q2 = q1 < 0 ? -1 : line.indexOf(kQuote, q1 + 1);
  const qsizetype q3 = q2 < 0 ? -1 : line.indexOf(kQuote, q2 + 1);
  if (q2 < 0 || (q3 < 0 && !OnlyNumberField(line.mid(q2 + 1)))) {
    out.kind = line.trimmed().startsWith(QLatin1Char('#')) ? TableLine::Comment : TableLine::Skipped;
    if (out.kind == TableLine::Comment) out.text = line.toString();
    return out;
  }
  out.kind = TableLine::Key;
  out.name = line.mid(q1 + 1, q2 - q1 - 1).toString();
  if (q3 >= 0) {
    const qsizetype q4 = line.indexOf(kQuote, q3 + 1);
    out.value = (q4 < 0 ? line.mid(q3 + 1) : line.mid(q3 + 1, q4 - q3 - 1)).toString();
    if (q4 >= 0 && q4 + 1 < line.size()) out.trailer = line.mid(q4 + 1).toString();
  }
  return out;
}

}  // namespace tarvex

#include "scrivane/core/editaids.h"

#include <QRegularExpression>
#include <algorithm>

#include "common/text.h"
#include "scrivane/core/textops.h"

namespace scrivane {

std::optional<LineColumn> ParseLineColumn(const QString& s) {
  static const QRegularExpression form(QStringLiteral("^\\s*(\\d{1,9})\\s*(?::\\s*(\\d{1,9})\\s*)?$"));
  const QRegularExpressionMatch m = form.match(s);
  if (!m.hasMatch()) return std::nullopt;
  LineColumn lc;
  lc.line = m.captured(1).toInt();
  lc.column = m.captured(2).isEmpty() ? 0 : m.captured(2).toInt();
  if (lc.line < 1 || (!m.captured(2).isEmpty() && lc.column < 1)) return std::nullopt;
  return lc;
}

QStringView LeadingBlanks(QStringView line) {
  qsizetype i = 0;
  while (i < line.size() && (line[i] == QLatin1Char(' ') || line[i] == QLatin1Char('\t'))) ++i;
  return line.left(i);
}

int UnindentLength(QStringView line, int width) {
  int i = 0;
  while (i < width && i < line.size() && line[i] == QLatin1Char(' ')) ++i;
  if (i < width && i < line.size() && line[i] == QLatin1Char('\t')) ++i;
  return i;
}

std::vector<qsizetype> FindAllMatches(const QString& text, const QString& word, const FindOptions& o) {
  std::vector<qsizetype> out;
  if (word.isEmpty()) return out;
  const tarvex::InStrSearch anyCase(word);
  const qsizetype n = text.size(), wl = word.size();
  qsizetype from = 1;
  while (from <= n) {
    const qsizetype p = o.matchCase ? tarvex::InStrExact(text, word, from) : anyCase.In(text, from);
    if (p == 0) break;
    const qsizetype start = p - 1, end = start + wl;
    const bool alone = !o.wholeWord || ((start == 0 || !IsWordChar(text[start - 1])) && (end >= n || !IsWordChar(text[end])));
    if (alone) {
      out.push_back(start);
      from = end + 1;
    } else {
      from = p + 1;
    }
  }
  return out;
}

FindHit NextMatch(const std::vector<qsizetype>& matches, qsizetype from, bool backward) {
  FindHit hit;
  if (matches.empty()) return hit;
  if (!backward) {
    auto it = std::lower_bound(matches.begin(), matches.end(), from);
    hit.wrapped = it == matches.end();
    if (hit.wrapped) it = matches.begin();
    hit.index = int(it - matches.begin());
  } else {
    auto it = std::lower_bound(matches.begin(), matches.end(), from);
    hit.wrapped = it == matches.begin();
    hit.index = hit.wrapped ? int(matches.size()) - 1 : int(it - matches.begin()) - 1;
  }
  hit.pos = matches[size_t(hit.index)];
  return hit;
}

}  // namespace scrivane

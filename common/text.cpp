#include "common/text.h"

namespace tarvex {

qsizetype InStr(const QString& text, const QString& word, qsizetype start) { return InStrSearch(word).In(text, start); }

InStrSearch::InStrSearch(const QString& word) : matcher_(word, Qt::CaseInsensitive), empty_(word.isEmpty()) {}

qsizetype InStrSearch::In(QStringView text, qsizetype start) const {
  if (empty_ || start < 1 || start > text.size()) return 0;
  return matcher_.indexIn(text, start - 1) + 1;
}

qsizetype InStrExact(const QString& text, const QString& word, qsizetype start) {
  if (word.isEmpty() || start < 1 || start > text.size()) return 0;
  return text.indexOf(word, start - 1, Qt::CaseSensitive) + 1;
}

bool SameText(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

QString FoldCase(const QString& s) {
  const char16_t* p = reinterpret_cast<const char16_t*>(s.constData());
  const qsizetype n = s.size();
  qsizetype i = 0;
  while (i < n && p[i] < 0x80 && AsciiLower(p[i]) == p[i]) ++i;
  if (i == n) return s;
  QString out = s;
  char16_t* o = reinterpret_cast<char16_t*>(out.data());
  for (; i < n; ++i) {
    if (o[i] >= 0x80) return s.toCaseFolded();
    o[i] = AsciiLower(o[i]);
  }
  return out;
}

QString NumText(long long n) {
  return n < 0 ? QString::number(n) : QLatin1Char(' ') + QString::number(n);
}

QString WithoutFirst(const QString& s, qsizetype n) { return n >= s.size() ? QString() : s.mid(qMax<qsizetype>(n, 0)); }

bool IsLineBreak(QChar c) {
  return c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar(QChar::ParagraphSeparator) ||
         c == QChar(QChar::LineSeparator);
}

bool NextLine(QStringView text, qsizetype* pos, QStringView* line) {
  const qsizetype n = text.size(), start = *pos;
  if (start >= n) return false;
  qsizetype end = start;
  while (end < n && text[end] != QLatin1Char('\n') && text[end] != QLatin1Char('\r')) ++end;
  *line = text.mid(start, end - start);
  *pos = (end + 1 < n && text[end] == QLatin1Char('\r') && text[end + 1] == QLatin1Char('\n')) ? end + 2 : end + 1;
  return true;
}

}  // namespace tarvex

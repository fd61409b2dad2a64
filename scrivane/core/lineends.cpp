#include "scrivane/core/lineends.h"

namespace scrivane {

QString LineEndName(LineEnd style) {
  switch (style) {
    case LineEnd::LF: return QStringLiteral("LF");
    case LineEnd::CR: return QStringLiteral("CR");
    case LineEnd::CRLF: break;
  }
  return QStringLiteral("CRLF");
}

QString LineEndText(LineEnd style) {
  switch (style) {
    case LineEnd::LF: return QStringLiteral("\n");
    case LineEnd::CR: return QStringLiteral("\r");
    case LineEnd::CRLF: break;
  }
  return QStringLiteral("\r\n");
}

namespace {
struct Counts {
  qsizetype crlf = 0, lf = 0, cr = 0;
  LineEnd Style() const {
    if (lf > crlf && lf >= cr) return LineEnd::LF;
    if (cr > crlf && cr > lf) return LineEnd::CR;
    return LineEnd::CRLF;
  }
};
}  // namespace

NormalizedText NormalizeToLf(QString raw) {
  Counts k;
  NormalizedText out;
  if (!raw.contains(QLatin1Char('\r'))) {
    k.lf = raw.count(QLatin1Char('\n'));
    out.style = k.Style();
    out.text = std::move(raw);
    return out;
  }
  // In place: the text only gets shorter, and each character is read before it is written over.
  QChar* d = raw.data();
  const qsizetype n = raw.size();
  std::vector<LineEnd> ends;  // of every line, for the lines that differ from the majority
  qsizetype j = 0;
  for (qsizetype i = 0; i < n; ++i) {
    const QChar c = d[i];
    if (c == QLatin1Char('\r')) {
      if (i + 1 < n && d[i + 1] == QLatin1Char('\n')) {
        ++k.crlf;
        ++i;
        ends.push_back(LineEnd::CRLF);
      } else {
        ++k.cr;
        ends.push_back(LineEnd::CR);
      }
      d[j++] = QLatin1Char('\n');
    } else {
      if (c == QLatin1Char('\n')) {
        ++k.lf;
        ends.push_back(LineEnd::LF);
      }
      d[j++] = c;
    }
  }
  raw.truncate(j);
  out.text = std::move(raw);
  out.style = k.Style();
  for (size_t line = 0; line < ends.size(); ++line)
    if (ends[line] != out.style) out.odd.emplace_back(qsizetype(line), ends[line]);
  return out;
}

NormalizedText NormalizeLineEnds(const QString& raw) {
  Counts k;
  const QChar* s = raw.constData();
  const qsizetype n = raw.size();
  for (qsizetype i = 0; i < n; ++i) {
    if (s[i] == QLatin1Char('\r')) {
      if (i + 1 < n && s[i + 1] == QLatin1Char('\n')) {
        ++k.crlf;
        ++i;
      } else {
        ++k.cr;
      }
    } else if (s[i] == QLatin1Char('\n')) {
      ++k.lf;
    }
  }
  NormalizedText out;
  out.style = k.Style();
  if (k.lf == 0 && k.cr == 0) {
    out.text = raw;  // already all CR LF
    return out;
  }
  out.text.reserve(n + k.lf + k.cr);
  for (qsizetype i = 0; i < n; ++i) {
    const QChar c = s[i];
    if (c == QLatin1Char('\r')) {
      out.text += QStringLiteral("\r\n");
      if (i + 1 < n && s[i + 1] == QLatin1Char('\n')) ++i;
    } else if (c == QLatin1Char('\n')) {
      out.text += QStringLiteral("\r\n");
    } else {
      out.text += c;
    }
  }
  return out;
}

QString ToFileText(const QString& lfText, LineEnd style, const OddLineEnds& odd) {
  const QString eol = LineEndText(style);
  QString out;
  out.reserve(lfText.size() + lfText.size() / 16 + 2);
  const QChar* s = lfText.constData();
  const qsizetype n = lfText.size();
  auto next = odd.begin();
  qsizetype line = 0, runStart = 0;
  for (qsizetype i = 0; i < n; ++i) {
    if (s[i] != QLatin1Char('\n')) continue;
    out.append(s + runStart, i - runStart);
    while (next != odd.end() && next->first < line) ++next;
    out += next != odd.end() && next->first == line ? LineEndText(next->second) : eol;
    ++line;
    runStart = i + 1;
  }
  out.append(s + runStart, n - runStart);
  if (!lfText.endsWith(QLatin1Char('\n'))) out += eol;
  return out;
}

}  // namespace scrivane

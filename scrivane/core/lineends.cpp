#include "scrivane/core/lineends.h"

namespace scrivane {

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

NormalizedText NormalizeToLf(const QString& raw) {
  Counts k;
  NormalizedText out;
  if (!raw.contains(QLatin1Char('\r'))) {
    out.text = raw;
    k.lf = raw.count(QLatin1Char('\n'));
    out.style = k.Style();
    return out;
  }
  out.text.resize(raw.size());
  QChar* d = out.text.data();
  const QChar* s = raw.constData();
  const qsizetype n = raw.size();
  qsizetype j = 0;
  for (qsizetype i = 0; i < n; ++i) {
    const QChar c = s[i];
    if (c == QLatin1Char('\r')) {
      if (i + 1 < n && s[i + 1] == QLatin1Char('\n')) {
        ++k.crlf;
        ++i;
      } else {
        ++k.cr;
      }
      d[j++] = QLatin1Char('\n');
    } else {
      if (c == QLatin1Char('\n')) ++k.lf;
      d[j++] = c;
    }
  }
  out.text.truncate(j);
  out.style = k.Style();
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

QString ToFileLineEnds(const QString& crlfText, LineEnd style) {
  const QString eol = LineEndText(style);
  QString out;
  if (style == LineEnd::CRLF) {
    // Lone CR or LF that an edit may have put in become CR LF too.
    out = NormalizeLineEnds(crlfText).text;
  } else {
    out.reserve(crlfText.size());
    const QChar* s = crlfText.constData();
    const qsizetype n = crlfText.size();
    for (qsizetype i = 0; i < n; ++i) {
      const QChar c = s[i];
      if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
        out += eol;
        if (c == QLatin1Char('\r') && i + 1 < n && s[i + 1] == QLatin1Char('\n')) ++i;
      } else {
        out += c;
      }
    }
  }
  if (!out.endsWith(QLatin1Char('\n')) && !out.endsWith(QLatin1Char('\r'))) out += eol;
  return out;
}

}  // namespace scrivane

#include "scrivane/core/lineends.h"

#include "common/ansicodec.h"

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

namespace {
// Copies n characters from s to d with every line end made LF, each character read through
// at(s, i); d may be s, as the text only gets shorter and each character is read before it is
// written over. Counts the ends and notes each line's. Gives the length written.
template <typename Char, typename At>
qsizetype ToLf(const Char* s, qsizetype n, QChar* d, At at, Counts& k, std::vector<LineEnd>& ends) {
  qsizetype j = 0;
  for (qsizetype i = 0; i < n; ++i) {
    const char16_t c = at(s, i);
    if (c == u'\r') {
      if (i + 1 < n && at(s, i + 1) == u'\n') {
        ++k.crlf;
        ++i;
        ends.push_back(LineEnd::CRLF);
      } else {
        ++k.cr;
        ends.push_back(LineEnd::CR);
      }
      d[j++] = QLatin1Char('\n');
    } else {
      if (c == u'\n') {
        ++k.lf;
        ends.push_back(LineEnd::LF);
      }
      d[j++] = QChar(c);
    }
  }
  return j;
}

NormalizedText Finish(QString text, const Counts& k, const std::vector<LineEnd>& ends) {
  NormalizedText out;
  out.text = std::move(text);
  out.style = k.Style();
  for (size_t line = 0; line < ends.size(); ++line)
    if (ends[line] != out.style) out.odd.emplace_back(qsizetype(line), ends[line]);
  return out;
}
}  // namespace

NormalizedText NormalizeToLf(QString raw) {
  Counts k;
  if (!raw.contains(QLatin1Char('\r'))) {
    k.lf = raw.count(QLatin1Char('\n'));
    return Finish(std::move(raw), k, {});
  }
  std::vector<LineEnd> ends;  // of every line, for the lines that differ from the majority
  QChar* d = raw.data();
  raw.truncate(ToLf(d, raw.size(), d, [](const QChar* p, qsizetype i) { return p[i].unicode(); }, k, ends));
  return Finish(std::move(raw), k, ends);
}

NormalizedText DecodeToLf(const QByteArray& bytes) {
  Counts k;
  std::vector<LineEnd> ends;
  QString text(bytes.size(), Qt::Uninitialized);
  const auto* s = reinterpret_cast<const unsigned char*>(bytes.constData());
  text.truncate(ToLf(s, bytes.size(), text.data(), [](const unsigned char* p, qsizetype i) { return tarvex::DecodeAnsiByte(p[i]); }, k, ends));
  return Finish(std::move(text), k, ends);
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

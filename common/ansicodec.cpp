#include "common/ansicodec.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace tarvex {

namespace {

// Reverse lookup for the characters above 0xFF; those of 0x00-0xFF map to themselves
// unless they are one of the 27 C1 controls replaced above.
int EncodeChar(char16_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return c;
  for (int i = 0; i < 32; ++i)
    if (ansi::kHigh[i] == c) return 0x80 + i;
  return -1;
}

}  // namespace

QString DecodeAnsi(const QByteArray& bytes) {
  QString out(bytes.size(), Qt::Uninitialized);
  QChar* d = out.data();
  const auto* s = reinterpret_cast<const unsigned char*>(bytes.constData());
  const qsizetype n = bytes.size();
  // Eight bytes at a time: plain ASCII (most text) is widened as it is, others byte by byte.
  for (qsizetype i = 0; i < n; i += 8) {
    quint64 word = 0x8080808080808080u;
    if (i + 8 <= n) std::memcpy(&word, s + i, 8);
    if ((word & 0x8080808080808080u) == 0) {
      for (int k = 0; k < 8; ++k) d[i + k] = QChar(char16_t(s[i + k]));
    } else {
      for (qsizetype k = i, end = std::min(i + 8, n); k < end; ++k) d[k] = QChar(DecodeAnsiByte(s[k]));
    }
  }
  return out;
}

QByteArray EncodeAnsi(const QString& text, qsizetype* firstBad) {
  if (firstBad) *firstBad = -1;
  QByteArray out(text.size(), Qt::Uninitialized);
  char* d = out.data();
  const QChar* s = text.constData();
  for (qsizetype i = 0, n = text.size(); i < n; ++i) {
    const int b = EncodeChar(s[i].unicode());
    if (b < 0) {
      if (firstBad && *firstBad < 0) *firstBad = i;
      d[i] = '?';
    } else {
      d[i] = char(b);
    }
  }
  return out;
}

qsizetype FirstUnencodable(const QString& text) {
  const QChar* s = text.constData();
  for (qsizetype i = 0, n = text.size(); i < n; ++i)
    if (EncodeChar(s[i].unicode()) < 0) return i;
  return -1;
}

QString DescribeUnencodable(const QString& text, bool withLine) {
  const qsizetype bad = FirstUnencodable(text);
  if (bad < 0) return QString();
  const qsizetype line = text.left(bad).count(QLatin1Char('\n')) + 1;
  // A surrogate pair is one character to the user.
  QString ch = text.mid(bad, 1);
  char32_t code = text[bad].unicode();
  if (text[bad].isHighSurrogate() && bad + 1 < text.size() && text[bad + 1].isLowSurrogate()) {
    ch = text.mid(bad, 2);
    code = QChar::surrogateToUcs4(text[bad], text[bad + 1]);
  }
  const QString named = QStringLiteral("'%1' (U+%2)").arg(ch, QStringLiteral("%1").arg(uint(code), 4, 16, QLatin1Char('0')).toUpper());
  return withLine ? named + QStringLiteral(" on line %1").arg(line) : named;
}

}  // namespace tarvex

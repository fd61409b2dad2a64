#include "scrivane/core/scriptfile.h"

#include "common/ansicodec.h"
#include "common/files.h"

namespace scrivane {

ScriptReadResult ReadScriptFile(const QString& path, bool lfForm) {
  ScriptReadResult r;
  QByteArray bytes;
  if (!tarvex::ReadWholeFile(path, &bytes, &r.error)) return r;
  const QString text = tarvex::DecodeAnsi(bytes);
  r.content = lfForm ? NormalizeToLf(text) : NormalizeLineEnds(text);
  r.ok = true;
  return r;
}

QString DescribeUnencodable(const QString& text) {
  const qsizetype bad = tarvex::FirstUnencodable(text);
  if (bad < 0) return QString();
  const qsizetype line = text.left(bad).count(QLatin1Char('\n')) + 1;
  // A surrogate pair is one character to the user.
  QString ch = text.mid(bad, 1);
  char32_t code = text[bad].unicode();
  if (text[bad].isHighSurrogate() && bad + 1 < text.size() && text[bad + 1].isLowSurrogate()) {
    ch = text.mid(bad, 2);
    code = QChar::surrogateToUcs4(text[bad], text[bad + 1]);
  }
  return QStringLiteral("'%1' (U+%2) on line %3")
      .arg(ch, QStringLiteral("%1").arg(uint(code), 4, 16, QLatin1Char('0')).toUpper())
      .arg(line);
}

ScriptWriteResult WriteScriptFile(const QString& path, const QString& crlfText, LineEnd style) {
  ScriptWriteResult r;
  const QString what = DescribeUnencodable(crlfText);
  if (!what.isEmpty()) {
    r.error = QStringLiteral("Cannot save \"%1\": the character %2 cannot be stored in the file's "
                             "character set (Windows-1252). Remove or replace it and save again.")
                  .arg(path, what);
    return r;
  }
  QString reason;
  if (!tarvex::WriteWholeFile(path, tarvex::EncodeAnsi(ToFileLineEnds(crlfText, style)), &reason)) {
    r.error = QStringLiteral("Cannot save \"%1\": %2").arg(path, reason);
    return r;
  }
  r.ok = true;
  return r;
}

}  // namespace scrivane

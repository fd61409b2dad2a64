#include "scrivane/core/cogtemplate.h"

#include <QHash>

#include "common/text.h"

namespace scrivane {

bool SplitTemplateLine(const QString& line, int n, QStringList* values) {
  values->clear();
  qsizetype from = 0;
  for (int i = 0; i < n - 1; ++i) {
    const qsizetype comma = line.indexOf(QLatin1Char(','), from);
    if (comma < 0) return false;
    values->append(line.mid(from, comma - from));
    from = comma + 1;
  }
  values->append(line.mid(from));
  return true;
}

namespace {

// The number of columns: decimal digits only. Leading zeros are read past; a number of more
// digits than an int holds is told apart from one that is not a number.
enum class Count { Ok, NotDigits, TooLarge };
Count PlainNumber(const QString& s, int* n) {
  if (s.isEmpty()) return Count::NotDigits;
  for (QChar c : s)
    if (c < QLatin1Char('0') || c > QLatin1Char('9')) return Count::NotDigits;
  qsizetype first = 0;
  while (first < s.size() - 1 && s[first] == QLatin1Char('0')) ++first;
  if (s.size() - first > 9) return Count::TooLarge;
  *n = s.mid(first).toInt();
  return Count::Ok;
}

TemplateParse Fault(int line, const QString& what) {
  TemplateParse p;
  p.line = line;
  p.fault = what;
  return p;
}

}  // namespace

TemplateParse ParseCogTemplate(const QString& text) {
  const QString crlf = QStringLiteral("\r\n");
  qsizetype pos = 0;
  int lineNo = 0;
  // The next header line without its break; false at the end of the text.
  auto next = [&](QString* line) {
    if (pos >= text.size()) return false;
    const qsizetype brk = text.indexOf(crlf, pos);
    *line = text.mid(pos, (brk < 0 ? text.size() : brk) - pos);
    pos = brk < 0 ? text.size() : brk + 2;
    ++lineNo;
    return true;
  };

  QString line;
  int n = 0;
  const Count count = next(&line) ? PlainNumber(line, &n) : Count::NotDigits;
  if (count == Count::NotDigits)
    return Fault(1, QStringLiteral("the first line must be the number of columns, digits only"));
  if (count == Count::TooLarge || n > kMaxTemplateColumns)
    return Fault(1, QStringLiteral("the number of columns, %1, is more than the %2 a template can have")
                        .arg(line)
                        .arg(kMaxTemplateColumns));
  if (n < 2) return Fault(1, QStringLiteral("a template needs at least 2 columns, not %1").arg(n));

  TemplateParse p;
  CogTemplate& t = p.tpl;
  const auto fewCommas = [&] {
    return Fault(lineNo, QStringLiteral("the line needs %1 values separated by commas").arg(n));
  };
  if (!next(&line)) return Fault(2, QStringLiteral("the column headings are missing"));
  if (!SplitTemplateLine(line, n, &t.headings)) return fewCommas();

  // Without an "end" line the body's lines would be read as fields: say what is missing
  // instead of faulting the first body line.
  bool hasEnd = false;
  for (qsizetype at = pos; at < text.size() && !hasEnd;) {
    const qsizetype brk = text.indexOf(crlf, at);
    const qsizetype len = (brk < 0 ? text.size() : brk) - at;
    hasEnd = len == 3 && QStringView(text).mid(at, 3).compare(u"end", Qt::CaseInsensitive) == 0;
    at = brk < 0 ? text.size() : brk + 2;
  }
  if (!hasEnd) return Fault(0, QStringLiteral("its header has no \"end\" line (a line that is exactly \"end\" before the script)"));

  QHash<QString, int> firstLine;
  for (;;) {
    if (!next(&line)) return Fault(lineNo + 1, QStringLiteral("the header has no \"end\" line"));
    if (tarvex::SameText(line, QStringLiteral("end"))) break;
    QStringList values;
    if (!SplitTemplateLine(line, n, &values)) return fewCommas();
    const QString key = values[1].toCaseFolded();
    if (firstLine.contains(key))
      return Fault(lineNo, QStringLiteral("the field \"%1\" is already named on line %2")
                               .arg(values[1])
                               .arg(firstLine.value(key)));
    firstLine.insert(key, lineNo);
    t.rows << values;
  }
  // A last header line without a break (a template with an empty body) still ends the header.
  t.headerLength = pos;
  t.headerLines = lineNo;
  t.body = text.mid(pos);
  p.ok = true;
  return p;
}

QString FillTemplate(const QString& body, const QList<TemplateValue>& values) {
  QString text = body;
  QString out;
  for (const TemplateValue& v : values) {
    const QString placeholder = QStringLiteral("<%") + v.name + QStringLiteral("%>");
    const tarvex::InStrSearch search(placeholder);
    qsizetype p = search.In(text, 1);
    if (p == 0) continue;
    // One pass: the search resumes after each inserted value, so a value is never searched
    // for its own placeholder and an empty value does not hide the placeholder right after it.
    out.clear();
    out.reserve(text.size() + 16);
    qsizetype copied = 0;
    while (p > 0) {
      out.append(QStringView(text).mid(copied, p - 1 - copied));
      out.append(v.value);
      copied = p - 1 + placeholder.size();
      p = copied < text.size() ? search.In(text, copied + 1) : 0;
    }
    out.append(QStringView(text).mid(copied));
    text.swap(out);
  }
  return text;
}

QString TemplateFaultMessage(const QString& path, const TemplateParse& p) {
  if (p.line == 0) return QStringLiteral("The template \"%1\" cannot be used: %2.").arg(path, p.fault);
  return QStringLiteral("The template \"%1\" cannot be used: line %2: %3.").arg(path).arg(p.line).arg(p.fault);
}

NormalizedText TemplateBodyLines(const NormalizedText& lfFile, int headerLines) {
  NormalizedText body;
  body.style = lfFile.style;
  qsizetype at = 0;
  for (int i = 0; i < headerLines && at >= 0; ++i) {
    at = lfFile.text.indexOf(QLatin1Char('\n'), at);
    if (at >= 0) ++at;
  }
  body.text = at < 0 ? QString() : lfFile.text.mid(at);
  for (const auto& [line, end] : lfFile.odd)
    if (line >= headerLines) body.odd.emplace_back(line - headerLines, end);
  return body;
}

}  // namespace scrivane

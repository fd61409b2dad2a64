#include "scrivane/core/syntaxcheck.h"

#include "scrivane/core/textops.h"

namespace scrivane {

void addErr(Findings& list, const QString& sErr, qsizetype lpos) { list.push_back({sErr, lpos}); }

bool MatchChar(const QString& text, qsizetype lpos, const QString& /*sChar*/, const QString& /*sOppChar*/,
               int /*iDir*/) {
  return MatchingBrace(text, lpos) != 0;
}

Findings CheckCog(const QString& text, qsizetype caret) {
  Findings list;

  // Braces. A "}" closes the latest "{" still open, which is the brace-by-brace rule of
  // MatchChar found for all braces in one pass: the braces still open at the end of the text
  // are the unmatched ones, and they are left on the stack in text order.
  std::vector<qsizetype> open;
  const QChar* chars = text.constData();
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (chars[i] == QLatin1Char('{')) {
      open.push_back(i);
    } else if (chars[i] == QLatin1Char('}') && !open.empty()) {
      open.pop_back();
    }
  }
  for (qsizetype p : open) addErr(list, QString::fromUtf16(kBraceNotMatched), p);

  // Sections: the first `symbols`, `end` and `code` lines and the second `end` line.
  const qsizetype a = FindLineStarting(text, u"symbols");
  const qsizetype b = FindLineStarting(text, u"end");
  const qsizetype c = FindLineStarting(text, u"code");
  const qsizetype d = b == 0 ? 0 : FindLineStarting(text, u"end", b + 1);
  if (a == 0) addErr(list, QString::fromUtf16(kNoSymbols), caret);
  if (b == 0 || (a > 0 && c > 0 && b > c)) addErr(list, QString::fromUtf16(kNoSymbolsEnd), caret);
  if (c == 0) addErr(list, QString::fromUtf16(kNoCode), caret);
  if (d == 0 && b < c) addErr(list, QString::fromUtf16(kNoCodeEnd), caret);
  return list;
}

}  // namespace scrivane

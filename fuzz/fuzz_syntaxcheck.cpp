// The syntax checker: its one-pass brace scan reports exactly the braces that the
// brace-by-brace rule leaves unmatched, in text order, and the section findings follow at
// the caret; the section markers are the first line feeds followed by their keyword.
#include "common/text.h"
#include "fuzz/fuzz_check.h"
#include "scrivane/core/syntaxcheck.h"
#include "scrivane/core/textops.h"

using namespace scrivane;

// The rule brace by brace: from the brace, the k-th "}" after it matches when it comes
// before the k-th "{" after it.
static bool MatchedStepwise(const QString& text, qsizetype p) {
  qsizetype o = p, c = p;
  do {
    o = tarvex::InStr(text, QStringLiteral("{"), o + 1);
    c = tarvex::InStr(text, QStringLiteral("}"), c + 1);
  } while (!(o == 0 || c == 0 || o > c));
  return c != 0 && (o == 0 || o > c);
}

void FuzzOne(const uint8_t* data, size_t size) {
  // Inputs of thousands of braces make the brace-by-brace rule itself the slow part.
  const QString text = FuzzText(data, qMin<size_t>(size, 2048));
  const qsizetype caret = text.size() / 2;
  const Findings found = CheckCog(text, caret);
  size_t k = 0;
  for (qsizetype p = text.indexOf(u'{'); p >= 0; p = text.indexOf(u'{', p + 1)) {
    const bool matched = MatchedStepwise(text, p + 1);
    FUZZ_CHECK(MatchChar(text, p + 1) == matched);
    FUZZ_CHECK(matched == (MatchingBrace(text, p + 1) != 0));
    if (matched) continue;
    FUZZ_CHECK(k < found.size() && found[k].lpos == p && found[k].message == QString::fromUtf16(kBraceNotMatched));
    ++k;
  }
  FUZZ_CHECK(found.size() - k <= 4);
  for (; k < found.size(); ++k) {
    FUZZ_CHECK(found[k].lpos == caret && found[k].message != QString::fromUtf16(kBraceNotMatched));
  }
  const SectionMarks s = ScanSectionMarks(text);
  FUZZ_CHECK(s.lsym == tarvex::InStr(text, QStringLiteral("\nsymbols")));
  FUZZ_CHECK(s.lsymend == tarvex::InStr(text, QStringLiteral("\nend")));
}

#pragma once
// The syntax checker's scans, free of any window: every "{" must have a matching "}", and the
// text must have a `symbols` and a `code` section, each closed by an `end` line. The checker
// does not parse statements and does not skip comments or string literals; closing braces
// with nothing open are not reported.
#include <QString>
#include <vector>

namespace scrivane {

// One entry of the checker's list: its message and the 0-based character offset where the
// caret goes when the entry is clicked.
struct Finding {
  QString message;
  qsizetype lpos = 0;
  bool operator==(const Finding& o) const { return message == o.message && lpos == o.lpos; }
};
using Findings = std::vector<Finding>;

// The five messages the checker produces.
inline constexpr char16_t kBraceNotMatched[] = u"{ not matched";
inline constexpr char16_t kNoSymbols[] = u"no symbols section";
inline constexpr char16_t kNoSymbolsEnd[] = u"no end for symbols section";
inline constexpr char16_t kNoCode[] = u"no code section";
inline constexpr char16_t kNoCodeEnd[] = u"no end for code section";

// Appends a finding as the new last entry.
void addErr(Findings& list, const QString& sErr, qsizetype lpos);

// True when the opening brace at the 1-based position lpos has a matching closing brace after
// it. The scan always runs forward over "{" and "}"; sChar, sOppChar and iDir are the
// checker's fixed "{", "}" and 1 and do not change it.
bool MatchChar(const QString& text, qsizetype lpos, const QString& sChar = QStringLiteral("{"),
               const QString& sOppChar = QStringLiteral("}"), int iDir = 1);

// Runs every check over the text: first one "{ not matched" per unmatched opening brace, in
// text order, at the brace's offset; then the section findings, each at `caret` (the
// document's selection start, so clicking one leaves the caret where it is).
Findings CheckCog(const QString& text, qsizetype caret);

}  // namespace scrivane

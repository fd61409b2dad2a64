#pragma once
// The colouring rules of COG scripts, one line at a time. A line and the section state after
// the line before it go in; the coloured spans of the line and the state after it come out, so
// a text editor colours again only the lines whose text or incoming state changed.
//
// Section lines follow the editor's layout rule: "symbols", "code" or "end" as a prefix of the
// line, at its very first character, in any letter case, never on the first line of the text.
// The first "end" line closes the symbols section; the next one closes the code section.
#include <QString>
#include <QStringList>
#include <QStringView>
#include <vector>

namespace scrivane {

enum class CogState : int {
  TextStart = 0,  // before the first line: it is never a section line
  BeforeSymbols,
  InSymbols,
  InCode,
  After,          // after the end of the code section
};
constexpr int kCogStateCount = 5;

enum class CogSpanKind : int {
  Comment,     // "#" or "//" to the end of the line
  Section,     // the word of a section line
  SymbolType,  // a type name at the start of a declaration line in the symbols section
  Flow,        // if, else, while, do, for, return, call, stop (in the code section)
  Verb,        // a function of the reference (in the code section)
  Label,       // "name:" at the start of a line of the code section
  Number,      // decimal, hexadecimal 0x..., with a point, with a sign
  String,      // double-quoted, to the closing quote or the end of the line
};
constexpr int kCogSpanKindCount = 8;

struct CogSpan {
  int start = 0;
  int length = 0;
  CogSpanKind kind = CogSpanKind::Comment;
  bool operator==(const CogSpan& o) const { return start == o.start && length == o.length && kind == o.kind; }
};

// The function names the colouring knows, compared ignoring letter case.
class CogWords {
 public:
  CogWords() = default;
  explicit CogWords(const QStringList& verbs);
  bool IsVerb(QStringView word) const;

 private:
  std::vector<QString> verbs_;  // sorted ignoring case, each once
};

// Fills spans (cleared first) with the coloured parts of line, in order and without overlap,
// each inside the line, and returns the state after the line. A state outside the enumeration
// is taken as BeforeSymbols.
CogState TokenizeCogLine(QStringView line, CogState before, const CogWords& words, std::vector<CogSpan>& spans);

}  // namespace scrivane

#pragma once
// The colouring rules of COG scripts, one line at a time. A line and the section state after
// the line before it go in; the coloured spans of the line and the state after it come out, so
// a text editor colours again only the lines whose text or incoming state changed.
//
// Section lines: "symbols", "code" or "end" as a prefix of the line, at its very first
// character, in any letter case (the first line included). The first "end" line closes the
// symbols section; the next one closes the code section. Lines before any section line are
// coloured as code, so that a fragment of a handler is coloured too.
#include <QString>
#include <QStringList>
#include <QStringView>
#include <functional>
#include <unordered_set>
#include <vector>

#include "scrivane/core/keyhash.h"

namespace scrivane {

enum class CogState : int {
  TextStart = 0,  // before the first line
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
  Flow,        // if, else, while, do, for, return, call, stop (in code)
  Verb,        // a function of the reference (in code)
  Label,       // "name:" at the start of a line of code
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
  // The verbs, and views of their texts in a set that ignores letter case. The texts are never
  // changed and a copy shares them, so a copy's views stay valid.
  QStringList verbs_;
  std::unordered_set<QStringView, KeyHash, KeyEqual> set_;
};

// Fills spans (cleared first) with the coloured parts of line, in order and without overlap,
// each inside the line, and returns the state after the line. A state outside the enumeration
// is taken as BeforeSymbols.
CogState TokenizeCogLine(QStringView line, CogState before, const CogWords& words, std::vector<CogSpan>& spans);

// The state after line, as TokenizeCogLine returns it, without colouring the line.
CogState CogStateAfter(QStringView line, CogState before);

// The section state before every line of a text, kept as the lines where it changes. States
// only move forward (before the symbols, in them, in the code, after it), so a text holds at
// most three such lines, and the state before any line is found at once: a window colours
// the lines it shows without colouring every line above them first.
class CogSections {
 public:
  // Reads the text of a line; asked for lines in rising order.
  using LineReader = std::function<QString(int line)>;
  // After an edit whose text now lies on lines first..last, the lines below having moved by
  // `delta` (lines added less lines removed); `lineCount` lines in all. Reads the changed lines
  // and, when the state after them differs from before the edit, the following lines until the
  // state agrees again (or the code section has ended). True when every line below the edit
  // has the state it had before it: their colours have not changed.
  bool Changed(int first, int last, int delta, int lineCount, const LineReader& read);
  CogState Before(int line) const;

  struct Change {
    int line;        // the section line
    CogState after;  // the state after it
    bool operator==(const Change& o) const { return line == o.line && after == o.after; }
  };
  const std::vector<Change>& Changes() const { return changes_; }

 private:
  static CogState BeforeIn(const std::vector<Change>& changes, int line);
  std::vector<Change> changes_;  // by rising line
};

}  // namespace scrivane

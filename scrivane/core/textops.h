#pragma once
// The text operations of a document window, free of any window: brace matching, find, replace
// and replace all, and the scan the text-change handler runs. Each works on a TextModel (the
// text box's text and selection) and the window's find state, changes them as the text box
// would be changed, and says what else the window must do (show the not-found box, disable
// Find Next). A whole run of replacements is one change of the model, made of the single
// replacements, which the window takes over as one edit (one undo step).
//
// Positions follow the editor's conventions: search positions are 1-based with 0 meaning
// "not found", selection starts are 0-based; every search ignores letter case.
#include <QString>
#include <QStringView>

#include "scrivane/core/textmodel.h"

namespace scrivane {

// The find state of one document window. The Edit menu and the symbol explorer set it before
// calling the operations.
struct FindState {
  QString sW;         // the search word, also the word to be replaced
  QString sR;         // the replacement text
  qsizetype ipos = 1; // 1-based position where the next search starts; 0 after a search found nothing
};

// What the window does after an operation besides taking over the model's selection.
struct TextOpResult {
  bool textChanged = false;      // the model's text changed: the window takes it over as one edit
  bool showNotFound = false;     // show `message` in a box with an OK button, the application's title
  QString message;
  bool disableFindNext = false;  // Find Next goes disabled
  int replaced = 0;              // how many matches Replace replaced
};

// Letters, digits and the underscore: the characters of a name. A match whose neighbours are
// none of these stands on its own.
bool IsWordChar(QChar c);

// The text of the not-found box: the word in double quotes followed by " not found.".
QString NotFoundText(const QString& word);

// 1-based position of the "}" that matches the "{" at the 1-based position lpos, or 0 when it
// has none. Every brace after lpos counts, also in comments and string literals; a "}"
// closes the latest "{" still open.
qsizetype MatchingBrace(const QString& text, qsizetype lpos);
// The mirror: 1-based position of the "{" that the "}" at lpos closes, or 0.
qsizetype MatchingOpenBrace(const QString& text, qsizetype lpos);

// The same matching fed a piece of text at a time, for callers that hold the text in pieces
// (the text box's lines). Forward it follows a "{" through the pieces after it, in text
// order; backward a "}" through the pieces before it, last piece first, each read from its end.
class BraceScan {
 public:
  explicit BraceScan(bool forward) : forward_(forward) {}
  // 0-based index within `piece` of the partner, or -1 when it lies further on.
  qsizetype Feed(QStringView piece);

 private:
  bool forward_;
  qsizetype depth_ = 1;  // braces still open, the one the scan started from included
};

// Selects the brace block that starts at the caret: "{" through its matching "}". When the
// character after the caret is not "{", that character stays selected; an unmatched "{" leaves
// the caret in front of it with no selection.
TextOpResult MatchBrace(TextModel& m);

// Searches `sW` from `ipos` and selects the match, leaving `ipos` one character after the
// match's start; when nothing is found (also for an empty word or `ipos` below 1), `ipos`
// becomes 0 and the result asks for the not-found box and for Find Next to be disabled.
TextOpResult FindWord(TextModel& m, FindState& f);

// Replaces `sW` by `sR` from `ipos` on: the first match, or with bAll every further one (each
// search starting one character after the start of the match handled before). With
// bCheckEdges a match is replaced only when it stands on its own: neither neighbour is a word
// character (the start and the end of the text count as edges); otherwise the match and its
// neighbours stay selected.
// When `sR` holds `sW` after its first character, the next search starts after the inserted
// text, so that a run of replacements always ends. A whole run is built in one pass.
TextOpResult Replace(TextModel& m, FindState& f, bool bAll, bool bCheckEdges);

// Positions of the section markers the parameter hints read: the 1-based position of the first
// line feed directly followed by "symbols", and of the first one directly followed by "end"
// (either case; a longer word beginning with the keyword counts); 0 when there is none.
struct SectionMarks {
  qsizetype lsym = 0;
  qsizetype lsymend = 0;
};
SectionMarks ScanSectionMarks(const QString& text);

// 1-based position of the first line feed at or after the 1-based `from` that is directly
// followed by `keyword` (ignoring case); 0 when there is none. Shared with the syntax checker.
qsizetype FindLineStarting(const QString& text, QStringView keyword, qsizetype from = 1);

}  // namespace scrivane

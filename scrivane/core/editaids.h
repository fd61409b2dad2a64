#pragma once
// Window-free helpers of the editor's everyday commands: the line and column typed into Go to
// Line, the leading blanks that auto-indent copies and unindent removes, and the search of the
// find bar (every match at once, the one to go to next, wrapping around).
#include <QString>
#include <QStringView>
#include <optional>
#include <vector>

namespace scrivane {

// "12" or "12:5", blanks allowed around the numbers; the line from 1, the column from 1 or 0
// when none was given. Nothing for any other text.
struct LineColumn {
  int line = 0;
  int column = 0;
};
std::optional<LineColumn> ParseLineColumn(const QString& s);

// The blanks and tabs a line starts with.
QStringView LeadingBlanks(QStringView line);
// How many characters at the start of the line one unindent takes away: a tab, or up to
// `width` blanks (with a tab that follows fewer blanks).
int UnindentLength(QStringView line, int width);

struct FindOptions {
  bool matchCase = false;
  bool wholeWord = false;  // neither neighbour of a match may be a letter, digit or underscore
};

// 0-based starts of the matches of word in text from its start, none overlapping the one
// before. Without Match case this is the editor's one case-insensitive search.
std::vector<qsizetype> FindAllMatches(const QString& text, const QString& word, const FindOptions& o);

// The match to go to from the 0-based position `from`: the first starting at or after it, or
// going backward the last starting before it; past either end the search goes round once
// (wrapped). pos is -1 when there is no match at all.
struct FindHit {
  qsizetype pos = -1;
  bool wrapped = false;
  int index = -1;  // in matches
};
FindHit NextMatch(const std::vector<qsizetype>& matches, qsizetype from, bool backward);

}  // namespace scrivane

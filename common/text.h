#pragma once
// Small text helpers shared by every program: the case-insensitive search with 1-based
// positions that all text operations use, the reading of text by lines, and the
// number-to-text form of counts.
#include <QString>
#include <QStringMatcher>
#include <QStringView>

namespace tarvex {

// 1-based position of word in text, searching from the 1-based position start, ignoring
// letter case; 0 when not found, when word is empty, or when start is below 1 or past the end.
qsizetype InStr(const QString& text, const QString& word, qsizetype start = 1);

// InStr for one word searched for many times over, with the word prepared once for a faster
// scan. It is the one case-insensitive search: InStr is this with a word prepared per call.
class InStrSearch {
 public:
  explicit InStrSearch(const QString& word);
  qsizetype In(QStringView text, qsizetype start = 1) const;

 private:
  QStringMatcher matcher_;
  bool empty_;
};

// The same with regard to case.
qsizetype InStrExact(const QString& text, const QString& word, qsizetype start = 1);

// A character that ends a line: CR, LF, or Unicode's line and paragraph separators.
bool IsLineBreak(QChar c);

// The line of text that begins at the 0-based *pos, without its line end, and *pos moved past
// that end: the one reading of text files by lines. A line ends in CR LF, LF or CR alone; the
// last line needs none. False when *pos is at the end of the text.
bool NextLine(QStringView text, qsizetype* pos, QStringView* line);

// Whole-text comparison ignoring case.
bool SameText(const QString& a, const QString& b);

// The form of a text under which texts that differ only in letter case are equal: the key
// for case-insensitive lookups. Plain ASCII is folded without Unicode tables.
QString FoldCase(const QString& s);
// A plain ASCII character (below 128) lowered: A-Z become a-z, the others stay.
constexpr char16_t AsciiLower(char16_t u) { return u >= 'A' && u <= 'Z' ? char16_t(u + ('a' - 'A')) : u; }

// A count written as its decimal digits preceded by one blank (a minus sign instead for
// negative numbers): 12 -> " 12".
QString NumText(long long n);

// Text without its first n characters (empty when n >= length).
QString WithoutFirst(const QString& s, qsizetype n);

}  // namespace tarvex

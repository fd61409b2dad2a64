#pragma once
// One line of the game's message table jkstrings.uni as it is read: a header line ("#&"), a
// comment, an empty line, a line without a usable double quote, or a key line with its name
// and value between double quotes. Lirrel reads whole tables with it; Orvane reads the
// personalities' display names.
#include <QString>
#include <QStringView>

namespace tarvex {

inline constexpr const char* kTableFileName = "jkstrings.uni";

// What the reader makes of one line of the file (the line as read, without its line end).
struct TableLine {
  enum Kind {
    Header,   // "#&..."; text holds what follows "#&" (or "#&>" for the comments line)
    Comment,  // any other line that begins with "#", or a line without a usable double quote
              // whose first character after blanks is "#"; text holds the whole line
    Empty,
    Skipped,  // no double quote, only one, or a name followed by text that is no value
    Key,      // name and value found between double quotes
  };
  Kind kind = Empty;
  bool comments = false;  // a Header line that carries the comments & description ("#&>")
  QString text;           // Header: the header entry; Comment: the line as it stood
  QString name;           // Key
  QString value;          // Key
  QString trailer;        // Key: what follows the fourth double quote ("   # a note")
};

// Classifies a line: the tests run in this order on the untrimmed line: header, comment,
// empty, no usable double quote, key. The name is the text between the first and second
// double quote, the value the text between the third and fourth; with only three quotes the
// value runs to the end of the line, with two it is empty (and only blanks and the number
// field may follow the name: a line with other text there is Skipped).
TableLine ReadTableLine(QStringView line);

}  // namespace tarvex

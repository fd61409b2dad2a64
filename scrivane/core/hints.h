#pragma once
// The hints of a document window while the user types, free of any window: the message list
// that pops up after a blank following a word containing "message" in the symbols section, and
// the function help shown after "(" following a function's name. Each key handler of the
// window hands its key, the text (line by line), the caret and the panels' state to one of the
// functions below and applies the answer; nothing here reads more than the lines it needs.
//
// Positions: selection starts are 0-based; lsym, lsymend and lSpace are 1-based positions.
// Every comparison of text with text ignores letter case.
#include <QHash>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

#include "scrivane/core/lines.h"

namespace scrivane {

// Key codes of the key-down handlers; character codes are the characters themselves
// (Tab 9, Enter 13, blank 32).
constexpr int kKeyBack = 8, kKeyUp = 38, kKeyDown = 40;

// Function entries of the reference by name (any letter case): the first entry of each name
// in the order the reference was read. Categories are not functions and are never added.
class FunctionHelpIndex {
 public:
  void Clear() {
    tags_.clear();
    pending_.clear();
  }
  void Add(const QString& name, const QString& tag);  // a name already present keeps its entry
  const QString* Find(const QString& name) const;     // the entry's tag, or nullptr
 private:
  // The names are indexed when the first one is looked up: the reference is read at start-up,
  // a function's help is asked for later, while typing.
  mutable QHash<QString, QString> tags_;
  mutable std::vector<std::pair<QString, QString>> pending_;
};

// The hint state of one document window: which panels are up, and the members that go with them.
struct HintPanels {
  bool listUp = false;   // the message list picCogParams is shown
  bool helpUp = false;   // the function help strip picMain is shown
  bool hasHelp = false;  // the strip holds a function's text (it has been shown once)
  qint32 lSpace = 0;     // 1-based position of the blank that opened the list
  qint32 intParens = 0;  // "(" levels typed inside the function's arguments
  int listCurrent = -1;  // the list's current item, -1 for none
};

// Everything a decision reads.
struct HintInput {
  const LineSource& lines;
  qsizetype selStart = 0, selLength = 0;
  qint32 lsym = 0, lsymend = 0;  // section marks from the change handler
  HintPanels panels;
  const QStringList& messages;                // the list's item texts, in list order
  const FunctionHelpIndex* functions = nullptr;
};

// What the window does, in this order: the edit, the caret, the list, the panels.
struct HintAnswer {
  HintPanels panels;            // the state after the key; shown/hidden panels follow it
  bool swallowKey = false;      // the key goes no further
  bool focusList = false;       // the keyboard focus moves to the list
  bool showPopup = false;       // the list is placed below the caret before it shows
  bool edit = false;            // replace editLength characters at editStart by editText
  qsizetype editStart = 0, editLength = 0;
  QString editText;
  bool moveCaret = false;       // caret put at `caret`, nothing selected
  qsizetype caret = 0;
  int scrollTo = -1;            // list item to scroll into view, -1 for none
  bool newHelp = false;         // the strip's text and the description box take these
  QString helpText, description;
};

// The word that ends at `caret`: the characters back to the nearest blank, tab, CR or line
// feed. When the character before the caret is itself such a delimiter, that one character;
// on the first line a word reaching the start of the text is taken from its first character
// (a delimiter standing there included). Nothing at the start of the text.
struct WordBack {
  qsizetype start = 0, length = 0;
  QString text;
};
WordBack SelectWordBack(const LineSource& lines, qsizetype caret);

// The typed word of the message list: from lSpace to the first CR or line end, without blanks
// at either end (tabs stay). The name put in replaces the characters from just after the
// blank (0-based lSpace) up to that end: [replaceStart, replaceEnd).
struct TypedWord {
  QString word;
  qsizetype replaceStart = 0, replaceEnd = 0;
};
TypedWord TypedWordAt(const LineSource& lines, qint32 lSpace);

// Index of the first item that begins with `prefix` (ignoring case), -1 for none.
int FirstItemStartingWith(const QStringList& items, const QString& prefix);

// The key handlers. `keyCode` is kKeyBack, kKeyUp, kKeyDown or any other key's code;
// `keyascii` the character code of a character key.
HintAnswer TextKeyDown(const HintInput& in, int keyCode);
HintAnswer TextKeyPress(const HintInput& in, int keyascii);
HintAnswer ListKeyPress(const HintInput& in, int keyascii);
HintAnswer ListDblClick(const HintInput& in);

// The operations the handlers are made of, for the window's members of the same names.
HintAnswer InsertParam(const HintInput& in, bool matchTyped);
HintAnswer FindParam(const HintInput& in, int keyascii);

// Where the message list goes: one pixel left of the character before the caret and one text
// line plus 100 twips below that character's top, less one pixel. When that character has no
// usable place (the caret starts the text, or the character is scrolled out of view) the
// caret's own rectangle is used. The list never covers the line being typed: when it does not
// fit below that line inside `area` it goes above it, and when it fits on neither side it
// takes the roomier one, shortened to the room there. It is kept inside `area` sideways as far
// as it fits. All rectangles are in the coordinates of the panel's parent.
QRect PopupRect(const QRect& charBefore, bool charBeforeUsable, const QRect& caret, int lineHeight, double dpiY,
                const QRect& area, const QSize& panel);

}  // namespace scrivane

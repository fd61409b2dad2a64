#pragma once
// The Bramwise symbol tree, free of any window: the scan that turns a script's text into the
// tree's nodes (declared symbols by type, message handlers with the "//" comments of their
// bodies), and the text edits behind the tree's gestures and the add-symbol form: the
// declaration line and where it goes, the code-use test of Delete, the rename's two passes.
//
// The scan reads the script as lines: a keyword or a type name counts only at the very start
// of a line, directly after a line feed, and as a prefix of the line. The symbols section runs
// from the first "symbols" line (the text's first line too) to the first "end" line of the
// text. A line ends at its CR (a
// declaration's key keeps it) or, for a line that ends in LF alone, before the LF.
#include <QString>
#include <QStringList>
#include <vector>

#include "scrivane/core/keyhash.h"
#include "scrivane/core/textmodel.h"
#include "scrivane/core/textops.h"

namespace scrivane {

enum class BramwiseKind { Root, Section, Type, Symbol, Handler, Comment };

struct BramwiseNode {
  QString key;   // unique in the tree, ignoring letter case
  QString text;  // the label shown
  QString tag;   // "parent" for root, sections and types, "message" for handlers, else empty
  int parent;    // index of the parent node in the scan's list; -1 for the root
  BramwiseKind kind;
};

struct BramwiseScan {
  std::vector<BramwiseNode> nodes;  // in order of addition, each parent before its children
  // When two nodes had the same key: the 0-based position of the later one's line (of its "//"
  // for a comment), where the caret goes; the nodes stop before it. -1 otherwise.
  qsizetype duplicateAt = -1;
};

// Builds the nodes of the tree for a script's text. `caption` is the root's label, `types` the
// symbol type names in their fixed order. A handler's node bears the name its "message" line
// declares (the label in the code), without what else the line shows before a tab. No "symbols" line, no "end" line, or an "end" line
// before the "symbols" line give no nodes at all.
BramwiseScan ScanBramwise(const QString& text, const QString& caption, const QStringList& types);

// The message shown when the scan met a key twice.
QString DuplicateLineMessage();

// The symbol name written in a declaration line whose type name has k characters: the rest of
// the line without its surrounding blanks and leading tabs, cut before the first tab, else the
// first blank, else the CR. It may carry "=" and a default value.
QString GetSymbolName(const QString& line, qsizetype k);

// The text up to its first "=", the whole text when it holds none.
QString StripDefault(const QString& s);

// The name a node's label stands for: the label up to its first "=", without blanks around it,
// up to its first blank (a label can carry the blanks and words around a declaration's name).
QString NameInLabel(const QString& label);

// 0-based position of the first occurrence of a handler label ("name:") whose left neighbour
// is not a word character (so "touched:" is not found inside "untouched:"); -1 when none.
qsizetype FindHandlerLabel(const QString& text, const QString& label, qsizetype from = 0);

// ---- The add-symbol form ----

// The declaration line with its fixed column spacing, CR LF included.
QString SymbolDeclarationLine(const QString& type, const QString& name, const QString& value, bool local,
                              const QString& linkId);

// 0-based start of the line that closes the symbols section: the first line after the
// "symbols" line (the first line of the text too) that begins with "end" (any letter case);
// -1 when there is none.
qsizetype SymbolInsertPoint(const QString& text);

// Inserts the line at SymbolInsertPoint; a caret at or after that point moves with the text it
// stood on, one before it stays. False, and nothing changed, when there is no such point.
bool InsertSymbolLine(TextModel& m, const QString& line);

// The message shown when a script has no line closing its symbols section.
QString NoSymbolsEndMessage();

// ---- Gestures on the tree's nodes ----

// True when `word` occurs after the "code" line standing on its own (neither neighbour a word
// character). A script without a "code" line uses nothing.
bool UsedInCode(const QString& text, const QString& word);

// What renaming a tree node did to the text.
struct NodeRename {
  bool done = false;
  QString refusal;  // why not, for the user, when !done
  QString newKey;   // the node's key in the renamed text
  QString newLabel; // the node's label in the renamed text (as a new scan would show it)
  // A message is in the tree twice, as a declared symbol and as a handler: the other node's
  // key before and after the rename (empty for other symbols).
  QString twinOld, twinNew, twinLabel;
};

// Renames the symbol a node (labelled oldLabel) stands for to the name typed in newLabel.
// First the declaration itself: a symbol's key line, or for a handler the "message" line that
// declares it; there only the name changes, with its default value when the new label gives
// one ("total=7"). What else the label shows of its line (blanks, "local", the words before a
// tab) stays as the text has it, whether the new label repeats it or leaves it out; a label
// that changes it is refused. Then every later occurrence of the name that stands on its own,
// with no word character next to it. Occurrences before the declaration stay. A comment node
// has no declaration: its own text is replaced. The name must be letters, digits and
// underscores; a declaration no longer in the text refuses too. One change of the model; the
// find state ends as the second pass leaves it.
NodeRename RenameNode(TextModel& m, FindState& f, const QString& key, BramwiseKind kind, const QString& oldLabel,
                      const QString& newLabel);

// Removes a node's text: a symbol's declaration line or a handler's label with the line break
// that follows, a comment without its line break. The caret goes where the text was. Nodes of
// other kinds, and keys that no longer occur in the text, change nothing (false).
bool DeleteNodeText(TextModel& m, const QString& key, BramwiseKind kind);

// 0-based position of a node's key in the text as the double click and Delete find it: a
// handler's label by FindHandlerLabel, any other key by its first occurrence; -1 when absent.
qsizetype FindNodeKey(const QString& text, const QString& key, BramwiseKind kind);

}  // namespace scrivane

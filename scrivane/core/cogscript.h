#pragma once
// A COG script read the way the game's loader reads it: the header and symbols section line by
// line, the code section by a tokenizer and the game's grammar. The result is the syntax tree
// with source positions, the symbol table (declared symbols, labels, every use of a name) and
// the findings: what keeps the game from loading the script (errors), what it will do other
// than the author meant (warnings), and what is legal but worth a look (notes).
//
// One pass over the text, linear in its size. Window-free; the editor runs it off the user
// interface thread, so nothing here touches shared state.
#include <QString>
#include <QStringView>
#include <memory>
#include <vector>

#include "scrivane/core/coglang.h"

namespace scrivane {

// A stretch of the text: its 0-based character offset and length, and the 1-based line and
// column of its first character (a tab is one column; CR LF, LF and a lone CR each end a line).
struct CogRange {
  qsizetype offset = 0, length = 0;
  int line = 1, column = 1;
};

enum class CogSeverity : int { Error, Warning, Note };
QString CogSeverityName(CogSeverity s);  // "error", "warning", "note"

struct CogFinding {
  CogSeverity severity = CogSeverity::Error;
  QString code;     // "COG001" ...
  QString message;  // plain words, one sentence or two
  CogRange at;
  int endLine = 1, endColumn = 1;  // the position just after the range
};

enum class CogSymbolType : int {
  Thing, Surface, Sector, Sound, Template, Model, Keyframe, Cog, Material, Ai,  // references
  Message, Flex, Int, Vector,
};
QString CogSymbolTypeName(CogSymbolType t);
// A type of the symbols section by its word ("float" is flex); false for any other word.
bool CogSymbolTypeFromWord(QStringView word, CogSymbolType* type);

struct CogSymbol {
  QString name;  // lower case, as the game keeps it
  CogSymbolType type = CogSymbolType::Int;
  CogRange at;   // the name in the declaration line
  QString value;  // the text after "=", lower case; empty when none
  QString desc;
  bool local = false, nolink = false;
};

// Every place the code section names something.
enum class CogUseRole : int {
  Read,        // its value is taken
  Write,       // assigned to (left of "=")
  Call,        // name(...)
  Label,       // name:
  CallTarget,  // call name;
  GotoTarget,  // goto name;
};
struct CogUse {
  CogRange at;
  CogUseRole role = CogUseRole::Read;
  int symbol = -1;  // index of the first declaration of the name, -1 when none
};

// Nodes of the syntax tree, children linked first-to-next.
enum class CogNodeKind : int {
  Code,       // the code section: its statements
  Block,      // { statements }
  Label,      // name: statement
  ExprStmt,   // [expression];  (no child for the empty statement)
  If,         // condition, then, [else]
  While,      // condition, body
  Do,         // body, condition
  For,        // init (ExprStmt), condition (ExprStmt), step, body
  Goto, CallStmt, Return,  // Goto and CallStmt: the target name
  Name, Number, String, Vector,
  Unary,      // op: '-' or '!'
  Binary,     // op: the operator's first character, or a code of Op below
  Assign,     // target, value
  Comma,      // expressions
  Index,      // base, index
  CallExpr,   // callee, arguments
};
struct CogNode {
  CogNodeKind kind = CogNodeKind::Code;
  int op = 0;
  CogRange at;  // the node's first token (for a Binary, its operator)
  int first = -1, next = -1;
  int use = -1;  // Name nodes: index into uses
};

struct CogScript {
  int symbolsLine = 0, codeLine = 0;  // 1-based file lines; 0 when there is none
  qsizetype codeStart = -1;           // offset where the code tokens begin, -1 when none
  qsizetype codeEnd = -1;             // offset of the "end" token or of the text's end
  std::vector<CogSymbol> symbols;     // in declaration order, twice declared names twice
  std::vector<CogUse> uses;           // in text order
  std::vector<CogNode> nodes;         // nodes[0] is the Code node when there is a code section
  std::vector<CogFinding> findings;   // sorted by position
  bool loads = true;                  // no error was found

  // The index of the first declaration of a name (any case), -1 when none.
  int FindSymbol(QStringView name) const;
  // The use whose range holds the offset, or -1.
  int UseAt(qsizetype offset) const;
  int Count(CogSeverity s) const;
};

// The findings of a reading in text order, as runs that each move with the stretch of text they
// were found in: a reading after an edit shares the runs the edit left alone with the reading
// before it, so that making the list costs the number of runs, not of findings.
class CogFindingList {
 public:
  struct Found {  // a run's findings, at their places when they were found
    std::vector<CogFinding> items;
    int counts[3] = {};  // by severity
    int longest = 0;     // the longest range, in characters
    explicit Found(std::vector<CogFinding> found);
  };
  // A run whose findings now lie `shift` characters and `lineShift` lines on.
  void Append(const std::shared_ptr<const Found>& found, qsizetype shift = 0, int lineShift = 0);
  void Reserve(size_t runs) {
    runs_.reserve(runs);
    ends_.reserve(runs);
  }
  size_t Size() const { return ends_.empty() ? 0 : ends_.back(); }
  bool Empty() const { return Size() == 0; }
  CogFinding At(size_t i) const;
  // The index of the first finding at or after the offset (Size() when none).
  size_t FirstAtOrAfter(qsizetype offset) const;
  int Count(CogSeverity s) const { return counts_[int(s)]; }
  int Longest() const { return longest_; }
  std::vector<CogFinding> All() const;
  size_t Runs() const { return runs_.size(); }
  // The number of runs whose first finding lies before the offset.
  size_t RunsBefore(qsizetype offset) const;
  // This list with its runs [first, last) replaced by the runs of another list, and the runs
  // after them moved on by `shift` characters.
  CogFindingList Replaced(size_t first, size_t last, const CogFindingList& with, qsizetype shift) const;
  // How many findings this list shares with another at its start (the same runs at the same
  // places) and at its end (the same runs, perhaps moved).
  void Shared(const CogFindingList& other, size_t* start, size_t* end) const;

 private:
  struct Run {
    std::shared_ptr<const Found> found;
    qsizetype shift;
    int lineShift;
  };
  size_t RunOf(size_t i) const;
  std::vector<Run> runs_;
  std::vector<size_t> ends_;  // the index after each run's last finding
  int counts_[3] = {};
  int longest_ = 0;
};

// Reads and checks the text for the game.
CogScript ParseCogScript(QStringView text, CogGame game = CogGame::Both);

// A text read in pieces, as a reading after an edit needs it.
class CogTextSource {
 public:
  virtual ~CogTextSource() = default;
  virtual qsizetype Size() const = 0;
  virtual QString Mid(qsizetype from, qsizetype length) const = 0;
};

namespace cogread {
struct State;
}

// A script read and kept for reading it again after edits: the code is read in chunks of
// top-level statements, and a reading after an edit reads only from the chunk before the edit
// until the reading meets a chunk read before (or ends), so that its cost follows the edit and
// the code around it, not the script's size. The findings are exactly those of ParseCogScript.
class CogReading {
 public:
  // Chunks hold about chunkChars characters of code (tests make them small).
  CogReading(QStringView text, CogGame game, int chunkChars = 4096);
  ~CogReading();
  CogReading(const CogReading&) = delete;
  CogReading& operator=(const CogReading&) = delete;

  // After edits replaced the characters [from, to) of the text read last by a stretch `delta`
  // characters longer, reads the present text again. False, with nothing changed, when a whole
  // reading is needed instead: the edit reaches the header or symbols, there is no code
  // section, or the stretch to read grew past a few per cent of the text.
  bool Update(const CogTextSource& text, qsizetype from, qsizetype to, qsizetype delta);
  CogGame Game() const;
  // The findings and symbols; with the uses of the code too, and the syntax tree, on request.
  CogScript Script(bool withUses = false, bool withTree = false) const;
  // The findings alone, sharing with earlier lists those of the code the edits left alone.
  std::shared_ptr<const CogFindingList> Findings() const;

 private:
  std::unique_ptr<cogread::State> d_;
};

}  // namespace scrivane

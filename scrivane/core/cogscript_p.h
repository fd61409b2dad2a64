#pragma once
// What the parts of the script reader share: the text (or the stretch of it being read) with
// its line table, the header and symbols read from it, the code read in chunks, and the counts
// the game's limits are checked against.
#include <QHash>
#include <functional>
#include <memory>

#include "scrivane/core/cogscript.h"

namespace scrivane::cogread {

// Codes of the findings, stable across versions: tools and users refer to them.
namespace code {
inline constexpr char kNoSymbols[] = "COG001";
inline constexpr char kNoCode[] = "COG002";
inline constexpr char kSyntax[] = "COG003";
inline constexpr char kBareValueType[] = "COG004";
inline constexpr char kUndeclaredRead[] = "COG101";
inline constexpr char kUnknownType[] = "COG102";
inline constexpr char kUnknownMessage[] = "COG103";
inline constexpr char kUndeclaredHandler[] = "COG104";
inline constexpr char kTwoLabels[] = "COG105";
inline constexpr char kArgumentCount[] = "COG106";
inline constexpr char kNoValue[] = "COG107";
inline constexpr char kNotAVerb[] = "COG108";
inline constexpr char kNoSuchLabel[] = "COG109";
inline constexpr char kLimit[] = "COG110";
inline constexpr char kOtherGame[] = "COG111";
inline constexpr char kModifyColorEffect[] = "COG112";
inline constexpr char kNothingDeclared[] = "COG113";
inline constexpr char kImplicitVariable[] = "COG201";
inline constexpr char kNoHandler[] = "COG202";
inline constexpr char kUnused[] = "COG203";
}  // namespace code

// The text of a finding's code, made once per thread.
QString CodeText(const char* code);

// Something in the code that costs the game a symbol or jump-table entries, in text order.
struct Cost {
  qsizetype offset = 0, length = 0;
  int symbols = 0, jumps = 0;
  CogRange at;
  int endLine = 1, endColumn = 1;
};

// "Did you mean 'x'?" for the nearest of the candidates, or an empty text. Bounded work: a
// reading spends at most a fixed budget on one suggester. What a whole scan of the candidates
// found for a name may be remembered in a memo shared by suggesters of the same candidates,
// which then charges the budget the same without scanning again.
class Suggester {
 public:
  explicit Suggester(QHash<QString, QString>* memo = nullptr) : memo_(memo) {}
  void Offer(const QString& candidate);
  QString For(const QString& name);
  bool Empty() const { return candidates_.empty(); }

 private:
  std::vector<QString> candidates_;
  long long budget_ = 4000000;
  long long cost_ = 0;  // the sum of the candidates' lengths plus one
  QHash<QString, QString>* memo_;
};

inline QString Quoted(QStringView s) { return QLatin1Char('\'') + s.toString() + QLatin1Char('\''); }

// Whether text[i] ends a line as the reader counts lines: an LF, or a CR with no LF after it.
inline bool EndsLine(QStringView text, qsizetype i) {
  const char16_t c = text[i].unicode();
  return c == u'\n' || (c == u'\r' && (i + 1 == text.size() || text[i + 1] != u'\n'));
}

// A name the code uses, and what the game makes of it.
struct NameInfo {
  QString name;  // lower case
  int symbol = -1;
  bool global = false;  // a verb, message or global variable of the game checked for
  const CogMessage* message = nullptr;
};

// A finding of the whole script's checks that falls in a chunk, as what makes it: the same
// makings give the same findings, so a chunk whose makings have not changed keeps its findings.
struct Making {
  enum Kind : int {
    Parse,             // the chunk's syntax error or nesting warning; v: the lines it moved
    NoSuchLabel,       // i: the target; s: the suggestion
    Implicit,          // i: the created name
    UndeclaredRead,    // i: the created name; s: the suggestion
    Calls,             // the chunk's calls' findings, with the suggestions that follow
    CallSuggestion,    // i: the calls' finding; s: the suggestion
    SymbolLimit, JumpLimit,  // v: the limit; at, endLine, endColumn: the place
  };
  Kind kind = Parse;
  int i = 0, v = 0;
  QString s;
  CogRange at;
  int endLine = 0, endColumn = 0;
  bool operator==(const Making& o) const {
    return kind == o.kind && i == o.i && v == o.v && at.offset == o.at.offset && at.length == o.at.length &&
           at.line == o.at.line && at.column == o.at.column && endLine == o.endLine && endColumn == o.endColumn &&
           (s.isEmpty() ? o.s.isEmpty() : s == o.s);
  }
};

// A run of the code section's top-level statements, read on its own. What is read from it
// depends only on the text from the start of its first line to `reach`, so it stays valid (and
// moves) while edits leave that text alone. Positions are of the text it was read from;
// `shift` and `lineShift` bring them to the present text.
struct Chunk {
  qsizetype start = 0;      // where its reading begins: the code's start or its first token
  qsizetype lineStart = 0;  // the start of the line holding start
  int line = 1;             // that line's number
  qsizetype reach = 0;      // the reading looked at no character at or after this
  qsizetype stop = -1;      // where the code's reading ended, when it ended in this chunk
  bool failed = false;      // ... at a syntax error or too deep a nesting
  qsizetype shift = 0;
  int lineShift = 0;

  std::vector<CogNode> nodes;  // indexes within the chunk
  std::vector<int> tops;       // its top-level statements
  std::vector<CogUse> uses;
  std::vector<int> useNames;  // the NameInfo of each use
  std::vector<Cost> costs;    // strings and control statements
  int costSymbols = 0, costJumps = 0;
  std::vector<CogFinding> parse;  // a syntax error or the nesting warning
  QString failWhy;                // the syntax error's reason, with %1 for failBraceLine
  int failBraceLine = 0;
  std::vector<CogFinding> calls, stack;            // checks of the chunk's own calls and expressions
  std::vector<std::pair<int, int>> unknownVerbs;  // calls findings waiting for a suggestion: index, name

  // What the checks of the whole script need to know of the chunk.
  std::vector<int> labels;  // uses that are labels
  struct Created {          // a name neither declared nor global, as the chunk uses it
    int name = -1;
    int first = -1, firstRead = -1, firstWrite = -1;  // uses
    QString readAs, writtenAs;                        // as written at the first read and write
  };
  std::vector<Created> created;  // by first use
  std::vector<int> readWrite;    // indexes into created, by first read or write
  std::vector<int> targets;      // call and goto targets among the uses of created names
  std::vector<QString> targetsAs;
  // The symbols the chunk uses: the first kSymbolBits as bits, the others listed.
  static constexpr int kSymbolBits = 256;
  uint64_t symbolBits[kSymbolBits / 64] = {};
  std::vector<int> symbolsUsed;

  // The chunk's findings as last made (at its places when read), and what they were made of.
  mutable std::vector<Making> made;
  mutable std::vector<int> madeLabels;  // see State::labelMakings
  // The names the chunk's labels name, each once (by first label), the use of that first
  // label, and for each label its name's place in these.
  mutable std::vector<int> labelNames, labelFirst, labelSlot;
  mutable std::shared_ptr<const CogFindingList::Found> found;

  CogRange At(const CogRange& r) const { return {r.offset + shift, r.length, r.line + lineShift, r.column}; }
  qsizetype Now(qsizetype offset) const { return offset + shift; }
};

// Chunks in text order. Each is held by its own pointer, so that an edit's chunks go in and out
// and the chunks after them move along the list without each being moved in memory.
class ChunkList {
 public:
  size_t size() const { return v_.size(); }
  bool empty() const { return v_.empty(); }
  Chunk& operator[](size_t i) { return *v_[i]; }
  const Chunk& operator[](size_t i) const { return *v_[i]; }
  Chunk& back() { return *v_.back(); }
  const Chunk& back() const { return *v_.back(); }
  void push_back(Chunk c) { v_.push_back(std::make_unique<Chunk>(std::move(c))); }
  void clear() { v_.clear(); }
  void reserve(size_t n) { v_.reserve(n); }
  // Takes the chunk i of another list.
  void Take(ChunkList& from, size_t i) { v_.push_back(std::move(from.v_[i])); }
  // Puts the chunks of `with` in place of [from, to).
  void Replace(size_t from, size_t to, ChunkList&& with);

 private:
  std::vector<std::unique_ptr<Chunk>> v_;
};

// All a reading keeps: the header and symbols, the code's chunks (chunks[0, live) were read
// this time, in a row, the last ending the code; those after them wait to be reused) and the
// names the code uses.
struct State {
  CogGame game = CogGame::Both;
  qsizetype chunkChars = 4096;  // chunks hold about this many characters of code
  qsizetype size = 0;   // of the text read
  CogScript header;     // symbols, lines, codeStart and the findings of the header and symbols
  CogRange codeAt;      // where the code section begins
  bool codeAfterLf = false;  // the code line ends in LF: nothing after it matters to the header
  QHash<QString, int> symbolByName;
  QHash<QString, int> nameIds;
  std::vector<NameInfo> names;
  ChunkList chunks;
  size_t live = 0;
  std::vector<std::pair<int, int>> symbolEnds;  // line and column after each symbol's name
  mutable QHash<QString, QString> nameMemo, verbMemo;  // suggestions of the whole scans
  mutable std::vector<std::vector<Making>> makings;    // of each live chunk, kept for their room
  // What the labels of each live chunk make, one number for each name they name (a script may
  // have a label every few lines, mostly of a few names): the line of the name's first label in
  // the script, negative when that label is in the chunk.
  mutable std::vector<std::vector<int>> labelMakings;
  mutable std::shared_ptr<const CogFindingList::Found> headFound;  // the header's, as last made
  // The findings as last assembled (when `assembledNow`, of the chunks as they are), and what a
  // reading after an edit since changed: when it read the live chunks [editFrom, editTo) anew
  // in place of as many that the whole script's checks see alike (`sameChecks`), every other
  // chunk keeps its makings, and the findings are those assembled last with the runs of the
  // replaced chunks (which lay in [editStart, editEnd) of the text before the edit) made again
  // and the runs after them moved on by editDelta characters.
  mutable std::shared_ptr<const CogFindingList> assembled;
  mutable bool assembledNow = false;
  mutable bool sameChecks = false;
  size_t editFrom = 0, editTo = 0;
  qsizetype editStart = 0, editEnd = 0, editDelta = 0;

  int NameId(const QString& lower);
};

class Reader {
 public:
  // Reads `text`, the stretch of a longer text that begins at offset `base` on line `baseLine`;
  // `toEnd` when the stretch runs to the end of the text.
  Reader(QStringView text, qsizetype base, int baseLine, bool toEnd, State& state);

  QStringView text;
  const qsizetype base;
  const bool toEnd;
  State& st;
  CogGame game;
  CogScript& out;                     // the header's findings and symbols
  std::vector<CogFinding>* sink;      // where findings go
  std::vector<qsizetype> lineStarts;  // offset of each line's first character, from base
  int baseLine;
  int linkEntries = 0, messages = 0;
  mutable size_t lastLine_ = 0;  // the line Range found last

  // Lines are looked for a few lines on from the last one found, else by halving: the reader
  // asks in text order nearly always, so finding them costs constant time.
  CogRange Range(qsizetype offset, qsizetype length) const;
  qsizetype LineStartOf(qsizetype offset) const;
  QString Mid(qsizetype offset, qsizetype length) const { return text.mid(offset - base, length).toString(); }
  void Add(CogSeverity s, const char* code, const QString& message, qsizetype offset, qsizetype length);
  int Limit(int jk, int mots) const;  // the limit of the game checked for
  // The game's line of the code section for a file line.
  int CodeLine(int fileLine) const { return fileLine - out.codeLine + 1; }

  void ReadHeaderAndSymbols();  // cogscript_symbols.cpp
};

// The text of a syntax error.
QString SyntaxMessage(const QString& why, int braceLine, int line, int codeLine);

// Whether the whole script's checks see two chunks alike, the second read in place of the first
// with no line added or removed before it: the same labels on the same lines, the same names
// created, read, written and jumped to, the same symbols used, calls checked alike and the same
// costs; and neither has a syntax error.
bool SameForChecks(const Chunk& a, const Chunk& b);

// Reads the code's top-level statements from `first.start` into chunks appended to `into`
// (cogscript_code.cpp), each checked on its own. Before each statement after the first,
// meets(offset) may end the reading there (the rest is known). False when the reading needed
// text past the stretch the reader holds.
enum class CodeRead { Ended, Met, ShortText };
CodeRead ReadCode(Reader& r, Chunk first, ChunkList& into, const std::function<bool(qsizetype)>& meets);

// The chunk's own checks and what the whole script's checks need of it (cogscript_check.cpp).
void CheckChunk(Reader& r, Chunk& c);
// The findings of the whole script from the header and the chunks read, and on request the
// uses and the syntax tree (cogscript_check.cpp).
std::shared_ptr<const CogFindingList> Assemble(const State& st, CogScript* script = nullptr, bool withUses = false, bool withTree = false);

}  // namespace scrivane::cogread

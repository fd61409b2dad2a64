#pragma once
// What the three parts of the script reader share: the text with its line table, the script
// being filled, and the counts the game's limits are checked against.
#include <QHash>

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

// Something in the code that costs the game a symbol or jump-table entries, in text order.
struct Cost {
  qsizetype offset = 0, length = 0;
  int symbols = 0, jumps = 0;
};

class Reader {
 public:
  Reader(QStringView text, CogGame game, CogScript& out);

  QStringView text;
  CogGame game;
  CogScript& out;
  std::vector<qsizetype> lineStarts;  // offset of each line's first character
  QHash<QString, int> symbolByName;   // first declaration of each name
  std::vector<QString> useNames;      // the lower-case name of each use
  std::vector<Cost> costs;            // strings and control statements of the code
  int linkEntries = 0, messages = 0;
  bool syntaxFailed = false;          // the code was read only up to its first syntax error
  mutable size_t lastLine_ = 0;       // the line Range found last

  // Lines are looked for a few lines on from the last one found, else by halving: the reader
  // asks in text order nearly always, so finding them costs constant time.
  CogRange Range(qsizetype offset, qsizetype length) const;
  void Add(CogSeverity s, const char* code, const QString& message, qsizetype offset, qsizetype length);
  int Limit(int jk, int mots) const;  // the limit of the game checked for
  // The game's line of the code section for a file line.
  int CodeLine(int fileLine) const { return fileLine - out.codeLine + 1; }

  void ReadHeaderAndSymbols();  // cogscript_symbols.cpp
  void ReadCode();              // cogscript_code.cpp
  void CheckNames();            // cogscript_check.cpp
};

// "Did you mean 'x'?" for the nearest of the candidates, or an empty text. Bounded work.
class Suggester {
 public:
  void Offer(const QString& candidate);
  QString For(const QString& name);

 private:
  std::vector<QString> candidates_;
  long long budget_ = 4000000;
};

inline QString Quoted(QStringView s) { return QLatin1Char('\'') + s.toString() + QLatin1Char('\''); }

}  // namespace scrivane::cogread

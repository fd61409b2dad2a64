#pragma once
// What the games know of the script language: their verbs (argument counts, result, which
// game has each) and their message names. Compiled in from our own table
// (cogfacts_table.inc, written by scripts/gen-cog-facts.py); lookups ignore letter case.
#include <QString>
#include <QStringView>
#include <vector>

namespace scrivane {

// The game a script is checked for. Both: what either game knows is known, and each limit is
// the smaller of the two.
enum class CogGame : int { JK = 1, MotS = 2, Both = 3 };

// "jk", "mots", "both", and back (any letter case); false for any other text.
QString CogGameKey(CogGame game);
bool ParseCogGame(QStringView text, CogGame* game);
// "JK", "MotS", "JK and MotS".
QString CogGameTitle(CogGame game);
// The game chosen in Options; both when none was chosen or the stored text is no game.
CogGame CogGameSetting();

// Bit 1 JK, bit 2 MotS; 0 for a verb that only a modern engine port has.
inline bool KnownIn(int games, CogGame game) { return (games & int(game)) != 0; }

struct CogVerb {
  enum Result { kReturns, kNoValue, kMayReturn };  // kMayReturn: the sources disagree
  QString name;     // as the facts spell it
  int args = 0;     // values the verb takes off the stack; -1 when unknown
  int altArgs = 0;  // another count the facts accept (equal to args when there is none)
  Result result = kReturns;
  int games = 0;
};

struct CogMessage {
  QString name;
  int games = 0;
};

const std::vector<CogVerb>& CogVerbs();        // sorted by name ignoring case
const std::vector<CogMessage>& CogMessages();  // in the games' order of message numbers
const CogVerb* FindCogVerb(QStringView name);  // nullptr when no game (nor a port) has it
const CogMessage* FindCogMessage(QStringView name);

// The ten variables all scripts share: global0 ... global9.
bool IsCogGlobalVariable(QStringView name);

// Edit distance (insertions, deletions, substitutions, swaps of neighbours) ignoring letter
// case, or limit + 1 when it exceeds limit. Texts whose lengths differ by more than limit cost
// nothing; others the product of their lengths at most.
int CogEditDistance(QStringView a, QStringView b, int limit);

}  // namespace scrivane

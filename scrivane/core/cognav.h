#pragma once
// Finding one's way in a read script: where a name under the caret is defined, every place
// that names the same symbol, the words to offer for completion, and the edits that rename a
// declared symbol. Window-free; positions are offsets into the text the script was read from.
#include <QString>
#include <optional>
#include <vector>

#include "scrivane/core/cogscript.h"

namespace scrivane {

// The declaration of the symbol named at offset, the label a call or goto names, the handler
// label of a message declaration, or the message declaration of a handler label.
std::optional<CogRange> CogDefinitionAt(const CogScript& script, QStringView text, qsizetype offset);

// The lower-case name at offset (a use in the code, or a name in a declaration); empty when
// the offset is on no name.
QString CogNameAt(const CogScript& script, QStringView text, qsizetype offset);

// Every declaration and use of that name, in text order (never inside a comment or string).
std::vector<CogRange> CogUsesOf(const CogScript& script, QStringView text, const QString& name);

struct CogCompletion {
  QString word;
  QString kind;  // the symbol's type, "label", "verb" or "message"
};
// The script's symbols and labels, the game's verbs and messages that begin with prefix
// (ignoring case), sorted by word; each word once.
std::vector<CogCompletion> CogCompletions(const CogScript& script, QStringView text, QStringView prefix, CogGame game);

// The ranges to replace by the new name to rename the declared symbol at offset, in text
// order; empty with *why set when it cannot be renamed that way.
std::vector<CogRange> CogRenameRanges(const CogScript& script, QStringView text, qsizetype offset,
                                      const QString& newName, QString* why);

}  // namespace scrivane

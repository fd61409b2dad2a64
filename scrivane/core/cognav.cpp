#include "scrivane/core/cognav.h"

#include <QSet>
#include <algorithm>
#include <map>

namespace scrivane {
namespace {

QString Lower(QStringView text, const CogRange& r) { return text.mid(r.offset, r.length).toString().toLower(); }
bool Holds(const CogRange& r, qsizetype offset) { return offset >= r.offset && offset <= r.offset + r.length; }

int SymbolAt(const CogScript& s, qsizetype offset) {
  for (size_t i = 0; i < s.symbols.size(); ++i)
    if (Holds(s.symbols[i].at, offset)) return int(i);
  return -1;
}

std::optional<CogRange> FirstLabel(const CogScript& s, QStringView text, const QString& name) {
  for (const CogUse& u : s.uses)
    if (u.role == CogUseRole::Label && Lower(text, u.at) == name) return u.at;
  return std::nullopt;
}

bool IsWord(const QString& w) {
  if (w.isEmpty() || !(w[0].isLetter() || w[0] == u'_')) return false;
  return std::all_of(w.begin(), w.end(), [](QChar c) { return (c.isLetterOrNumber() && c.unicode() < 128) || c == u'_'; });
}

}  // namespace

QString CogNameAt(const CogScript& script, QStringView text, qsizetype offset) {
  const int use = script.UseAt(offset);
  if (use >= 0) return Lower(text, script.uses[size_t(use)].at);
  const int sym = SymbolAt(script, offset);
  return sym >= 0 ? script.symbols[size_t(sym)].name : QString();
}

std::optional<CogRange> CogDefinitionAt(const CogScript& script, QStringView text, qsizetype offset) {
  const int use = script.UseAt(offset);
  if (use >= 0) {
    const CogUse& u = script.uses[size_t(use)];
    if (u.symbol >= 0) return script.symbols[size_t(u.symbol)].at;
    if (u.role != CogUseRole::Label) return FirstLabel(script, text, Lower(text, u.at));
    return std::nullopt;
  }
  const int sym = SymbolAt(script, offset);
  if (sym >= 0 && script.symbols[size_t(sym)].type == CogSymbolType::Message)
    return FirstLabel(script, text, script.symbols[size_t(sym)].name);
  return std::nullopt;
}

std::vector<CogRange> CogUsesOf(const CogScript& script, QStringView text, const QString& name) {
  std::vector<CogRange> out;
  if (name.isEmpty()) return out;
  for (const CogSymbol& s : script.symbols)
    if (s.name == name) out.push_back(s.at);
  for (const CogUse& u : script.uses)
    if (u.at.length == name.size() && Lower(text, u.at) == name) out.push_back(u.at);
  return out;
}

std::vector<CogCompletion> CogCompletions(const CogScript& script, QStringView text, QStringView prefix, CogGame game) {
  std::map<QString, CogCompletion> found;  // by lower-case word
  auto offer = [&](const QString& word, const QString& kind) {
    if (!word.startsWith(prefix, Qt::CaseInsensitive)) return;
    found.emplace(word.toLower(), CogCompletion{word, kind});
  };
  for (const CogSymbol& s : script.symbols)
    if (s.type != CogSymbolType::Message) offer(text.mid(s.at.offset, s.at.length).toString(), CogSymbolTypeName(s.type));
  for (const CogUse& u : script.uses)
    if (u.role == CogUseRole::Label) offer(text.mid(u.at.offset, u.at.length).toString(), QStringLiteral("label"));
  for (const CogVerb& v : CogVerbs())
    if (KnownIn(v.games, game)) offer(v.name, QStringLiteral("verb"));
  for (const CogMessage& m : CogMessages())
    if (KnownIn(m.games, game)) offer(m.name, QStringLiteral("message"));
  std::vector<CogCompletion> out;
  for (auto& [key, c] : found) out.push_back(c);
  return out;
}

std::vector<CogRange> CogRenameRanges(const CogScript& script, QStringView text, qsizetype offset,
                                      const QString& newName, QString* why) {
  const QString name = CogNameAt(script, text, offset);
  const int sym = name.isEmpty() ? -1 : script.FindSymbol(name);
  if (sym < 0) {
    *why = QStringLiteral("The caret is on no symbol declared in the symbols section.");
    return {};
  }
  if (script.symbols[size_t(sym)].type == CogSymbolType::Message) {
    *why = QStringLiteral("A message's name is the game's; it cannot be renamed.");
    return {};
  }
  if (!IsWord(newName)) {
    *why = QStringLiteral("'%1' is not a name: it must begin with a letter or '_' followed by letters, digits and '_'.")
               .arg(newName);
    return {};
  }
  const QString key = newName.toLower();
  if (key != name && (script.FindSymbol(key) >= 0 || FindCogVerb(key) || FindCogMessage(key) ||
                      IsCogGlobalVariable(key) || !CogUsesOf(script, text, key).empty())) {
    *why = QStringLiteral("The name '%1' is already used in this script or by the game.").arg(newName);
    return {};
  }
  static const QSet<QString> keywords{"if", "else", "while", "do", "for", "goto", "call", "return", "stop", "break",
                                      "continue", "end", "symbols", "code"};
  if (keywords.contains(key)) {
    *why = QStringLiteral("'%1' is a word of the script language.").arg(newName);
    return {};
  }
  std::vector<CogRange> out = CogUsesOf(script, text, name);
  std::sort(out.begin(), out.end(), [](const CogRange& a, const CogRange& b) { return a.offset < b.offset; });
  return out;
}

}  // namespace scrivane

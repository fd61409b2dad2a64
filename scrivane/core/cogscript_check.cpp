// What the game does with the names of the code: symbols it creates, handlers it ties to
// messages, verbs it calls with the stack as the script leaves it; and the game's limits.
#include <QSet>
#include <algorithm>

#include "scrivane/core/cogscript_p.h"

namespace scrivane::cogread {
namespace {

QString GameOnly(int games) { return games == int(CogGame::MotS) ? QStringLiteral("MotS") : QStringLiteral("JK"); }

QString Count(int n, const char* one, const char* many) {
  return QStringLiteral("%1 %2").arg(n).arg(QLatin1String(n == 1 ? one : many));
}

class NameCheck {
 public:
  explicit NameCheck(Reader& r) : r_(r), s_(r.out) {}

  void Run() {
    for (size_t i = 0; i < s_.uses.size(); ++i) s_.uses[i].symbol = r_.symbolByName.value(r_.useNames[i], -1);
    Labels();
    Uses();
    Calls();
    Unused();
    Limits();
    Stack();
  }

 private:
  bool IsGlobal(const QString& name) const {
    const CogVerb* v = FindCogVerb(name);
    if (v && KnownIn(v->games, r_.game)) return true;
    const CogMessage* m = FindCogMessage(name);
    return (m && KnownIn(m->games, r_.game)) || IsCogGlobalVariable(name);
  }
  bool IsDeclaredMessage(int symbol) const {
    return symbol >= 0 && s_.symbols[size_t(symbol)].type == CogSymbolType::Message;
  }
  const QString& Name(size_t use) const { return r_.useNames[use]; }
  // The name as the script spells it at a place.
  QString Written(const CogRange& at) const { return r_.text.mid(at.offset, at.length).toString(); }
  void Add(CogSeverity s, const char* c, const QString& m, const CogRange& at) { r_.Add(s, c, m, at.offset, at.length); }

  void Labels() {
    for (size_t i = 0; i < s_.uses.size(); ++i) {
      const CogUse& u = s_.uses[i];
      if (u.role != CogUseRole::Label) continue;
      const auto seen = labels_.constFind(Name(i));
      if (seen != labels_.cend()) {
        const int firstLine = s_.uses[size_t(*seen)].at.line;
        Add(CogSeverity::Warning, code::kTwoLabels,
            IsDeclaredMessage(u.symbol)
                ? QStringLiteral("The message %1 already has a handler at line %2; the game ties the message to one "
                                 "of the two labels only.").arg(Quoted(Name(i))).arg(firstLine)
                : QStringLiteral("The label %1 is already at line %2; jumps to it go to one of the two only.")
                      .arg(Quoted(Name(i))).arg(firstLine),
            u.at);
        continue;
      }
      labels_.insert(Name(i), int(i));
      const CogMessage* m = FindCogMessage(Name(i));
      if (m && !IsDeclaredMessage(u.symbol))
        Add(CogSeverity::Warning, code::kUndeclaredHandler,
            QStringLiteral("This handles the message %1, but the symbols section has no 'message %2' line, so the "
                           "game never runs it for that message.").arg(Quoted(m->name), Name(i)),
            u.at);
    }
  }

  void Uses() {
    Suggester names, targets;
    bool suggestionsReady = false, targetsReady = false;
    QHash<QString, int> firstRead, firstWrite;
    std::vector<QString> implicitOrder;
    QHash<QString, bool> created;
    for (size_t i = 0; i < s_.uses.size(); ++i) {
      const CogUse& u = s_.uses[i];
      const QString& name = Name(i);
      if (u.symbol >= 0) {
        used_.insert(u.symbol);
        continue;
      }
      if (IsGlobal(name)) continue;
      if (!created.contains(name)) {
        created.insert(name, true);
        r_.costs.push_back({u.at.offset, u.at.length, 1, 1});
      }
      if (u.role == CogUseRole::CallTarget || u.role == CogUseRole::GotoTarget) {
        if (!labels_.contains(name) && !r_.syntaxFailed) {
          if (!targetsReady) {
            targetsReady = true;
            for (auto it = labels_.cbegin(); it != labels_.cend(); ++it) targets.Offer(it.key());
          }
          Add(CogSeverity::Warning, code::kNoSuchLabel,
              QStringLiteral("No label %1 exists: the game jumps to an undefined place when this line runs.%2")
                  .arg(Quoted(Written(u.at)), targets.For(name)),
              u.at);
        }
        continue;
      }
      if (u.role != CogUseRole::Read && u.role != CogUseRole::Write) continue;
      if (labels_.contains(name)) continue;
      auto& first = u.role == CogUseRole::Read ? firstRead : firstWrite;
      if (!firstRead.contains(name) && !firstWrite.contains(name)) implicitOrder.push_back(name);
      if (!first.contains(name)) first.insert(name, int(i));
    }
    for (const QString& name : implicitOrder) {
      const auto w = firstWrite.constFind(name);
      if (w != firstWrite.cend()) {
        Add(CogSeverity::Note, code::kImplicitVariable,
            QStringLiteral("%1 is declared nowhere: the game creates it as a variable of this script, holding 0 until "
                           "it is assigned.").arg(Quoted(Written(s_.uses[size_t(*w)].at))),
            s_.uses[size_t(*w)].at);
        continue;
      }
      if (!suggestionsReady) {
        suggestionsReady = true;
        for (const CogSymbol& sym : s_.symbols)
          if (sym.type != CogSymbolType::Message) names.Offer(sym.name);
        for (const CogVerb& v : CogVerbs())
          if (KnownIn(v.games, r_.game)) names.Offer(v.name);
        for (const CogMessage& m : CogMessages())
          if (KnownIn(m.games, r_.game)) names.Offer(m.name);
      }
      Add(CogSeverity::Warning, code::kUndeclaredRead,
          QStringLiteral("%1 is declared nowhere and never assigned: the game creates it holding 0, and it reads "
                         "0 here.%2").arg(Quoted(Written(s_.uses[size_t(firstRead.value(name))].at)), names.For(name)),
          s_.uses[size_t(firstRead.value(name))].at);
    }
  }

  // Every call, with whether the value it leaves is used; the tree is walked without recursion.
  void Calls() {
    if (s_.nodes.empty()) return;
    std::vector<std::pair<int, bool>> todo{{0, false}};
    const auto& nodes = s_.nodes;
    Suggester verbs;
    bool verbsReady = false;
    while (!todo.empty()) {
      const auto [n, usedValue] = todo.back();
      todo.pop_back();
      const CogNode& node = nodes[size_t(n)];
      std::vector<int> kids;
      for (int c = node.first; c >= 0; c = nodes[size_t(c)].next) kids.push_back(c);
      auto push = [&](size_t k, bool used) {
        if (k < kids.size()) todo.push_back({kids[k], used});
      };
      switch (node.kind) {
        case CogNodeKind::Code: case CogNodeKind::Block: case CogNodeKind::Label:
          for (size_t k = 0; k < kids.size(); ++k) push(k, false);
          break;
        case CogNodeKind::ExprStmt:
          push(0, false);
          break;
        case CogNodeKind::If: case CogNodeKind::While:
          push(0, true);
          for (size_t k = 1; k < kids.size(); ++k) push(k, false);
          break;
        case CogNodeKind::Do:
          push(0, false);
          push(1, true);
          break;
        case CogNodeKind::For:
          push(0, false);
          if (kids.size() > 1) {
            const int cond = nodes[size_t(kids[1])].first;
            if (cond >= 0) todo.push_back({cond, true});
          }
          push(2, false);
          push(3, false);
          break;
        case CogNodeKind::Comma:
          for (size_t k = 0; k < kids.size(); ++k) push(k, k + 1 == kids.size() && usedValue);
          break;
        case CogNodeKind::CallExpr: {
          if (!kids.empty()) CheckCall(node, kids, usedValue, verbs, verbsReady);
          for (size_t k = 1; k < kids.size(); ++k) push(k, true);
          if (!kids.empty() && nodes[size_t(kids[0])].kind != CogNodeKind::Name) push(0, true);
          break;
        }
        default:
          for (size_t k = 0; k < kids.size(); ++k) push(k, true);
          break;
      }
    }
  }

  void CheckCall(const CogNode& call, const std::vector<int>& kids, bool usedValue, Suggester& verbs, bool& verbsReady) {
    const CogNode& callee = s_.nodes[size_t(kids[0])];
    const int args = int(kids.size()) - 1;
    if (callee.kind != CogNodeKind::Name) {
      Add(CogSeverity::Warning, code::kNotAVerb,
          QStringLiteral("Only a verb can be called; calling anything else fails when this line runs."), call.at);
      return;
    }
    const QString& name = Name(size_t(callee.use));
    const int symbol = s_.uses[size_t(callee.use)].symbol;
    if (symbol >= 0) {
      Add(CogSeverity::Warning, code::kNotAVerb,
          QStringLiteral("%1 is a symbol of this script (line %2), not a verb: calling it fails when this line runs.")
              .arg(Quoted(Written(callee.at))).arg(s_.symbols[size_t(symbol)].at.line),
          callee.at);
      return;
    }
    const CogVerb* v = FindCogVerb(name);
    if (!v || v->games == 0) {
      if (!verbsReady) {
        verbsReady = true;
        for (const CogVerb& verb : CogVerbs())
          if (KnownIn(verb.games, r_.game)) verbs.Offer(verb.name);
      }
      Add(CogSeverity::Warning, code::kNotAVerb,
          v ? QStringLiteral("%1 is a verb of a modern engine port only; the retail games do not have it, so calling "
                             "it fails when this line runs.").arg(Quoted(v->name))
            : QStringLiteral("%1 is not a verb: calling it fails when this line runs.%2")
                  .arg(Quoted(Written(callee.at)), verbs.For(name)),
          callee.at);
      return;
    }
    if (!KnownIn(v->games, r_.game)) {
      Add(CogSeverity::Warning, code::kOtherGame,
          QStringLiteral("%1 is a verb of %2 only; %3 does not have it, so calling it fails when this line runs.")
              .arg(Quoted(v->name), GameOnly(v->games), CogGameTitle(r_.game)),
          callee.at);
      return;
    }
    if (v->name.compare(u"ModifyColorEffect", Qt::CaseInsensitive) == 0) {
      Add(CogSeverity::Warning, code::kModifyColorEffect,
          QStringLiteral("In the retail games ModifyColorEffect runs the code of FreeColorEffect: it takes one value "
                         "and frees the effect instead of changing it."),
          callee.at);
      return;
    }
    if (v->args >= 0 && args != v->args && args != v->altArgs) {
      const QString takes = v->altArgs != v->args
                                ? QStringLiteral("%1 or %2").arg(v->args).arg(Count(v->altArgs, "argument", "arguments"))
                                : Count(v->args, "argument", "arguments");
      Add(CogSeverity::Warning, code::kArgumentCount,
          QStringLiteral("%1 takes %2, but %3 written: the game takes %4 off the stack all the same, so this call "
                         "and later ones get wrong values.")
              .arg(Quoted(v->name), takes, args == 1 ? QStringLiteral("1 is") : QStringLiteral("%1 are").arg(args),
                   Count(v->args, "value", "values")),
          call.at);
    }
    if (usedValue && v->result == CogVerb::kNoValue)
      Add(CogSeverity::Warning, code::kNoValue,
          QStringLiteral("%1 returns no value, so using it as one gives garbage.").arg(Quoted(v->name)), callee.at);
  }

  void Unused() {
    if (r_.syntaxFailed) return;
    for (size_t i = 0; i < s_.symbols.size(); ++i) {
      const CogSymbol& sym = s_.symbols[i];
      if (r_.symbolByName.value(sym.name) != int(i)) continue;
      if (sym.type == CogSymbolType::Message) {
        if (!labels_.contains(sym.name))
          Add(CogSeverity::Note, code::kNoHandler,
              QStringLiteral("The message %1 is declared, but no '%2:' label handles it.").arg(Quoted(sym.name), sym.name),
              sym.at);
        continue;
      }
      // A linked thing, surface, sector... is not idle when the code never names it: the game
      // sends the script the messages of what it is linked to.
      const bool linked = int(sym.type) <= int(CogSymbolType::Ai) && !sym.local && !sym.nolink;
      if (!used_.contains(int(i)) && !linked) {
        Add(CogSeverity::Note, code::kUnused,
            QStringLiteral("%1 is declared but the code never uses it.").arg(Quoted(sym.name)), sym.at);
      }
    }
  }

  // Symbols: the declared ones, then names created by use and strings in text order; the jump
  // table: one entry per symbol and the entries of each control statement.
  void Limits() {
    auto& costs = r_.costs;
    std::stable_sort(costs.begin(), costs.end(), [](const Cost& a, const Cost& b) { return a.offset < b.offset; });
    const int maxSymbols = r_.Limit(256, 256), maxJumps = r_.Limit(512, 1024);
    int symbols = int(s_.symbols.size()), jumps = symbols;
    if (symbols > maxSymbols) {
      const CogSymbol& over = s_.symbols[size_t(maxSymbols)];
      Add(CogSeverity::Warning, code::kLimit,
          QStringLiteral("A script has at most %1 symbols; the game does not create this one or any after it.")
              .arg(maxSymbols), over.at);
    }
    bool jumpsReported = jumps > maxJumps;
    for (const Cost& c : costs) {
      const bool symbolsBefore = symbols > maxSymbols;
      symbols += c.symbols;
      jumps += c.jumps;
      if (!symbolsBefore && symbols > maxSymbols)
        r_.Add(CogSeverity::Warning, code::kLimit,
               QStringLiteral("A script has at most %1 symbols (declared ones, names the code creates and every "
                              "string); the game does not create this one or any after it.").arg(maxSymbols),
               c.offset, c.length);
      if (!jumpsReported && jumps > maxJumps && !r_.syntaxFailed) {
        jumpsReported = true;
        r_.Add(CogSeverity::Warning, code::kLimit,
               QStringLiteral("The game's jump table holds %1 entries (one per symbol, and more for each if, while, "
                              "do and for); it overflows here and the script misbehaves.").arg(maxJumps),
               c.offset, c.length);
      }
    }
  }

  // The game's value stack: every value an expression works out stays on it until what takes
  // it (a call takes its arguments, an operator its operands), so an expression needs at once
  // the values still waiting plus what the next one needs. The tree is walked without
  // recursion (a long chain of operators is a deep tree); each expression that is not part of
  // another is checked.
  void Stack() {
    const auto& nodes = s_.nodes;
    if (nodes.empty()) return;
    const int maxValues = r_.Limit(64, 64);
    const auto isValue = [&](int n) { return int(nodes[size_t(n)].kind) >= int(CogNodeKind::Name); };
    std::vector<int> need(nodes.size(), 0);
    std::vector<std::pair<int, bool>> todo{{0, false}};
    while (!todo.empty()) {
      const auto [n, done] = todo.back();
      todo.pop_back();
      const CogNode& node = nodes[size_t(n)];
      if (!done) {
        todo.push_back({n, true});
        for (int c = node.first; c >= 0; c = nodes[size_t(c)].next) todo.push_back({c, false});
        continue;
      }
      int most = 0, waiting = 0;
      for (int c = node.first; c >= 0; c = nodes[size_t(c)].next) {
        if (!isValue(c)) continue;
        if (isValue(n) || need[size_t(c)] <= maxValues) {
          most = std::max(most, waiting + need[size_t(c)]);
        } else {
          r_.Add(CogSeverity::Warning, code::kLimit,
                 QStringLiteral("Working this out needs %1 values on the game's stack at once; it holds %2, so the "
                                "line misbehaves when it runs.").arg(need[size_t(c)]).arg(maxValues),
                 nodes[size_t(c)].at.offset, nodes[size_t(c)].at.length);
        }
        // Arguments and left operands wait; a callee, a comma's parts and an assigned value do not.
        const CogNodeKind k = node.kind;
        if ((k == CogNodeKind::CallExpr && c != node.first) || k == CogNodeKind::Binary || k == CogNodeKind::Index) ++waiting;
      }
      need[size_t(n)] = std::max(most, 1);
    }
  }

  Reader& r_;
  CogScript& s_;
  QHash<QString, int> labels_;  // first label of each name
  QSet<int> used_;
};

}  // namespace

void Reader::CheckNames() { NameCheck(*this).Run(); }

}  // namespace scrivane::cogread

// What the game does with the names of the code: symbols it creates, handlers it ties to
// messages, verbs it calls with the stack as the script leaves it; and the game's limits. The
// checks of one call or one expression are made for each chunk of the code as it is read; the
// checks of the whole script (labels, names, unused symbols, limits) are made from what each
// chunk records of its names, so that they cost no pass over the whole code.
#include <QSet>
#include <algorithm>
#include <iterator>

#include "scrivane/core/cogscript_p.h"

namespace scrivane::cogread {
namespace {

QString GameOnly(int games) { return games == int(CogGame::MotS) ? QStringLiteral("MotS") : QStringLiteral("JK"); }

QString Count(int n, const char* one, const char* many) {
  return QStringLiteral("%1 %2").arg(n).arg(QLatin1String(n == 1 ? one : many));
}

bool IsRole(const CogUse& u, CogUseRole a, CogUseRole b) { return u.role == a || u.role == b; }

class ChunkCheck {
 public:
  ChunkCheck(Reader& r, Chunk& c) : r_(r), c_(c) {}

  void Run() {
    Calls();
    Stack();
    Names();
  }

 private:
  const QString& Name(size_t use) const { return r_.st.names[size_t(c_.useNames[use])].name; }
  // The name as the script spells it at a place.
  QString Written(const CogRange& at) const { return r_.Mid(at.offset, at.length); }
  void Add(CogSeverity s, const char* c, const QString& m, const CogRange& at) { r_.Add(s, c, m, at.offset, at.length); }

  // Every call, with whether the value it leaves is used; the tree is walked without recursion.
  void Calls() {
    r_.sink = &c_.calls;
    std::vector<std::pair<int, bool>> todo;
    for (int top : c_.tops) todo.push_back({top, false});
    const auto& nodes = c_.nodes;
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
          if (!kids.empty()) CheckCall(node, kids, usedValue);
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

  void CheckCall(const CogNode& call, const std::vector<int>& kids, bool usedValue) {
    const CogNode& callee = c_.nodes[size_t(kids[0])];
    const int args = int(kids.size()) - 1;
    if (callee.kind != CogNodeKind::Name) {
      Add(CogSeverity::Warning, code::kNotAVerb,
          QStringLiteral("Only a verb can be called; calling anything else fails when this line runs."), call.at);
      return;
    }
    const QString& name = Name(size_t(callee.use));
    const int symbol = c_.uses[size_t(callee.use)].symbol;
    if (symbol >= 0) {
      Add(CogSeverity::Warning, code::kNotAVerb,
          QStringLiteral("%1 is a symbol of this script (line %2), not a verb: calling it fails when this line runs.")
              .arg(Quoted(Written(callee.at))).arg(r_.out.symbols[size_t(symbol)].at.line),
          callee.at);
      return;
    }
    const CogVerb* v = FindCogVerb(name);
    if (!v || v->games == 0) {
      // The suggestion comes when the whole script is checked: it draws on a budget spent in
      // the order of the whole script's calls.
      if (!v) c_.unknownVerbs.push_back({int(c_.calls.size()), c_.useNames[size_t(callee.use)]});
      Add(CogSeverity::Warning, code::kNotAVerb,
          v ? QStringLiteral("%1 is a verb of a modern engine port only; the retail games do not have it, so calling "
                             "it fails when this line runs.").arg(Quoted(v->name))
            : QStringLiteral("%1 is not a verb: calling it fails when this line runs.%2")
                  .arg(Quoted(Written(callee.at)), QString()),
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

  // The game's value stack: every value an expression works out stays on it until what takes
  // it (a call takes its arguments, an operator its operands), so an expression needs at once
  // the values still waiting plus what the next one needs. The tree is walked without
  // recursion (a long chain of operators is a deep tree); each expression that is not part of
  // another is checked.
  void Stack() {
    r_.sink = &c_.stack;
    const auto& nodes = c_.nodes;
    const int maxValues = r_.Limit(64, 64);
    const auto isValue = [&](int n) { return int(nodes[size_t(n)].kind) >= int(CogNodeKind::Name); };
    std::vector<int> need(nodes.size(), 0);
    std::vector<std::pair<int, bool>> todo;
    for (int top : c_.tops) todo.push_back({top, false});
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

  void Names() {
    QHash<int, int> created;  // name, index into c_.created
    QSet<int> symbols;
    for (size_t i = 0; i < c_.uses.size(); ++i) {
      const CogUse& u = c_.uses[i];
      const int id = c_.useNames[i];
      const NameInfo& name = r_.st.names[size_t(id)];
      if (u.role == CogUseRole::Label) c_.labels.push_back(int(i));
      if (name.symbol >= 0) {
        if (!symbols.contains(name.symbol)) {
          symbols.insert(name.symbol);
          c_.symbolsUsed.push_back(name.symbol);
        }
        continue;
      }
      if (name.global) continue;
      auto it = created.find(id);
      if (it == created.end()) {
        it = created.insert(id, int(c_.created.size()));
        Chunk::Created n;
        n.name = id;
        n.first = int(i);
        c_.created.push_back(n);
      }
      Chunk::Created& n = c_.created[size_t(*it)];
      if (IsRole(u, CogUseRole::CallTarget, CogUseRole::GotoTarget)) {
        c_.targets.push_back(int(i));
        c_.targetsAs.push_back(Written(u.at));
        continue;
      }
      if (!IsRole(u, CogUseRole::Read, CogUseRole::Write)) continue;
      if (n.firstRead < 0 && n.firstWrite < 0) c_.readWrite.push_back(*it);
      if (u.role == CogUseRole::Read && n.firstRead < 0) {
        n.firstRead = int(i);
        n.readAs = Written(u.at);
      } else if (u.role == CogUseRole::Write && n.firstWrite < 0) {
        n.firstWrite = int(i);
        n.writtenAs = Written(u.at);
      }
    }
  }

  Reader& r_;
  Chunk& c_;
};

// The checks of the whole script, from the header and the chunks read.
class Whole {
 public:
  explicit Whole(const State& st) : st_(st), live_(st.chunks.data()), n_(st.live) {}

  CogScript Run(bool withUses, bool withTree) {
    const CogScript& h = st_.header;
    s_.symbolsLine = h.symbolsLine;
    s_.codeLine = h.codeLine;
    s_.codeStart = h.codeStart;
    s_.symbols = h.symbols;
    // The findings of each chunk lie within it, so each chunk's are sorted on their own and
    // the chunks' follow one another; those of the header and symbols come first.
    head_ = h.findings;
    to_ = &head_;
    if (h.codeStart >= 0 && n_ > 0) {
      buckets_.resize(n_);
      const Chunk& last = live_[n_ - 1];
      failed_ = last.failed;
      s_.codeEnd = last.Now(last.stop);
      const size_t names = st_.names.size();
      firstLabel_.assign(names, 0);
      for (size_t k = 0; k < n_; ++k) {
        const Chunk& c = live_[k];
        for (const CogFinding& f : c.parse) {
          CogFinding g = Moved(c, f);
          if (f.code == QLatin1String(code::kSyntax) && c.lineShift != 0)
            g.message = SyntaxMessage(c.failWhy, c.failBraceLine > 0 ? c.failBraceLine + c.lineShift : 0, g.at.line,
                                      h.codeLine);
          buckets_[k].push_back(g);
        }
      }
      Labels();
      Uses();
      Calls();
      Unused();
      Limits();
      for (size_t k = 0; k < n_; ++k)
        for (const CogFinding& f : live_[k].stack) buckets_[k].push_back(Moved(live_[k], f));
      if (withUses || withTree) Tree(withTree);
    }
    const auto byPlace = [](const CogFinding& a, const CogFinding& b) { return a.at.offset < b.at.offset; };
    size_t all = head_.size();
    for (const auto& b : buckets_) all += b.size();
    s_.findings.reserve(all);
    std::stable_sort(head_.begin(), head_.end(), byPlace);
    std::move(head_.begin(), head_.end(), std::back_inserter(s_.findings));
    for (auto& b : buckets_) {
      std::stable_sort(b.begin(), b.end(), byPlace);
      std::move(b.begin(), b.end(), std::back_inserter(s_.findings));
    }
    s_.loads = std::none_of(s_.findings.begin(), s_.findings.end(),
                            [](const CogFinding& f) { return f.severity == CogSeverity::Error; });
    return std::move(s_);
  }

 private:
  static CogFinding Moved(const Chunk& c, const CogFinding& f) {
    CogFinding g = f;
    g.at = c.At(f.at);
    g.endLine += c.lineShift;
    return g;
  }
  int Limit(int jk, int mots) const {
    return st_.game == CogGame::JK ? jk : st_.game == CogGame::MotS ? mots : std::min(jk, mots);
  }
  void Add(CogSeverity s, const char* c, const QString& message, const CogRange& at, int endLine, int endColumn) {
    CogFinding f;
    f.severity = s;
    f.code = CodeText(c);
    f.message = message;
    f.at = at;
    f.endLine = endLine;
    f.endColumn = endColumn;
    to_->push_back(f);
  }
  // At a name in the code (which never spans lines).
  void AddAtUse(CogSeverity s, const char* c, const QString& message, const CogRange& at) {
    Add(s, c, message, at, at.line, at.column + int(at.length));
  }
  void AddAtSymbol(CogSeverity s, const char* c, const QString& message, size_t symbol) {
    const auto [line, column] = st_.symbolEnds[symbol];
    Add(s, c, message, s_.symbols[symbol].at, line, column);
  }
  bool IsDeclaredMessage(int symbol) const {
    return symbol >= 0 && s_.symbols[size_t(symbol)].type == CogSymbolType::Message;
  }
  const QString& Name(int id) const { return st_.names[size_t(id)].name; }

  void Labels() {
    std::vector<QString> twice(st_.names.size());
    for (size_t k = 0; k < n_; ++k) {
      const Chunk& c = live_[k];
      to_ = &buckets_[k];
      for (int i : c.labels) {
        const int id = c.useNames[size_t(i)];
        const NameInfo& name = st_.names[size_t(id)];
        const CogRange at = c.At(c.uses[size_t(i)].at);
        if (firstLabel_[size_t(id)] > 0) {
          QString& m = twice[size_t(id)];
          if (m.isEmpty())
            m = IsDeclaredMessage(name.symbol)
                                     ? QStringLiteral("The message %1 already has a handler at line %2; the game ties "
                                                      "the message to one of the two labels only.")
                                           .arg(Quoted(name.name)).arg(firstLabel_[size_t(id)])
                                     : QStringLiteral("The label %1 is already at line %2; jumps to it go to one of "
                                                      "the two only.").arg(Quoted(name.name)).arg(firstLabel_[size_t(id)]);
          AddAtUse(CogSeverity::Warning, code::kTwoLabels, m, at);
          continue;
        }
        firstLabel_[size_t(id)] = at.line;
        labelOrder_.push_back(id);
        if (name.message && !IsDeclaredMessage(name.symbol))
          AddAtUse(CogSeverity::Warning, code::kUndeclaredHandler,
                   QStringLiteral("This handles the message %1, but the symbols section has no 'message %2' line, so "
                                  "the game never runs it for that message.").arg(Quoted(name.message->name), name.name),
                   at);
      }
    }
  }

  void Uses() {
    const size_t names = st_.names.size();
    used_.assign(s_.symbols.size(), 0);
    createdCosts_.assign(n_, {});
    std::vector<char> created(names, 0);
    for (size_t k = 0; k < n_; ++k) {
      const Chunk& c = live_[k];
      for (int symbol : c.symbolsUsed) used_[size_t(symbol)] = 1;
      for (const Chunk::Created& n : c.created) {
        if (created[size_t(n.name)]) continue;
        created[size_t(n.name)] = 1;
        const CogRange at = c.At(c.uses[size_t(n.first)].at);
        Cost cost;
        cost.offset = at.offset;
        cost.length = at.length;
        cost.at = at;
        cost.endLine = at.line;
        cost.endColumn = at.column + int(at.length);
        cost.symbols = cost.jumps = 1;
        createdCosts_[k].push_back(cost);
      }
    }
    if (!failed_) {
      QHash<QString, QString> memo;
      Suggester targets(&memo);
      bool targetsReady = false;
      for (size_t k = 0; k < n_; ++k) {
        const Chunk& c = live_[k];
        to_ = &buckets_[k];
        for (size_t t = 0; t < c.targets.size(); ++t) {
          const int use = c.targets[t];
          const int id = c.useNames[size_t(use)];
          if (firstLabel_[size_t(id)] > 0) continue;
          if (!targetsReady) {
            targetsReady = true;
            // In the order of a table of the labels as the game's names hash them.
            QHash<QString, int> labels;
            for (int label : labelOrder_) labels.insert(Name(label), 0);
            for (auto it = labels.cbegin(); it != labels.cend(); ++it) targets.Offer(it.key());
          }
          AddAtUse(CogSeverity::Warning, code::kNoSuchLabel,
                   QStringLiteral("No label %1 exists: the game jumps to an undefined place when this line runs.%2")
                       .arg(Quoted(c.targetsAs[t]), targets.For(Name(id))),
                   c.At(c.uses[size_t(use)].at));
        }
      }
    }
    // Names read or written that nothing declares, in the order of their first read or write.
    std::vector<int> order;
    std::vector<std::pair<int, int>> firstRead(names, {-1, -1}), firstWrite(names, {-1, -1});  // chunk, created
    for (size_t k = 0; k < n_; ++k) {
      const Chunk& c = live_[k];
      for (int i : c.readWrite) {
        const Chunk::Created& n = c.created[size_t(i)];
        if (firstLabel_[size_t(n.name)] > 0) continue;
        auto& read = firstRead[size_t(n.name)];
        auto& write = firstWrite[size_t(n.name)];
        if (read.first < 0 && write.first < 0) order.push_back(n.name);
        if (n.firstRead >= 0 && read.first < 0) read = {int(k), i};
        if (n.firstWrite >= 0 && write.first < 0) write = {int(k), i};
      }
    }
    Suggester suggest(&st_.nameMemo);
    bool suggestionsReady = false;
    for (int id : order) {
      if (const auto [k, i] = firstWrite[size_t(id)]; k >= 0) {
        const Chunk& c = live_[size_t(k)];
        to_ = &buckets_[size_t(k)];
        const Chunk::Created& n = c.created[size_t(i)];
        AddAtUse(CogSeverity::Note, code::kImplicitVariable,
                 QStringLiteral("%1 is declared nowhere: the game creates it as a variable of this script, holding 0 "
                                "until it is assigned.").arg(Quoted(n.writtenAs)),
                 c.At(c.uses[size_t(n.firstWrite)].at));
        continue;
      }
      if (!suggestionsReady) {
        suggestionsReady = true;
        for (const CogSymbol& sym : s_.symbols)
          if (sym.type != CogSymbolType::Message) suggest.Offer(sym.name);
        for (const CogVerb& v : CogVerbs())
          if (KnownIn(v.games, st_.game)) suggest.Offer(v.name);
        for (const CogMessage& m : CogMessages())
          if (KnownIn(m.games, st_.game)) suggest.Offer(m.name);
      }
      const auto [k, i] = firstRead[size_t(id)];
      const Chunk& c = live_[size_t(k)];
      to_ = &buckets_[size_t(k)];
      const Chunk::Created& n = c.created[size_t(i)];
      AddAtUse(CogSeverity::Warning, code::kUndeclaredRead,
               QStringLiteral("%1 is declared nowhere and never assigned: the game creates it holding 0, and it reads "
                              "0 here.%2").arg(Quoted(n.readAs), suggest.For(Name(id))),
               c.At(c.uses[size_t(n.firstRead)].at));
    }
  }

  // The calls' findings; the suggestions for names that are no verb are drawn in the order the
  // whole script's calls are checked in: from the last statement back.
  void Calls() {
    Suggester verbs(&st_.verbMemo);
    bool verbsReady = false;
    std::vector<std::vector<QString>> more(n_);
    for (size_t k = n_; k-- > 0;) {
      const Chunk& c = live_[k];
      more[k].resize(c.calls.size());
      for (const auto& [finding, name] : c.unknownVerbs) {
        if (!verbsReady) {
          verbsReady = true;
          for (const CogVerb& verb : CogVerbs())
            if (KnownIn(verb.games, st_.game)) verbs.Offer(verb.name);
        }
        more[k][size_t(finding)] = verbs.For(Name(name));
      }
    }
    for (size_t k = 0; k < n_; ++k) {
      const Chunk& c = live_[k];
      for (size_t i = 0; i < c.calls.size(); ++i) {
        buckets_[k].push_back(Moved(c, c.calls[i]));
        if (!more[k][i].isEmpty()) buckets_[k].back().message += more[k][i];
      }
    }
  }

  void Unused() {
    if (failed_) return;
    to_ = &head_;
    for (size_t i = 0; i < s_.symbols.size(); ++i) {
      const CogSymbol& sym = s_.symbols[i];
      if (st_.symbolByName.value(sym.name) != int(i)) continue;
      if (sym.type == CogSymbolType::Message) {
        const int id = st_.nameIds.value(sym.name, -1);
        if (id < 0 || firstLabel_[size_t(id)] == 0)
          AddAtSymbol(CogSeverity::Note, code::kNoHandler,
                      QStringLiteral("The message %1 is declared, but no '%2:' label handles it.").arg(Quoted(sym.name), sym.name),
                      i);
        continue;
      }
      // A linked thing, surface, sector... is not idle when the code never names it: the game
      // sends the script the messages of what it is linked to.
      const bool linked = int(sym.type) <= int(CogSymbolType::Ai) && !sym.local && !sym.nolink;
      if (!used_[i] && !linked)
        AddAtSymbol(CogSeverity::Note, code::kUnused,
                    QStringLiteral("%1 is declared but the code never uses it.").arg(Quoted(sym.name)), i);
    }
  }

  // Symbols: the declared ones, then names created by use and strings in text order; the jump
  // table: one entry per symbol and the entries of each control statement. Only a chunk in
  // which a count passes its limit is looked into.
  void Limits() {
    const int maxSymbols = Limit(256, 256), maxJumps = Limit(512, 1024);
    int symbols = int(s_.symbols.size()), jumps = symbols;
    to_ = &head_;
    if (symbols > maxSymbols)
      AddAtSymbol(CogSeverity::Warning, code::kLimit,
                  QStringLiteral("A script has at most %1 symbols; the game does not create this one or any after it.")
                      .arg(maxSymbols), size_t(maxSymbols));
    bool jumpsReported = jumps > maxJumps;
    for (size_t k = 0; k < n_; ++k) {
      const Chunk& c = live_[k];
      const int created = int(createdCosts_[k].size());
      const int addSymbols = c.costSymbols + created, addJumps = c.costJumps + created;
      if (!(symbols <= maxSymbols && symbols + addSymbols > maxSymbols) &&
          !(!jumpsReported && !failed_ && jumps + addJumps > maxJumps)) {
        symbols += addSymbols;
        jumps += addJumps;
        continue;
      }
      to_ = &buckets_[k];
      std::vector<Cost> costs = createdCosts_[k];
      for (const Cost& cost : c.costs) {
        Cost moved = cost;
        moved.at = c.At(cost.at);
        moved.offset = moved.at.offset;
        moved.endLine += c.lineShift;
        costs.push_back(moved);
      }
      std::stable_sort(costs.begin(), costs.end(), [](const Cost& a, const Cost& b) { return a.offset < b.offset; });
      for (const Cost& cost : costs) {
        const bool symbolsBefore = symbols > maxSymbols;
        symbols += cost.symbols;
        jumps += cost.jumps;
        if (!symbolsBefore && symbols > maxSymbols)
          Add(CogSeverity::Warning, code::kLimit,
              QStringLiteral("A script has at most %1 symbols (declared ones, names the code creates and every "
                             "string); the game does not create this one or any after it.").arg(maxSymbols),
              cost.at, cost.endLine, cost.endColumn);
        if (!jumpsReported && jumps > maxJumps && !failed_) {
          jumpsReported = true;
          Add(CogSeverity::Warning, code::kLimit,
              QStringLiteral("The game's jump table holds %1 entries (one per symbol, and more for each if, while, "
                             "do and for); it overflows here and the script misbehaves.").arg(maxJumps),
              cost.at, cost.endLine, cost.endColumn);
        }
      }
    }
  }

  // The uses of the code and, on request, its syntax tree, as one.
  void Tree(bool withTree) {
    int lastTop = -1;
    if (withTree) {
      CogNode code;
      code.kind = CogNodeKind::Code;
      code.at = st_.codeAt;
      code.at.length = s_.codeEnd - s_.codeStart;
      s_.nodes.push_back(code);
    }
    for (size_t k = 0; k < n_; ++k) {
      const Chunk& c = live_[k];
      const int nodeBase = int(s_.nodes.size()), useBase = int(s_.uses.size());
      for (CogUse u : c.uses) {
        u.at = c.At(u.at);
        s_.uses.push_back(u);
      }
      if (!withTree) continue;
      for (CogNode n : c.nodes) {
        n.at = c.At(n.at);
        if (n.first >= 0) n.first += nodeBase;
        if (n.next >= 0) n.next += nodeBase;
        if (n.use >= 0) n.use += useBase;
        s_.nodes.push_back(n);
      }
      for (int top : c.tops) {
        if (lastTop < 0) s_.nodes[0].first = nodeBase + top;
        else s_.nodes[size_t(lastTop)].next = nodeBase + top;
        lastTop = nodeBase + top;
      }
    }
  }

  const State& st_;
  const Chunk* live_;
  size_t n_;
  CogScript s_;
  std::vector<CogFinding> head_;                  // of the header and symbols
  std::vector<std::vector<CogFinding>> buckets_;  // of each chunk
  std::vector<CogFinding>* to_ = nullptr;         // where Add puts a finding
  bool failed_ = false;
  std::vector<int> firstLabel_;  // the line of each name's first label, 0 when none
  std::vector<int> labelOrder_;  // names of labels by their first label
  std::vector<char> used_;
  std::vector<std::vector<Cost>> createdCosts_;  // by chunk
};

}  // namespace

void CheckChunk(Reader& r, Chunk& c) { ChunkCheck(r, c).Run(); }

CogScript Assemble(const State& st, bool withUses, bool withTree) { return Whole(st).Run(withUses, withTree); }

}  // namespace scrivane::cogread

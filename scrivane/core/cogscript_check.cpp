// What the game does with the names of the code: symbols it creates, handlers it ties to
// messages, verbs it calls with the stack as the script leaves it; and the game's limits. The
// checks of one call or one expression are made for each chunk of the code as it is read; the
// checks of the whole script (labels, names, unused symbols, limits) are made from what each
// chunk records of its names, so that they cost no pass over the whole code.
#include <QSet>
#include <algorithm>
#include <cstdlib>
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
        if (name.symbol < Chunk::kSymbolBits) {
          c_.symbolBits[name.symbol / 64] |= uint64_t(1) << (name.symbol % 64);
        } else if (!symbols.contains(name.symbol)) {
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

// The checks of the whole script, from the header and the chunks read. They are worked out
// first as makings (cheap, no text made); a chunk whose makings are those of its last findings
// keeps them, and only the others' findings are made.
class Whole {
 public:
  explicit Whole(const State& st) : st_(st), h_(st.header), live_(st.chunks), n_(st.live) {}

  std::shared_ptr<const CogFindingList> Run(CogScript* out, bool withUses, bool withTree) {
    // The findings of each chunk lie within it, so each chunk's are sorted on their own and
    // the chunks' follow one another; those of the header and symbols come first.
    CogFindingList list;
    const bool code = h_.codeStart >= 0 && n_ > 0;
    const bool alike = !out && code && st_.sameChecks && EditedAlike(list);
    st_.sameChecks = false;
    if (alike) return Keep(std::move(list));
    head_ = h_.findings;
    if (code) {
      st_.makings.resize(n_);
      st_.labelMakings.resize(n_);
      const Chunk& last = live_[n_ - 1];
      failed_ = last.failed;
      codeEnd_ = last.Now(last.stop);
      firstLabel_.assign(st_.names.size(), 0);
      Labels();
      Uses();
      Calls();
      Unused();
      Limits();
    }
    const auto byPlace = [](const CogFinding& a, const CogFinding& b) { return a.at.offset < b.at.offset; };
    std::stable_sort(head_.begin(), head_.end(), byPlace);
    // The header's findings as last made are kept while they stay the same, as the chunks' are.
    const auto same = [](const CogFinding& a, const CogFinding& b) {
      return a.severity == b.severity && a.code == b.code && a.message == b.message && a.at.offset == b.at.offset &&
             a.at.length == b.at.length && a.at.line == b.at.line && a.at.column == b.at.column &&
             a.endLine == b.endLine && a.endColumn == b.endColumn;
    };
    const auto& was = st_.headFound;
    if (!was || !std::equal(head_.begin(), head_.end(), was->items.begin(), was->items.end(), same))
      st_.headFound = std::make_shared<const CogFindingList::Found>(std::move(head_));
    list.Reserve(n_ + 1);
    list.Append(st_.headFound);
    if (code) {
      for (size_t k = 0; k < n_; ++k) {
        const Chunk& c = live_[k];
        if (!c.found || c.made != st_.makings[k] || c.madeLabels != st_.labelMakings[k]) MakeFindings(k);
        list.Append(c.found, c.shift, c.lineShift);
      }
    }
    if (out) {
      out->symbolsLine = h_.symbolsLine;
      out->codeLine = h_.codeLine;
      out->codeStart = h_.codeStart;
      out->symbols = h_.symbols;
      if (code) {
        out->codeEnd = codeEnd_;
        if (withUses || withTree) Tree(*out, withTree);
      }
      out->findings = list.All();
      out->loads = list.Count(CogSeverity::Error) == 0;
    }
    return Keep(std::move(list));
  }

 private:
  // Kept for the next reading after an edit.
  std::shared_ptr<const CogFindingList> Keep(CogFindingList list) {
    st_.assembled = std::make_shared<const CogFindingList>(std::move(list));
    st_.assembledNow = true;
    return st_.assembled;
  }
  int Limit(int jk, int mots) const {
    return st_.game == CogGame::JK ? jk : st_.game == CogGame::MotS ? mots : std::min(jk, mots);
  }
  static CogFinding Finding(CogSeverity s, const char* c, const QString& message, const CogRange& at, int endLine,
                            int endColumn) {
    CogFinding f;
    f.severity = s;
    f.code = CodeText(c);
    f.message = message;
    f.at = at;
    f.endLine = endLine;
    f.endColumn = endColumn;
    return f;
  }
  // At a name in the code (which never spans lines).
  static CogFinding AtUse(CogSeverity s, const char* c, const QString& message, const CogRange& at) {
    return Finding(s, c, message, at, at.line, at.column + int(at.length));
  }
  void AddAtSymbol(CogSeverity s, const char* c, const QString& message, size_t symbol) {
    const auto [line, column] = st_.symbolEnds[symbol];
    head_.push_back(Finding(s, c, message, h_.symbols[symbol].at, line, column));
  }
  Making& Make(size_t k, Making::Kind kind, int i, int v = 0, const QString& s = QString()) {
    std::vector<Making>& m = st_.makings[k];
    m.emplace_back();
    m.back().kind = kind;
    m.back().i = i;
    m.back().v = v;
    if (!s.isEmpty()) m.back().s = s;
    return m.back();
  }
  bool IsDeclaredMessage(int symbol) const {
    return symbol >= 0 && h_.symbols[size_t(symbol)].type == CogSymbolType::Message;
  }
  const QString& Name(int id) const { return st_.names[size_t(id)].name; }

  // The names the chunk's labels name, each once, worked out once for the chunk.
  static void Slots(const Chunk& c) {
    if (c.labelSlot.size() == c.labels.size()) return;
    for (int use : c.labels) {
      const int id = c.useNames[size_t(use)];
      const auto it = std::find(c.labelNames.begin(), c.labelNames.end(), id);
      c.labelSlot.push_back(int(it - c.labelNames.begin()));
      if (it != c.labelNames.end()) continue;
      c.labelNames.push_back(id);
      c.labelFirst.push_back(use);
    }
  }

  // After an edit that read chunks the checks see as they saw those they replaced, every other
  // chunk keeps its makings: the edited chunks' findings are made from the makings of the ones
  // they replaced, and the runs of the others are those assembled last. False (nothing done)
  // when an edited chunk's makings hold a limit, whose place the edit may have moved.
  bool EditedAlike(CogFindingList& list) {
    for (size_t k = st_.editFrom; k < st_.editTo; ++k)
      for (const Making& m : st_.makings[k])
        if (m.kind == Making::SymbolLimit || m.kind == Making::JumpLimit) return false;
    CogFindingList edited;
    for (size_t k = st_.editFrom; k < st_.editTo; ++k) {
      const Chunk& c = live_[k];
      Slots(c);
      MakeFindings(k);
      edited.Append(c.found, c.shift, c.lineShift);
    }
    const CogFindingList& was = *st_.assembled;
    list = was.Replaced(was.RunsBefore(st_.editStart), was.RunsBefore(st_.editEnd), edited, st_.editDelta);
    return true;
  }

  // Each chunk's makings begin here, with its syntax error first; then its labels' makings.
  void Labels() {
    for (size_t k = 0; k < n_; ++k) {
      const Chunk& c = live_[k];
      st_.makings[k].clear();
      st_.labelMakings[k].clear();
      if (!c.parse.empty()) Make(k, Making::Parse, 0, c.lineShift);
      Slots(c);
      std::vector<int>& made = st_.labelMakings[k];
      for (size_t n = 0; n < c.labelNames.size(); ++n) {
        const int id = c.labelNames[n];
        if (firstLabel_[size_t(id)] > 0) {
          made.push_back(firstLabel_[size_t(id)]);
          continue;
        }
        firstLabel_[size_t(id)] = c.uses[size_t(c.labelFirst[n])].at.line + c.lineShift;
        labelOrder_.push_back(id);
        made.push_back(-firstLabel_[size_t(id)]);
      }
    }
  }

  // The findings of the chunk's labels: a second label of a name, and a first one that handles
  // a message the symbols do not declare.
  void MakeLabelFindings(const Chunk& c, const std::vector<int>& made, std::vector<CogFinding>& b) {
    for (size_t l = 0; l < c.labels.size(); ++l) {
      const int use = c.labels[l], slot = c.labelSlot[l], first = made[size_t(slot)];
      const size_t id = size_t(c.useNames[size_t(use)]);
      const NameInfo& name = st_.names[id];
      const CogRange& at = c.uses[size_t(use)].at;
      if (first < 0 && use == c.labelFirst[size_t(slot)]) {
        if (name.message && !IsDeclaredMessage(name.symbol))
          b.push_back(AtUse(CogSeverity::Warning, code::kUndeclaredHandler,
                            QStringLiteral("This handles the message %1, but the symbols section has no 'message %2' "
                                           "line, so the game never runs it for that message.")
                                .arg(Quoted(name.message->name), name.name),
                            at));
        continue;
      }
      const int line = std::abs(first);
      if (twice_.size() < st_.names.size()) twice_.resize(st_.names.size());
      QString& text = twice_[id];
      if (text.isEmpty())
        text = IsDeclaredMessage(name.symbol)
                   ? QStringLiteral("The message %1 already has a handler at line %2; the game ties the message to "
                                    "one of the two labels only.").arg(Quoted(name.name)).arg(line)
                   : QStringLiteral("The label %1 is already at line %2; jumps to it go to one of the two only.")
                         .arg(Quoted(name.name)).arg(line);
      b.push_back(AtUse(CogSeverity::Warning, code::kTwoLabels, text, at));
    }
  }

  void Uses() {
    const size_t names = st_.names.size();
    used_.assign(h_.symbols.size(), 0);
    createdCount_.assign(n_, 0);
    firstCreated_.assign(names, -1);
    uint64_t bits[Chunk::kSymbolBits / 64] = {};
    for (size_t k = 0; k < n_; ++k) {
      const Chunk& c = live_[k];
      for (size_t w = 0; w < std::size(bits); ++w) bits[w] |= c.symbolBits[w];
      for (int symbol : c.symbolsUsed) used_[size_t(symbol)] = 1;
      for (const Chunk::Created& n : c.created) {
        if (firstCreated_[size_t(n.name)] >= 0) continue;
        firstCreated_[size_t(n.name)] = int(k);
        ++createdCount_[k];
      }
    }
    for (size_t i = 0; i < used_.size() && i < size_t(Chunk::kSymbolBits); ++i)
      if (bits[i / 64] & (uint64_t(1) << (i % 64))) used_[i] = 1;
    if (!failed_) {
      QHash<QString, QString> memo;
      Suggester targets(&memo);
      bool targetsReady = false;
      for (size_t k = 0; k < n_; ++k) {
        const Chunk& c = live_[k];
        for (size_t t = 0; t < c.targets.size(); ++t) {
          const int id = c.useNames[size_t(c.targets[t])];
          if (firstLabel_[size_t(id)] > 0) continue;
          if (!targetsReady) {
            targetsReady = true;
            // In the order of a table of the labels as the game's names hash them.
            QHash<QString, int> labels;
            for (int label : labelOrder_) labels.insert(Name(label), 0);
            for (auto it = labels.cbegin(); it != labels.cend(); ++it) targets.Offer(it.key());
          }
          Make(k, Making::NoSuchLabel, int(t), 0, targets.For(Name(id)));
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
        Make(size_t(k), Making::Implicit, i);
        continue;
      }
      if (!suggestionsReady) {
        suggestionsReady = true;
        for (const CogSymbol& sym : h_.symbols)
          if (sym.type != CogSymbolType::Message) suggest.Offer(sym.name);
        for (const CogVerb& v : CogVerbs())
          if (KnownIn(v.games, st_.game)) suggest.Offer(v.name);
        for (const CogMessage& m : CogMessages())
          if (KnownIn(m.games, st_.game)) suggest.Offer(m.name);
      }
      const auto [k, i] = firstRead[size_t(id)];
      Make(size_t(k), Making::UndeclaredRead, i, 0, suggest.For(Name(id)));
    }
  }

  // The calls' findings; the suggestions for names that are no verb are drawn in the order the
  // whole script's calls are checked in: from the last statement back.
  void Calls() {
    Suggester verbs(&st_.verbMemo);
    bool verbsReady = false;
    for (size_t k = n_; k-- > 0;) {
      const Chunk& c = live_[k];
      if (c.calls.empty()) continue;
      Make(k, Making::Calls, 0);
      for (const auto& [finding, name] : c.unknownVerbs) {
        if (!verbsReady) {
          verbsReady = true;
          for (const CogVerb& verb : CogVerbs())
            if (KnownIn(verb.games, st_.game)) verbs.Offer(verb.name);
        }
        const QString more = verbs.For(Name(name));
        if (!more.isEmpty()) Make(k, Making::CallSuggestion, finding, 0, more);
      }
    }
  }

  void Unused() {
    if (failed_) return;
    for (size_t i = 0; i < h_.symbols.size(); ++i) {
      const CogSymbol& sym = h_.symbols[i];
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
    int symbols = int(h_.symbols.size()), jumps = symbols;
    if (symbols > maxSymbols)
      AddAtSymbol(CogSeverity::Warning, code::kLimit,
                  QStringLiteral("A script has at most %1 symbols; the game does not create this one or any after it.")
                      .arg(maxSymbols), size_t(maxSymbols));
    bool jumpsReported = jumps > maxJumps;
    for (size_t k = 0; k < n_; ++k) {
      const Chunk& c = live_[k];
      const int created = createdCount_[k];
      const int addSymbols = c.costSymbols + created, addJumps = c.costJumps + created;
      if (!(symbols <= maxSymbols && symbols + addSymbols > maxSymbols) &&
          !(!jumpsReported && !failed_ && jumps + addJumps > maxJumps)) {
        symbols += addSymbols;
        jumps += addJumps;
        continue;
      }
      // The names first created in this chunk, then its strings and control statements, at
      // their places when the chunk was read.
      std::vector<Cost> costs;
      for (const Chunk::Created& n : c.created) {
        if (firstCreated_[size_t(n.name)] != int(k)) continue;
        const CogRange& at = c.uses[size_t(n.first)].at;
        Cost cost;
        cost.offset = at.offset;
        cost.length = at.length;
        cost.at = at;
        cost.endLine = at.line;
        cost.endColumn = at.column + int(at.length);
        cost.symbols = cost.jumps = 1;
        costs.push_back(cost);
      }
      costs.insert(costs.end(), c.costs.begin(), c.costs.end());
      std::stable_sort(costs.begin(), costs.end(), [](const Cost& a, const Cost& b) { return a.offset < b.offset; });
      const auto place = [&](Making& m, const Cost& cost) {
        m.at = cost.at;
        m.endLine = cost.endLine;
        m.endColumn = cost.endColumn;
      };
      for (const Cost& cost : costs) {
        const bool symbolsBefore = symbols > maxSymbols;
        symbols += cost.symbols;
        jumps += cost.jumps;
        if (!symbolsBefore && symbols > maxSymbols) place(Make(k, Making::SymbolLimit, 0, maxSymbols), cost);
        if (!jumpsReported && jumps > maxJumps && !failed_) {
          jumpsReported = true;
          place(Make(k, Making::JumpLimit, 0, maxJumps), cost);
        }
      }
    }
  }

  // The chunk's findings from its makings, at its places when it was read.
  void MakeFindings(size_t k) {
    const Chunk& c = live_[k];
    std::vector<CogFinding> b;
    size_t callsAt = 0;
    const std::vector<Making>& makings = st_.makings[k];
    // The labels' findings follow the chunk's syntax error and precede the rest.
    const bool parse = !makings.empty() && makings[0].kind == Making::Parse;
    for (size_t at = 0; at <= makings.size(); ++at) {
      if (at == size_t(parse)) MakeLabelFindings(c, st_.labelMakings[k], b);
      if (at == makings.size()) break;
      const Making& m = makings[at];
      switch (m.kind) {
        case Making::Parse:
          for (const CogFinding& f : c.parse) {
            b.push_back(f);
            if (f.code == QLatin1String(code::kSyntax) && c.lineShift != 0)
              b.back().message = SyntaxMessage(c.failWhy, c.failBraceLine > 0 ? c.failBraceLine + c.lineShift : 0,
                                               f.at.line + c.lineShift, h_.codeLine);
          }
          break;
        case Making::NoSuchLabel:
          b.push_back(AtUse(CogSeverity::Warning, code::kNoSuchLabel,
                            QStringLiteral("No label %1 exists: the game jumps to an undefined place when this line runs.%2")
                                .arg(Quoted(c.targetsAs[size_t(m.i)]), m.s),
                            c.uses[size_t(c.targets[size_t(m.i)])].at));
          break;
        case Making::Implicit: {
          const Chunk::Created& n = c.created[size_t(m.i)];
          b.push_back(AtUse(CogSeverity::Note, code::kImplicitVariable,
                            QStringLiteral("%1 is declared nowhere: the game creates it as a variable of this script, "
                                           "holding 0 until it is assigned.").arg(Quoted(n.writtenAs)),
                            c.uses[size_t(n.firstWrite)].at));
          break;
        }
        case Making::UndeclaredRead: {
          const Chunk::Created& n = c.created[size_t(m.i)];
          b.push_back(AtUse(CogSeverity::Warning, code::kUndeclaredRead,
                            QStringLiteral("%1 is declared nowhere and never assigned: the game creates it holding 0, "
                                           "and it reads 0 here.%2").arg(Quoted(n.readAs), m.s),
                            c.uses[size_t(n.firstRead)].at));
          break;
        }
        case Making::Calls:
          callsAt = b.size();
          b.insert(b.end(), c.calls.begin(), c.calls.end());
          break;
        case Making::CallSuggestion:
          b[callsAt + size_t(m.i)].message += m.s;
          break;
        case Making::SymbolLimit:
        case Making::JumpLimit:
          b.push_back(Finding(CogSeverity::Warning, code::kLimit,
                              (m.kind == Making::SymbolLimit
                                   ? QStringLiteral("A script has at most %1 symbols (declared ones, names the code "
                                                    "creates and every string); the game does not create this one or "
                                                    "any after it.")
                                   : QStringLiteral("The game's jump table holds %1 entries (one per symbol, and more "
                                                    "for each if, while, do and for); it overflows here and the script "
                                                    "misbehaves.")).arg(m.v),
                              m.at, m.endLine, m.endColumn));
          break;
      }
    }
    b.insert(b.end(), c.stack.begin(), c.stack.end());
    std::stable_sort(b.begin(), b.end(), [](const CogFinding& x, const CogFinding& y) { return x.at.offset < y.at.offset; });
    c.found = std::make_shared<const CogFindingList::Found>(std::move(b));
    c.made = makings;
    c.madeLabels = st_.labelMakings[k];
  }

  // The uses of the code and, on request, its syntax tree, as one.
  void Tree(CogScript& s, bool withTree) {
    int lastTop = -1;
    if (withTree) {
      CogNode code;
      code.kind = CogNodeKind::Code;
      code.at = st_.codeAt;
      code.at.length = s.codeEnd - s.codeStart;
      s.nodes.push_back(code);
    }
    for (size_t k = 0; k < n_; ++k) {
      const Chunk& c = live_[k];
      const int nodeBase = int(s.nodes.size()), useBase = int(s.uses.size());
      for (CogUse u : c.uses) {
        u.at = c.At(u.at);
        s.uses.push_back(u);
      }
      if (!withTree) continue;
      for (CogNode n : c.nodes) {
        n.at = c.At(n.at);
        if (n.first >= 0) n.first += nodeBase;
        if (n.next >= 0) n.next += nodeBase;
        if (n.use >= 0) n.use += useBase;
        s.nodes.push_back(n);
      }
      for (int top : c.tops) {
        if (lastTop < 0) s.nodes[0].first = nodeBase + top;
        else s.nodes[size_t(lastTop)].next = nodeBase + top;
        lastTop = nodeBase + top;
      }
    }
  }

  const State& st_;
  const CogScript& h_;
  const ChunkList& live_;
  size_t n_;
  std::vector<CogFinding> head_;  // of the header and symbols
  bool failed_ = false;
  qsizetype codeEnd_ = -1;
  std::vector<int> firstLabel_;  // the line of each name's first label, 0 when none
  std::vector<int> labelOrder_;  // names of labels by their first label
  std::vector<char> used_;
  std::vector<int> createdCount_;  // names first created in each chunk
  std::vector<int> firstCreated_;  // the chunk that first creates each name, -1 when none
  std::vector<QString> twice_;     // the message of each name's second label
};

}  // namespace

void CheckChunk(Reader& r, Chunk& c) { ChunkCheck(r, c).Run(); }

bool SameForChecks(const Chunk& a, const Chunk& b) {
  if (!a.parse.empty() || !b.parse.empty() || a.calls.empty() != b.calls.empty() || a.unknownVerbs != b.unknownVerbs ||
      a.costSymbols != b.costSymbols || a.costJumps != b.costJumps || a.readWrite != b.readWrite ||
      a.symbolsUsed != b.symbolsUsed || !std::equal(std::begin(a.symbolBits), std::end(a.symbolBits), b.symbolBits) ||
      a.labels.size() != b.labels.size() || a.targets.size() != b.targets.size() || a.created.size() != b.created.size())
    return false;
  const auto name = [](const Chunk& c, int use) { return c.useNames[size_t(use)]; };
  for (size_t l = 0; l < a.labels.size(); ++l)
    if (name(a, a.labels[l]) != name(b, b.labels[l]) ||
        a.uses[size_t(a.labels[l])].at.line + a.lineShift != b.uses[size_t(b.labels[l])].at.line + b.lineShift)
      return false;
  for (size_t t = 0; t < a.targets.size(); ++t)
    if (name(a, a.targets[t]) != name(b, b.targets[t])) return false;
  for (size_t i = 0; i < a.created.size(); ++i) {
    const Chunk::Created &x = a.created[i], &y = b.created[i];
    if (x.name != y.name || (x.firstRead >= 0) != (y.firstRead >= 0) || (x.firstWrite >= 0) != (y.firstWrite >= 0))
      return false;
  }
  return true;
}

std::shared_ptr<const CogFindingList> Assemble(const State& st, CogScript* script, bool withUses, bool withTree) {
  return Whole(st).Run(script, withUses, withTree);
}

}  // namespace scrivane::cogread

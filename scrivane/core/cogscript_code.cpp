// The code section: the game's tokenizer and grammar. The parser stops at the first syntax
// error, as the game does; what it read up to there stays in the tree. The statements are read
// into chunks; a statement is read alike whether the reading began at the code's start or at
// the first token of the chunk that holds it.
#include "scrivane/core/cogscript_p.h"

namespace scrivane::cogread {
namespace {

enum class Tok { Eof, Name, Keyword, Number, String, Vector, Op };
enum Kw { kIf, kElse, kWhile, kDo, kFor, kGoto, kCall, kReturn, kStop, kBreak, kContinue, kEnd };
const char16_t* const kKeywords[] = {u"if",   u"else",   u"while", u"do",    u"for",      u"goto",
                                     u"call", u"return", u"stop",  u"break", u"continue", u"end"};
// Operators of two characters; one-character operators are their own character.
enum Op { kAndAnd = 256, kOrOr, kLe, kGe, kEq, kNe };

struct Token {
  Tok kind = Tok::Eof;
  int op = 0;  // the operator, or the keyword
  qsizetype offset = 0, length = 0;
};

bool IsLetter(QChar c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'_'; }
bool IsDigit(QChar c) { return c >= u'0' && c <= u'9'; }
bool IsHexDigit(QChar c) { return IsDigit(c) || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F'); }

// Reads the stretch of the text that begins at `base`; offsets in tokens are of the whole text.
class Lexer {
 public:
  Lexer(QStringView text, qsizetype base, qsizetype start) : t_(text), base_(base), p_(start - base) {}

  // How far the tokens so far looked (a token's end, and the few characters looked at to find
  // it): no character from here on has made a difference.
  qsizetype Reach() const { return base_ + reach_; }
  // The tokens so far looked up to the end of the stretch.
  bool AtStretchEnd() const { return reach_ >= t_.size(); }

  Token Next() {
    Token t = Scan();
    reach_ = std::max(reach_, p_ + 3);
    t.offset += base_;
    return t;
  }

 private:
  Token Scan() {
    if (ended_) return end_;
    const qsizetype n = t_.size();
    while (p_ < n) {
      const QChar c = t_[p_];
      if (c == u'#' || (c == u'/' && p_ + 1 < n && t_[p_ + 1] == u'/')) {
        while (p_ < n && t_[p_] != u'\n' && t_[p_] != u'\r') ++p_;
        continue;
      }
      const qsizetype s = p_;
      if (IsLetter(c)) {
        while (p_ < n && (IsLetter(t_[p_]) || IsDigit(t_[p_]))) ++p_;
        const QStringView word = t_.mid(s, p_ - s);
        for (int k = 0; k < int(std::size(kKeywords)); ++k) {
          if (word.compare(QStringView(kKeywords[k]), Qt::CaseInsensitive) == 0) {
            if (k == kEnd) return End(s, p_ - s);
            return {Tok::Keyword, k, s, p_ - s};
          }
        }
        return {Tok::Name, 0, s, p_ - s};
      }
      if (IsDigit(c) || (c == u'.' && p_ + 1 < n && IsDigit(t_[p_ + 1]))) return Number();
      if (c == u'"' || c == u'\'') {
        const int q = c == u'"' ? 0 : 1;
        qsizetype e = unclosedFrom_[q] >= 0 && p_ >= unclosedFrom_[q] ? n : p_ + 1;
        while (e < n && t_[e] != c) e += (q == 0 && t_[e] == u'\\') ? 2 : 1;
        if (e < n) {
          p_ = e + 1;
          return {q == 0 ? Tok::String : Tok::Vector, 0, s, p_ - s};
        }
        reach_ = std::max(reach_, n + 3);
        // Never closed: the quote is skipped as a bad character.
        if (unclosedFrom_[q] < 0) unclosedFrom_[q] = p_;
        ++p_;
        continue;
      }
      if (p_ + 1 < n) {
        const QChar d = t_[p_ + 1];
        int two = 0;
        if (c == u'&' && d == u'&') two = kAndAnd;
        else if (c == u'|' && d == u'|') two = kOrOr;
        else if (c == u'<' && d == u'=') two = kLe;
        else if (c == u'>' && d == u'=') two = kGe;
        else if (c == u'=' && d == u'=') two = kEq;
        else if (c == u'!' && d == u'=') two = kNe;
        if (two) {
          p_ += 2;
          return {Tok::Op, two, s, 2};
        }
      }
      ++p_;
      if (QStringView(u";{},:=()[].&!~-+*/%<>^|").contains(c)) return {Tok::Op, c.unicode(), s, 1};
      // Any other character is skipped without a word.
    }
    return End(n, 0);
  }

  Token Number() {
    const qsizetype n = t_.size(), s = p_;
    if (t_[p_] == u'0' && p_ + 2 < n && (t_[p_ + 1] == u'x' || t_[p_ + 1] == u'X') && IsHexDigit(t_[p_ + 2])) {
      p_ += 2;
      while (p_ < n && IsHexDigit(t_[p_])) ++p_;
      return {Tok::Number, 0, s, p_ - s};
    }
    while (p_ < n && IsDigit(t_[p_])) ++p_;
    if (p_ < n && t_[p_] == u'.') {
      ++p_;
      while (p_ < n && IsDigit(t_[p_])) ++p_;
    }
    if (p_ + 1 < n && (t_[p_] == u'e' || t_[p_] == u'E')) {
      qsizetype e = p_ + 1;
      if (e < n && (t_[e] == u'+' || t_[e] == u'-')) ++e;
      if (e < n && IsDigit(t_[e])) {
        p_ = e;
        while (p_ < n && IsDigit(t_[p_])) ++p_;
      }
    }
    return {Tok::Number, 0, s, p_ - s};
  }
  Token End(qsizetype offset, qsizetype length) {
    ended_ = true;
    end_ = {Tok::Eof, length ? 1 : 0, offset, length};
    return end_;
  }

  QStringView t_;
  qsizetype base_;
  qsizetype p_;
  qsizetype reach_ = 0;
  bool ended_ = false;
  Token end_;
  qsizetype unclosedFrom_[2] = {-1, -1};  // a quote of this kind from here on is never closed
};

// Nesting deeper than this ends the reading (no script comes near it; it keeps the stack safe).
constexpr int kMaxDepth = 200;

class Parser {
 public:
  Parser(Reader& r, qsizetype start) : r_(r), lex_(r.text, r.base, start) {}

  CodeRead Run(Chunk first, ChunkList& into, const std::function<bool(qsizetype)>& meets) {
    into.push_back(std::move(first));
    c_ = &into.back();
    cur_ = lex_.Next();
    next_ = lex_.Next();
    while (cur_.kind != Tok::Eof && !stopped_) {
      const int statement = Statement();
      if (statement >= 0) c_->tops.push_back(statement);
      if (!r_.toEnd && lex_.AtStretchEnd()) return CodeRead::ShortText;
      if (cur_.kind == Tok::Eof || stopped_) break;
      if (meets && meets(cur_.offset)) {
        Close();
        return CodeRead::Met;
      }
      if (cur_.offset - c_->start >= r_.st.chunkChars) {
        Close();
        Chunk next;
        next.start = cur_.offset;
        next.lineStart = r_.LineStartOf(cur_.offset);
        next.line = r_.Range(cur_.offset, 0).line;
        into.push_back(std::move(next));
        c_ = &into.back();
      }
    }
    if (!r_.toEnd && lex_.AtStretchEnd()) return CodeRead::ShortText;
    c_->stop = cur_.offset;
    Close();
    return CodeRead::Ended;
  }

 private:
  void Close() {
    c_->reach = lex_.Reach();
    CheckChunk(r_, *c_);
  }

  struct Ex {
    int node = -1;
    bool unary = false;  // the form of the grammar's "unary": it may stand left of "="
  };
  struct Depth {
    Parser& p;
    explicit Depth(Parser& parser) : p(parser) {
      if (++p.depth_ > kMaxDepth && !p.stopped_) {
        p.r_.sink = &p.c_->parse;
        p.r_.Add(CogSeverity::Warning, code::kLimit,
                 QStringLiteral("The code nests deeper than %1 levels here; the checker reads no further.").arg(kMaxDepth),
                 p.cur_.offset, p.cur_.length);
        p.Stop();
      }
    }
    ~Depth() { --p.depth_; }
  };

  void Stop() {
    stopped_ = true;
    c_->failed = true;
    cur_ = next_ = {Tok::Eof, 0, cur_.offset, 0};
  }
  void Advance() {
    if (stopped_) return;
    cur_ = next_;
    next_ = lex_.Next();
  }
  bool IsOp(int op) const { return cur_.kind == Tok::Op && cur_.op == op; }
  bool IsKw(int kw) const { return cur_.kind == Tok::Keyword && cur_.op == kw; }

  QString Describe(const Token& t) const {
    if (t.kind == Tok::Eof) return t.length ? QStringLiteral("'end' (the end of the code)") : QStringLiteral("the end of the text");
    QString s = r_.Mid(t.offset, t.length);
    if (s.size() > 24) s = s.left(21) + QStringLiteral("...");
    return Quoted(s);
  }

  // The first syntax error: the game stops loading here.
  void Fail(const QString& what) {
    if (stopped_) return;
    const int line = r_.Range(cur_.offset, 0).line;
    QString why = what;
    int braceLine = 0;
    if (cur_.kind == Tok::Keyword && (cur_.op == kBreak || cur_.op == kContinue))
      why = QStringLiteral("%1 is not part of the game's script language").arg(Describe(cur_));
    else if (IsOp(u'~') || IsOp(u'.'))
      why = QStringLiteral("%1 is not an operator of the game's script language").arg(Describe(cur_));
    else if (IsOp(u'+') && expectingOperand_)
      why = QStringLiteral("a '+' sign before a value is not part of the game's script language");
    else if (cur_.kind == Tok::Eof && !openBraces_.empty())
      why = cur_.length ? QStringLiteral("'end' ends the code inside the '{' of line %1")
                        : QStringLiteral("the text ends inside the '{' of line %1");
    if (cur_.kind == Tok::Eof && !openBraces_.empty()) braceLine = r_.Range(openBraces_.back(), 0).line;
    c_->failWhy = why;
    c_->failBraceLine = braceLine;
    r_.sink = &c_->parse;
    r_.Add(CogSeverity::Error, code::kSyntax, SyntaxMessage(why, braceLine, line, r_.out.codeLine), cur_.offset,
           cur_.length);
    Stop();
  }
  bool Expect(int op, const char* what) {
    if (IsOp(op)) {
      Advance();
      return true;
    }
    Fail(QStringLiteral("%1 expected, found %2").arg(QLatin1String(what), Describe(cur_)));
    return false;
  }

  int NewNode(CogNodeKind kind, int op, qsizetype offset, qsizetype length) {
    CogNode n;
    n.kind = kind;
    n.op = op;
    n.at = r_.Range(offset, length);
    c_->nodes.push_back(n);
    return int(c_->nodes.size()) - 1;
  }
  int TokenNode(CogNodeKind kind) { return NewNode(kind, cur_.op, cur_.offset, cur_.length); }
  void Link(int parent, int child, int& last) {
    if (child < 0) return;
    auto& nodes = c_->nodes;
    if (last < 0) nodes[size_t(parent)].first = child;
    else nodes[size_t(last)].next = child;
    last = child;
  }
  int Node2(CogNodeKind kind, int op, const Token& at, int a, int b) {
    const int n = NewNode(kind, op, at.offset, at.length);
    int last = -1;
    Link(n, a, last);
    Link(n, b, last);
    return n;
  }
  int NameNode(CogUseRole role) {
    const int n = TokenNode(CogNodeKind::Name);
    CogUse u;
    u.at = c_->nodes[size_t(n)].at;
    u.role = role;
    const int name = r_.st.NameId(r_.Mid(cur_.offset, cur_.length).toLower());
    u.symbol = r_.st.names[size_t(name)].symbol;
    c_->nodes[size_t(n)].use = int(c_->uses.size());
    c_->uses.push_back(u);
    c_->useNames.push_back(name);
    Advance();
    return n;
  }
  void Cost(const Token& at, int symbols, int jumps) {
    cogread::Cost cost;
    cost.offset = at.offset;
    cost.length = at.length;
    cost.symbols = symbols;
    cost.jumps = jumps;
    cost.at = r_.Range(at.offset, at.length);
    const CogRange end = r_.Range(at.offset + at.length, 0);
    cost.endLine = end.line;
    cost.endColumn = end.column;
    c_->costs.push_back(cost);
    c_->costSymbols += symbols;
    c_->costJumps += jumps;
  }

  int Statement() {
    Depth depth(*this);
    if (stopped_) return -1;
    const Token at = cur_;
    if (cur_.kind == Tok::Name && next_.kind == Tok::Op && next_.op == u':') {
      const int label = TokenNode(CogNodeKind::Label);
      int last = -1;
      Link(label, NameNode(CogUseRole::Label), last);
      Advance();
      if (cur_.kind == Tok::Eof || IsOp(u'}'))
        Fail(QStringLiteral("a statement must follow the label %1, found %2").arg(Describe(at) + QLatin1Char(':'), Describe(cur_)));
      Link(label, Statement(), last);
      return label;
    }
    if (IsOp(u'{')) {
      const int block = TokenNode(CogNodeKind::Block);
      openBraces_.push_back(cur_.offset);
      Advance();
      int last = -1;
      while (!stopped_ && !IsOp(u'}')) {
        if (cur_.kind == Tok::Eof) {
          Fail(QStringLiteral("'}' expected"));
          break;
        }
        Link(block, Statement(), last);
      }
      openBraces_.pop_back();
      Expect(u'}', "'}'");
      return block;
    }
    if (cur_.kind == Tok::Keyword) {
      switch (cur_.op) {
        case kIf: {
          const int n = TokenNode(CogNodeKind::If);
          Advance();
          int last = -1;
          Link(n, Condition(), last);
          Link(n, Statement(), last);
          const bool hasElse = IsKw(kElse);
          Cost(at, 0, hasElse ? 2 : 1);
          if (hasElse) {
            Advance();
            Link(n, Statement(), last);
          }
          return n;
        }
        case kWhile: {
          const int n = TokenNode(CogNodeKind::While);
          Cost(at, 0, 2);
          Advance();
          int last = -1;
          Link(n, Condition(), last);
          Link(n, Statement(), last);
          return n;
        }
        case kDo: {
          const int n = TokenNode(CogNodeKind::Do);
          Cost(at, 0, 1);
          Advance();
          int last = -1;
          Link(n, Statement(), last);
          if (!stopped_ && !IsKw(kWhile)) Fail(QStringLiteral("'while' expected after the body of 'do', found %1").arg(Describe(cur_)));
          Advance();
          Link(n, Condition(), last);
          Expect(u';', "';'");
          return n;
        }
        case kFor: {
          const int n = TokenNode(CogNodeKind::For);
          Cost(at, 0, 3);
          Advance();
          int last = -1;
          if (!Expect(u'(', "'('")) return n;
          Link(n, ExpressionStatement(), last);
          Link(n, ExpressionStatement(), last);
          if (IsOp(u')')) Fail(QStringLiteral("the third part of 'for' is missing (the game requires it)"));
          Link(n, Expression().node, last);
          Expect(u')', "')'");
          Link(n, Statement(), last);
          return n;
        }
        case kGoto:
        case kCall: {
          const bool isCall = cur_.op == kCall;
          const int n = TokenNode(isCall ? CogNodeKind::CallStmt : CogNodeKind::Goto);
          Advance();
          if (cur_.kind != Tok::Name) {
            Fail(QStringLiteral("a label name expected after %1, found %2").arg(Describe(at), Describe(cur_)));
            return n;
          }
          int last = -1;
          Link(n, NameNode(isCall ? CogUseRole::CallTarget : CogUseRole::GotoTarget), last);
          Expect(u';', "';'");
          return n;
        }
        case kReturn:
        case kStop: {
          const int n = TokenNode(CogNodeKind::Return);
          Advance();
          Expect(u';', "';'");
          return n;
        }
        default:
          break;
      }
    }
    return ExpressionStatement();
  }

  int ExpressionStatement() {
    const int n = TokenNode(CogNodeKind::ExprStmt);
    if (!IsOp(u';')) {
      int last = -1;
      Link(n, Expression().node, last);
    }
    if (!stopped_ && !IsOp(u';')) {
      Fail(QStringLiteral("';' expected, found %1").arg(Describe(cur_)));
      return n;
    }
    Advance();
    return n;
  }

  int Condition() {
    if (!Expect(u'(', "'('")) return -1;
    const int e = Expression().node;
    Expect(u')', "')'");
    return e;
  }

  Ex Expression() {
    const Token at = cur_;
    Ex e = Assignment();
    if (!IsOp(u',') || stopped_) return e;
    const int n = NewNode(CogNodeKind::Comma, u',', at.offset, at.length);
    int last = -1;
    Link(n, e.node, last);
    while (IsOp(u',') && !stopped_) {
      Advance();
      Link(n, Assignment().node, last);
    }
    return {n, false};
  }

  Ex Assignment() {
    Ex left = Binary(1);
    if (!IsOp(u'=') || stopped_) return left;
    if (!left.unary) {
      Fail(QStringLiteral("only a name, an element or a value in parentheses can stand left of '='"));
      return left;
    }
    const Token at = cur_;
    MarkWritten(left.node);
    Advance();
    Depth depth(*this);
    const Ex right = Assignment();
    return {Node2(CogNodeKind::Assign, u'=', at, left.node, right.node), false};
  }

  void MarkWritten(int node) {
    auto& nodes = c_->nodes;
    while (node >= 0 && nodes[size_t(node)].kind == CogNodeKind::Index) node = nodes[size_t(node)].first;
    if (node >= 0 && nodes[size_t(node)].kind == CogNodeKind::Name && nodes[size_t(node)].use >= 0)
      c_->uses[size_t(nodes[size_t(node)].use)].role = CogUseRole::Write;
  }

  static int Precedence(const Token& t) {
    if (t.kind != Tok::Op) return 0;
    switch (t.op) {
      case kOrOr: return 1;
      case kAndAnd: return 2;
      case u'|': return 3;
      case u'^': return 4;
      case u'&': return 5;
      case kEq: case kNe: return 6;
      case u'<': case u'>': case kLe: case kGe: return 7;
      case u'+': case u'-': return 8;
      case u'*': case u'/': case u'%': return 9;
      default: return 0;
    }
  }

  Ex Binary(int minPrecedence) {
    Ex left = Unary();
    for (int p = Precedence(cur_); p >= minPrecedence && !stopped_; p = Precedence(cur_)) {
      const Token op = cur_;
      Advance();
      const Ex right = Binary(p + 1);
      left = {Node2(CogNodeKind::Binary, op.op, op, left.node, right.node), false};
    }
    return left;
  }

  Ex Unary() {
    if (IsOp(u'-') || IsOp(u'!')) {
      const Token op = cur_;
      Advance();
      Depth depth(*this);
      const Ex operand = Unary();
      return {Node2(CogNodeKind::Unary, op.op, op, operand.node, -1), true};
    }
    return Postfix();
  }

  Ex Postfix() {
    Ex e = Primary();
    while (!stopped_) {
      if (IsOp(u'[')) {
        const Token at = cur_;
        Advance();
        const Ex index = Expression();
        Expect(u']', "']'");
        e = {Node2(CogNodeKind::Index, u'[', at, e.node, index.node), true};
      } else if (IsOp(u'(')) {
        auto& nodes = c_->nodes;
        const qsizetype start = e.node >= 0 ? nodes[size_t(e.node)].at.offset : cur_.offset;
        if (e.node >= 0 && nodes[size_t(e.node)].kind == CogNodeKind::Name && nodes[size_t(e.node)].use >= 0)
          c_->uses[size_t(nodes[size_t(e.node)].use)].role = CogUseRole::Call;
        const int call = NewNode(CogNodeKind::CallExpr, u'(', start, 0);
        int last = -1;
        Link(call, e.node, last);
        Advance();
        if (!IsOp(u')')) {
          Link(call, Assignment().node, last);
          while (IsOp(u',') && !stopped_) {
            Advance();
            Link(call, Assignment().node, last);
          }
        }
        const qsizetype close = cur_.offset + cur_.length;
        if (Expect(u')', "')' or ','")) c_->nodes[size_t(call)].at = r_.Range(start, close - start);
        e = {call, true};
      } else {
        return e;
      }
    }
    return e;
  }

  Ex Primary() {
    expectingOperand_ = true;
    switch (cur_.kind) {
      case Tok::Name:
        expectingOperand_ = false;
        return {NameNode(CogUseRole::Read), true};
      case Tok::Number:
      case Tok::Vector:
      case Tok::String: {
        const CogNodeKind kind = cur_.kind == Tok::Number   ? CogNodeKind::Number
                                 : cur_.kind == Tok::Vector ? CogNodeKind::Vector
                                                            : CogNodeKind::String;
        if (kind == CogNodeKind::String) Cost(cur_, 1, 1);
        const int n = TokenNode(kind);
        Advance();
        expectingOperand_ = false;
        return {n, true};
      }
      default:
        break;
    }
    if (IsOp(u'(')) {
      Depth depth(*this);
      Advance();
      const Ex inner = Expression();
      Expect(u')', "')'");
      expectingOperand_ = false;
      return {inner.node, true};
    }
    Fail(QStringLiteral("a value expected, found %1").arg(Describe(cur_)));
    return {};
  }

  Reader& r_;
  Lexer lex_;
  Chunk* c_ = nullptr;
  Token cur_, next_;
  int depth_ = 0;
  bool stopped_ = false;
  bool expectingOperand_ = false;
  std::vector<qsizetype> openBraces_;
};

}  // namespace

CodeRead ReadCode(Reader& r, Chunk first, ChunkList& into, const std::function<bool(qsizetype)>& meets) {
  const qsizetype start = first.start;
  return Parser(r, start).Run(std::move(first), into, meets);
}

}  // namespace scrivane::cogread

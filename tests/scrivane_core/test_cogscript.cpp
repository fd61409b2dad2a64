// The script reader against what the game does: each finding kind pinned by line and column on
// small scripts, the tokenizer's and grammar's corners, the game's limits, the corpus as it is,
// and single faults put into real scripts.
#include <memory>
#include <random>

#include "common/ansicodec.h"
#include "common/settings.h"
#include "scrivane/core/cogscript.h"
#include "tests/support/test_env.h"

using namespace scrivane;

namespace {

// "CODE@line:col" of every finding at or above the given severity, in order.
QStringList Found(const CogScript& s, CogSeverity least = CogSeverity::Warning) {
  QStringList out;
  for (const CogFinding& f : s.findings)
    if (int(f.severity) <= int(least)) out << QStringLiteral("%1@%2:%3").arg(f.code).arg(f.at.line).arg(f.at.column);
  return out;
}

// The corpus's scripts by name, decoded as the editor reads them.
std::vector<std::pair<QString, QString>> CorpusScripts() {
  std::vector<std::pair<QString, QString>> out;
  for (const auto& [name, bytes] : tarvex::test::CorpusFiles("corpus/cog", "*.cog")) out.emplace_back(name, tarvex::DecodeAnsi(bytes));
  return out;
}

const CogFinding* FirstOf(const CogScript& s, const char* code) {
  for (const CogFinding& f : s.findings)
    if (f.code == QLatin1String(code)) return &f;
  return nullptr;
}

struct Case {
  const char* name;
  const char* text;
  const char* expected;  // space-separated CODE@line:col, warnings and errors (notes too when `notes`)
  CogGame game = CogGame::Both;
  bool notes = false;
};

// Line 1 "symbols", then the symbol lines; each case's text is its whole script.
const Case kCases[] = {
    {"clean", "symbols\nthing door\nmessage activated\nend\ncode\nactivated:\n  MoveToFrame(door, 1, 8);\n  return;\nend\n",
     ""},
    {"no symbols line", "# a script\nthing door\nsymbols\nend\ncode\nend\n", "COG001@2:1"},
    {"empty text", "", "COG001@1:1"},
    {"no code line", "symbols\nint x\nend\nrun:\n", "COG002@4:1"},
    {"symbols never ended", "symbols\nint x\ncode\n", "COG102@3:1 COG002@4:1"},
    {"bare value type", "symbols\nflex\nint  # nothing else\nend\ncode\nend\n", "COG004@2:1 COG004@3:1"},
    {"syntax error at the token", "symbols\nend\ncode\nrun:\n  x = 1\n  y = 2;\nend\n", "COG003@6:3"},
    {"break is no statement", "symbols\nend\ncode\nrun:\n  while (1) break;\nend\n", "COG003@5:13"},
    {"continue is no statement", "symbols\nend\ncode\nrun:\n  continue;\nend\n", "COG003@5:3"},
    {"tilde", "symbols\nend\ncode\nrun:\n  x = ~1;\nend\n", "COG003@5:7"},
    {"dot", "symbols\nend\ncode\nrun:\n  x = a.b;\nend\n", "COG101@5:7 COG003@5:8"},
    {"unary plus", "symbols\nend\ncode\nrun:\n  x = +1;\nend\n", "COG003@5:7"},
    {"for without its third part", "symbols\nend\ncode\nrun:\n  for (i = 0; i < 3; ) i = i;\nend\n", "COG003@5:22"},
    {"end inside a block", "symbols\nend\ncode\nrun:\n  if (1) {\n    x = 1;\nend\n}\n", "COG003@7:1"},
    {"label right before end", "symbols\nend\ncode\nrun:\n  return;\nfinish:\nend\n", "COG003@7:1"},
    {"left of = must be unary", "symbols\nend\ncode\nrun:\n  a + b = 1;\nend\n", "COG101@5:3 COG101@5:7 COG003@5:9"},
    {"undeclared read with suggestion", "symbols\nflex offlight\nend\ncode\nrun:\n  x = oflight;\n  x = offlight;\nend\n",
     "COG101@6:7"},
    {"implicit variable is a note", "symbols\nend\ncode\nrun:\n  i = 0;\n  j = i;\nend\n", "COG201@5:3 COG201@6:3",
     CogGame::Both, true},
    {"unknown type word", "symbols\nsectr  s1\nbool flag\nend\ncode\nend\n", "COG102@2:1 COG102@3:1"},
    {"message naming no message", "symbols\nmessage activate\nmessage startp\nmessage\nend\ncode\nactivate:\nreturn;\nend\n",
     "COG103@3:9 COG103@4:1"},
    {"handler for an undeclared message", "symbols\nend\ncode\ntimer:\n  return;\nend\n", "COG104@4:1"},
    {"message with two handlers", "symbols\nmessage timer\nend\ncode\ntimer:\n  return;\ntimer:\n  return;\nend\n",
     "COG105@7:1"},
    {"argument counts", "symbols\nend\ncode\nrun:\n  PlaySoundLocal(1, 2, 3);\n  AddDynamicTint(x, 255/0/0);\n  Sleep(1);\nend\n",
     "COG106@5:3 COG106@6:3 COG101@6:18"},
    {"either count the sources give", "symbols\nend\ncode\nrun:\n  jkPrintUniVoice(1, 2);\n  jkPrintUniVoice(1, 2, 3, 4);\n  jkPrintUniVoice(1, 2, 3);\nend\n",
     "COG106@7:3"},
    {"no value used as one", "symbols\nend\ncode\nrun:\n  Sleep(1);\n  x = Sleep(1);\n  if (Sleep(1)) return;\n  for (Sleep(1); 1; Sleep(1)) Sleep(1);\nend\n",
     "COG107@6:7 COG107@7:7"},
    {"calls of names that are no verb", "symbols\nint n\nend\ncode\nrun:\n  SetActorFlagss(1, 2);\n  n(1);\n  (n)(2);\n  Sine(1);\nend\n",
     "COG108@6:3 COG108@7:3 COG108@8:4 COG108@9:3"},
    {"call and goto to nothing", "symbols\nend\ncode\nrun:\n  call dostuff;\n  goto dostuf;\n  return;\ndostuff:\n  return;\nend\n",
     "COG109@6:8"},
    {"MotS verb and message for JK", "symbols\nmessage preblock\nend\ncode\npreblock:\n  AISetInterest(1, 2);\n  return;\nend\n",
     "COG111@2:9 COG111@6:3", CogGame::JK},
    {"MotS verb and message for MotS", "symbols\nmessage preblock\nend\ncode\npreblock:\n  AISetInterest(1, 2);\n  return;\nend\n",
     "", CogGame::MotS},
    {"JK-only verb for MotS", "symbols\nend\ncode\nrun:\n  x = GetCurInvWeapon(1);\nend\n", "COG111@5:7", CogGame::MotS},
    {"ModifyColorEffect", "symbols\nend\ncode\nrun:\n  ModifyColorEffect(e, 0, 0, 0, 1, 1, 1, 0, 0, 0, 1);\nend\n",
     "COG112@5:3 COG101@5:21"},
    {"reference line without name", "symbols\nthing\nend\ncode\nend\n", "COG113@2:1"},
    {"notes: unused symbol and message without handler",
     "symbols\nthing door local\nint used local\nmessage timer\nsurface linked\nend\ncode\nrun:\n  used = 1;\nend\n",
     "COG203@2:7 COG202@4:9", CogGame::Both, true},
    // Tokenizer corners: comments of both kinds, strings across lines, vectors, numbers.
    {"comments strings vectors numbers",
     "symbols\nend\ncode\nrun:  // handler\n  x = \"a # not a comment\n still\";  # comment\n"
     "  x = '1 2 3' ; x = 0x1F + 017 + 08 + 1.5 + .5 + 2. + 1e3 + 1E-2;\n  x = @$1;\nend\n",
     "COG201@5:3", CogGame::Both, true},
    {"an unclosed quote is skipped", "symbols\nend\ncode\nrun:\n  x = 1;\n  \" y = 2;\nend\n", "", CogGame::Both},
    {"keywords and names ignore case", "symbols\nMessage Startup\nInt Count\nend\nCode\nSTARTUP:\n  If (count == 0) Return;\n  SLEEP(1);\n  Stop;\nEND\n",
     ""},
    {"the code may end with the text", "symbols\nend\ncode\nrun:\n  return;\n", ""},
    {"flags line first", "flags=0x240\nsymbols\nmessage startup\nend\ncode\nrun:\n  return;\nend\n", ""},
    {"flags line later is not a symbols line", "symbols\nend\nflags=0x240\ncode\nend\n", "COG002@3:1"},
    {"slashes in the symbols section are a word", "symbols\n// comment\nend\ncode\nend\n", "COG102@2:1"},
    {"semicolon and hash lines are skipped", ";x\nsymbols\n#y\n;z\nint a=1 local # comment\nend\ncode\nrun:\n a = 2;\nend\n",
     ""},
    {"a backslash joins lines", "symbols\nthing \\\ndoor\nend\ncode\nrun:\n  MoveToFrame(door, 1, 8);\nend\n",
     ""},
};

}  // namespace

TEST(CogScript, EachFindingKindAtItsLineAndColumn) {
  for (const Case& c : kCases) {
    const CogScript s = ParseCogScript(QString::fromUtf8(c.text), c.game);
    const QString expected = QString::fromLatin1(c.expected);
    QStringList want = expected.split(u' ', Qt::SkipEmptyParts);
    QStringList got = Found(s, c.notes ? CogSeverity::Note : CogSeverity::Warning);
    EXPECT_EQ(got, want) << c.name;
    EXPECT_EQ(s.loads, !expected.contains(QLatin1String("COG00"))) << c.name;
  }
}

// (The game's line and the file's line in the message, and what was expected and found:
// CogCheckRun.JsonOutput and TextOutputAndExitStatus.)
TEST(CogScript, SyntaxErrorInsideABlockNamesItsBrace) {
  const CogScript open = ParseCogScript(u"symbols\nend\ncode\nrun:\n{\n  x = 1;\nend\n");
  EXPECT_TRUE(FirstOf(open, "COG003")->message.contains(QLatin1String("inside the '{' of line 5")));
}

TEST(CogScript, SuggestionsNameTheNearestDeclaredSymbolVerbOrMessage) {
  const struct { const char* text; const char* code; const char* suggestion; } rows[] = {
      {"symbols\nflex onlight\nflex offlight\nend\ncode\nrun:\n x = oflight;\nend\n", "COG101", "'offlight'"},
      {"symbols\nthing atroop1\nend\ncode\nrun:\n x = troop1;\nend\n", "COG101", "'atroop1'"},
      {"symbols\nend\ncode\nrun:\n SetActorFlagss(1, 2);\nend\n", "COG108", "'SetActorFlags'"},
      {"symbols\nmessage activted\nend\ncode\nend\n", "COG103", "'activated'"},
      {"symbols\nsectr s\nend\ncode\nend\n", "COG102", "'sector'"},
      {"symbols\nend\ncode\nrun:\n call fnish;\n return;\nfinish:\n return;\nend\n", "COG109", "'finish'"},
      {"symbols\nend\ncode\nrun:\n x = GetCurSector();\nend\n", "COG108", nullptr},
  };
  for (const auto& r : rows) {
    const CogScript s = ParseCogScript(QString::fromUtf8(r.text));
    const CogFinding* f = FirstOf(s, r.code);
    ASSERT_NE(f, nullptr) << r.text;
    if (r.suggestion)
      EXPECT_TRUE(f->message.endsWith(QStringLiteral("Did you mean %1?").arg(QLatin1String(r.suggestion)))) << f->message;
    else
      EXPECT_FALSE(f->message.contains(QLatin1String("Did you mean"))) << f->message;
  }
}

TEST(CogScript, EditDistance) {
  const struct { const char16_t *a, *b; int limit, expected; } rows[] = {
      {u"oflight", u"offlight", 2, 1}, {u"abc", u"ABC", 1, 0}, {u"abcd", u"abdc", 2, 1}, {u"getcursector", u"GetCurFrame", 2, 3},
      {u"kitten", u"sitting", 3, 3}, {u"a", u"abcdef", 2, 3}, {u"", u"ab", 2, 2}};
  for (const auto& r : rows) EXPECT_EQ(CogEditDistance(r.a, r.b, r.limit), r.expected) << QString::fromUtf16(r.a);
  // The verb table's names (its first, its last) are found in any letter case, and only whole.
  for (const CogVerb* v : {&CogVerbs().front(), &CogVerbs().back()})
    EXPECT_TRUE(FindCogVerb(v->name.toUpper()) == v && FindCogVerb(v->name.toLower()) == v) << v->name;
  EXPECT_TRUE(!FindCogVerb(u"Absolut") && !FindCogVerb(u"Absolutely") && !FindCogVerb(u""));
}

TEST(CogScript, LimitsOfTheGame) {
  auto script = [](int ints, int locals, int messages, int ifs) {
    QString t = QStringLiteral("symbols\n");
    for (int i = 0; i < ints; ++i) t += QStringLiteral("int v%1\n").arg(i);
    for (int i = 0; i < locals; ++i) t += QStringLiteral("int l%1 local\n").arg(i);
    for (int i = 0; i < messages; ++i) t += QStringLiteral("message user%1\n").arg(i % 8);
    t += QStringLiteral("end\ncode\nstartup:\n");
    for (int i = 0; i < ifs; ++i) t += QStringLiteral("  if (1) x = 1;\n");
    return t + QStringLiteral("end\n");
  };
  const auto limits = [](const CogScript& s) {
    QStringList out;
    for (const CogFinding& f : s.findings)
      if (f.code == QLatin1String("COG110")) out << QString::number(f.at.line);
    return out;
  };
  // 128 link entries fit; the 129th (line 130) does not. Local ones take none.
  EXPECT_EQ(limits(ParseCogScript(script(128, 100, 0, 0))), QStringList{});
  EXPECT_EQ(limits(ParseCogScript(script(129, 0, 0, 0))), QStringList{QStringLiteral("130")});
  // 256 symbols fit; here the 257th is the name x the code creates (line 261).
  EXPECT_EQ(limits(ParseCogScript(script(100, 156, 0, 0))), QStringList{});
  EXPECT_EQ(limits(ParseCogScript(script(100, 156, 0, 1))), QStringList{QStringLiteral("261")});
  // 32 messages; the 33rd message line (line 34) is ignored.
  EXPECT_EQ(limits(ParseCogScript(script(0, 0, 33, 0))), QStringList{QStringLiteral("34")});
  // Jump table: 2 symbols (x, and startup is a message name) + 510 ifs = 512 fits for JK; one more does not.
  EXPECT_EQ(limits(ParseCogScript(script(0, 1, 0, 510), CogGame::JK)), QStringList{});
  EXPECT_EQ(limits(ParseCogScript(script(0, 1, 0, 511), CogGame::JK)), QStringList{QStringLiteral("516")});
  EXPECT_EQ(limits(ParseCogScript(script(0, 1, 0, 511), CogGame::MotS)), QStringList{});
  EXPECT_EQ(limits(ParseCogScript(script(0, 1, 0, 511))), QStringList{QStringLiteral("516")});
  // The value stack holds 64 values: a call's arguments stay on it until the call, a left
  // operand until its operator (a chain left to right needs two at a time).
  const auto stack = [&](const QString& expression) {
    return limits(ParseCogScript(QStringLiteral("symbols\nmessage startup\nend\ncode\nstartup:\n  x = %1;\nend\n").arg(expression)));
  };
  const auto repeated = [](int n, const QString& head, const QString& part, const QString& tail) {
    return head + QStringList(n, part).join(QStringLiteral(", ")) + tail;
  };
  EXPECT_EQ(stack(repeated(64, "Print(", "1", ")")), QStringList{});
  EXPECT_EQ(stack(repeated(65, "Print(", "1", ")")), QStringList{QStringLiteral("6")});
  EXPECT_EQ(stack(repeated(63, "Print(", "1", ", Rand(1 + (2 * 3)))")), QStringList{QStringLiteral("6")});
  EXPECT_EQ(stack(QStringLiteral("1") + QStringLiteral(" + (1").repeated(63) + QString(63, u')')), QStringList{});
  EXPECT_EQ(stack(QStringLiteral("1") + QStringLiteral(" + (1").repeated(64) + QString(64, u')')), QStringList{QStringLiteral("6")});
  EXPECT_EQ(stack(QStringLiteral("1") + QStringLiteral(" + 1").repeated(5000)), QStringList{});
  // A symbols line longer than the game reads: the rest is read as a line of its own.
  const QString longLine = QStringLiteral("symbols\nint a local ") + QString(1011, u' ') + QStringLiteral("int b\nend\ncode\nend\n");
  const CogScript jk = ParseCogScript(longLine, CogGame::JK);
  EXPECT_EQ(limits(jk), QStringList{QStringLiteral("2")});
  EXPECT_EQ(jk.symbols.size(), 2u);
  EXPECT_EQ(ParseCogScript(longLine, CogGame::MotS).symbols.size(), 1u);
}

TEST(CogScript, TreeAndSymbolTable) {
  const CogScript s = ParseCogScript(
      u"symbols\nthing door desc=the_door mask=0x8\nint count=3 local\nmessage activated\nend\ncode\n"
      u"activated:\n  count = count + GetThingHealth(door) * 2;\n  call done;\ndone:\n  return;\nend\n");
  ASSERT_EQ(s.symbols.size(), 3u);
  EXPECT_EQ(std::tuple(s.symbols[0].name + ' ' + s.symbols[0].desc, s.symbols[1].type, s.symbols[1].local, s.symbols[1].value),
            std::tuple(QStringLiteral("door the_door"), CogSymbolType::Int, true, QStringLiteral("3")));
  EXPECT_EQ(std::tuple(s.symbols[2].at.line, s.symbols[2].at.column, s.codeLine), std::tuple(4, 9, 6));
  const auto role = [](const CogUse& u) { return QStringLiteral("%1:%2:%3").arg(u.at.line).arg(int(u.role)).arg(u.symbol); };
  EXPECT_EQ(tarvex::test::Map(s.uses, role), QStringList({"7:3:2", "8:1:1", "8:0:1", "8:2:-1", "8:0:0", "9:4:-1", "10:3:-1"}));
  // count = (count + (GetThingHealth(door) * 2)): the product is the right operand of the sum.
  const CogNode& assign = s.nodes[size_t(s.nodes[size_t(s.nodes[size_t(s.nodes[0].first)].first)].next)];
  ASSERT_EQ(assign.kind, CogNodeKind::ExprStmt);
  const CogNode& a = s.nodes[size_t(assign.first)];
  ASSERT_EQ(a.kind, CogNodeKind::Assign);
  const CogNode& sum = s.nodes[size_t(s.nodes[size_t(a.first)].next)];
  EXPECT_EQ(sum.op, u'+');
  const CogNode& product = s.nodes[size_t(s.nodes[size_t(sum.first)].next)];
  EXPECT_EQ(product.op, u'*');
  EXPECT_EQ(s.nodes[size_t(product.first)].kind, CogNodeKind::CallExpr);
  EXPECT_EQ(s.UseAt(s.uses[4].at.offset + 2), 4);
  EXPECT_TRUE(s.findings.empty()) << s.findings[0].message;
}

// The corpus as it is: it loads (no error), and the warnings are the ones looked at one by one.
TEST(CogScript, CorpusLoadsAndItsWarningsAreKnown) {
  const auto corpus = CorpusScripts();
  if (corpus.empty()) GTEST_SKIP() << "no corpus";
  QMap<QString, int> counts;
  for (const auto& [name, text] : corpus) {
    const CogScript s = ParseCogScript(text);
    EXPECT_TRUE(s.loads) << name.toStdString() << ": " << (s.findings.empty() ? QString() : s.findings[0].message);
    for (const CogFinding& f : s.findings) {
      EXPECT_LE(f.at.offset + f.at.length, text.size());
      if (f.severity == CogSeverity::Warning) ++counts[f.code];
    }
  }
  const QMap<QString, int> known{{"COG101", 6}, {"COG104", 3}, {"COG106", 7}, {"COG108", 5}};
  EXPECT_EQ(counts, known);
}

// Single faults put into every corpus script, each found at the line where it was put.
TEST(CogScript, SingleFaultsInRealScriptsAreFoundAtTheirLine) {
  const auto corpus = CorpusScripts();
  if (corpus.empty()) GTEST_SKIP() << "no corpus";
  int tried = 0;
  for (const auto& script : corpus) {
    const QString &name = script.first, &text = script.second;
    const CogScript s = ParseCogScript(text);
    const auto hasAt = [&](const QString& changed, const char* code, int line) {
      const CogScript t = ParseCogScript(changed);
      for (const CogFinding& g : t.findings)
        if (g.code == QLatin1String(code) && g.at.line == line) return true;
      ADD_FAILURE() << name.toStdString() << ": no " << code << " at line " << line;
      return false;
    };
    // A call of a verb with one count of arguments: one more, one fewer.
    for (const CogNode& n : s.nodes) {
      if (n.kind != CogNodeKind::CallExpr || n.at.length == 0) continue;
      const CogVerb* v = FindCogVerb(text.mid(s.nodes[size_t(n.first)].at.offset, s.nodes[size_t(n.first)].at.length));
      if (!v || v->args != v->altArgs || v->args < 1 || v->name.startsWith(QLatin1String("Modify"))) continue;
      const qsizetype close = n.at.offset + n.at.length - 1;
      ++tried;
      hasAt(QString(text).insert(close, QStringLiteral(", 1")), "COG106", n.at.line);
      // Dropping the last argument: cut from the last top-level comma, or the only argument.
      qsizetype cut = -1;
      int depth = 0;
      for (qsizetype i = close - 1; i > n.at.offset && cut < 0; --i) {
        const QChar c = text[i];
        if (c == u')' || c == u']') ++depth;
        else if ((c == u'(' && depth-- == 0) || (c == u',' && depth == 0)) cut = i + (c == u'(' ? 1 : 0);
      }
      if (cut > 0 && !text.mid(cut, close - cut).contains(u'"')) hasAt(QString(text).remove(cut, close - cut), "COG106", n.at.line);
      break;
    }
    // A declared symbol misspelt at one use (a read).
    for (const CogUse& u : s.uses) {
      if (u.symbol < 0 || u.role != CogUseRole::Read || s.symbols[size_t(u.symbol)].type == CogSymbolType::Message) continue;
      ++tried;
      hasAt(QString(text).insert(u.at.offset + u.at.length, QStringLiteral("qz")), "COG101", u.at.line);
      break;
    }
    // A message misspelt in the symbols section: the line is dropped, and its handler is orphaned.
    for (const CogSymbol& sym : s.symbols) {
      if (sym.type != CogSymbolType::Message) continue;
      ++tried;
      hasAt(QString(text).insert(sym.at.offset + 1, QStringLiteral("x")), "COG103", sym.at.line);
      break;
    }
    // A ";" (of a return), a ")" (of a call) and a "{" (of a block) deleted: the syntax error is
    // at the next token the grammar cannot take, never before the deletion.
    for (const CogNodeKind kind : {CogNodeKind::Return, CogNodeKind::CallExpr, CogNodeKind::Block}) {
      for (const CogNode& n : s.nodes) {
        if (n.kind != kind || n.at.length == 0) continue;
        const qsizetype at = kind == CogNodeKind::Return     ? text.indexOf(u';', n.at.offset)
                             : kind == CogNodeKind::CallExpr ? n.at.offset + n.at.length - 1
                                                             : n.at.offset;
        const QString changed = QString(text).remove(at, 1);
        const CogScript t = ParseCogScript(changed);
        ++tried;
        const CogFinding* e = FirstOf(t, "COG003");
        ASSERT_NE(e, nullptr) << name.toStdString() << " without the " << text[at].toLatin1() << " at " << at;
        EXPECT_FALSE(t.loads);
        EXPECT_GE(e->at.offset, at) << name.toStdString();
        if (kind == CogNodeKind::Return) {
          qsizetype next = at;
          while (next < changed.size() && changed[next].isSpace()) ++next;
          if (next < changed.size() && changed[next] != u'#' && changed[next] != u'/') {
            EXPECT_EQ(e->at.offset, next) << name.toStdString();
          }
        }
        break;
      }
    }
  }
  EXPECT_GT(tried, 58 * 3);
}

namespace {

struct TextSource : CogTextSource {
  const QString& text;
  explicit TextSource(const QString& t) : text(t) {}
  qsizetype Size() const override { return text.size(); }
  QString Mid(qsizetype from, qsizetype length) const override { return text.mid(from, length); }
};

// What a reading gives the editor: one line per finding, then its uses.
QStringList Everything(const CogScript& s) {
  QStringList out{QStringLiteral("loads %1 code %2-%3").arg(s.loads).arg(s.codeStart).arg(s.codeEnd)};
  for (const CogFinding& f : s.findings)
    out << QStringLiteral("%1 %2 %3+%4 %5:%6-%7:%8 %9")
               .arg(int(f.severity)).arg(f.code).arg(f.at.offset).arg(f.at.length).arg(f.at.line).arg(f.at.column)
               .arg(f.endLine).arg(f.endColumn).arg(f.message);
  std::vector<qsizetype> uses;
  for (const CogUse& u : s.uses) uses.insert(uses.end(), {u.at.offset, u.at.length, u.at.line, u.at.column, int(u.role), u.symbol});
  out << QString::number(qHashRange(uses.begin(), uses.end()));
  return out;
}

}  // namespace

// The script read again after each of many edits, as the editor reads it after a pause, gives
// exactly what a whole reading of the same text gives: every finding with its place and words,
// and every use. The corpus's scripts and the cases above are read in chunks of a few
// characters, so that every edit lands among many; the corpus's code repeated under one
// symbols section in chunks of the editor's size.
TEST(CogScript, ReadingAgainAfterEditsGivesWhatAWholeReadingGives) {
  enum Kind { Insert, Remove, RemoveLine, Paste, Undo, Redo, Symbols, CrAfterStatement, LfAfterCr };
  const struct { const char* name; Kind kind; const char* text; } edits[] = {
      {"a letter typed", Insert, "x"}, {"Enter", Insert, "\r\n"}, {"a statement", Insert, " y = Sleep(z) + 1; "},
      {"characters deleted", Remove, ""}, {"a line deleted", RemoveLine, ""}, {"a block pasted", Paste, ""},
      {"a handler's label", Insert, "\r\nactivated:\r\n"}, {"a call of no label", Insert, " call nowhere; "},
      {"a brace opened", Insert, "{"}, {"a brace closed", Insert, "}"}, {"an end line", Insert, "\r\nend\r\n"},
      {"a code line", Insert, "\ncode\n"}, {"a quote", Insert, "\""},
      {"a statement after a CR alone", CrAfterStatement, "\rz = 0;"}, {"an LF after that CR", LfAfterCr, "\n"},
      {"undo", Undo, ""}, {"redo", Redo, ""},
      {"a declaration", Symbols, "int added\r\nmessage timer\r\n"}};
  struct Base { QString text; CogGame game; int chunk; int rounds; };
  std::vector<Base> bases;
  QString code;
  int i = 0;
  for (const auto& [name, text] : CorpusScripts()) {
    if (i++ % 3 == 0) bases.push_back({text, CogGame::Both, 16, 1});
    const CogScript s = ParseCogScript(text);
    if (s.codeEnd > s.codeStart) code += text.mid(s.codeStart, s.codeEnd - s.codeStart);
  }
  if (!code.isEmpty()) {
    QString big = QStringLiteral("symbols\r\nmessage activated\r\nthing player\r\nend\r\ncode\r\n");
    while (big.size() < 30000) big += code;
    bases.push_back({big + QStringLiteral("end\r\n"), CogGame::JK, 4096, 2});
  }
  for (const Case& c : kCases) bases.push_back({QString::fromUtf8(c.text), c.game, 1, 1});

  std::mt19937 rng(26);
  int edited = 0, readAgain = 0;
  for (const Base& base : bases) {
    QString text = base.text;
    auto reading = std::make_unique<CogReading>(text, base.game, base.chunk);
    QStringList done{text};
    size_t now = 0;
    qsizetype cr = 0;
    for (int round = 0; round < base.rounds; ++round) {
      for (const auto& e : edits) {
        const QString old = text;
        const CogScript before = reading->Script();
        const qsizetype codeStart = std::max<qsizetype>(before.codeStart, 0), n = old.size();
        const qsizetype at = std::min(n, codeStart + qsizetype(rng() % (n - codeStart + 1)));
        switch (e.kind) {
          case Insert: text.insert(at, QString::fromLatin1(e.text)); break;
          case CrAfterStatement: text.insert(cr = text.indexOf(u';', at) + 1, QString::fromLatin1(e.text)); break;
          case LfAfterCr: text.insert(std::min(cr + 1, n), QString::fromLatin1(e.text)); break;
          case Remove: text.remove(at, 1 + rng() % 30); break;
          case RemoveLine: {
            const qsizetype start = text.lastIndexOf(u'\n', at - 1) + 1, end = text.indexOf(u'\n', at);
            text.remove(start, end < 0 ? n - start : end + 1 - start);
            break;
          }
          case Paste: text.insert(at, old.mid(rng() % (n + 1), rng() % 2000)); break;
          case Undo: if (now > 0) text = done[qsizetype(--now)]; break;
          case Redo: if (qsizetype(now) + 1 < done.size()) text = done[qsizetype(++now)]; break;
          case Symbols: {
            const qsizetype end = text.indexOf(QLatin1String("\nend"), 0, Qt::CaseInsensitive);
            text.insert(end < 0 ? 0 : end + 1, QString::fromLatin1(e.text));
            break;
          }
        }
        if (e.kind != Undo && e.kind != Redo) {
          done.resize(qsizetype(++now));
          done.push_back(text);
        }
        // The edited stretch, as the editor knows it: from the first to the last character changed.
        qsizetype from = 0, kept = 0;
        while (from < n && from < text.size() && old[from] == text[from]) ++from;
        while (kept < n - from && kept < text.size() - from && old[n - 1 - kept] == text[text.size() - 1 - kept]) ++kept;
        ++edited;
        if (reading->Update(TextSource(text), from, n - kept, text.size() - n)) ++readAgain;
        else reading = std::make_unique<CogReading>(text, base.game, base.chunk);
        // The findings alone, as the editor asks for them after an edit, and the whole script.
        const CogScript whole = ParseCogScript(text, base.game);
        CogScript listed = whole;
        const auto list = reading->Findings();
        listed.findings = list->All();
        int longest = 0;
        for (const CogFinding& f : whole.findings) longest = std::max(longest, int(f.at.length));
        const auto tally = [](const auto& s) {
          return std::make_tuple(s.Count(CogSeverity::Error), s.Count(CogSeverity::Warning), s.Count(CogSeverity::Note));
        };
        ASSERT_EQ(std::tuple_cat(tally(*list), std::make_tuple(list->Longest())), std::tuple_cat(tally(whole), std::make_tuple(longest)));
        ASSERT_EQ(Everything(listed), Everything(whole)) << e.name << " at " << at << " in a text of " << n << " characters";
        ASSERT_EQ(Everything(reading->Script(true)), Everything(whole)) << e.name << " at " << at;
      }
    }
  }
  // Most edits are read again in part; the others (in the symbols, or too large) whole.
  EXPECT_GT(readAgain, edited * 2 / 3);
}

TEST(CogScript, GameSettingReadsAnyOtherTextAsBoth) {
  const tarvex::test::TempSettings settings;
  EXPECT_EQ(CogGameSetting(), CogGame::Both);
  const struct { const char* stored; CogGame game; } rows[] = {
      {"jk", CogGame::JK}, {"MotS", CogGame::MotS}, {"both", CogGame::Both}, {"xbox", CogGame::Both}, {"", CogGame::Both}};
  for (const auto& r : rows) {
    ASSERT_TRUE(tarvex::SaveSetting("Scrivane", "Defaults", "CheckGame", QString::fromLatin1(r.stored)));
    EXPECT_EQ(CogGameSetting(), r.game) << r.stored;
  }
}

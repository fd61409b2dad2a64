// The Bramwise scan, the add-symbol line and its place, the code-use test of Delete, and
// renames on real scripts.
#include <tuple>

#include "common/ansicodec.h"
#include "scrivane/core/bramwise.h"
#include "scrivane/core/lineends.h"
#include "scrivane/core/shell.h"
#include "tests/support/test_env.h"

using namespace scrivane;

namespace {

// The tree as one line: each node as its text, children in brackets after their parent.
QString Render(const BramwiseScan& s) {
  std::function<QString(int)> node = [&](int i) {
    QStringList kids;
    for (size_t c = 0; c < s.nodes.size(); ++c)
      if (s.nodes[c].parent == i) kids << node(int(c));
    return s.nodes[size_t(i)].text + (kids.isEmpty() ? QString() : "[" + kids.join(",") + "]");
  };
  return s.nodes.empty() ? QString() : node(0);
}

BramwiseScan Scan(const QString& text) { return ScanBramwise(text, "Cog 1", SymbolTypeNames()); }

TEST(Bramwise, ScanBuildsTheTree) {
  const QString head = "# x\r\nsymbols\r\n";
  const struct { const char* name; QString text, tree; qsizetype dup; } cases[] = {
      {"types in list order, handlers with comments",
       head + "thing\tplayer\tlocal\r\nint count=5 local\r\nmessage startup\r\nINT b\r\n\tthing hidden\r\n"
              "sector sec1 local\tdesc=x\r\nend\r\ncode\r\nstartup:\r\n  // one\r\n  x = 1; // two\r\nreturn;\r\n",
       "Cog 1[symbols[int[count=5,b],message[startup],sector[sec1 local],thing[player]],code[startup[// one,// two]]]",
       -1},
      {"symbols on the first line", "symbols\r\nint a\r\nend\r\n", "Cog 1[symbols[int[a]],code]", -1},
      {"symbols on the first line, the end line first", "Symbols\nend\r\nsymbols\r\nint a\r\nend\r\n", "Cog 1[symbols,code]", -1},
      {"capital keywords", "x\r\nSYMBOLS\r\nInt a\r\nEnd\r\n", "Cog 1[symbols[int[a]],code]", -1},
      {"two equal declarations", head + "int a\r\nint a\r\nend\r\n", "Cog 1[symbols[int[a]],code]", 21},
      {"handler names equal ignoring case", head + "message Startup\r\nmessage startup local\r\nend\r\n",
       "Cog 1[symbols[message[Startup]],code[Startup]]", 31},
      {"equal comments in two handlers", head + "message a\r\nmessage b\r\nend\r\na:\r\n// c\r\nb:\r\n// c\r\nreturn;\r\n",
       "Cog 1[symbols[message[a,b]],code[a[// c],b]]", 55},
      // The comment ranges: from two characters after the first free-standing label to the next
      // "return;" plus the label's length and one.
      {"comment on the return line runs to its line end",
       head + "message startup\r\nend\r\nstartup:\r\nreturn; // after\r\n",
       "Cog 1[symbols[message[startup]],code[startup[// after]]]", -1},
      {"no return after the label: to the end of the text", head + "message go\r\nend\r\ngo:\r\n// a\r\n// b",
       "Cog 1[symbols[message[go]],code[go[// a,// b]]]", -1},
      {"label met first in a comment", head + "message go\r\nend\r\n// see go:\r\n// a\r\ngo:\r\n// b\r\nreturn;\r\n",
       "Cog 1[symbols[message[go]],code[go[// a,// b]]]", -1},
      {"label inside a longer word is not the label",
       head + "message go\r\nend\r\nergo:\r\n// not\r\nreturn;\r\ngo:\r\n// yes\r\nreturn;\r\n",
       "Cog 1[symbols[message[go]],code[go[// yes]]]", -1},
      // A handler is its label in the code, whatever else its declaration shows before a tab.
      {"message declared with more before a tab", head + "message go local\tdesc=x\r\nend\r\ngo:\r\n// c\r\nreturn;\r\n",
       "Cog 1[symbols[message[go local]],code[go[// c]]]", -1},
      {"lines ending in LF alone", "x\nsymbols\nint a\nmessage go\nend\ngo:\n  // c\nreturn;\n",
       "Cog 1[symbols[int[a],message[go]],code[go[// c]]]", -1},
  };
  for (const auto& c : cases) {
    const BramwiseScan s = Scan(c.text);
    EXPECT_EQ(Render(s), c.tree) << c.name;
    EXPECT_EQ(s.duplicateAt, c.dup) << c.name;
  }
}

TEST(Bramwise, AddSymbolLineGoesBeforeTheLineClosingTheSymbols) {
  EXPECT_EQ(SymbolDeclarationLine("thing", "player", "", true, "1"),
            "thing     player" + QString(15, ' ') + "local     linkid=1\r\n");
  EXPECT_EQ(SymbolDeclarationLine("flex", "delay", "2.0", false, ""), "flex     delay=2.0" + QString(20, ' ') + "\r\n");
  // Text, caret; the text and caret after, or an empty text when nothing is inserted.
  const std::tuple<QString, qsizetype, QString, qsizetype> cases[] = {
      {"a\r\nsymbols\r\nend\r\ncode\r\n", 2, "a\r\nsymbols\r\nint x\r\nend\r\ncode\r\n", 2},
      {"# sender\r\nsymbols\r\nthing defend\r\nEND\r\n", 0, "# sender\r\nsymbols\r\nthing defend\r\nint x\r\nEND\r\n", 0},
      {"x\r\nend\r\nsymbols\r\nint a\r\n", 5, "", 5},
  };
  for (const auto& [text, caret, want, wantCaret] : cases) {
    TextModel m(text, caret);
    EXPECT_EQ(InsertSymbolLine(m, "int x\r\n"), !want.isEmpty()) << text.toStdString();
    EXPECT_TRUE(m.Text() == (want.isEmpty() ? text : want) && m.SelStart() == wantCaret) << text.toStdString();
  }
}

TEST(Bramwise, UsesInCodeStandOnTheirOwn) {
  const QString head = "symbols\r\nflex delay\r\nend\r\ncode\r\n";
  const std::pair<QString, bool> cases[] = {{head + "Sleep(delay);", true}, {head + "x = delay + 1;", true},
                                             {head + "delayed = my_delay;", false},
                                             {"symbols\r\nflex delay\r\nend\r\n Sleep(delay);", false}};  // no code line
  for (const auto& [text, used] : cases) EXPECT_EQ(UsedInCode(text, "delay"), used) << text.toStdString();
}

// Every symbol and handler of every real script renamed and back: the first change is the
// declaration itself, nothing before it changes, every later change is the name standing on
// its own (never part of a longer word), and renaming back gives the script again (letter case
// of the uses aside: they take the declaration's).
TEST(Bramwise, CorpusRenamesChangeTheDeclarationAndWholeNamesOnly) {
  const auto corpus = tarvex::test::CorpusFiles("corpus/cog", "*.cog");
  if (corpus.empty()) GTEST_SKIP() << "no corpus";
  int renamed = 0;
  for (const auto& [name, bytes] : corpus) {
    const QString text = NormalizeLineEnds(tarvex::DecodeAnsi(bytes)).text;
    for (const BramwiseNode& n : Scan(text).nodes) {
      const QString oldName = NameInLabel(n.text), newName = QStringLiteral("zq%1_").arg(renamed);
      if ((n.kind != BramwiseKind::Symbol && n.kind != BramwiseKind::Handler) || oldName.isEmpty()) continue;
      // The label as a new build would show it: what the label shows beside the name stays.
      const QString newLabel = QString(n.text).replace(n.text.indexOf(oldName), oldName.size(), newName);
      SCOPED_TRACE((name + ": " + n.key).toStdString());
      TextModel m(text);
      FindState f;
      const NodeRename r = RenameNode(m, f, n.key, n.kind, n.text, newName);  // the name typed alone
      ASSERT_TRUE(r.done) << r.refusal.toStdString();
      ++renamed;
      const TextChange& first = m.Changes().front();
      const qsizetype line = text.lastIndexOf('\n', first.start - 1) + 1;
      EXPECT_TRUE(first.inserted == newName && first.removed == oldName.size() && m.Text().left(line) == text.left(line));
      EXPECT_TRUE(n.kind == BramwiseKind::Handler ? QStringView(text).mid(line).startsWith(u"message", Qt::CaseInsensitive)
                                                  : QStringView(text).mid(line).startsWith(n.key));
      EXPECT_EQ(r.newLabel, newLabel);
      const QString& t = m.Text();
      qsizetype uses = 0;
      for (qsizetype p = t.indexOf(newName); p >= 0; p = t.indexOf(newName, p + 1), ++uses)
        EXPECT_TRUE((p == 0 || !IsWordChar(t.at(p - 1))) && (p + newName.size() == t.size() || !IsWordChar(t.at(p + newName.size()))));
      EXPECT_EQ(uses, qsizetype(m.Changes().size()));
      TextModel back(t);
      const NodeRename again = RenameNode(back, f, r.newKey, n.kind, newLabel, n.text);
      ASSERT_TRUE(again.done) << again.refusal.toStdString() << "|" << r.newKey.toStdString() << "|";
      EXPECT_EQ(back.Text().toCaseFolded(), text.toCaseFolded());
    }
  }
  EXPECT_GT(renamed, 500);
}

}  // namespace

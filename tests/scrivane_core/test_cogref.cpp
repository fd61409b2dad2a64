#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

#include "common/files.h"
#include "scrivane/core/cogref.h"
#include "tests/support/test_env.h"

using namespace scrivane;

namespace {

// Compact picture of parsed data: "Cat[Name=line;Name=line] Cat2[]", then " @ line:reason" for
// the first problem and " / line:reason" for each further one.
QString Picture(const CogRefData& d) {
  QStringList cats, problems;
  for (const CogRefCategory& c : d.categories) {
    cats << c.name + '[' + tarvex::test::Map(c.functions, [](const CogRefEntry& e) { return e.text + '=' + e.tag; }).join(';') + ']';
  }
  for (const CogRefProblem& p : d.problems) problems << QString::number(p.line) + ':' + p.reason;
  return cats.join(' ') + (problems.isEmpty() ? QString() : " @ " + problems.join(" / "));
}

}  // namespace

TEST(CogRefParse, KeptLinesAndSkippedOnes) {
  const struct { const char* what; const char* text; const char* want; } cases[] = {
      {"header skipped even when it is a category line", ".Head\r\n.A\r\nF(x)|d\r\nEOF\r\n", "A[F=F(x)|d]"},
      {"header skipped even when it reads EOF", "EOF\r\n.A\r\nG()|e\r\nEOF\r\n", "A[G=G()|e]"},
      {"EOF right after the header gives an empty catalogue", "h\r\nEOF\r\n.A\r\n", ""},
      {"lower-case eof ends the catalogue", "h\r\n.A\r\nF()|d\r\neof\r\nG()|e\r\n.B\r\n", "A[F=F()|d]"},
      {"no EOF line, mixed line ends", "h\r\n.A\nF()|d\rG()|e\r\n.B\r\nH()|f", "A[F=F()|d;G=G()|e] B[H=H()|f]"},
      {"a lone CR, then a CR LF, is a blank line between", "h\r.A\r\r\nF()|d\r", "A[F=F()|d] @ 3:blank line"},
      {"bars and parentheses", "h\r\n.A\r\nF(a)|x|y\r\nG(a, b)\r\nH(a(b))|c(d)\r\n.B\r\n",
       "A[F=F(a)|x|y;G=G(a, b);H=H(a(b))|c(d)] B[]"},
      {"category name is all after the full stop", "h\r\n. Odd.Name \r\nF()|d\r\nEOF\r\n", " Odd.Name [F=F()|d]"},
      {"EOF with trailing blank is not the terminator", "h\n.A\nEOF \nF()|d\n",
       "A[F=F()|d] @ 3:function line without \"(\""},
      {"function before the first category", "h\r\nF()|d\r\n.A\r\nH()|f\r\n",
       "A[H=H()|f] @ 2:function \"F\" comes before the first category"},
      {"category without a name leaves the current category", "h\n.A\nF()|d\n.\nG()|e\n",
       "A[F=F()|d;G=G()|e] @ 4:category line without a name"},
      {"repeated category, ignoring case: its functions join the first one", "h\n.A\nF()|d\n.B\nG()|e\n.a\nH()|f\n",
       "A[F=F()|d;H=H()|f] B[G=G()|e] @ 6:category \"a\" appears twice"},
      {"function keys ignore case", "h\n.A\nF(x)|d\n.B\nf(X)|D\nF(x)|other\n",
       "A[F=F(x)|d] B[F=F(x)|other] @ 5:function line \"f\" appears twice"},
      {"keys ignore case beyond the basic plane too", "h\n.A\n\u00C9()|d\n\u00E9()|D\n.\U00010400\n.\U00010428\n",
       "A[\u00C9=\u00C9()|d] \U00010400[] @ 4:function line \"\u00E9\" appears twice / 6:category \"\U00010428\" appears twice"},
      {"categories and functions share one key space", "h\n.A\nF()|d\n.F()|d\nG()|e\n",
       "A[F=F()|d;G=G()|e] @ 4:category \"F()|d\" appears twice"},
      {"line numbers count every physical line", "h\r\n.A\r\n\r\nF()|d\r\nX\r\n",
       "A[F=F()|d] @ 3:blank line / 5:function line without \"(\""},
      {"nothing after EOF is checked", "h\n.A\nF()|d\nEOF\n\nX\n.A\n", "A[F=F()|d]"},
  };
  for (const auto& c : cases) EXPECT_EQ(Picture(ParseCogRef(c.text)), c.want) << c.what;
}

TEST(CogRefProblems, MessageCountsAndNamesTheFirstFive) {
  std::vector<CogRefProblem> seven;
  for (int i = 1; i <= 7; ++i) seven.push_back({i * 10, QStringLiteral("reason %1").arg(i)});
  EXPECT_EQ(FormatCogRefProblems(seven), "7 lines of cogref.dat were skipped:\nLine 10: reason 1\nLine 20: reason 2\n"
                                         "Line 30: reason 3\nLine 40: reason 4\nLine 50: reason 5\n... and 2 more.");
  EXPECT_FALSE(FormatCogRefProblems({seven.begin(), seven.begin() + 5}).contains("more")) << "exactly five: all named";
  EXPECT_EQ(FormatCogRefProblems({}), QString());
  EXPECT_EQ(FormatCogRefProblems({{3, "blank line"}}), "1 line of cogref.dat was skipped:\nLine 3: blank line");
  EXPECT_EQ(FormatCogRefProblems({{0, "the file could not be read (denied)"}}), "cogref.dat: the file could not be read (denied).");
}

TEST(CogRefFile, LoadsFromDiskOrReportsItMissing) {
  QTemporaryDir dir;
  const QString path = dir.filePath("cogref.dat");
  // A folder of that name is no reference file. (A missing one: MainWindowTest's shipped reference.)
  ASSERT_TRUE(QDir(dir.path()).mkdir("folder.dat"));
  bool exists = true;
  LoadCogRefFile(dir.filePath("folder.dat"), &exists);
  EXPECT_FALSE(exists);
  // Bytes are read in the ANSI code page: 0xE9 is e-acute.
  ASSERT_TRUE(tarvex::WriteWholeFile(path, "header\r\n.Thing\r\nCaf\xE9(x)|d\xE9j\xE0\r\n\r\nEOF\r\n"));
  const CogRefData d = LoadCogRefFile(path, &exists);
  EXPECT_TRUE(exists);
  EXPECT_EQ(Picture(d), "Thing[Café=Café(x)|déjà] @ 4:blank line");
}

// The file we ship: plain ASCII with CR LF, ending in EOF, one line per verb of the language
// in its category, each with a signature and a description (fuzz_cogref replays it too).
TEST(CogRefShipped, CleanAndHoldsEveryVerbInItsCategory) {
  const QString shipped = QStringLiteral(TARVEX_SOURCE_DIR "/scrivane/data/cogref.dat");
  QByteArray bytes;
  ASSERT_TRUE(tarvex::ReadWholeFile(shipped, &bytes) && bytes.endsWith("\r\nEOF\r\n"));
  // No byte outside printable ASCII, no CR or LF but in a pair.
  static const QRegularExpression odd(QStringLiteral("[^ -\\x7f\r\n]|\r(?!\n)|(?<!\r)\n"));
  EXPECT_EQ(QString::fromLatin1(bytes).indexOf(odd), -1);
  bool exists = false;
  const CogRefData d = LoadCogRefFile(shipped, &exists);
  ASSERT_TRUE(exists);
  EXPECT_TRUE(d.problems.empty()) << FormatCogRefProblems(d.problems);
  QStringList names;
  QHash<QString, QString> categoryOf;  // case-folded function name -> category
  size_t functions = 0;
  for (const CogRefCategory& c : d.categories) {
    names << c.name;
    functions += c.functions.size();
    for (const CogRefEntry& e : c.functions) {
      categoryOf.insert(e.text.toCaseFolded(), c.name);
      EXPECT_TRUE(SignatureOf(e.tag).endsWith(')') && DescriptionOf(e.tag).size() >= 20) << e.tag;
      EXPECT_FALSE(e.text.isEmpty() || e.text.contains(' ')) << e.tag;
    }
  }
  EXPECT_EQ(names.value(0), "Thing") << "the most used category comes first";
  names.sort();
  EXPECT_EQ(names, QStringList({"AI", "Effects", "Inventory", "Keyframe", "Math", "Multiplayer", "Player", "Print",
                                "Sector", "Sound", "Surface", "System", "Thing", "Vector", "Weapon", "World"}));
  EXPECT_EQ(functions, 539u) << "one line per verb, nothing else";

  QFile facts(tarvex::test::SharedPath("cog-language/verbs.tsv"));
  if (!facts.open(QIODevice::ReadOnly)) GTEST_SKIP() << "language facts not available";
  QSet<QString> verbs;
  const QStringList rows = QString::fromUtf8(facts.readAll()).split('\n', Qt::SkipEmptyParts);
  for (qsizetype i = 1; i < rows.size(); ++i) {  // row 0 names the columns
    const QStringList cols = rows[i].trimmed().split('\t');
    ASSERT_EQ(cols.size(), 3) << rows[i];
    verbs.insert(cols[0].toCaseFolded());
    EXPECT_EQ(categoryOf.value(cols[0].toCaseFolded(), "(missing)"), cols[2]) << cols[0];
  }
  EXPECT_EQ(verbs.size(), 539);
}

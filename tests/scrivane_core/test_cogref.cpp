#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>

#include "common/files.h"
#include "scrivane/core/cogref.h"
#include "tests/support/test_env.h"

using namespace scrivane;

namespace {

// Compact picture of parsed data: "Cat[Name=line;Name=line] Cat2[]".
QString Shape(const CogRefData& d) {
  QStringList cats;
  for (const CogRefCategory& c : d.categories) {
    QStringList fns;
    for (const CogRefEntry& e : c.functions) fns << e.text + QLatin1Char('=') + e.tag;
    cats << c.name + QLatin1Char('[') + fns.join(QLatin1Char(';')) + QLatin1Char(']');
  }
  return cats.join(QLatin1Char(' '));
}

// "line:reason" for each problem, separated by " / ".
QString Problems(const CogRefData& d) {
  QStringList out;
  for (const CogRefProblem& p : d.problems) out << QString::number(p.line) + QLatin1Char(':') + p.reason;
  return out.join(QStringLiteral(" / "));
}

QString Utf8(const char* s) { return QString::fromUtf8(s); }

QString ShippedFile() { return QStringLiteral(TARVEX_SOURCE_DIR "/scrivane/data/cogref.dat"); }

}  // namespace

TEST(CogRefParse, KeptLinesAndSkippedOnes) {
  struct { const char* what; const char* text; const char* shape; const char* problems; } cases[] = {
      {"header skipped even when it is a category line", ".Head\r\n.A\r\nF(x)|d\r\nEOF\r\n", "A[F=F(x)|d]", ""},
      {"header skipped even when it reads EOF", "EOF\r\n.A\r\nG()|e\r\nEOF\r\n", "A[G=G()|e]", ""},
      {"EOF right after the header gives an empty catalogue", "h\r\nEOF\r\n.A\r\n", "", ""},
      {"lower-case eof ends the catalogue", "h\r\n.A\r\nF()|d\r\neof\r\nG()|e\r\n.B\r\n", "A[F=F()|d]", ""},
      {"no EOF line, mixed line ends", "h\r\n.A\nF()|d\rG()|e\r\n.B\r\nH()|f", "A[F=F()|d;G=G()|e] B[H=H()|f]", ""},
      {"bars and parentheses", "h\r\n.A\r\nF(a)|x|y\r\nG(a, b)\r\nH(a(b))|c(d)\r\n.B\r\n",
       "A[F=F(a)|x|y;G=G(a, b);H=H(a(b))|c(d)] B[]", ""},
      {"category name is everything after the full stop", "h\r\n. Odd.Name \r\nF()|d\r\nEOF\r\n", " Odd.Name [F=F()|d]", ""},
      {"EOF with trailing blank is not the terminator", "h\n.A\nEOF \nF()|d\n", "A[F=F()|d]",
       "3:function line without \"(\""},
      {"function before the first category", "h\r\nF()|d\r\n.A\r\nH()|f\r\n", "A[H=H()|f]",
       "2:function \"F\" comes before the first category"},
      {"category without a name leaves the current category", "h\n.A\nF()|d\n.\nG()|e\n", "A[F=F()|d;G=G()|e]",
       "4:category line without a name"},
      {"repeated category, ignoring case: its functions join the first one", "h\n.A\nF()|d\n.B\nG()|e\n.a\nH()|f\n",
       "A[F=F()|d;H=H()|f] B[G=G()|e]", "6:category \"a\" appears twice"},
      {"function keys ignore case", "h\n.A\nF(x)|d\n.B\nf(X)|D\nF(x)|other\n", "A[F=F(x)|d] B[F=F(x)|other]",
       "5:function line \"f\" appears twice"},
      {"categories and functions share one key space", "h\n.A\nF()|d\n.F()|d\nG()|e\n", "A[F=F()|d;G=G()|e]",
       "4:category \"F()|d\" appears twice"},
      {"line numbers count every physical line", "h\r\n.A\r\n\r\nF()|d\r\nX\r\n", "A[F=F()|d]",
       "3:blank line / 5:function line without \"(\""},
      {"nothing after EOF is checked", "h\n.A\nF()|d\nEOF\n\nX\n.A\n", "A[F=F()|d]", ""},
  };
  for (const auto& c : cases) {
    const CogRefData d = ParseCogRef(Utf8(c.text));
    EXPECT_EQ(Shape(d), Utf8(c.shape)) << c.what;
    EXPECT_EQ(Problems(d), Utf8(c.problems)) << c.what;
  }
}

TEST(CogRefTags, SignatureAndDescriptionSplitAtTheFirstBar) {
  // Tag, then signature / description; a category, or a function without a bar, shows its whole tag.
  for (const auto& [tag, want] : {std::pair("parent", "parent/parent"), {"F(a)|x|y", "F(a)/x|y"}, {"F(a)", "F(a)/F(a)"}, {"|only", "/only"}})
    EXPECT_EQ(SignatureOf(tag) + '/' + DescriptionOf(tag), want) << tag;
  EXPECT_TRUE(IsCategoryTag("parent") && !IsCategoryTag("F(a)"));
}

TEST(CogRefProblems, MessageCountsAndNamesTheFirstFive) {
  EXPECT_EQ(FormatCogRefProblems({}), QString());
  EXPECT_EQ(FormatCogRefProblems({{3, QStringLiteral("blank line")}}),
            QStringLiteral("1 line of cogref.dat was skipped:\nLine 3: blank line"));

  std::vector<CogRefProblem> seven;
  for (int i = 1; i <= 7; ++i) seven.push_back({i * 10, QStringLiteral("reason %1").arg(i)});
  EXPECT_EQ(FormatCogRefProblems(seven),
            QStringLiteral("7 lines of cogref.dat were skipped:\nLine 10: reason 1\nLine 20: reason 2\n"
                           "Line 30: reason 3\nLine 40: reason 4\nLine 50: reason 5\n... and 2 more."));

  EXPECT_FALSE(FormatCogRefProblems({seven.begin(), seven.begin() + 5}).contains("more")) << "exactly five: all named";
  EXPECT_EQ(FormatCogRefProblems({{0, QStringLiteral("the file could not be read (denied)")}}),
            QStringLiteral("cogref.dat: the file could not be read (denied)."));
}

TEST(CogRefFile, LoadsFromDiskOrReportsItMissing) {
  QTemporaryDir dir;
  bool exists = true;
  const CogRefData none = LoadCogRefFile(dir.filePath("cogref.dat"), &exists);
  EXPECT_FALSE(exists);
  EXPECT_TRUE(none.categories.empty() && none.problems.empty());
  // A folder of that name is no reference file either.
  ASSERT_TRUE(QDir(dir.path()).mkdir("folder.dat"));
  exists = true;
  LoadCogRefFile(dir.filePath("folder.dat"), &exists);
  EXPECT_FALSE(exists);
  // Bytes are read in the ANSI code page: 0xE9 is e-acute.
  const QString path = dir.filePath("cogref.dat");
  ASSERT_TRUE(tarvex::WriteWholeFile(path, "header\r\n.Thing\r\nCaf\xE9(x)|d\xE9j\xE0\r\n\r\nEOF\r\n"));
  const CogRefData d = LoadCogRefFile(path, &exists);
  EXPECT_TRUE(exists);
  EXPECT_EQ(Shape(d), Utf8("Thing[Café=Café(x)|déjà]"));
  EXPECT_EQ(Problems(d), QStringLiteral("4:blank line"));
}

// The file we ship: plain ASCII with CR LF, ending in EOF, one line per verb of the language
// in its category, each with a signature and a description (fuzz_cogref replays it too).
TEST(CogRefShipped, CleanAndHoldsEveryVerbInItsCategory) {
  QByteArray bytes;
  ASSERT_TRUE(tarvex::ReadWholeFile(ShippedFile(), &bytes));
  ASSERT_TRUE(bytes.endsWith("\r\nEOF\r\n"));
  EXPECT_TRUE(bytes.count("\r\n") == bytes.count('\n') && bytes.count("\r\n") == bytes.count('\r'));
  for (qsizetype i = 0; i < bytes.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(bytes[i]);
    ASSERT_TRUE(c < 0x80 && (c >= 0x20 || c == '\r' || c == '\n')) << "byte " << i;
  }
  bool exists = false;
  const CogRefData d = LoadCogRefFile(ShippedFile(), &exists);
  ASSERT_TRUE(exists);
  EXPECT_TRUE(d.problems.empty()) << FormatCogRefProblems(d.problems);
  QStringList names;
  QHash<QString, QString> categoryOf;  // case-folded function name -> category
  int functions = 0;
  for (const CogRefCategory& c : d.categories) {
    names << c.name;
    for (const CogRefEntry& e : c.functions) {
      categoryOf.insert(e.text.toCaseFolded(), c.name);
      ++functions;
      EXPECT_TRUE(SignatureOf(e.tag).endsWith(QLatin1Char(')'))) << e.tag;
      EXPECT_GE(DescriptionOf(e.tag).size(), 20) << e.tag;
      EXPECT_FALSE(e.text.isEmpty() || e.text.contains(QLatin1Char(' '))) << e.tag;
    }
  }
  EXPECT_EQ(names.value(0), QStringLiteral("Thing")) << "the most used category comes first";
  names.sort();
  EXPECT_EQ(names, QStringList({"AI", "Effects", "Inventory", "Keyframe", "Math", "Multiplayer", "Player", "Print",
                                "Sector", "Sound", "Surface", "System", "Thing", "Vector", "Weapon", "World"}));
  EXPECT_EQ(functions, 539) << "one line per verb, nothing else";

  QFile facts(tarvex::test::SharedPath(QStringLiteral("cog-language/verbs.tsv")));
  if (!facts.open(QIODevice::ReadOnly)) GTEST_SKIP() << "language facts not available";
  QSet<QString> verbs;
  const QStringList rows = QString::fromUtf8(facts.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  for (qsizetype i = 1; i < rows.size(); ++i) {  // row 0 names the columns
    const QStringList cols = rows[i].trimmed().split(QLatin1Char('\t'));
    ASSERT_EQ(cols.size(), 3) << rows[i];
    verbs.insert(cols[0].toCaseFolded());
    EXPECT_EQ(categoryOf.value(cols[0].toCaseFolded(), QStringLiteral("(missing)")), cols[2]) << cols[0];
  }
  EXPECT_EQ(verbs.size(), 539);
}

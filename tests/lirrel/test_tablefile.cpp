// The text form of jkstrings.uni: reading one line, groups, the written head, and the paths
// that lead to the file.
#include <QDir>

#include "common/settings.h"
#include "lirrel/core/tablefile.h"
#include "tests/support/test_env.h"

namespace lirrel {
namespace {

TEST(TableFile, ReadsEachKindOfLine) {
  using K = TableLine::Kind;
  // a and b: a key's name and value; a header line's entry and "c" for the comments line.
  const struct { const char* line; K kind; const char *a, *b; } cases[] = {
      {"#& created by: Me", K::Header, " created by: Me", ""},
      {"#&>my \"notes\"", K::Header, "my \"notes\"", "c"},
      {"#  \"<key>\"  0  \"<string>\"", K::Comment, "", ""},
      {"", K::Empty, "", ""},
      {"MSGS 12   # count", K::Skipped, "", ""},
      {"\"ONLY_ONE", K::Skipped, "", ""},
      // Indented lines, a commented-out line behind blanks too, are key lines.
      {"   \"ERROR\"    0 \"Error\"   # title \"x\"", K::Key, "ERROR", "Error"},
      {"\t#\"GUIEXT_\"\t0\t\"\"", K::Key, "GUIEXT_", ""},
      // No number field; blanks and %s in names; the backslash value.
      {"\"HELL_TEXT_00\" \"It's hot!\"", K::Key, "HELL_TEXT_00", "It's hot!"},
      {"\"ERR_LOAD %s\" 0 \"Unable '%s'\"", K::Key, "ERR_LOAD %s", "Unable '%s'"},
      {"\"DIK_BACKSLASH\"  0 \"\\\"", K::Key, "DIK_BACKSLASH", "\\"},
      // Two or three quotes: the name is kept, the value is what follows the third, or empty.
      {"\"HALF\" 0", K::Key, "HALF", ""},
      {"\"OPEN\" 0 \"runs to the end", K::Key, "OPEN", "runs to the end"},
      {"\"HALF\" 0 no value", K::Skipped, "", ""},  // writing it again would drop the words
  };
  for (const auto& c : cases) {
    const TableLine t = ReadTableLine(QString::fromLatin1(c.line));
    EXPECT_EQ(t.kind, c.kind) << c.line;
    if (c.kind == K::Key) {
      EXPECT_EQ(t.name + '|' + t.value, QString::fromLatin1(c.a) + '|' + c.b) << c.line;
    } else if (c.kind == K::Header) {
      EXPECT_EQ(t.text + '|' + (t.comments ? "c" : ""), QString::fromLatin1(c.a) + '|' + c.b) << c.line;
    }
  }
}

TEST(TableFile, GroupOfName) {
  const char* cases[][2] = {{"HELLO", "MISC."}, {"GAME_SAVE", "GAME"}, {"All_X", "All"},
                            {"_LEAD", ""},      {"A_B_C", "A"},        {"CREDITS_ small_7", "CREDITS"}};
  for (const auto& c : cases) EXPECT_EQ(GroupOf(QString::fromLatin1(c[0])), QString::fromLatin1(c[1])) << c[0];
}

TEST(TableFile, HeadAndKeyLines) {
  tarvex::test::TempSettings settings;
  const QString ruler = QStringLiteral("#& ") + QString(49, '=');
  QStringList expected = {"MSGS  12", "", "#& JKStrings.Uni", "#& created using Tarvex/Lirrel version 0.2.0", "#&",
                          "#& created by: ", "#& ", "#& ", "#&", "#& Comments & Description:", "#&>notes", "#&",
                          ruler, "#& Lirrel by Dessel", "#& tools@tarvex.example", "#& https://tarvex.example/", ruler};
  EXPECT_EQ(HeadLines(12, QStringLiteral("notes"), Author::FromSettings()), expected);

  // Key lines: the name padded, the number, then the value.
  EXPECT_EQ(KeyLine(QStringLiteral("A"), QStringLiteral("b")),
            QStringLiteral("\"A\"") + QString(25, ' ') + '0' + QString(5, ' ') + QStringLiteral("\"b\""));
}

TEST(TableFile, PathsAndCommandLines) {
  EXPECT_EQ(FolderOf(QStringLiteral("/jkstrings.uni")), QStringLiteral("/"));
  EXPECT_EQ(FolderOf(QStringLiteral("jkstrings.uni")), QDir::toNativeSeparators(QDir::currentPath()));
#ifdef Q_OS_WIN
  for (const char* name : {"/x/JkStrings.Uni", "C:\\x\\JKSTRINGS.UNI"}) EXPECT_TRUE(IsTableFileName(name)) << name;
  for (const char* name : {"/x/strings.uni", "/x/jkstrings.~un", "/jkstrings.uni/a.uni"})
#else
  // A backslash is a character of the file's name here: we\jkstrings.uni is another file.
  for (const char* name : {"/x/JkStrings.Uni", "/x\\y/jkstrings.uni"}) EXPECT_TRUE(IsTableFileName(name)) << name;
  for (const char* name : {"/x/strings.uni", "/x/jkstrings.~un", "/jkstrings.uni/a.uni", "/x/we\\jkstrings.uni"})
#endif
    EXPECT_FALSE(IsTableFileName(name)) << name;

  const char* cases[][2] = {
      {"", "/opt/tarvex"},
      {"   ", "/opt/tarvex"},
      {"  /games/my jk/jkstrings.uni  ", "/games/my jk"},
      {"\"/games/my jk/JkStrings.uni\"", "/games/my jk"},
#ifdef Q_OS_WIN
      {"C:\\Games\\Resource\\JKSTRINGS.UNI", "C:\\Games\\Resource"},
      {"C:\\Games\\Resource\\strings.uni", nullptr},
#else
      {"/games/we\\ird/JKSTRINGS.UNI", "/games/we\\ird"},
#endif
  };
  for (const auto& c : cases) {
    const auto folder = StartFolder(QString::fromLatin1(c[0]), QStringLiteral("/opt/tarvex"));
    EXPECT_EQ(folder.value_or(QStringLiteral("(none)")), c[1] ? QString::fromLatin1(c[1]) : QStringLiteral("(none)"))
        << c[0];
  }
}

}  // namespace
}  // namespace lirrel

// The text form of jkstrings.uni: reading one line, groups, the written lines, and the paths
// that lead to the file.
#include <QDir>
#include <gtest/gtest.h>

#include "common/settings.h"
#include "lirrel/core/tablefile.h"
#include "tests/support/test_env.h"

namespace lirrel {
namespace {

struct LineCase {
  const char* line;
  TableLine::Kind kind;
  const char* name;   // Key: name; Header: header entry
  const char* value;  // Key: value
  bool comments;
};

class ReadLine : public ::testing::TestWithParam<LineCase> {};

TEST_P(ReadLine, Classifies) {
  const LineCase& c = GetParam();
  const TableLine t = ReadTableLine(QString::fromLatin1(c.line));
  EXPECT_EQ(t.kind, c.kind) << c.line;
  if (c.kind == TableLine::Key) {
    EXPECT_EQ(t.name, QString::fromLatin1(c.name)) << c.line;
    EXPECT_EQ(t.value, QString::fromLatin1(c.value)) << c.line;
  }
  if (c.kind == TableLine::Header) {
    EXPECT_EQ(t.text, QString::fromLatin1(c.name)) << c.line;
    EXPECT_EQ(t.comments, c.comments) << c.line;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ReadLine,
    ::testing::Values(
        LineCase{"#& created by: Me", TableLine::Header, " created by: Me", "", false},
        LineCase{"#&", TableLine::Header, "", "", false},
        LineCase{"#&>my comments", TableLine::Header, "my comments", "", true},
        LineCase{"#&> \"quoted\" too", TableLine::Header, " \"quoted\" too", "", true},
        LineCase{"#  \"<key>\"  0  \"<string>\"", TableLine::Comment, "", "", false},
        LineCase{"#\"A\" 0 \"B\"", TableLine::Comment, "", "", false},
        LineCase{"", TableLine::Empty, "", "", false},
        LineCase{"MSGS 12   # count", TableLine::Skipped, "", "", false},
        LineCase{"END", TableLine::Skipped, "", "", false},
        LineCase{"   ", TableLine::Skipped, "", "", false},
        LineCase{"\"ONLY_ONE", TableLine::Skipped, "", "", false},
        // Indented lines, and a commented-out line behind blanks, are key lines.
        LineCase{"   \"ERROR\"    0 \"Error\"   # title", TableLine::Key, "ERROR", "Error", false},
        LineCase{"\t\"ON\"\t\t0\t\"On\"", TableLine::Key, "ON", "On", false},
        LineCase{"   #\"GUIEXT_\"   0 \"\"", TableLine::Key, "GUIEXT_", "", false},
        LineCase{"\"GAME_SAVE\"                         0     \"Saved.\"", TableLine::Key, "GAME_SAVE", "Saved.", false},
        // No number field, names with blanks and %s, the backslash value.
        LineCase{"\"HELL_TEXT_00\" \"It's hot down here!\"", TableLine::Key, "HELL_TEXT_00", "It's hot down here!", false},
        LineCase{"\"ERR_CANNOT_LOAD_FILE %s\" 0 \"Unable '%s'\"", TableLine::Key, "ERR_CANNOT_LOAD_FILE %s", "Unable '%s'", false},
        LineCase{"\"DIK_BACKSLASH\"  0 \"\\\"", TableLine::Key, "DIK_BACKSLASH", "\\", false},
        LineCase{"\"A\" 0 \"\"", TableLine::Key, "A", "", false},
        LineCase{"\"\" 0 \"nameless\"", TableLine::Key, "", "nameless", false},
        // Two or three quotes: the name is kept; the value is what follows the third, or empty.
        LineCase{"\"HALF\" 0", TableLine::Key, "HALF", "", false},
        LineCase{"\"OPEN\" 0 \"runs to the end", TableLine::Key, "OPEN", "runs to the end", false},
        // Everything after the fourth quote is ignored.
        LineCase{"\"K\" 0 \"v\" # \"note\"", TableLine::Key, "K", "v", false}));

TEST(TableFile, GroupOfName) {
  const struct {
    const char* name;
    const char* group;
  } cases[] = {{"HELLO", "MISC."},   {"GAME_SAVE", "GAME"}, {"All_X", "All"},
               {"_LEADING", ""},     {"A_B_C", "A"},        {"ERR_CANNOT_FIND_FILE %s %s", "ERR"},
               {"CREDITS_ small_7", "CREDITS"}, {"", "MISC."}};
  for (const auto& c : cases) EXPECT_EQ(GroupOf(QString::fromLatin1(c.name)), QString::fromLatin1(c.group)) << c.name;
}

TEST(TableFile, KeyLinePaddingIsFixed) {
  EXPECT_EQ(KeyLine(QStringLiteral("A"), QStringLiteral("b")),
            QStringLiteral("\"A\"") + QString(25, ' ') + QStringLiteral("0") + QString(5, ' ') + QStringLiteral("\"b\""));
  const QString longName(60, 'N');
  EXPECT_EQ(KeyLine(longName, QString()).size(), 60 + 35);
  // What is written reads back.
  const TableLine back = ReadTableLine(KeyLine(QStringLiteral("X_Y %s"), QStringLiteral("v '%s' \\")));
  EXPECT_EQ(back.name, QStringLiteral("X_Y %s"));
  EXPECT_EQ(back.value, QStringLiteral("v '%s' \\"));
}

TEST(TableFile, HeadLines) {
  const QStringList lines = HeadLines(12, QStringLiteral("my notes"),
                                      {QStringLiteral("Kyle"), QStringLiteral("k@x.example"), QStringLiteral("w.example")});
  const QString ruler = QStringLiteral("#& =================================================");
  EXPECT_EQ(ruler.size(), 52);
  const QStringList expected = {
      QStringLiteral("MSGS  12"),
      QString(),
      QStringLiteral("#& JKStrings.Uni"),
      QStringLiteral("#& created using Tarvex/Lirrel version 0.2.0"),
      QStringLiteral("#&"),
      QStringLiteral("#& created by: Kyle"),
      QStringLiteral("#& k@x.example"),
      QStringLiteral("#& w.example"),
      QStringLiteral("#&"),
      QStringLiteral("#& Comments & Description:"),
      QStringLiteral("#&>my notes"),
      QStringLiteral("#&"),
      ruler,
      QStringLiteral("#& Lirrel by Dessel"),
      QStringLiteral("#& tools@tarvex.example"),
      QStringLiteral("#& https://tarvex.example/"),
      ruler,
  };
  EXPECT_EQ(lines, expected);
}

TEST(TableFile, AuthorFromSharedSettings) {
  tarvex::test::TempSettings settings;
  Author none = Author::FromSettings();
  EXPECT_TRUE(none.name.isEmpty() && none.email.isEmpty() && none.website.isEmpty());
  const QStringList blank = HeadLines(0, QString(), none);
  EXPECT_EQ(blank[0], QStringLiteral("MSGS  0"));
  EXPECT_EQ(blank[5], QStringLiteral("#& created by: "));
  EXPECT_EQ(blank[6], QStringLiteral("#& "));
  EXPECT_EQ(blank[7], QStringLiteral("#& "));

  tarvex::SaveSetting(QStringLiteral("Pendrel"), QStringLiteral("AuthInfo"), QStringLiteral("Name"), QStringLiteral("Mara, Jade"));
  tarvex::SaveSetting(QStringLiteral("Pendrel"), QStringLiteral("AuthInfo"), QStringLiteral("EMail"), QStringLiteral("mj@x.example"));
  tarvex::SaveSetting(QStringLiteral("Pendrel"), QStringLiteral("AuthInfo"), QStringLiteral("Website"), QStringLiteral("mj.example"));
  const Author a = Author::FromSettings();
  EXPECT_EQ(a.name, QStringLiteral("Mara, Jade"));
  EXPECT_EQ(a.email, QStringLiteral("mj@x.example"));
  EXPECT_EQ(a.website, QStringLiteral("mj.example"));
}

TEST(TableFile, Unwritable) {
  EXPECT_FALSE(Unwritable(QStringLiteral("Press FIRE to restart, '%s' \\ # ok")));
  for (const QString& bad : {QStringLiteral("say \"hi\""), QStringLiteral("two\nlines"), QStringLiteral("cr\rhere"),
                             QStringLiteral("para") + QChar(QChar::ParagraphSeparator)})
    EXPECT_TRUE(Unwritable(bad)) << bad;
}

TEST(TableFile, FolderOfAndFileName) {
  EXPECT_EQ(FolderOf(QStringLiteral("C:\\Games\\Resource\\JKSTRINGS.UNI")), QStringLiteral("C:\\Games\\Resource"));
  EXPECT_EQ(FolderOf(QStringLiteral("/home/u/jk/jkstrings.uni")), QStringLiteral("/home/u/jk"));
  EXPECT_EQ(FolderOf(QStringLiteral("/jkstrings.uni")), QStringLiteral("/"));
  EXPECT_EQ(FolderOf(QStringLiteral("jkstrings.uni")), QDir::toNativeSeparators(QDir::currentPath()));

  EXPECT_TRUE(IsTableFileName(QStringLiteral("/x/JkStrings.Uni")));
  EXPECT_TRUE(IsTableFileName(QStringLiteral("C:\\x\\JKSTRINGS.UNI")));
  EXPECT_FALSE(IsTableFileName(QStringLiteral("/x/strings.uni")));
  EXPECT_FALSE(IsTableFileName(QStringLiteral("/x/jkstrings.~un")));
  EXPECT_FALSE(IsTableFileName(QStringLiteral("/jkstrings.uni/other.uni")));

  EXPECT_EQ(TablePath(QStringLiteral("/a/b")), QStringLiteral("/a/b/jkstrings.uni"));
  EXPECT_EQ(TablePath(QStringLiteral("/a/b/"), true), QStringLiteral("/a/b/jkstrings.~un"));
}

TEST(TableFile, StartFolderFromCommandLine) {
  const QString program = QStringLiteral("/opt/tarvex");
  const struct {
    const char* cmd;
    const char* folder;  // nullptr: nothing is loaded
  } cases[] = {
      {"", "/opt/tarvex"},
      {"   ", "/opt/tarvex"},
      {"C:\\Games\\Resource\\JKSTRINGS.UNI", "C:\\Games\\Resource"},
      {"  /games/jk/jkstrings.uni  ", "/games/jk"},
      {"\"/games/my jk/JkStrings.uni\"", "/games/my jk"},
      {"/games/my jk/jkstrings.uni", "/games/my jk"},
      {"C:\\Games\\Resource\\strings.uni", nullptr},
      {"/games/jk/models.dat", nullptr},
  };
  for (const auto& c : cases) {
    const auto folder = StartFolder(QString::fromLatin1(c.cmd), program);
    if (!c.folder) {
      EXPECT_FALSE(folder.has_value()) << c.cmd;
    } else {
      ASSERT_TRUE(folder.has_value()) << c.cmd;
      EXPECT_EQ(*folder, QString::fromLatin1(c.folder)) << c.cmd;
    }
  }
}

}  // namespace
}  // namespace lirrel

// The string table: loading, saving with its backup, adding and deleting keys, what it reports
// to its window, and the failures that must leave the user's data whole.
#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

#include "common/settings.h"
#include "lirrel/core/tablefile.h"
#include "tests/lirrel/lirrel_test_util.h"
#include "tests/support/test_env.h"

namespace lirrel {
namespace {

using test::FileLines;
using test::KeyDump;
using test::ReadBytes;
using test::TableBytes;
using test::WriteBytes;

class StringTableTest : public ::testing::Test {
 protected:
  QString Folder() const { return dir_.path(); }
  QString Uni() const { return TablePath(Folder()); }
  QString Backup() const { return TablePath(Folder(), true); }
  void Write(const QStringList& lines) { WriteBytes(Uni(), TableBytes(lines)); }

  tarvex::test::TempSettings settings_;
  QTemporaryDir dir_;
  test::RecordingListener log_;
  StringTable table_{&log_};
};

const QStringList kSample = {
    QStringLiteral("MSGS 5   # count"),
    QString(),
    QStringLiteral("#& first header"),
    QStringLiteral("#&>first comments"),
    QStringLiteral("# a comment with \"quotes\""),
    QStringLiteral("   \"GAME_SAVE\"   0  \"Game saved.\"  # trailing"),
    QStringLiteral("\"HELLO\" 0 \"Hi\""),
    QStringLiteral("\"GAME_LOAD\" \"Loaded.\""),
    QStringLiteral("\"All_X\" 0 \"in All\""),
    QStringLiteral("#&>second comments"),
    QStringLiteral("\"_LEAD\" 0 \"\""),
    QStringLiteral("END"),
    QStringLiteral("stray"),
};

TEST_F(StringTableTest, LoadBuildsKeysGroupsAndHeader) {
  Write(kSample);
  ASSERT_TRUE(table_.LoadTable(Folder(), LoadMode::Load));
  EXPECT_EQ(table_.Count(), 5);
  EXPECT_EQ(KeyDump(table_), (QStringList{"GAME_SAVE=Game saved.", "HELLO=Hi", "GAME_LOAD=Loaded.", "All_X=in All", "_LEAD="}));
  EXPECT_EQ(table_.groupTable(), (QStringList{"All", "GAME", "MISC.", ""}));
  const std::vector<int> groups = {0, 1, 2, 1, 0, 3};
  for (size_t k = 0; k < groups.size(); ++k) EXPECT_EQ(table_.keyTable()[k].group, groups[k]) << k;
  EXPECT_EQ(table_.keyTable()[0].name, QStringLiteral("(empty)"));
  // Header entries without "#&"; each comments line lists its text; the last one wins.
  EXPECT_EQ(table_.headerLines(), (QStringList{" first header", "first comments", "second comments"}));
  EXPECT_EQ(table_.Comments(), QStringLiteral("second comments"));
  EXPECT_EQ(table_.LoadedFolder(), Folder());
  EXPECT_FALSE(table_.Modified());

  // The window hears: lists emptied, "All" and "(empty)", each group once, every key, the count.
  const QStringList expected = {"reset",        "group All 0",  "key (empty) 0", "group GAME 1", "key GAME_SAVE 1",
                                "count 1",      "group MISC. 2", "key HELLO 2",  "count 2",      "key GAME_LOAD 3",
                                "count 3",      "key All_X 4",  "count 4",       "group  3",     "key _LEAD 5",
                                "count 5",      "count 5",      "finished"};
  EXPECT_EQ(log_.events, expected);
  EXPECT_TRUE(log_.messages.isEmpty());
}

TEST_F(StringTableTest, FileWithoutHeaderKeepsComments) {
  table_.SetComments(QStringLiteral("kept"));
  Write({QStringLiteral("MSGS 1"), QStringLiteral("\"A\" 0 \"a\""), QStringLiteral("END")});
  ASSERT_TRUE(table_.LoadTable(Folder(), LoadMode::Load));
  EXPECT_EQ(table_.headerLines(), QStringList{QString()});
  EXPECT_EQ(table_.Comments(), QStringLiteral("kept"));
}

TEST_F(StringTableTest, LineEndsOfEveryKind) {
  WriteBytes(Uni(), "MSGS 3\n\"A\" 0 \"a\"\n\"B\" 0 \"b\"\r\"C\" 0 \"c\"\r\n\r\n\"D\" 0 \"d\"");
  ASSERT_TRUE(table_.LoadTable(Folder(), LoadMode::Load));
  EXPECT_EQ(KeyDump(table_), (QStringList{"A=a", "B=b", "C=c", "D=d"}));
}

TEST_F(StringTableTest, EveryByteSurvivesLoadAndSave) {
  // Windows-1252 text: e acute, the euro sign (0x80), a curly quote (0x93) in a value.
  WriteBytes(Uni(), "\"CAF\xC9_1\" 0 \"\x80 5 \x93ok\x94\"\r\n");
  ASSERT_TRUE(table_.LoadTable(Folder(), LoadMode::Load));
  EXPECT_EQ(table_.keyTable()[1].name, QString::fromUtf8("CAF\xC3\x89_1"));
  EXPECT_EQ(table_.keyTable()[1].value, QString::fromUtf8("\xE2\x82\xAC 5 \xE2\x80\x9Cok\xE2\x80\x9D"));
  ASSERT_TRUE(table_.SaveTable(Folder()));
  EXPECT_TRUE(ReadBytes(Uni()).contains("\"CAF\xC9_1\"" + QByteArray(25, ' ') + "0     \"\x80 5 \x93ok\x94\"\r\n"));
}

TEST_F(StringTableTest, SaveWritesCountHeaderKeysAndEnd) {
  tarvex::SaveSetting(QStringLiteral("Pendrel"), QStringLiteral("AuthInfo"), QStringLiteral("Name"), QStringLiteral("Kyle"));
  Write(kSample);
  ASSERT_TRUE(table_.LoadTable(Folder(), LoadMode::Load));
  table_.SetComments(QStringLiteral("new comments"));
  ASSERT_TRUE(table_.SaveTable(Folder()));
  const QStringList lines = FileLines(Uni());
  ASSERT_EQ(lines.size(), 5 + 18);
  EXPECT_EQ(lines[0], QStringLiteral("MSGS  5"));
  EXPECT_EQ(lines[5], QStringLiteral("#& created by: Kyle"));
  EXPECT_EQ(lines[10], QStringLiteral("#&>new comments"));
  EXPECT_EQ(lines[17], KeyLine(QStringLiteral("GAME_SAVE"), QStringLiteral("Game saved.")));
  EXPECT_EQ(lines[21], KeyLine(QStringLiteral("_LEAD"), QString()));
  EXPECT_EQ(lines[22], QStringLiteral("END"));
  EXPECT_TRUE(ReadBytes(Uni()).endsWith("END\r\n"));
  // The save reads the file back: the header is now the written one, the edit is saved.
  EXPECT_EQ(table_.headerLines().size(), 15);
  EXPECT_EQ(table_.headerLines()[8], QStringLiteral("new comments"));
  EXPECT_FALSE(table_.Modified());
  EXPECT_EQ(KeyDump(table_).size(), 5);
}

TEST_F(StringTableTest, EmptyTableSavesEighteenLines) {
  ASSERT_TRUE(table_.SaveTable(Folder()));
  const QStringList lines = FileLines(Uni());
  ASSERT_EQ(lines.size(), 18);
  EXPECT_EQ(lines[0], QStringLiteral("MSGS  0"));
  EXPECT_EQ(lines[17], QStringLiteral("END"));
  EXPECT_EQ(table_.Count(), 0);
}

TEST_F(StringTableTest, LirrelFileSurvivesLoadAndSave) {
  table_.AddKey(QStringLiteral("Custom Keys"), QStringLiteral("New_Key"), QStringLiteral("one"));
  table_.AddKey(QStringLiteral("Custom Keys"), QStringLiteral("HUD %s"), QStringLiteral("two '%s'"));
  table_.SetComments(QStringLiteral("notes # with \"quotes\""));
  ASSERT_TRUE(table_.SaveTable(Folder()));
  const QStringList first = FileLines(Uni());

  tarvex::SaveSetting(QStringLiteral("Pendrel"), QStringLiteral("AuthInfo"), QStringLiteral("EMail"), QStringLiteral("new@x.example"));
  StringTable other;
  ASSERT_TRUE(other.LoadTable(Folder(), LoadMode::Load));
  EXPECT_EQ(other.Comments(), QStringLiteral("notes # with \"quotes\""));
  // Keys added by hand land in the groups of their names once read back.
  EXPECT_EQ(other.groupTable(), (QStringList{"All", "New", "MISC."}));
  ASSERT_TRUE(other.SaveTable(Folder()));
  const QStringList second = FileLines(Uni());
  ASSERT_EQ(second.size(), first.size());
  for (int i = 0; i < first.size(); ++i) {
    if (i == 6) EXPECT_EQ(second[i], QStringLiteral("#& new@x.example"));  // author lines from the settings now
    else EXPECT_EQ(second[i], first[i]) << i;
  }
}

TEST_F(StringTableTest, BackupHoldsTheFileBeforeTheLatestSave) {
  table_.AddKey(QStringLiteral("Custom Keys"), QStringLiteral("ONE"), QStringLiteral("1"));
  ASSERT_TRUE(table_.SaveTable(Folder()));
  EXPECT_TRUE(QFileInfo::exists(Uni()));
  EXPECT_FALSE(QFileInfo::exists(Backup()));  // nothing to keep the first time
  const QByteArray first = ReadBytes(Uni());

  table_.AddKey(QStringLiteral("Custom Keys"), QStringLiteral("TWO"), QStringLiteral("2"));
  ASSERT_TRUE(table_.SaveTable(Folder()));
  EXPECT_EQ(ReadBytes(Backup()), first);
  const QByteArray second = ReadBytes(Uni());

  ASSERT_TRUE(table_.SaveTable(Folder()));
  EXPECT_EQ(ReadBytes(Backup()), second);  // the older backup is replaced
  EXPECT_EQ(QDir(Folder()).entryList(QDir::Files | QDir::NoDotAndDotDot),
            (QStringList{"jkstrings.uni", "jkstrings.~un"}));

  // Revert reads the backup beside the table.
  ASSERT_TRUE(table_.LoadTable(Folder(), LoadMode::Revert));
  EXPECT_EQ(KeyDump(table_), (QStringList{"ONE=1", "TWO=2"}));
}

TEST_F(StringTableTest, AddKeyListsCustomKeysOnce) {
  for (int i = 0; i < 3; ++i) table_.AddKey(QStringLiteral("Custom Keys"), QStringLiteral("K%1").arg(i), QString());
  EXPECT_EQ(table_.groupTable(), (QStringList{"All", "Custom Keys"}));
  EXPECT_EQ(log_.Matching(QStringLiteral("group")), QStringList{"group Custom Keys 1"});
  EXPECT_EQ(log_.Matching(QStringLiteral("key")), (QStringList{"key K0 1", "key K1 2", "key K2 3"}));
  EXPECT_EQ(log_.events.last(), QStringLiteral("count 3"));
  // A group named "All" is group 0.
  EXPECT_EQ(table_.AddKey(QStringLiteral("All"), QStringLiteral("All_Y"), QString()), 4);
  EXPECT_EQ(table_.keyTable()[4].group, 0);
  EXPECT_TRUE(table_.Modified());
}

TEST_F(StringTableTest, DeleteShiftsLaterKeysAndKeepsThePlaceholder) {
  for (const char* n : {"A", "B", "C", "D"}) table_.AddKey(QStringLiteral("g"), QString::fromLatin1(n), QString::fromLatin1(n).toLower());
  log_.events.clear();
  const struct {
    int k;
    bool ok;
    const char* after;
  } steps[] = {{2, true, "A=a,C=c,D=d"}, {0, false, "A=a,C=c,D=d"}, {4, false, "A=a,C=c,D=d"},
               {-1, false, "A=a,C=c,D=d"}, {3, true, "A=a,C=c"},      {1, true, "C=c"}};
  for (const auto& s : steps) {
    EXPECT_EQ(table_.DeleteKey(s.k), s.ok) << s.k;
    EXPECT_EQ(KeyDump(table_).join(','), QString::fromLatin1(s.after)) << s.k;
    EXPECT_EQ(table_.keyTable()[0].name, QStringLiteral("(empty)"));
  }
  EXPECT_EQ(log_.events, (QStringList{"count 3", "count 2", "count 1"}));
}

TEST_F(StringTableTest, ValueAndCommentChangesMarkTheTable) {
  Write(kSample);
  ASSERT_TRUE(table_.LoadTable(Folder(), LoadMode::Load));
  EXPECT_TRUE(table_.SetValue(2, QStringLiteral("Hi")));  // unchanged
  EXPECT_FALSE(table_.Modified());
  EXPECT_FALSE(table_.SetValue(0, QStringLiteral("x")));  // the placeholder holds no value
  EXPECT_FALSE(table_.SetValue(6, QStringLiteral("x")));
  EXPECT_EQ(table_.keyTable()[0].value, QString());
  EXPECT_TRUE(table_.SetValue(2, QStringLiteral("Hello")));
  EXPECT_TRUE(table_.Modified());
  ASSERT_TRUE(table_.LoadTable(Folder(), LoadMode::Load));
  EXPECT_FALSE(table_.Modified());
  table_.SetComments(table_.Comments());
  EXPECT_FALSE(table_.Modified());
  table_.SetComments(QStringLiteral("other"));
  EXPECT_TRUE(table_.Modified());
}

// A load or revert of a file that is not there says so and keeps everything in memory.
TEST_F(StringTableTest, MissingFileKeepsTheTable) {
  Write(kSample);
  ASSERT_TRUE(table_.LoadTable(Folder(), LoadMode::Load));
  table_.AddKey(QStringLiteral("Custom Keys"), QStringLiteral("UNSAVED"), QStringLiteral("edit"));
  const QStringList keys = KeyDump(table_);
  const QStringList groups = table_.groupTable();
  log_.events.clear();

  EXPECT_FALSE(table_.LoadTable(Folder(), LoadMode::Revert));
  QDir(Folder()).mkdir(QStringLiteral("sub"));
  QDir(Folder()).mkdir(QStringLiteral("sub/jkstrings.uni"));  // a folder is no file
  EXPECT_FALSE(table_.LoadTable(Folder() + QStringLiteral("/sub"), LoadMode::Load));
  EXPECT_FALSE(table_.LoadTable(Folder() + QStringLiteral("/none"), LoadMode::Refresh));

  ASSERT_EQ(log_.messages.size(), 3);
  EXPECT_EQ(log_.messages[0], QStringLiteral("Can't Load File|") + Backup() + QStringLiteral("\r\nThis file does not exist."));
  EXPECT_EQ(log_.messages[1],
            QStringLiteral("Can't Load File|") + Folder() + QStringLiteral("/sub/jkstrings.uni\r\nThis file does not exist."));
  EXPECT_TRUE(log_.events.isEmpty());  // the lists were not touched
  EXPECT_EQ(KeyDump(table_), keys);
  EXPECT_EQ(table_.groupTable(), groups);
  EXPECT_EQ(table_.Comments(), QStringLiteral("second comments"));
  EXPECT_TRUE(table_.Modified());
  EXPECT_EQ(table_.LoadedFolder(), Folder());
}

// Each failing step of a save names the file and the reason and leaves the old table whole.
TEST_F(StringTableTest, FailedSaveLeavesTheOldFileWhole) {
  Write(kSample);
  ASSERT_TRUE(table_.LoadTable(Folder(), LoadMode::Load));
  const QByteArray original = ReadBytes(Uni());
  table_.AddKey(QStringLiteral("Custom Keys"), QStringLiteral("NEW"), QString());
  const QDir dir(Folder());

  struct Case {
    const char* name;
    std::function<void()> arrange;
    std::function<void()> undo;
    QString named;  // the file the message names
  };
  const std::vector<Case> cases = {
      {"backup cannot be replaced",
       [&] { dir.mkpath(QStringLiteral("jkstrings.~un/inside")); },
       [&] { QDir(Backup()).removeRecursively(); }, Backup()},
      {"new file cannot be written",
       [&] { dir.mkpath(QStringLiteral("jkstrings.uni.new/inside")); },
       [&] { QDir(Folder() + QStringLiteral("/jkstrings.uni.new")).removeRecursively(); }, Uni()},
  };
  for (const Case& c : cases) {
    c.arrange();
    log_.messages.clear();
    EXPECT_FALSE(table_.SaveTable(Folder())) << c.name;
    ASSERT_EQ(log_.messages.size(), 1) << c.name;
    EXPECT_TRUE(log_.messages[0].startsWith(QStringLiteral("Can't Save File|") + c.named + QStringLiteral("\r\n")))
        << c.name << ": " << log_.messages[0];
    EXPECT_GT(log_.messages[0].size(), QStringLiteral("Can't Save File|").size() + c.named.size() + 2) << c.name;
    EXPECT_EQ(ReadBytes(Uni()), original) << c.name;
    EXPECT_TRUE(table_.Modified()) << c.name;  // the edits are still in memory
    EXPECT_EQ(table_.Count(), 6) << c.name;
    c.undo();
    EXPECT_EQ(dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"jkstrings.uni"}) << c.name;
  }

  // A folder that does not exist.
  log_.messages.clear();
  const QString gone = Folder() + QStringLiteral("/gone");
  EXPECT_FALSE(table_.SaveTable(gone));
  ASSERT_EQ(log_.messages.size(), 1);
  EXPECT_TRUE(log_.messages[0].startsWith(QStringLiteral("Can't Save File|") + gone + QStringLiteral("/jkstrings.uni\r\n")));

  // A folder in the table's place.
  QDir(Folder()).mkpath(QStringLiteral("d/jkstrings.uni"));
  log_.messages.clear();
  EXPECT_FALSE(table_.SaveTable(Folder() + QStringLiteral("/d")));
  ASSERT_EQ(log_.messages.size(), 1);
  EXPECT_TRUE(QFileInfo(Folder() + QStringLiteral("/d/jkstrings.uni")).isDir());
  EXPECT_FALSE(QFileInfo::exists(Folder() + QStringLiteral("/d/jkstrings.~un")));

  // And the save works once the way is clear.
  EXPECT_TRUE(table_.SaveTable(Folder()));
  EXPECT_EQ(ReadBytes(Backup()), original);
}

TEST_F(StringTableTest, LinesTheGameCutsAreReportedAfterSaving) {
  const int room = kGameLineLimit - 35;  // quotes and padding take 35 bytes
  const struct {
    std::vector<int> valueLengths;
    const char* message;  // nullptr: none
  } cases[] = {
      {{room, 3}, nullptr},
      {{3, room + 1}, "Lirrel|The key line of \"K1\" is longer than the 254 bytes the game reads; the game cuts it short."},
      {{room + 40, 1, room + 1, 500},
       "Lirrel|3 key lines are longer than the 254 bytes the game reads; the game cuts them short. The first is \"K0\"."},
  };
  for (const auto& c : cases) {
    StringTable table(&log_);
    for (size_t i = 0; i < c.valueLengths.size(); ++i)
      table.AddKey(QStringLiteral("K"), QStringLiteral("K%1").arg(i), QString(c.valueLengths[i] - 2, 'v'));
    log_.messages.clear();
    ASSERT_TRUE(table.SaveTable(Folder()));
    if (!c.message) {
      EXPECT_TRUE(log_.messages.isEmpty()) << log_.messages.join('\n');
    } else {
      EXPECT_EQ(log_.messages, QStringList{QString::fromLatin1(c.message)});
    }
    EXPECT_EQ(table.Count(), int(c.valueLengths.size()));  // saved all the same, and read back
  }
}

TEST_F(StringTableTest, ProgressShowsOnlyForSlowRunsWithExactCaptions) {
  Write({QStringLiteral("MSGS 2"), QStringLiteral("\"A\" 0 \"a\""), QStringLiteral("\"B\" 0 \"b\"")});
  const qint64 size = TableBytes({QStringLiteral("MSGS 2"), QStringLiteral("\"A\" 0 \"a\""), QStringLiteral("\"B\" 0 \"b\"")}).size();

  // A fast run shows nothing.
  ASSERT_TRUE(table_.LoadTable(Folder(), LoadMode::Load));
  EXPECT_TRUE(log_.Matching(QStringLiteral("show")).isEmpty());
  EXPECT_TRUE(log_.Matching(QStringLiteral("close")).isEmpty());

  // A slow one: every line takes a second.
  qint64 now = 0;
  table_.SetClock([&] { return now += 1000; });
  log_.events.clear();
  ASSERT_TRUE(table_.LoadTable(Folder(), LoadMode::Load));
  const QString s = QString::number(size);
  EXPECT_EQ(log_.Matching(QStringLiteral("show")),
            QStringList{"show Loading and Parsing jkstrings.uni - Line 1 -  6 of  " + s + " bytes | " + s});
  EXPECT_EQ(log_.Matching(QStringLiteral("step")),
            (QStringList{"step Loading and Parsing jkstrings.uni - Line 1 -  6 of  " + s + " bytes | 6",
                         "step Loading and Parsing jkstrings.uni - Line 2 -  15 of  " + s + " bytes | 15",
                         "step Loading and Parsing jkstrings.uni - Line 3 -  24 of  " + s + " bytes | 24"}));
  // The window closes before the first key is selected.
  EXPECT_EQ(log_.events.indexOf(QStringLiteral("close")), log_.events.indexOf(QStringLiteral("finished")) - 2);

  log_.events.clear();
  ASSERT_TRUE(table_.SaveTable(Folder()));
  EXPECT_EQ(log_.Matching(QStringLiteral("show Saving")), QStringList{"show Saving jkstrings.uni - Line  1 of  2 | 2"});
  EXPECT_EQ(log_.Matching(QStringLiteral("step Saving")),
            (QStringList{"step Saving jkstrings.uni - Line  1 of  2 | 1", "step Saving jkstrings.uni - Line  2 of  2 | 2"}));
  EXPECT_EQ(log_.Matching(QStringLiteral("step Refreshing data - Line 1 -  7 of ")).size(), 1);
  EXPECT_EQ(log_.Matching(QStringLiteral("close")).size(), 2);

  // An empty file or table has no bar to show.
  log_.events.clear();
  WriteBytes(Uni(), QByteArray());
  ASSERT_TRUE(table_.LoadTable(Folder(), LoadMode::Load));
  EXPECT_EQ(table_.Count(), 0);
  StringTable empty(&log_);
  empty.SetClock([&] { return now += 1000; });
  ASSERT_TRUE(empty.SaveTable(Folder() + QStringLiteral("/")));
  EXPECT_TRUE(log_.Matching(QStringLiteral("show Loading")).isEmpty()) << log_.events.join('\n');
  EXPECT_TRUE(log_.Matching(QStringLiteral("show Saving")).isEmpty()) << log_.events.join('\n');
}

}  // namespace
}  // namespace lirrel

// The string table: loading, saving with its backup, adding and deleting keys, what it reports
// to its window, and the failures that must leave the user's data whole.
#include <QDir>
#include <QFileInfo>
#include <functional>
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
  void Load(const QStringList& lines) {
    WriteBytes(Uni(), TableBytes(lines));
    ASSERT_TRUE(table_.LoadTable(Folder(), LoadMode::Load));
  }
  void Add(const char* name) { table_.AddKey(QStringLiteral("Custom Keys"), QString::fromLatin1(name), QString()); }

  tarvex::test::TempSettings settings_;
  QTemporaryDir dir_;
  test::RecordingListener log_;
  StringTable table_{&log_};
};

const QStringList kSample = {
    "MSGS 5   # count",   "",
    "#& first header",    "#&>first comments",
    "# \"commented\" 0 \"out\"",
    "   \"GAME_SAVE\"   0  \"Game saved.\"  # trailing",
    "\"HELLO\" 0 \"Hi\"", "\"GAME_LOAD\" \"Loaded.\"",
    "\"All_X\" 0 \"in All\"", "#&>second comments",
    "END",                "stray",
};

TEST_F(StringTableTest, LoadBuildsKeysGroupsAndHeader) {
  Load(kSample);
  EXPECT_EQ(KeyDump(table_), (QStringList{"GAME_SAVE=Game saved.", "HELLO=Hi", "GAME_LOAD=Loaded.", "All_X=in All"}));
  EXPECT_EQ(table_.groupTable(), (QStringList{"All", "GAME", "MISC."}));
  const int groups[] = {0, 1, 2, 1, 0};
  for (int k = 0; k < 5; ++k) EXPECT_EQ(table_.keyTable()[size_t(k)].group, groups[k]) << k;
  EXPECT_EQ(table_.headerLines(), (QStringList{" first header", "first comments", "second comments"}));
  EXPECT_EQ(table_.Comments(), QStringLiteral("second comments"));  // the last one wins
  EXPECT_EQ(log_.events, (QStringList{"reset", "group All 0", "key (empty) 0", "group GAME 1", "key GAME_SAVE 1",
                                      "count 1", "group MISC. 2", "key HELLO 2", "count 2", "key GAME_LOAD 3",
                                      "count 3", "key All_X 4", "count 4", "count 4", "finished"}));

  // A file without header lines: one empty header entry, the comments stay; any line end.
  WriteBytes(Uni(), "\"A\" 0 \"a\"\n\"B\" 0 \"b\"\r\"C\" 0 \"c\"\r\n\r\n\"D\" 0 \"\x80\xC9\"");
  ASSERT_TRUE(table_.LoadTable(Folder(), LoadMode::Load));
  EXPECT_EQ(table_.headerLines(), QStringList{QString()});
  EXPECT_EQ(table_.Comments(), QStringLiteral("second comments"));
  EXPECT_EQ(KeyDump(table_), (QStringList{"A=a", "B=b", "C=c", QString::fromUtf8("D=\xE2\x82\xAC\xC3\x89")}));
}

TEST_F(StringTableTest, SaveWritesTheFileAndKeepsABackup) {
  Load(kSample);
  table_.SetComments(QStringLiteral("new comments"));
  ASSERT_TRUE(table_.SaveTable(Folder()));
  EXPECT_EQ(ReadBytes(Backup()), TableBytes(kSample));
  QStringList lines = FileLines(Uni());
  ASSERT_EQ(lines.size(), 4 + 18);
  EXPECT_EQ(lines[0], QStringLiteral("MSGS  4"));
  EXPECT_EQ(lines[10], QStringLiteral("#&>new comments"));
  EXPECT_EQ(lines[17], KeyLine(QStringLiteral("GAME_SAVE"), QStringLiteral("Game saved.")));
  EXPECT_EQ(lines.last(), QStringLiteral("END"));
  EXPECT_EQ(table_.headerLines().size(), 15);  // read back: the header just written
  EXPECT_FALSE(table_.Modified());

  // Loading and saving a file Lirrel wrote gives the same lines, the author's from the settings.
  const QByteArray first = ReadBytes(Uni());
  tarvex::SaveSetting(QStringLiteral("Pendrel"), QStringLiteral("AuthInfo"), QStringLiteral("Name"), QStringLiteral("Kyle"));
  StringTable other;
  ASSERT_TRUE(other.LoadTable(Folder(), LoadMode::Load));
  ASSERT_TRUE(other.SaveTable(Folder()));
  EXPECT_EQ(ReadBytes(Backup()), first);  // the second save keeps the first file
  lines[5] = QStringLiteral("#& created by: Kyle");
  EXPECT_EQ(FileLines(Uni()), lines);

  // With no file in the folder: created, and no backup made.
  QTemporaryDir fresh;
  ASSERT_TRUE(other.SaveTable(fresh.path()));
  EXPECT_EQ(QDir(fresh.path()).entryList(QDir::Files), QStringList{"jkstrings.uni"});
}

TEST_F(StringTableTest, AddAndDelete) {
  for (const char* n : {"A", "B", "C", "D"}) Add(n);
  EXPECT_EQ(table_.groupTable(), (QStringList{"All", "Custom Keys"}));
  EXPECT_EQ(log_.Matching(QStringLiteral("group")), QStringList{"group Custom Keys 1"});
  EXPECT_EQ(table_.AddKey(QStringLiteral("All"), QStringLiteral("All_Y"), QString()), 5);
  EXPECT_EQ(table_.keyTable()[5].group, 0);  // a group named "All" is group 0
  log_.events.clear();
  const struct {
    int k;
    bool ok;
    const char* after;
  } steps[] = {{2, true, "A,C,D,All_Y"}, {0, false, "A,C,D,All_Y"}, {5, false, "A,C,D,All_Y"}, {4, true, "A,C,D"}};
  for (const auto& s : steps) {
    EXPECT_EQ(table_.DeleteKey(s.k), s.ok) << s.k;
    QStringList names;
    for (const QString& kv : KeyDump(table_)) names << kv.section('=', 0, 0);
    EXPECT_EQ(names.join(','), QString::fromLatin1(s.after)) << s.k;
    EXPECT_EQ(table_.keyTable()[0].name, QStringLiteral("(empty)"));
  }
  EXPECT_EQ(log_.events, (QStringList{"count 4", "count 3"}));
  EXPECT_FALSE(table_.SetValue(0, QStringLiteral("x")));  // the placeholder holds no value
}

// A load or revert of a file that is not there says so and keeps everything in memory.
TEST_F(StringTableTest, MissingFileKeepsTheTable) {
  Load(kSample);
  Add("UNSAVED");
  const QStringList keys = KeyDump(table_);
  log_.events.clear();
  QDir(Folder()).mkpath(QStringLiteral("sub/jkstrings.uni"));  // a folder is no file
  EXPECT_FALSE(table_.LoadTable(Folder(), LoadMode::Revert));
  EXPECT_FALSE(table_.LoadTable(Folder() + QStringLiteral("/sub"), LoadMode::Load));
  EXPECT_EQ(log_.messages, (QStringList{"Can't Load File|" + Backup() + "\r\nThis file does not exist.",
                                        "Can't Load File|" + Folder() + "/sub/jkstrings.uni\r\nThis file does not exist."}));
  EXPECT_TRUE(log_.events.isEmpty());  // the lists were not touched
  EXPECT_EQ(KeyDump(table_), keys);
  EXPECT_EQ(table_.groupTable().size(), 4);
  EXPECT_TRUE(table_.Modified());
}

// Each failing step of a save names the file and the reason and leaves the old table whole.
TEST_F(StringTableTest, FailedSaveLeavesTheOldFileWhole) {
  Load(kSample);
  const QByteArray original = ReadBytes(Uni());
  Add("NEW");
  const QString temp = Folder() + QStringLiteral("/jkstrings.uni.new");
  const struct {
    QString blocker;  // a folder put in the way
    QString folder;   // saved to
    QString named;    // the file the message names
  } cases[] = {
      {Backup() + QStringLiteral("/x"), Folder(), Backup()},
      {temp + QStringLiteral("/x"), Folder(), Uni()},
      {QString(), Folder() + QStringLiteral("/gone"), Folder() + QStringLiteral("/gone/jkstrings.uni")},
      {Folder() + QStringLiteral("/d/jkstrings.uni"), Folder() + QStringLiteral("/d"), Folder() + QStringLiteral("/d/jkstrings.uni")},
  };
  for (const auto& c : cases) {
    if (!c.blocker.isEmpty()) QDir().mkpath(c.blocker);
    log_.messages.clear();
    EXPECT_FALSE(table_.SaveTable(c.folder)) << c.named;
    ASSERT_EQ(log_.messages.size(), 1) << c.named;
    const QString head = QStringLiteral("Can't Save File|") + c.named + QStringLiteral("\r\n");
    EXPECT_TRUE(log_.messages[0].startsWith(head) && log_.messages[0].size() > head.size()) << log_.messages[0];
    EXPECT_EQ(ReadBytes(Uni()), original) << c.named;
    EXPECT_TRUE(table_.Modified() && table_.Count() == 5) << c.named;  // the edits are still in memory
    if (!c.blocker.isEmpty() && c.folder == Folder()) QDir(QFileInfo(c.blocker).path()).removeRecursively();
    EXPECT_EQ(QDir(Folder()).entryList(QDir::Files), QStringList{"jkstrings.uni"}) << c.named;  // no leftovers
  }
  EXPECT_TRUE(table_.SaveTable(Folder()));  // and it works once the way is clear
  EXPECT_EQ(ReadBytes(Backup()), original);
}

TEST_F(StringTableTest, LinesTheGameCutsAreReportedAfterSaving) {
  const int room = kGameLineLimit - 35;  // quotes and padding take 35 bytes
  const struct {
    std::vector<int> lengths;  // of the values
    const char* message;
  } cases[] = {
      {{room, 3}, nullptr},
      {{3, room + 1}, "Lirrel|The key line of \"K1\" is longer than the 254 bytes the game reads; the game cuts it short."},
      {{room + 40, 1, 500},
       "Lirrel|2 key lines are longer than the 254 bytes the game reads; the game cuts them short. The first is \"K0\"."},
  };
  for (const auto& c : cases) {
    StringTable table(&log_);
    for (size_t i = 0; i < c.lengths.size(); ++i)
      table.AddKey(QStringLiteral("K"), QStringLiteral("K%1").arg(i), QString(c.lengths[i] - 2, 'v'));
    log_.messages.clear();
    ASSERT_TRUE(table.SaveTable(Folder()));
    EXPECT_EQ(log_.messages, c.message ? QStringList{QString::fromLatin1(c.message)} : QStringList());
    EXPECT_EQ(table.Count(), int(c.lengths.size()));  // saved all the same
  }
}

TEST_F(StringTableTest, ProgressShowsOnlyForSlowRunsWithExactCaptions) {
  const QStringList lines = {"MSGS 2", "\"A\" 0 \"a\"", "\"B\" 0 \"b\""};
  Load(lines);  // a fast run shows nothing
  EXPECT_TRUE(log_.Matching(QStringLiteral("show")).isEmpty());

  qint64 now = 0;  // a slow one: every look at the clock finds a second gone
  table_.SetClock([&] { return now += 1000; });
  log_.events.clear();
  ASSERT_TRUE(table_.LoadTable(Folder(), LoadMode::Load));
  const QString of = QStringLiteral(" of  %1 bytes").arg(TableBytes(lines).size());
  EXPECT_EQ(log_.Matching(QStringLiteral("s")),
            (QStringList{"show Loading and Parsing jkstrings.uni - Line 1 -  6" + of + " | 30",
                         "step Loading and Parsing jkstrings.uni - Line 1 -  6" + of + " | 6"}));
  EXPECT_EQ(log_.events.mid(log_.events.size() - 3), (QStringList{"close", "count 2", "finished"}));

  // The clock is looked at on every 64th line only.
  QStringList many;
  for (int i = 0; i < 150; ++i) many << QStringLiteral("\"K_%1\" 0 \"v\"").arg(i);
  log_.events.clear();
  Load(many);
  QStringList stepped;
  for (const QString& e : log_.Matching(QStringLiteral("step"))) stepped << e.section(' ', 7, 7);
  EXPECT_EQ(stepped, (QStringList{"1", "65", "129"}));
  Load(lines);

  log_.events.clear();
  ASSERT_TRUE(table_.SaveTable(Folder()));
  EXPECT_EQ(log_.Matching(QStringLiteral("step Saving")), QStringList{"step Saving jkstrings.uni - Line  1 of  2 | 1"});
  EXPECT_EQ(log_.Matching(QStringLiteral("step Refreshing data - Line 1 -  7 of ")).size(), 1);
  EXPECT_EQ(log_.Matching(QStringLiteral("close")).size(), 2);

  log_.events.clear();  // an empty file or table has no bar to show
  WriteBytes(Uni(), QByteArray());
  ASSERT_TRUE(table_.LoadTable(Folder(), LoadMode::Load));
  ASSERT_TRUE(table_.SaveTable(Folder()));
  EXPECT_TRUE(log_.Matching(QStringLiteral("show Loading")).isEmpty() && log_.Matching(QStringLiteral("show Saving")).isEmpty())
      << log_.events.join('\n');
}

}  // namespace
}  // namespace lirrel

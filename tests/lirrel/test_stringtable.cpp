// The string table: loading, saving with its backup, adding and deleting keys, what it reports
// to its window, and the failures that must leave the user's data whole.
#include <QDir>
#include <QFileInfo>
#include <tuple>

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
    "\"HELLO\" 0 \"Hi\"",    "\"BROKEN_KEY   0   lost text", "\"HALF_KEY\" lost text",
    "\"GAME_LOAD\" \"Loaded.\"",
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
  // Lines that are no key are not listed, and the user is told which.
  EXPECT_EQ(log_.messages, QStringList{"Lirrel|" + Uni() +
                                       "\r\n3 lines cannot be read as keys and are not listed. Saving keeps them in "
                                       "the file as they stand.\r\n\r\nLine 8: \"BROKEN_KEY   0   lost text\r\n"
                                       "Line 9: \"HALF_KEY\" lost text\r\nLine 14: stray"});
  EXPECT_EQ(log_.events, (QStringList{"reset", "group All 0", "key (empty) 0", "group GAME 1", "key GAME_SAVE 1",
                                      "count 1", "group MISC. 2", "key HELLO 2", "count 2", "key GAME_LOAD 3",
                                      "count 3", "key All_X 4", "count 4", "count 4", "finished"}));

  // A file without header lines: one empty header entry, the comments stay; any line end.
  WriteBytes(Uni(), "\"A\" 0 \"a\"\n\"B\" 0 \"b\"\r\"C\" 0 \"c\"\r\n\r\n\"D\" 0 \"\x80\xC9\"");
  ASSERT_TRUE(table_.LoadTable(Folder(), LoadMode::Load));
  EXPECT_EQ(std::pair(table_.headerLines(), table_.Comments()), std::pair(QStringList{QString()}, QString("second comments")));
  EXPECT_EQ(KeyDump(table_), (QStringList{"A=a", "B=b", "C=c", QString::fromUtf8("D=\xE2\x82\xAC\xC3\x89")}));
}

TEST_F(StringTableTest, SaveWritesTheFileAndKeepsABackup) {
  Load(kSample);
  table_.SetComments(QStringLiteral("new comments"));
  ASSERT_TRUE(table_.SaveTable(Folder()));
  EXPECT_EQ(ReadBytes(Backup()), TableBytes(kSample));
  QStringList lines = FileLines(Uni());
  ASSERT_EQ(lines.size(), 4 + 18 + 1 + 3);
  // The comment line stays before its key, the note after the value stays behind it; lines that
  // are no key stay as they stood, in their place, and what followed "END" after it.
  EXPECT_EQ(QStringList({lines[0], lines[10], lines[17], lines[18]}) + lines.mid(20, 2) + lines.mid(24),
            QStringList({"MSGS  4", "#&>new comments", kSample[4], KeyLine("GAME_SAVE", "Game saved.") + "  # trailing"}) +
                kSample.mid(7, 2) + QStringList({"END", "stray"}));
  // The header just written read back; the refresh after the save does not tell again.
  EXPECT_EQ(std::tuple(table_.headerLines().size(), log_.messages.size(), table_.Modified()),
            std::tuple(qsizetype(15), qsizetype(1), false));

  // Loading and saving a file Lirrel wrote gives the same lines, the author's from the settings.
  const QByteArray first = ReadBytes(Uni());
  tarvex::SaveSetting(QStringLiteral("Pendrel"), QStringLiteral("AuthInfo"), QStringLiteral("Name"), QStringLiteral("Kyle"));
  StringTable other;
  ASSERT_TRUE(other.LoadTable(Folder(), LoadMode::Load));
  ASSERT_TRUE(other.SaveTable(Folder()));
  EXPECT_EQ(ReadBytes(Backup()), first);  // the second save keeps the first file
  lines[5] = QStringLiteral("#& created by: Kyle");
  EXPECT_EQ(FileLines(Uni()), lines);
}

TEST_F(StringTableTest, AddAndDelete) {
  for (const char* n : {"A", "B", "C", "D"}) Add(n);
  EXPECT_EQ(table_.groupTable(), (QStringList{"All", "Custom Keys"}));
  EXPECT_EQ(table_.AddKey(QStringLiteral("All"), QStringLiteral("All_Y"), QString()), 5);
  EXPECT_EQ(table_.keyTable()[5].group, 0);  // a group named "All" is group 0
  log_.events.clear();
  const std::tuple<int, bool, const char*> steps[] = {
      {2, true, "A,C,D,All_Y"}, {0, false, "A,C,D,All_Y"}, {5, false, "A,C,D,All_Y"}, {4, true, "A,C,D"}};
  for (const auto& [k, ok, after] : steps) {
    EXPECT_EQ(table_.DeleteKey(k), ok) << k;
    EXPECT_EQ(tarvex::test::Map(KeyDump(table_), [](const QString& kv) { return kv.section('=', 0, 0); }).join(','),
              QString::fromLatin1(after)) << k;
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
  log_.messages.clear();
  EXPECT_FALSE(table_.LoadTable(Folder(), LoadMode::Revert));  // (a folder of that name: EditorTest)
  EXPECT_EQ(log_.messages, QStringList{"Can't Load File|" + Backup() + "\r\nThis file does not exist."});
  EXPECT_TRUE(log_.events.isEmpty());  // the lists were not touched
  EXPECT_EQ(std::tuple(KeyDump(table_), table_.groupTable().size(), table_.Modified()), std::tuple(keys, qsizetype(4), true));
}

// Each failing step of a save names the file and the reason and leaves the old table whole.
TEST_F(StringTableTest, FailedSaveLeavesTheOldFileWhole) {
  Load(kSample);
  const QByteArray original = ReadBytes(Uni());
  Add("NEW");
  const QString sub = Folder() + QStringLiteral("/d/jkstrings.uni"), gone = Folder() + QStringLiteral("/gone");
  const struct { QString blocker, folder, named; } cases[] = {  // a folder in the way, saved to, named
      {Backup() + "/x", Folder(), Backup()}, {QString(), gone, TablePath(gone)}, {sub, Folder() + "/d", sub}};
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

  // A table or backup that cannot be replaced (immutable, as a locked file on Windows), or a
  // full disk: the file and the older backup both stay as they were.
  const QByteArray saved = ReadBytes(Uni());
  for (const QString& locked : {Uni(), Backup()}) {
    tarvex::test::ImmutableFile immutable(locked);
    if (!immutable.Ok()) GTEST_SKIP() << "needs root to set the immutable attribute";
    log_.messages.clear();
    EXPECT_FALSE(table_.SaveTable(Folder()));
    // The system's own reason: the file may not be changed at all, whatever its permissions.
    EXPECT_EQ(log_.messages, QStringList{"Can't Save File|" + locked + "\r\nOperation not permitted"});
    EXPECT_EQ(ReadBytes(Uni()) + ReadBytes(Backup()), saved + original);
    EXPECT_EQ(QDir(Folder()).entryList(QDir::Files).size(), 2);  // no temporary file left
  }
  tarvex::test::SmallDisk disk;
  if (!disk.Ok()) GTEST_SKIP() << "needs root to mount a small tmpfs";
  WriteBytes(TablePath(disk.Path()), original);
  WriteBytes(TablePath(disk.Path(), true), saved);
  disk.FillLeaving(4096);
  for (int i = 0; i < 400; ++i) Add("A_KEY_THAT_TAKES_ROOM");  // about 24 KiB
  for (const int keep : {401, 130}) {  // a file larger than Qt's 16 KiB buffer, and a smaller one
    while (table_.Count() > keep) table_.DeleteKey(table_.Count());
    log_.messages.clear();
    EXPECT_FALSE(table_.SaveTable(disk.Path()));
    EXPECT_EQ(log_.messages, QStringList{"Can't Save File|" + TablePath(disk.Path()) + "\r\nNo space left on device"});
    EXPECT_EQ(ReadBytes(TablePath(disk.Path())) + ReadBytes(TablePath(disk.Path(), true)), original + saved);
  }
}

// On a file system that tells letter cases apart, the table and its backup are found whatever
// the case of their names, and written back under those names.
TEST_F(StringTableTest, FileNamesInAnyLetterCase) {
  const QString upper = Folder() + QStringLiteral("/JKSTRINGS.UNI"), backup = Folder() + QStringLiteral("/JkStrings.~UN");
  WriteBytes(upper, TableBytes(kSample));
  WriteBytes(backup, "older");
  ASSERT_TRUE(table_.LoadTable(Folder(), LoadMode::Load) && table_.SaveTable(Folder()));
  EXPECT_EQ(QDir(Folder()).entryList(QDir::Files), (QStringList{"JKSTRINGS.UNI", "JkStrings.~UN"}));
  EXPECT_EQ(ReadBytes(backup), TableBytes(kSample));
}

// Author settings edited by hand that the header cannot hold refuse the save, naming the
// setting and the character; nothing is written.
TEST_F(StringTableTest, AuthorSettingsTheHeaderCannotHoldRefuseTheSave) {
  Load(kSample);
  const QByteArray original = ReadBytes(Uni());
  const char* cases[][3] = {{"Name", "Kyle\nKatarn", "holds a line break,"}, {"EMail", "k\"@x.org", "holds a double quote,"},
                            {"Website", "\xCE\xA9.org", "holds the character '\xCE\xA9' (U+03A9),"},
                            // "#& created by: " and 240 letters: one byte past what the game reads of a line
                            {"Name", "", "is 240 characters long, which makes a header line of 255 bytes,"}};
  for (const auto& c : cases) {
    const QString value = *c[1] ? QString::fromUtf8(c[1]) : QString(240, QLatin1Char('k'));
    tarvex::SaveSetting(QStringLiteral("Pendrel"), QStringLiteral("AuthInfo"), c[0], value);
    log_.messages.clear();
    EXPECT_FALSE(table_.SaveTable(Folder()));
    EXPECT_EQ(log_.messages.size(), 1);
    EXPECT_TRUE(log_.messages.value(0).contains(QStringLiteral("\"%1\" (Pendrel/AuthInfo) %2").arg(c[0], QString::fromUtf8(c[2]))))
        << log_.messages.value(0);
    EXPECT_EQ(ReadBytes(Uni()), original);
    tarvex::SaveSetting(QStringLiteral("Pendrel"), QStringLiteral("AuthInfo"), c[0], QStringLiteral("a, \u00e9"));
  }
  // Comments loaded from a file that make the header line too long are refused the same way.
  table_.SetComments(QString(252, QLatin1Char('c')));
  EXPECT_FALSE(table_.SaveTable(Folder()));
  EXPECT_TRUE(log_.messages.back().contains("The comments & description are 252 characters long, which makes a header "
                                            "line of 255 bytes"))
      << log_.messages.back();
  EXPECT_EQ(ReadBytes(Uni()), TableBytes(kSample));
  table_.SetComments(QString(251, QLatin1Char('c')));
  EXPECT_TRUE(table_.SaveTable(Folder()));
}

}  // namespace
}  // namespace lirrel

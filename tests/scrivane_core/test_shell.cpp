#include <algorithm>
#include <QFile>
#include <QTemporaryDir>

#include "common/files.h"
#include "scrivane/core/lineends.h"
#include "scrivane/core/recentfiles.h"
#include "scrivane/core/scriptfile.h"
#include "scrivane/core/shell.h"
#include "scrivane/core/textmodel.h"
#include "tests/support/test_env.h"

using namespace scrivane;

TEST(TextModel, SelectionIsCutAtTheEndAndStartClearsLength) {
  TextModel m(QStringLiteral("ab\r\ncd"), 2, 10);
  EXPECT_EQ(m.SelText(), "\r\ncd");
  m.SetSelStart(99);
  EXPECT_EQ(std::pair(m.SelStart(), m.SelLength()), std::pair(qsizetype(6), qsizetype(0)));
  m.SetSelStart(1);
  m.SetSelLength(2);
  m.ReplaceSel("XYZ");
  EXPECT_EQ(std::pair(m.Text(), m.SelStart() + m.SelLength()), std::pair(QStringLiteral("aXYZ\ncd"), qsizetype(4)));
}

// The style a text is saved in when its lines gain an end: that of most lines, a tie going to
// CR LF. Each line keeps its own end (fuzz_lineends checks the round trip of any text).
TEST(LineEnds, TheMajorityStyleATieGoingToCrLf) {
  const std::pair<const char*, LineEnd> cases[] = {{"a\nb\n", LineEnd::LF}, {"a\rb\r", LineEnd::CR},
                                                   {"a\r\nb\nc\r\n", LineEnd::CRLF}, {"a\nb\rc\r\nd", LineEnd::CRLF},
                                                   {"a\nb\nc\r\nd", LineEnd::LF}, {"abc", LineEnd::CRLF}};
  for (const auto& [raw, style] : cases) EXPECT_EQ(NormalizeLineEnds(QString::fromLatin1(raw)).style, style) << raw;
}

// A text without a final line end gains one, once. A character outside the code page, a
// read-only file or folder, or a full disk refuse the save with the reason (the path named
// once) and leave the old file whole.
TEST(ScriptFile, SaveAddsOneLineEndAndRefusalsKeepTheOldFile) {
  QTemporaryDir dir;
  const QString path = dir.filePath("x.cog"), readOnly = dir.filePath("ro.cog");
  QByteArray bytes;
  const auto holds = [&](const QString& p, const char* want) { return tarvex::ReadWholeFile(p, &bytes) && bytes == want; };
  ASSERT_TRUE(WriteScriptFile(path, "abc", LineEnd::CRLF).ok);
  const ScriptReadResult r = ReadScriptFile(path, true);
  ASSERT_TRUE(r.ok && WriteScriptFile(path, r.content.text, r.content.style, r.content.odd).ok);
  EXPECT_TRUE(holds(path, "abc\r\n"));

  ASSERT_TRUE(tarvex::WriteWholeFile(path, "old\r\n") && tarvex::WriteWholeFile(readOnly, "old\r\n"));
  const ScriptWriteResult bad = WriteScriptFile(path, "line one\r\nsay \u03A9 here", LineEnd::CRLF);
  EXPECT_TRUE(!bad.ok && bad.error.contains("U+03A9") && bad.error.contains("line 2") && holds(path, "old\r\n")) << bad.error;
  // € and friends are in the code page and save fine.
  EXPECT_TRUE(WriteScriptFile(dir.filePath("euro.cog"), "€ © ö", LineEnd::CRLF).ok);
  QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
  EXPECT_EQ(WriteScriptFile(readOnly, "new", LineEnd::CRLF).error, "Cannot save \"" + readOnly + "\": Permission denied");
  ScriptWriteResult denied;
  {
    tarvex::test::ReadOnlyFolder readOnlyFolder(dir.path());
    if (!readOnlyFolder.Ok()) GTEST_SKIP() << "cannot make a read-only folder here";
    denied = WriteScriptFile(path, "new", LineEnd::CRLF);
  }
  EXPECT_TRUE(!denied.ok && denied.error.contains(path) && holds(path, "old\r\n"));

  tarvex::test::SmallDisk disk;
  if (!disk.Ok()) GTEST_SKIP() << "needs root to mount a small tmpfs";
  const QString onDisk = disk.Path() + "/x.cog";
  ASSERT_TRUE(tarvex::WriteWholeFile(onDisk, "old\r\n"));
  disk.FillLeaving(4096);
  for (const int size : {9000, 48 * 1024}) {  // below and above Qt's 16 KiB buffer
    EXPECT_EQ(WriteScriptFile(onDisk, QString(size, 'n'), LineEnd::CRLF).error,
              "Cannot save \"" + onDisk + "\": No space left on device");
    EXPECT_TRUE(holds(onDisk, "old\r\n"));
  }
}

// Window numbers reuse freed numbers only from the count; template paths; the command line;
// the message list; font sizes.
TEST(Shell, WindowNumbersTemplatePathsAndCommandLine) {
  // No window; window 1 of three closed: 3 is taken, so 4; window 3 closed: 3 again.
  for (const auto& [taken, want] : {std::pair(QSet<int>{}, 1), {{2, 3}, 4}, {{1, 2}, 3}, {{1, 3, 4}, 5}})
    EXPECT_EQ(NextWindowNumber(taken), want);
  for (const auto& [path, tmpl] : {std::pair("x.cgt", true), {"X.CGT", true}, {"a\\b.Cgt", true}, {"x.cog", false},
                                   {"\"x.cgt\"", false}, {"cgt", true}, {"gt", false}})
    EXPECT_EQ(IsTemplatePath(path), tmpl) << path;
  EXPECT_EQ(CommandLineText({"Scrivane", "/tmp/My", "Cog.cog"}) + '|' + CommandLineText({"Scrivane"}), "/tmp/My Cog.cog|");
  // The message list skips its header line and repeats.
  EXPECT_EQ(ParseMessageList("startup\r\nactivated\r\nstartup\r\ntimer\r\n"), (QStringList{"activated", "startup", "timer"}));
  EXPECT_EQ(ParseMessageList("header\rpulse\r\r\ntouched\ncrossed"), (QStringList{"pulse", "touched", "crossed"}));  // any line end
  // Font sizes round halves to even.
  for (const auto& [in, out] : {std::pair(10.5, 10), {11.5, 12}, {8.0, 8}, {9.4, 9}, {9.6, 10}, {12.5, 12}})
    EXPECT_EQ(RoundFontSize(in), out) << in;
  EXPECT_EQ(std::pair(TwipsToPixels(1440, 96), TwipsToPixels(3165, 96)), std::pair(96, 211));
}

TEST(Shell, ArrangementsCoverTheAreaWithoutOverlap) {
  const QRect area(0, 0, 1000, 601);
  for (int n = 1; n <= 7; ++n) {
    const auto h = TileHorizontalRects(area, n), v = TileVerticalRects(area, n);
    ASSERT_EQ(int(h.size()), n);
    int y = 0, x = 0;
    for (int i = 0; i < n; ++i) {
      EXPECT_EQ(h[i], QRect(0, y, 1000, h[i].height()));  // stacked top to bottom, each the full width
      EXPECT_EQ(v[i], QRect(x, 0, v[i].width(), 601));    // side by side, each the full height
      y += h[i].height(), x += v[i].width();
    }
    EXPECT_EQ(std::pair(x, y), std::pair(1000, 601));
  }
  // Icons along the bottom, left to right, then the next row above.
  const auto icons = ArrangeIconRects(area, 5, QSize(300, 30));
  ASSERT_EQ(icons.size(), 5u);
  EXPECT_EQ(std::tuple(icons[0], icons[2], icons[3]),
            std::tuple(QRect(0, 571, 300, 30), QRect(600, 571, 300, 30), QRect(0, 541, 300, 30)));
  const auto cascade = CascadeRects(area, 3, 25);
  EXPECT_TRUE(cascade[1].topLeft() == QPoint(25, 25) && area.contains(cascade[2]));
  EXPECT_TRUE(TileHorizontalRects(area, 0).empty());
}

TEST(Shell, StartAndNewWindowPlaces) {
  const QRect screen(0, 30, 1400, 870), centred(140, 117, 1120, 696);  // nothing stored: 80 %, centred
  const struct { QRect stored, want; } starts[] = {
      {QRect(), centred},
      {QRect(50, 60, 900, 600), QRect(50, 60, 900, 600)},       // as left
      {QRect(-200, 40, 3000, 2000), QRect(0, 30, 1400, 870)},   // too large: shrunk and moved in
      {QRect(1000, 500, 900, 600), QRect(500, 300, 900, 600)},  // partly outside: moved in
      {QRect(1350, 40, 900, 600), centred},                     // title bar off the screen
      {QRect(100, 895, 900, 600), centred},
  };
  for (const auto& c : starts) EXPECT_EQ(StartWindowRect(screen, c.stored), c.want) << c.stored.x();
  const QRect area(0, 0, 800, 500);
  EXPECT_EQ(NewDocumentRect(area, 0, 25), area);
  EXPECT_EQ(NewDocumentRect(area, 2, 25), QRect(50, 50, 750, 450));
  EXPECT_EQ(NewDocumentRect(area, 11, 25), area);  // started over before half the height was gone
}

// The recent titles in order, "-" for an empty entry.
static QString Titles(const RecentFiles& l) {
  return tarvex::test::Map(l.entries, [](const RecentEntry& e) { return e.title.isEmpty() ? QStringLiteral("-") : e.title; }).join(' ');
}

TEST(RecentFiles, AddShiftsMatchesByTitleAndDropsTheLast) {
  RecentFiles l;
  const struct { const char* title; const char* folder; const char* want; } steps[] = {
      {"a.cog", "/x", "a.cog - - -"},
      {"b.cog", "/x", "b.cog a.cog - -"},
      {"c.cog", "/x", "c.cog b.cog a.cog -"},
      {"d.cog", "/x", "d.cog c.cog b.cog a.cog"},
      {"e.cog", "/x", "e.cog d.cog c.cog b.cog"},
      {"c.cog", "/x", "c.cog e.cog d.cog b.cog"},
      {"c.cog", "/y", "c.cog e.cog d.cog b.cog"},  // the top entry keeps its old path
      {"e.cog", "/y", "e.cog c.cog d.cog b.cog"},  // same name elsewhere: moves up, new path
      {"E.cog", "/y", "E.cog e.cog c.cog d.cog"},  // case counts
  };
  for (const auto& s : steps) {
    l.Add(QString::fromLatin1(s.folder) + '/' + s.title, s.title);
    EXPECT_EQ(Titles(l), s.want) << s.title;
  }
  EXPECT_EQ(l.entries[1].path + ' ' + l.entries[2].path, "/y/e.cog /x/c.cog");
}

TEST(RecentFiles, StoredFormAndColonSplit) {
  const struct { const char* stored; const char* titleAndPath; } cases[] = {
      {":", "|"},
      {"no colon at all", "|"},
      {"a.cog:C:\\Games\\a.cog", "a.cog|C:\\Games\\a.cog"},
      {"a:b.cog:/home/m/a:b.cog", "a:b.cog|/home/m/a:b.cog"},
      {"x.cog:/elsewhere/y.cog", "x.cog|/elsewhere/y.cog"},  // first colon when none fits
      {"a:b:c", "a|b:c"},
  };
  for (const auto& c : cases) {
    const RecentEntry e = ParseStoredRecent(c.stored);
    EXPECT_EQ(e.title + '|' + e.path, c.titleAndPath) << c.stored;
  }
}

// The stored list closes its gaps; at exit this process's additions come first, then what
// another process stored meanwhile, then the rest of this list, each title once.
TEST(RecentFiles, StoredListAndMergeAtExit) {
  const RecentFiles stored = StoredRecentList({"a.cog:/s/a.cog", "no colon", ":", "b.cog:", ":::", " :/s/x.cog",
                                               "r.cog:r.cog", "d:/s/", "c.cog:/s/c.cog"});
  EXPECT_EQ(Titles(stored), "a.cog c.cog - -");
  const struct { std::vector<const char*> loaded, added, others; const char* want; } cases[] = {
      {{}, {"m.cog"}, {}, "m.cog - - -"},
      {{"x.cog", "y.cog"}, {"m.cog"}, {"o.cog", "x.cog", "y.cog"}, "m.cog o.cog x.cog y.cog"},
      {{"x.cog", "y.cog"}, {"m.cog", "n.cog"}, {"o.cog", "p.cog", "x.cog", "y.cog"}, "n.cog m.cog o.cog p.cog"},
      {{"x.cog", "y.cog"}, {"o.cog"}, {"o.cog", "x.cog"}, "o.cog x.cog y.cog -"},
      {{"x.cog", "y.cog", "z.cog"}, {}, {"o.cog"}, "o.cog x.cog y.cog z.cog"},
      {{"x.cog", "y.cog"}, {"x.cog"}, {"o.cog"}, "x.cog o.cog y.cog -"},  // opened again at the top
  };
  for (const auto& c : cases) {
    QStringList loaded, others;
    for (const char* t : c.loaded) loaded << QString(t) + ":/mine/" + t;
    for (const char* t : c.others) others << QString(t) + ":/other/" + t;
    RecentFiles mine = StoredRecentList(loaded);
    for (const char* t : c.added) mine.Add(QString("/mine/") + t, t);
    const RecentFiles merged = MergeRecent(mine, StoredRecentList(others));
    EXPECT_EQ(Titles(merged), c.want) << c.want;
    for (const RecentEntry& e : merged.entries)  // a name this process opened keeps its path
      if (std::find(c.added.begin(), c.added.end(), e.title) != c.added.end()) { EXPECT_EQ(e.path, "/mine/" + e.title); }
  }
}

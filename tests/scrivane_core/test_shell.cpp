#include <gtest/gtest.h>

#include <QDir>
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
  EXPECT_EQ(m.SelText(), QStringLiteral("\r\ncd"));
  m.SetSelStart(99);
  EXPECT_EQ(std::pair(m.SelStart(), m.SelLength()), std::pair(qsizetype(6), qsizetype(0)));
  m.SetSelStart(1);
  m.SetSelLength(2);
  m.ReplaceSel(QStringLiteral("XYZ"));
  EXPECT_EQ(m.Text(), QStringLiteral("aXYZ\ncd"));
  EXPECT_EQ(std::pair(m.SelStart(), m.SelLength()), std::pair(qsizetype(4), qsizetype(0)));
}

// The style a text is saved in when its lines gain an end: that of most lines, a tie going to
// CR LF. Each line keeps its own end (fuzz_lineends checks the round trip of any text).
TEST(LineEnds, TheMajorityStyleATieGoingToCrLf) {
  const std::pair<const char*, LineEnd> cases[] = {{"a\nb\n", LineEnd::LF}, {"a\rb\r", LineEnd::CR},
                                                   {"a\r\nb\nc\r\n", LineEnd::CRLF}, {"a\nb\rc\r\nd", LineEnd::CRLF},
                                                   {"a\nb\nc\r\nd", LineEnd::LF}, {"abc", LineEnd::CRLF}};
  for (const auto& [raw, style] : cases) EXPECT_EQ(NormalizeLineEnds(QString::fromLatin1(raw)).style, style) << raw;
  const NormalizedText mixed = NormalizeToLf(QStringLiteral("a\nb\rc\r\nd"));
  EXPECT_EQ(ToFileText(mixed.text, mixed.style, mixed.odd), QStringLiteral("a\nb\rc\r\nd\r\n"));
}

// A text without a final line end gains one, once; a character outside the code page, or a
// folder that cannot be written, is refused with the reason and leaves the old file whole.
TEST(ScriptFile, SaveAddsOneLineEndAndRefusalsKeepTheOldFile) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("x.cog"));
  QByteArray bytes;
  ASSERT_TRUE(WriteScriptFile(path, QStringLiteral("abc"), LineEnd::CRLF).ok);
  const ScriptReadResult r = ReadScriptFile(path, true);
  ASSERT_TRUE(r.ok && WriteScriptFile(path, r.content.text, r.content.style, r.content.odd).ok);
  ASSERT_TRUE(tarvex::ReadWholeFile(path, &bytes));
  EXPECT_EQ(bytes, QByteArray("abc\r\n"));

  const auto oldKept = [&] { return tarvex::ReadWholeFile(path, &bytes) && bytes == "old\r\n"; };
  ASSERT_TRUE(tarvex::WriteWholeFile(path, "old\r\n"));
  const ScriptWriteResult bad = WriteScriptFile(path, QStringLiteral("line one\r\nsay \u03A9 here"), LineEnd::CRLF);
  EXPECT_FALSE(bad.ok);
  EXPECT_TRUE(bad.error.contains(QStringLiteral("U+03A9")) && bad.error.contains(QStringLiteral("line 2"))) << bad.error;
  EXPECT_TRUE(oldKept());
  // € and friends are in the code page and save fine.
  EXPECT_TRUE(WriteScriptFile(dir.filePath(QStringLiteral("euro.cog")), QStringLiteral("€ © ö"), LineEnd::CRLF).ok);
  ScriptWriteResult denied;
  {
    tarvex::test::ReadOnlyFolder readOnly(dir.path());
    if (!readOnly.Ok()) GTEST_SKIP() << "cannot make a read-only folder here";
    denied = WriteScriptFile(path, QStringLiteral("new"), LineEnd::CRLF);
  }
  EXPECT_FALSE(denied.ok);
  EXPECT_TRUE(denied.error.contains(path) && oldKept());
}

// A full disk or a read-only file: the old script stays, the message names the path once and
// the system's reason.
TEST(ScriptFile, FailedSaveNamesThePathOnceAndTheReason) {
  QTemporaryDir dir;
  const QString readOnly = dir.filePath(QStringLiteral("ro.cog"));
  ASSERT_TRUE(tarvex::WriteWholeFile(readOnly, "old\r\n"));
  QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
  EXPECT_EQ(WriteScriptFile(readOnly, QStringLiteral("new"), LineEnd::CRLF).error,
            "Cannot save \"" + readOnly + "\": Permission denied");

  tarvex::test::SmallDisk disk;
  if (!disk.Ok()) GTEST_SKIP() << "needs root to mount a small tmpfs";
  const QString path = disk.Path() + QStringLiteral("/x.cog");
  ASSERT_TRUE(tarvex::WriteWholeFile(path, "old\r\n"));
  disk.FillLeaving(4096);
  for (const int size : {9000, 48 * 1024}) {  // below and above Qt's 16 KiB buffer
    const ScriptWriteResult r = WriteScriptFile(path, QString(size, QLatin1Char('n')), LineEnd::CRLF);
    EXPECT_EQ(r.error, "Cannot save \"" + path + "\": No space left on device");
    QByteArray bytes;
    EXPECT_TRUE(tarvex::ReadWholeFile(path, &bytes) && bytes == "old\r\n");
  }
}

TEST(ScriptFile, EveryCorpusScriptRoundTrips) {
  const QDir corpus(tarvex::test::SharedPath(QStringLiteral("corpus/cog")));
  const QStringList files = corpus.entryList({QStringLiteral("*.cog")}, QDir::Files);
  if (files.isEmpty()) GTEST_SKIP() << "no corpus";
  QTemporaryDir out;
  for (const QString& name : files) {
    QByteArray original;
    ASSERT_TRUE(tarvex::ReadWholeFile(corpus.filePath(name), &original));
    const ScriptReadResult r = ReadScriptFile(corpus.filePath(name), true);
    const QString target = out.filePath(name);
    ASSERT_TRUE(r.ok && WriteScriptFile(target, r.content.text, r.content.style, r.content.odd).ok) << name;
    QByteArray saved;
    ASSERT_TRUE(tarvex::ReadWholeFile(target, &saved));
    const bool ended = original.endsWith('\n') || original.endsWith('\r');
    EXPECT_EQ(saved, ended ? original : original + LineEndText(r.content.style).toLatin1()) << name;
  }
}

// Window numbers reuse freed numbers only from the count; template paths; the command line.
TEST(Shell, WindowNumbersTemplatePathsAndCommandLine) {
  EXPECT_EQ(NextWindowNumber({}), 1);
  EXPECT_EQ(NextWindowNumber({2, 3}), 4);     // window 1 closed: 3 is taken, so 4
  EXPECT_EQ(NextWindowNumber({1, 2}), 3);     // window 3 closed: 3 again
  EXPECT_EQ(NextWindowNumber({1, 3, 4}), 4 + 1);

  struct { const char* path; bool tmpl; } cases[] = {
      {"x.cgt", true}, {"X.CGT", true}, {"a\\b.Cgt", true}, {"x.cog", false}, {"\"x.cgt\"", false}, {"cgt", true}, {"gt", false}};
  for (auto c : cases) EXPECT_EQ(IsTemplatePath(QString::fromLatin1(c.path)), c.tmpl) << c.path;
  EXPECT_EQ(CommandLineText({QStringLiteral("Scrivane"), QStringLiteral("/tmp/My"), QStringLiteral("Cog.cog")}),
            QStringLiteral("/tmp/My Cog.cog"));
  EXPECT_EQ(CommandLineText({QStringLiteral("Scrivane")}), QString());
  // The message list skips its header line and repeats.
  EXPECT_EQ(ParseMessageList(QStringLiteral("startup\r\nactivated\r\nstartup\r\ntimer\r\n")),
            (QStringList{QStringLiteral("activated"), QStringLiteral("startup"), QStringLiteral("timer")}));
  EXPECT_EQ(SymbolTypeNames().join(' '),
            "ai cog flex int keyframe material message model sector sound surface template thing vector");
  // Font sizes round halves to even.
  for (const auto& [in, out] : {std::pair(10.5, 10), {11.5, 12}, {8.0, 8}, {9.4, 9}, {9.6, 10}, {12.5, 12}})
    EXPECT_EQ(RoundFontSize(in), out) << in;
  EXPECT_EQ(TwipsToPixels(1440, 96), 96);
  EXPECT_EQ(TwipsToPixels(3165, 96), 211);
}

TEST(Shell, ArrangementsCoverTheAreaWithoutOverlap) {
  const QRect area(0, 0, 1000, 601);
  for (int n = 1; n <= 7; ++n) {
    const auto h = TileHorizontalRects(area, n);
    const auto v = TileVerticalRects(area, n);
    ASSERT_EQ(int(h.size()), n);
    int y = 0, x = 0;
    for (int i = 0; i < n; ++i) {
      EXPECT_EQ(h[i], QRect(0, y, 1000, h[i].height()));  // stacked top to bottom, each the full width
      EXPECT_EQ(v[i], QRect(x, 0, v[i].width(), 601));    // side by side, each the full height
      y += h[i].height(), x += v[i].width();
    }
    EXPECT_EQ(std::pair(x, y), std::pair(1000, 601));
  }
  const auto icons = ArrangeIconRects(area, 5, QSize(300, 30));
  ASSERT_EQ(icons.size(), 5u);
  EXPECT_EQ(icons[0], QRect(0, 571, 300, 30));   // along the bottom, left to right
  EXPECT_EQ(icons[2], QRect(600, 571, 300, 30));
  EXPECT_EQ(icons[3], QRect(0, 541, 300, 30));   // the next row above
  const auto cascade = CascadeRects(area, 3, 25);
  EXPECT_EQ(cascade[1].topLeft(), QPoint(25, 25));
  EXPECT_TRUE(area.contains(cascade[2]));
  EXPECT_TRUE(TileHorizontalRects(area, 0).empty());
}

TEST(Shell, StartAndNewWindowPlaces) {
  const QRect screen(0, 30, 1400, 870);
  const struct { QRect stored, want; } starts[] = {
      {QRect(), QRect(140, 117, 1120, 696)},                            // nothing stored: 80 %, centred
      {QRect(50, 60, 900, 600), QRect(50, 60, 900, 600)},               // as left
      {QRect(-200, 40, 3000, 2000), QRect(0, 30, 1400, 870)},           // too large: shrunk and moved in
      {QRect(1000, 500, 900, 600), QRect(500, 300, 900, 600)},          // partly outside: moved in
      {QRect(1350, 40, 900, 600), QRect()},                             // title bar off the screen
      {QRect(100, 895, 900, 600), QRect()},
  };
  for (const auto& c : starts)
    EXPECT_EQ(StartWindowRect(screen, c.stored), c.want.isNull() ? StartWindowRect(screen, QRect()) : c.want) << c.stored.x();
  const QRect area(0, 0, 800, 500);
  EXPECT_EQ(NewDocumentRect(area, 0, 25), area);
  EXPECT_EQ(NewDocumentRect(area, 2, 25), QRect(50, 50, 750, 450));
  EXPECT_EQ(NewDocumentRect(area, 11, 25), area);  // started over before half the height was gone
}

// The recent titles in order, "-" for an empty entry.
static QString Titles(const RecentFiles& l) {
  QString s;
  for (const RecentEntry& e : l.entries) s += (e.title.isEmpty() ? QStringLiteral("-") : e.title) + QLatin1Char(' ');
  return s.trimmed();
}

TEST(RecentFiles, AddShiftsMatchesByTitleAndDropsTheLast) {
  RecentFiles l;
  EXPECT_FALSE(l.AnyVisible());
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
    l.Add(QString::fromLatin1(s.folder) + '/' + QString::fromLatin1(s.title), QString::fromLatin1(s.title));
    EXPECT_EQ(Titles(l), QString::fromLatin1(s.want)) << s.title;
  }
  EXPECT_EQ(l.entries[1].path, QStringLiteral("/y/e.cog"));
  EXPECT_EQ(l.entries[2].path, QStringLiteral("/x/c.cog"));
}

TEST(RecentFiles, StoredFormAndColonSplit) {
  const struct { const char* stored; const char* title; const char* path; } cases[] = {
      {":", "", ""},
      {"no colon at all", "", ""},
      {"a.cog:C:\\Games\\a.cog", "a.cog", "C:\\Games\\a.cog"},
      {"a:b.cog:/home/m/a:b.cog", "a:b.cog", "/home/m/a:b.cog"},
      {"x.cog:/elsewhere/y.cog", "x.cog", "/elsewhere/y.cog"},  // first colon when none fits
      {"a:b:c", "a", "b:c"},
  };
  for (const auto& c : cases) {
    const RecentEntry e = ParseStoredRecent(QString::fromLatin1(c.stored));
    EXPECT_EQ(e.title + '|' + e.path, QString::fromLatin1(c.title) + '|' + QString::fromLatin1(c.path)) << c.stored;
  }
  EXPECT_EQ(StoredRecent({}), QStringLiteral(":"));
  EXPECT_EQ(RecentCaption(1, QStringLiteral("R&D.cog")), QStringLiteral("&2 R&&D.cog"));
}

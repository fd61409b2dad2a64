// The window-free part of Orvane: models.dat as the game reads it and as Orvane writes it,
// the archive index, the checks of picked files and the personality files.
#include <QBuffer>

#include "orvane/core/gobarchive.h"
#include "orvane/core/modeltable.h"
#include "orvane/core/personality.h"
#include "orvane/core/pickcheck.h"
#include "tests/support/gob_builder.h"
#include "tests/support/test_env.h"

namespace orvane {
namespace {

using tarvex::test::BuildGob;

QString Dump(const std::vector<ModelEntry>& entries) {
  QStringList out;
  for (const ModelEntry& e : entries)
    out << QStringLiteral("%1=%2,%3%4").arg(e.slot).arg(e.model, e.sound, e.comment.isEmpty() ? "" : "," + e.comment);
  return out.join(' ');
}

TEST(ModelText, TheGamesReadingRules) {
  // The text, its entries, and a piece of each note in order.
  const struct { const char* text; const char* entries; std::vector<const char*> notes; } cases[] = {
      {"# c\n; c\n\nNUMMODELS:2\n0: a.3do\tky.snd\n1:b.3do  c.snd # tall one \n", "0=a.3do,ky.snd 1=b.3do,c.snd,tall one",
       {}},
      {"numModels:   1\n  0:\ta.3do b.snd extra\n", "0=a.3do,b.snd", {"Line 2: the game ignores the text after"}},
      {"numModels: 2\n1: b.3do b.snd\n1: c.3do c.snd\n0: a.3do a.snd\n", "0=a.3do,a.snd 1=c.3do,c.snd",
       {"Line 2: slot 1 is given again on line 3"}},
      {"numModels: 3\n0: a.3do\nx: a b\n7: a.3do a.snd\n-1: n.3do n.snd\n", "-1=n.3do,n.snd 7=a.3do,a.snd",
       {"Line 1: numModels says 3, but the file holds 2", "Line 2: the game ignores this line: it does not give", "Line 3: the game ignores this line: it does not begin",
        "Line 4: slot 7 lies outside the 3 slots", "Line 5: slot -1 lies outside", "Slots 0 to 2: no line fills"}},
      {"0: a.3do a.snd\n", "0=a.3do,a.snd", {"Line 1: the game expects \"numModels: N\""}},
      {"numModels : 1\n0: a.3do a.snd\n", "0=a.3do,a.snd", {"Line 1: the game expects", "Line 1: the game ignores"}},
      {"# only comments\n", "", {"The file has no \"numModels: N\" line"}},
      {"numModels: 2\n0: abcdefghijklmnopqrstuvwxyz0123456.3do a.snd\n1: b.3do \\\nb.snd\n",
       "0=abcdefghijklmnopqrstuvwxyz0123456.3do,a.snd 1=b.3do,b.snd",
       {"Line 2: the name \"abcdefghijklmnopqrstuvwxyz0123456.3do\" is longer than the 31",
        "Line 3: the line ends in a backslash"}},
      {"numModels: 3\r\n0: a.3do a.snd\r\n2: c.3do c.snd\r\n", "0=a.3do,a.snd 2=c.3do,c.snd",
       {"Line 1: numModels says 3, but the file holds 2", "Slot 1: no line fills it"}},
  };
  for (const auto& c : cases) {
    const ModelText t = ReadModelText(QString::fromLatin1(c.text));
    EXPECT_EQ(Dump(t.entries), QString::fromLatin1(c.entries)) << c.text;
    ASSERT_EQ(t.notes.size(), qsizetype(c.notes.size())) << c.text << "\n" << t.notes.join('\n');
    for (size_t i = 0; i < c.notes.size(); ++i)
      EXPECT_TRUE(t.notes[qsizetype(i)].startsWith(QLatin1String(c.notes[i]))) << t.notes[qsizetype(i)];
  }
}

// The game reads 1,023 bytes of a line and the rest as a line of its own, which spoils the
// table: the report says so.
TEST(ModelText, ALineLongerThanTheGameReadsIsReported) {
  for (const int length : {1023, 1024}) {
    const QString line = QStringLiteral("0: a.3do a.snd # ") + QString(length - 17, QLatin1Char('c'));
    const ModelText t = ReadModelText(QStringLiteral("numModels: 1\r\n") + line + QStringLiteral("\r\n"));
    EXPECT_EQ(t.notes, length == 1023 ? QStringList()
                                      : QStringList{"Line 2: the line is 1024 bytes long, longer than the 1023 bytes the "
                                                    "game reads of a line; it reads the rest as a line of its own and "
                                                    "loads no model from this file."});
  }
}

TEST(ModelText, WriterAndHeaderRoundTrip) {
  const std::vector<ModelEntry> entries = {{5, "ky.3do", "ky.snd", ""}, {9, "kk.3do", "kk.snd", "dark one"}};
  const QStringList lines = ModelFileText(entries, QStringLiteral("my notes"), {"Me", "me@x", "www"}).split("\r\n");
  // The shared author header, then the table numbered from 0 with the true count.
  EXPECT_EQ(lines.mid(0, 9), (QStringList{"#& Models.Dat", "#& created using Tarvex/Orvane version 0.2.0", "#&",
                                          "#& created by: Me", "#& me@x", "#& www", "#&", "#& Comments & Description:",
                                          "#&>my notes"}));
  EXPECT_EQ(lines.mid(15), (QStringList{"", "numModels: 2", "", "#\tModel\tSound", "0: ky.3do\tky.snd",
                                        "1: kk.3do\tkk.snd\t# dark one", ""}));
  const ModelText back = ReadModelText(lines.join("\r\n"));
  EXPECT_EQ(std::tuple(back.notes, back.hasComments, back.comments, back.headerLines.size()),
            std::tuple(QStringList(), true, QStringLiteral("my notes"), qsizetype(15)));
}

TEST(ModelText, NamesTheGameCannotRead) {
  const char* refused[][2] = {{"", "empty"}, {"abcdefghijklmnopqrstuvwxyz012345", "32 characters"},
                              {"a b", "a blank"}, {"a\tb", "a tab"}, {"a#b", "'#'"}, {"a;b", "';'"},
                              {"3do\\a", "backslash"}, {"3do/a", "slash"}, {"a\"b", "double quote"}};
  for (const auto& r : refused) EXPECT_TRUE(NameProblem(r[0], "model").contains(r[1])) << r[0];
  EXPECT_TRUE(NameProblem(QStringLiteral("\u03A9.snd"), "sound").contains("U+03A9"));
  EXPECT_TRUE(CommentProblem("two\nlines").contains("line break"));
  EXPECT_TRUE(CommentProblem(QStringLiteral("\u03A9")).contains("U+03A9"));
  EXPECT_EQ(CommentProblem(QStringLiteral("caf\u00E9 # ok")), QString());
  QStringList many;
  for (int i = 0; i < 13; ++i) many << QString::number(i);
  EXPECT_EQ(NotesMessage(many).split("\r\n").size(), 12);  // title, ten notes, the rest counted
  EXPECT_TRUE(NotesMessage(many).endsWith("... and 3 more."));
}

QString ListFault(const QByteArray& bytes, GobIndex* index = nullptr) {
  QByteArray copy = bytes;
  QBuffer buffer(&copy);
  buffer.open(QIODevice::ReadOnly);
  GobIndex local;
  QString fault;
  return (index ? index : &local)->Read(buffer, &fault) ? QStringLiteral("ok") : fault;
}

TEST(GobArchive, ListsAndRefusesMalformedArchives) {
  const QByteArray good = BuildGob({{"3do\\KY.3do", "SECTION: HEADER\n3DO 2.1\n"},
                                    {"3do\\alpha.3do", "x"},
                                    {"3do\\sub\\deep.3do", "x"},
                                    {"misc\\snd\\ky.snd", "a b"}});
  GobIndex index;
  ASSERT_EQ(ListFault(good, &index), "ok");
  EXPECT_EQ(index.NamesIn("3DO\\").join(',') + '|' + index.NamesIn("misc\\snd\\").join(','), "alpha.3do,KY.3do|ky.snd");
  EXPECT_EQ(index.Find("3DO\\ky.3do"), 0);
  EXPECT_EQ(ListFault(BuildGob({})), "ok");

  const auto patched = [&](int at, QByteArray bytes) { return QByteArray(good).replace(at, bytes.size(), bytes); };
  const struct { QByteArray bytes; const char* fault; } bad[] = {
      {good.left(11), "too short"},
      {patched(0, "GOO "), "does not begin with \"GOB \""},
      {patched(4, QByteArray("\x15\0\0\0", 4)), "version 21"},
      {patched(8, QByteArray("\xff\xff\0\0", 4)), "index lies beyond"},
      {patched(12, QByteArray("\x05\0\0\0", 4)), "claims 5 entries"},
      {patched(12, QByteArray("\xff\xff\xff\xff", 4)), "claims 4294967295"},
      {patched(16, QByteArray("\xf0\xff\0\0", 4)), "Entry 1 of the archive (3do\\KY.3do) lies beyond"},
      {patched(16 + 136 + 4, QByteArray("\0\0\0\x7f", 4)), "Entry 2 of the archive (3do\\alpha.3do) lies beyond"},
      {patched(24, QByteArray(128, 'n')), "Entry 1 of the archive has a name without its closing NUL"},
  };
  for (const auto& b : bad) EXPECT_TRUE(ListFault(b.bytes).contains(QLatin1String(b.fault))) << ListFault(b.bytes);
}

TEST(PickedFiles, ChecksOfModelsAndSounds) {
  for (const char* folder : {"corpus/3do", "corpus/snd"}) {
    const auto files = tarvex::test::CorpusFiles(folder);
    if (files.empty()) GTEST_SKIP() << "no corpus";
    for (const auto& [name, bytes] : files)
      EXPECT_EQ(PickProblem(name.endsWith(".3do") ? PickKind::Model : PickKind::Sound, bytes), QString()) << name;
  }
  const struct { PickKind kind; const char* bytes; bool ok; } cases[] = {
      {PickKind::Model, "# c\r\n\r\nsection: header\r\n# c\r\n3do 2.1\r\n", true},
      {PickKind::Model, "SECTION: HEADER\r\n\r\n", false}, {PickKind::Model, "3DO 2.1\r\n", false},
      {PickKind::Sound, "# c\r\nwalk  a.wav\r\n", true}, {PickKind::Sound, "# c\r\nwalk\r\n", false},
      {PickKind::Sound, "", false}};
  for (const auto& c : cases) EXPECT_EQ(PickProblem(c.kind, c.bytes).isEmpty(), c.ok) << c.bytes;
  EXPECT_FALSE(PickProblem(PickKind::Sound, QByteArray("a b\0", 4)).isEmpty());
}

TEST(Personality, ReadAndWrite) {
  const PersonalityText t = ReadPersonality(
      "version 2\r\nparam 50: 1\r\nPARAM 0:  -0.5\r\nparam 50: 2\r\nparam 256: 1\r\nparam 3: x\r\nbad\r\nparam 7: .25\r\n");
  EXPECT_EQ(t.params, (std::map<int, QString>{{0, "-0.5"}, {7, ".25"}, {50, "2"}}));
  const char* notes[] = {"Line 4: param 50 is given again", "Line 5: The parameter number 256 lies outside 0 to 255.",
                         "Line 6: The value \"x\" is not a decimal number.", "Line 7: the line does not read"};
  ASSERT_EQ(t.notes.size(), 4);
  for (int i = 0; i < 4; ++i) EXPECT_TRUE(t.notes[i].startsWith(notes[i])) << t.notes[i];
  EXPECT_TRUE(t.notes[1].endsWith("The game stops reading here."));
  EXPECT_EQ(PersonalityFileText(t.params), "version 2\r\nparam 0: -0.5\r\nparam 7: .25\r\nparam 50: 2\r\n");
  EXPECT_TRUE(ReadPersonality("version 1\nparam 1: 2\n").notes[0].startsWith("Line 1: the file does not begin"));
  EXPECT_TRUE(ReadPersonality("").notes[0].contains("empty"));
}

}  // namespace
}  // namespace orvane

// Every real jkstrings-style table of the corpus loads with all its keys, saves with all its
// comments, each in its place. (Reading back and saving again to the same bytes: fuzz_stringtable
// replays these files.)
#include <algorithm>

#include "lirrel/core/tablefile.h"
#include "tests/lirrel/lirrel_test_util.h"
#include "tests/support/test_env.h"

namespace lirrel {
namespace {

// The keys of a file counted without the loader: lines that do not begin with "#" and hold at
// least two double quotes; the name stands after the first quote, the value after the third.
// Comment lines begin with "#" (not "#&"), after blanks too when the line is no key. Any other
// line with words that is not the count or "END" is kept as it stands. `sequence` holds the
// comment lines, the kept lines and the keys (with what follows their value) in file order.
struct Expected { QStringList keys, groups{QStringLiteral("All")}, sequence; int kept = 0; };

Expected CountKeyLines(const QByteArray& bytes) {
  Expected out;
  for (const QByteArray& line : QByteArray(bytes).replace("\r\n", "\n").replace('\r', '\n').split('\n')) {
    if (line.startsWith('#') || line.count('"') < 2) {
      if (line.trimmed().startsWith('#') && !line.startsWith("#&")) out.sequence << "comment " + QString::fromLatin1(line);
      const QByteArray word = line.trimmed().split(' ').value(0).split('\t').value(0);
      if (!line.trimmed().startsWith('#') && !word.isEmpty() && word != "MSGS" && word != "END") {
        out.sequence << "kept " + QString::fromLatin1(line);
        ++out.kept;
      }
      continue;
    }
    const QList<QByteArray> parts = line.split('"');
    const QString name = QString::fromLatin1(parts[1]);
    out.sequence << "key " + name + " after value: " + QString::fromLatin1(parts.mid(4).join('"'));
    out.keys << name + '=' + (parts.size() >= 4 ? QString::fromLatin1(parts[3]) : QString());
    const QString group = name.contains('_') ? name.section('_', 0, 0) : QStringLiteral("MISC.");
    if (!out.groups.contains(group)) out.groups << group;
  }
  return out;
}

TEST(Corpus, EveryTableLoadsSavesAndReadsBack) {
  const auto files = tarvex::test::CorpusFiles("corpus/uni", "*.uni");
  if (files.empty()) GTEST_SKIP() << "no corpus";
  tarvex::test::TempSettings settings;
  for (const auto& [file, original] : files) {
    SCOPED_TRACE(file.toStdString());
    const Expected expected = CountKeyLines(original);  // the corpus holds only ASCII
    ASSERT_FALSE(expected.keys.isEmpty());
    QTemporaryDir dir;
    test::WriteBytes(TablePath(dir.path()), original);
    test::RecordingListener log;
    StringTable table(&log);
    ASSERT_TRUE(table.LoadTable(dir.path(), LoadMode::Load));
    EXPECT_EQ(test::KeyDump(table), expected.keys);
    EXPECT_EQ(table.groupTable(), expected.groups);
    EXPECT_EQ(log.messages.size(), expected.kept ? 1 : 0) << log.messages.join('\n');  // the lines kept are told
    log.messages.clear();

    ASSERT_TRUE(table.SaveTable(dir.path()));
    // Lirrel pads every key line; a line that grows past what the game reads is reported.
    const bool tooLong = std::any_of(expected.keys.begin(), expected.keys.end(),
                                     [](const QString& kv) { return kv.size() - 1 + 35 > kGameLineLimit; });
    EXPECT_EQ(log.messages.size(), tooLong ? 1 : 0) << log.messages.join('\n');
    if (tooLong) { EXPECT_TRUE(log.messages[0].startsWith(QStringLiteral("Lirrel|"))) << log.messages[0]; }
    EXPECT_EQ(test::ReadBytes(TablePath(dir.path(), true)), original);  // the backup is the file as it was
    // Every comment line is kept, in its place among the keys.
    const Expected saved = CountKeyLines(test::ReadBytes(TablePath(dir.path())));
    EXPECT_EQ(saved.sequence, expected.sequence);
    EXPECT_EQ(test::FileLines(TablePath(dir.path())).size(), saved.sequence.size() + 18);
  }
}

}  // namespace
}  // namespace lirrel

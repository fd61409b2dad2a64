// Every real jkstrings-style table of the corpus loads with all its keys, saves with all its
// comments, each in its place.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "lirrel/core/stringtable.h"
#include "lirrel/core/tablefile.h"
#include "tests/lirrel/lirrel_test_util.h"
#include "tests/support/test_env.h"

namespace lirrel {
namespace {

using test::FileLines;
using test::KeyDump;
using test::ReadBytes;

// The keys of a file counted without the loader: lines that do not begin with "#" and hold
// at least two double quotes; the name stands after the first quote, the value after the third.
// Comment lines are those that begin with "#" (not "#&"), after blanks too when the line is no key.
struct Expected {
  QStringList keys;      // "name=value"
  QStringList groups;    // "All" first, then in order of first appearance
  QStringList sequence;  // comment lines and keys (with what follows their value) in file order
};

Expected CountKeyLines(const QByteArray& bytes) {
  Expected out;
  out.groups << QStringLiteral("All");
  for (QByteArray raw : bytes.split('\n')) {
    for (const QByteArray& line : raw.split('\r')) {
      const bool key = !line.startsWith('#') && line.count('"') >= 2;
      if (!key && line.trimmed().startsWith('#') && !line.startsWith("#&"))
        out.sequence << QStringLiteral("comment ") + QString::fromLatin1(line);
      if (!key) continue;
      const QList<QByteArray> parts = line.split('"');
      out.sequence << QStringLiteral("key ") + QString::fromLatin1(parts[1]) + " after value: " +
                          QString::fromLatin1(parts.mid(4).join('"'));
      const QString name = QString::fromLatin1(parts[1]);
      const QString value = parts.size() >= 4 ? QString::fromLatin1(parts[3]) : QString();
      out.keys << name + '=' + value;
      const int u = int(name.indexOf('_'));
      const QString group = u < 0 ? QStringLiteral("MISC.") : name.left(u);
      if (!out.groups.contains(group)) out.groups << group;
    }
  }
  return out;
}

TEST(Corpus, EveryTableLoadsSavesAndReadsBack) {
  const QDir corpus(tarvex::test::SharedPath(QStringLiteral("corpus/uni")));
  const QStringList files = corpus.entryList({QStringLiteral("*.uni")}, QDir::Files, QDir::Name);
  if (files.isEmpty()) GTEST_SKIP() << "no corpus at " << corpus.path();
  tarvex::test::TempSettings settings;

  for (const QString& file : files) {
    SCOPED_TRACE(file.toStdString());
    const QByteArray original = ReadBytes(corpus.filePath(file));
    // The corpus holds only ASCII; the decoded text is the Latin-1 reading of the bytes.
    ASSERT_FALSE(original.isEmpty());
    const Expected expected = CountKeyLines(original);
    ASSERT_FALSE(expected.keys.isEmpty());

    QTemporaryDir dir;
    ASSERT_TRUE(QFile::copy(corpus.filePath(file), TablePath(dir.path())));
    test::RecordingListener log;
    StringTable table(&log);
    ASSERT_TRUE(table.LoadTable(dir.path(), LoadMode::Load));
    EXPECT_EQ(table.Count(), expected.keys.size());
    EXPECT_EQ(KeyDump(table), expected.keys);
    EXPECT_EQ(table.groupTable(), expected.groups);
    for (size_t k = 1; k < table.keyTable().size(); ++k)
      EXPECT_EQ(table.groupTable()[table.keyTable()[k].group], GroupOf(table.keyTable()[k].name));

    ASSERT_TRUE(table.SaveTable(dir.path()));
    // Lirrel pads every key line; a line that grows past what the game reads is reported.
    qsizetype tooLong = 0;
    for (const QString& kv : expected.keys) tooLong += kv.size() - 1 + 35 > kGameLineLimit;
    EXPECT_EQ(log.messages.size(), tooLong ? 1 : 0) << log.messages.join('\n');
    if (tooLong) {
      EXPECT_TRUE(log.messages[0].startsWith(QStringLiteral("Lirrel|"))) << log.messages[0].toStdString();
    }
    EXPECT_EQ(ReadBytes(TablePath(dir.path(), true)), original);  // the backup is the file as it was
    const QByteArray first = ReadBytes(TablePath(dir.path()));
    // Every comment line is kept, in its place among the keys.
    const Expected saved = CountKeyLines(first);
    EXPECT_EQ(saved.sequence, expected.sequence);
    EXPECT_EQ(FileLines(TablePath(dir.path())).size(), saved.sequence.size() + 18);
    // Reading back and saving again to the same bytes: fuzz_stringtable replays these files.
  }
}

}  // namespace
}  // namespace lirrel

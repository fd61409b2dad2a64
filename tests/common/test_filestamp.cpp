// Telling whether a file on disk is still the one a program read or wrote.
#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>
#include <functional>

#include "common/filestamp.h"
#include "common/files.h"
#include "tests/support/file_bytes.h"

using namespace tarvex;

namespace {

// Sets the file's modification time back to what it was, so that only the other marks differ.
void KeepTime(const QString& path, const QDateTime& t) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::ReadWrite) && f.setFileTime(t, QFileDevice::FileModificationTime));
}

}  // namespace

TEST(FileStamp, ChangesOnDiskAndWhatIsNoChange) {
  QTemporaryDir dir;
  const QString file = dir.filePath("a.cog"), link = dir.filePath("link.cog");
  const QDateTime past = QDateTime::currentDateTimeUtc().addSecs(-3600);
  const struct { const char* what; std::function<void()> change; bool changed; } cases[] = {
      {"nothing", [] {}, false},
      {"read again", [&] { test::ReadBytes(file); }, false},
      {"written in place, longer", [&] { test::WriteBytes(file, "abcd"); KeepTime(file, past); }, true},
      {"written in place, later", [&] { test::WriteBytes(file, "xyz"); }, true},
      {"replaced by a safe save of the same bytes at the same time",
       [&] { ASSERT_TRUE(WriteWholeFile(file, "abc")); KeepTime(file, past); }, true},
      {"written through a link", [&] { ASSERT_TRUE(WriteWholeFile(link, "abcdef")); }, true},
      {"deleted and made again", [&] { QFile::remove(file); test::WriteBytes(file, "abc"); }, true},
  };
  for (const auto& c : cases) {
    QFile::remove(file);
    test::WriteBytes(file, "abc");
    KeepTime(file, past);
    QFile::remove(link);
    ASSERT_TRUE(QFile::link(file, link));
    for (const QString& known : {file, link}) {
      const FileStamp stamp = StampOf(known);
      ASSERT_TRUE(stamp.exists && stamp.size == 3);
      c.change();
      EXPECT_EQ(ChangedOnDisk(stamp, known), c.changed) << c.what << " seen through " << known.toStdString();
      test::WriteBytes(file, "abc");  // as it was for the next look
      KeepTime(file, past);
    }
  }
  EXPECT_FALSE(ChangedOnDisk(FileStamp{}, file));  // never read: nothing to lose
  EXPECT_FALSE(StampOf(dir.path()).exists);        // a folder is no file
}

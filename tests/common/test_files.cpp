// The one safe write over read-only and linked files. (The backup kept beside a file, a full
// disk, and a file or backup that cannot be replaced are tried through each program's own save.)
#include <QFileInfo>
#include <QTemporaryDir>
#ifndef Q_OS_WIN
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "common/files.h"
#include "tests/support/file_bytes.h"
#include "tests/support/test_env.h"

using namespace tarvex;
using test::ReadBytes;

#ifndef Q_OS_WIN
// File modes and owners are POSIX's; Windows keeps neither.
static struct stat Stat(const QString& path) {
  struct stat st {};
  ::stat(QFile::encodeName(path).constData(), &st);
  return st;
}

TEST(SafeWrite, KeepsModeOwnerAndLinksAndRefusesReadOnlyFiles) {
  QTemporaryDir dir;
  const QString file = dir.filePath("a.cog"), link = dir.filePath("link.cog");
  ASSERT_TRUE(WriteWholeFile(file, "old"));
  ASSERT_TRUE(QFile::link("a.cog", link));  // relative, as users make them
  ::chmod(QFile::encodeName(file).constData(), 0640);
  const bool root = ::geteuid() == 0;
  ASSERT_TRUE(!root || ::chown(QFile::encodeName(file).constData(), 1234, 4321) == 0);
  ASSERT_TRUE(WriteWholeFile(link, "new"));
  EXPECT_TRUE(QFileInfo(link).isSymLink() && ReadBytes(file) == "new");
  EXPECT_EQ(std::pair(Stat(file).st_mode & 07777, Stat(file).st_uid), std::pair(0640u, root ? 1234u : ::geteuid()));
  ::chmod(QFile::encodeName(file).constData(), 0444);  // refused, also for root
  EXPECT_FALSE(WriteWholeFile(file, "newer"));
  EXPECT_EQ(ReadBytes(file) + char('0' + (Stat(file).st_mode & 0777) / 64), QByteArray("new4"));
}
#endif

// A file system mounted read-only is named as such, whether the file exists or is new, and
// with or without a backup; nothing on it changes.
TEST(SafeWrite, ReadOnlyFileSystemIsNamed) {
  test::SmallDisk disk;
  if (!disk.Ok()) GTEST_SKIP() << "needs root to mount a small file system";
  const QString file = disk.Path() + "/t.uni", backup = disk.Path() + "/t.~un";
  ASSERT_TRUE(WriteWholeFile(file, "old"));
  ASSERT_TRUE(disk.SetReadOnly(true));
  const QString added = disk.Path() + "/new.uni";
  const struct { QString path; bool withBackup; } cases[] = {{file, false}, {file, true}, {added, false}, {added, true}};
  for (const auto& c : cases) {
    QString error;
    EXPECT_FALSE(c.withBackup ? WriteWholeFileWithBackup(c.path, backup, "new", &error)
                              : WriteWholeFile(c.path, "new", &error));
    EXPECT_EQ(error, QStringLiteral("Read-only file system")) << c.path.toStdString() << c.withBackup;
  }
  EXPECT_EQ(ReadBytes(file), QByteArray("old"));
  disk.SetReadOnly(false);
}

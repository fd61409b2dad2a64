#include "tests/support/test_env.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStorageInfo>

#include "tests/support/file_bytes.h"

namespace tarvex::test {

TempSettings::TempSettings() {
  hadOld_ = qEnvironmentVariableIsSet("TARVEX_CONFIG_DIR");
  old_ = qgetenv("TARVEX_CONFIG_DIR");
  qputenv("TARVEX_CONFIG_DIR", dir_.path().toLocal8Bit());
}

TempSettings::~TempSettings() {
  if (hadOld_) qputenv("TARVEX_CONFIG_DIR", old_);
  else qunsetenv("TARVEX_CONFIG_DIR");
}

QString SharedPath(const QString& rel) { return QDir::cleanPath(QStringLiteral(TARVEX_SHARED_DIR "/") + rel); }

std::vector<std::pair<QString, QByteArray>> CorpusFiles(const QString& folder, const QString& pattern) {
  std::vector<std::pair<QString, QByteArray>> out;
  const QDir dir(SharedPath(folder));
  for (const QString& name : dir.entryList({pattern}, QDir::Files, QDir::Name)) out.emplace_back(name, ReadBytes(dir.filePath(name)));
  return out;
}

void ProcessEvents() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QCoreApplication::processEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

ReadOnlyFolder::ReadOnlyFolder(const QString& path) : path_(path) {
  QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner);
  auto refuses = [&] {
    QFile probe(QDir(path).filePath(QStringLiteral(".probe")));
    if (!probe.open(QIODevice::WriteOnly)) return true;
    probe.close();
    probe.remove();
    return false;
  };
  if (refuses()) {
    ok_ = true;
    return;
  }
  immutable_ = QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), path}) == 0;
  ok_ = immutable_ && refuses();
}

ReadOnlyFolder::~ReadOnlyFolder() {
  if (immutable_) QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), path_});
  QFile::setPermissions(path_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

SmallDisk::SmallDisk(qint64 size) {
  if (!dir_.isValid()) return;
  const QStringList args{"-t", "tmpfs", "-o", QStringLiteral("size=%1").arg(size), "tmpfs", dir_.path()};
  mounted_ = QProcess::execute(QStringLiteral("mount"), args) == 0;
}

bool SmallDisk::SetReadOnly(bool readOnly) {
  return mounted_ && QProcess::execute(QStringLiteral("mount"), {"-o", readOnly ? "remount,ro" : "remount,rw", dir_.path()}) == 0;
}

SmallDisk::~SmallDisk() {
  if (!mounted_) return;
  // Lazily, so that a file a failed test left open cannot keep the mount.
  QProcess::execute(QStringLiteral("umount"), {QStringLiteral("-l"), dir_.path()});
}

void SmallDisk::FillLeaving(qint64 left) {
  const QStorageInfo disk(dir_.path());
  const qint64 fill = disk.bytesAvailable() - left;
  if (fill <= 0) return;
  QFile f(QDir(dir_.path()).filePath(QStringLiteral("filler")));
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Append));
  f.write(QByteArray(fill, 'f'));
}

ImmutableFile::ImmutableFile(const QString& path) : path_(path) {
  ok_ = QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), path}) == 0;
}

ImmutableFile::~ImmutableFile() {
  if (ok_) QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), path_});
}

}  // namespace tarvex::test

#include "tests/support/test_env.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryFile>

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

}  // namespace tarvex::test

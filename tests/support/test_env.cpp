#include "tests/support/test_env.h"

#include <QApplication>
#include <QDir>

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

}  // namespace tarvex::test

#include "common/ui/appicon.h"

#include <QFile>
#include <QGuiApplication>

namespace tarvex {

QIcon AppIcon(const QString& name) {
  QIcon icon;
  for (int size : kIconSizes) {
    const QString path = QStringLiteral(":/icons/%1x%1/%2.png").arg(size).arg(name);
    if (QFile::exists(path)) icon.addFile(path, QSize(size, size));
  }
  return icon;
}

void PresentAs(const QString& desktopName) {
  QGuiApplication::setWindowIcon(AppIcon(desktopName));
  QGuiApplication::setDesktopFileName(desktopName);
}

}  // namespace tarvex

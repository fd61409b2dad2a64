#include "common/ui/shellopen.h"

#include <QDesktopServices>
#include <QUrl>

namespace tarvex {

namespace {
std::function<void(const QString&)>& Opener() {
  static std::function<void(const QString&)> f;
  return f;
}
}  // namespace

void OpenWithShell(QWidget* owner, const QString& text) {
  (void)owner;  // the handler opens its own window
  if (Opener()) {
    Opener()(text);
    return;
  }
  QDesktopServices::openUrl(QUrl(text, QUrl::TolerantMode));
}

void SetShellOpener(std::function<void(const QString&)> opener) { Opener() = std::move(opener); }

}  // namespace tarvex

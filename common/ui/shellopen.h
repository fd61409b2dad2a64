#pragma once
// Opening a mailto: link or a web address with the platform's handler (mail program,
// browser). Nothing is reported when none is registered.
#include <QString>
#include <functional>

class QWidget;

namespace tarvex {

void OpenWithShell(QWidget* owner, const QString& text);

// Tests replace the handler to see what would have been opened; an empty function restores
// the platform's.
void SetShellOpener(std::function<void(const QString&)> opener);

}  // namespace tarvex

// Where Scrivane's windows open: the main window as it was last closed or centred on the
// screen, and each new document window filling the document area.
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QStyle>

#include "common/prefs.h"
#include "scrivane/core/shell.h"
#include "scrivane/gui/frmmain.h"
#include "scrivane/gui/frmscrivane.h"

namespace scrivane {

void frmMain::PlaceAtStart() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  using namespace tarvex::prefs;
  const QRect stored(WindowLeft.Get(), WindowTop.Get(), WindowWidth.Get(), WindowHeight.Get());
  setGeometry(StartWindowRect(screen->availableGeometry(), stored));
  if (WindowMaximized.Get()) setWindowState(windowState() | Qt::WindowMaximized);
}

void frmMain::SaveWindowPlace() const {
  using namespace tarvex::prefs;
  // A maximized or minimized window keeps the place it goes back to.
  const QRect r = windowState() & (Qt::WindowMaximized | Qt::WindowMinimized) ? normalGeometry() : geometry();
  if (r.isEmpty()) return;
  WindowLeft.Set(r.left());
  WindowTop.Set(r.top());
  WindowWidth.Set(r.width());
  WindowHeight.Set(r.height());
  WindowMaximized.Set(isMaximized());
}

QRect frmMain::NewDocumentPlace() const {
  int open = 0;
  for (const QMdiSubWindow* s : mdiArea->subWindowList())
    if (s->isVisible() && !s->isMinimized()) ++open;
  const int step = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this) + 4;
  return NewDocumentRect(QRect(QPoint(0, 0), mdiArea->viewport()->size()), open, step);
}

}  // namespace scrivane

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

void frmMain::SaveWindowPlace(QString* fault) const {
  using namespace tarvex::prefs;
  // A maximized or minimized window keeps the place it goes back to.
  const QRect r = windowState() & (Qt::WindowMaximized | Qt::WindowMinimized) ? normalGeometry() : geometry();
  if (r.isEmpty()) return;
  WindowLeft.Set(r.left(), fault);
  WindowTop.Set(r.top(), fault);
  WindowWidth.Set(r.width(), fault);
  WindowHeight.Set(r.height(), fault);
  WindowMaximized.Set(isMaximized(), fault);
}

namespace {
// The place a document window was given when it opened and how many windows were open then.
const char* const kPlaced = "placedRect";
const char* const kPlacedAfter = "placedAfter";
}  // namespace

int frmMain::CascadeStep() const { return style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this) + 4; }

void frmMain::PlaceNewDocument(QMdiSubWindow* sub) {
  int open = 0;
  for (const QMdiSubWindow* s : mdiArea->subWindowList())
    if (s != sub && s->isVisible() && !s->isMinimized()) ++open;
  const QRect place = NewDocumentRect(QRect(QPoint(0, 0), mdiArea->viewport()->size()), open, CascadeStep());
  sub->setGeometry(place);
  sub->setProperty(kPlaced, place);
  sub->setProperty(kPlacedAfter, open);
}

void frmMain::FollowAreaSize() {
  // The area often reaches its final size only after the first document opened (a window
  // shown maximized is enlarged by the window manager afterwards). A document window still
  // where it was put is placed again for the new size; one the user moved, resized or
  // arranged keeps its place from then on.
  const QRect area(QPoint(0, 0), mdiArea->viewport()->size());
  for (QMdiSubWindow* s : mdiArea->subWindowList()) {
    const QVariant placed = s->property(kPlaced);
    if (!placed.isValid()) continue;
    if (s->isMinimized() || s->isMaximized() || s->geometry() != placed.toRect()) {
      s->setProperty(kPlaced, QVariant());
      continue;
    }
    const QRect place = NewDocumentRect(area, s->property(kPlacedAfter).toInt(), CascadeStep());
    s->setGeometry(place);
    s->setProperty(kPlaced, place);
  }
}

}  // namespace scrivane

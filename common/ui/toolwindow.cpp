#include "common/ui/toolwindow.h"

namespace tarvex {

void PlaceOver(const QWidget* owner, QWidget* w, QPoint offset) { w->move(owner->geometry().topLeft() + offset); }

void BringForward(QWidget* w) {
  w->show();
  w->raise();
  w->activateWindow();
}

}  // namespace tarvex

#pragma once
// For start-up measurements and checks. When TARVEX_QUIT_WHEN_IDLE is set, the process ends the moment
// its main window has painted its first frame and the event loop has nothing left to do: the
// point at which a user sees the program ready. It ends there and then, without closing its
// windows, so that what a program does when it closes (Scrivane writes its settings and
// syncs them to the disk) is not counted as start-up. Header only, so that the bare yardstick
// program links nothing else and both end at the same point in the same way.
#include <QAbstractEventDispatcher>
#include <QEvent>
#include <QWidget>

#include <cstdio>
#include <cstdlib>

namespace tarvex {

inline void QuitWhenShownAndIdle(QWidget* window) {
  if (!qEnvironmentVariableIsSet("TARVEX_QUIT_WHEN_IDLE")) return;
  struct Probe : QObject {
    bool painted = false;
    bool eventFilter(QObject*, QEvent* e) override {
      if (e->type() == QEvent::Paint) painted = true;
      return false;
    }
  };
  auto* probe = new Probe;
  probe->setParent(window);
  window->installEventFilter(probe);
  QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, probe, [probe] {
    if (!probe->painted) return;
    std::fflush(nullptr);
    std::_Exit(0);
  });
}

}  // namespace tarvex

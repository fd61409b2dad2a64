#pragma once
// For start-up measurements. When TARVEX_QUIT_WHEN_IDLE is set, the program quits the moment
// its main window has painted its first frame and the event loop has nothing left to do: the
// point at which a user sees the program ready. Header only, so that the bare yardstick
// program links nothing else and both end at the same point in the same way.
#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

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
    QObject::disconnect(QAbstractEventDispatcher::instance(), nullptr, probe, nullptr);
    QCoreApplication::quit();
  });
}

}  // namespace tarvex

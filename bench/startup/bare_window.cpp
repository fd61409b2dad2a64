// The yardstick for start-up time: a Qt program that shows an empty main window of
// Scrivane's size. Under TARVEX_QUIT_WHEN_IDLE it ends at the same point as Scrivane does:
// its first frame painted and its event queue idle.
#include <QApplication>
#include <QMainWindow>

#include "common/ui/idleprobe.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QMainWindow w;
  w.resize(1000, 700);
  w.show();
  tarvex::QuitWhenShownAndIdle(&w);
  return app.exec();
}

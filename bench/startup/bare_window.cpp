// The yardstick for start-up time: a Qt program that shows an empty main window and quits
// as soon as its event queue is idle.
#include <QApplication>
#include <QMainWindow>
#include <QTimer>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QMainWindow w;
  w.resize(1000, 700);
  w.show();
  QTimer::singleShot(0, &app, &QCoreApplication::quit);
  return app.exec();
}

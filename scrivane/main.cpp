#include <QApplication>

#include "scrivane/gui/mdlscrivane.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  return scrivane::RunScrivane(app);
}

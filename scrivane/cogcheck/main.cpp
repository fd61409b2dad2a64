// tarvex-cogcheck: checks COG scripts from the command line (see core/cogcheckrun.h).
#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>

#include "scrivane/core/cogcheckrun.h"

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  QStringList args = QCoreApplication::arguments();
  args.removeFirst();
  QTextStream out(stdout), err(stderr);
  return scrivane::RunCogCheck(args, out, err);
}

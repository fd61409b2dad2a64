// A second yardstick: the least a text editor's window shows. A main window of Scrivane's size
// with a menu bar and a text box holding a few lines in a fixed-pitch font. Unlike the bare
// window it draws text, so it pays what any program pays for its first text: loading the
// font configuration and the font list, and shaping the first glyphs. It ends at the same
// point as the other two programs.
#include <QApplication>
#include <QFontDatabase>
#include <QMainWindow>
#include <QMenuBar>
#include <QPlainTextEdit>

#include "common/ui/idleprobe.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QMainWindow w;
  w.resize(1000, 700);
  for (const char* title : {"&File", "&Edit", "&View", "&Help"}) w.menuBar()->addMenu(QString::fromLatin1(title));
  auto* text = new QPlainTextEdit;
  text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  text->setPlainText(QStringLiteral("symbols\nmessage startup\nend\n\ncode\nstartup:\n  Print(\"ready\");\n  return;\nend\n"));
  w.setCentralWidget(text);
  w.show();
  tarvex::QuitWhenShownAndIdle(&w);
  return app.exec();
}

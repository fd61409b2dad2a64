// Lirrel, the editor of the game's message table jkstrings.uni.
#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include "common/ui/appicon.h"
#include "common/ui/idleprobe.h"
#include "common/ui/prompts.h"
#include "lirrel/gui/lireditor.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Lirrel"));
  tarvex::PresentAs(QStringLiteral("tarvex-lirrel"));
  // No display name: on X11 Qt would append it to every window title. Message boxes
  // without a title of their own still show the application name.
  QApplication::setApplicationVersion(QStringLiteral(TARVEX_VERSION));

  // The command line is one path, as a file association passes it; the shell here has split
  // it at its blanks.
  QString commandLine = QApplication::arguments().mid(1).join(QLatin1Char(' ')).trimmed();
  // The program's folder becomes the current folder at start, so a relative path is made
  // whole against the folder it was given in first.
  if (!commandLine.isEmpty() && !commandLine.startsWith(QLatin1Char('"')) && QFileInfo(commandLine).isRelative())
    commandLine = QDir::toNativeSeparators(QDir::current().absoluteFilePath(commandLine));

  lirrel::lirEditor editor;
  tarvex::prompts().SetParentWindow(&editor);
  editor.show();
  // Drawn before a long load starts, so that the progress window has something to stand on.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  editor.Form_Load(commandLine);
  tarvex::QuitWhenShownAndIdle(&editor);
  return app.exec();
}

// Orvane, the editor of the game's multiplayer model table models.dat.
#include <QApplication>

#include "common/ui/appicon.h"
#include "common/ui/idleprobe.h"
#include "common/ui/prompts.h"
#include "orvane/gui/orveditor.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Orvane"));
  tarvex::PresentAs(QStringLiteral("tarvex-orvane"));
  // No display name: on X11 Qt would append it to every window title. Message boxes
  // without a title of their own still show the application name.
  QApplication::setApplicationVersion(QStringLiteral(TARVEX_VERSION));

  // The command line is one path, as a file association passes it; the shell here has split
  // it at its blanks.
  const QString commandLine = QApplication::arguments().mid(1).join(QLatin1Char(' '));
  orvane::orvEditor editor;
  tarvex::prompts().SetParentWindow(&editor);
  editor.show();
  editor.Form_Load(commandLine);
  tarvex::QuitWhenShownAndIdle(&editor);
  return app.exec();
}

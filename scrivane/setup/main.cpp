#include <QApplication>
#include <QDir>

#include "common/paths.h"
#include "common/ui/fileicons.h"
#include "common/ui/prompts.h"
#include "scrivane/setup/gui/pendrelsetup.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Tarvex Setup"));
  QApplication::setWindowIcon(tarvex::FileIcon(tarvex::FileKind::Cog));
  // No display name: on X11 Qt would append it to every window title. Message boxes
  // without a title of their own still show the application name.
  // The file list, the files it names and the registry file are all in the installer's folder.
  QDir::setCurrent(tarvex::ProgramFolder());

  pendrel::PendrelSetup window;
  tarvex::prompts().SetParentWindow(&window);
  window.show();
  return app.exec();
}

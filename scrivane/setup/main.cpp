#include <QApplication>
#include <QDir>
#include <cstdio>
#include <cstring>

#include "common/paths.h"
#include "common/ui/appicon.h"
#include "common/ui/idleprobe.h"
#include "common/ui/prompts.h"
#include "scrivane/setup/core/desktop.h"
#include "scrivane/setup/core/installer.h"
#include "scrivane/setup/gui/pendrelsetup.h"

namespace {

// tarvex-setup --remove-associations: the window's Remove Associations for scripts, without
// a window or a display. Prints each file removed; problems go to the error stream and make
// the exit status 1.
int RemoveAssociationsCommand(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const pendrel::DesktopResult result = pendrel::RegisterDesktop(
      {QString(), pendrel::Boxes{}, pendrel::XdgDataHome()}, pendrel::SystemFileOps(), pendrel::SystemShell());
  for (const QString& path : result.removed) std::printf("removed %s\n", qPrintable(path));
  for (const QString& problem : result.problems) std::fprintf(stderr, "tarvex-setup: %s\n", qPrintable(problem));
  if (result.removed.isEmpty() && result.problems.isEmpty())
    std::printf("No file associations of the Tarvex programs were registered.\n");
  return result.problems.isEmpty() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "--remove-associations") == 0) return RemoveAssociationsCommand(argc, argv);

  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Tarvex Setup"));
  tarvex::PresentAs(QStringLiteral("tarvex-setup"));
  // No display name: on X11 Qt would append it to every window title. Message boxes
  // without a title of their own still show the application name.
  // The file list, the files it names and the registry file are all in the installer's folder.
  QDir::setCurrent(tarvex::ProgramFolder());

  pendrel::PendrelSetup window;
  tarvex::prompts().SetParentWindow(&window);
  window.show();
  tarvex::QuitWhenShownAndIdle(&window);
  return app.exec();
}

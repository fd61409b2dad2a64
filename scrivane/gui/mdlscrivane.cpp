#include "scrivane/gui/mdlscrivane.h"

#include <QApplication>
#include <QComboBox>
#include <QFileInfo>

#include "common/paths.h"
#include "common/prefs.h"
#include "common/ui/appicon.h"
#include "common/ui/idleprobe.h"
#include "common/ui/prompts.h"
#include "scrivane/core/shell.h"
#include "scrivane/gui/frmmain.h"

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace scrivane {

QString PlatformCommandLine() {
#ifdef Q_OS_WIN
  // The raw text after the program name, quotes and all.
  const QString raw = QString::fromWCharArray(GetCommandLineW());
  qsizetype i = 0;
  if (raw.startsWith(QLatin1Char('"'))) {
    i = raw.indexOf(QLatin1Char('"'), 1);
    i = i < 0 ? raw.size() : i + 1;
  } else {
    while (i < raw.size() && !raw[i].isSpace()) ++i;
  }
  while (i < raw.size() && raw[i].isSpace()) ++i;
  return raw.mid(i);
#else
  return CommandLineText(QCoreApplication::arguments());
#endif
}

namespace {

EditorDefaults ReadDefaults() {
  namespace prefs = tarvex::prefs;
  EditorDefaults d;
  d.DefOpenDir = prefs::DefOpenDir.Get();
  d.DefSaveDir = prefs::DefSaveDir.Get();
  d.DefFontName = prefs::DefFontName.Get();
  d.DefFontBold = prefs::DefFontBold.Get();
  d.DefFontItalic = prefs::DefFontItalic.Get();
  d.DefFontSize = prefs::DefFontSize.Get();
  return d;
}

// The files every new document needs; one message names those that are missing.
void ReportMissingDataFiles() {
  QStringList missing;
  for (const char* name : {"default.cog", "messages.dat"}) {
    const QFileInfo fi(tarvex::JoinPath(tarvex::DataFolder(), QString::fromLatin1(name)));
    if (!fi.isFile() || !fi.isReadable()) missing << QString::fromLatin1(name);
  }
  if (missing.isEmpty()) return;
  tarvex::prompts().MsgBox(QStringLiteral("%1 could not be read from %2.\r\nNew documents start %3.")
                               .arg(missing.join(QStringLiteral(" and ")), tarvex::DataFolder(),
                                    missing.size() == 2 ? QStringLiteral("empty, without the message list")
                                    : missing.first() == QLatin1String("default.cog") ? QStringLiteral("empty")
                                                                                       : QStringLiteral("without the message list")),
                           QStringLiteral("Scrivane"), tarvex::MsgButtons::OK, tarvex::MsgIcon::Exclamation);
}

}  // namespace

std::unique_ptr<frmMain> StartScrivane(const StartOptions& options) {
  auto main = std::make_unique<frmMain>();  // holds objMRU, created first
  // Scrivane's own icon and desktop entry, not those of the script files it opens.
  tarvex::PresentAs(QStringLiteral("tarvex-scrivane"), main.get());
  main->strCurCog = QStringLiteral("cog1");
  const QString commandLine = options.commandLine;
  main->defaults = ReadDefaults();
  main->ShowCheckSyntax(tarvex::prefs::ShowCheckSyntax.Get());
  if (!main->LoadCogRef()) return nullptr;
  main->PlaceAtStart();
  main->show();
  if (options.listenForDde)
    main->StartDdeServer(options.ddeServerName.isEmpty() ? frmMain::DefaultDdeServerName() : options.ddeServerName);
  main->objMRU.LoadMRU(main->mnuFileMRU, main->mnuFileBar6);
  if (!commandLine.isEmpty()) main->OpenFromCommandLine(commandLine);
  else main->NewCog(QStringLiteral("blank"), QString());
  main->cmbTvwSel->setCurrentIndex(0);
  main->colSymTypes = SymbolTypeNames();
  ReportMissingDataFiles();
  if (!main->cogRefProblems.isEmpty())
    tarvex::prompts().MsgBox(main->cogRefProblems, QStringLiteral("Scrivane"), tarvex::MsgButtons::OK,
                             tarvex::MsgIcon::Exclamation);
  return main;
}

int RunScrivane(QApplication& app) {
  QApplication::setApplicationName(QStringLiteral("Scrivane"));
  // No display name: on X11 Qt would append it to every window title. Message boxes
  // without a title of their own still show the application name.
  QApplication::setApplicationVersion(QStringLiteral(TARVEX_VERSION));
  StartOptions options;
  options.commandLine = PlatformCommandLine();
  std::unique_ptr<frmMain> main = StartScrivane(options);
  if (!main) return 1;
  tarvex::QuitWhenShownAndIdle(main.get());
  return app.exec();
}

}  // namespace scrivane

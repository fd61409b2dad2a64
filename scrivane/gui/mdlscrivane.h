#pragma once
// Scrivane's start-up: editor defaults from the settings store, the reference, the main
// window, the command line.
#include <QString>
#include <memory>

class QApplication;

namespace scrivane {

class frmMain;

struct StartOptions {
  QString commandLine;        // used verbatim as one path when not empty
  QString ddeServerName;      // empty: the default name for this user
  bool listenForDde = true;
};

// Runs the start-up procedure. Returns the main window, or nullptr when the program must end
// (the reference file is missing; the user has been told).
std::unique_ptr<frmMain> StartScrivane(const StartOptions& options);

// The command line as this platform gives it: on Windows the raw text after the program name,
// elsewhere the arguments joined with blanks.
QString PlatformCommandLine();

// Starts Scrivane and runs it until the main window closes.
int RunScrivane(QApplication& app);

}  // namespace scrivane

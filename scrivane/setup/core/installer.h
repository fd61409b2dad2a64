#pragma once
// The installation: copy the files of the file list into the install folder, write the
// registry import file and hand it to the registry editor. The platform's file operations
// and program starts come in through interfaces, so the whole run can be played against a
// temporary folder with scripted answers.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

#include "scrivane/setup/core/regfile.h"

namespace pendrel {

inline constexpr const char* kFileList = "tarvex-filelist.txt";
inline constexpr const char* kRegFile = "tarvexsetup.reg";
inline constexpr const char* kErrorTitle = "Tarvex Setup Error";

// One line of the file list: a file name, or the reason reading that line failed.
struct ListLine {
  QString name;
  bool failed = false;
  QString error;
};

class SetupFileOps {
 public:
  virtual ~SetupFileOps() = default;
  // Reads the file list line by line. False (with the reason) when it cannot be opened.
  virtual bool ReadFileList(const QString& path, std::vector<ListLine>* lines, QString* error) = 0;
  // Copies a file; an existing destination is replaced whole, or stays as it was when the
  // copy fails. The copy takes the source's permissions.
  virtual bool CopyFileOver(const QString& source, const QString& dest, QString* error) = 0;
  // True when both paths name one and the same file (the installer's own folder as the
  // install folder).
  virtual bool SameFile(const QString& a, const QString& b) = 0;
  // Makes one folder (its parent must exist).
  virtual bool MakeFolder(const QString& path, QString* error) = 0;
  // Makes a folder and any missing parents.
  virtual bool MakeFolders(const QString& path, QString* error) = 0;
  // Creates or overwrites a file.
  virtual bool WriteFile(const QString& path, const QByteArray& bytes, QString* error) = 0;
  // Removes a file.
  virtual bool RemoveFile(const QString& path, QString* error) = 0;
  virtual bool FileExists(const QString& path) = 0;
  virtual bool FolderExists(const QString& path) = 0;
};

class SetupShell {
 public:
  virtual ~SetupShell() = default;
  // Full path of a program found on the search path, or empty.
  virtual QString FindProgram(const QString& name) = 0;
  // Starts a program in a normal window and does not wait for it.
  virtual bool StartDetached(const QString& program, const QStringList& args, QString* error) = 0;
  // Runs a program to its end; false when it could not run or failed.
  virtual bool Run(const QString& program, const QStringList& args) = 0;
};

// The platform's implementations.
SetupFileOps& SystemFileOps();
SetupShell& SystemShell();

// How the ticked associations reach the system.
enum class Associations {
  RegistryEditor,  // the registry file is handed to the registry editor (Windows)
  Desktop,         // MIME types, desktop entries and icons in the user's data folder (freedesktop)
};
// Windows: RegistryEditor; elsewhere Desktop (a registry editor found there belongs to a
// compatibility layer, whose registry no desktop program reads).
Associations NativeAssociations();

struct InstallRequest {
  QString programFolder;  // the installer's folder: file list, sources, registry file
  QString installPath;    // the text of the install path box when Install was pressed
  Boxes boxes{};
  Associations associations = NativeAssociations();
  QString dataHome;  // the user's XDG data folder (for Associations::Desktop)
  // In the platform's layout (programs in bin/ under lower-case names, data in share/tarvex/):
  // the data folder, which holds the file list and the data files. Empty in the one-folder
  // layout, where everything is in programFolder. Likewise the library folder, which holds
  // the printing module.
  QString dataFolder, moduleFolder;
};

// The install path as the installation uses it: a relative one is taken from the current
// folder, so that the files, the registry file and the desktop entries all name one absolute
// folder. Native separators; empty stays empty.
QString AbsoluteInstallPath(const QString& installPath);

enum class InstallOutcome {
  Stopped,  // nothing more happens; the program stays open
  Ended,    // the program ends now
};

// Runs the installation; every message goes through tarvex::prompts().
InstallOutcome Install(const InstallRequest& req, SetupFileOps& files, SetupShell& shell);

// Removes the desktop associations an installation registered in dataHome and refreshes the
// desktop's caches. Every message goes through tarvex::prompts().
void RemoveAssociations(const QString& dataHome, SetupFileOps& files, SetupShell& shell);

// Makes folder + separator + name for New Directory. Returns the new folder's path, or
// empty after telling the user why it could not be made.
QString MakeNewDirectory(const QString& folder, const QString& name, SetupFileOps& files);

}  // namespace pendrel

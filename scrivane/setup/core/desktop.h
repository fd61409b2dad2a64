#pragma once
// File associations for freedesktop desktops: a shared-mime-info package that defines the
// game's file types, a desktop entry for each program that opens them, and their icons, all
// in the user's XDG data folder.
#include <QString>
#include <QStringList>
#include <vector>

#include "scrivane/setup/core/regfile.h"

namespace pendrel {

class SetupFileOps;
class SetupShell;

struct MimeGlob {
  QString pattern;
  int weight;  // 50 is the freedesktop default
};

struct GameFileType {
  int box;              // the check box that governs it
  QString mimeType;     // "text/x-jk-cog"
  QString comment;      // "COG File"
  std::vector<MimeGlob> globs;
  QString magic;        // text near the start that marks the type when no glob decides; may be empty
  QString iconFile;     // PNG among the installed files
  QString program;      // program that opens it, without suffix
  QString files;        // the files as the user is told about them: ".cog", "models.dat"
};

// The four types in the order .cog, .cgt, .dat, .uni.
const std::vector<GameFileType>& GameFileTypes();

// The icon name a type's icon is installed under: "text/x-jk-cog" -> "text-x-jk-cog".
QString MimeIconName(const QString& mimeType);

// The shared-mime-info package defining the types whose boxes are ticked.
QString MimePackageXml(const Boxes& boxes);

// A program path as one argument of a desktop entry's Exec key: quoted, with the
// characters the quoting and the key's string escapes reserve escaped.
QString DesktopExecArgument(const QString& path);

struct DesktopApp {
  QString program;      // "Scrivane"
  QString genericName;  // "COG Script Editor"
  QString comment;
  QString icon;         // icon name
};
const std::vector<DesktopApp>& DesktopApps();
// "tarvex-scrivane.desktop"
QString DesktopFileName(const QString& program);

// The desktop entry that opens the given MIME types with programPath.
QString DesktopEntryText(const DesktopApp& app, const QString& programPath, const QStringList& mimeTypes);

struct DesktopRequest {
  QString installPath;
  Boxes boxes{};
  QString dataHome;  // $XDG_DATA_HOME, or ~/.local/share
};

struct DesktopResult {
  QStringList problems;  // what went wrong, one line each
  QStringList notes;     // ticked types no installed program opens yet, one line each
  QStringList opens;     // "Scrivane now opens .cog and .cgt files.", one line per program
  QStringList removed;   // files of an earlier registration that were removed
};

// Writes the MIME package, the desktop entries and the icons for the ticked boxes, removes
// those an earlier registration wrote for boxes no longer ticked, and runs the desktop's cache
// tools (update-mime-database, update-desktop-database, gtk-update-icon-cache) where something
// changed and they exist. With no box ticked it removes the whole registration.
DesktopResult RegisterDesktop(const DesktopRequest& req, SetupFileOps& files, SetupShell& shell);

// The user's XDG data folder.
QString XdgDataHome();

}  // namespace pendrel

#pragma once
// The registry import file that associates the game's file types with the tool set's
// programs, and the install path as that file spells it.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <array>

namespace pendrel {

// The four file-association boxes in window order: .COG, .CGT, .UNI, .DAT.
enum Box { kBoxCog = 0, kBoxCgt = 1, kBoxUni = 2, kBoxDat = 3 };
using Boxes = std::array<bool, 4>;

// How paths and program names look on a platform.
struct PathStyle {
  QChar separator;       // '\\' on Windows, '/' elsewhere
  QString programSuffix;  // ".exe" on Windows, empty elsewhere
};
PathStyle WindowsStyle();
PathStyle UnixStyle();
PathStyle NativeStyle();

// "Scrivane" -> "Scrivane.exe" on Windows, "Scrivane" elsewhere.
QString ProgramFileName(const QString& base, const PathStyle& style = NativeStyle());

// The install folder the window offers first: "C:\Jedi Knight\Tarvex" on Windows, the home
// folder followed by "/Jedi Knight/Tarvex" elsewhere.
QString DefaultInstallPath();

// The install path with the style's separator added when it does not end in one, then every
// backslash doubled: C:\Jedi Knight\Tarvex -> C:\\Jedi Knight\\Tarvex\\ .
QString EscapedInstallPath(const QString& installPath, const PathStyle& style = NativeStyle());

// Why the registry file cannot name this install path (it has no escape for double quotes,
// line breaks or other control characters), or empty when the path can be used.
QString RefusedPathReason(const QString& installPath);

// The lines of the registry file: "REGEDIT4", then a block of 14 lines for each ticked box,
// the blocks in the order .cog, .cgt, .dat, .uni. Box 2 (.UNI) governs the .uni block and
// box 3 (.DAT) the .dat block, as their captions say.
QStringList RegistryFileLines(const Boxes& boxes, const QString& installPath,
                              const PathStyle& style = NativeStyle());

// The file's bytes: each line followed by CR LF, one byte per character (Windows-1252).
QByteArray RegistryFileBytes(const Boxes& boxes, const QString& installPath,
                             const PathStyle& style = NativeStyle());

}  // namespace pendrel

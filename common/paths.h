#pragma once
// Paths as the programs see them: native separators, the program folder, and the split of a
// path into folder and file title.
#include <QString>

namespace tarvex {

// The folder of the running executable, native separators, no trailing separator.
// Tests may point it elsewhere with SetProgramFolder.
QString ProgramFolder();
void SetProgramFolder(const QString& folder);  // empty restores the executable's folder

// The folder of the tool set's data files (Scrivane's default.cog, messages.dat, cogref.dat and
// templates, the installer's file list): the program folder itself in the one-folder layout and
// in the build folder, or the data folder the platform's layout puts beside the program folder
// (bin/../share/tarvex) when that exists, so that an installation works under any prefix.
QString DataFolder();
// The same for a given program folder.
QString DataFolderFor(const QString& programFolder);
// The folder of the tool set's loadable modules (the printing code) for a given program
// folder: the program folder itself, or the library folder of the platform's layout
// (bin/../lib/tarvex) when that exists.
QString ModuleFolderFor(const QString& programFolder);

// A path entering the system (dialog, drop, command line) in the platform's separators.
QString NativePath(const QString& path);

// The path made absolute (against the current folder) and clean: no "." or ".." steps, no
// doubled separators, the platform's separators. Symbolic links are kept as they are.
QString AbsolutePath(const QString& path);

// The platform's folder separator character.
QChar PathSeparator();

// True for the characters that separate folders here: the backslash and the slash on
// Windows, the slash alone elsewhere (where a backslash is an ordinary file-name character).
bool IsPathSeparator(QChar c);

// 0-based index of the last separator in path, or -1.
qsizetype LastSeparator(const QString& path);

// The text after the last separator; the path itself when it has none.
QString FileTitle(const QString& path);

// The text before the last separator; empty when there is none.
QString FolderPart(const QString& path);

// folder + separator + name (no doubled separator when folder already ends in one).
QString JoinPath(const QString& folder, const QString& name);

}  // namespace tarvex

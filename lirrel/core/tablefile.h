#pragma once
// The text form of jkstrings.uni: how one line of the file is read, how the key lines and the
// header are written, and how a folder and its two file names are found.
#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>

#include "common/authorheader.h"
#include "common/tableline.h"

namespace lirrel {

using tarvex::kTableFileName;
inline constexpr const char* kBackupFileName = "jkstrings.~un";
// The game reads at most this many bytes of a line; the rest of a longer line is lost.
inline constexpr int kGameLineLimit = 254;
// The version written into the header: major.minor.revision of the program.
inline constexpr const char* kProgramVersion = TARVEX_VERSION;

// How one line of the file is read: shared with Orvane, which reads the personalities'
// display names from the game's table.
using tarvex::ReadTableLine;
using tarvex::TableLine;

// The count line ("MSGS 12") and the "END" line, each perhaps followed by a "#" note: the
// writer writes its own, so nothing is read from them. *end tells which of the two it is.
bool IsFrameLine(QStringView line, bool* end);

// The group of a key: its name up to the first "_", or "MISC." when there is none.
QString GroupOf(const QString& name);
// The same without making a copy of the text.
QStringView GroupView(const QString& name);

// One key line as written: quote, name, quote, 25 blanks, "0", 5 blanks, quote, value, quote.
QString KeyLine(const QString& name, const QString& value);
// Appends that line (without line end) to out.
void AppendKeyLine(QString& out, const QString& name, const QString& value);

// How many characters of a value the key line of name (followed by trailer) holds within
// the bytes the game reads; a longer value is cut short by the game.
qsizetype ValueRoom(const QString& name, const QString& trailer);

// The author lines of the header, from the shared settings ("Pendrel"/"AuthInfo").
using tarvex::Author;

// The first 17 lines that every written file starts with (count line, empty line, header).
QStringList HeadLines(qsizetype count, const QString& comments, const Author& author);

// True when text cannot be written inside the quotes of a key line: the file format has no
// escape for a double quote or a line break.
bool Unwritable(const QString& text);

// The folder part of a path: the text before its last separator ("/" for a file in the root
// folder). A path without a separator names a file in the current folder.
QString FolderOf(const QString& path);

// The folder to load at start-up from the program's command line: none given, the program's
// own folder; one naming jkstrings.uni (letter case ignored), that file's folder; anything
// else, nothing. Surrounding blanks and one pair of surrounding double quotes are dropped.
std::optional<QString> StartFolder(const QString& commandLine, const QString& programFolder);

// The file name the command line names ("JKSTRINGS.UNI") when it names the table; empty
// otherwise.
QString StartFileName(const QString& commandLine);

// True when the file name of path (without folder) is jkstrings.uni, ignoring letter case.
bool IsTableFileName(const QString& path);

// folder + separator + jkstrings.uni, or + jkstrings.~un when backup is true. When the folder
// holds no file of exactly that name but one whose name differs only in letter case, that one.
QString TablePath(const QString& folder, bool backup = false);

}  // namespace lirrel

#pragma once
// The command-line checker of whole mods: reads the scripts named (a folder is searched for
// *.cog in any letter case, below it too) and prints every finding, as compilers print theirs
// or as a JSON array. Window-free; main() only hands over the arguments and the two streams.
#include <QStringList>
#include <QTextStream>

namespace scrivane {

// args without the program name. Returns the exit status: 0 when no error was found, 1 when
// one was, 2 for a usage error or a path that could not be read (the reason goes to err).
int RunCogCheck(const QStringList& args, QTextStream& out, QTextStream& err);

}  // namespace scrivane

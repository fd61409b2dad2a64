#pragma once
// Checks of a file picked as a model or a sound class, on its bytes alone, before its name
// goes into the table.
#include <QByteArray>
#include <QString>

namespace orvane {

enum class PickKind { Model, Sound };

// Empty when bytes look like a file of the kind; otherwise why not. A 3DO model's first line
// that is neither a '#' comment nor blank reads "SECTION: HEADER" and the next such line
// begins with "3DO "; a sound class is text whose first such line has two words at least.
QString PickProblem(PickKind kind, const QByteArray& bytes);

// The folder of the game's archives that holds the kind ("3do\", "misc\snd\").
QString ArchiveFolder(PickKind kind);

}  // namespace orvane

#pragma once
// Reading and writing script files: bytes in the ANSI code page, line ends as the file had them.
#include <QString>

#include "common/filestamp.h"
#include "scrivane/core/lineends.h"

namespace scrivane {

struct ScriptReadResult {
  bool ok = false;
  NormalizedText content;
  QString error;  // the system's reason when !ok
  tarvex::FileStamp stamp;  // the file as it was read (taken just before)
};

// lfForm: the content's lines end in LF alone instead of CR LF (for loading into a widget).
ScriptReadResult ReadScriptFile(const QString& path, bool lfForm = false);

struct ScriptWriteResult {
  bool ok = false;
  QString error;  // the message to show when !ok (names the file and the reason)
  tarvex::FileStamp stamp;  // the file as written, when ok
};

// Writes the LF-ended text safely, each line ending as ToFileText gives it. A text holding a
// character that the code page cannot store is refused with a message naming that character
// and its line.
ScriptWriteResult WriteScriptFile(const QString& path, const QString& lfText, LineEnd style,
                                  const OddLineEnds& odd = {});

}  // namespace scrivane

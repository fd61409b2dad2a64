// Files as the system holds them: a file that cannot be written is marked "[read-only]" in its
// window's caption and in the status bar, and Save offers Save As for it at once; a path on the
// command line that names no file yet opens as a new document that the first Save creates.
#include <QDir>
#include <QFileInfo>
#include <QLabel>

#include "common/files.h"
#include "common/paths.h"
#include "common/ui/prompts.h"
#include "scrivane/core/shell.h"
#include "scrivane/gui/frmmain.h"
#include "scrivane/gui/frmscrivane.h"

namespace scrivane {

namespace {
const QString kMark = QStringLiteral(" [read-only]");
}

void frmMain::MarkReadOnly(frmScrivane* w, bool readOnly) {
  w->readOnly = readOnly;
  QString c = w->Caption();
  const bool star = c.endsWith(QLatin1Char('*'));
  if (star) c.chop(1);
  if (c.endsWith(kMark)) c.chop(kMark.size());
  w->SetCaption(c + (readOnly ? kMark : QString()) + (star ? QStringLiteral("*") : QString()));
  RefreshCogList();
  UpdateStatusBar();
}

void frmMain::OpenFromCommandLine(const QString& path) {
  // Judged on the cleaned path: "sub/../x.cog" names x.cog even when sub does not exist.
  const QFileInfo info(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
  if (IsTemplatePath(path) || info.exists() || info.isSymLink() || !info.absoluteDir().exists()) {
    OpenFile(path);  // read, or refused with the system's reason
    return;
  }
  // Bytes of a name that the system's character set cannot read come as U+FFFD: the file the
  // name meant may well be there, out of reach by this name, and is not to be made anew.
  if (path.contains(QChar::ReplacementCharacter)) {
    tarvex::prompts().MsgBox(QStringLiteral("Cannot open \"%1\": the name holds bytes that the system's character set "
                                            "cannot read; rename the file to open it.")
                                 .arg(path),
                             QStringLiteral("Scrivane"), tarvex::MsgButtons::OK, tarvex::MsgIcon::Exclamation);
    return;
  }
  frmScrivane* w = NewCog(path, tarvex::FileTitle(path));
  w->MarkClean();
}

}  // namespace scrivane

#include "scrivane/core/scriptfile.h"

#include "common/ansicodec.h"
#include "common/files.h"

namespace scrivane {

ScriptReadResult ReadScriptFile(const QString& path, bool lfForm) {
  ScriptReadResult r;
  QByteArray bytes;
  // Before the read: a change that comes between the two is taken as one made after it.
  r.stamp = tarvex::StampOf(path);
  if (!tarvex::ReadWholeFile(path, &bytes, &r.error)) return r;
  r.content = lfForm ? DecodeToLf(bytes) : NormalizeLineEnds(tarvex::DecodeAnsi(bytes));
  r.ok = true;
  return r;
}

ScriptWriteResult WriteScriptFile(const QString& path, const QString& lfText, LineEnd style, const OddLineEnds& odd) {
  ScriptWriteResult r;
  const QString what = tarvex::DescribeUnencodable(lfText);
  if (!what.isEmpty()) {
    r.error = QStringLiteral("Cannot save \"%1\": the character %2 cannot be stored in the file's "
                             "character set (Windows-1252). Remove or replace it and save again.")
                  .arg(path, what);
    return r;
  }
  QString reason;
  if (!tarvex::WriteWholeFile(path, tarvex::EncodeAnsi(ToFileText(lfText, style, odd)), &reason)) {
    r.error = QStringLiteral("Cannot save \"%1\": %2").arg(path, reason);
    return r;
  }
  r.stamp = tarvex::StampOf(path);
  r.ok = true;
  return r;
}

}  // namespace scrivane

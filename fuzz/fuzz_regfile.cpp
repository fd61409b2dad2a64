// The registry import file for any install path and any ticked boxes: a path the check lets
// through gives a file whose every line is one registry line, whose quoted values all read
// back, and whose icon and command values name the install folder exactly; a path with a
// double quote or a line break is refused.
//
// Input: one byte of boxes, then the install path as UTF-16.
#include "fuzz/fuzz_check.h"
#include "scrivane/setup/core/regfile.h"

using namespace pendrel;

// The text of a quoted registry value with its backslash escapes undone; false when the
// quotes do not hold the whole value.
static bool Unquote(const QString& quoted, QString* out) {
  if (quoted.size() < 2 || !quoted.startsWith(u'"') || !quoted.endsWith(u'"')) return false;
  out->clear();
  for (qsizetype i = 1; i < quoted.size() - 1; ++i) {
    if (quoted[i] == u'"' || (quoted[i] == u'\\' && (++i == quoted.size() - 1 || (quoted[i] != u'\\' && quoted[i] != u'"'))))
      return false;
    *out += quoted[i];
  }
  return true;
}

void FuzzOne(const uint8_t* data, size_t size) {
  if (size < 1) return;
  const Boxes boxes{bool(data[0] & 1), bool(data[0] & 2), bool(data[0] & 4), bool(data[0] & 8)};
  const QString path = QString::fromUtf16(reinterpret_cast<const char16_t*>(data + 1), qsizetype((size - 1) / 2));
  const bool refused = !RefusedPathReason(path).isEmpty();
  if (path.isEmpty() || path.contains(u'"') || path.contains(u'\n') || path.contains(u'\r')) FUZZ_CHECK(refused);
  if (refused) return;

  const int ticked = int(boxes[0]) + boxes[1] + boxes[2] + boxes[3];
  for (const PathStyle& style : {WindowsStyle(), UnixStyle()}) {
    const QString folder = path.endsWith(style.separator) ? path : path + style.separator;
    const QStringList lines = RegistryFileLines(boxes, path, style);
    FUZZ_CHECK(lines.size() == 1 + 14 * ticked && lines.front() == QLatin1String("REGEDIT4"));
    int named = 0;
    for (const QString& line : lines) {
      FUZZ_CHECK(!line.contains(u'\r') && !line.contains(u'\n'));
      if (!line.startsWith(QLatin1String("@="))) continue;
      QString value;
      FUZZ_CHECK(Unquote(line.mid(2), &value));
      if (value.startsWith(folder) || value.startsWith(u'"' + folder)) ++named;
    }
    FUZZ_CHECK(named >= 2 * ticked);  // the icon and the command of each file type
    qsizetype bytes = 0;
    for (const QString& line : lines) bytes += line.size() + 2;
    FUZZ_CHECK(RegistryFileBytes(boxes, path, style).size() == bytes);
  }
}

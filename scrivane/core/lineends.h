#pragma once
// Line ends of script files. Scripts load with CR LF, LF alone or CR alone, mixed too; in
// memory every line ends in one break, and a save writes each line's end as the file had it,
// new lines in the style most of the file's lines used.
#include <QString>
#include <utility>
#include <vector>

namespace scrivane {

enum class LineEnd { CRLF, LF, CR };

// The lines whose end differs from the majority style: (0-based line number, its end), in
// line order.
using OddLineEnds = std::vector<std::pair<qsizetype, LineEnd>>;

struct NormalizedText {
  QString text;                   // every line end as CR LF (or LF, for NormalizeToLf)
  LineEnd style = LineEnd::CRLF;  // the style most lines used; CR LF when there are none
  OddLineEnds odd;                // filled by NormalizeToLf only
};

NormalizedText NormalizeLineEnds(const QString& raw);

// The same, with every line end as LF alone (the form a text widget keeps), and the lines
// whose end is not in the majority style. A text moved in is changed in place.
NormalizedText NormalizeToLf(QString raw);
// The same for a file's bytes, decoded from the Windows-1252 code page in the same pass.
NormalizedText DecodeToLf(const QByteArray& bytes);

// The file text of LF-ended lines: each line in odd ends as listed there, every other line in
// style; a text that does not end with a line break gets one in style. So
// ToFileText(NormalizeToLf(raw)...) gives raw back, apart from that one added line end.
QString ToFileText(const QString& lfText, LineEnd style, const OddLineEnds& odd = {});

QString LineEndText(LineEnd style);
// "CRLF", "LF" or "CR", as the status bar names the style.
QString LineEndName(LineEnd style);

}  // namespace scrivane

#pragma once
// Line ends of script files. Scripts load with CR LF, LF alone or CR alone; in memory every
// line ends in CR LF, and a save writes the style most of the file's lines used.
#include <QString>

namespace scrivane {

enum class LineEnd { CRLF, LF, CR };

struct NormalizedText {
  QString text;                   // every line end as CR LF
  LineEnd style = LineEnd::CRLF;  // the style most lines used; CR LF when there are none
};

NormalizedText NormalizeLineEnds(const QString& raw);

// The same, with every line end as LF alone (the form a text widget keeps).
NormalizedText NormalizeToLf(const QString& raw);

// The text in the given style, followed by one line end when it does not already end with one.
QString ToFileLineEnds(const QString& crlfText, LineEnd style);

QString LineEndText(LineEnd style);

}  // namespace scrivane

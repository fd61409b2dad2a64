#pragma once
// COG templates (.cgt): a header that lists named fields with their default values and
// further columns, then a script body that refers to each field as "<%" name "%>".
// Parsing the header and filling in the body need no window.
#include <QList>
#include <QString>
#include <QStringList>

#include "scrivane/core/lineends.h"

namespace scrivane {

struct CogTemplate {
  QStringList headings;      // the n column headings
  QList<QStringList> rows;   // one per field line: n values; [0] the value, [1] the name
  qsizetype headerLength = 0;  // characters of the CR LF text before the body
  int headerLines = 0;         // lines before the body, the "end" line included
  QString body;              // the script text after the "end" line, CR LF line ends
};

// The most columns a template may have: far more than any template needs, and few enough that
// the template window lays out its columns at once (thousands take it minutes).
constexpr int kMaxTemplateColumns = 256;

struct TemplateParse {
  bool ok = false;
  CogTemplate tpl;
  int line = 0;   // 1-based line of the fault when !ok; 0 for a fault of the whole header
  QString fault;  // what is wrong there
};

// Parses a template whose line ends are already CR LF (as a loaded script's are). Refuses a
// header whose line 1 is not a plain number of at least 2 columns, whose heading or field
// lines have fewer than n - 1 commas, that has no "end" line, or that names a field twice
// (letter case ignored).
TemplateParse ParseCogTemplate(const QString& crlfText);

// Splits a header line into n values: the first n - 1 commas separate them, the last value
// keeps any further commas. False when the line has fewer than n - 1 commas.
bool SplitTemplateLine(const QString& line, int n, QStringList* values);

// A field of the substitution: its name and the value that replaces "<%name%>".
struct TemplateValue {
  QString name;
  QString value;
};

// The body with every "<%name%>" (letter case ignored) replaced by its value, field by field
// in list order. A value is never searched again for its own placeholder, so it always ends.
QString FillTemplate(const QString& body, const QList<TemplateValue>& values);

// The one message shown when a template cannot be used.
QString TemplateFaultMessage(const QString& path, const TemplateParse& p);

// The body of a template read in the widget's form (NormalizeToLf), with the ends of its own
// lines, so that a generated script keeps the line ends the template's body has.
NormalizedText TemplateBodyLines(const NormalizedText& lfFile, int headerLines);

}  // namespace scrivane

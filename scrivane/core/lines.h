#pragma once
// A document's text seen line by line, so that work done on every keystroke reads only the
// lines it needs and never builds the whole text. Positions are 0-based offsets into the text
// with CR LF line ends (the text box's Text()); a line is the run up to its LF, without the LF
// and without a CR directly in front of it (a lone CR is an ordinary character of its line).
#include <QString>
#include <QStringView>
#include <vector>

#include "scrivane/core/textops.h"

namespace scrivane {

class LineSource {
 public:
  virtual ~LineSource() = default;
  virtual int LineCount() const = 0;               // at least 1
  virtual qsizetype Length() const = 0;            // of the whole text
  virtual qsizetype LineStart(int line) const = 0; // 0-based offset of the line's first character
  virtual QString LineText(int line) const = 0;    // without its line end
  // The line holding pos: the one whose text or line end covers it (pos is clamped to the text).
  virtual int LineAt(qsizetype pos) const = 0;
};

// A LineSource over a text held whole (tests, fuzzing, and callers that have the text anyway).
class TextLines : public LineSource {
 public:
  explicit TextLines(QString text);
  int LineCount() const override { return int(starts_.size()); }
  qsizetype Length() const override { return text_.size(); }
  qsizetype LineStart(int line) const override { return starts_[size_t(line)]; }
  QString LineText(int line) const override;
  int LineAt(qsizetype pos) const override;

 private:
  QString text_;
  std::vector<qsizetype> starts_;
};

// Keeps the section marks (the first line after the first that begins with "symbols", and
// the first that begins with "end"; see ScanSectionMarks) up to date as the text changes.
// A change re-reads only the lines it touched, unless it destroyed a mark, in which case the
// search for that mark goes on below the change.
class SectionTracker {
 public:
  // Searches the whole text from the top, stopping at the marks.
  void Reset(const LineSource& lines);
  // After a change whose text now lies on lines first..last (numbered as after the change).
  void Changed(const LineSource& lines, int first, int last);
  // 1-based position of the line feed before each mark line, 0 for none (as ScanSectionMarks).
  SectionMarks Marks(const LineSource& lines) const;

 private:
  int Find(const LineSource& lines, QStringView keyword, int from, int to) const;
  void Update(const LineSource& lines, int& mark, QStringView keyword, int first, int last, int lastBefore);
  int sym_ = -1, end_ = -1;  // line numbers, -1 for none
  int lineCount_ = 1;
};

}  // namespace scrivane

#include "scrivane/core/lines.h"

#include <algorithm>

namespace scrivane {

TextLines::TextLines(QString text) : text_(std::move(text)) {
  starts_.push_back(0);
  for (qsizetype i = text_.indexOf(QLatin1Char('\n')); i >= 0; i = text_.indexOf(QLatin1Char('\n'), i + 1))
    starts_.push_back(i + 1);
}

QString TextLines::LineText(int line) const {
  const qsizetype start = starts_[size_t(line)];
  if (size_t(line) + 1 == starts_.size()) return text_.mid(start);
  qsizetype end = starts_[size_t(line) + 1] - 1;  // the line feed
  if (end > start && text_[end - 1] == QLatin1Char('\r')) --end;
  return text_.mid(start, end - start);
}

int TextLines::LineAt(qsizetype pos) const {
  // The last line starting at or before pos.
  const auto it = std::upper_bound(starts_.begin(), starts_.end(), std::clamp<qsizetype>(pos, 0, text_.size()));
  return int(it - starts_.begin()) - 1;
}

int SectionTracker::Find(const LineSource& lines, QStringView keyword, int from, int to) const {
  // The first line never counts: a keyword needs a line feed in front of it.
  for (int n = std::max(from, 1); n <= to; ++n)
    if (lines.LineText(n).startsWith(keyword, Qt::CaseInsensitive)) return n;
  return -1;
}

void SectionTracker::Reset(const LineSource& lines) {
  lineCount_ = lines.LineCount();
  sym_ = Find(lines, u"symbols", 1, lineCount_ - 1);
  end_ = Find(lines, u"end", 1, lineCount_ - 1);
}

void SectionTracker::Update(const LineSource& lines, int& mark, QStringView keyword, int first, int last,
                            int lastBefore) {
  if (mark >= 0 && mark < first) return;  // above the change: still the first
  const int found = Find(lines, keyword, first, last);
  if (found >= 0) {
    mark = found;
  } else if (mark >= 0 && mark > lastBefore) {
    mark += lines.LineCount() - lineCount_;  // below the change: moved with the lines
  } else if (mark >= 0) {
    mark = Find(lines, keyword, last + 1, lines.LineCount() - 1);  // destroyed: look further down
  }
}

void SectionTracker::Changed(const LineSource& lines, int first, int last) {
  const int count = lines.LineCount();
  first = std::clamp(first, 0, count - 1);
  last = std::clamp(last, first, count - 1);
  if (first == 0 && last == count - 1) {
    Reset(lines);
    return;
  }
  // Lines after the change are the old lines after it, renumbered.
  const int lastBefore = last - (count - lineCount_);
  Update(lines, sym_, u"symbols", first, last, lastBefore);
  Update(lines, end_, u"end", first, last, lastBefore);
  lineCount_ = count;
}

SectionMarks SectionTracker::Marks(const LineSource& lines) const {
  SectionMarks m;
  if (sym_ >= 0) m.lsym = lines.LineStart(sym_);
  if (end_ >= 0) m.lsymend = lines.LineStart(end_);
  return m;
}

}  // namespace scrivane

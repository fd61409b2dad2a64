#pragma once
// The measured widths of a document's lines, by line number, and the widest of them. Lines
// come and go as the text is edited; each change costs in proportion to the lines it touches
// and to how far it lies from the change before (the widths sit in a gap buffer whose gap
// follows the edits), never to the length of the document, and the widest is known at once
// (a count of lines per width).
#include <cstddef>
#include <map>
#include <vector>

namespace scrivane {

class LineWidths {
 public:
  // Widths are whole numbers in any unit; 0 stands for a line not measured (yet).
  explicit LineWidths(int lines = 1) : buf_(std::size_t(lines), 0), gapStart_(lines), gapEnd_(lines) {}

  int Lines() const { return int(buf_.size()) - (gapEnd_ - gapStart_); }
  // Lines [first, first + removed) give way to `added` lines not measured.
  void Replace(int first, int removed, int added);
  // The line's width measured anew; true when that changed the widest.
  bool Set(int line, int width);
  int Width(int line) const { return buf_[std::size_t(Slot(line))]; }
  // The widest line's width; 0 while no line is measured.
  int Widest() const { return counts_.empty() ? 0 : counts_.rbegin()->first; }

 private:
  int Slot(int line) const { return line < gapStart_ ? line : line + (gapEnd_ - gapStart_); }
  void MoveGap(int to, int room);
  void Count(int width, int by);
  std::vector<int> buf_;
  int gapStart_, gapEnd_;        // buf_[gapStart_, gapEnd_) holds no line
  std::map<int, int> counts_;    // measured lines per width
};

}  // namespace scrivane

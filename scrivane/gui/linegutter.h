#pragma once
// The text box's view aids: line numbers in a gutter left of the text (the caret's line
// emphasised), a faint band on the caret's line, the brace matching a "{" or "}" next to the
// caret, and tab stops of four blanks. They only paint: text, selection and undo are untouched.
#include <QTextDocument>
#include <QWidget>
#include <tuple>

namespace scrivane {

class TextBox;

// How far the brace highlight looks for a brace's partner, in characters: more than three
// times the longest real script we know, and little enough that a key next to a brace without
// a partner stays quick in a script of any size.
constexpr qsizetype kBraceReach = 100'000;
// Widget position of the partner of the brace at widget position `at` by the rule of
// MatchingBrace and MatchingOpenBrace; -1 when it has none within kBraceReach characters.
int BracePartner(const QTextDocument* doc, int at);

class LineGutter : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kTabWidth = 4;  // in blanks; lines up the columns of the scripts in use

  explicit LineGutter(TextBox* box);
  QSize sizeHint() const override { return QSize(width_, 0); }

  // Width for the box's number of lines (or `lines`) and font; moves the text over when it
  // changes.
  void UpdateWidth() { UpdateWidth(-1); }
  void UpdateWidth(int lines);
  // Follows the box's contents rectangle.
  void Place();
  // The caret's line band and the brace highlight; the caret's line number.
  void UpdateCaretDecor();
  // What the gutter shows left of the numbers (the lines' marks) follows the lines when the
  // rows of the viewport from `top` down show lines moved by dy pixels, or other lines in the
  // rows from top to bottom (viewport heights); the numbers stay with their rows.
  void RowsMoved(int top, int dy);
  void RowsChanged(int top, int bottom);

 protected:
  void paintEvent(QPaintEvent* e) override;
  void changeEvent(QEvent* e) override;  // a new palette: the caret's band in its colours

 private:
  // The first and last lines shown and the first one's top.
  using Rows = std::tuple<int, int, qreal>;
  Rows ShownRows() const;
  // The gutter's height of the viewport's top.
  int ViewportTop() const;

  TextBox* box_;
  int width_ = 0;
  int numbersLeft_ = 0;  // no number reaches further left
  QFont measured_;       // the box's font the numbers are measured for
  QFont numbers_;        // the numbers' font: the box's, smaller where that would fill the box
  int digitAdvance_ = 0;  // of a digit in the box's font
  int room_ = 0, digits_ = 0;  // the width allowed and the digits shown, when last measured
  int caretLine_ = -1;
  Rows rows_{-1, -1, 0};
};

}  // namespace scrivane

#pragma once
// Colours a text box's COG text with the window-free line rules, a line when it is about to be
// painted. The section state before any line is known at once (CogSections), so a large
// script opens without colouring every line first, and scrolling anywhere colours only the
// page shown. Each block keeps the state it was coloured for as its user state (-1: not
// coloured since its text changed); an edit that moves a section line leaves the lines below
// to be coloured again when they are shown. A change of palette (another theme while running)
// chooses the colours anew and colours every line again as it is shown.
#include <QObject>
#include <QTextCharFormat>
#include <memory>
#include <vector>

#include "scrivane/core/cogsyntax.h"

class QPlainTextEdit;
class QTextBlock;

namespace scrivane {

class CogHighlighter : public QObject {
  Q_OBJECT
 public:
  // Colours the box's document (a child of it) from now on, whatever it already holds.
  CogHighlighter(QPlainTextEdit* box, std::shared_ptr<const CogWords> words, const QPalette& palette);

  // The format of each kind of span, chosen to stay readable on the palette's base colour.
  static std::vector<QTextCharFormat> FormatsFor(const QPalette& palette);

  // Colours the lines from `first` to `last` (block numbers) that are not coloured for their
  // state yet.
  void ColourLines(int first, int last);
  const CogSections& Sections() const { return sections_; }

 protected:
  bool eventFilter(QObject* o, QEvent* e) override;

 private:
  void ContentsChanged(int position, int removed, int added);
  void Colour(const QTextBlock& block, CogState before);
  // True when every line from block to end is clearly narrower than the document's widest.
  bool Narrow(QTextBlock block, const QTextBlock& end) const;

  static constexpr int kColourAtOnce = 64;  // lines a change colours at once; more wait for the paint
  QPlainTextEdit* box_;
  std::shared_ptr<const CogWords> words_;
  std::vector<QTextCharFormat> formats_;
  std::vector<CogSpan> spans_;  // reused from line to line
  CogSections sections_;
  int blockCount_ = 1;
};

}  // namespace scrivane

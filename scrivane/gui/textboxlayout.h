#pragma once
// The text box's document layout: Qt's plain text layout, with lines that never wrap, laid out
// here rather than by Qt's own code. Qt's layout knows the widest line only by its number, and
// when that line is laid out narrower (a key in it, Enter, a join, undo) it measures every line
// of the document again, giving each a layout object (hundreds of bytes a line). This one keeps
// the width of every line it has laid out (LineWidths), so the document's width, which sets the
// horizontal scroll range, is the widest line measured since its last change, at any moment and
// at the cost of the lines an edit touches.
#include <QPlainTextDocumentLayout>

#include "scrivane/core/linewidths.h"

namespace scrivane {

class TextBoxLayout : public QPlainTextDocumentLayout {
  Q_OBJECT
 public:
  explicit TextBoxLayout(QTextDocument* doc);

  QSizeF documentSize() const override;
  QRectF frameBoundingRect(QTextFrame*) const override;
  QRectF blockBoundingRect(const QTextBlock& block) const override;
  // The height every line laid out since the whole text was last laid out anew has had; 0 once
  // two of them differed (a line with a taller fallback glyph, say), until the next time.
  qreal LineHeight() const { return mixedHeights_ ? 0 : lineHeight_; }

 signals:
  // Lines were made, joined or taken out: the lines from `first` on that `gone` lines were are
  // now `made` lines, and the lines after them are the old ones moved. Told instead of a
  // repaint of everything: the view repaints what it shows of the change, and moves what it
  // shows of the lines after it. gone < 0: no line's place is known, repaint all.
  void linesReplaced(int first, int gone, int made);

 protected:
  void documentChanged(int from, int removed, int added) override;

 private:
  // Lays the block out as one line per paragraph break and records its width; true when that
  // changed the widest.
  bool Lay(const QTextBlock& block);
  // Tells the views of a new width (once, however often layouts during the telling change it).
  void SizeChanged();
  LineWidths widths_;
  bool telling_ = false, toldLate_ = false;
  qreal lineHeight_ = 0;
  bool mixedHeights_ = false;
};

}  // namespace scrivane

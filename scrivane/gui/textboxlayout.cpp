#include "scrivane/gui/textboxlayout.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QtMath>
#include <algorithm>
#include <climits>

namespace scrivane {

namespace {
constexpr qreal kUnit = 64;  // widths are kept in 64ths of a pixel, the text engine's own unit
}

TextBoxLayout::TextBoxLayout(QTextDocument* doc) : QPlainTextDocumentLayout(doc), widths_(doc->blockCount()) {}

QSizeF TextBoxLayout::documentSize() const { return QSizeF(widths_.Widest() / kUnit, document()->lineCount()); }

QRectF TextBoxLayout::frameBoundingRect(QTextFrame*) const { return QRectF(0, 0, documentSize().width(), qreal(INT_MAX)); }

QRectF TextBoxLayout::blockBoundingRect(const QTextBlock& block) const {
  // A block without lines is laid out here, before Qt's own code would.
  if (block.isValid() && block.layout()->lineCount() == 0) {
    auto* self = const_cast<TextBoxLayout*>(this);
    if (self->Lay(block)) self->SizeChanged();
  }
  return QPlainTextDocumentLayout::blockBoundingRect(block);
}

bool TextBoxLayout::Lay(const QTextBlock& block) {
  // As Qt lays out a block of a document without a text width: lines never wrap.
  QTextDocument* doc = document();
  const qreal margin = doc->documentMargin();
  QTextLayout* layout = block.layout();
  layout->setTextOption(doc->defaultTextOption());
  layout->beginLayout();
  qreal height = 0, widest = 0;
  for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine()) {
    line.setLeadingIncluded(true);
    line.setLineWidth(qreal(INT_MAX) - 2 * margin);
    line.setPosition(QPointF(margin, height));
    height += line.height();
    if (line.leading() < 0) height += qCeil(line.leading());
    widest = std::max(widest, line.naturalTextWidth() + 2 * margin);
  }
  layout->endLayout();
  if (lineHeight_ == 0) lineHeight_ = height;
  else if (height != lineHeight_) mixedHeights_ = true;
  const int lines = doc->lineCount();
  QTextBlock b = block;
  b.setLineCount(b.isVisible() ? layout->lineCount() : 0);
  // 0 is kept for a line not measured.
  const bool wider = widths_.Set(b.blockNumber(), std::max(1, qRound(widest * kUnit)));
  return wider || doc->lineCount() != lines;
}

void TextBoxLayout::SizeChanged() {
  // The views answer by asking for the size of lines, which may lay out more of them.
  if (telling_) {
    toldLate_ = true;
    return;
  }
  telling_ = true;
  do {
    toldLate_ = false;
    emit documentSizeChanged(documentSize());
  } while (toldLate_);
  telling_ = false;
}

void TextBoxLayout::documentChanged(int from, int, int added) {
  // [from, from + added) is the changed text as it is now.
  QTextDocument* doc = document();
  const auto blockAt = [doc](int pos) {
    const QTextBlock b = doc->findBlock(pos);
    return b.isValid() ? b : doc->lastBlock();
  };
  const int count = doc->blockCount();
  const QTextBlock first = blockAt(from);
  const QRectF everything(0., -doc->documentMargin(), 1000000000., 1000000000.);
  if (first == doc->begin() && blockAt(from + added) == doc->lastBlock()) {
    // Every line is laid out anew (a new text, a new font): their heights start from nothing.
    lineHeight_ = 0;
    mixedHeights_ = false;
  }
  if (count == widths_.Lines() && blockAt(std::max(from, from + added - 1)) == first) {
    // Within one line: laid out again at once, and only that line painted when its height stays.
    const QTextLayout* layout = first.layout();
    const int linesBefore = first.lineCount();
    const qreal bottom = layout->lineCount() ? layout->boundingRect().bottom() : -1;
    if (Lay(first)) SizeChanged();
    if (first.lineCount() == linesBefore && (bottom < 0 || layout->boundingRect().bottom() == bottom)) emit updateBlock(first);
    else emit update(everything);
    return;
  }
  // Lines made, joined or taken out: the lines from the change's first to the one holding its
  // end are new, unmeasured until they are laid out (when next shown); the lines after them
  // are the old ones moved.
  const QTextBlock last = blockAt(from + added);
  const int start = first.blockNumber(), made = last.blockNumber() - start + 1;
  const int gone = made - (count - widths_.Lines());
  const int widest = widths_.Widest();
  const bool known = gone >= 1 && start + gone <= widths_.Lines();
  if (known) widths_.Replace(start, gone, made);
  else widths_ = LineWidths(count);  // never expected: start again from nothing measured
  bool sized = gone != made || widths_.Widest() != widest;
  for (QTextBlock b = first;; b = b.next()) {
    b.clearLayout();
    if (b.isVisible() ? b.lineCount() == 0 : b.lineCount() > 0) {
      b.setLineCount(b.isVisible() ? 1 : 0);
      sized = true;
    }
    if (b == last) break;
  }
  // The views are told of the lines first, with the size they had, and of a new size after:
  // a view that scrolls for the new size then moves what it has already put right.
  const bool held = telling_;
  telling_ = true;
  emit linesReplaced(start, known ? gone : -1, made);
  telling_ = held;
  if (!held && (sized || toldLate_)) SizeChanged();
}

}  // namespace scrivane

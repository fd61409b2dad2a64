#include "scrivane/gui/coghighlighter.h"

#include <QPaintEvent>
#include <QPalette>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <algorithm>

#include "common/ui/contrast.h"
#include "scrivane/gui/textbox.h"

namespace scrivane {

CogHighlighter::CogHighlighter(QPlainTextEdit* box, std::shared_ptr<const CogWords> words, const QPalette& palette)
    : QObject(box->document()), box_(box), words_(words ? std::move(words) : std::make_shared<const CogWords>()),
      formats_(FormatsFor(palette)) {
  QTextDocument* doc = box->document();
  connect(doc, &QTextDocument::contentsChange, this, &CogHighlighter::ContentsChanged);
  box->viewport()->installEventFilter(this);
  blockCount_ = 0;
  ContentsChanged(0, 0, doc->characterCount());
}

std::vector<QTextCharFormat> CogHighlighter::FormatsFor(const QPalette& palette) {
  // Hues of the usual programmer's editors; the lightness follows the theme: dark text colours
  // on a light base, light ones on a dark base. Only words that stand alone on their line are
  // bold: a bold word may be wider and would push the blank-aligned columns after it.
  const bool darkBase = palette.color(QPalette::Base).lightnessF() < 0.5;
  auto colour = [darkBase](int hue, double sat) { return QColor::fromHslF(hue / 360.0, sat, darkBase ? 0.70 : 0.36); };
  struct Style {
    CogSpanKind kind;
    int hue;
    double sat;
    bool bold, italic;
  };
  const Style styles[] = {
      {CogSpanKind::Comment, 110, 0.25, false, true},     {CogSpanKind::Section, 300, 0.60, true, false},
      {CogSpanKind::SymbolType, 210, 0.80, false, false}, {CogSpanKind::Flow, 235, 0.75, false, false},
      {CogSpanKind::Verb, 175, 0.85, false, false},       {CogSpanKind::Label, 25, 0.85, true, false},
      {CogSpanKind::Number, 280, 0.60, false, false},     {CogSpanKind::String, 10, 0.70, false, false},
  };

  std::vector<QTextCharFormat> out(kCogSpanKindCount);
  for (const Style& s : styles) {
    QTextCharFormat& f = out[size_t(s.kind)];
    // Each colour dark or light enough to read on the base (a ratio of 4.5 at least).
    f.setForeground(tarvex::ReadableOn(colour(s.hue, s.sat), palette.color(QPalette::Base)));
    if (s.bold) f.setFontWeight(QFont::Bold);
    if (s.italic) f.setFontItalic(true);
  }
  return out;
}

void CogHighlighter::ContentsChanged(int position, int, int added) {
  QTextDocument* doc = box_->document();
  QTextBlock block = doc->findBlock(position);
  if (!block.isValid()) block = doc->lastBlock();
  QTextBlock end = doc->findBlock(position + added);
  if (!end.isValid()) end = doc->lastBlock();
  const int first = block.blockNumber(), last = end.blockNumber();
  const int count = doc->blockCount();
  // Lines are read in rising order: from one block to the next rather than by number.
  QTextBlock reading = block;
  int readingLine = first;
  const bool movedAlong = sections_.Changed(first, last, count - blockCount_, count, [&](int line) {
    if (line != readingLine) reading = line == readingLine + 1 ? reading.next() : doc->findBlockByNumber(line);
    readingLine = line;
    return reading.text();
  });
  const bool sameLines = count == blockCount_;
  blockCount_ = count;
  // The changed lines lose their colouring. Colouring them here, inside the change, stretches
  // the change the document's layout sees over the following lines, which it answers by
  // painting the whole view again; so a change within lines clearly narrower than the widest
  // leaves them to be coloured when they are painted, and a key repaints its line only. Other
  // changes colour their few lines at once, before the layout measures them: the widest line's
  // width sets the horizontal scroll range, and a line measured without its colours is a few
  // pixels off, which colouring it at paint time (the layout's signals held back) would leave
  // the range showing.
  const bool now = last - first < kColourAtOnce && !(sameLines && Narrow(block, end));
  for (int line = first;; block = block.next(), ++line) {
    if (block.userState() != -1) block.setUserState(-1);
    if (now) Colour(block, sections_.Before(line));
    if (block == end) break;
  }
  // A section line made or undone changes the colours of lines below the edit: those shown are
  // painted again. (Lines that only moved with the edit keep their colours.)
  if (!movedAlong) box_->viewport()->update();
}

bool CogHighlighter::Narrow(QTextBlock block, const QTextBlock& end) const {
  // The width the lines had before the change, as measured with their colours; a change of the
  // colours moves a line's width by a few pixels, far less than the margin.
  const qreal widest = box_->document()->documentLayout()->documentSize().width();
  const qreal margin = std::max<qreal>(widest / 8, box_->fontMetrics().averageCharWidth() * 16);
  for (;; block = block.next()) {
    // The lines' widths as laid out before the change: the layout has not seen it yet.
    const QTextLayout* layout = block.layout();
    if (!layout || layout->lineCount() == 0) return false;
    for (int i = 0; i < layout->lineCount(); ++i)
      if (layout->lineAt(i).naturalTextWidth() > widest - margin) return false;
    if (block == end) return true;
  }
}

bool CogHighlighter::eventFilter(QObject* o, QEvent* e) {
  if (e->type() == QEvent::PaletteChange && o == box_->viewport()) {
    // Another theme while running: new colours readable on its base, every line coloured
    // again as it is next shown.
    formats_ = FormatsFor(box_->palette());
    for (QTextBlock b = box_->document()->begin(); b.isValid(); b = b.next()) b.setUserState(-1);
    box_->viewport()->update();
  }
  if (e->type() == QEvent::Paint && o == box_->viewport()) {
    // The lines about to be painted: those the paint's rectangle crosses in a document window's
    // box, which knows its lines' places; the lines shown in any other.
    const QRect r = static_cast<QPaintEvent*>(e)->rect();
    if (const auto* text = qobject_cast<const TextBox*>(box_)) {
      const auto [first, last] = text->LinesIn(r.top(), r.bottom());
      ColourLines(first, last);
    } else {
      ColourLines(box_->cursorForPosition(QPoint(0, 0)).blockNumber(),
                  box_->cursorForPosition(QPoint(0, box_->viewport()->height() - 1)).blockNumber());
    }
  }
  return false;
}

void CogHighlighter::ColourLines(int first, int last) {
  QTextDocument* doc = box_->document();
  // Setting a line's formats lays the line out again at once; the paint under way shows it,
  // so the layout's own calls for a repaint are held back.
  const QSignalBlocker quiet(doc->documentLayout());
  first = std::max(first, 0);
  int line = first;
  for (QTextBlock b = doc->findBlockByNumber(first); b.isValid() && line <= last; b = b.next(), ++line) {
    const CogState before = sections_.Before(line);
    if (b.userState() != int(before)) Colour(b, before);
  }
}

void CogHighlighter::Colour(const QTextBlock& block, CogState before) {
  TokenizeCogLine(block.text(), before, *words_, spans_);
  QList<QTextLayout::FormatRange> ranges;
  ranges.reserve(qsizetype(spans_.size()));
  for (const CogSpan& s : spans_) ranges.append(QTextLayout::FormatRange{s.start, s.length, formats_[size_t(s.kind)]});
  QTextBlock b = block;
  b.layout()->setFormats(ranges);
  b.setUserState(int(before));
  box_->document()->markContentsDirty(block.position(), block.length());
}

}  // namespace scrivane

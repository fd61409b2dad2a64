#include "scrivane/gui/linegutter.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QTextBlock>

#include "common/ui/contrast.h"
#include "scrivane/core/textops.h"
#include "scrivane/gui/textbox.h"

namespace scrivane {

namespace {
constexpr int kPad = 6;  // pixels left and right of the numbers

QColor Mix(const QColor& a, const QColor& b, double t) {
  return QColor::fromRgbF(a.redF() + (b.redF() - a.redF()) * t, a.greenF() + (b.greenF() - a.greenF()) * t,
                          a.blueF() + (b.blueF() - a.blueF()) * t);
}
}  // namespace

int BracePartner(const QTextDocument* doc, int at) {
  // Line by line from the brace's own line: the breaks between lines hold no brace, and a
  // line's text is only read when the scan gets there. The scan ends at the partner or after
  // kBraceReach characters, so a keystroke next to a brace costs the same in any document.
  const bool forward = doc->characterAt(at) == QLatin1Char('{');
  BraceScan scan(forward);
  QTextBlock block = doc->findBlock(at);
  QString text = block.text();
  const int offset = at - block.position();
  QStringView piece = forward ? QStringView(text).mid(offset + 1) : QStringView(text).left(offset);
  int base = forward ? at + 1 : block.position();
  qsizetype read = 0;
  while (true) {
    if (const qsizetype i = scan.Feed(piece); i >= 0) return base + int(i);
    read += piece.size() + 1;
    block = forward ? block.next() : block.previous();
    if (!block.isValid() || read > kBraceReach) return -1;
    text = block.text();
    piece = text;
    base = block.position();
  }
}

LineGutter::LineGutter(TextBox* box) : QWidget(box), box_(box) {
  setObjectName(QStringLiteral("gutter"));
  // The paint fills all it is asked to paint: nothing under the gutter needs painting first.
  setAttribute(Qt::WA_OpaquePaintEvent);
  connect(box, &QPlainTextEdit::blockCountChanged, this, [this] { UpdateWidth(); });
  connect(box, &QPlainTextEdit::updateRequest, this, [this](const QRect&, int dy) {
    // Each row shows the number of the line beside it: the numbers are painted again when the
    // lines shown move, not when the text on them changes.
    if (dy) scroll(0, dy);
    if (const Rows now = ShownRows(); now != rows_) {
      rows_ = now;
      if (!dy) update();
    }
  });
  connect(box, &QPlainTextEdit::cursorPositionChanged, this, &LineGutter::UpdateCaretDecor);
  UpdateWidth();
  UpdateCaretDecor();
}

void LineGutter::UpdateWidth(int lines) {
  int digits = 1;
  for (int n = std::max(1, lines < 0 ? box_->blockCount() : lines); n >= 10; n /= 10) ++digits;
  digits = std::max(digits, 3);
  const bool newFont = digitAdvance_ == 0 || box_->font() != measured_;
  if (newFont) {
    measured_ = box_->font();
    digitAdvance_ = box_->fontMetrics().horizontalAdvance(QLatin1Char('9'));
  }
  // The numbers take the text's size, up to a quarter of the box (never less than two thirds
  // of an inch): at the largest sizes they are drawn smaller, leaving the box to the text.
  const int limit = std::max(box_->width() / 4, box_->logicalDpiX() * 2 / 3);
  const int room = std::min(kPad * 2 + digitAdvance_ * digits, limit);
  if (!newFont && room == room_ && digits == digits_) return;
  room_ = room;
  digits_ = digits;
  numbers_ = measured_;
  int w = kPad * 2 + digitAdvance_ * digits;
  for (int tries = 0; w > room && tries < 8; ++tries) {
    const qreal scale = qreal(room - kPad * 2) / qreal(w - kPad * 2);
    if (numbers_.pointSizeF() > 0)
      numbers_.setPointSizeF(std::max(1.0, numbers_.pointSizeF() * scale * (tries ? 0.9 : 1.0)));
    else
      numbers_.setPixelSize(std::max(1, int(numbers_.pixelSize() * scale * (tries ? 0.9 : 1.0))));
    w = kPad * 2 + QFontMetrics(numbers_).horizontalAdvance(QLatin1Char('9')) * digits;
  }
  QFont bold = numbers_;
  bold.setBold(true);
  const QFontMetrics boldMetrics(bold);
  int widestDigit = 0;
  for (char d = '0'; d <= '9'; ++d) widestDigit = std::max(widestDigit, boldMetrics.horizontalAdvance(QLatin1Char(d)));
  numbersLeft_ = w - kPad - widestDigit * digits - 2;
  if (w == width_) return;
  width_ = w;
  box_->setViewportMargins(w, 0, 0, 0);
  Place();
}

void LineGutter::Place() {
  // Beside the viewport and no lower: the horizontal scroll bar runs under the gutter too, and
  // a gutter reaching under it could not scroll its pixels with the text.
  const QRect view = box_->viewport()->geometry();
  setGeometry(box_->contentsRect().left(), view.top(), width_, view.height());
}

void LineGutter::UpdateCaretDecor() {
  const QPalette& pal = box_->palette();
  const QTextCursor caret = box_->textCursor();
  QList<QTextEdit::ExtraSelection> extras;
  QTextEdit::ExtraSelection line;
  line.format.setBackground(Mix(pal.color(QPalette::Base), pal.color(QPalette::Highlight), 0.10));
  line.format.setProperty(QTextFormat::FullWidthSelection, true);
  line.cursor = caret;
  line.cursor.clearSelection();
  extras << line;
  extras += box_->MatchMarks();

  // The brace after the caret, else the one before it, and its partner.
  const QTextDocument* doc = box_->document();
  const int p = caret.position();
  int at = -1;
  for (int q : {p, p - 1}) {
    const QChar c = q >= 0 ? doc->characterAt(q) : QChar();
    if (c == QLatin1Char('{') || c == QLatin1Char('}')) {
      at = q;
      break;
    }
  }
  const int partner = at >= 0 ? BracePartner(doc, at) : -1;
  if (partner >= 0) {
    for (int w : {at, partner}) {
      QTextEdit::ExtraSelection brace;
      brace.format.setBackground(Mix(pal.color(QPalette::Base), pal.color(QPalette::Highlight), 0.35));
      brace.cursor = QTextCursor(box_->document());
      brace.cursor.setPosition(w);
      brace.cursor.setPosition(w + 1, QTextCursor::KeepAnchor);
      extras << brace;
    }
  }
  box_->setExtraSelections(extras);
  if (caret.blockNumber() != caretLine_) {
    // The old line's number and the new one's, the one in bold.
    for (const int l : {caretLine_, caret.blockNumber()}) {
      const QRect r = box_->LinesRect(l, l);
      if (!r.isEmpty()) update(0, r.y(), width(), r.height());
    }
    caretLine_ = caret.blockNumber();
  }
}

int LineGutter::ViewportTop() const { return box_->viewport()->geometry().top() - geometry().top(); }

void LineGutter::RowsMoved(int top, int dy) {
  const int from = top + ViewportTop();
  scroll(0, dy, QRect(0, from, numbersLeft_, height() - from));
}

void LineGutter::RowsChanged(int top, int bottom) { update(QRect(0, top + ViewportTop(), numbersLeft_, bottom - top)); }

LineGutter::Rows LineGutter::ShownRows() const {
  const QTextBlock first = box_->firstVisibleBlock();
  return {first.blockNumber(), box_->LinesIn(0, box_->viewport()->height() - 1).second,
          box_->blockBoundingGeometry(first).translated(box_->contentOffset()).top()};
}

void LineGutter::changeEvent(QEvent* e) {
  QWidget::changeEvent(e);
  if (e->type() == QEvent::PaletteChange) {
    UpdateCaretDecor();
    update();
  }
}

void LineGutter::paintEvent(QPaintEvent* e) {
  QPainter p(this);
  const QPalette& pal = box_->palette();
  const QColor base = pal.color(QPalette::Base), text = pal.color(QPalette::Text);
  const QColor back = Mix(base, text, 0.05);
  p.fillRect(e->rect(), back);
  p.setFont(numbers_);
  QFont bold = numbers_;
  bold.setBold(true);
  const QColor faint = tarvex::ReadableOn(Mix(base, text, 0.45), back);  // faint, yet readable
  const int lineH = box_->fontMetrics().height();
  QTextBlock block = box_->firstVisibleBlock();
  qreal top = box_->blockBoundingGeometry(block).translated(box_->contentOffset()).top();
  while (block.isValid() && top <= e->rect().bottom()) {
    const qreal bottom = top + box_->blockBoundingRect(block).height();
    // (Rows whose number lies outside what is asked for, such as the marks' strip, are skipped.)
    if (block.isVisible() && bottom >= e->rect().top() &&
        e->region().intersects(QRect(numbersLeft_, int(top), width_ - numbersLeft_, lineH))) {
      const bool current = block.blockNumber() == caretLine_;
      p.setFont(current ? bold : numbers_);
      p.setPen(current ? text : faint);
      p.drawText(QRect(0, int(top), width_ - kPad, lineH), Qt::AlignRight | Qt::AlignVCenter,
                 QString::number(block.blockNumber() + 1));
    }
    block = block.next();
    top = bottom;
  }
}

// ---- The text box's side of the view aids ----

void TextBox::SetMatchMarks(QList<QTextEdit::ExtraSelection> marks) {
  matchMarks_ = std::move(marks);
  gutter_->UpdateCaretDecor();
}

QRect TextBox::LinesRect(int first, int last) const {
  QTextBlock block = firstVisibleBlock();
  int line = block.blockNumber();
  qreal top = blockBoundingGeometry(block).translated(contentOffset()).top();
  QRect band;
  for (const int height = viewport()->height(); block.isValid() && top < height && line <= last; block = block.next(), ++line) {
    const qreal bottom = top + blockBoundingRect(block).height();
    if (line >= first) band |= QRect(0, int(top), viewport()->width(), int(std::ceil(bottom)) - int(top));
    top = bottom;
  }
  return band & viewport()->rect();
}

std::pair<int, int> TextBox::LinesIn(int top, int bottom) const {
  QTextBlock block = firstVisibleBlock();
  int line = block.blockNumber(), first = -1, last = -2;
  qreal y = blockBoundingGeometry(block).translated(contentOffset()).top();
  for (; block.isValid() && y <= bottom; block = block.next(), ++line) {
    const qreal next = y + blockBoundingRect(block).height();
    if (next > top) {
      if (first < 0) first = line;
      last = line;
    }
    y = next;
  }
  return {first, last};
}

namespace {
// The vertical scroll bar, painted again when what it shows changes: a line typed in or taken
// out of a long script moves its range by one, and the slider by no pixel.
class SteadyScrollBar : public QScrollBar {
 public:
  using QScrollBar::QScrollBar;

 protected:
  void sliderChange(SliderChange change) override {
    QStyleOptionSlider opt;
    initStyleOption(&opt);
    const Look now{style()->subControlRect(QStyle::CC_ScrollBar, &opt, QStyle::SC_ScrollBarSlider, this),
                   minimum() < maximum(), value() == minimum(), value() == maximum()};
    if (now == look_ && change != SliderOrientationChange) return;
    look_ = now;
    QScrollBar::sliderChange(change);
  }

 private:
  using Look = std::tuple<QRect, bool, bool, bool>;  // the slider, and the range and ends it shows
  Look look_;
};
}  // namespace

void TextBox::InstallViewAids() {
  setVerticalScrollBar(new SteadyScrollBar(Qt::Vertical, this));
  // The scroll area lays its children out again after every change of a bar's range (a line
  // typed in or taken out moves the vertical one), raising the bars, which repaints them and
  // the frame around the text; only a range coming or going can show or hide a bar.
  for (QScrollBar* bar : {verticalScrollBar(), horizontalScrollBar()}) {
    disconnect(bar, SIGNAL(rangeChanged(int,int)), this, SLOT(_q_showOrHideScrollBars()));
    connect(bar, &QScrollBar::rangeChanged, this, [this, had = bar->minimum() < bar->maximum()](int min, int max) mutable {
      if ((min < max) == had) return;
      had = min < max;
      QMetaObject::invokeMethod(this, "_q_showOrHideScrollBars", Qt::QueuedConnection);
    });
  }
  gutter_ = new LineGutter(this);
  ApplyTabStops();
}

void TextBox::ApplyTabStops() {
  // The fractional advance: a blank rounded to whole pixels would put every stop a little off.
  setTabStopDistance(QFontMetricsF(font()).horizontalAdvance(QLatin1Char(' ')) * LineGutter::kTabWidth);
}

void TextBox::resizeEvent(QResizeEvent* e) {
  // A change of width is not passed on: QPlainTextEdit would lay the document out anew for the
  // new width, which gives every line of the document a layout object at once (hundreds of
  // bytes a line, the whole script's worth at every resize), while unwrapped lines lay out the
  // same at any width.
  QResizeEvent sameWidth(e->size(), QSize(e->size().width(), e->oldSize().height()));
  QPlainTextEdit::resizeEvent(&sameWidth);
  gutter_->UpdateWidth();  // at large sizes the numbers' room follows the box's width
  gutter_->Place();
}

bool TextBox::viewportEvent(QEvent* e) {
  // (The viewport also changes its size when a scroll bar comes or goes.)
  if (e->type() == QEvent::Resize && gutter_) gutter_->Place();
  return QPlainTextEdit::viewportEvent(e);
}

void TextBox::changeEvent(QEvent* e) {
  QPlainTextEdit::changeEvent(e);
  if (e->type() == QEvent::FontChange && gutter_) {  // (no gutter yet: it measures when made)
    ApplyTabStops();
    gutter_->UpdateWidth();
    gutter_->update();
  }
}

}  // namespace scrivane

#include "scrivane/gui/textbox.h"

#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QWheelEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <optional>
#include <vector>

#include "scrivane/gui/linegutter.h"
#include "scrivane/gui/textboxlayout.h"

namespace scrivane {

QString ToWidgetText(const QString& text) {
  if (!text.contains(QLatin1Char('\r'))) return text;
  QString out;
  out.reserve(text.size());
  const QChar* s = text.constData();
  const qsizetype n = text.size();
  for (qsizetype i = 0; i < n; ++i) {
    if (s[i] == QLatin1Char('\r')) {
      out += QLatin1Char('\n');
      if (i + 1 < n && s[i + 1] == QLatin1Char('\n')) ++i;
    } else {
      out += s[i];
    }
  }
  return out;
}

TextBox::TextBox(QWidget* parent) : QPlainTextEdit(parent) { Build(); }

TextBox::TextBox(const QFont& font, QWidget* parent) : QPlainTextEdit(parent) {
  setFont(font);  // (before the view aids, which measure the font)
  Build();
}

void TextBox::Build() {
  setLineWrapMode(QPlainTextEdit::NoWrap);
  // Lines never wrap, so no line's layout depends on the box's width: TextBoxLayout lays each
  // line out without one, and resizeEvent passes no change of width on. The document's width
  // is that of its widest line laid out, which sets the horizontal scroll range.
  auto* doc = new QTextDocument(this);
  auto* layout = new TextBoxLayout(doc);
  doc->setDocumentLayout(layout);
  connect(layout, &TextBoxLayout::linesReplaced, this, &TextBox::LinesReplaced);
  doc->setDefaultFont(font());
  doc->documentLayout()->setPaintDevice(viewport());
  setDocument(doc);
  setObjectName(QStringLiteral("txtMain"));
  InstallViewAids();
  // Invalidated before any change handler runs (contentsChange precedes textChanged).
  connect(document(), &QTextDocument::contentsChange, this, [this] {
    cacheValid_ = false;
    cache_.clear();
  });
}

void TextBox::LinesReplaced(int first, int gone, int made) {
  // The view shows line T + r in row r whatever changed: a row above the change shows the line
  // it showed, a row of the change a new line, and a row below it the line that was shown
  // `made - gone` rows higher or lower, where its pixels are.
  QWidget* view = viewport();
  const int height = view->height();
  const qreal lineHeight = static_cast<const TextBoxLayout*>(document()->documentLayout())->LineHeight();
  const qreal moved = (made - gone) * lineHeight;
  QTextBlock block = firstVisibleBlock();
  int line = block.blockNumber();
  qreal y = blockBoundingGeometry(block).translated(contentOffset()).top();
  if (gone < 0 || !block.isValid() || lineHeight <= 0 || moved != std::floor(moved) || y != std::floor(y)) {
    // Lines of differing heights, fractions of a pixel, or the view's top line gone: no row
    // simply moves.
    view->update();
    emit updateRequest(view->rect(), 0);
    return;
  }
  // The rows of the change (all from the top for a change above the view), and the first row
  // of the moved lines.
  const int firstMoved = std::max(line, first + made);
  qreal top = first < line ? 0 : -1;
  for (; line < firstMoved && block.isValid() && y < height; block = block.next(), ++line) {
    if (line == first) top = y;
    y += blockBoundingRect(block).height();
  }
  if (top < 0 || top >= height) return;  // below the view
  const int changedTop = int(top), movedTop = int(std::min<qreal>(y, height)), dy = int(moved);
  if (dy != 0 && movedTop < height) {
    // The moved lines' pixels come from where they were; what has none is painted.
    const int from = std::max(0, std::min(movedTop, movedTop - dy));
    view->scroll(0, dy, QRect(0, from, view->width(), height - from));
    gutter_->RowsMoved(from, dy);
  }
  const QRect changed(0, changedTop, view->width(), movedTop - changedTop);
  view->update(changed);
  gutter_->RowsChanged(changedTop, movedTop);
  emit updateRequest(changed, 0);
}

QString TextBox::Text() const {
  if (cacheValid_) return cache_;
  // The raw text keeps every character as stored (toPlainText would turn non-breaking
  // spaces into blanks); its paragraph separators become CR LF.
  const QString raw = document()->toRawText();
  QString out;
  out.reserve(raw.size() + document()->blockCount());
  const QChar* s = raw.constData();
  qsizetype runStart = 0;
  const qsizetype n = raw.size();
  for (qsizetype i = 0; i < n; ++i) {
    if (s[i] == QChar::ParagraphSeparator) {
      out.append(s + runStart, i - runStart);
      out += QStringLiteral("\r\n");
      runStart = i + 1;
    }
  }
  out.append(s + runStart, n - runStart);
  cache_ = out;
  cacheValid_ = true;
  return out;
}

qsizetype TextBox::TextLength() const {
  const QTextDocument* d = document();
  return d->characterCount() - 1 + (d->blockCount() - 1);
}

void TextBox::SetText(const QString& text) { SetWidgetText(ToWidgetText(text)); }

namespace {
// The line end a line had in the file. Kept in the block's user data (the block's state
// belongs to the syntax colouring). A block's data stands for the break that ends the block.
struct LineEndData : QTextBlockUserData {
  explicit LineEndData(LineEnd e) : end(e) {}
  LineEnd end;
};

std::optional<LineEnd> EndOf(const QTextBlock& b) {
  const auto* d = dynamic_cast<const LineEndData*>(b.userData());
  return d ? std::optional(d->end) : std::nullopt;
}

// The remembered ends of the blocks from `first` on (none: the document's style).
struct EndsRun {
  int first = 0;
  std::vector<std::optional<LineEnd>> ends;
  void Put(QTextDocument* doc) const {
    QTextBlock b = doc->findBlockByNumber(first);
    for (const auto& e : ends) {
      if (!b.isValid()) break;
      b.setUserData(e ? new LineEndData(*e) : nullptr);
      b = b.next();
    }
  }
};

// An entry of the document's undo stack that puts line ends back, which the text's own undo
// does not: a joined line's block is made anew without them. The entry in front of a change
// runs its undo after the change's text is back; the one behind it runs its redo after the
// text is made again.
class LineEndsStep : public QAbstractUndoItem {
 public:
  LineEndsStep(QTextDocument* doc, EndsRun onUndo, EndsRun onRedo)
      : doc_(doc), onUndo_(std::move(onUndo)), onRedo_(std::move(onRedo)) {}
  void undo() override { onUndo_.Put(doc_); }
  void redo() override { onRedo_.Put(doc_); }

 private:
  QTextDocument* doc_;
  EndsRun onUndo_, onRedo_;
};
}  // namespace

void TextBox::SetWidgetText(QString lfText, const OddLineEnds& odd) {
  // The numbers' width for the new text first: a change of the text's width after the text is
  // in lays out every line again.
  gutter_->UpdateWidth(int(lfText.count(QLatin1Char('\n'))) + 1);
  // setPlainText would follow the text with a second pass that gives every piece of it the
  // box's character format, a tenth of the time a large script takes to open; the box's text
  // has no formats of its own, so the text goes straight into the emptied document. Undo is
  // off while it goes in: undo stops at the loaded text.
  setPlainText(QString());
  QTextDocument* doc = document();
  doc->setUndoRedoEnabled(false);
  // In pieces of whole lines from the end, each put in at the start. Small pieces: the
  // document's trees are walked near the place of the last insertion, which costs a sixth
  // less than long runs of lines. A text of its own (moved in) gives back its memory as the
  // pieces go in, so that the text and the document do not both hold all of it. One edit
  // block: the document tells of one change.
  constexpr qsizetype kPiece = 512, kGiveBack = 1 << 18;
  QTextCursor c(doc);
  c.beginEditBlock();
  for (qsizetype end = lfText.size(), kept = end; end > 0;) {
    const qsizetype start = end > kPiece ? lfText.lastIndexOf(QLatin1Char('\n'), end - kPiece) + 1 : 0;
    c.setPosition(0);
    c.insertText(QString::fromRawData(lfText.constData() + start, end - start));
    end = start;
    if (kept - end >= kGiveBack && lfText.isDetached()) {
      lfText.truncate(end);
      lfText.squeeze();
      kept = end;
    }
  }
  c.endEditBlock();
  doc->setUndoRedoEnabled(true);
  doc->setModified(false);
  setTextCursor(QTextCursor(doc));
  for (const auto& [line, end] : odd) {
    QTextBlock b = document()->findBlockByNumber(int(line));
    if (b.isValid()) b.setUserData(new LineEndData(end));
  }
}

QString TextBox::WidgetText() const {
  QString raw = document()->toRawText();
  raw.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
  return raw;
}

OddLineEnds TextBox::OddEnds(LineEnd style) const {
  OddLineEnds odd;
  qsizetype line = 0;
  for (QTextBlock b = document()->begin(); b.isValid(); b = b.next(), ++line)
    if (const auto* d = dynamic_cast<const LineEndData*>(b.userData()); d && d->end != style) odd.emplace_back(line, d->end);
  return odd;
}

qsizetype TextBox::ToModel(int widgetPos) const {
  const QTextBlock b = document()->findBlock(widgetPos);
  return widgetPos + (b.isValid() ? b.blockNumber() : document()->blockCount() - 1);
}

int TextBox::ToWidget(qsizetype modelPos) const {
  const QTextDocument* d = document();
  const int last = d->characterCount() - 1;  // widget length
  if (modelPos <= 0) return 0;
  if (modelPos >= TextLength()) return last;
  // Block b starts at widget position P(b) and model position P(b) + b. The block holding
  // modelPos is the last with P(b) + b <= modelPos; it lies between the block at widget
  // position modelPos (an upper bound) and the block at modelPos - that number (a lower one).
  const int hi0 = d->findBlock(int(std::min<qsizetype>(modelPos, last))).blockNumber();
  // (At a line's LF the lower bound can be one block too far, hence the - 1.)
  int hi = hi0;
  int lo = std::min(hi, std::max(0, d->findBlock(int(std::max<qsizetype>(modelPos - hi0, 0))).blockNumber() - 1));
  while (lo < hi) {
    const int mid = (lo + hi + 1) / 2;
    if (d->findBlockByNumber(mid).position() + mid <= modelPos) lo = mid;
    else hi = mid - 1;
  }
  const QTextBlock b = d->findBlockByNumber(lo);
  const qsizetype offset = modelPos - (b.position() + lo);
  // A position between CR and LF belongs to the end of the line.
  return b.position() + int(std::min<qsizetype>(offset, b.length() - 1));
}

qsizetype TextBox::SelStart() const {
  const QTextCursor c = textCursor();
  return ToModel(c.selectionStart());
}

qsizetype TextBox::SelLength() const {
  const QTextCursor c = textCursor();
  return ToModel(c.selectionEnd()) - ToModel(c.selectionStart());
}

QString TextBox::SelText() const {
  const QTextCursor c = textCursor();
  if (!c.hasSelection()) return QString();
  QString s = c.selectedText();
  s.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
  return s;
}

void TextBox::SelectWidgetRange(int anchor, int position) {
  QTextCursor c = textCursor();
  c.setPosition(anchor);
  c.setPosition(position, QTextCursor::KeepAnchor);
  setTextCursor(c);
}

void TextBox::SetSelStart(qsizetype start) {
  const int w = ToWidget(start);
  SelectWidgetRange(w, w);
  ensureCursorVisible();
}

void TextBox::SetSelLength(qsizetype length) {
  const qsizetype start = SelStart();
  SelectWidgetRange(ToWidget(start), ToWidget(start + std::max<qsizetype>(length, 0)));
}

int TextBox::ReplaceRange(int from, int to, const QString& lfText) {
  QTextDocument* doc = document();
  const int first = doc->findBlock(from).blockNumber();
  const int last = doc->findBlock(to).blockNumber();
  const int blocksBefore = doc->blockCount();
  // A change within one line keeps every block; one that joins or splits lines decides
  // afresh which block ends with which break. The ends are taken before the change.
  const bool joins = last > first;
  EndsRun before{first, {}};
  if (joins || lfText.contains(QLatin1Char('\n')) || lfText.contains(QChar::ParagraphSeparator)) {
    for (QTextBlock b = doc->findBlockByNumber(first); b.isValid() && b.blockNumber() <= last; b = b.next())
      before.ends.push_back(EndOf(b));
    doc->appendUndoItem(new LineEndsStep(doc, before, {}));
  }
  QTextCursor c(doc);
  c.setPosition(from);
  c.setPosition(to, QTextCursor::KeepAnchor);
  c.insertText(lfText);
  if (!before.ends.empty()) {
    // A change that keeps the number of lines keeps each line's end. Otherwise the break that
    // ended the last line touched still ends the last line made, and every break the change
    // put in is new and takes the document's style.
    const int made = doc->blockCount() - blocksBefore + (last - first);
    EndsRun after{first, std::vector<std::optional<LineEnd>>(size_t(made) + 1)};
    if (made == last - first) after.ends = before.ends;
    after.ends.back() = before.ends.back();
    after.Put(doc);
    doc->appendUndoItem(new LineEndsStep(doc, {}, std::move(after)));
  }
  return c.position();
}

void TextBox::ReplaceSel(const QString& s) {
  const QTextCursor sel = textCursor();
  QTextCursor block(document());
  block.beginEditBlock();
  const int end = ReplaceRange(sel.selectionStart(), sel.selectionEnd(), ToWidgetText(s));
  block.endEditBlock();
  SelectWidgetRange(end, end);
}

void TextBox::Cut() {
  if (isReadOnly() || !textCursor().hasSelection()) return;
  copy();
  ReplaceSel(QString());
  ensureCursorVisible();
}

QMenu* TextBox::ContextMenu() {
  QMenu* menu = createStandardContextMenu();
  // The standard Cut and Delete would take out a selection of several lines by the widget's
  // own rule, which ends the joined line as the first line ended.
  for (QAction* a : menu->actions()) {
    const QString name = a->objectName();
    if (name != QLatin1String("edit-cut") && name != QLatin1String("edit-delete")) continue;
    disconnect(a, &QAction::triggered, nullptr, nullptr);
    if (name == QLatin1String("edit-cut")) connect(a, &QAction::triggered, this, &TextBox::Cut);
    else connect(a, &QAction::triggered, this, [this] { ReplaceSel(QString()); });
  }
  return menu;
}

void TextBox::contextMenuEvent(QContextMenuEvent* e) {
  QMenu* menu = ContextMenu();
  menu->setAttribute(Qt::WA_DeleteOnClose);
  menu->popup(e->globalPos());
}

void TextBox::inputMethodEvent(QInputMethodEvent* e) {
  // Text an input method commits over a selection of several lines, or with line breaks in
  // it, goes in like typed text; a selection under a composition still going on is taken out
  // first, so the composition starts on a line that ends as the last selected line did.
  const QTextCursor c = textCursor();
  const bool lines = c.hasSelection() && c.block() != document()->findBlock(c.anchor());
  const QString& commit = e->commitString();
  const bool breaks = commit.contains(QLatin1Char('\n')) || commit.contains(QLatin1Char('\r'));
  if (!isReadOnly() && (lines || breaks) && (!commit.isEmpty() || !e->preeditString().isEmpty())) {
    if (e->preeditString().isEmpty() && e->replacementLength() == 0) {
      ReplaceSel(commit);
      ensureCursorVisible();
      e->accept();
      return;
    }
    if (lines) ReplaceSel(QString());
  }
  QPlainTextEdit::inputMethodEvent(e);
}

namespace {

// Model positions to widget positions for a run of changes in the order of the text, as one
// pass over the blocks: the block of each change is found from the block of the one before
// it, not searched for from the top of the document each time, so that a run of changes costs
// in proportion to its length. A change that keeps its lines keeps the block it is in where
// it was; one that joins or splits lines, or that goes back, starts the walk again where it is.
class ForwardMap {
 public:
  explicit ForwardMap(const TextBox& box) : box_(box), doc_(*box.document()), block_(doc_.begin()) {}

  int ToWidget(qsizetype modelPos) {
    if (modelPos < lastModel_) Seat(box_.ToWidget(modelPos));
    lastModel_ = modelPos;
    if (modelPos <= 0) return 0;
    if (modelPos >= box_.TextLength()) return doc_.characterCount() - 1;
    // Block b starts at widget position P(b) and model position P(b) + b (each break is CR LF
    // in the model, one character in the widget).
    for (QTextBlock next = block_.next(); next.isValid() && modelPos >= position_ + number_ + block_.length() + 1;
         next = block_.next()) {
      position_ += block_.length();
      ++number_;
      block_ = next;
    }
    // A position between CR and LF belongs to the end of the line.
    return position_ + int(std::min<qsizetype>(modelPos - (position_ + number_), block_.length() - 1));
  }
  // The block the last position was found in.
  int Line() const { return number_; }
  // After a change that ended at widget position `end` and model position `modelEnd`.
  void Changed(bool keptLines, int end, qsizetype modelEnd) {
    if (!keptLines) Seat(end);
    lastModel_ = modelEnd;
  }

 private:
  void Seat(int widgetPos) {
    block_ = doc_.findBlock(widgetPos);
    if (!block_.isValid()) block_ = doc_.lastBlock();
    position_ = block_.position();
    number_ = block_.blockNumber();
  }
  const TextBox& box_;
  const QTextDocument& doc_;
  QTextBlock block_;
  int position_ = 0;
  int number_ = 0;
  qsizetype lastModel_ = 0;
};

}  // namespace

TextModel TextBox::Model() const { return TextModel(Text(), SelStart(), SelLength()); }

void TextBox::Apply(const TextModel& model) {
  // The model's own changes when it was made from this text, else the one range that differs.
  const QString& base = model.Base();
  const bool fromHere = base.size() == TextLength() && ((cacheValid_ && base.constData() == cache_.constData()) || base == Text());
  TextModel diff(fromHere ? QString() : Text());
  if (!fromHere) diff.SetText(model.Text());
  // Very many changes close together go in faster as the one range they span, which keeps
  // every line's end as long as it keeps the number of lines.
  const std::vector<TextChange>* changes = fromHere ? &model.Changes() : &diff.Changes();
  if (fromHere && changes->size() >= 2000) {
    diff = TextModel(base);
    diff.SetText(model.Text());
    const auto near = [&](const TextChange& span) {
      return qsizetype(changes->size()) * 40 > span.removed &&
             span.inserted.count(QLatin1Char('\n')) == QStringView(base).mid(span.start, span.removed).count(QLatin1Char('\n'));
    };
    if (diff.Changes().empty() || near(diff.Changes().front())) changes = &diff.Changes();
  }
  if (!changes->empty()) {
    QTextCursor block(document());
    block.beginEditBlock();
    ForwardMap map(*this);
    for (const TextChange& ch : *changes) {
      const int from = map.ToWidget(ch.start);
      const int line = map.Line();
      const int to = map.ToWidget(ch.start + ch.removed);
      const QString lfText = ToWidgetText(ch.inserted);
      const bool keepsLines = map.Line() == line && !lfText.contains(QLatin1Char('\n')) && !lfText.contains(QChar::ParagraphSeparator);
      // Within one line the lines' ends stay as they are: the text goes straight in.
      int end = 0;
      if (keepsLines) {
        block.setPosition(from);
        block.setPosition(to, QTextCursor::KeepAnchor);
        block.insertText(lfText);
        end = block.position();
      } else {
        end = ReplaceRange(from, to, lfText);
      }
      map.Changed(keepsLines, end, ch.start + ch.inserted.size());
    }
    block.endEditBlock();
  }
  const int a = ToWidget(model.SelStart());
  SelectWidgetRange(a, ToWidget(model.SelStart() + model.SelLength()));
  ensureCursorVisible();
}

void TextBox::keyPressEvent(QKeyEvent* e) {
  // Ctrl+Y redoes on every platform, as users of Windows editors expect.
  if (e->key() == Qt::Key_Y && e->modifiers() == Qt::ControlModifier) {
    redo();
    return;
  }
  if (e->matches(QKeySequence::Cut) && !isReadOnly()) {
    Cut();
    return;
  }
  if (IndentKey(e)) return;
  if (!isReadOnly() && JoinOrSplitLines(e)) {
    ensureCursorVisible();
    return;
  }
  QPlainTextEdit::keyPressEvent(e);
}

bool TextBox::JoinOrSplitLines(QKeyEvent* e) {
  const QTextCursor c = textCursor();
  const int pos = c.position();
  // A new line break goes in front of the line's own: the text after the caret keeps the
  // line end it had.
  if (e->matches(QKeySequence::InsertParagraphSeparator)) {
    ReplaceSel(QStringLiteral("\n"));
    return true;
  }
  const bool back = e->key() == Qt::Key_Backspace && (e->modifiers() & ~Qt::ShiftModifier) == Qt::NoModifier;
  const bool del = e->matches(QKeySequence::Delete);
  if (c.hasSelection()) {
    // Text typed over, or deleted from, a selection of several lines: the joined line ends
    // as the last of them did.
    if (c.block() == document()->findBlock(c.anchor())) return false;
    const QString typed = e->text();
    const bool printable = !typed.isEmpty() && std::all_of(typed.begin(), typed.end(), [](QChar ch) { return ch.isPrint(); });
    if (!back && !del && !printable) return false;
    ReplaceSel(back || del ? QString() : typed);
    return true;
  }
  // Joining two lines keeps the end of the second.
  int from = -1;
  if (back && c.atBlockStart() && pos > 0) from = pos - 1;
  if (del && c.atBlockEnd() && !c.atEnd()) from = pos;
  if (from < 0) return false;
  QTextCursor block(document());
  block.beginEditBlock();
  ReplaceRange(from, from + 1, QString());
  block.endEditBlock();
  SelectWidgetRange(from, from);
  return true;
}

void TextBox::insertFromMimeData(const QMimeData* source) {
  // Pasted and dropped text goes in like any other change, with its line breaks new.
  if (!source->hasText() || isReadOnly()) return QPlainTextEdit::insertFromMimeData(source);
  ReplaceSel(source->text());
  ensureCursorVisible();
}

void TextBox::wheelEvent(QWheelEvent* e) {
  if (!(e->modifiers() & Qt::ControlModifier)) {
    QPlainTextEdit::wheelEvent(e);
    return;
  }
  // A notch is 120 eighths; touch pads send smaller parts that add up.
  wheelZoom_ += e->angleDelta().y();
  const int steps = wheelZoom_ / 120;
  wheelZoom_ -= steps * 120;
  if (steps) emit zoomRequested(steps);
  e->accept();
}

}  // namespace scrivane

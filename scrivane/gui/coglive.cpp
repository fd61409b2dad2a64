#include "scrivane/gui/coglive.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPromise>
#include <QTextBlock>
#include <QThreadPool>
#include <QToolTip>

#include "scrivane/core/cognav.h"
#include "scrivane/gui/linegutter.h"
#include "scrivane/gui/textbox.h"

namespace scrivane {
namespace {

QColor MarkColour(CogSeverity s) {
  switch (s) {
    case CogSeverity::Error: return QColor(220, 30, 30);
    case CogSeverity::Warning: return QColor(230, 150, 0);
    default: return QColor(150, 150, 150);
  }
}

// The text of the lines shown between two heights of the viewport, as positions.
std::pair<int, int> VisibleRange(TextBox* box, int top, int bottom) {
  const auto [first, last] = box->LinesIn(top, bottom);
  if (first > last) return {1, 0};
  const QTextDocument* doc = box->document();
  const QTextBlock end = doc->findBlockByNumber(last);
  return {doc->findBlockByNumber(first).position(), end.position() + end.length() - 1};
}

// Calls draw(x0, x1, rect of the line) for each line piece of [start, start + length); an empty
// range is one character wide.
template <typename Draw>
void ForEachPiece(TextBox* box, int start, int length, Draw draw) {
  QTextDocument* doc = box->document();
  const int end = start + length;
  int pos = start;
  for (QTextBlock b = doc->findBlock(pos); b.isValid(); b = b.next()) {
    const int blockEnd = b.position() + b.length() - 1;
    const int e = std::min(end, blockEnd);
    QTextCursor c(doc);
    c.setPosition(std::max(pos, b.position()));
    const QRect r0 = box->cursorRect(c);
    c.setPosition(e);
    const QRect r1 = box->cursorRect(c);
    int x1 = r1.top() == r0.top() ? r1.left() : box->viewport()->width();
    if (x1 <= r0.left() + 1) x1 = r0.left() + box->fontMetrics().horizontalAdvance(u'x');
    draw(r0.left(), x1, r0);
    if (end <= blockEnd) break;
    pos = blockEnd + 1;
  }
}

// Calls each(mark) for the marks that may show between two places of the present text, in
// text order: those that begin at most `back` characters before it (the findings are sorted by
// place, and one is rarely longer than a line).
template <typename Each>
void ForMarksAround(const CogLive* live, int first, int last, Each each, int back = 256) {
  const CogFindingList* list = live->Findings().get();
  if (!list) return;
  const int to = live->ToRead(last, true);
  for (size_t i = list->FirstAtOrAfter(live->ToRead(first, false) - back); i < list->Size(); ++i) {
    const CogLive::Mark m = live->MarkOf(i);
    if (m.start > to) break;
    each(m);
  }
}

// The marks lie on layers over the viewport and the gutter, which a scroll of either moves
// with the text, so that the marks' pixels move with the text's. A layer reaches this many of
// its widget's heights above and below it, and is put back (and painted anew) only when it no
// longer covers its widget.
constexpr int kLayerSlack = 4;
void PlaceLayer(QWidget* layer, bool always) {
  const QRect under = layer->parentWidget()->rect();
  if (always || !layer->geometry().contains(under))
    layer->setGeometry(under.adjusted(0, -kLayerSlack * under.height(), 0, kLayerSlack * under.height()));
}

// Paints the marks over the text box's viewport; mouse events pass through to the text.
class TextMarks : public QWidget {
 public:
  TextMarks(TextBox* box, CogLive* live) : QWidget(box->viewport()), box_(box), live_(live) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    PlaceLayer(this, true);
    show();
  }

 protected:
  void paintEvent(QPaintEvent* e) override {
    if ((!live_->Findings() || live_->Findings()->Empty()) && live_->UseMarks().empty()) return;
    QPainter p(this);
    // Drawn in the viewport's coordinates.
    p.translate(-pos());
    const QRect asked = e->rect().translated(pos());
    const auto [first, last] = VisibleRange(box_, asked.top(), asked.bottom());
    QColor useColour = palette().color(QPalette::Highlight);
    useColour.setAlpha(70);
    for (const CogLive::Mark& m : live_->UseMarks()) {
      if (m.start > last || m.start + m.length < first) continue;
      ForEachPiece(box_, m.start, m.length, [&](int x0, int x1, const QRect& r) { p.fillRect(QRect(x0, r.top(), x1 - x0, r.height()), useColour); });
    }
    int start = 0;
    ForMarksAround(live_, first, last, [&](const CogLive::Mark& m) {
      if (!live_->Shown(m, &start) || start > last || start + m.length < first) return;
      QPen pen(MarkColour(m.severity), 1);
      if (m.severity == CogSeverity::Note) pen.setStyle(Qt::DotLine);
      p.setPen(pen);
      ForEachPiece(box_, start, m.length, [&](int x0, int x1, const QRect& r) {
        const int y = r.bottom() - 1;
        if (m.severity == CogSeverity::Note) {
          p.drawLine(x0, y + 1, x1, y + 1);
          return;
        }
        // A zigzag two pixels high, drawn without smoothing so that it stays crisp.
        QPolygon wave;
        for (int x = x0, up = 0; x <= x1; x += 2, up ^= 1) wave << QPoint(x, up ? y - 2 : y);
        p.drawPolyline(wave);
      });
    });
  }

 private:
  TextBox* box_;
  CogLive* live_;
};

// The document's text as the reader takes it after an edit: a stretch at a time, with LF line
// ends, straight from its blocks.
class DocumentText : public CogTextSource {
 public:
  explicit DocumentText(const QTextDocument* doc) : doc_(doc) {}
  qsizetype Size() const override { return doc_->characterCount() - 1; }
  QString Mid(qsizetype from, qsizetype length) const override {
    QString out;
    out.reserve(length);
    const qsizetype end = from + length;
    qsizetype pos = from;
    // Each block's place follows from the one before (asking each for its place costs a walk
    // through the document's tree).
    QTextBlock b = doc_->findBlock(int(from));
    for (qsizetype start = b.isValid() ? b.position() : 0; b.isValid() && pos < end; start += b.length(), b = b.next()) {
      const QString line = b.text();
      if (pos - start < line.size()) {
        const qsizetype take = std::min(line.size() - (pos - start), end - pos);
        out += QStringView(line).mid(pos - start, take);
        pos += take;
      }
      if (pos < end && b.next().isValid()) {
        out += u'\n';
        ++pos;
      }
    }
    return out;
  }

 private:
  const QTextDocument* doc_;
};

// Marks the lines with findings at the gutter's left edge, in the colour of the gravest.
constexpr int kStrip = 3;  // pixels
class GutterMarks : public QWidget {
 public:
  GutterMarks(QWidget* gutter, TextBox* box, CogLive* live) : QWidget(gutter), box_(box), live_(live) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    PlaceLayer(this, true);
    show();
  }

 protected:
  void paintEvent(QPaintEvent* e) override {
    QPainter p(this);
    // The viewport's top in this layer's coordinates.
    const int offset = parentWidget()->mapFrom(box_, box_->viewport()->mapTo(box_, QPoint(0, 0))).y() - y();
    const auto [first, last] = VisibleRange(box_, e->rect().top() - offset, e->rect().bottom() - offset);
    // Notes first: a line with an error or a warning as well shows their colour.
    int start = 0;
    for (const bool notes : {true, false}) {
      ForMarksAround(live_, first, last, [&](const CogLive::Mark& m) {
        if ((m.severity == CogSeverity::Note) != notes || !live_->Shown(m, &start) || start > last || start < first - 1)
          return;
        QTextCursor c(box_->document());
        c.setPosition(start);
        const QRect r = box_->cursorRect(c);
        p.fillRect(QRect(0, r.top() + offset, kStrip, r.height()), MarkColour(m.severity));
      });
    }
  }

 private:
  TextBox* box_;
  CogLive* live_;
};

}  // namespace

CogLive::CogLive(TextBox* box) : QObject(box), box_(box) {
  setObjectName(QStringLiteral("cogLive"));
  timer_.setSingleShot(true);
  timer_.setInterval(kDelayMs);
  connect(&timer_, &QTimer::timeout, this, &CogLive::Start);
  connect(&watcher_, &QFutureWatcherBase::finished, this, [this] {
    if (watcher_.future().resultCount() > 0) Take(watcher_.result(), runningRevision_);
  });
  connect(box->document(), &QTextDocument::contentsChange, this, &CogLive::Changed);
  // (contentsChanged follows the layout's handling of the change, contentsChange precedes it.)
  connect(box->document(), &QTextDocument::contentsChanged, this, &CogLive::RepaintHidden);
  overlay_ = new TextMarks(box, this);
  if (auto* gutter = box->findChild<LineGutter*>()) {
    gutterMarks_ = new GutterMarks(gutter, box, this);
    gutter->installEventFilter(this);
  }
  box->viewport()->installEventFilter(this);
  // Scrolling the viewport (and the gutter) moves the layers with the text; they are put back
  // when they have moved too far. (What the box paints otherwise has the marks over it painted
  // with it: asked for on their own, the marks, which are not opaque, would have it painted
  // twice.)
  connect(box, &QPlainTextEdit::updateRequest, overlay_, [this](const QRect&, int dy) {
    if (!dy && overlay_->x() == 0) return;
    PlaceLayer(overlay_, false);
    if (gutterMarks_) PlaceLayer(gutterMarks_, false);
  });
  timer_.start();
}

CogLive::~CogLive() {
  watcher_.disconnect(this);
  // The marks paint from this object: they go with it.
  delete overlay_;
  delete gutterMarks_;
}

CogLive* CogLive::Of(TextBox* box) {
  if (auto* live = box->findChild<CogLive*>(QString(), Qt::FindDirectChildrenOnly)) return live;
  return new CogLive(box);
}

int CogLive::ToRead(int position, bool end) const {
  if (position < editedFrom_) return position;
  if (position >= editedTo_ + delta_) return position - delta_;
  return end ? editedTo_ : editedFrom_;
}

bool CogLive::Shown(const Mark& m, int* start) const {
  if (m.start + m.length < editedFrom_) *start = m.start;
  else if (m.start > editedTo_) *start = m.start + delta_;
  else return false;
  return true;
}

std::vector<CogLive::Mark> CogLive::MarksInView() const {
  std::vector<Mark> out;
  if (!box_) return out;
  const QRect view = box_->viewport()->rect();
  const auto [first, last] = VisibleRange(box_, view.top(), view.bottom());
  int start = 0;
  ForMarksAround(this, first, last, [&](Mark m) {
    if (!Shown(m, &start) || start > last || start + m.length < first) return;
    m.start = start;
    m.message.clear();
    out.push_back(m);
  });
  return out;
}

CogLive::Mark CogLive::MarkOf(size_t i) const {
  const CogFinding f = findings_->At(i);
  return {int(f.at.offset), int(f.at.length), f.severity, f.message};
}

int CogLive::NextShown(int position, int direction) const {
  const size_t n = findings_ ? findings_->Size() : 0;
  if (n == 0) return -1;
  // Marks the edits hid are passed over; they lie in the edited stretch.
  int start = 0;
  const size_t from = findings_->FirstAtOrAfter(ToRead(position, direction < 0) - (direction < 0 ? 0 : findings_->Longest()));
  if (direction > 0) {
    for (size_t i = from; i < n; ++i)
      if (Shown(MarkOf(i), &start) && start > position) return start;
    for (size_t i = 0; i < n; ++i)
      if (Shown(MarkOf(i), &start)) return start;
  } else {
    for (size_t i = std::min(from + 1, n); i-- > 0;)
      if (Shown(MarkOf(i), &start) && start < position) return start;
    for (size_t i = n; i-- > 0;)
      if (Shown(MarkOf(i), &start)) return start;
  }
  return -1;
}

void CogLive::Changed(int position, int removed, int added) {
  ++revision_;
  const int oldFrom = editedFrom_, oldTo = editedTo_;
  const int from = ToRead(position, false), to = ToRead(position + removed, true);
  editedFrom_ = std::min(editedFrom_, from);
  editedTo_ = std::max(editedTo_, to);
  delta_ += added - removed;
  timer_.start();
  // What the change hides is painted again: the box repaints the lines of the change (and moves
  // the pixels of the lines after it), and a change that takes the uses' marks away repaints
  // the whole view; the lines of the marks the change newly hid (the edited stretch grows from
  // the old one to the change, which may lie lines away) are added to it.
  const QTextDocument* doc = box_ ? box_->document() : nullptr;
  const int longest = findings_ ? findings_->Longest() : 0;
  if (!doc || !useMarks_.empty() || longest > kWorkerChars) {
    useMarks_.clear();
    hiddenAll_ = true;
    return;
  }
  const auto hidden = [](const Mark& m, int f, int t) { return m.start + m.length >= f && m.start <= t; };
  const size_t n = findings_ ? findings_->Size() : 0;
  for (size_t i = n ? findings_->FirstAtOrAfter(editedFrom_ - longest) : 0; i < n; ++i) {
    const Mark mark = MarkOf(i);
    const Mark* m = &mark;
    if (m->start > editedTo_) break;
    if (!hidden(*m, editedFrom_, editedTo_) || hidden(*m, oldFrom, oldTo)) continue;
    // Where it was shown, in the text as it is now: the text before the change has not moved.
    int start = m->start + m->length < oldFrom ? m->start : m->start + delta_ - (added - removed);
    int end = start + m->length;
    for (int* p : {&start, &end}) *p = *p < position ? *p : std::max(position, *p + added - removed);
    hiddenFirst_ = std::min(hiddenFirst_, doc->findBlock(start).blockNumber());
    const QTextBlock last = doc->findBlock(end);
    hiddenLast_ = std::max(hiddenLast_, last.isValid() ? last.blockNumber() : doc->blockCount() - 1);
  }
}

void CogLive::RepaintHidden() {
  if (hiddenAll_) RepaintMarks();
  else if (hiddenFirst_ <= hiddenLast_ && box_) RepaintMarks(box_->LinesRect(hiddenFirst_, hiddenLast_));
  hiddenAll_ = false;
  hiddenFirst_ = INT_MAX;
  hiddenLast_ = -1;
}

void CogLive::RepaintMarks(QRect band) {
  // The box and the gutter are asked, not the marks over them: the marks are not opaque, and
  // asked on their own they would have what lies under them painted a second time.
  if (!box_) return;
  if (band.isNull()) band = box_->viewport()->rect();
  if (band.isEmpty()) return;
  box_->viewport()->update(band);
  if (gutterMarks_) {
    QWidget* gutter = gutterMarks_->parentWidget();
    const int offset = gutter->mapFrom(box_, box_->viewport()->mapTo(box_, QPoint(0, 0))).y();
    gutter->update(QRect(0, band.y() + offset, kStrip, band.height()));
  }
}

void CogLive::Recheck() { timer_.start(); }

CogLive::Read CogLive::ReadWhole(const QString& text, CogGame game) {
  Read read;
  read.reading = std::make_shared<CogReading>(text, game);
  read.findings = read.reading->Findings();
  return read;
}

bool CogLive::ReadEdits() {
  if (!reading_ || reading_->Game() != CogGameSetting() || editedFrom_ > editedTo_ || !box_) return false;
  if (!reading_->Update(DocumentText(box_->document()), editedFrom_, editedTo_, delta_)) return false;
  Take({reading_, reading_->Findings()}, revision_);
  return true;
}

void CogLive::Start() {
  if (!box_) return;
  if (watcher_.isRunning()) {
    timer_.start();  // one reading at a time; the next follows this one
    return;
  }
  if (ReadEdits()) return;
  const QString text = box_->WidgetText();
  const CogGame game = CogGameSetting();
  if (text.size() < kWorkerChars) {
    Take(ReadWhole(text, game), revision_);
    return;
  }
  runningRevision_ = revision_;
  auto promise = std::make_shared<QPromise<Read>>();
  watcher_.setFuture(promise->future());
  promise->start();
  QThreadPool::globalInstance()->start([promise, text, game] {
    promise->addResult(ReadWhole(text, game));
    promise->finish();
  });
}

void CogLive::Take(Read read, int revision) {
  if (revision != revision_) {
    if (!timer_.isActive()) timer_.start();
    return;
  }
  const std::vector<Mark> before = MarksInView();
  reading_ = std::move(read.reading);
  findings_ = std::move(read.findings);
  script_.reset();
  withUses_ = false;
  checkedRevision_ = revision;
  editedFrom_ = INT_MAX;
  editedTo_ = INT_MIN;
  delta_ = 0;
  // The lines in view whose marks changed are painted again.
  const std::vector<Mark> after = MarksInView();
  const auto same = [](const Mark& a, const Mark& b) {
    return a.start == b.start && a.length == b.length && a.severity == b.severity;
  };
  size_t head = 0, tail = 0;
  while (head < std::min(before.size(), after.size()) && same(before[head], after[head])) ++head;
  while (tail < std::min(before.size(), after.size()) - head &&
         same(before[before.size() - 1 - tail], after[after.size() - 1 - tail]))
    ++tail;
  int from = INT_MAX, to = INT_MIN;
  for (const auto* marks : {&before, &after}) {
    for (size_t i = head; i + tail < marks->size(); ++i) {
      from = std::min(from, (*marks)[i].start);
      to = std::max(to, (*marks)[i].start + (*marks)[i].length);
    }
  }
  if (from <= to && box_) {
    const QTextDocument* doc = box_->document();
    const QTextBlock last = doc->findBlock(to);
    RepaintMarks(box_->LinesRect(doc->findBlock(from).blockNumber(), last.isValid() ? last.blockNumber() : doc->blockCount() - 1));
  }
  emit Checked();
}

void CogLive::ReadNow() {
  if (IsCurrent() || !box_) return;
  timer_.stop();
  if (!ReadEdits()) Take(ReadWhole(box_->WidgetText(), CogGameSetting()), revision_);
}

const std::shared_ptr<const CogScript>& CogLive::Script() const {
  if (!script_ && reading_) script_ = std::make_shared<const CogScript>(reading_->Script());
  return script_;
}

const CogScript& CogLive::CheckNow() {
  ReadNow();
  if (findings_ && reading_ && !withUses_) {
    script_ = std::make_shared<const CogScript>(reading_->Script(true));
    withUses_ = true;
  }
  static const CogScript none;
  return script_ ? *script_ : none;
}

void CogLive::Load(QString lfText, const OddLineEnds& odd) {
  Read read = ReadWhole(lfText, CogGameSetting());
  if (!box_) return;
  box_->SetWidgetText(std::move(lfText), odd);
  timer_.stop();
  Take(std::move(read), revision_);
}

void CogLive::ShowUses(const std::vector<CogRange>& uses) {
  useMarks_.clear();
  for (const CogRange& r : uses) useMarks_.push_back({int(r.offset), int(r.length), CogSeverity::Note, QString()});
  RepaintMarks();
}

QString CogLive::MessagesAt(int position) const {
  QStringList out;
  int start = 0;
  ForMarksAround(this, position, position, [&](const Mark& m) {
    if (Shown(m, &start) && position >= start && position <= start + std::max(m.length, 1)) out << m.message;
  }, findings_ ? findings_->Longest() + 1 : 0);
  return out.join(u'\n');
}

bool CogLive::GoToDefinition(int position) {
  if (!box_) return false;
  const CogScript& s = CheckNow();
  const auto target = CogDefinitionAt(s, box_->WidgetText(), position);
  if (!target) return false;
  QTextCursor c(box_->document());
  c.setPosition(int(target->offset));
  c.setPosition(int(target->offset + target->length), QTextCursor::KeepAnchor);
  box_->setTextCursor(c);
  box_->centerCursor();
  return true;
}

bool CogLive::eventFilter(QObject* o, QEvent* e) {
  // Events also come while the text box is being taken down: the box is looked at only for
  // the few kinds handled here, which never come then.
  const QEvent::Type type = e->type();
  if ((type != QEvent::Resize && type != QEvent::ToolTip && type != QEvent::MouseButtonPress) || !box_) return false;
  if (o == box_->viewport()) {
    switch (e->type()) {
      case QEvent::Resize:
        if (overlay_) PlaceLayer(overlay_, true);
        break;
      case QEvent::ToolTip: {
        const auto* h = static_cast<QHelpEvent*>(e);
        const QString text = MessagesAt(box_->cursorForPosition(h->pos()).position());
        if (text.isEmpty()) QToolTip::hideText();
        else QToolTip::showText(h->globalPos(), text, box_->viewport());
        return true;
      }
      case QEvent::MouseButtonPress: {
        const auto* m = static_cast<QMouseEvent*>(e);
        if (m->button() == Qt::LeftButton && (m->modifiers() & Qt::ControlModifier))
          return GoToDefinition(box_->cursorForPosition(m->position().toPoint()).position());
        break;
      }
      default:
        break;
    }
  } else if (gutterMarks_ && o == gutterMarks_->parentWidget() && e->type() == QEvent::Resize) {
    PlaceLayer(gutterMarks_, true);
  }
  return false;
}

}  // namespace scrivane

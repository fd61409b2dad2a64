#include "scrivane/gui/textbox.h"

#include <QKeyEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

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

TextBox::TextBox(QWidget* parent) : QPlainTextEdit(parent) {
  setLineWrapMode(QPlainTextEdit::NoWrap);
  setObjectName(QStringLiteral("txtMain"));
  InstallViewAids();
  // Invalidated before any change handler runs (contentsChange precedes textChanged).
  connect(document(), &QTextDocument::contentsChange, this, [this] {
    cacheValid_ = false;
    cache_.clear();
  });
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

void TextBox::SetText(const QString& text) { setPlainText(ToWidgetText(text)); }

namespace {
// The line end a line had in the file. Kept in the block's user data (the block's state
// belongs to the syntax colouring).
struct LineEndData : QTextBlockUserData {
  explicit LineEndData(LineEnd e) : end(e) {}
  LineEnd end;
};
}  // namespace

void TextBox::SetWidgetText(const QString& lfText, const OddLineEnds& odd) {
  setPlainText(lfText);
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

void TextBox::ReplaceSel(const QString& s) {
  QTextCursor c = textCursor();
  c.beginEditBlock();
  c.insertText(ToWidgetText(s));
  c.endEditBlock();
  setTextCursor(c);
}

TextModel TextBox::Model() const { return TextModel(Text(), SelStart(), SelLength()); }

void TextBox::Apply(const TextModel& model) {
  const QString old = Text();
  const QString& now = model.Text();
  const qsizetype oldLen = old.size(), newLen = now.size();
  const qsizetype most = std::min(oldLen, newLen);
  const char16_t* o = reinterpret_cast<const char16_t*>(old.constData());
  const char16_t* w = reinterpret_cast<const char16_t*>(now.constData());
  qsizetype p = std::mismatch(o, o + most, w).first - o;
  qsizetype s = 0;
  while (s < most - p && o[oldLen - 1 - s] == w[newLen - 1 - s]) ++s;
  // Never cut a CR LF pair: the changed range starts before a pair and ends after one.
  if (p > 0 && old[p - 1] == QLatin1Char('\r')) --p;
  if (s > 0 && old[oldLen - s] == QLatin1Char('\n')) --s;
  if (p < oldLen - s || p < newLen - s) {
    QTextCursor c(document());
    c.setPosition(ToWidget(p));
    c.setPosition(ToWidget(oldLen - s), QTextCursor::KeepAnchor);
    c.beginEditBlock();
    c.insertText(ToWidgetText(now.mid(p, newLen - s - p)));
    c.endEditBlock();
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
  QPlainTextEdit::keyPressEvent(e);
}

}  // namespace scrivane

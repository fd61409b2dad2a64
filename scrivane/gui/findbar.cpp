#include "scrivane/gui/findbar.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QTimer>

#include "scrivane/core/textmodel.h"
#include "scrivane/core/textops.h"
#include "scrivane/gui/textbox.h"

namespace scrivane {

namespace {
// More marks than this are not drawn: the view would crawl, and no one reads them all.
constexpr size_t kMostMarks = 20000;

QString WordAt(const QTextCursor& caret) {
  const QString line = caret.block().text();
  int a = caret.positionInBlock(), b = a;
  while (a > 0 && IsWordChar(line[a - 1])) --a;
  while (b < line.size() && IsWordChar(line[b])) ++b;
  return line.mid(a, b - a);
}
}  // namespace

FindBar::FindBar(std::function<TextBox*()> target, QWidget* parent) : QWidget(parent), target_(std::move(target)) {
  setObjectName(QStringLiteral("findBar"));
  auto make = [this](auto*& w, const char* name, auto... args) {
    w = new std::remove_reference_t<decltype(*w)>(args..., this);
    w->setObjectName(QString::fromLatin1(name));
  };
  make(lblFind, "lblFind", QStringLiteral("F&ind:"));
  make(txtFind, "txtFind");
  make(cmdPrevious, "cmdPrevious", QStringLiteral("&Previous"));
  make(cmdNext, "cmdNext", QStringLiteral("&Next"));
  make(chkMatchCase, "chkMatchCase", QStringLiteral("Match &case"));
  make(chkWholeWord, "chkWholeWord", QStringLiteral("&Whole word"));
  make(lblNote, "lblNote", QString());
  make(cmdClose, "cmdClose", QStringLiteral("Close"));
  make(lblReplace, "lblReplace", QStringLiteral("Replace wit&h:"));
  make(txtReplace, "txtReplace");
  make(cmdReplace, "cmdReplace", QStringLiteral("&Replace"));
  make(cmdReplaceAll, "cmdReplaceAll", QStringLiteral("Replace &All"));
  lblFind->setBuddy(txtFind);
  // Room for a name of about 24 characters in the font in use, whatever the buttons beside take.
  for (QLineEdit* field : {txtFind, txtReplace}) field->setMinimumWidth(field->fontMetrics().averageCharWidth() * 24);
  lblReplace->setBuddy(txtReplace);
  txtFind->setAccessibleName(QStringLiteral("Find"));
  txtReplace->setAccessibleName(QStringLiteral("Replace with"));
  cmdClose->setAccessibleName(QStringLiteral("Close the find bar"));
  lblNote->setAccessibleName(QStringLiteral("Find result"));
  for (QPushButton* b : {cmdPrevious, cmdNext, cmdReplace, cmdReplaceAll, cmdClose}) b->setAutoDefault(false);

  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(4, 2, 4, 2);
  grid->addWidget(lblFind, 0, 0);
  grid->addWidget(txtFind, 0, 1);
  auto* findRow = new QHBoxLayout;
  for (QWidget* w : std::initializer_list<QWidget*>{cmdPrevious, cmdNext, chkMatchCase, chkWholeWord}) findRow->addWidget(w);
  findRow->addWidget(lblNote, 1);
  findRow->addWidget(cmdClose);
  grid->addLayout(findRow, 0, 2);
  replaceRow = new QWidget(this);
  replaceRow->setObjectName(QStringLiteral("replaceRow"));
  auto* rr = new QHBoxLayout(replaceRow);
  rr->setContentsMargins(0, 0, 0, 0);
  rr->addWidget(cmdReplace);
  rr->addWidget(cmdReplaceAll);
  rr->addStretch(1);
  grid->addWidget(lblReplace, 1, 0);
  grid->addWidget(txtReplace, 1, 1);
  grid->addWidget(replaceRow, 1, 2);
  grid->setColumnStretch(1, 1);
  grid->setColumnStretch(2, 1);

  remark_ = new QTimer(this);
  remark_->setSingleShot(true);
  remark_->setInterval(150);
  connect(remark_, &QTimer::timeout, this, &FindBar::Refresh);
  connect(txtFind, &QLineEdit::textEdited, this, &FindBar::Incremental);
  connect(chkMatchCase, &QCheckBox::toggled, this, &FindBar::Incremental);
  connect(chkWholeWord, &QCheckBox::toggled, this, &FindBar::Incremental);
  connect(cmdNext, &QPushButton::clicked, this, [this] { FindNext(false); });
  connect(cmdPrevious, &QPushButton::clicked, this, [this] { FindNext(true); });
  connect(cmdReplace, &QPushButton::clicked, this, &FindBar::ReplaceOne);
  connect(cmdReplaceAll, &QPushButton::clicked, this, &FindBar::ReplaceAll);
  connect(cmdClose, &QPushButton::clicked, this, &FindBar::Close);
  txtFind->installEventFilter(this);
  txtReplace->installEventFilter(this);
  hide();
}

FindOptions FindBar::Options() const {
  FindOptions o;
  o.matchCase = chkMatchCase->isChecked();
  o.wholeWord = chkWholeWord->isChecked();
  return o;
}

std::vector<qsizetype> FindBar::Matches(const TextBox* box) const {
  // Widget positions: the text with one break per line, as the cursor counts.
  return box ? FindAllMatches(box->WidgetText(), txtFind->text(), Options()) : std::vector<qsizetype>{};
}

void FindBar::Open(bool withReplace) {
  TextBox* box = target_();
  if (box) {
    const QTextCursor c = box->textCursor();
    const QString sel = c.selectedText();
    const QString fill = c.hasSelection() ? (sel.contains(QChar::ParagraphSeparator) ? QString() : sel) : WordAt(c);
    if (!fill.isEmpty()) txtFind->setText(fill);
    anchor_ = c.selectionStart();
  }
  lblReplace->setVisible(withReplace);
  txtReplace->setVisible(withReplace);
  replaceRow->setVisible(withReplace);
  show();
  txtFind->setFocus();
  txtFind->selectAll();
  Note(QString());
  Refresh();
}

void FindBar::Close() {
  Unmark();
  hide();
  if (TextBox* box = target_()) box->setFocus();
}

void FindBar::Note(const QString& s) { lblNote->setText(s); }

void FindBar::SelectMatch(TextBox* box, qsizetype pos) {
  QTextCursor c(box->document());
  c.setPosition(int(pos));
  c.setPosition(int(pos + txtFind->text().size()), QTextCursor::KeepAnchor);
  box->setTextCursor(c);
  box->ensureCursorVisible();
}

void FindBar::Incremental() {
  TextBox* box = target_();
  if (!box) return;
  const std::vector<qsizetype> m = Matches(box);
  const FindHit hit = NextMatch(m, anchor_, false);
  if (hit.pos < 0) {
    QTextCursor c = box->textCursor();
    c.setPosition(c.selectionStart());  // nothing found: no stale selection
    box->setTextCursor(c);
    Note(txtFind->text().isEmpty() ? QString() : QStringLiteral("Not found"));
  } else {
    SelectMatch(box, hit.pos);
    Note(hit.wrapped ? QStringLiteral("Wrapped around to the top") : QStringLiteral("%1 of %2").arg(hit.index + 1).arg(m.size()));
  }
  Refresh();
}

bool FindBar::FindNext(bool backward) {
  TextBox* box = target_();
  if (!box || txtFind->text().isEmpty()) return false;
  const std::vector<qsizetype> m = Matches(box);
  const QTextCursor c = box->textCursor();
  // Forward from just after the selected match's start, so that the same match is not found again.
  const qsizetype from = backward ? c.selectionStart() : (c.hasSelection() ? c.selectionStart() + 1 : c.position());
  const FindHit hit = NextMatch(m, from, backward);
  if (hit.pos < 0) {
    Note(QStringLiteral("Not found"));
    return false;
  }
  SelectMatch(box, hit.pos);
  anchor_ = int(hit.pos);
  Note(hit.wrapped ? (backward ? QStringLiteral("Wrapped around to the bottom") : QStringLiteral("Wrapped around to the top"))
                   : QStringLiteral("%1 of %2").arg(hit.index + 1).arg(m.size()));
  Refresh();
  return true;
}

void FindBar::ReplaceOne() {
  TextBox* box = target_();
  if (!box || box->isReadOnly() || txtFind->text().isEmpty()) return;
  const std::vector<qsizetype> m = Matches(box);
  QTextCursor c = box->textCursor();
  const bool onMatch = c.hasSelection() && c.selectionEnd() - c.selectionStart() == txtFind->text().size() &&
                       std::binary_search(m.begin(), m.end(), qsizetype(c.selectionStart()));
  if (!onMatch) {
    FindNext(false);
    return;
  }
  box->ReplaceSel(txtReplace->text());  // the caret after the replacement: the next match follows it
  const int after = box->textCursor().position();
  const std::vector<qsizetype> rest = Matches(box);
  const FindHit hit = NextMatch(rest, after, false);
  if (hit.pos >= 0) SelectMatch(box, hit.pos);
  Note(hit.pos < 0 ? QStringLiteral("1 replaced") : QStringLiteral("1 replaced, %1 left").arg(rest.size()));
  Refresh();
}

int FindBar::ReplaceAll() {
  TextBox* box = target_();
  if (!box || box->isReadOnly() || txtFind->text().isEmpty()) return 0;
  const std::vector<qsizetype> m = Matches(box);
  const int length = int(txtFind->text().size());
  const QString with = txtReplace->text();
  if (!m.empty()) {
    // One pass builds the new text and the list of its changes, which the text box takes over
    // as one edit that leaves every line end as it was.
    TextModel model = box->Model();
    const QString& old = model.Text();
    QString now;
    now.reserve(old.size() + qsizetype(m.size()) * (with.size() - length));
    std::vector<TextChange> changes;
    changes.reserve(m.size());
    qsizetype copied = 0;
    for (const qsizetype widgetPos : m) {
      const qsizetype at = box->ToModel(int(widgetPos));
      now += QStringView(old).mid(copied, at - copied);
      changes.push_back(TextChange{now.size(), length, with});
      now += with;
      copied = at + length;
    }
    now += QStringView(old).mid(copied);
    const qsizetype caret = changes.back().start + with.size();
    model.SetText(std::move(now), std::move(changes));
    model.SetSelStart(caret);
    box->Apply(model);
  }
  Note(QStringLiteral("%1 replaced").arg(m.size()));
  Refresh();
  return int(m.size());
}

void FindBar::Unmark() {
  if (marked_) {
    marked_->SetMatchMarks({});
    marked_->removeEventFilter(this);
  }
  marked_ = nullptr;
}

void FindBar::Refresh() {
  TextBox* box = isVisible() ? target_() : nullptr;
  if (marked_ != box) {
    Unmark();
    if (box) {
      connect(box, &QPlainTextEdit::textChanged, remark_, qOverload<>(&QTimer::start), Qt::UniqueConnection);
      // The marks' colour is mixed from the box's palette: a new palette (a light or dark
      // desktop theme chosen) colours them anew.
      box->installEventFilter(this);
    }
  }
  if (!box) return;
  marked_ = box;
  const std::vector<qsizetype> m = Matches(box);
  const QPalette& pal = box->palette();
  QTextCharFormat f;
  // The highlight colour mixed faintly into the base: the text keeps its colouring and contrast.
  const QColor base = pal.color(QPalette::Base), hi = pal.color(QPalette::Highlight);
  f.setBackground(QColor::fromRgbF(base.redF() * 0.6 + hi.redF() * 0.4, base.greenF() * 0.6 + hi.greenF() * 0.4,
                                   base.blueF() * 0.6 + hi.blueF() * 0.4));
  QList<QTextEdit::ExtraSelection> marks;
  const int length = int(txtFind->text().size());
  for (size_t i = 0; i < m.size() && i < kMostMarks; ++i) {
    QTextEdit::ExtraSelection s;
    s.format = f;
    s.cursor = QTextCursor(box->document());
    s.cursor.setPosition(int(m[i]));
    s.cursor.setPosition(int(m[i]) + length, QTextCursor::KeepAnchor);
    marks << s;
  }
  box->SetMatchMarks(std::move(marks));
}

bool FindBar::eventFilter(QObject* o, QEvent* e) {
  if (e->type() == QEvent::PaletteChange && o == marked_) {
    Refresh();
    return false;
  }
  if (e->type() == QEvent::KeyPress) {
    const auto* k = static_cast<QKeyEvent*>(e);
    const bool enter = k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter;
    if (k->key() == Qt::Key_Escape) {
      Close();
      return true;
    }
    if (enter && o == txtFind) {
      FindNext(k->modifiers() & Qt::ShiftModifier);
      return true;
    }
    if (enter && o == txtReplace) {
      ReplaceOne();
      return true;
    }
  }
  return QWidget::eventFilter(o, e);
}

}  // namespace scrivane

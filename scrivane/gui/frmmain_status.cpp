// The main window's status bar: where the caret of the active document is, the line-end
// style its file will be saved with, and the code page scripts are read and written in.
#include <QLabel>
#include <QStatusBar>
#include <QTextBlock>

#include "scrivane/gui/frmmain.h"
#include "scrivane/gui/frmscrivane.h"

namespace scrivane {

namespace {
// The place of a label whose text changes at every key (the caret's place). A label's new text
// asks its parent to lay it out again; asked of the status bar, that lays out and paints the
// whole bar. Here the request goes on to the bar only when the label needs another size, and
// otherwise the label alone is painted again.
class SteadyField : public QWidget {
 public:
  SteadyField(QLabel* label, QWidget* parent) : QWidget(parent), label_(label) {
    label->setParent(this);
    hint_ = sizeHint();
  }
  QSize sizeHint() const override { return label_->sizeHint().expandedTo(label_->minimumSize()); }
  QSize minimumSizeHint() const override { return label_->minimumSizeHint().expandedTo(label_->minimumSize()); }

 protected:
  bool event(QEvent* e) override {
    if (e->type() == QEvent::LayoutRequest) {
      if (sizeHint() != hint_) {
        hint_ = sizeHint();
        updateGeometry();
      }
      return true;
    }
    return QWidget::event(e);
  }
  void resizeEvent(QResizeEvent*) override { label_->setGeometry(rect()); }

 private:
  QLabel* label_;
  QSize hint_;
};
}  // namespace

void frmMain::BuildStatusBar() {
  auto label = [this](QLabel*& l, const char* name) {
    l = new QLabel(this);
    l->setObjectName(QString::fromLatin1(name));
    l->setContentsMargins(8, 0, 8, 0);
    statusBar()->addPermanentWidget(l);
  };
  lblCaretPos = new QLabel(this);
  lblCaretPos->setObjectName(QStringLiteral("lblCaretPos"));
  lblCaretPos->setContentsMargins(8, 0, 8, 0);
  lblCaretPos->setMinimumWidth(lblCaretPos->fontMetrics().horizontalAdvance(QStringLiteral("Ln 99999, Col 9999")) + 16);
  statusBar()->addPermanentWidget(new SteadyField(lblCaretPos, this));
  label(lblLineEnd, "lblLineEnd");
  label(lblCodePage, "lblCodePage");
  label(lblReadOnly, "lblReadOnly");
  UpdateStatusBar();
}

void frmMain::UpdateStatusBar() {
  const frmScrivane* w = ActiveCog();
  if (!w) {
    for (QLabel* l : {lblCaretPos, lblLineEnd, lblCodePage, lblReadOnly}) l->clear();
    return;
  }
  lblReadOnly->setText(w->readOnly ? QStringLiteral("[read-only]") : QString());
  // Column counts characters from the line's start, a tab as one.
  const QTextCursor c = w->txtMain->textCursor();
  lblCaretPos->setText(QStringLiteral("Ln %1, Col %2").arg(c.blockNumber() + 1).arg(c.positionInBlock() + 1));
  lblLineEnd->setText(LineEndName(w->lineEnd));
  lblCodePage->setText(QStringLiteral("Windows-1252"));
}

void frmMain::TrackCaret(frmScrivane* w) {
  connect(w->txtMain, &QPlainTextEdit::cursorPositionChanged, this, [this, w] {
    if (ActiveCog() == w) UpdateStatusBar();
  });
}

}  // namespace scrivane

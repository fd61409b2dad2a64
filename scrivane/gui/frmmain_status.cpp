// The main window's status bar: where the caret of the active document is, the line-end
// style its file will be saved with, and the code page scripts are read and written in.
#include <QLabel>
#include <QStatusBar>
#include <QTextBlock>

#include "scrivane/gui/frmmain.h"
#include "scrivane/gui/frmscrivane.h"

namespace scrivane {

void frmMain::BuildStatusBar() {
  auto label = [this](QLabel*& l, const char* name) {
    l = new QLabel(this);
    l->setObjectName(QString::fromLatin1(name));
    l->setContentsMargins(8, 0, 8, 0);
    statusBar()->addPermanentWidget(l);
  };
  label(lblCaretPos, "lblCaretPos");
  label(lblLineEnd, "lblLineEnd");
  label(lblCodePage, "lblCodePage");
  label(lblReadOnly, "lblReadOnly");
  lblCaretPos->setMinimumWidth(lblCaretPos->fontMetrics().horizontalAdvance(QStringLiteral("Ln 99999, Col 9999")) + 16);
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

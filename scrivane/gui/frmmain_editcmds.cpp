// The Edit menu's everyday commands on the current document: Undo, Redo, Cut, Copy, Paste and
// Select All, with the usual keys. Each is enabled only while the document's text allows it;
// while another field has the focus, that field handles these keys itself.
#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QTextDocument>
#include <functional>

#include "scrivane/gui/frmmain.h"
#include "scrivane/gui/frmscrivane.h"

namespace scrivane {

void frmMain::BuildEditCommands() {
  QAction* before = mnuEdit[0];
  auto item = [&](QAction*& a, const char* name, const QString& caption, const QList<QKeySequence>& keys,
                  std::function<void(TextBox*)> run) {
    a = new QAction(caption, this);
    a->setObjectName(QString::fromLatin1(name));
    a->setShortcuts(keys);
    mnuEditm->insertAction(before, a);
    connect(a, &QAction::triggered, this, [this, run = std::move(run)] {
      if (frmScrivane* w = CurrentCog()) run(w->txtMain);
      UpdateEditCommands();
    });
  };
  item(mnuEditUndo, "mnuEditUndo", QStringLiteral("&Undo"), {QKeySequence::Undo}, [](TextBox* b) { b->undo(); });
  item(mnuEditRedo, "mnuEditRedo", QStringLiteral("Red&o"), {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence::Redo},
       [](TextBox* b) { b->redo(); });
  mnuEditm->insertSeparator(before);
  item(mnuEditCut, "mnuEditCut", QStringLiteral("Cu&t"), {QKeySequence::Cut}, [](TextBox* b) { b->Cut(); });
  item(mnuEditCopy, "mnuEditCopy", QStringLiteral("&Copy"), {QKeySequence::Copy}, [](TextBox* b) { b->copy(); });
  item(mnuEditPaste, "mnuEditPaste", QStringLiteral("&Paste"), {QKeySequence::Paste}, [](TextBox* b) { b->paste(); });
  item(mnuEditSelectAll, "mnuEditSelectAll", QStringLiteral("Select A&ll"), {QKeySequence::SelectAll},
       [](TextBox* b) { b->selectAll(); });
  mnuEditm->insertSeparator(before);

  mnuEditGoTo = new QAction(QStringLiteral("&Go to Line..."), this);
  mnuEditGoTo->setObjectName(QStringLiteral("mnuEditGoTo"));
  mnuEditGoTo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
  mnuEditm->insertAction(mnuEditBar1, mnuEditGoTo);
  connect(mnuEditGoTo, &QAction::triggered, this, &frmMain::mnuEditGoTo_Click);

  connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, &frmMain::UpdateEditCommands);
  connect(mnuEditm, &QMenu::aboutToShow, this, &frmMain::UpdateEditCommands);
  UpdateEditCommands();
}

void frmMain::WatchDocument(frmScrivane* w) {
  TextBox* box = w->txtMain;
  auto update = [this, w] {
    if (CurrentCog() == w) UpdateEditCommands();
  };
  connect(box, &QPlainTextEdit::undoAvailable, this, update);
  connect(box, &QPlainTextEdit::redoAvailable, this, update);
  connect(box, &QPlainTextEdit::copyAvailable, this, update);
  // Typing changes none of the other commands: asking the clipboard whether it holds text to
  // paste would cost a round trip to the window system at every key.
  connect(box, &QPlainTextEdit::textChanged, this, [this, w] {
    if (CurrentCog() == w && mnuEditSelectAll) mnuEditSelectAll->setEnabled(!w->txtMain->document()->isEmpty());
  });
  connect(box, &TextBox::zoomRequested, this, &frmMain::Zoom);
  // Screen readers name the text by its file (the caption without the modified marker).
  auto name = [w](const QString& caption) {
    w->txtMain->setAccessibleName(QStringLiteral("Text of ") + (caption.endsWith(QLatin1Char('*')) ? caption.chopped(1) : caption));
    w->txtMain->setAccessibleDescription(w->strFile);
  };
  connect(w, &QWidget::windowTitleChanged, w->txtMain, name);
  name(w->Caption());
}

void frmMain::UpdateEditCommands() {
  if (!mnuEditUndo) return;  // the menus are not built yet
  const frmScrivane* w = CurrentCog();
  const TextBox* box = w ? w->txtMain : nullptr;
  const bool editable = box && !box->isReadOnly();
  const bool selected = box && box->textCursor().hasSelection();
  mnuEditUndo->setEnabled(editable && box->document()->isUndoAvailable());
  mnuEditRedo->setEnabled(editable && box->document()->isRedoAvailable());
  mnuEditCut->setEnabled(editable && selected);
  mnuEditCopy->setEnabled(selected);
  mnuEditPaste->setEnabled(editable && box->canPaste());
  mnuEditSelectAll->setEnabled(box && !box->document()->isEmpty());
  mnuEditGoTo->setEnabled(box != nullptr);
}

}  // namespace scrivane

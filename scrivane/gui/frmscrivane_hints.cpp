// The hints of a document window while the user types: the key handlers of the text box and
// of the message list hand their keys to the window-free decisions and apply the answers.
#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTreeWidget>

#include "scrivane/gui/boxlines.h"
#include "scrivane/gui/frmmain.h"
#include "scrivane/gui/frmscrivane.h"

namespace scrivane {

namespace {

int KeyCodeOf(const QKeyEvent* k) {
  switch (k->key()) {
    case Qt::Key_Backspace: return kKeyBack;
    case Qt::Key_Up: return kKeyUp;
    case Qt::Key_Down: return kKeyDown;
    default: return k->key();
  }
}

// The character code of a key that types a character (Tab, Enter, Backspace and Escape
// included), -1 for keys that do not, such as arrows and shortcuts.
int CharacterOf(const QKeyEvent* k) {
  if (k->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return -1;
  switch (k->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Tab: return 9;
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Escape: return 27;
    default: break;
  }
  const QString t = k->text();
  if (t.isEmpty() || t[0].unicode() < 32 || t[0].unicode() == 127) return -1;
  return t[0].unicode();
}

QStringList ItemTexts(const QTreeWidget* list) {
  QStringList items;
  items.reserve(list->topLevelItemCount());
  for (int i = 0; i < list->topLevelItemCount(); ++i) items << list->topLevelItem(i)->text(0);
  return items;
}

}  // namespace

HintPanels frmScrivane::Panels() const {
  HintPanels p;
  p.listUp = ListUp();
  p.helpUp = !picMain->isHidden();
  p.hasHelp = hasHelp_;
  p.lSpace = lSpace;
  p.intParens = intParens;
  const QTreeWidget* list = lvwParams_;  // a list never made has no current item
  p.listCurrent = list && list->currentItem() ? list->indexOfTopLevelItem(list->currentItem()) : -1;
  return p;
}

HintAnswer frmScrivane::Decide(const std::function<HintAnswer(const HintInput&)>& decide) {
  // The text is read through the document's blocks; the list's items only while the list is
  // up, the only time a decision looks at them.
  const BoxLines lines(*txtMain);
  const HintPanels panels = Panels();
  const QStringList items = panels.listUp ? ItemTexts(lvwCogParams) : QStringList();
  const HintInput in{lines, txtMain->SelStart(), txtMain->SelLength(), lsym, lsymend, panels, items,
                     main_ ? &main_->cogRefFunctions : nullptr};
  const HintAnswer a = decide(in);
  ApplyHint(a);
  return a;
}

void frmScrivane::txtMain_KeyDown(int& KeyCode, int /*Shift*/) {
  const HintAnswer a = Decide([&](const HintInput& in) { return TextKeyDown(in, KeyCode); });
  if (a.focusList) lvwCogParams_KeyDown(KeyCode, 0);
  if (a.swallowKey) KeyCode = 0;
}

void frmScrivane::txtMain_KeyPress(int keyascii) {
  Decide([&](const HintInput& in) { return TextKeyPress(in, keyascii); });
}

void frmScrivane::lvwCogParams_KeyDown(int& /*KeyCode*/, int /*Shift*/) {}

void frmScrivane::lvwCogParams_KeyPress(int keyascii) {
  Decide([&](const HintInput& in) { return ListKeyPress(in, keyascii); });
}

void frmScrivane::lvwCogParams_DblClick() { InsertParam(false); }

void frmScrivane::SelectWordBack() {
  const WordBack w = scrivane::SelectWordBack(BoxLines(*txtMain), txtMain->SelStart());
  txtMain->SetSelStart(w.start);
  txtMain->SetSelLength(w.length);
}

void frmScrivane::InsertParam(bool b) {
  Decide([&](const HintInput& in) { return scrivane::InsertParam(in, b); });
}

void frmScrivane::FindParam(int keyascii) {
  Decide([&](const HintInput& in) { return scrivane::FindParam(in, keyascii); });
}

void frmScrivane::ApplyHint(const HintAnswer& a) {
  if (a.edit) {
    txtMain->SetSelStart(a.editStart);
    txtMain->SetSelLength(a.editLength);
    txtMain->ReplaceSel(a.editText);
  }
  if (a.moveCaret && (txtMain->SelLength() != 0 || txtMain->SelStart() != a.caret)) txtMain->SetSelStart(a.caret);
  lSpace = a.panels.lSpace;
  intParens = a.panels.intParens;
  hasHelp_ = a.panels.hasHelp;

  if (a.panels.listCurrent >= 0 || a.scrollTo >= 0 || lvwParams_) {
    QTreeWidget* list = lvwCogParams;
    QTreeWidgetItem* current = a.panels.listCurrent >= 0 ? list->topLevelItem(a.panels.listCurrent) : nullptr;
    if (a.scrollTo >= 0) {
      if (QTreeWidgetItem* item = list->topLevelItem(a.scrollTo)) list->scrollToItem(item);
    }
    if (list->currentItem() != current) {
      list->setCurrentItem(current);
      if (!current) list->clearSelection();
    }
  }

  if (a.newHelp) {
    lblHelp->setText(a.helpText);
    if (main_) main_->txtCogDesc->setPlainText(a.description);
  }
  if (picMain->isHidden() == a.panels.helpUp) {
    picMain->setVisible(a.panels.helpUp);
    LayoutPanels();
    txtMain->ensureCursorVisible();
  }

  if (a.showPopup) {
    ShowPopup(picCogParams);
  } else if (!a.panels.listUp && ListUp()) {
    const bool hadFocus = picCogParams->isAncestorOf(QApplication::focusWidget());
    picCogParams->hide();
    if (hadFocus) txtMain->setFocus();
  }
  if (a.focusList) lvwCogParams->setFocus();
}

bool frmScrivane::eventFilter(QObject* o, QEvent* e) {
  if (e->type() == QEvent::KeyPress && (o == txtMain || o == lvwParams_)) {
    const auto* k = static_cast<QKeyEvent*>(e);
    int code = KeyCodeOf(k);
    const int ch = CharacterOf(k);
    if (o == txtMain) {
      txtMain_KeyDown(code, 0);
      if (code == 0) return true;
      if (ch >= 0) txtMain_KeyPress(ch);
      return false;  // the text box inserts the character
    }
    lvwCogParams_KeyDown(code, 0);
    if (ch >= 0 && ListUp()) {
      lvwCogParams_KeyPress(ch);
      return true;  // the list's characters choose a name; they never reach the text
    }
    return false;
  }
  if (e->type() == QEvent::MouseButtonDblClick && lvwParams_ && o == lvwParams_->viewport()) {
    lvwCogParams_DblClick();
    return true;
  }
  return QWidget::eventFilter(o, e);
}

void frmScrivane::TrackSections(int position, int charsAdded) {
  const QTextDocument* doc = txtMain->document();
  const int end = doc->characterCount() - 1;
  const int first = doc->findBlock(std::clamp(position, 0, end)).blockNumber();
  const int last = doc->findBlock(std::clamp(position + charsAdded, 0, end)).blockNumber();
  sections_.Changed(BoxLines(*txtMain), first, last);
}

void ShowPopup(QWidget* P) {
  frmScrivane* w = nullptr;
  for (QWidget* p = P ? P->parentWidget() : nullptr; p && !w; p = p->parentWidget()) w = qobject_cast<frmScrivane*>(p);
  if (!w) return;
  TextBox* t = w->txtMain;
  const QPoint origin = t->viewport()->mapTo(w, QPoint(0, 0));
  const QRect area = t->viewport()->rect().translated(origin);
  const int caretPos = t->textCursor().position();
  QRect before;
  bool usable = caretPos > 0;
  if (usable) {
    QTextCursor c(t->document());
    c.setPosition(caretPos - 1);
    before = t->cursorRect(c).translated(origin);
    usable = area.contains(before.topLeft());
  }
  const QRect caret = t->cursorRect().translated(origin);
  P->setGeometry(PopupRect(before, usable, caret, QFontMetrics(t->font()).height(), w->logicalDpiY(), area,
                           QSize(frmScrivane::kListWidth, frmScrivane::kListHeight)));
  P->show();
  P->raise();
}

}  // namespace scrivane

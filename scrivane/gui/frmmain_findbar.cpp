// The find bar's place in the main window: below the document area, searching the current
// document, opened from the Edit menu by keys of its own beside the Find and Replace boxes.
#include <QAction>
#include <QBoxLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QStatusBar>

#include "scrivane/gui/findbar.h"
#include "scrivane/gui/frmmain.h"
#include "scrivane/gui/frmscrivane.h"

namespace scrivane {

void frmMain::BuildFindBar(QBoxLayout* into) {
  // The bar itself is made when first opened; its place below the document area and in the Tab
  // order (after the last control made before it) are kept for it now.
  findBarRow_ = into;
  findBarFocusAfter_ = FocusableBefore(this, this);  // the chain ends with the last widget made so far
  auto item = [this](QAction*& a, const char* name, const QString& caption, const QKeySequence& key, bool replace) {
    a = new QAction(caption, this);
    a->setObjectName(QString::fromLatin1(name));
    a->setShortcut(key);
    mnuEditm->insertAction(mnuEditBar1, a);
    connect(a, &QAction::triggered, this, [this, replace] {
      if (CurrentCog()) findBar->Open(replace);
    });
  };
  item(mnuEditQuickFind, "mnuEditQuickFind", QStringLiteral("Quick F&ind"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F), false);
  item(mnuEditQuickReplace, "mnuEditQuickReplace", QStringLiteral("Quick Replac&e"), QKeySequence(Qt::CTRL | Qt::Key_H), true);
  // With this window as the context: its destructor cuts the document area's signals to it,
  // and the area's last activations (as the documents close) must not reach a window gone.
  connect(mdiArea, &QMdiArea::subWindowActivated, this, [this] {
    if (FindBar* bar = findBar.IfMade()) bar->Refresh();
  });
}

FindBar* frmMain::MakeFindBar() {
  auto* bar = new FindBar(
      [this]() -> TextBox* {
        frmScrivane* w = CurrentCog();
        return w ? w->txtMain : nullptr;
      },
      this);
  findBarRow_->addWidget(bar);
  // Made last, its controls come last in the Tab order: each is put back where the bar stood.
  QList<QWidget*> controls;
  for (QWidget* w = bar->nextInFocusChain(); bar->isAncestorOf(w); w = w->nextInFocusChain())
    if (w->focusPolicy() != Qt::NoFocus) controls << w;
  QWidget* before = findBarFocusAfter_;
  for (QWidget* w : controls) {
    if (before) QWidget::setTabOrder(before, w);
    before = w;
  }
  return bar;
}

void frmMain::ShowReplacedCount(int n) { statusBar()->showMessage(QStringLiteral("%1 replaced").arg(n), 15000); }

}  // namespace scrivane

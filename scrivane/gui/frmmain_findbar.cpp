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
  findBar = new FindBar(
      [this]() -> TextBox* {
        frmScrivane* w = CurrentCog();
        return w ? w->txtMain : nullptr;
      },
      this);
  into->addWidget(findBar);
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
  connect(mdiArea, &QMdiArea::subWindowActivated, this, [this] { findBar->Refresh(); });
}

void frmMain::ShowReplacedCount(int n) { statusBar()->showMessage(QStringLiteral("%1 replaced").arg(n), 15000); }

}  // namespace scrivane

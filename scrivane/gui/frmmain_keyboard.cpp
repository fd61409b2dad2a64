// The main window without a mouse and with a screen reader: F6 / Shift+F6 move the focus from
// panel to panel, Ctrl+Tab / Ctrl+Shift+Tab from document to document, Enter on a tree node
// does what its double click does, and every control carries a name of its own (labels are the
// buddies of their fields, a document's text is named by its file).
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>

#include "scrivane/gui/frmmain.h"
#include "scrivane/gui/frmscrivane.h"

namespace scrivane {

namespace {

// Enter (or Return) on a tree runs the tree's double-click gesture on its current node.
class EnterKeyFilter : public QObject {
 public:
  EnterKeyFilter(std::function<void()> run, QObject* parent) : QObject(parent), run_(std::move(run)) {}
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() != QEvent::KeyPress) return false;
    const auto* k = static_cast<QKeyEvent*>(e);
    if ((k->key() != Qt::Key_Return && k->key() != Qt::Key_Enter) || (k->modifiers() & ~Qt::KeypadModifier)) return false;
    run_();
    return true;
  }

 private:
  std::function<void()> run_;
};

bool Focusable(const QWidget* w) { return w && w->isVisible() && w->isEnabled() && w->focusPolicy() != Qt::NoFocus; }

}  // namespace

void frmMain::BuildKeyboardAccess() {
  auto item = [this](QAction*& a, const char* name, const QString& caption, const QKeySequence& key, auto run) {
    a = new QAction(caption, this);
    a->setObjectName(QString::fromLatin1(name));
    a->setShortcut(key);
    mnuWindow->insertAction(mnuWindowCascade, a);
    connect(a, &QAction::triggered, this, run);
  };
  item(mnuWindowNextPane, "mnuWindowNextPane", QStringLiteral("Next &Pane"), QKeySequence(Qt::Key_F6), [this] { MovePane(1); });
  item(mnuWindowPreviousPane, "mnuWindowPreviousPane", QStringLiteral("P&revious Pane"),
       QKeySequence(Qt::SHIFT | Qt::Key_F6), [this] { MovePane(-1); });
  item(mnuWindowNextDocument, "mnuWindowNextDocument", QStringLiteral("Next &Document"),
       QKeySequence(Qt::CTRL | Qt::Key_Tab), [this] { MoveDocument(1); });
  item(mnuWindowPreviousDocument, "mnuWindowPreviousDocument", QStringLiteral("Previous Doc&ument"),
       QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), [this] { MoveDocument(-1); });
  mnuWindowPreviousDocument->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab),
                                           QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab)});
  mnuWindow->insertSeparator(mnuWindowCascade);

  tvwCog->installEventFilter(new EnterKeyFilter([this] { tvwCog_DblClick(); }, tvwCog));

  // Names for screen readers; the Add Symbol fields are named by their labels, which become
  // their buddies (the frame's title alone named them all alike).
  const struct {
    QWidget* w;
    const char* name;
  } names[] = {{cmbTvwSel, "Tree shown"}, {tvwCog, "Reference tree"}, {txtCogDesc, "Description"},
               {cmbVarType, "Data Type"}, {txtVarName, "Name"},         {txtDefVal, "Value"},
               {chkLocal, "Local"},       {txtLinkID, "Link ID"},       {cmdAddVar, "Add Symbol"},
               {mdiArea, "Documents"}};
  for (const auto& n : names) n.w->setAccessibleName(QString::fromLatin1(n.name));
  const std::pair<const char*, QWidget*> buddies[] = {
      {"Data Type:", cmbVarType}, {"Name:", txtVarName}, {"Value:", txtDefVal}, {"Local:", chkLocal}, {"Link ID:", txtLinkID}};
  for (QLabel* l : fraAddSym->findChildren<QLabel*>())
    for (const auto& [text, field] : buddies)
      if (l->text() == QLatin1String(text)) l->setBuddy(field);
}

void frmMain::BramwiseKeyboardAccess(QTreeWidget* tree) {
  tree->installEventFilter(new EnterKeyFilter([this] { tvwBramwise_DblClick(); }, tree));
  tree->setAccessibleName(QStringLiteral("Bramwise tree"));
}

void frmMain::MovePane(int step) {
  QList<QWidget*> panes;
  if (frmScrivane* w = CurrentCog()) panes << w->txtMain;
  panes << (tvwCog->isHidden() ? static_cast<QWidget*>(tvwBramwise) : tvwCog);
  QWidget* form = nullptr;  // the form's first field that takes the focus
  for (QWidget* f : std::initializer_list<QWidget*>{cmbVarType, txtVarName, txtDefVal, chkLocal, txtLinkID, cmdAddVar})
    if (!form && Focusable(f)) form = f;
  panes << form << txtCogDesc;
  for (QWidget* w : findChildren<QWidget*>())
    if (w->property("pane").toBool()) panes << w;
  panes.removeAll(nullptr);
  QList<QWidget*> usable;
  for (QWidget* p : panes)
    if (Focusable(p)) usable << p;
  if (usable.isEmpty()) return;
  // The pane holding the focus now; the form counts as one pane whichever field has it.
  const QWidget* focus = focusWidget();
  int at = -1;
  for (int i = 0; i < usable.size(); ++i) {
    const QWidget* holder = usable[i] == form ? fraAddSym : usable[i];
    if (focus && (focus == holder || holder->isAncestorOf(focus))) at = i;
  }
  const int n = int(usable.size());
  const int next = at < 0 ? (step > 0 ? 0 : n - 1) : ((at + step) % n + n) % n;
  usable[next]->setFocus(step > 0 ? Qt::TabFocusReason : Qt::BacktabFocusReason);
}

void frmMain::MoveDocument(int step) {
  const QList<QMdiSubWindow*> subs = SubWindowsInOrder();
  if (subs.size() < 2) return;
  const int at = int(subs.indexOf(mdiArea->activeSubWindow()));
  const int n = int(subs.size());
  QMdiSubWindow* to = subs[at < 0 ? 0 : ((at + step) % n + n) % n];
  if (to->isMinimized()) to->showNormal();
  mdiArea->setActiveSubWindow(to);
  if (auto* w = qobject_cast<frmScrivane*>(to->widget())) w->txtMain->setFocus();
}

}  // namespace scrivane

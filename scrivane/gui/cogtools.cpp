#include "scrivane/gui/cogtools.h"

#include <QDockWidget>
#include <QHeaderView>
#include <QKeyEvent>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QStatusBar>
#include <QTabWidget>
#include <QTextBlock>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "common/ui/prompts.h"
#include "scrivane/core/cognav.h"
#include "scrivane/gui/coglive.h"
#include "scrivane/gui/frmmain.h"
#include "scrivane/gui/frmscrivane.h"
#include "scrivane/gui/problemsmodel.h"

namespace scrivane {
namespace {

constexpr int kOffsetRole = ProblemsModel::kOffsetRole;

QString Counted(int n, const char* one, const char* many) {
  return QStringLiteral("%1 %2").arg(n).arg(QLatin1String(n == 1 ? one : many));
}

QTreeWidget* NewList(QWidget* parent, const char* name) {
  auto* t = new QTreeWidget(parent);
  t->setObjectName(QString::fromLatin1(name));
  t->setRootIsDecorated(false);
  t->setUniformRowHeights(true);
  t->header()->setStretchLastSection(true);
  return t;
}

// Where the word that ends at the caret begins (letters, digits and "_").
int WordStart(const QString& text, int caret) {
  int s = caret;
  while (s > 0 && (text[s - 1].isLetterOrNumber() || text[s - 1] == u'_')) --s;
  return s;
}

}  // namespace

CogTools::CogTools(frmMain* main) : QObject(main), main_(main) {
  setObjectName(QStringLiteral("cogTools"));
  dock = new QDockWidget(QStringLiteral("Problems"), main);
  dock->setObjectName(QStringLiteral("dockProblems"));
  dock->setAllowedAreas(Qt::BottomDockWidgetArea | Qt::TopDockWidgetArea);
  main->addDockWidget(Qt::BottomDockWidgetArea, dock);
  dock->hide();
  // The panel gets its pages as it is first shown, whoever shows it.
  connect(dock, &QDockWidget::visibilityChanged, this, [this](bool shown) {
    if (shown) tabs.get();
  });

  status = new QToolButton(main);
  status->setObjectName(QStringLiteral("btnProblems"));
  status->setAutoRaise(true);
  status->setToolTip(QStringLiteral("Show the Problems list"));
  main->statusBar()->addPermanentWidget(status);
  connect(status, &QToolButton::clicked, this, [this] {
    tabs->setCurrentWidget(problems);
    dock->show();
  });

  QAction* toggle = dock->toggleViewAction();
  // Before the panel shows itself on the same signal.
  connect(toggle, &QAction::toggled, this, [this](bool on) {
    if (on) tabs.get();
  });
  toggle->setText(QStringLiteral("&Problems"));
  toggle->setObjectName(QStringLiteral("mnuViewProblems"));
  main->mnuView->addAction(toggle);

  auto item = [this, main](QAction*& a, const char* name, const QString& caption, const QKeySequence& key,
                           void (CogTools::*slot)()) {
    a = main->mnuEditm->addAction(caption);
    a->setObjectName(QString::fromLatin1(name));
    a->setShortcut(key);
    if (slot) connect(a, &QAction::triggered, this, slot);
  };
  main->mnuEditm->addSeparator();
  item(goToDefinition, "mnuEditDefinition", QStringLiteral("Go to &Definition"), QKeySequence(Qt::Key_F9),
       &CogTools::GoToDefinitionAtCaret);
  item(findUses, "mnuEditUses", QStringLiteral("Find &Uses"), QKeySequence(Qt::SHIFT | Qt::Key_F9), &CogTools::FindUsesAtCaret);
  item(nextProblem, "mnuEditNextProblem", QStringLiteral("Ne&xt Problem"), QKeySequence(Qt::Key_F4), nullptr);
  item(previousProblem, "mnuEditPreviousProblem", QStringLiteral("Pre&vious Problem"), QKeySequence(Qt::SHIFT | Qt::Key_F4),
       nullptr);
  item(completeWord, "mnuEditComplete", QStringLiteral("Complete &Word"), QKeySequence(Qt::CTRL | Qt::Key_Space),
       &CogTools::CompleteAtCaret);
  item(renameSymbol, "mnuEditRename", QStringLiteral("Rena&me Symbol..."), QKeySequence(), nullptr);
  connect(nextProblem, &QAction::triggered, this, [this] { StepProblem(1); });
  connect(previousProblem, &QAction::triggered, this, [this] { StepProblem(-1); });
  connect(renameSymbol, &QAction::triggered, this, [this] { RenameAtCaret(); });

  // The main window disconnects the document area from itself as it goes.
  connect(main->mdiArea, &QMdiArea::subWindowActivated, main, [this] { Activated(); });
  Refill();
}

QTabWidget* CogTools::MakePanel() {
  auto* pages = new QTabWidget(dock);
  pages->setObjectName(QStringLiteral("tabProblems"));
  problems_ = new ProblemsList(pages);
  problems_->setObjectName(QStringLiteral("lvwProblems"));
  problemRows_ = new ProblemsModel(problems_);
  problems_->setModel(problemRows_);
  problems_->installEventFilter(this);
  uses_ = NewList(pages, "lvwUses");
  uses_->setHeaderLabels({QStringLiteral("Line"), QStringLiteral("Col"), QStringLiteral("Text")});
  pages->addTab(problems_, QStringLiteral("Problems"));
  pages->addTab(uses_, QStringLiteral("Uses"));
  pages->setAccessibleName(QStringLiteral("Problems panel"));
  problems_->setAccessibleName(QStringLiteral("Problems list"));
  uses_->setAccessibleName(QStringLiteral("Uses list"));
  // F6 and Shift+F6 reach the page shown while the panel is open.
  for (QWidget* page : {static_cast<QWidget*>(problems_), static_cast<QWidget*>(uses_)}) page->setProperty("pane", true);
  dock->setWidget(pages);
  // The pages take the panel's place in the Tab order: after the last control that takes the
  // focus before it (which may itself have been made on first use since).
  if (QWidget* before = FocusableBefore(dock, main_)) QWidget::setTabOrder(before, pages);
  if (dock->isVisible()) pages->show();  // made while the panel shows itself
  for (QAbstractItemView* list : {static_cast<QAbstractItemView*>(problems_), static_cast<QAbstractItemView*>(uses_)}) {
    connect(list, &QAbstractItemView::clicked, this, &CogTools::GoTo);
    connect(list, &QAbstractItemView::activated, this, &CogTools::GoTo);
  }
  problemsBehind_ = true;
  FillProblems();
  return pages;
}

QListWidget* CogTools::MakeCompletionList() {
  auto* list = new QListWidget(main_);
  list->setObjectName(QStringLiteral("lstComplete"));
  list->setWindowFlags(Qt::Popup);
  list->installEventFilter(this);
  connect(list, &QListWidget::itemActivated, this, [this, list](QListWidgetItem* i) { Choose(list->row(i)); });
  connect(list, &QListWidget::itemClicked, this, [this, list](QListWidgetItem* i) { Choose(list->row(i)); });
  return list;
}

CogTools* CogTools::Of(frmMain* main) { return main->findChild<CogTools*>(QString(), Qt::FindDirectChildrenOnly); }

// The active document; while another window (a menu, a dialog) is active, the last one activated.
frmScrivane* CogTools::Document() const {
  frmScrivane* w = main_->ActiveCog();
  return w ? w : main_->CurrentCog();
}

void CogTools::Activated() {
  frmScrivane* w = Document();
  CogLive* live = w ? CogLive::Of(w->txtMain) : nullptr;
  if (live != live_) {
    if (live_) live_->disconnect(this);
    live_ = live;
    if (live) {
      connect(live, &CogLive::Checked, this, &CogTools::Refill);
      if (!w->txtMain->property("cogTools").toBool()) {
        w->txtMain->setProperty("cogTools", true);
        w->txtMain->installEventFilter(this);
      }
    }
  }
  if (tabs.IfMade()) uses->clear();
  Refill();
}

void CogTools::Refill() {
  const CogFindingList* s = live_ && live_->Findings() ? live_->Findings().get() : nullptr;
  const int errors = s ? s->Count(CogSeverity::Error) : 0, warnings = s ? s->Count(CogSeverity::Warning) : 0;
  status->setText(Counted(errors, "error", "errors") + QStringLiteral(", ") + Counted(warnings, "warning", "warnings"));
  status->setVisible(live_ != nullptr);
  problemsBehind_ = true;
  if (tabs.IfMade()) FillProblems();  // the pages come together, whoever made them
}

void CogTools::FillProblems() {
  if (!problemsBehind_ || !problems_->isVisible()) return;
  problemsBehind_ = false;
  // A current row whose finding was read again stays on it: the nearest row with its code and
  // message, when one is near.
  const QModelIndex was = problems_->currentIndex();
  const auto finding = [this](int row) {
    return problemRows_->index(row, 3).data().toString() + u'\n' + problemRows_->index(row, 4).data().toString();
  };
  const QString current = was.isValid() ? finding(was.row()) : QString();
  problemRows_->Show(live_ ? live_->Findings() : nullptr);
  const QModelIndex now = problems_->currentIndex();
  if (!was.isValid() || (now.isValid() && finding(now.row()) == current)) return;
  constexpr int kNear = 64;
  for (int d = 0; d <= kNear; ++d) {
    for (const int row : {was.row() - d, was.row() + d}) {
      if (row >= 0 && row < problemRows_->rowCount() && finding(row) == current) {
        problems_->setCurrentIndex(problemRows_->index(row, was.column()));
        return;
      }
    }
  }
}

void CogTools::RecheckAll() {
  for (frmScrivane* w : main_->colCogs) CogLive::Of(w->txtMain)->Recheck();
}

void CogTools::GoTo(const QModelIndex& index) {
  frmScrivane* w = Document();
  if (!w || !index.isValid()) return;
  QTextCursor c(w->txtMain->document());
  c.setPosition(std::min<int>(index.siblingAtColumn(0).data(kOffsetRole).toInt(), w->txtMain->document()->characterCount() - 1));
  w->txtMain->setTextCursor(c);
  w->txtMain->centerCursor();
  w->txtMain->setFocus();
}

void CogTools::StepProblem(int direction) {
  frmScrivane* w = Document();
  if (!w || !live_) return;
  const int target = live_->NextShown(w->txtMain->textCursor().position(), direction);
  if (target < 0) return;
  QTextCursor c(w->txtMain->document());
  c.setPosition(std::min(target, w->txtMain->document()->characterCount() - 1));
  w->txtMain->setTextCursor(c);
  w->txtMain->ensureCursorVisible();
  main_->statusBar()->showMessage(live_->MessagesAt(target), 5000);
}

void CogTools::GoToDefinitionAtCaret() {
  if (frmScrivane* w = Document()) CogLive::Of(w->txtMain)->GoToDefinition(w->txtMain->textCursor().position());
}

void CogTools::FindUsesAtCaret() {
  frmScrivane* w = Document();
  if (!w) return;
  CogLive* live = CogLive::Of(w->txtMain);
  const CogScript& s = live->CheckNow();
  const QString text = w->txtMain->WidgetText();
  const QString name = CogNameAt(s, text, w->txtMain->textCursor().position());
  const std::vector<CogRange> found = CogUsesOf(s, text, name);
  live->ShowUses(found);
  uses->clear();
  QList<QTreeWidgetItem*> items;
  for (const CogRange& r : found) {
    const QTextBlock b = w->txtMain->document()->findBlock(int(r.offset));
    auto* i = new QTreeWidgetItem({QString::number(r.line), QString::number(r.column), b.text().trimmed()});
    i->setData(0, kOffsetRole, qlonglong(r.offset));
    items << i;
  }
  uses->addTopLevelItems(items);
  main_->statusBar()->showMessage(name.isEmpty() ? QStringLiteral("No symbol at the caret")
                                                 : QStringLiteral("%1 of '%2'").arg(Counted(int(found.size()), "use", "uses"), name),
                                  5000);
  if (!found.empty()) {
    dock->show();
    tabs->setCurrentWidget(uses);
  }
}

void CogTools::CompleteAtCaret() {
  frmScrivane* w = Document();
  if (!w) return;
  const QString text = w->txtMain->WidgetText();
  const int caret = w->txtMain->textCursor().position();
  completeStart_ = WordStart(text, caret);
  const std::vector<CogCompletion> found = CogCompletions(CogLive::Of(w->txtMain)->CheckNow(), text,
                                                          QStringView(text).mid(completeStart_, caret - completeStart_),
                                                          CogGameSetting());
  completions->clear();
  for (const CogCompletion& c : found) {
    auto* i = new QListWidgetItem(QStringLiteral("%1\t%2").arg(c.word, c.kind), completions);
    i->setData(Qt::UserRole, c.word);
    i->setData(Qt::UserRole + 1, c.kind);
  }
  if (found.empty()) {
    main_->statusBar()->showMessage(QStringLiteral("Nothing to complete"), 3000);
    return;
  }
  completing_ = w;
  if (found.size() == 1) {
    Choose(0);
    return;
  }
  completions->setCurrentRow(0);
  const QRect caretRect = w->txtMain->cursorRect();
  completions->resize(320, std::min(240, 8 + int(found.size()) * completions->sizeHintForRow(0)));
  completions->move(w->txtMain->viewport()->mapToGlobal(caretRect.bottomLeft()));
  completions->show();
  completions->setFocus();
}

void CogTools::Choose(int row) {
  completions->hide();
  frmScrivane* w = completing_;
  QListWidgetItem* item = completions->item(row);
  if (!w || !item) return;
  QTextCursor c = w->txtMain->textCursor();
  c.setPosition(completeStart_, QTextCursor::KeepAnchor);
  c.insertText(item->data(Qt::UserRole).toString());
  w->txtMain->setTextCursor(c);
  w->txtMain->setFocus();
  if (item->data(Qt::UserRole + 1).toString() == QLatin1String("verb")) {
    // As if "(" were typed: the function help comes up.
    w->txtMain_KeyPress('(');
    w->txtMain->ReplaceSel(QStringLiteral("("));
  }
}

void CogTools::RenameAtCaret(int position) {
  frmScrivane* w = Document();
  if (!w) return;
  if (position < 0) position = w->txtMain->textCursor().position();
  const CogScript& s = CogLive::Of(w->txtMain)->CheckNow();
  const QString text = w->txtMain->WidgetText();
  const QString name = CogNameAt(s, text, position);
  QString why;
  if (name.isEmpty() || s.FindSymbol(name) < 0) {
    CogRenameRanges(s, text, position, name, &why);
    tarvex::prompts().MsgBox(why, QStringLiteral("Rename Symbol"), tarvex::MsgButtons::OK, tarvex::MsgIcon::Information);
    return;
  }
  const QString newName = tarvex::prompts().InputBox(QStringLiteral("New name for '%1':").arg(name),
                                                     QStringLiteral("Rename Symbol"), name).trimmed();
  if (newName.isEmpty() || newName == name) return;
  const std::vector<CogRange> ranges = CogRenameRanges(s, text, position, newName, &why);
  if (ranges.empty()) {
    tarvex::prompts().MsgBox(why, QStringLiteral("Rename Symbol"), tarvex::MsgButtons::OK, tarvex::MsgIcon::Exclamation);
    return;
  }
  // One edit, one undo step; from the last place back, so earlier offsets stay right.
  QTextCursor c(w->txtMain->document());
  c.beginEditBlock();
  for (auto it = ranges.rbegin(); it != ranges.rend(); ++it) {
    c.setPosition(int(it->offset));
    c.setPosition(int(it->offset + it->length), QTextCursor::KeepAnchor);
    c.insertText(newName);
  }
  c.endEditBlock();
  main_->statusBar()->showMessage(QStringLiteral("Renamed '%1' to '%2' in %3").arg(name, newName, Counted(int(ranges.size()), "place", "places")), 5000);
}

bool CogTools::eventFilter(QObject* o, QEvent* e) {
  if (o == problems_) {
    if (e->type() == QEvent::Show) FillProblems();
    return false;
  }
  if (o == completions.IfMade() && e->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(e)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Tab) {
      Choose(completions->currentRow());
      return true;
    }
    if (key == Qt::Key_Escape) {
      completions->hide();
      if (completing_) completing_->txtMain->setFocus();
      return true;
    }
    return false;
  }
  if (e->type() == QEvent::ContextMenu) {
    auto* box = qobject_cast<TextBox*>(o);
    frmScrivane* w = Document();
    if (!box || !w || w->txtMain != box) return false;
    const auto* ce = static_cast<QContextMenuEvent*>(e);
    const int position = ce->reason() == QContextMenuEvent::Mouse
                             ? box->cursorForPosition(box->viewport()->mapFrom(box, ce->pos())).position()
                             : box->textCursor().position();
    QMenu* menu = box->ContextMenu();
    menu->addSeparator();
    menu->addAction(QStringLiteral("Go to &Definition"), this, [box, position] { CogLive::Of(box)->GoToDefinition(position); });
    QAction* rename = menu->addAction(QStringLiteral("Rena&me Symbol..."), this, [this, position] { RenameAtCaret(position); });
    rename->setObjectName(QStringLiteral("mnuContextRename"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(ce->globalPos());
    return true;
  }
  return false;
}

}  // namespace scrivane

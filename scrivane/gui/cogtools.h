#pragma once
// The script tools of the main window, over the active document's live findings: the Problems
// panel under the documents (the findings sorted by line; a click or Enter goes there) with a
// Uses page, the status bar's count of errors and warnings (a click opens the panel), and the
// commands Next/Previous Problem, Go to Definition, Find Uses, Complete Word and Rename Symbol.
#include <QObject>
#include <QPointer>

#include "scrivane/gui/onfirstuse.h"

class QAction;
class QDockWidget;
class QListWidget;
class QTabWidget;
class QWidget;
class QToolButton;
class QModelIndex;
class QTableView;
class QTreeWidget;

namespace scrivane {

class CogLive;
class ProblemsModel;
class frmMain;
class frmScrivane;

class CogTools : public QObject {
  Q_OBJECT
 public:
  explicit CogTools(frmMain* main);
  // The tools of a main window (made by its constructor).
  static CogTools* Of(frmMain* main);

  QDockWidget* dock;
  // The panel's pages are made when it is first shown or used, the list when first needed.
  // The two pages are made together with the panel: tabs.IfMade() tells whether they are there
  // (their own IfMade() stays empty while only the panel has been asked for).
  OnFirstUse<QTabWidget> tabs{[this] { return MakePanel(); }};  // "Problems", "Uses"
  OnFirstUse<QTableView> problems{[this] { return tabs.get(), problems_; }};
  OnFirstUse<QTreeWidget> uses{[this] { return tabs.get(), uses_; }};
  QToolButton* status;      // "1 error, 3 warnings"
  QAction *nextProblem, *previousProblem, *goToDefinition, *findUses, *completeWord, *renameSymbol;
  OnFirstUse<QListWidget> completions{[this] { return MakeCompletionList(); }};  // the completion list while it is up

  // The active document's findings are shown again (after a reading, or another document).
  void Refill();
  // Every open document is read again (the game to check for changed).
  void RecheckAll();
  // Moves the caret to the next (or previous) finding after (before) it, around the end.
  void StepProblem(int direction);
  void FindUsesAtCaret();
  void CompleteAtCaret();
  void RenameAtCaret(int position = -1);
  void GoToDefinitionAtCaret();

 private:
  void Activated();
  QTabWidget* MakePanel();
  QListWidget* MakeCompletionList();
  // The active document's findings into the Problems list, when it shows (else when it comes up).
  void FillProblems();
  void GoTo(const QModelIndex& index);
  void Choose(int row);
  bool eventFilter(QObject* o, QEvent* e) override;
  frmScrivane* Document() const;

  frmMain* main_;
  QTableView* problems_ = nullptr;  // made with the panel
  QTreeWidget* uses_ = nullptr;
  ProblemsModel* problemRows_ = nullptr;
  bool problemsBehind_ = false;  // the list has not yet shown the last reading
  QPointer<CogLive> live_;
  QPointer<frmScrivane> completing_;
  int completeStart_ = 0;
};

}  // namespace scrivane

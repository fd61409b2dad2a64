#pragma once
// Scrivane's main window: menus, the left panel with the trees, and the multi-document area
// holding the document windows.
#include <QHash>
#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <memory>
#include <unordered_map>

#include "scrivane/core/bramwise.h"
#include "scrivane/core/cogsyntax.h"
#include "scrivane/core/hints.h"
#include "scrivane/gui/mru.h"
#include "scrivane/gui/onfirstuse.h"

class QAction;
class QBoxLayout;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QMimeData;
namespace tarvex {
class ExecuteServer;
}
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace scrivane {

class FindBar;
class frmAbout;
class frmCGT;
class frmOptions;
class frmChkSyn;
class frmScrivane;
struct ScriptReadResult;

// The editor defaults, read from the settings store at start-up.
struct EditorDefaults {
  QString DefOpenDir, DefSaveDir;
  QString DefFontName = QStringLiteral("Courier New");
  bool DefFontBold = false, DefFontItalic = false;
  int DefFontSize = 8;
  QFont Font() const;
};

class frmMain : public QMainWindow {
  Q_OBJECT
 public:
  frmMain();
  ~frmMain() override;

  // Process-wide state.
  EditorDefaults defaults;
  QString strCurCog = QStringLiteral("cog1");
  QList<frmScrivane*> colCogs;  // open document windows in order of creation
  MRU objMRU;
  QStringList colSymTypes;
  QTreeWidgetItem* nodCogRef = nullptr;

  // Menus and their items (object names as the members).
  QMenu *mnuFile_m, *mnuEditm, *mnuCogFunct, *mnuView, *mnuWindow, *mnuHelpm;
  QAction *mnuFileNew, *mnuFileOpen, *mnuOpenTemp, *mnuFileClose, *mnuFileBar1, *mnuFileSave, *mnuFileSaveAs,
      *mnuFileSaveAll, *mnuFileBar3, *mnuFilePrint, *mnuFileBar2, *mnuFileBar6, *mnuFileExit;
  QAction* mnuFileMRU[4];
  QAction* mnuEdit[5];
  QAction *mnuEditBar1, *mnuEditChkSyn;
  QAction *mnuCFCollapse, *mnuCFExpand, *mnuCFBar1, *mnuCFFind, *mnuCFFindNext;
  QAction *mnuViewFont, *mnuViewOptions, *mnuViewBar1, *mnuViewRefresh;
  QAction *mnuWindowCascade, *mnuWindowTileHorizontal, *mnuWindowTileVertical, *mnuWindowArrangeIcons;
  QAction* mnuHelp;

  // The left panel.
  QWidget* picCogRef;
  // The document drop-down of the Bramwise view, made when that view is first chosen.
  OnFirstUse<QComboBox> cmbCog{[this] { return MakeCogList(); }};
  QComboBox* cmbTvwSel;
  QTreeWidget* tvwCog;
  // Made when the Bramwise view is first chosen (or the tree first used).
  OnFirstUse<QTreeWidget> tvwBramwise{[this] { return MakeBramwiseTree(); }};
  QGroupBox* fraAddSym;
  QComboBox* cmbVarType;
  QLineEdit *txtVarName, *txtDefVal, *txtLinkID;
  QCheckBox* chkLocal;
  QPushButton* cmdAddVar;
  QWidget* picCogDesc;
  QPlainTextEdit* txtCogDesc;
  QMdiArea* mdiArea;

  // Documents.
  frmScrivane* NewCog(const QString& strFile, const QString& strFileTitle);
  // Puts a file's content, already read, into the window and binds the window to the file.
  // Gives the read text to the window's box (moved in, so that it is given back as it goes in).
  void LoadCog(frmScrivane* w, const QString& strFile, const QString& strFileTitle, ScriptReadResult content);
  // Writes the window's text; false (after telling the user) when it could not be written.
  bool SaveCog(frmScrivane* w, const QString& strFile, const QString& strFileTitle);
  void RefreshCogList();
  void LoadMessageList(frmScrivane* w);
  // Opens a script or, for a template path, the template window.
  void OpenFile(const QString& path);
  // Reads the file and opens it in a new window; nullptr when it cannot be read.
  frmScrivane* OpenDocument(const QString& path, const QString& title);

  frmScrivane* CogByKey(const QString& key) const;
  frmScrivane* CurrentCog() const { return CogByKey(strCurCog); }
  frmScrivane* ActiveCog() const;
  QMdiSubWindow* SubWindowOf(frmScrivane* w) const;

  // The save prompt of a closing window; false when the user cancelled.
  bool QueryUnload(frmScrivane* w);
  void DocumentClosed(frmScrivane* w);

  // File commands on a given window. They return whether the text was written.
  bool SaveDocument(frmScrivane* w);
  bool SaveDocumentAs(frmScrivane* w);

  // Fills the reference tree from cogref.dat in the program folder. False when the file is
  // missing (the user has been told; the program must end). Lines it had to skip are kept in
  // cogRefProblems for the one message after start-up.
  bool LoadCogRef();
  QString cogRefProblems;
  // The reference's function names, which every document window colours as verbs.
  std::shared_ptr<const CogWords> cogWords = std::make_shared<const CogWords>();
  // Reference nodes in order of addition (1-based in CogRefNode) and by key (any letter case).
  QTreeWidgetItem* CogRefNode(int index) const;
  int CogRefNodeCount() const { return int(cogRefOrder_.size()); }
  QTreeWidgetItem* CogRefNodeByKey(const QString& key) const;
  // The reference's function entries by name, for the function help while typing.
  FunctionHelpIndex cogRefFunctions;
  static QString NodeTag(const QTreeWidgetItem* node);
  void tvwCog_NodeClick(QTreeWidgetItem* node);
  void tvwCog_DblClick();

  // The Bramwise tree (frmmain_bramwise.cpp): built from the document chosen in cmbCog; its
  // nodes by order of addition (1-based) and by key (any letter case).
  QTreeWidgetItem* nodBramwise = nullptr;
  void FillBramwise();
  // Puts a scan of document w into the tree (the second half of FillBramwise).
  void ShowBramwise(frmScrivane* w, const BramwiseScan& scan);
  QTreeWidgetItem* BramwiseNode(int index) const;
  int BramwiseNodeCount() const { return int(bramwiseOrder_.size()); }
  QTreeWidgetItem* BramwiseNodeByKey(const QString& key) const;
  void cmbTvwSel_Click();
  void cmbCog_Click();
  void mnuViewRefresh_Click();
  void tvwBramwise_NodeClick(QTreeWidgetItem* node);
  void tvwBramwise_DblClick();
  void tvwBramwise_AfterLabelEdit(QTreeWidgetItem* node, const QString& newString);
  void tvwBramwise_KeyDown(int keyCode);
  void cmdAddVar_Click();
  // The Tree menu (frmmain_tree.cpp), on whichever tree is shown.
  QString strTreeFind;
  int iTreeFind = 0;  // 1-based node index of the last hit
  void mnuCFCollapse_Click();
  void mnuCFExpand_Click();
  void mnuCFFind_Click();
  void mnuCFFindNext_Click();

  // Opens the template window on the template, modal over the main window (the window is
  // not shown when the template cannot be used).
  void OpenCogTemplate(const QString& path);
  frmCGT* TemplateWindow() const;
  // The folder Open Template starts in: the shipped templates while the open folder is the
  // program folder.
  QString TemplateFolder() const;

  // Listens for execute requests from other programs; false when the name is taken.
  bool StartDdeServer(const QString& name);
  void DdeExecute(const QString& command);
  // Files dropped anywhere on the main window, its document windows and trees: the first
  // local file opens; false when the data holds none (frmmain_drops.cpp).
  bool DropData(const QMimeData* data);
  static QString DefaultDdeServerName();

  // Lines up the document windows: 0 cascade, 1 tile horizontally, 2 tile vertically, 3 icons.
  void Arrange(int how);

  // Shows the panel layout for the current size (the three resize rules).
  void LayoutLeftPanel();

  // The status bar (frmmain_status.cpp): the active document's caret line and column, the
  // line-end style its file is saved with, and the code page.
  QLabel *lblCaretPos, *lblLineEnd, *lblCodePage;
  void UpdateStatusBar();
  // Keeps the status bar following a document window's caret.
  void TrackCaret(frmScrivane* w);

  // The main window's place (frmmain_window.cpp): as stored at the last close, or centred on
  // the screen; set before the window is first shown, stored when it unloads.
  void PlaceAtStart();
  void SaveWindowPlace(QString* fault) const;
  // Puts a new document window in the document area, below and right of those open, and
  // remembers the place, so that the window follows the area's size until the user moves or
  // resizes it.
  void PlaceNewDocument(QMdiSubWindow* sub);
  void FollowAreaSize();
  int CascadeStep() const;

  // Shows the Edit menu's Check Syntax item and its separator and enables the item (they are
  // created hidden, the item disabled).
  void EnableCheckSyntax();
  // The same, or hidden and disabled again, as the Options say.
  void ShowCheckSyntax(bool shown);

  // Everyday editing commands beside the text operations (frmmain_editcmds.cpp): Undo, Redo,
  // Cut, Copy, Paste and Select All on the current document, enabled as its text allows.
  QAction *mnuEditUndo = nullptr, *mnuEditRedo = nullptr, *mnuEditCut = nullptr, *mnuEditCopy = nullptr,
          *mnuEditPaste = nullptr, *mnuEditSelectAll = nullptr;
  void UpdateEditCommands();

  // Zoom of the document text (frmmain_zoom.cpp): steps of one point from the stored font,
  // for every document window, until the program ends; the stored font is not changed.
  QAction *mnuViewZoomIn = nullptr, *mnuViewZoomOut = nullptr, *mnuViewZoomReset = nullptr;
  int zoomSteps = 0;
  void Zoom(int steps);  // 0 goes back to the stored size
  // The stored font with the zoom applied: the font of every document window's text.
  QFont DocumentFont() const;

  // Go to Line (frmmain_goto.cpp): asks for "line" or "line:column" and centres that line.
  QAction* mnuEditGoTo = nullptr;
  void mnuEditGoTo_Click();

  // The find bar below the document area (frmmain_findbar.cpp), opened by Quick Find and
  // Quick Replace, made when first opened; and the count of a Replace All in the status bar.
  OnFirstUse<FindBar> findBar{[this] { return MakeFindBar(); }};
  QAction *mnuEditQuickFind = nullptr, *mnuEditQuickReplace = nullptr;
  void ShowReplacedCount(int n);

  // Keyboard and screen readers (frmmain_keyboard.cpp): F6 and Shift+F6 move the focus
  // between the document, the tree shown, the Add Symbol form, the description and any other
  // panel marked with the property "pane"; Ctrl+Tab and Ctrl+Shift+Tab go through the documents
  // in the Window menu's order; Enter on a tree node does what a double click does; every
  // control has a name of its own for screen readers.
  QAction *mnuWindowNextPane = nullptr, *mnuWindowPreviousPane = nullptr, *mnuWindowNextDocument = nullptr,
          *mnuWindowPreviousDocument = nullptr;
  void MovePane(int step);
  void MoveDocument(int step);

  // Files that cannot be written and files not there yet (frmmain_filestate.cpp). A read-only
  // file's window says so in its caption and the status bar; Save goes to Save As at once.
  QLabel* lblReadOnly = nullptr;
  void MarkReadOnly(frmScrivane* w, bool readOnly);
  // The command line's path: an existing file or template opens as OpenFile does; a file not
  // there yet in an existing folder opens as a new document bound to that path.
  void OpenFromCommandLine(const QString& path);

  // The Options dialog and the About box while they are open.
  frmOptions* OptionsWindow() const;
  frmAbout* AboutWindow() const;

 public slots:
  void mnuFileNew_Click();
  void mnuFileOpen_Click();
  void mnuOpenTemp_Click();
  void mnuFileClose_Click();
  void mnuFileSave_Click();
  void mnuFileSaveAs_Click();
  void mnuFileSaveAll_Click();
  void mnuFilePrint_Click();
  void mnuFileExit_Click();
  void mnuFileMRU_Click(int index);
  void mnuViewFont_Click();
  // Tells the user that settings could not be stored (SaveSetting's sentence); nothing when
  // fault is empty.
  void ReportSettingsFault(const QString& fault);
  void mnuViewOptions_Click();
  void mnuHelp_Click();
  void mnuEdit_Click(int index);
  void mnuEditChkSyn_Click();

 protected:
  void closeEvent(QCloseEvent* e) override;
  void changeEvent(QEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  bool eventFilter(QObject* o, QEvent* e) override;

 private:
  void BuildMenus();
  // The menu items added beside the fixed ones, and the hooks each new document window gets.
  void BuildEditCommands();
  void BuildZoomCommands();
  void WatchDocument(frmScrivane* w);
  void BuildFindBar(QBoxLayout* into);
  FindBar* MakeFindBar();
  QBoxLayout* findBarRow_ = nullptr;     // where the find bar goes when made
  QPointer<QWidget> findBarFocusAfter_;  // its controls' place in the Tab order: after this one
  void BuildKeyboardAccess();
  // Routes every file drag over this window's widgets to DropData (frmmain_drops.cpp).
  void AcceptFileDrops();
  void BuildStatusBar();
  QString AskOpenPath(const QString& filter, const QString& folder) const;
  void BuildLeftPanel();
  void FillWindowMenu();
  void ApplyFontToAll();
  QList<QMdiSubWindow*> SubWindowsInOrder() const;

  tarvex::ExecuteServer* dde_ = nullptr;
  void ConnectBramwise();
  QTreeWidget* MakeBramwiseTree();
  QComboBox* MakeCogList();
  void FillCogList(QComboBox* combo);
  bool cogListFilled_ = false;  // RefreshCogList has run
  // The height of the drop-downs' row at the top of the left panel.
  int DropDownRow(const QComboBox* cogList) const;
  // Enter on a Bramwise node and the tree's name for screen readers (frmmain_keyboard.cpp).
  void BramwiseKeyboardAccess(QTreeWidget* tree);
  // The document the Bramwise tree shows; empty while it shows none.
  QString BramwiseTag() const;
  void ClearBramwise();
  void RemoveBramwiseNode(QTreeWidgetItem* node);
  frmScrivane* BramwiseCog() const;
  void TreeFindFrom(int index);
  QList<QTreeWidgetItem*> bramwiseOrder_;
  // Views of the keys the items hold.
  std::unordered_map<QStringView, QTreeWidgetItem*, KeyHash, KeyEqual> bramwiseKeys_;
  bool bramwiseBusy_ = false;  // the tree is being changed by the program, not the user
  QList<QTreeWidgetItem*> cogRefOrder_;
  // The key of each item in that order; the index by key is made when it is first asked for.
  QStringList cogRefKeyNames_;
  mutable QHash<QString, QTreeWidgetItem*> cogRefKeys_;
  QList<QAction*> windowListActions_;
  bool unloaded_ = false;
  QPointer<frmChkSyn> chkSyn_;  // the syntax check dialog while it is open
  QPointer<frmCGT> cgt_;        // the template window while it is open
  QPointer<frmOptions> options_;
  QPointer<frmAbout> about_;
};

}  // namespace scrivane

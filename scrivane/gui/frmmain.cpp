#include "scrivane/gui/frmmain.h"

#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>
#ifndef Q_OS_WIN
#include <pwd.h>
#include <unistd.h>
#endif

#include "common/paths.h"
#include "common/prefs.h"
#include "common/text.h"
#include "common/ui/executeserver.h"
#include "common/ui/prompts.h"
#include "scrivane/core/shell.h"
#include "scrivane/gui/cogtools.h"
#include "scrivane/gui/frmscrivane.h"

namespace scrivane {

QFont EditorDefaults::Font() const {
  QFont f(DefFontName);
  f.setPointSize(std::max(DefFontSize, 1));
  f.setBold(DefFontBold);
  f.setItalic(DefFontItalic);
  f.setStyleHint(QFont::TypeWriter);
  return f;
}

frmMain::frmMain() {
  setObjectName(QStringLiteral("frmMain"));
  setWindowTitle(QStringLiteral("Scrivane - by Halvard"));
  AcceptFileDrops();

  auto* central = new QWidget(this);
  auto* layout = new QHBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  BuildLeftPanel();
  layout->addWidget(picCogRef);
  mdiArea = new QMdiArea(central);
  mdiArea->setObjectName(QStringLiteral("mdiArea"));
  mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  // The document area over the find bar.
  auto* right = new QVBoxLayout;
  right->setContentsMargins(0, 0, 0, 0);
  right->setSpacing(0);
  right->addWidget(mdiArea, 1);
  layout->addLayout(right, 1);
  setCentralWidget(central);
  picCogRef->installEventFilter(this);
  mdiArea->viewport()->installEventFilter(this);

  connect(mdiArea, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* sub) {
    UpdateStatusBar();
    if (sub)
      if (auto* w = qobject_cast<frmScrivane*>(sub->widget())) {
        strCurCog = w->Tag;
        w->CheckDisk();
      }
    UpdateEditCommands();
  });

  BuildMenus();
  BuildFindBar(right);
  BuildKeyboardAccess();
  ConnectBramwise();
  BuildStatusBar();
  new CogTools(this);
  resize(1000, 700);
  tarvex::prompts().SetParentWindow(this);
}

frmMain::~frmMain() {
  // The trees and the document area die after this window's members; their last signals
  // (a tree's current item, the next document window activated as each one closes) must not
  // reach them.
  mdiArea->disconnect(this);
  mdiArea->viewport()->removeEventFilter(this);
  if (QTreeWidget* t = tvwBramwise.IfMade()) {
    t->disconnect(this);
    t->model()->disconnect(this);
  }
  if (tarvex::prompts().ParentWindow() == this) tarvex::prompts().SetParentWindow(nullptr);
}

void frmMain::BuildMenus() {
  auto item = [this](QMenu* menu, QAction*& a, const char* name, const QString& caption,
                     const QKeySequence& key = QKeySequence()) {
    a = menu->addAction(caption);
    a->setObjectName(QString::fromLatin1(name));
    if (!key.isEmpty()) a->setShortcut(key);
    return a;
  };
  auto bar = [](QMenu* menu, QAction*& a, const char* name) {
    a = menu->addSeparator();
    a->setObjectName(QString::fromLatin1(name));
  };

  mnuFile_m = menuBar()->addMenu(QStringLiteral("&File"));
  mnuFile_m->setObjectName(QStringLiteral("mnuFile_m"));
  item(mnuFile_m, mnuFileNew, "mnuFileNew", QStringLiteral("&New"), QKeySequence(Qt::CTRL | Qt::Key_N));
  item(mnuFile_m, mnuFileOpen, "mnuFileOpen", QStringLiteral("&Open"), QKeySequence(Qt::CTRL | Qt::Key_O));
  item(mnuFile_m, mnuOpenTemp, "mnuOpenTemp", QStringLiteral("Open &Template"));
  item(mnuFile_m, mnuFileClose, "mnuFileClose", QStringLiteral("&Close"));
  bar(mnuFile_m, mnuFileBar1, "mnuFileBar1");
  item(mnuFile_m, mnuFileSave, "mnuFileSave", QStringLiteral("&Save"), QKeySequence(Qt::CTRL | Qt::Key_S));
  item(mnuFile_m, mnuFileSaveAs, "mnuFileSaveAs", QStringLiteral("Save &As"), QKeySequence(Qt::Key_F11));
  item(mnuFile_m, mnuFileSaveAll, "mnuFileSaveAll", QStringLiteral("Save Al&l"), QKeySequence(Qt::Key_F12));
  bar(mnuFile_m, mnuFileBar3, "mnuFileBar3");
  item(mnuFile_m, mnuFilePrint, "mnuFilePrint", QStringLiteral("&Print"), QKeySequence(Qt::CTRL | Qt::Key_P));
  bar(mnuFile_m, mnuFileBar2, "mnuFileBar2");
  for (int i = 0; i < 4; ++i) {
    mnuFileMRU[i] = mnuFile_m->addAction(QString());
    mnuFileMRU[i]->setObjectName(QStringLiteral("mnuFileMRU%1").arg(i));
    mnuFileMRU[i]->setVisible(false);
    connect(mnuFileMRU[i], &QAction::triggered, this, [this, i] { mnuFileMRU_Click(i); });
  }
  bar(mnuFile_m, mnuFileBar6, "mnuFileBar6");
  mnuFileBar6->setVisible(false);
  item(mnuFile_m, mnuFileExit, "mnuFileExit", QStringLiteral("E&xit"));

  mnuEditm = menuBar()->addMenu(QStringLiteral("&Edit"));
  mnuEditm->setObjectName(QStringLiteral("mnuEditm"));
  const char* editCaptions[5] = {"Match &Brace", "&Find Word", "Find &Next", "&Replace", "Replace &All"};
  const QKeySequence editKeys[5] = {QKeySequence(Qt::CTRL | Qt::Key_B), QKeySequence(Qt::CTRL | Qt::Key_F),
                                    QKeySequence(Qt::Key_F3), QKeySequence(Qt::CTRL | Qt::Key_R), QKeySequence()};
  for (int i = 0; i < 5; ++i) {
    mnuEdit[i] = mnuEditm->addAction(QString::fromLatin1(editCaptions[i]));
    mnuEdit[i]->setObjectName(QStringLiteral("mnuEdit%1").arg(i));
    if (!editKeys[i].isEmpty()) mnuEdit[i]->setShortcut(editKeys[i]);
    connect(mnuEdit[i], &QAction::triggered, this, [this, i] { mnuEdit_Click(i); });
  }
  mnuEdit[2]->setEnabled(false);
  bar(mnuEditm, mnuEditBar1, "mnuEditBar1");
  mnuEditBar1->setVisible(false);
  item(mnuEditm, mnuEditChkSyn, "mnuEditChkSyn", QStringLiteral("Check &Syntax"), QKeySequence(Qt::Key_F2));
  mnuEditChkSyn->setVisible(false);
  mnuEditChkSyn->setEnabled(false);
  connect(mnuEditChkSyn, &QAction::triggered, this, &frmMain::mnuEditChkSyn_Click);

  mnuCogFunct = menuBar()->addMenu(QStringLiteral("&Tree"));
  mnuCogFunct->setObjectName(QStringLiteral("mnuCogFunct"));
  item(mnuCogFunct, mnuCFCollapse, "mnuCFCollapse", QStringLiteral("&Collapse All"));
  item(mnuCogFunct, mnuCFExpand, "mnuCFExpand", QStringLiteral("&Expand All"));
  bar(mnuCogFunct, mnuCFBar1, "mnuCFBar1");
  item(mnuCogFunct, mnuCFFind, "mnuCFFind", QStringLiteral("&Find"), QKeySequence(Qt::Key_F7));
  item(mnuCogFunct, mnuCFFindNext, "mnuCFFindNext", QStringLiteral("Find &Next"), QKeySequence(Qt::Key_F8));

  mnuView = menuBar()->addMenu(QStringLiteral("&View"));
  mnuView->setObjectName(QStringLiteral("mnuView"));
  item(mnuView, mnuViewFont, "mnuViewFont", QStringLiteral("&Fonts"));
  item(mnuView, mnuViewOptions, "mnuViewOptions", QStringLiteral("&Options"));
  connect(mnuViewOptions, &QAction::triggered, this, &frmMain::mnuViewOptions_Click);
  bar(mnuView, mnuViewBar1, "mnuViewBar1");
  item(mnuView, mnuViewRefresh, "mnuViewRefresh", QStringLiteral("&Refresh Tree"), QKeySequence(Qt::Key_F5));

  mnuWindow = menuBar()->addMenu(QStringLiteral("&Window"));
  mnuWindow->setObjectName(QStringLiteral("mnuWindow"));
  item(mnuWindow, mnuWindowCascade, "mnuWindowCascade", QStringLiteral("&Cascade"));
  item(mnuWindow, mnuWindowTileHorizontal, "mnuWindowTileHorizontal", QStringLiteral("Tile &Horizontal"));
  item(mnuWindow, mnuWindowTileVertical, "mnuWindowTileVertical", QStringLiteral("Tile &Vertical"));
  item(mnuWindow, mnuWindowArrangeIcons, "mnuWindowArrangeIcons", QStringLiteral("&Arrange Icons"));
  connect(mnuWindow, &QMenu::aboutToShow, this, &frmMain::FillWindowMenu);

  mnuHelpm = menuBar()->addMenu(QStringLiteral("&Help"));
  mnuHelpm->setObjectName(QStringLiteral("mnuHelpm"));
  item(mnuHelpm, mnuHelp, "mnuHelp", QStringLiteral("&About"));
  connect(mnuHelp, &QAction::triggered, this, &frmMain::mnuHelp_Click);

  connect(mnuFileNew, &QAction::triggered, this, &frmMain::mnuFileNew_Click);
  connect(mnuFileOpen, &QAction::triggered, this, &frmMain::mnuFileOpen_Click);
  connect(mnuOpenTemp, &QAction::triggered, this, &frmMain::mnuOpenTemp_Click);
  connect(mnuFileClose, &QAction::triggered, this, &frmMain::mnuFileClose_Click);
  connect(mnuFileSave, &QAction::triggered, this, &frmMain::mnuFileSave_Click);
  connect(mnuFileSaveAs, &QAction::triggered, this, &frmMain::mnuFileSaveAs_Click);
  connect(mnuFileSaveAll, &QAction::triggered, this, &frmMain::mnuFileSaveAll_Click);
  connect(mnuFilePrint, &QAction::triggered, this, &frmMain::mnuFilePrint_Click);
  connect(mnuFileExit, &QAction::triggered, this, &frmMain::mnuFileExit_Click);
  connect(mnuViewFont, &QAction::triggered, this, &frmMain::mnuViewFont_Click);
  connect(mnuWindowCascade, &QAction::triggered, this, [this] { Arrange(0); });
  connect(mnuWindowTileHorizontal, &QAction::triggered, this, [this] { Arrange(1); });
  connect(mnuWindowTileVertical, &QAction::triggered, this, [this] { Arrange(2); });
  connect(mnuWindowArrangeIcons, &QAction::triggered, this, [this] { Arrange(3); });
  BuildEditCommands();
  BuildZoomCommands();
}

void frmMain::BuildLeftPanel() {
  picCogRef = new QWidget(this);
  picCogRef->setObjectName(QStringLiteral("picCogRef"));
  picCogRef->setFixedWidth(TwipsToPixels(3600, logicalDpiX()));  // widened for large fonts below

  cmbTvwSel = new QComboBox(picCogRef);
  cmbTvwSel->setObjectName(QStringLiteral("cmbTvwSel"));
  cmbTvwSel->addItems({QStringLiteral("CogRef"), QStringLiteral("Bramwise")});
  cmbTvwSel->setCurrentIndex(-1);

  tvwCog = new QTreeWidget(picCogRef);
  tvwCog->setObjectName(QStringLiteral("tvwCog"));
  tvwCog->setHeaderHidden(true);
  // Every node is one line of plain text in the tree's font: the first row's height is every
  // row's, so rows are not each measured when the tree is shown or expanded.
  tvwCog->setUniformRowHeights(true);
  tvwCog->hide();
  // The description follows the current node, however it became current (click or keys).
  connect(tvwCog, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) { tvwCog_NodeClick(item); });
  connect(tvwCog, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) { tvwCog_NodeClick(item); });
  connect(tvwCog, &QTreeWidget::itemDoubleClicked, this, [this] { tvwCog_DblClick(); });

  fraAddSym = new QGroupBox(QStringLiteral("Add Symbol"), picCogRef);
  fraAddSym->setObjectName(QStringLiteral("fraAddSym"));
  auto* grid = new QGridLayout(fraAddSym);
  grid->setContentsMargins(6, 4, 6, 4);
  grid->setVerticalSpacing(2);
  auto label = [&](const char* text, int row) { grid->addWidget(new QLabel(QString::fromLatin1(text), fraAddSym), row, 0); };
  cmbVarType = new QComboBox(fraAddSym);
  cmbVarType->setObjectName(QStringLiteral("cmbVarType"));
  // Its items and no current one before it is made editable, so that its line edit is not
  // first given the first item's text to lay out; and since the grid gives it its size, it
  // need not size itself to its items as it is made editable.
  cmbVarType->addItems(SymbolTypeNames());
  cmbVarType->setCurrentIndex(-1);
  cmbVarType->setAttribute(Qt::WA_Resized);
  cmbVarType->setEditable(true);
  cmbVarType->setInsertPolicy(QComboBox::NoInsert);
  cmbVarType->setEditText(QStringLiteral("Choose One..."));
  // Wide enough for its prompt in any font.
  cmbVarType->setMinimumContentsLength(int(QStringLiteral("Choose One...").size()));
  cmbVarType->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  cmbVarType->setToolTip(QStringLiteral("Choose the data type of the new variable"));
  txtVarName = new QLineEdit(fraAddSym);
  txtVarName->setObjectName(QStringLiteral("txtVarName"));
  txtVarName->setToolTip(QStringLiteral("Enter the name of the variable to create"));
  txtDefVal = new QLineEdit(fraAddSym);
  txtDefVal->setObjectName(QStringLiteral("txtDefVal"));
  txtDefVal->setToolTip(QStringLiteral("Enter the Default Value here"));
  chkLocal = new QCheckBox(fraAddSym);
  chkLocal->setObjectName(QStringLiteral("chkLocal"));
  txtLinkID = new QLineEdit(fraAddSym);
  txtLinkID->setObjectName(QStringLiteral("txtLinkID"));
  cmdAddVar = new QPushButton(QStringLiteral("Add"), fraAddSym);
  cmdAddVar->setObjectName(QStringLiteral("cmdAddVar"));
  label("Data Type:", 0);
  grid->addWidget(cmbVarType, 0, 1);
  label("Name:", 1);
  grid->addWidget(txtVarName, 1, 1);
  label("Value:", 2);
  grid->addWidget(txtDefVal, 2, 1);
  label("Local:", 3);
  auto* row = new QHBoxLayout;
  row->setSpacing(grid->horizontalSpacing());  // the grid's own: its two spacings differ, so none is inherited
  row->addWidget(chkLocal);
  row->addWidget(new QLabel(QStringLiteral("Link ID:"), fraAddSym));
  row->addWidget(txtLinkID, 1);
  grid->addLayout(row, 3, 1);
  grid->addWidget(cmdAddVar, 4, 1, Qt::AlignRight);

  picCogDesc = new QWidget(picCogRef);
  picCogDesc->setObjectName(QStringLiteral("picCogDesc"));
  txtCogDesc = new QPlainTextEdit(picCogDesc);
  txtCogDesc->setObjectName(QStringLiteral("txtCogDesc"));
  txtCogDesc->setReadOnly(true);
  auto* descLayout = new QVBoxLayout(picCogDesc);
  descLayout->setContentsMargins(0, 0, 0, 0);
  descLayout->addWidget(txtCogDesc);
  // At least as wide as the add-symbol form needs in the font in use.
  picCogRef->setFixedWidth(std::max(picCogRef->width(), fraAddSym->minimumSizeHint().width()));
}

void frmMain::LayoutLeftPanel() {
  if (isMinimized()) return;
  const double dpi = logicalDpiY();
  auto tw = [dpi](int twips) { return TwipsToPixels(twips, dpi); };
  const int w = picCogRef->width();
  const int inner = picCogRef->height();
  // The drop-downs and the add-symbol frame as tall as their font needs, at least the usual
  // twips; the trees take the height less a fixed 3165 twips and less whatever more those need.
  const int top = DropDownRow(cmbCog.IfMade());
  const int comboH = top - 2;
  // The row reads from the left: which tree is shown, then (for Bramwise) which document.
  cmbTvwSel->setGeometry(0, 0, w / 2, comboH);
  if (QComboBox* cogList = cmbCog.IfMade()) cogList->setGeometry(w / 2, 0, w - w / 2, comboH);
  const int fraH = std::max(tw(1800), fraAddSym->sizeHint().height());
  const int treeH = std::max(0, inner - tw(3165) - (top - tw(350)) - (fraH - tw(1800)));
  tvwCog->setGeometry(0, top, w, treeH);
  if (QTreeWidget* t = tvwBramwise.IfMade()) t->setGeometry(0, top, w, treeH);
  const int fraTop = treeH + top;
  fraAddSym->setGeometry(0, fraTop, w, fraH);
  const int descTop = fraTop + fraH;
  picCogDesc->setGeometry(0, descTop, w, std::max(0, inner - descTop));
}

int frmMain::DropDownRow(const QComboBox* cogList) const {
  // (Both drop-downs are as tall in the styles in use; the Bramwise one is not made before it
  // is needed.)
  const int hint = std::max(cogList ? cogList->sizeHint().height() : 0, cmbTvwSel->sizeHint().height());
  return std::max(TwipsToPixels(350, logicalDpiY()), hint + 2);
}

void frmMain::changeEvent(QEvent* e) {
  QMainWindow::changeEvent(e);
  // Back from another program: the active document's file may have been changed there.
  if (e->type() == QEvent::ActivationChange && isActiveWindow())
    if (frmScrivane* w = ActiveCog()) w->CheckDisk();
}

void frmMain::resizeEvent(QResizeEvent* e) {
  QMainWindow::resizeEvent(e);
  LayoutLeftPanel();
}

bool frmMain::eventFilter(QObject* o, QEvent* e) {
  if (o == picCogRef && e->type() == QEvent::Resize) LayoutLeftPanel();
  if (o == mdiArea->viewport() && e->type() == QEvent::Resize) FollowAreaSize();
  return QMainWindow::eventFilter(o, e);
}

QList<QMdiSubWindow*> frmMain::SubWindowsInOrder() const {
  QList<QMdiSubWindow*> out;
  for (frmScrivane* w : colCogs)
    if (QMdiSubWindow* s = SubWindowOf(w)) out << s;
  return out;
}

void frmMain::FillWindowMenu() {
  qDeleteAll(windowListActions_);
  windowListActions_.clear();
  const QList<QMdiSubWindow*> subs = SubWindowsInOrder();
  if (subs.isEmpty()) return;
  windowListActions_ << mnuWindow->addSeparator();
  QMdiSubWindow* active = mdiArea->activeSubWindow();
  int i = 0;
  for (QMdiSubWindow* s : subs) {
    ++i;
    QString title = s->windowTitle();
    title.replace(QLatin1Char('&'), QStringLiteral("&&"));
    QAction* a = mnuWindow->addAction(i < 10 ? QStringLiteral("&%1 %2").arg(i).arg(title)
                                             : QStringLiteral("%1 %2").arg(i).arg(title));
    a->setCheckable(true);
    a->setChecked(s == active);
    connect(a, &QAction::triggered, this, [this, s] {
      if (s->isMinimized()) s->showNormal();
      mdiArea->setActiveSubWindow(s);
    });
    windowListActions_ << a;
  }
}

void frmMain::Arrange(int how) {
  const QRect area(QPoint(0, 0), mdiArea->viewport()->size());
  QList<QMdiSubWindow*> normal, minimized;
  for (QMdiSubWindow* s : SubWindowsInOrder()) (s->isMinimized() ? minimized : normal) << s;
  if (how == 3) {
    if (minimized.isEmpty()) return;
    const auto rects = ArrangeIconRects(area, int(minimized.size()), minimized.first()->size());
    for (int i = 0; i < minimized.size(); ++i) minimized[i]->move(rects[i].topLeft());
    return;
  }
  std::vector<QRect> rects;
  const int n = int(normal.size());
  if (how == 0) {
    rects = CascadeRects(area, n, CascadeStep());
  } else if (how == 1) {
    rects = TileHorizontalRects(area, n);
  } else {
    rects = TileVerticalRects(area, n);
  }
  for (int i = 0; i < n; ++i) {
    if (normal[i]->isMaximized()) normal[i]->showNormal();
    normal[i]->setGeometry(rects[size_t(i)]);
    if (how == 0) normal[i]->raise();
  }
}

// ---- Entry points from outside: DDE stand-in, drops, close ----

QString frmMain::DefaultDdeServerName() {
#ifdef Q_OS_WIN
  const QString user = qEnvironmentVariable("USERNAME");
#else
  // The process's real login name: $USER may be unset, or name someone else after su.
  const passwd* pw = ::getpwuid(::geteuid());
  const QString user = pw ? QString::fromLocal8Bit(pw->pw_name) : QString::number(::geteuid());
#endif
  return QStringLiteral("Scrivane-") + user;
}

bool frmMain::StartDdeServer(const QString& name) {
  delete dde_;
  dde_ = new tarvex::ExecuteServer(this);
  if (!dde_->Listen(name)) {
    delete dde_;
    dde_ = nullptr;
    return false;
  }
  connect(dde_, &tarvex::ExecuteServer::Request, this, &frmMain::DdeExecute);
  return true;
}

void frmMain::DdeExecute(const QString& command) {
  tarvex::prompts().MsgBox(command, QStringLiteral("Scrivane"));
  OpenFile(command);
  if (isMinimized()) showNormal();
  raise();
  activateWindow();
}

void frmMain::mnuFileExit_Click() { close(); }

void frmMain::closeEvent(QCloseEvent* e) {
  // Every document window is asked first, in registry order; one Cancel keeps them all.
  const QList<frmScrivane*> docs = colCogs;
  for (frmScrivane* w : docs) {
    if (!QueryUnload(w)) {
      for (frmScrivane* d : docs)
        if (colCogs.contains(d)) d->bPromptAnswered = false;
      e->ignore();
      return;
    }
    w->bPromptAnswered = true;
  }
  for (frmScrivane* w : docs)
    if (QMdiSubWindow* s = SubWindowOf(w)) s->close();
  if (!unloaded_) {
    unloaded_ = true;
    QString fault;
    SaveWindowPlace(&fault);
    objMRU.SaveMRU(mnuFileMRU, &fault);
    tarvex::prefs::DefOpenDir.Set(defaults.DefOpenDir, &fault);
    tarvex::prefs::DefSaveDir.Set(defaults.DefSaveDir, &fault);
    ReportSettingsFault(fault);
  }
  e->accept();
}

}  // namespace scrivane

// The Bramwise symbol tree of the main window and the add-symbol form. The scan and the text
// edits are window-free (core/bramwise); here the scan's nodes become tree items with a key
// index beside them, and the tree's gestures (click, double click, label edit, Delete) and the
// form's "Add" button become calls on the document's text model.
#include <QAbstractItemModel>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QTreeWidget>

#include "common/text.h"
#include "common/ui/prompts.h"
#include "scrivane/core/bramwise.h"
#include "scrivane/core/cogref.h"
#include "scrivane/gui/frmmain.h"
#include "scrivane/gui/frmscrivane.h"

namespace scrivane {

namespace {

// A node of the tree with what the scan said about it. Its tag answers the role the
// reference tree's items keep their tag in, so NodeTag reads both trees.
class BramwiseItem : public QTreeWidgetItem {
 public:
  explicit BramwiseItem(const scrivane::BramwiseNode& n)
      : QTreeWidgetItem(QStringList{n.text}, QTreeWidgetItem::UserType), key(n.key), tag(n.tag), label(n.text),
        kind(n.kind) {}
  QVariant data(int column, int role) const override {
    return role == Qt::UserRole ? QVariant(tag) : QTreeWidgetItem::data(column, role);
  }
  QString key;  // follows the text when a rename changes the node's line
  const QString tag;
  QString label;  // the text before the user edits it
  const BramwiseKind kind;
};

BramwiseItem* Item(QTreeWidgetItem* node) { return static_cast<BramwiseItem*>(node); }
BramwiseKind KindOf(QTreeWidgetItem* node) { return Item(node)->kind; }
const QString& KeyOf(QTreeWidgetItem* node) { return Item(node)->key; }

// Symbols, handlers and comments stand for text of their own; the other nodes do not.
bool IsTextNode(BramwiseKind k) {
  return k == BramwiseKind::Symbol || k == BramwiseKind::Handler || k == BramwiseKind::Comment;
}

// Hands the Delete key (with any shift state) to the tree's key handler.
class DeleteKeyFilter : public QObject {
 public:
  DeleteKeyFilter(frmMain* main, QObject* parent) : QObject(parent), main_(main) {}
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() != QEvent::KeyPress || static_cast<QKeyEvent*>(e)->key() != Qt::Key_Delete) return false;
    main_->tvwBramwise_KeyDown(46);
    return true;
  }

 private:
  frmMain* main_;
};

// Sets a flag for the life of the object.
struct Busy {
  explicit Busy(bool& b) : b_(b), old_(b) { b_ = true; }
  ~Busy() { b_ = old_; }
  bool& b_;
  bool old_;
};

}  // namespace

void frmMain::ConnectBramwise() {
  connect(cmbTvwSel, &QComboBox::currentIndexChanged, this, &frmMain::cmbTvwSel_Click);
  connect(mnuViewRefresh, &QAction::triggered, this, &frmMain::mnuViewRefresh_Click);
  connect(cmdAddVar, &QPushButton::clicked, this, &frmMain::cmdAddVar_Click);
  connect(mnuCFCollapse, &QAction::triggered, this, &frmMain::mnuCFCollapse_Click);
  connect(mnuCFExpand, &QAction::triggered, this, &frmMain::mnuCFExpand_Click);
  connect(mnuCFFind, &QAction::triggered, this, &frmMain::mnuCFFind_Click);
  connect(mnuCFFindNext, &QAction::triggered, this, &frmMain::mnuCFFindNext_Click);

}

QTreeWidget* frmMain::MakeBramwiseTree() {
  auto* tree = new QTreeWidget(picCogRef);
  tree->setObjectName(QStringLiteral("tvwBramwise"));
  tree->setHeaderHidden(true);
  tree->hide();
  // In the reference tree's place, and after it among the panel's widgets and in the Tab order,
  // as if it had been made with it.
  tree->setGeometry(tvwCog->geometry());
  tree->stackUnder(fraAddSym);
  QWidget::setTabOrder(tvwCog, tree);
  // A double click is the jump gesture; a label is edited by clicking the current node or F2.
  tree->setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
  tree->installEventFilter(new DeleteKeyFilter(this, tree));
  connect(tree, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) { tvwBramwise_NodeClick(item); });
  connect(tree, &QTreeWidget::itemDoubleClicked, this, [this] { tvwBramwise_DblClick(); });
  // The node the user moves to with the keys is the one the gestures act on, as after a click.
  connect(tree, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
    if (!bramwiseBusy_ && item) nodBramwise = item;
  });
  connect(tree, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int) {
    if (bramwiseBusy_ || item->text(0) == Item(item)->label) return;
    tvwBramwise_AfterLabelEdit(item, item->text(0));
  });
  // Whoever empties the tree (also a closing document) empties the index with it.
  connect(tree->model(), &QAbstractItemModel::modelReset, this, [this] {
    bramwiseOrder_.clear();
    bramwiseKeys_.clear();
    nodBramwise = nullptr;
  });
  BramwiseKeyboardAccess(tree);
  return tree;
}

QComboBox* frmMain::MakeCogList() {
  auto* combo = new QComboBox(picCogRef);
  combo->setObjectName(QStringLiteral("cmbCog"));
  combo->setEditable(true);
  combo->setInsertPolicy(QComboBox::NoInsert);
  combo->setEditText(QStringLiteral("Choose Cog"));
  combo->setAccessibleName(QStringLiteral("Document for the Bramwise tree"));
  combo->hide();
  // First among the panel's widgets, and after the tree chooser in the Tab order, as if it had
  // been made with them.
  combo->stackUnder(cmbTvwSel);
  QWidget::setTabOrder(cmbTvwSel, combo);
  connect(combo, &QComboBox::activated, this, &frmMain::cmbCog_Click);
  if (cogListFilled_) FillCogList(combo);
  const int w = picCogRef->width();
  combo->setGeometry(w / 2, 0, w - w / 2, DropDownRow(combo) - 2);
  return combo;
}

void frmMain::cmbTvwSel_Click() {
  const bool bramwise = tarvex::SameText(cmbTvwSel->currentText(), QStringLiteral("Bramwise"));
  tvwCog->setVisible(!bramwise);
  if (bramwise || tvwBramwise.IfMade()) tvwBramwise->setVisible(bramwise);
  if (bramwise && !cmbCog.IfMade()) {
    cmbCog.get();
    LayoutLeftPanel();
  }
  if (cmbCog.IfMade()) cmbCog->setVisible(bramwise);
}

void frmMain::cmbCog_Click() { FillBramwise(); }
void frmMain::mnuViewRefresh_Click() { FillBramwise(); }

QTreeWidgetItem* frmMain::BramwiseNode(int index) const {
  return index >= 1 && index <= bramwiseOrder_.size() ? bramwiseOrder_[index - 1] : nullptr;
}

QTreeWidgetItem* frmMain::BramwiseNodeByKey(const QString& key) const {
  const auto it = bramwiseKeys_.find(QStringView(key));
  return it == bramwiseKeys_.end() ? nullptr : it->second;
}

QString frmMain::BramwiseTag() const {
  const QTreeWidget* tree = tvwBramwise.IfMade();
  return tree ? tree->property("Tag").toString() : QString();
}

frmScrivane* frmMain::BramwiseCog() const { return CogByKey(BramwiseTag()); }

void frmMain::ClearBramwise() {
  Busy busy(bramwiseBusy_);
  tvwBramwise->clear();  // the index goes with the modelReset
}

void frmMain::FillBramwise() {
  const int k = cmbCog.IfMade() && cmbCog->currentIndex() >= 0 ? cmbCog->currentData().toInt() : 0;
  if (k < 1 || k > colCogs.size()) return;  // no document chosen: the tree stays as it is
  frmScrivane* w = colCogs[k - 1];
  ClearBramwise();
  tvwBramwise->setProperty("Tag", w->Tag);
  ShowBramwise(w, ScanBramwise(w->txtMain->Text(), w->Caption(), colSymTypes));
}

void frmMain::ShowBramwise(frmScrivane* w, const BramwiseScan& scan) {
  if (!scan.nodes.empty()) {
    Busy busy(bramwiseBusy_);
    std::vector<QTreeWidgetItem*> items;
    items.reserve(scan.nodes.size());
    bramwiseOrder_.reserve(qsizetype(scan.nodes.size()));
    bramwiseKeys_.reserve(scan.nodes.size());
    for (const scrivane::BramwiseNode& n : scan.nodes) {
      auto* item = new BramwiseItem(n);
      if (IsTextNode(n.kind)) item->setFlags(item->flags() | Qt::ItemIsEditable);
      if (n.parent >= 0) items[size_t(n.parent)]->addChild(item);
      items.push_back(item);
      bramwiseOrder_ << item;
      bramwiseKeys_.emplace(QStringView(item->key), item);
    }
    tvwBramwise->addTopLevelItem(items.front());
    items.front()->setExpanded(true);
    if (scan.duplicateAt < 0) {
      nodBramwise = items.front();
      tvwBramwise->setCurrentItem(nodBramwise, 0, QItemSelectionModel::NoUpdate);
    }
  }
  if (scan.duplicateAt >= 0) {
    w->txtMain->SetSelStart(scan.duplicateAt);
    tarvex::prompts().MsgBox(DuplicateLineMessage(), QString(), tarvex::MsgButtons::OK, tarvex::MsgIcon::Critical);
  }
}

void frmMain::RemoveBramwiseNode(QTreeWidgetItem* node) {
  QSet<QTreeWidgetItem*> gone;
  QList<QTreeWidgetItem*> todo{node};
  while (!todo.isEmpty()) {
    QTreeWidgetItem* i = todo.takeLast();
    gone.insert(i);
    bramwiseKeys_.erase(QStringView(KeyOf(i)));
    for (int c = 0; c < i->childCount(); ++c) todo << i->child(c);
  }
  bramwiseOrder_.removeIf([&gone](QTreeWidgetItem* i) { return gone.contains(i); });
  {
    Busy busy(bramwiseBusy_);
    delete node;
  }
  nodBramwise = tvwBramwise->currentItem();
}

void frmMain::tvwBramwise_NodeClick(QTreeWidgetItem* node) {
  if (node) nodBramwise = node;
}

void frmMain::tvwBramwise_DblClick() {
  if (!nodBramwise || IsCategoryTag(NodeTag(nodBramwise))) return;
  frmScrivane* w = CurrentCog();
  if (!w) return;
  const qsizetype p = FindNodeKey(w->txtMain->Text(), KeyOf(nodBramwise), KindOf(nodBramwise));
  if (p >= 0) w->txtMain->SetSelStart(p);
}

void frmMain::tvwBramwise_AfterLabelEdit(QTreeWidgetItem* node, const QString& newString) {
  nodBramwise = node;
  const QString old = Item(node)->label;
  frmScrivane* w = BramwiseCog();
  if (!w || !IsTextNode(KindOf(node)) || newString == old) {
    Busy busy(bramwiseBusy_);
    node->setText(0, old);
    return;
  }
  TextModel m = w->txtMain->Model();
  FindState f;
  const NodeRename r = RenameNode(m, f, KeyOf(node), KindOf(node), old, newString);
  if (!r.done) {
    {
      Busy busy(bramwiseBusy_);
      node->setText(0, old);  // the label goes back
    }
    tarvex::prompts().MsgBox(r.refusal, QString(), tarvex::MsgButtons::OK, tarvex::MsgIcon::Exclamation);
    return;
  }
  if (!m.Changes().empty()) {
    w->txtMain->Apply(m);  // both passes: one undo step
    w->sW = f.sW;
    w->sR = f.sR;
    w->ipos = qint32(f.ipos);
  }
  // The node, and a message's other node, now stand for the renamed lines: a further rename
  // and the other gestures find them there.
  Busy busy(bramwiseBusy_);
  const auto rekey = [this](QTreeWidgetItem* item, const QString& key, const QString& label) {
    bramwiseKeys_.erase(QStringView(KeyOf(item)));
    Item(item)->key = key;
    Item(item)->label = label;
    item->setText(0, label);
    bramwiseKeys_.emplace(QStringView(Item(item)->key), item);
  };
  if (!r.twinOld.isEmpty())
    if (QTreeWidgetItem* twin = BramwiseNodeByKey(r.twinOld)) rekey(twin, r.twinNew, r.twinLabel);
  rekey(node, r.newKey, r.newLabel);
}

void frmMain::tvwBramwise_KeyDown(int keyCode) {
  if (keyCode != 46 || !nodBramwise) return;
  QTreeWidgetItem* node = nodBramwise;
  const BramwiseKind kind = KindOf(node);
  frmScrivane* w = BramwiseCog();
  if (!w || !IsTextNode(kind)) return;
  TextModel m = w->txtMain->Model();
  if (kind == BramwiseKind::Symbol && UsedInCode(m.Text(), NameInLabel(node->text(0)))) {
    tarvex::prompts().MsgBox(QStringLiteral("Can not delete: symbol is present in code section"), QString(),
                             tarvex::MsgButtons::OK, tarvex::MsgIcon::Critical);
    return;
  }
  if (!DeleteNodeText(m, KeyOf(node), kind)) return;
  w->txtMain->Apply(m);
  // A type goes from the tree with its last symbol.
  QTreeWidgetItem* parent = node->parent();
  RemoveBramwiseNode(kind == BramwiseKind::Symbol && parent && parent->childCount() == 1 ? parent : node);
}

// ---- The add-symbol form ----

void frmMain::cmdAddVar_Click() {
  tarvex::Prompts& ask = tarvex::prompts();
  const int type = cmbVarType->currentIndex();
  if (type < 0 || cmbVarType->currentText() != cmbVarType->itemText(type)) {
    ask.MsgBox(QStringLiteral("You must choose a type!"), QString(), tarvex::MsgButtons::OK, tarvex::MsgIcon::Critical);
    return;
  }
  if (txtVarName->text().isEmpty()) {
    ask.MsgBox(QStringLiteral("You must enter the symbol name!"), QString(), tarvex::MsgButtons::OK,
               tarvex::MsgIcon::Critical);
    return;
  }
  const QString line = SymbolDeclarationLine(cmbVarType->itemText(type), txtVarName->text(), txtDefVal->text(),
                                             chkLocal->isChecked(), txtLinkID->text());
  frmScrivane* w = CurrentCog();
  if (!w) return;
  TextModel m = w->txtMain->Model();
  if (!InsertSymbolLine(m, line)) {
    ask.MsgBox(NoSymbolsEndMessage(), QString(), tarvex::MsgButtons::OK, tarvex::MsgIcon::Critical);
    return;
  }
  w->txtMain->Apply(m);
  // The explorer follows when it shows this document, told apart by caption.
  if (!tvwBramwise.IfMade() || tvwBramwise->isHidden() || cmbCog->currentIndex() < 0) return;
  const QString chosen = cmbCog->itemText(cmbCog->currentIndex());
  const QString caption = w->Caption();
  const bool same = caption.endsWith(QLatin1Char('*')) ? caption.contains(chosen, Qt::CaseInsensitive)
                                                       : tarvex::SameText(caption, chosen);
  if (same) FillBramwise();
}

}  // namespace scrivane

// The reference tree of the main window: filled once from cogref.dat at start-up; a click
// shows a function's description, a double click inserts its signature into the current script.
#include <QPlainTextEdit>
#include <QTreeWidget>

#include "common/paths.h"
#include "common/text.h"
#include "common/ui/prompts.h"
#include "scrivane/core/cogref.h"
#include "scrivane/gui/frmmain.h"
#include "scrivane/gui/frmscrivane.h"

namespace scrivane {

namespace {
constexpr int kTagRole = Qt::UserRole;

// A node of the reference tree, which never changes once made. Its text, its tag (in the tag
// role) and a function's signature (its tooltip, taken from the tag) are answered from what
// it keeps rather than stored as item data for every node at start-up.
class CogRefItem : public QTreeWidgetItem {
 public:
  CogRefItem(const QString& text, const QString& tag, bool function)
      : QTreeWidgetItem(QTreeWidgetItem::UserType), text_(text), tag_(tag), function_(function) {}
  QVariant data(int column, int role) const override {
    if (column == 0) {
      if (role == Qt::DisplayRole || role == Qt::EditRole) return text_;
      if (role == kTagRole) return tag_;
      if (role == Qt::ToolTipRole && function_) return SignatureOf(tag_);
    }
    return QTreeWidgetItem::data(column, role);
  }

 private:
  const QString text_, tag_;
  const bool function_;
};
}  // namespace

QString frmMain::NodeTag(const QTreeWidgetItem* node) { return node ? node->data(0, kTagRole).toString() : QString(); }

bool frmMain::LoadCogRef() {
  const QString path = tarvex::JoinPath(tarvex::DataFolder(), QStringLiteral("cogref.dat"));
  bool exists = false;
  const CogRefData data = LoadCogRefFile(path, &exists);
  if (!exists) {
    tarvex::prompts().MsgBox(QStringLiteral("cog.ref needs to be put in ") + tarvex::DataFolder());
    return false;
  }
  tvwCog->clear();
  cogRefOrder_.clear();
  cogRefKeyNames_.clear();
  cogRefKeys_.clear();
  cogRefFunctions.Clear();
  QList<QTreeWidgetItem*> top;
  QStringList verbs;
  auto add = [this](QTreeWidgetItem* item, const QString& text, const QString& key, const QString& tag) {
    cogRefOrder_ << item;
    cogRefKeyNames_ << key;
    cogRefFunctions.Add(text, tag);
  };
  const QString categoryTag = CogRefCategoryTag();
  for (const CogRefCategory& cat : data.categories) {
    auto* node = new CogRefItem(cat.name, categoryTag, false);
    add(node, cat.name, cat.name, categoryTag);
    QList<QTreeWidgetItem*> children;
    children.reserve(qsizetype(cat.functions.size()));
    for (const CogRefEntry& f : cat.functions) {
      auto* child = new CogRefItem(f.text, f.tag, true);
      add(child, f.text, f.key, f.tag);
      verbs << f.text;
      children << child;
    }
    node->addChildren(children);
    top << node;
  }
  tvwCog->addTopLevelItems(top);
  nodCogRef = cogRefOrder_.isEmpty() ? nullptr : cogRefOrder_.first();
  cogRefProblems = FormatCogRefProblems(data.problems);
  cogWords = std::make_shared<const CogWords>(verbs);
  return true;
}

QTreeWidgetItem* frmMain::CogRefNode(int index) const {
  return index >= 1 && index <= cogRefOrder_.size() ? cogRefOrder_[index - 1] : nullptr;
}

QTreeWidgetItem* frmMain::CogRefNodeByKey(const QString& key) const {
  if (cogRefKeys_.isEmpty())
    for (qsizetype i = 0; i < cogRefOrder_.size(); ++i) cogRefKeys_.insert(tarvex::FoldCase(cogRefKeyNames_[i]), cogRefOrder_[i]);
  return cogRefKeys_.value(tarvex::FoldCase(key));
}

void frmMain::tvwCog_NodeClick(QTreeWidgetItem* node) {
  if (!node) return;
  nodCogRef = node;
  txtCogDesc->setPlainText(DescriptionOf(NodeTag(node)));
}

void frmMain::tvwCog_DblClick() {
  const QString tag = NodeTag(nodCogRef);
  if (!nodCogRef || IsCategoryTag(tag)) return;
  frmScrivane* w = CurrentCog();
  if (!w) return;
  w->txtMain->SetSelLength(0);
  w->txtMain->ReplaceSel(SignatureOf(tag));
}

}  // namespace scrivane

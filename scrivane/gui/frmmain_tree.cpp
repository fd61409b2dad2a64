// The Tree menu: Collapse All, Expand All, Find and Find Next on whichever tree is shown, the
// reference tree or the Bramwise tree. Both trees keep their nodes in order of addition, which
// is the order Find walks.
#include <QTreeWidget>

#include "common/text.h"
#include "common/ui/prompts.h"
#include "scrivane/core/cogref.h"
#include "scrivane/gui/frmmain.h"

namespace scrivane {

namespace {

void SetExpandedAll(QTreeWidget* tree, const QList<QTreeWidgetItem*>& order, bool expanded) {
  tree->setUpdatesEnabled(false);
  for (QTreeWidgetItem* node : order) {
    const QString tag = frmMain::NodeTag(node);
    if (IsCategoryTag(tag) || tarvex::SameText(tag, QStringLiteral("message"))) node->setExpanded(expanded);
  }
  tree->setUpdatesEnabled(true);
}

}  // namespace

void frmMain::mnuCFCollapse_Click() {
  if (!tvwCog->isHidden()) {
    SetExpandedAll(tvwCog, cogRefOrder_, false);
    return;
  }
  SetExpandedAll(tvwBramwise, bramwiseOrder_, false);
  // The two sections stay in view.
  if (QTreeWidgetItem* root = BramwiseNodeByKey(QStringLiteral("root"))) root->setExpanded(true);
}

void frmMain::mnuCFExpand_Click() {
  if (!tvwCog->isHidden()) {
    SetExpandedAll(tvwCog, cogRefOrder_, true);
  } else {
    SetExpandedAll(tvwBramwise, bramwiseOrder_, true);
  }
}

void frmMain::mnuCFFind_Click() {
  strTreeFind = tarvex::prompts().InputBox(QStringLiteral("String to find"), QString(), strTreeFind);
  TreeFindFrom(1);
}

void frmMain::mnuCFFindNext_Click() { TreeFindFrom(iTreeFind + 1); }

void frmMain::TreeFindFrom(int index) {
  const bool reference = !tvwCog->isHidden();
  QTreeWidget* tree = reference ? tvwCog : tvwBramwise;
  const QList<QTreeWidgetItem*>& order = reference ? cogRefOrder_ : bramwiseOrder_;
  for (int i = std::max(index, 1); i <= order.size(); ++i) {
    QTreeWidgetItem* node = order[i - 1];
    if (!node->text(0).contains(strTreeFind, Qt::CaseInsensitive) || IsCategoryTag(NodeTag(node))) continue;
    tree->setCurrentItem(node);
    tree->scrollToItem(node);
    tree->setFocus();  // the keys go on from the node found
    if (reference) {
      tvwCog_NodeClick(node);
    } else {
      nodBramwise = node;
    }
    iTreeFind = i;
    return;
  }
}

}  // namespace scrivane

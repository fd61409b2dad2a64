#include "scrivane/gui/frmchksyn.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "scrivane/core/syntaxcheck.h"

namespace scrivane {

namespace {
const QString kDesignCaption = QStringLiteral("Check Syntax - ");
}

frmChkSyn::frmChkSyn(ChkSynDocument doc, QWidget* parent) : QDialog(parent), doc_(std::move(doc)) {
  setObjectName(QStringLiteral("frmChkSyn"));
  setAttribute(Qt::WA_DeleteOnClose);
  setModal(false);
  setWindowTitle(kDesignCaption);

  lstChkSyn = new QListWidget(this);
  lstChkSyn->setObjectName(QStringLiteral("lstChkSyn"));
  cmdOK = new QPushButton(QStringLiteral("OK"), this);
  cmdOK->setObjectName(QStringLiteral("cmdOK"));
  cmdOK->setAutoDefault(false);
  txtSym = new QLineEdit(this);
  txtSym->setObjectName(QStringLiteral("txtSym"));
  txtSym->hide();

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(txtSym);
  buttons->addStretch(1);
  buttons->addWidget(cmdOK);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(lstChkSyn, 1);
  layout->addLayout(buttons);
  resize(360, 260);

  // A click on an entry, and a change of the chosen entry from the keyboard, move the caret.
  connect(lstChkSyn, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { lstChkSyn_Click(lstChkSyn->row(item)); });
  connect(lstChkSyn, &QListWidget::itemSelectionChanged, this, [this] {
    const QList<QListWidgetItem*> chosen = lstChkSyn->selectedItems();
    if (!chosen.isEmpty()) lstChkSyn_Click(lstChkSyn->row(chosen.first()));
  });
  connect(cmdOK, &QPushButton::clicked, this, &frmChkSyn::cmdOK_Click);

  Form_Load();
}

void frmChkSyn::Form_Load() {
  setWindowTitle(kDesignCaption + (doc_.caption ? doc_.caption() : QString()));
  CheckCog();
}

void frmChkSyn::CheckCog() {
  const QString text = doc_.text ? doc_.text() : QString();
  const qsizetype caret = doc_.selStart ? doc_.selStart() : 0;
  for (const Finding& f : scrivane::CheckCog(text, caret)) addErr(f.message, f.lpos);
}

void frmChkSyn::addErr(const QString& sErr, qsizetype lpos) {
  lstChkSyn->addItem(sErr);
  lstChkSyn->item(lstChkSyn->count() - 1)->setData(Qt::UserRole, QVariant::fromValue<qsizetype>(lpos));
}

void frmChkSyn::lstChkSyn_Click(int index) {
  const QListWidgetItem* item = lstChkSyn->item(index);
  if (!item || !doc_.setSelStart) return;
  doc_.setSelStart(item->data(Qt::UserRole).value<qsizetype>());
}

void frmChkSyn::cmdOK_Click() { close(); }

}  // namespace scrivane

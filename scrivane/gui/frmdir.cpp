#include "scrivane/gui/frmdir.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "common/paths.h"
#include "common/ui/folderlist.h"
#include "scrivane/gui/frmoptions.h"

namespace scrivane {

int frmDir::iDir = 0;

frmDir::frmDir(frmOptions* options) : QDialog(options), options_(options) {
  setObjectName(QStringLiteral("frmDir"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowModality(Qt::ApplicationModal);
  setWindowTitle(QStringLiteral("Choose Directory"));
  txtDir = new QLineEdit(this);
  txtDir->setObjectName(QStringLiteral("txtDir"));
  Drive1 = new tarvex::DriveList(this);
  Drive1->setObjectName(QStringLiteral("Drive1"));
  Dir1 = new tarvex::FolderList(this);
  Dir1->setObjectName(QStringLiteral("Dir1"));
  cmdOk = new QPushButton(QStringLiteral("OK"), this);
  cmdOk->setObjectName(QStringLiteral("cmdOk"));
  cmdOk->setDefault(true);
  cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
  cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
  connect(cmdOk, &QPushButton::clicked, this, &frmDir::cmdOk_Click);
  connect(cmdCancel, &QPushButton::clicked, this, &QDialog::close);
  connect(Drive1, &QComboBox::currentIndexChanged, this, &frmDir::Drive1_Change);
  connect(Dir1, &tarvex::FolderList::pathChanged, this, &frmDir::Dir1_Change);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(cmdOk);
  buttons->addWidget(cmdCancel);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(txtDir);
  layout->addWidget(Drive1);
  layout->addWidget(Dir1, 1);
  layout->addLayout(buttons);
  resize(340, 360);
}

void frmDir::SetDir(int i) {
  iDir = i;
  const QString text = options_->DirField(i)->text();
  txtDir->setText(text);
  Dir1->setNearestPath(text.isEmpty() ? tarvex::DataFolder() : text);
  const QSignalBlocker quiet(Drive1);
  Drive1->SelectDriveOf(Dir1->path());
}

void frmDir::Drive1_Change() { Dir1->setPath(Drive1->currentData().toString()); }

void frmDir::Dir1_Change() {
  txtDir->setText(Dir1->path());
  const QSignalBlocker quiet(Drive1);
  Drive1->SelectDriveOf(Dir1->path());
}

void frmDir::cmdOk_Click() {
  options_->DirField(iDir)->setText(txtDir->text());
  close();
}

}  // namespace scrivane

#include "orvane/gui/orvpicker.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "common/files.h"
#include "common/paths.h"
#include "common/prefs.h"
#include "common/ui/prompts.h"

namespace orvane {

using tarvex::prompts;

orvPicker::orvPicker(QWidget* owner, PickKind kind) : QDialog(owner), kind_(kind) {
  setObjectName(QStringLiteral("orvPicker"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(kind == PickKind::Model ? QStringLiteral("Choose Model") : QStringLiteral("Choose Sound"));
  tbsSource = new QTabWidget(this);
  tbsSource->setObjectName(QStringLiteral("tbsSource"));

  auto* disk = new QWidget(tbsSource);
  txtDisk = new QLineEdit(disk);
  txtDisk->setReadOnly(true);
  txtDisk->setPlaceholderText(kind == PickKind::Model ? QStringLiteral("A .3do file") : QStringLiteral("A .snd file"));
  cmdBrowse = new QPushButton(QStringLiteral("&Browse..."), disk);
  connect(cmdBrowse, &QPushButton::clicked, this, [this] { cmdBrowse_Click(); });
  auto* diskLayout = new QGridLayout(disk);
  diskLayout->addWidget(txtDisk, 0, 0);
  diskLayout->addWidget(cmdBrowse, 0, 1);
  diskLayout->setRowStretch(1, 1);
  tbsSource->addTab(disk, QStringLiteral("Disk"));

  auto* archive = new QWidget(tbsSource);
  txtArchive = new QLineEdit(archive);
  txtArchive->setObjectName(QStringLiteral("txtArchive"));
  txtArchive->setReadOnly(true);
  cmdArchive = new QPushButton(QStringLiteral("..."), archive);
  cmdArchive->setObjectName(QStringLiteral("cmdArchive"));
  cmdArchive->setToolTip(QStringLiteral("Choose a GOB or GOO archive"));
  connect(cmdArchive, &QPushButton::clicked, this, [this] { cmdArchive_Click(); });
  txtFilter = new QLineEdit(archive);
  txtFilter->setObjectName(QStringLiteral("txtFilter"));
  txtFilter->setPlaceholderText(QStringLiteral("Filter"));
  txtFilter->setClearButtonEnabled(true);
  connect(txtFilter, &QLineEdit::textChanged, this, [this] { txtFilter_Change(); });
  lstEntries = new QListWidget(archive);
  lstEntries->setObjectName(QStringLiteral("lstEntries"));
  lstEntries->setUniformItemSizes(true);
  connect(lstEntries, &QListWidget::itemDoubleClicked, this, [this] { cmdOK_Click(); });
  auto* archiveLayout = new QGridLayout(archive);
  archiveLayout->addWidget(txtArchive, 0, 0);
  archiveLayout->addWidget(cmdArchive, 0, 1);
  archiveLayout->addWidget(txtFilter, 1, 0, 1, 2);
  archiveLayout->addWidget(lstEntries, 2, 0, 1, 2);
  tbsSource->addTab(archive, QStringLiteral("Archive"));

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  cmdOK = buttons->button(QDialogButtonBox::Ok);
  cmdCancel = buttons->button(QDialogButtonBox::Cancel);
  connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
  connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tbsSource);
  layout->addWidget(buttons);
  resize(440, 460);

  // The archive used last time opens again; one that is gone or damaged since is said when
  // the picker opens (open()), not dropped in silence.
  const QString last = tarvex::prefs::OrvaneArchive.Get();
  if (!last.isEmpty() && !index_.ReadFile(last, &rememberedFault_)) index_ = GobIndex();
  else if (!last.isEmpty()) {
    archive_ = last;
    txtArchive->setText(last);
    names_ = index_.NamesIn(ArchiveFolder(kind_));
    txtFilter_Change();
    tbsSource->setCurrentIndex(1);
  }
}

void orvPicker::open() {
  QDialog::open();
  if (rememberedFault_.isEmpty()) return;
  Refuse(QStringLiteral("The archive used last time cannot be listed:\r\n") + rememberedFault_);
  rememberedFault_.clear();
}

void orvPicker::Refuse(const QString& text) {
  const tarvex::PromptsOwnedBy owner(this);
  prompts().MsgBox(text, windowTitle(), tarvex::MsgButtons::OK, tarvex::MsgIcon::Exclamation);
}

bool orvPicker::Take(const QString& name, const QByteArray& bytes) {
  const QString problem = PickProblem(kind_, bytes);
  if (!problem.isEmpty()) {
    Refuse(QStringLiteral("%1 cannot be used: %2").arg(name, problem));
    return false;
  }
  emit picked(tarvex::FileTitle(QString(name).replace(QLatin1Char('\\'), QLatin1Char('/'))));
  accept();
  return true;
}

void orvPicker::cmdBrowse_Click() {
  tarvex::FileDialogRequest req;
  req.title = windowTitle();
  req.filter = kind_ == PickKind::Model ? QStringLiteral("3DO models (*.3do)|*.3do|All files (*.*)|*.*")
                                        : QStringLiteral("Sound classes (*.snd)|*.snd|All files (*.*)|*.*");
  req.folder = tarvex::FolderPart(txtDisk->text());
  const tarvex::PromptsOwnedBy owner(this);
  if (const auto path = prompts().OpenFileName(req)) txtDisk->setText(*path);
}

void orvPicker::cmdArchive_Click() {
  tarvex::FileDialogRequest req;
  req.title = QStringLiteral("Choose Archive");
  req.filter = QStringLiteral("Game archives (*.gob;*.goo)|*.gob;*.goo|All files (*.*)|*.*");
  req.folder = tarvex::FolderPart(archive_);
  const tarvex::PromptsOwnedBy owner(this);
  if (const auto path = prompts().OpenFileName(req)) OpenArchive(*path);
}

bool orvPicker::OpenArchive(const QString& path) {
  GobIndex index;
  QString fault;
  if (!index.ReadFile(path, &fault)) {
    Refuse(fault);
    return false;
  }
  index_ = std::move(index);
  archive_ = path;
  txtArchive->setText(path);
  names_ = index_.NamesIn(ArchiveFolder(kind_));
  txtFilter_Change();
  tbsSource->setCurrentIndex(1);
  // The archive is open either way; a store that cannot be written only means it is not
  // offered again next time, which the user is told.
  QString settingsFault;
  tarvex::prefs::OrvaneArchive.Set(path, &settingsFault);
  const tarvex::PromptsOwnedBy owner(this);
  tarvex::TellSettingsFault(settingsFault, windowTitle());
  return true;
}

void orvPicker::txtFilter_Change() {
  const QString filter = txtFilter->text().trimmed();
  lstEntries->clear();
  for (const QString& name : names_)
    if (filter.isEmpty() || name.contains(filter, Qt::CaseInsensitive)) lstEntries->addItem(name);
  if (lstEntries->count()) lstEntries->setCurrentRow(0);
}

void orvPicker::cmdOK_Click() {
  if (tbsSource->currentIndex() == 0) {
    if (txtDisk->text().isEmpty()) cmdBrowse_Click();
    if (txtDisk->text().isEmpty()) return;
    QByteArray bytes;
    QString error;
    if (!tarvex::ReadWholeFile(txtDisk->text(), &bytes, &error)) {
      Refuse(txtDisk->text() + QStringLiteral("\r\n") + error);
      return;
    }
    Take(txtDisk->text(), bytes);
    return;
  }
  QListWidgetItem* item = lstEntries->currentItem();
  if (!item) {
    Refuse(QStringLiteral("Choose an entry of the archive first."));
    return;
  }
  const QString entry = ArchiveFolder(kind_) + item->text();
  const int i = index_.Find(entry);
  QByteArray bytes;
  QString fault;
  if (i < 0 || !ReadGobEntry(archive_, index_.At(i), &bytes, &fault)) {
    Refuse(i < 0 ? archive_ + QStringLiteral("\r\nThe archive holds no entry ") + entry : fault);
    return;
  }
  Take(item->text(), bytes);
}

}  // namespace orvane

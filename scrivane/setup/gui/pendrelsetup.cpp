#include "scrivane/setup/gui/pendrelsetup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/paths.h"
#include "common/ui/prompts.h"
#include "scrivane/setup/core/desktop.h"
#include "scrivane/setup/core/installer.h"
#include "common/ui/folderlist.h"

namespace pendrel {

namespace {

template <typename T>
T* Named(T* w, const char* name) {
  w->setObjectName(QLatin1String(name));
  return w;
}

}  // namespace

QPixmap DecorationPicture(const QSize& size) {
  QPixmap pix(size);
  QPainter p(&pix);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient sky(0, 0, 0, size.height());
  sky.setColorAt(0, QColor(8, 14, 40));
  sky.setColorAt(1, QColor(40, 62, 120));
  p.fillRect(pix.rect(), sky);
  // A few fixed stars.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(230, 236, 255));
  const int stars[][3] = {{14, 20, 2}, {70, 34, 1}, {40, 62, 2}, {92, 90, 1}, {22, 120, 1}, {60, 150, 2},
                          {100, 190, 1}, {18, 230, 2}, {80, 250, 1}, {44, 290, 1}};
  for (const auto& s : stars)
    p.drawEllipse(QPointF(s[0] * size.width() / 120.0, s[1] * size.height() / 320.0), s[2], s[2]);
  // A planet's rim near the foot.
  QLinearGradient rim(0, size.height() * 0.7, 0, size.height());
  rim.setColorAt(0, QColor(220, 170, 90));
  rim.setColorAt(1, QColor(120, 70, 30));
  p.setBrush(rim);
  p.drawEllipse(QPointF(size.width() / 2.0, size.height() * 1.35), size.width() * 1.1, size.height() * 0.55);
  // The tool set's name, upright along the picture.
  QFont f = p.font();
  f.setBold(true);
  f.setPixelSize(size.width() / 4);
  p.setFont(f);
  p.setPen(QColor(255, 214, 90));
  p.translate(size.width() * 0.62, size.height() * 0.62);
  p.rotate(-90);
  p.drawText(QPointF(0, 0), QStringLiteral("Tarvex"));
  return pix;
}

PendrelSetup::PendrelSetup(SetupFileOps* files, SetupShell* shell, QWidget* parent)
    : QWidget(parent),
      files_(files ? files : &SystemFileOps()),
      shell_(shell ? shell : &SystemShell()) {
  setObjectName(QStringLiteral("PendrelSetup"));
  setWindowTitle(QStringLiteral("Tarvex Setup"));
  dataHome = XdgDataHome();

  decoImage = Named(new QLabel(this), "decoImage");
  decoImage->setPixmap(DecorationPicture(QSize(120, 320)));
  decoImage->setAlignment(Qt::AlignTop);
  decoLabel = Named(new QLabel(QStringLiteral("Install Directory:"), this), "decoLabel");
  pdInstallPath = Named(new QLineEdit(DefaultInstallPath(), this), "pdInstallPath");
  decoLabel->setBuddy(pdInstallPath);
  pdDrive = Named(new tarvex::DriveList(this), "pdDrive");
  pdDir = Named(new tarvex::FolderList(this), "pdDir");
  pdDir->setPath(QDir::currentPath());
  pdDrive->SelectDriveOf(pdDir->path());
  pdNewDir = Named(new QPushButton(QStringLiteral("&New Directory"), this), "pdNewDir");

  FileAssocFrame = Named(new QGroupBox(QStringLiteral("File Associations"), this), "FileAssocFrame");
  const char* captions[] = {"Associate .COG files with Scrivane", "Associate .CGT files with Scrivane",
                            "Associate .UNI files with Lirrel", "Associate .DAT files with Orvane"};
  auto* boxes = new QVBoxLayout(FileAssocFrame);
  for (int i = 0; i < 4; ++i) {
    fileassociation[i] = new QCheckBox(QLatin1String(captions[i]), FileAssocFrame);
    fileassociation[i]->setObjectName(QStringLiteral("fileassociation_%1").arg(i));
    fileassociation[i]->setChecked(i == kBoxCog || i == kBoxCgt);
    boxes->addWidget(fileassociation[i]);
  }
  pdInstall = Named(new QPushButton(QStringLiteral("&Install"), this), "pdInstall");
  pdRemove = Named(new QPushButton(QStringLiteral("&Remove Associations"), this), "pdRemove");
  pdRemove->setToolTip(QStringLiteral("Remove the file types, desktop entries and icons an earlier installation "
                                      "registered for this user"));
  pdRemove->setVisible(associations == Associations::Desktop);
  pdCancel = Named(new QPushButton(QStringLiteral("&Cancel"), this), "pdCancel");
  pdInstall->setDefault(true);

  auto* chooser = new QHBoxLayout;
  chooser->addWidget(pdDrive, 1);
  chooser->addWidget(pdNewDir);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(pdRemove);
  buttons->addStretch(1);
  buttons->addWidget(pdInstall);
  buttons->addWidget(pdCancel);
  auto* right = new QVBoxLayout;
  right->addWidget(decoLabel);
  right->addWidget(pdInstallPath);
  right->addLayout(chooser);
  right->addWidget(pdDir, 1);
  right->addWidget(FileAssocFrame);
  right->addLayout(buttons);
  auto* all = new QHBoxLayout(this);
  all->addWidget(decoImage);
  all->addLayout(right, 1);
  resize(520, 440);

  connect(pdDrive, &QComboBox::currentIndexChanged, this, [this] { pdDrive_Change(); });
  connect(pdDir, &tarvex::FolderList::pathChanged, this, [this] { pdDir_Change(); });
  connect(pdNewDir, &QPushButton::clicked, this, [this] { pdNewDir_Click(); });
  connect(pdInstall, &QPushButton::clicked, this, [this] { pdInstall_Click(); });
  connect(pdRemove, &QPushButton::clicked, this, [this] { pdRemove_Click(); });
  connect(pdCancel, &QPushButton::clicked, this, [this] { pdCancel_Click(); });
}

void PendrelSetup::pdDrive_Change() { pdDir->setPath(pdDrive->currentData().toString()); }

void PendrelSetup::pdDir_Change() {
  pdInstallPath->setText(pdDir->path());
  const QSignalBlocker quiet(pdDrive);
  pdDrive->SelectDriveOf(pdDir->path());
}

void PendrelSetup::pdNewDir_Click() {
  const QString answer = tarvex::prompts().InputBox(QStringLiteral("Current directory is:") + pdDir->path(),
                                                    QStringLiteral("Create New Directory"),
                                                    QStringLiteral("New Directory"));
  if (answer.isEmpty()) return;
  const QString made = MakeNewDirectory(pdDir->path(), answer, *files_);
  if (made.isEmpty()) return;
  pdDir->setPath(made);
  pdDir->refresh();
  pdInstallPath->setText(pdDir->path());
}

void PendrelSetup::pdInstall_Click() {
  InstallRequest req;
  req.programFolder = tarvex::ProgramFolder();
  req.installPath = pdInstallPath->text();
  for (int i = 0; i < 4; ++i) req.boxes[i] = fileassociation[i]->isChecked();
  req.associations = associations;
  req.dataHome = dataHome;
  if (tarvex::DataFolder() != req.programFolder) req.dataFolder = tarvex::DataFolder();
  if (tarvex::ModuleFolderFor(req.programFolder) != req.programFolder) req.moduleFolder = tarvex::ModuleFolderFor(req.programFolder);
  if (Install(req, *files_, *shell_) == InstallOutcome::Ended) EndProgram();
}

void PendrelSetup::pdRemove_Click() { RemoveAssociations(dataHome, *files_, *shell_); }

void PendrelSetup::pdCancel_Click() { EndProgram(); }

void PendrelSetup::EndProgram() {
  bEnded = true;
  close();
}

}  // namespace pendrel

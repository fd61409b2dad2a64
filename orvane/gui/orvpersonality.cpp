#include "orvane/gui/orvpersonality.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QVBoxLayout>

#include "common/ansicodec.h"
#include "common/files.h"
#include "common/paths.h"
#include "common/ui/closeprompt.h"
#include "common/ui/prompts.h"
#include "common/tableline.h"
#include "orvane/core/modeltable.h"
#include "orvane/core/personality.h"

namespace orvane {

using tarvex::MsgButtons;
using tarvex::MsgIcon;
using tarvex::prompts;

namespace {
const QString kTitle = QStringLiteral("Personalities");
void Warn(const QString& text) { prompts().MsgBox(text, kTitle, MsgButtons::OK, MsgIcon::Exclamation); }
}  // namespace

QStringList PersonalityNames(const QString& gameFolder) {
  QStringList names(8);
  const QDir ui(tarvex::JoinPath(gameFolder, QStringLiteral("ui")));
  const QStringList found = ui.entryList({QLatin1String(tarvex::kTableFileName)}, QDir::Files);
  QByteArray bytes;
  if (found.isEmpty() || !tarvex::ReadWholeFile(ui.filePath(found.front()), &bytes)) return names;
  for (const QString& line : tarvex::DecodeAnsi(bytes).split(QLatin1Char('\n'))) {
    const tarvex::TableLine t = tarvex::ReadTableLine(QStringView(line).trimmed());
    if (t.kind != tarvex::TableLine::Key || !t.name.startsWith(QLatin1String("GUI_PERSONALITY"), Qt::CaseInsensitive))
      continue;
    bool ok = false;
    const int n = QStringView(t.name).mid(15).toInt(&ok);
    if (ok && n >= 1 && n <= 8) names[n - 1] = t.value;
  }
  return names;
}

orvPersonality::orvPersonality(QWidget* owner, const QString& modelsFolder)
    : QWidget(owner, Qt::Window), modelsFolder_(modelsFolder), folder_(tarvex::JoinPath(modelsFolder, QStringLiteral("per"))) {
  setObjectName(QStringLiteral("orvPersonality"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(kTitle);
  cmbFile = new QComboBox(this);
  cmbFile->setObjectName(QStringLiteral("cmbFile"));
  connect(cmbFile, &QComboBox::activated, this, [this] { cmbFile_Click(); });

  tblParams = new QTableWidget(0, 2, this);
  tblParams->setObjectName(QStringLiteral("tblParams"));
  tblParams->setHorizontalHeaderLabels({QStringLiteral("Param"), QStringLiteral("Value")});
  tblParams->horizontalHeader()->setStretchLastSection(true);
  tblParams->verticalHeader()->hide();
  tblParams->setSelectionBehavior(QAbstractItemView::SelectRows);
  tblParams->setSelectionMode(QAbstractItemView::SingleSelection);
  connect(tblParams, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) { ValueEdited(item); });

  const auto button = [this](const char* name, const char* caption) {
    auto* b = new QPushButton(QString::fromLatin1(caption), this);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
  };
  cmdAdd = button("cmdAdd", "&Add");
  cmdDelete = button("cmdDelete", "&Delete");
  cmdSave = button("cmdSave", "&Save");
  connect(cmdAdd, &QPushButton::clicked, this, [this] { cmdAdd_Click(); });
  connect(cmdDelete, &QPushButton::clicked, this, [this] { cmdDelete_Click(); });
  connect(cmdSave, &QPushButton::clicked, this, [this] { cmdSave_Click(); });
  auto* buttons = new QHBoxLayout;
  for (QPushButton* b : {cmdAdd, cmdDelete, cmdSave}) buttons->addWidget(b);
  buttons->addStretch(1);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(cmbFile);
  layout->addWidget(tblParams, 1);
  layout->addLayout(buttons);
  resize(360, 480);
  Populate();
}

void orvPersonality::Populate() {
  const tarvex::PromptsOwnedBy owner(this);
  cmbFile->clear();
  params_.clear();
  shown_ = -1;
  modified_ = false;
  const QStringList names = PersonalityNames(tarvex::FolderPart(modelsFolder_));
  const QStringList& files = PersonalityFiles();
  for (qsizetype i = 0; i < files.size(); ++i) {
    if (!QFileInfo(tarvex::JoinPath(folder_, files[i])).isFile()) continue;
    cmbFile->addItem(names[i].isEmpty() ? files[i] : files[i] + QStringLiteral(" - ") + names[i], files[i]);
  }
  const bool any = cmbFile->count() > 0;
  for (QWidget* w : {static_cast<QWidget*>(cmdAdd), static_cast<QWidget*>(cmdDelete), static_cast<QWidget*>(cmdSave),
                     static_cast<QWidget*>(tblParams)})
    w->setEnabled(any);
  if (any) {
    Load(0);
  } else {
    Fill();
    cmbFile->addItem(QStringLiteral("(no personality files in %1)").arg(folder_));
  }
}

void orvPersonality::SetModelsFolder(const QString& modelsFolder) {
  if (modelsFolder == modelsFolder_) return;
  modelsFolder_ = modelsFolder;
  folder_ = tarvex::JoinPath(modelsFolder, QStringLiteral("per"));
  Populate();
}

bool orvPersonality::MayDiscard() {
  const tarvex::PromptsOwnedBy owner(this);
  return tarvex::MayDropChanges(modified_, tarvex::FileTitle(FilePath()), [this] { return cmdSave_Click(); });
}

void orvPersonality::CloseAsked() {
  asked_ = true;
  close();
}

QString orvPersonality::FilePath() const {
  return shown_ < 0 ? QString() : tarvex::JoinPath(folder_, cmbFile->itemData(shown_).toString());
}

bool orvPersonality::Load(int index) {
  const QString path = tarvex::JoinPath(folder_, cmbFile->itemData(index).toString());
  QByteArray bytes;
  QString error;
  if (!tarvex::ReadWholeFile(path, &bytes, &error)) {
    Warn(path + QStringLiteral("\r\n") + error);
    cmbFile->setCurrentIndex(qMax(shown_, 0));
    return false;
  }
  const PersonalityText t = ReadPersonality(tarvex::DecodeAnsi(bytes));
  params_ = t.params;
  shown_ = index;
  modified_ = false;
  Fill();
  if (!t.notes.isEmpty())
    prompts().MsgBox(NotesMessage(t.notes, tarvex::FileTitle(path)), kTitle, MsgButtons::OK, MsgIcon::Information);
  return true;
}

void orvPersonality::cmbFile_Click() {
  const tarvex::PromptsOwnedBy owner(this);
  const int index = cmbFile->currentIndex();
  if (index == shown_) return;
  if (!MayDiscard()) {
    cmbFile->setCurrentIndex(shown_);
    return;
  }
  Load(index);
}

void orvPersonality::Fill() {
  filling_ = true;
  tblParams->setRowCount(int(params_.size()));
  int row = 0;
  for (const auto& [n, value] : params_) {
    auto* param = new QTableWidgetItem(QString::number(n));
    param->setFlags(param->flags() & ~Qt::ItemIsEditable);
    // Parameters 50 to 59 are five pairs of inventory bin and maximum ammunition.
    if (n >= 50 && n <= 59)
      param->setToolTip(n % 2 == 0 ? QStringLiteral("Inventory bin") : QStringLiteral("Maximum ammunition"));
    tblParams->setItem(row, 0, param);
    tblParams->setItem(row, 1, new QTableWidgetItem(value));
    ++row;
  }
  filling_ = false;
}

bool orvPersonality::SetParam(int number, const QString& value) {
  const QString problem = !ParamProblem(number).isEmpty() ? ParamProblem(number) : ValueProblem(value);
  if (!problem.isEmpty()) {
    Warn(problem + QStringLiteral(" Nothing was changed."));
    return false;
  }
  if (params_[number] != value) modified_ = true;
  params_[number] = value;
  return true;
}

void orvPersonality::ValueEdited(QTableWidgetItem* item) {
  if (filling_ || item->column() != 1) return;
  const tarvex::PromptsOwnedBy owner(this);
  const int number = tblParams->item(item->row(), 0)->text().toInt();
  if (!SetParam(number, item->text().trimmed())) {
    filling_ = true;
    item->setText(params_[number]);
    filling_ = false;
  }
}

void orvPersonality::cmdAdd_Click() {
  if (shown_ < 0) return;
  const tarvex::PromptsOwnedBy owner(this);
  const QString number = prompts().InputBox(QStringLiteral("Enter the parameter's number (0 to 255):"),
                                            QStringLiteral("Add Parameter"));
  if (number.trimmed().isEmpty()) return;
  bool ok = false;
  const int n = number.trimmed().toInt(&ok);
  if (!ok) {
    Warn(QStringLiteral("\"%1\" is not a whole number. Nothing was changed.").arg(number));
    return;
  }
  if (!ParamProblem(n).isEmpty()) {
    Warn(ParamProblem(n) + QStringLiteral(" Nothing was changed."));
    return;
  }
  const auto old = params_.find(n);
  const QString value = prompts().InputBox(QStringLiteral("Enter the value of param %1:").arg(n),
                                           QStringLiteral("Add Parameter"),
                                           old == params_.end() ? QStringLiteral("0") : old->second);
  if (value.trimmed().isEmpty() || !SetParam(n, value.trimmed())) return;
  Fill();
  const auto at = params_.find(n);
  tblParams->selectRow(int(std::distance(params_.begin(), at)));
}

void orvPersonality::cmdDelete_Click() {
  const QList<QTableWidgetItem*> items = tblParams->selectedItems();
  if (items.isEmpty()) return;
  const tarvex::PromptsOwnedBy owner(this);
  const int n = tblParams->item(items.front()->row(), 0)->text().toInt();
  if (prompts().MsgBox(QStringLiteral("Are you sure you want to delete param %1?").arg(n),
                       QStringLiteral("Confirm Delete Parameter"), MsgButtons::YesNo,
                       MsgIcon::Question) != tarvex::MsgResult::Yes)
    return;
  params_.erase(n);
  modified_ = true;
  Fill();
}

bool orvPersonality::cmdSave_Click() {
  const QString path = FilePath();
  if (path.isEmpty()) return false;
  const tarvex::PromptsOwnedBy owner(this);
  const QString backup =
      tarvex::JoinPath(folder_, QFileInfo(tarvex::FileTitle(path)).completeBaseName() + QStringLiteral(".~pe"));
  QString reason, failed;
  if (!tarvex::WriteWholeFileWithBackup(path, backup, tarvex::EncodeAnsi(PersonalityFileText(params_)), &reason,
                                        &failed)) {
    prompts().MsgBox((failed.isEmpty() ? path : failed) + QStringLiteral("\r\n") + reason,
                     QStringLiteral("Can't Save File"), MsgButtons::OK, MsgIcon::Exclamation);
    return false;
  }
  modified_ = false;
  return true;
}

void orvPersonality::closeEvent(QCloseEvent* event) {
  if (!asked_ && !MayDiscard()) {
    event->ignore();
    return;
  }
  asked_ = false;
  event->accept();
}

}  // namespace orvane

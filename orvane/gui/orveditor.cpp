#include "orvane/gui/orveditor.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenuBar>
#include <QVBoxLayout>

#include "common/paths.h"
#include "common/tarvex.h"
#include "common/text.h"
#include "common/ui/closeprompt.h"
#include "common/ui/toolwindow.h"
#include "orvane/gui/orvpersonality.h"
#include "orvane/gui/orvpicker.h"

namespace orvane {

using tarvex::MsgButtons;
using tarvex::MsgIcon;
using tarvex::MsgResult;
using tarvex::prompts;

namespace {
const QString kTitle = QStringLiteral("Orvane");
}

QString CountText(int count) { return QStringLiteral("Number of Models:") + tarvex::NumText(count); }

orvEditor::orvEditor(QWidget* parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("orvEditor"));
  setWindowTitle(kTitle);
  dlgTable_.filter = QStringLiteral("Model tables (*.dat)|*.dat|All files (*.*)|*.*");
  dlgTable_.fileName = QLatin1String(kModelsFileName);
  BuildMenus();
  BuildControls();
  Fill(-1);
  resize(760, 540);
}

orvPicker* orvEditor::Picker() const { return picker_; }
orvPersonality* orvEditor::PersonalityWindow() const { return personality_; }

void orvEditor::BuildMenus() {
  mnuFile = menuBar()->addMenu(QStringLiteral("&File"));
  mnuFile->setObjectName(QStringLiteral("mnuFile"));
  mnuFile->addAction(QStringLiteral("&Open"), QKeySequence::Open, this, [this] { mnuFileOpen_Click(); });
  mnuFile->addAction(QStringLiteral("&Save"), QKeySequence::Save, this, [this] { mnuFileSave_Click(); });
  mnuFile->addAction(QStringLiteral("Save &As"), this, [this] { mnuFileSaveAs_Click(); });
  mnuFile->addAction(QStringLiteral("&Revert"), this, [this] { mnuFileRevert_Click(); });
  mnuFile->addSeparator();
  mnuFile->addAction(QStringLiteral("Comments && &Description"), this, [this] { mnuFileComments_Click(); });
  mnuFile->addAction(QStringLiteral("View &Header"), this, [this] { mnuFileHeader_Click(); });
  mnuFile->addSeparator();
  mnuFile->addAction(QStringLiteral("E&xit"), this, [this] { close(); });
  mnuPersonalities = menuBar()->addMenu(QStringLiteral("&Personalities"));
  mnuPersonalities->setObjectName(QStringLiteral("mnuPersonalities"));
  mnuPersonalities->addAction(QStringLiteral("&Edit Personalities"), this, [this] { mnuPersonalities_Click(); });
  mnuHelp = menuBar()->addMenu(QStringLiteral("&Help"));
  mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
  mnuHelp->addAction(QStringLiteral("&About"), this, [this] { mnuHelpAbout_Click(); });
}

void orvEditor::BuildControls() {
  auto* central = new QWidget(this);
  setCentralWidget(central);
  const auto named = [](QWidget* w, const char* name) {
    w->setObjectName(QLatin1String(name));
    return w;
  };
  lvwModels = new QTreeWidget(central);
  named(lvwModels, "lvwModels");
  lvwModels->setHeaderLabels({QStringLiteral("Slot"), QStringLiteral("Model"), QStringLiteral("Sound"),
                              QStringLiteral("Comment")});
  lvwModels->setRootIsDecorated(false);
  lvwModels->setUniformRowHeights(true);
  lvwModels->setAllColumnsShowFocus(true);
  lvwModels->header()->setStretchLastSection(true);
  lvwModels->setColumnWidth(0, 50);
  lvwModels->setColumnWidth(1, 200);
  lvwModels->setColumnWidth(2, 140);
  connect(lvwModels, &QTreeWidget::itemSelectionChanged, this, [this] { lvwModels_Click(); });
  lblCount = new QLabel(CountText(0), central);
  named(lblCount, "lblCount");

  const auto button = [&](QPushButton*& b, const char* name, const char* caption, auto slot) {
    b = new QPushButton(QString::fromLatin1(caption), central);
    named(b, name);
    b->setAutoDefault(false);
    connect(b, &QPushButton::clicked, this, [this, slot] { (this->*slot)(); });
  };
  txtModel = new QLineEdit(central);
  named(txtModel, "txtModel");
  txtSound = new QLineEdit(central);
  named(txtSound, "txtSound");
  txtComment = new QLineEdit(central);
  named(txtComment, "txtComment");
  button(cmdPickModel, "cmdPickModel", "...", &orvEditor::cmdPickModel_Click);
  button(cmdPickSound, "cmdPickSound", "...", &orvEditor::cmdPickSound_Click);
  button(cmdApply, "cmdApply", "Apply", &orvEditor::cmdApply_Click);
  button(cmdAdd, "cmdAdd", "Add Model", &orvEditor::cmdAdd_Click);
  button(cmdDelete, "cmdDelete", "Delete Model", &orvEditor::cmdDelete_Click);
  button(cmdUp, "cmdUp", "Up", &orvEditor::cmdUp_Click);
  button(cmdDown, "cmdDown", "Down", &orvEditor::cmdDown_Click);
  cmdPickModel->setToolTip(QStringLiteral("Choose the model from disk or from a game archive"));
  cmdPickSound->setToolTip(QStringLiteral("Choose the sound class from disk or from a game archive"));
  cmdUp->setToolTip(QStringLiteral("Move the model one slot up"));
  cmdDown->setToolTip(QStringLiteral("Move the model one slot down"));
  // Names for screen readers: the list, and what the two "..." buttons choose.
  lvwModels->setAccessibleName(QStringLiteral("Models"));
  cmdPickModel->setAccessibleName(QStringLiteral("Choose the model"));
  cmdPickSound->setAccessibleName(QStringLiteral("Choose the sound class"));
  // Enter in a field applies it.
  for (QLineEdit* field : {txtModel, txtSound, txtComment})
    connect(field, &QLineEdit::returnPressed, this, [this] { cmdApply_Click(); });

  auto* fields = new QGridLayout;
  const char* labels[] = {"&Model:", "S&ound:", "&Comment:"};
  QLineEdit* edits[] = {txtModel, txtSound, txtComment};
  for (int i = 0; i < 3; ++i) {
    auto* label = new QLabel(QString::fromLatin1(labels[i]), central);
    label->setBuddy(edits[i]);
    fields->addWidget(label, i, 0);
    fields->addWidget(edits[i], i, 1);
  }
  fields->addWidget(cmdPickModel, 0, 2);
  fields->addWidget(cmdPickSound, 1, 2);
  fields->addWidget(cmdApply, 2, 2);
  auto* row = new QHBoxLayout;
  for (QPushButton* b : {cmdAdd, cmdDelete, cmdUp, cmdDown}) row->addWidget(b);
  row->addStretch(1);
  row->addWidget(lblCount);
  auto* layout = new QVBoxLayout(central);
  layout->addWidget(lvwModels, 1);
  layout->addLayout(fields);
  layout->addLayout(row);
}

void orvEditor::Fill(int select) {
  const QSignalBlocker block(lvwModels);
  lvwModels->clear();
  QList<QTreeWidgetItem*> items;
  items.reserve(table_.Count());
  for (const ModelEntry& e : table_.modelTable())
    items << new QTreeWidgetItem({QString::number(e.slot), e.model, e.sound, e.comment});
  lvwModels->addTopLevelItems(items);
  ShowCount();
  SelectRow(select);
  lvwModels_Click();
}

void orvEditor::ShowCount() {
  lblCount->setText(CountText(table_.Count()));
  setWindowTitle(table_.Path().isEmpty() ? kTitle : kTitle + QStringLiteral(" - ") + table_.Path());
}

int orvEditor::SelectedRow() const {
  const QList<QTreeWidgetItem*> items = lvwModels->selectedItems();
  return items.isEmpty() ? -1 : lvwModels->indexOfTopLevelItem(items.front());
}

void orvEditor::SelectRow(int row) {
  QTreeWidgetItem* item = lvwModels->topLevelItem(row);
  if (!item) {
    lvwModels->clearSelection();
    return;
  }
  lvwModels->setCurrentItem(item);
  lvwModels->scrollToItem(item);
}

void orvEditor::lvwModels_Click() {
  const int row = SelectedRow();
  const bool any = row >= 0;
  for (QWidget* w : {static_cast<QWidget*>(cmdApply), static_cast<QWidget*>(cmdDelete)}) w->setEnabled(any);
  cmdUp->setEnabled(row > 0);
  cmdDown->setEnabled(any && row + 1 < table_.Count());
  if (!any) return;
  const ModelEntry& e = table_.modelTable()[size_t(row)];
  txtModel->setText(e.model);
  txtSound->setText(e.sound);
  txtComment->setText(e.comment);
}

void orvEditor::Warn(const QString& text, const QString& title) const {
  prompts().MsgBox(text, title, MsgButtons::OK, MsgIcon::Exclamation);
}

void orvEditor::Form_Load(const QString& commandLine) {
  QString path = commandLine.trimmed();
  if (path.size() >= 2 && path.startsWith(QLatin1Char('"')) && path.endsWith(QLatin1Char('"')))
    path = path.mid(1, path.size() - 2);
  if (!path.isEmpty()) OpenTable(tarvex::NativePath(QFileInfo(path).absoluteFilePath()));
}

void orvEditor::Loaded(const QStringList& notes) {
  Fill(table_.Count() ? 0 : -1);
  if (header_) header_->Fill(table_.headerLines());
  if (comments_) comments_->CommentBox->setText(table_.Comments());
  const QString report = NotesMessage(notes);
  if (!report.isEmpty()) prompts().MsgBox(report, kTitle, MsgButtons::OK, MsgIcon::Information);
}

bool orvEditor::PersonalitiesMayMove(const QString& path) {
  return !personality_ || personality_->ModelsFolder() == tarvex::FolderPart(path) || personality_->MayDiscard();
}

void orvEditor::PersonalitiesFollow() {
  if (personality_) personality_->SetModelsFolder(tarvex::FolderPart(table_.Path()));
}

bool orvEditor::OpenTable(const QString& path) {
  if (!MayDrop() || !PersonalitiesMayMove(path)) return false;
  QString error;
  QStringList notes;
  const tarvex::FileStamp stamp = tarvex::StampOf(path);  // taken before the read: a write during it shows
  if (!table_.Load(path, &error, &notes)) {
    Warn(error, QStringLiteral("Can't Load File"));
    return false;
  }
  stamp_ = stamp;
  dlgTable_.folder = tarvex::FolderPart(path);
  PersonalitiesFollow();
  Loaded(notes);
  return true;
}

void orvEditor::mnuFileOpen_Click() {
  dlgTable_.title = QStringLiteral("Open Model Table");
  if (const auto path = prompts().OpenFileName(dlgTable_)) OpenTable(*path);
}

bool orvEditor::mnuFileSave_Click() {
  if (table_.Path().isEmpty()) return mnuFileSaveAs_Click();
  // Another program may have written the file since it was read here.
  if (!tarvex::MayOverwriteChanged(stamp_, table_.Path(), tarvex::FileTitle(table_.Path()), kTitle)) return false;
  QString error;
  if (!table_.Save(table_.Path(), &error)) {
    Warn(error, QStringLiteral("Can't Save File"));
    return false;
  }
  stamp_ = tarvex::StampOf(table_.Path());
  Fill(SelectedRow());
  if (header_) header_->Fill(table_.headerLines());
  return true;
}

bool orvEditor::mnuFileSaveAs_Click() {
  dlgTable_.title = QStringLiteral("Save Model Table");
  dlgTable_.defaultExt = QStringLiteral(".dat");
  dlgTable_.overwritePrompt = true;
  const auto path = prompts().SaveFileName(dlgTable_);
  dlgTable_.defaultExt.clear();
  dlgTable_.overwritePrompt = false;
  if (!path || !PersonalitiesMayMove(*path)) return false;
  QString error;
  if (!table_.Save(*path, &error)) {
    Warn(error, QStringLiteral("Can't Save File"));
    return false;
  }
  stamp_ = tarvex::StampOf(table_.Path());
  dlgTable_.folder = tarvex::FolderPart(*path);
  PersonalitiesFollow();
  Fill(SelectedRow());
  if (header_) header_->Fill(table_.headerLines());
  return true;
}

void orvEditor::mnuFileRevert_Click() {
  if (table_.Path().isEmpty()) {
    Warn(QStringLiteral("No model table is open, so there is no backup to go back to."), kTitle);
    return;
  }
  const QString backup = BackupPath(table_.Path());
  if (!QFileInfo(backup).isFile()) {
    Warn(backup + QStringLiteral("\r\nThis file does not exist."), QStringLiteral("Can't Load File"));
    return;
  }
  if (table_.Modified() &&
      prompts().MsgBox(QStringLiteral("Drop the changes to %1 and load its backup %2?")
                           .arg(tarvex::FileTitle(table_.Path()), tarvex::FileTitle(backup)),
                       QStringLiteral("Revert"), MsgButtons::YesNo, MsgIcon::Question) != MsgResult::Yes)
    return;
  QString error;
  QStringList notes;
  if (!table_.LoadContent(backup, &error, &notes)) {
    Warn(error, QStringLiteral("Can't Load File"));
    return;
  }
  Loaded(notes);
}

void orvEditor::mnuFileComments_Click() {
  if (!comments_) {
    comments_ = new tarvex::CommentsWindow(
        this, QStringLiteral("orv"), [this] { return table_.Comments(); },
        [this](const QString& text) {
          const QString problem = tarvex::CommentsRefusal(text, QLatin1String(kModelsFileName), kLongestLine,
                                                          QStringLiteral("The comments were kept as they were."));
          if (!problem.isEmpty()) {
            Warn(problem, kTitle);
            return false;
          }
          table_.SetComments(text);
          return true;
        });
    tarvex::PlaceOver(this, comments_, QPoint(60, 120));
  }
  tarvex::BringForward(comments_);
}

void orvEditor::mnuFileHeader_Click() {
  if (!header_) {
    header_ = new tarvex::HeaderViewer(this, QStringLiteral("orv"), QStringLiteral("MODELS.DAT Header Viewer"));
    tarvex::PlaceOver(this, header_, QPoint(120, 80));
  }
  header_->Fill(table_.headerLines());
  tarvex::BringForward(header_);
}

void orvEditor::mnuPersonalities_Click() {
  if (table_.Path().isEmpty()) {
    Warn(QStringLiteral("Open a models.dat first: the personalities lie in the per folder beside it."),
         QStringLiteral("Personalities"));
    return;
  }
  if (!personality_) {
    personality_ = new orvPersonality(this, tarvex::FolderPart(table_.Path()));
    tarvex::PlaceOver(this, personality_, QPoint(80, 60));
  }
  tarvex::BringForward(personality_);
}

void orvEditor::mnuHelpAbout_Click() {
  prompts().MsgBox(QStringLiteral("Orvane 0.2b\r\nby Dessel\r\n\r\n") + QLatin1String(tarvex::kWebsite),
                   QStringLiteral("About Orvane"), MsgButtons::OK, MsgIcon::None);
}

bool orvEditor::FieldsReadable(int slot) {
  for (const QString& problem : {NameProblem(txtModel->text(), QStringLiteral("model")),
                                 NameProblem(txtSound->text(), QStringLiteral("sound")),
                                 CommentProblem(txtComment->text()),
                                 LineProblem(slot, {slot, txtModel->text(), txtSound->text(), txtComment->text()})}) {
    if (problem.isEmpty()) continue;
    Warn(problem + QStringLiteral(" Nothing was changed."), kTitle);
    return false;
  }
  return true;
}

bool orvEditor::FieldsPending() const {
  const int row = SelectedRow();
  if (row < 0) return false;
  const ModelEntry& e = table_.modelTable()[size_t(row)];
  return txtModel->text() != e.model || txtSound->text() != e.sound || txtComment->text() != e.comment;
}

bool orvEditor::cmdApply_Click() {
  const int row = SelectedRow();
  if (row < 0 || !FieldsReadable(row)) return false;
  table_.Set(row, txtModel->text(), txtSound->text(), txtComment->text());
  const ModelEntry& e = table_.modelTable()[size_t(row)];
  QTreeWidgetItem* item = lvwModels->topLevelItem(row);
  item->setText(1, e.model);
  item->setText(2, e.sound);
  item->setText(3, e.comment);
  return true;
}

void orvEditor::cmdAdd_Click() {
  if (!FieldsReadable(table_.Count())) return;
  Fill(table_.Add(txtModel->text(), txtSound->text(), txtComment->text()));
}

void orvEditor::cmdDelete_Click() {
  const int row = SelectedRow();
  if (row < 0) return;
  if (prompts().MsgBox(QStringLiteral("Are you sure you want to delete the model \"%1\"?")
                           .arg(table_.modelTable()[size_t(row)].model),
                       QStringLiteral("Confirm Delete Model"), MsgButtons::YesNo, MsgIcon::Question) != MsgResult::Yes)
    return;
  table_.Delete(row);
  Fill(qMin(row, table_.Count() - 1));
}

void orvEditor::cmdUp_Click() {
  const int row = SelectedRow();
  if (table_.Move(row, -1)) Fill(row - 1);
}

void orvEditor::cmdDown_Click() {
  const int row = SelectedRow();
  if (table_.Move(row, 1)) Fill(row + 1);
}

void orvEditor::Pick(PickKind kind) {
  if (picker_) picker_->close();
  picker_ = new orvPicker(this, kind);
  connect(picker_, &orvPicker::picked, this, [this, kind](const QString& name) {
    (kind == PickKind::Model ? txtModel : txtSound)->setText(name);
  });
  picker_->open();
}

void orvEditor::cmdPickModel_Click() { Pick(PickKind::Model); }
void orvEditor::cmdPickSound_Click() { Pick(PickKind::Sound); }

bool orvEditor::MayDrop() {
  // Fields typed but not applied to the selected entry, and a comments edit not yet stored
  // with that window's Save, count as changes; Yes applies and stores them before saving.
  const bool fieldsPending = FieldsPending(), commentsPending = comments_ && comments_->Pending();
  return tarvex::MayDropChanges(table_.Modified() || fieldsPending || commentsPending, QLatin1String(kModelsFileName),
                                [&] {
                                  return (!fieldsPending || cmdApply_Click()) &&
                                         (!commentsPending || comments_->Store()) && mnuFileSave_Click();
                                });
}

void orvEditor::closeEvent(QCloseEvent* event) {
  // Every window that holds changes is asked before anything closes; Cancel in any of them
  // keeps them all open. Then the tool windows go with the main window, so that the process
  // ends with its last window.
  if ((personality_ && !personality_->MayDiscard()) || !MayDrop()) {
    event->ignore();
    return;
  }
  if (personality_) personality_->CloseAsked();
  if (picker_) picker_->reject();
  for (QWidget* w : {static_cast<QWidget*>(comments_), static_cast<QWidget*>(header_), static_cast<QWidget*>(picker_)})
    if (w) w->close();
  event->accept();
}

}  // namespace orvane

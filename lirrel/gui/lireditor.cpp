#include "lirrel/gui/lireditor.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QVBoxLayout>

#include "common/ansicodec.h"
#include "common/paths.h"
#include "common/tarvex.h"
#include "common/text.h"
#include "common/ui/closeprompt.h"
#include "common/ui/toolwindow.h"
#include "lirrel/core/tablefile.h"

namespace lirrel {

using tarvex::MsgButtons;
using tarvex::MsgIcon;
using tarvex::MsgResult;
using tarvex::prompts;

bool RefuseUnstorable(const QString& text, const QString& consequence) {
  const QString what = tarvex::DescribeUnencodable(text);
  if (what.isEmpty()) return false;
  prompts().MsgBox(QStringLiteral("The character %1 cannot be stored in jkstrings.uni (Windows-1252). %2")
                       .arg(what, consequence),
                   QStringLiteral("Lirrel"), MsgButtons::OK, MsgIcon::Exclamation);
  return true;
}

QString CountText(int count) { return QStringLiteral("Number of Messages: ") + tarvex::NumText(count); }

lirEditor::lirEditor(QWidget* parent) : QMainWindow(parent), table_(this) {
  setObjectName(QStringLiteral("lirEditor"));
  setWindowTitle(QStringLiteral("Lirrel"));
  lirCommonDlg.title = QStringLiteral("Load JKStrings.Uni");
  lirCommonDlg.filter = QStringLiteral("*.Uni file| *.uni|*.Uni Backup | *.~un");
  lirCommonDlg.fileName = QLatin1String(kTableFileName);
  BuildMenus();
  BuildControls();
  // The lists mirror the empty table until something is loaded.
  keyGroupBox->addItem(table_.groupTable().front(), 0);
  keyGroupBox->setCurrentIndex(0);
  FillKeyList();
  resize(780, 520);
}

lirEditor::~lirEditor() { table_.SetListener(nullptr); }

void lirEditor::BuildMenus() {
  mnuFile = menuBar()->addMenu(QStringLiteral("&File"));
  mnuFile->setObjectName(QStringLiteral("mnuFile"));
  const char* file[] = {"&Load jkstrings.uni", "Revert to &backup jkstrings.uni", "&Save jkstrings.uni", nullptr,
                        "&Close"};
  for (int i = 0; i < 5; ++i) {
    if (!file[i]) {
      smnuFile[size_t(i)] = mnuFile->addSeparator();
    } else {
      smnuFile[size_t(i)] = mnuFile->addAction(QString::fromLatin1(file[i]), this, [this, i] { smnuFile_Click(i); });
    }
    smnuFile[size_t(i)]->setObjectName(QStringLiteral("smnuFile%1").arg(i));
  }
  mnuEdit = menuBar()->addMenu(QStringLiteral("&Edit"));
  mnuEdit->setObjectName(QStringLiteral("mnuEdit"));
  const char* edit[] = {"&Add Key", "&Delete Key"};
  for (int i = 0; i < 2; ++i) {
    smnuEdit[size_t(i)] = mnuEdit->addAction(QString::fromLatin1(edit[i]), this, [this, i] { smnuEdit_Click(i); });
    smnuEdit[size_t(i)]->setObjectName(QStringLiteral("smnuEdit%1").arg(i));
  }
  // Two items of the menu bar itself act when clicked.
  mnuComDesc = menuBar()->addAction(QStringLiteral("&Comments && Description"), this, [this] { mnuComDesc_Click(); });
  mnuComDesc->setObjectName(QStringLiteral("mnuComDesc"));
  mnuHeader = menuBar()->addAction(QStringLiteral("&View Header"), this, [this] { mnuHeader_Click(); });
  mnuHeader->setObjectName(QStringLiteral("mnuHeader"));
  mnuHelp = menuBar()->addMenu(QStringLiteral("&Help"));
  mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
  smnuHelp = mnuHelp->addAction(QStringLiteral("&About"), this, [this] { smnuHelp_Click(); });
  smnuHelp->setObjectName(QStringLiteral("smnuHelp"));
}

void lirEditor::BuildControls() {
  auto* central = new QWidget(this);
  setCentralWidget(central);

  InfoLabel[0] = new QLabel(QStringLiteral("Key Name"), central);
  InfoLabel[1] = new QLabel(QStringLiteral("Key Group"), central);
  for (int i = 0; i < 2; ++i) InfoLabel[size_t(i)]->setObjectName(QStringLiteral("InfoLabel%1").arg(i));

  keyGroupBox = new QComboBox(central);
  keyGroupBox->setObjectName(QStringLiteral("keyGroupBox"));
  keyGroupBox->setMaxVisibleItems(20);
  keyGroupBox->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  keyGroupBox->setMinimumContentsLength(16);
  connect(keyGroupBox, &QComboBox::activated, this, [this] { keyGroupBox_Click(); });
  InfoLabel[1]->setBuddy(keyGroupBox);

  keyNames_ = new KeyListModel(this);
  keyNameBox = new KeyList(central);
  keyNameBox->setObjectName(QStringLiteral("keyNameBox"));
  keyNameBox->setModel(keyNames_);
  connect(keyNameBox, &QListView::clicked, this, [this] { keyNameBox_Click(); });
  connect(keyNameBox->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { keyNameBox_Click(); });
  connect(keyNameBox, &KeyList::characterTyped, this, [this] { keyNameBox_Click(); });
  InfoLabel[0]->setBuddy(keyNameBox);

  keyValueBox = new QPlainTextEdit(central);
  keyValueBox->setObjectName(QStringLiteral("keyValueBox"));
  keyValueBox->setTabChangesFocus(true);
  valueNote = new QLabel(central);
  valueNote->setObjectName(QStringLiteral("valueNote"));
  valueNote->setWordWrap(true);
  valueNote->hide();

  auto* buttons = new QHBoxLayout;
  const char* captions[] = {"&Save", "&Clear", "&Reset"};
  for (int i = 0; i < 3; ++i) {
    cmdBtn[size_t(i)] = new QPushButton(QString::fromLatin1(captions[i]), central);
    cmdBtn[size_t(i)]->setObjectName(QStringLiteral("cmdBtn%1").arg(i));
    cmdBtn[size_t(i)]->setAutoDefault(false);
    connect(cmdBtn[size_t(i)], &QPushButton::clicked, this, [this, i] { cmdBtn_Click(i); });
    buttons->addWidget(cmdBtn[size_t(i)]);
  }
  buttons->addStretch(1);

  numMsg = new QLabel(QStringLiteral("Number of Messages:"), central);
  numMsg->setObjectName(QStringLiteral("numMsg"));

  // Left: the group and the keys of that group. Right: the value of the selected key.
  auto* grid = new QGridLayout(central);
  grid->addWidget(InfoLabel[1], 0, 0);
  grid->addWidget(keyGroupBox, 1, 0);
  grid->addWidget(InfoLabel[0], 2, 0);
  grid->addWidget(keyNameBox, 3, 0);
  auto* valueLabel = new QLabel(QStringLiteral("Value"), central);
  valueLabel->setBuddy(keyValueBox);
  grid->addWidget(valueLabel, 2, 1);
  auto* value = new QVBoxLayout;
  value->addWidget(keyValueBox, 1);
  value->addWidget(valueNote);
  grid->addLayout(value, 3, 1);
  grid->addLayout(buttons, 4, 1);
  grid->addWidget(numMsg, 4, 0);
  grid->setColumnStretch(0, 1);
  grid->setColumnStretch(1, 1);
  grid->setRowStretch(3, 1);
  // Names for screen readers, as their labels say.
  keyGroupBox->setAccessibleName(QStringLiteral("Key Group"));
  keyNameBox->setAccessibleName(QStringLiteral("Key Name"));
  keyValueBox->setAccessibleName(QStringLiteral("Value"));
}

void lirEditor::Form_Load(const QString& commandLine) {
  const QString program = tarvex::ProgramFolder();
  QDir::setCurrent(program);
  lirCommonDlg.folder = program;
  if (const auto folder = StartFolder(commandLine, program)) {
    lirCommonDlg.folder = *folder;
    table_.LoadTable(*folder, LoadMode::Load, StartFileName(commandLine));
  }
}

void lirEditor::ShowTitle() {
  const QString path = table_.LoadedPath();
  setWindowTitle(path.isEmpty() ? QStringLiteral("Lirrel") : QStringLiteral("Lirrel - ") + path);
}

std::optional<QString> lirEditor::AskForTable(bool save) {
  lirCommonDlg.title = save ? QStringLiteral("Save JKStrings.Uni") : QStringLiteral("Load JKStrings.Uni");
  const std::optional<QString> chosen =
      save ? prompts().SaveFileName(lirCommonDlg) : prompts().OpenFileName(lirCommonDlg);
  if (!chosen || chosen->isEmpty()) return std::nullopt;
  if (!IsTableFileName(*chosen)) {
    prompts().MsgBox(QStringLiteral("This file is not JKStrings.Uni."),
                     save ? QStringLiteral("Error Saving File") : QStringLiteral("Error Loading File"), MsgButtons::OK,
                     MsgIcon::None);
    return std::nullopt;
  }
  lirCommonDlg.folder = FolderOf(*chosen);
  return chosen;
}

void lirEditor::smnuFile_Click(int index) {
  switch (index) {
    case 0:
    case 1:
      if (!MayDiscard()) break;
      if (const auto path = AskForTable(false))
        table_.LoadTable(FolderOf(*path), index == 0 ? LoadMode::Load : LoadMode::Revert, tarvex::FileTitle(*path));
      break;
    case 2:
      if (const auto path = AskForTable(true); path && MayOverwrite(*path))
        table_.SaveTable(FolderOf(*path), tarvex::FileTitle(*path));
      ShowTitle();
      break;
    case 4: close(); break;
    default: break;
  }
}

bool lirEditor::MayOverwrite(const QString& path) {
  // Only the file read here can have been written by another program since.
  if (QFileInfo(path) != QFileInfo(table_.LoadedPath())) return true;
  return tarvex::MayOverwriteChanged(table_.Stamp(), table_.LoadedPath(), tarvex::FileTitle(table_.LoadedPath()), QStringLiteral("Lirrel"));
}

bool lirEditor::SaveChanges() {
  if (!table_.LoadedFolder().isEmpty())
    return MayOverwrite(table_.LoadedPath()) && table_.SaveTable(table_.LoadedFolder());
  const std::optional<QString> path = AskForTable(true);
  return path && table_.SaveTable(FolderOf(*path), tarvex::FileTitle(*path));
}

bool lirEditor::MayDiscard() {
  const bool valuePending = ValuePending(), commentsPending = comments_ && comments_->Pending();
  return tarvex::MayDropChanges(table_.Modified() || valuePending || commentsPending, QLatin1String(kTableFileName),
                                [&] {
                                  return (!valuePending || StoreValue()) && (!commentsPending || comments_->Store()) &&
                                         SaveChanges();
                                });
}

void lirEditor::closeEvent(QCloseEvent* event) {
  if (!MayDiscard()) {
    event->ignore();
    return;
  }
  if (comments_) comments_->close();
  if (header_) header_->close();
  event->accept();
}

void lirEditor::smnuEdit_Click(int index) {
  if (index == 0) {
    const QString name = prompts().InputBox(QStringLiteral("Enter the name for the new key:"),
                                            QStringLiteral("Add Key"), QStringLiteral("New_Key"));
    if (name.isEmpty()) return;
    if (Unwritable(name)) {
      prompts().MsgBox(QStringLiteral("A key name cannot hold a double quote or a line break: jkstrings.uni has no "
                                      "way to write them. The key was not added."),
                       QStringLiteral("Lirrel"), MsgButtons::OK, MsgIcon::Exclamation);
      return;
    }
    if (RefuseUnstorable(name, QStringLiteral("The key was not added."))) return;
    table_.AddKey(QLatin1String(StringTable::kCustomGroup), name, QString());
  } else if (index == 1) {
    const int row = keyNameBox->SelectedRow();
    // The placeholder "(empty)" is no key: it is never written and never deleted.
    if (row < 0 || keyNames_->At(row).key == 0) {
      prompts().MsgBox(QStringLiteral("First select a key to delete."), QStringLiteral("Info"), MsgButtons::OK,
                       MsgIcon::None);
      return;
    }
    const KeyListModel::Entry entry = keyNames_->At(row);
    if (prompts().MsgBox(QStringLiteral("Are you sure you want to delete the key \"") + entry.text +
                             QStringLiteral("\"?"),
                         QStringLiteral("Confirm Delete Key"), MsgButtons::YesNo, MsgIcon::None) != MsgResult::Yes)
      return;
    table_.DeleteKey(entry.key);
    FillKeyList();
    keyValueBox->clear();  // no key is selected now; the deleted key's value would mislead
  }
}

bool lirEditor::StoreComments(const QString& text) {
  // The comments are written on one header line, which must stay within what the game reads.
  const QString refusal = tarvex::CommentsRefusal(text, QLatin1String(kTableFileName), kGameLineLimit,
                                                  QStringLiteral("The comments were kept as they were."));
  if (!refusal.isEmpty()) {
    prompts().MsgBox(refusal, QStringLiteral("Lirrel"), MsgButtons::OK, MsgIcon::Exclamation);
    return false;
  }
  SetComments(text);
  return true;
}

void lirEditor::mnuComDesc_Click() {
  if (!comments_) {
    comments_ = new lirComments(
        this, [this] { return Comments(); }, [this](const QString& text) { return StoreComments(text); });
    tarvex::PlaceOver(this, comments_, QPoint(60, 120));
  }
  tarvex::BringForward(comments_);
}

void lirEditor::mnuHeader_Click() {
  if (!header_) {
    header_ = new lirHeader(this);
    tarvex::PlaceOver(this, header_, QPoint(120, 80));
  }
  header_->Fill(table_.headerLines());
  tarvex::BringForward(header_);
}

void lirEditor::smnuHelp_Click() {
  prompts().MsgBox(QStringLiteral("Lirrel 0.2b\r\nby Dessel\r\n\r\n") + QLatin1String(tarvex::kWebsite),
                   QStringLiteral("About Lirrel"), MsgButtons::OK, MsgIcon::None);
}

void lirEditor::FillKeyList() {
  const std::vector<StringKey>& keys = table_.keyTable();
  std::vector<KeyListModel::Entry> entries;
  if (keyGroupBox->currentIndex() <= 0) {
    entries.reserve(keys.size());
    for (size_t k = 0; k < keys.size(); ++k) entries.push_back({keys[k].name, int(k)});
  } else {
    const int group = keyGroupBox->currentData().toInt();
    for (size_t k = 0; k < keys.size(); ++k)
      if (keys[k].group == group) entries.push_back({keys[k].name, int(k)});
  }
  keyNames_->SetEntries(std::move(entries));
}

void lirEditor::keyGroupBox_Click() { FillKeyList(); }

int lirEditor::SelectedKey() const {
  const int row = keyNameBox->SelectedRow();
  return row < 0 ? -1 : keyNames_->At(row).key;
}

void lirEditor::keyNameBox_Click() {
  const int k = SelectedKey();
  if (k < 0 || k > table_.Count()) return;
  ShowValue(k);
}

void lirEditor::ShowValue(int k) {
  const StringKey& key = table_.keyTable()[size_t(k)];
  const qsizetype room = ValueRoom(key.name, key.trailer);
  // A value longer than the game reads is shown cut: laying out megabytes of text in the box
  // would freeze the window, and the part past the cut is never shown by the game anyway.
  const bool cut = key.value.size() > room;
  keyValueBox->setReadOnly(cut);
  keyValueBox->setPlainText(cut ? key.value.left(room) : key.value);
  valueNote->setVisible(cut);
  if (cut)
    valueNote->setText(QStringLiteral("This value is %1 characters long; the game reads only the first %2, shown "
                                      "here. The full text is kept unchanged. Clear replaces it.")
                           .arg(key.value.size())
                           .arg(room));
}

void lirEditor::cmdBtn_Click(int index) {
  const int k = SelectedKey();
  switch (index) {
    case 0: StoreValue(); break;
    case 1:
      keyValueBox->setReadOnly(false);
      valueNote->hide();
      keyValueBox->clear();
      break;
    case 2:
      if (k >= 0 && k <= table_.Count()) ShowValue(k);
      break;
    default: break;
  }
}

bool lirEditor::ValuePending() const {
  const int k = SelectedKey();
  return k > 0 && k <= table_.Count() && !ValueCut() && keyValueBox->toPlainText() != table_.keyTable()[size_t(k)].value;
}

bool lirEditor::StoreValue() {
  const int k = SelectedKey();
  if (k <= 0) return false;  // nothing selected, or the placeholder, which holds no value
  if (ValueCut()) return true;  // the box shows part of the stored value, which stays as it is
  QString text = keyValueBox->toPlainText();
  if (Unwritable(text)) {
    prompts().MsgBox(QStringLiteral("A value cannot hold a double quote or a line break: jkstrings.uni has no "
                                    "way to write them. The stored value was kept."),
                     QStringLiteral("Lirrel"), MsgButtons::OK, MsgIcon::Exclamation);
    return false;
  }
  if (RefuseUnstorable(text, QStringLiteral("The stored value was kept."))) return false;
  // The game reads a key line only so far: say so now, while the user can still decide.
  const StringKey& key = table_.keyTable()[size_t(k)];
  const qsizetype room = ValueRoom(key.name, key.trailer);
  bool keepLong = false;
  if (text.size() > room && text != key.value) {
    const MsgResult answer = prompts().MsgBox(
        QStringLiteral("The value of \"%1\" is %2 characters long; the game reads the key line only up to %3 bytes "
                       "and cuts the value after %4 characters.\r\n\r\nYes keeps the whole value, No shortens it to "
                       "the %4 characters the game reads, Cancel stores nothing.")
            .arg(key.name)
            .arg(text.size())
            .arg(kGameLineLimit)
            .arg(room),
        QStringLiteral("Lirrel"), MsgButtons::YesNoCancel, MsgIcon::Exclamation);
    if (answer == MsgResult::Cancel) return false;
    if (answer == MsgResult::No) text.truncate(room);
    keepLong = answer == MsgResult::Yes;
  }
  if (!table_.SetValue(k, text)) return false;
  if (keepLong) table_.KeepLongValue(k);
  if (text.size() > room || text != keyValueBox->toPlainText()) ShowValue(k);  // cut, or shortened
  return true;
}

// --- The table's reports ---

void lirEditor::ListsReset() {
  loading_ = true;
  keyGroupBox->clear();
  keyNames_->Clear();
}

void lirEditor::GroupAdded(const QString& name, int index) { keyGroupBox->addItem(name, index); }

void lirEditor::KeyAdded(const QString& name, int index) {
  if (!loading_) keyNames_->Append(name, index);
}

void lirEditor::CountChanged(int count) {
  if (!loading_) numMsg->setText(CountText(count));
}

void lirEditor::LoadFinished() {
  loading_ = false;
  ShowTitle();
  numMsg->setText(CountText(table_.Count()));
  keyGroupBox->setCurrentIndex(0);
  keyGroupBox_Click();
  keyNameBox->SelectRow(0);
  keyNameBox_Click();
  if (header_) header_->Fill(table_.headerLines());  // an open viewer shows the header just read
}

void lirEditor::ProgressShown(const QString& caption, qint64 max) {
  if (!progress_) {
    progress_ = new Progress(this);
    tarvex::PlaceOver(this, progress_, QPoint((width() - progress_->width()) / 2, height() / 3));
  }
  progress_->Show(caption, max);
}

void lirEditor::ProgressUpdated(const QString& caption, qint64 pos) {
  if (progress_) progress_->Update(caption, pos);
}

void lirEditor::ProgressClosed() { delete progress_; }

void lirEditor::Message(const QString& text, const QString& title, Notice kind) {
  prompts().MsgBox(text, title, MsgButtons::OK, kind == Notice::Warning ? MsgIcon::Exclamation : MsgIcon::Information);
}

}  // namespace lirrel

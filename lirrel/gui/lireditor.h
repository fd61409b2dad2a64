#pragma once
// Lirrel's main window: the group list, the key list and the value of the selected key, with
// the menus that load, save and change the string table of jkstrings.uni.
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <array>

#include "common/ui/prompts.h"
#include "lirrel/core/stringtable.h"
#include "lirrel/gui/keylist.h"
#include "lirrel/gui/lircomments.h"
#include "lirrel/gui/lirheader.h"
#include "lirrel/gui/progress.h"

namespace lirrel {

// Tells the user when text holds a character jkstrings.uni (Windows-1252) cannot store,
// naming it and what happens instead (consequence); true when refused.
bool RefuseUnstorable(const QString& text, const QString& consequence);

class lirEditor : public QMainWindow, private TableListener {
  Q_OBJECT
 public:
  explicit lirEditor(QWidget* parent = nullptr);
  ~lirEditor() override;

  // Start-up: the program's folder becomes the current folder, then the command line decides
  // what is loaded (see StartFolder).
  void Form_Load(const QString& commandLine);

  StringTable& Table() { return table_; }
  const StringTable& Table() const { return table_; }
  const QString& Comments() const { return table_.Comments(); }
  void SetComments(const QString& text) { table_.SetComments(text); }

  // Menu commands. File: 0 Load, 1 Revert, 2 Save, 4 Close. Edit: 0 Add Key, 1 Delete Key.
  void smnuFile_Click(int index);
  void smnuEdit_Click(int index);
  void mnuComDesc_Click();
  void mnuHeader_Click();
  void smnuHelp_Click();
  // The lists and the value box's buttons (0 Save, 1 Clear, 2 Reset).
  void keyGroupBox_Click();
  void keyNameBox_Click();
  void cmdBtn_Click(int index);

  // The key index of the selected key list entry, or -1 when none is selected.
  int SelectedKey() const;
  KeyListModel* KeyNames() const { return keyNames_; }
  lirComments* CommentsWindow() const { return comments_; }
  lirHeader* HeaderWindow() const { return header_; }
  Progress* ProgressWindow() const { return progress_; }

  // Controls.
  QComboBox* keyGroupBox;
  KeyList* keyNameBox;
  QPlainTextEdit* keyValueBox;
  // Under the value box while it shows a value cut at what the game reads.
  QLabel* valueNote;
  std::array<QPushButton*, 3> cmdBtn;
  QLabel* numMsg;
  std::array<QLabel*, 2> InfoLabel;  // "Key Name", "Key Group"
  tarvex::FileDialogRequest lirCommonDlg;
  QMenu* mnuFile;
  std::array<QAction*, 5> smnuFile;  // 3 is the separator
  QMenu* mnuEdit;
  std::array<QAction*, 2> smnuEdit;
  QAction* mnuComDesc;
  QAction* mnuHeader;
  QMenu* mnuHelp;
  QAction* smnuHelp;

 protected:
  // Unsaved changes are offered for saving first; Cancel keeps the window open.
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildMenus();
  void BuildControls();
  // Asks for jkstrings.uni in the file dialog; the chosen file's path, or nothing when the
  // dialog was cancelled or another file was chosen.
  std::optional<QString> AskForTable(bool save);
  // Shows key k's value in the value box: whole, or, when the game cuts it, the part the game
  // reads, read-only, with a note that the full text is kept.
  void ShowValue(int k);
  // The value box shows a cut value (nothing typed there can be stored).
  bool ValueCut() const { return keyValueBox->isReadOnly(); }
  void ShowTitle();
  // Saves to the folder last loaded from, or asks for one; true when the file was written.
  bool SaveChanges();
  // Saving to path may go ahead: it is not the file read here, or that file was not written by
  // another program since, or the user says to overwrite it.
  bool MayOverwrite(const QString& path);
  // Before the table in memory is replaced or dropped: when it has unsaved changes, or the
  // value box or the comments window holds an edit not yet stored with its Save button, asks
  // "Save changes to jkstrings.uni?". Yes stores those edits and saves. True when the table
  // may go (No, or a save that worked).
  bool MayDiscard();
  // The value box's Save: the box's text becomes the selected key's value; false when it
  // cannot be written or no key is selected.
  bool StoreValue();
  bool ValuePending() const;
  // The comments window's Save: false (with a message) when the text cannot be written into
  // the header.
  bool StoreComments(const QString& text);
  void FillKeyList();

  // The table's reports.
  void ListsReset() override;
  void GroupAdded(const QString& name, int index) override;
  void KeyAdded(const QString& name, int index) override;
  void CountChanged(int count) override;
  void LoadFinished() override;
  void ProgressShown(const QString& caption, qint64 max) override;
  void ProgressUpdated(const QString& caption, qint64 pos) override;
  void ProgressClosed() override;
  void Message(const QString& text, const QString& title, Notice kind) override;

  StringTable table_;
  KeyListModel* keyNames_;
  QPointer<lirComments> comments_;
  QPointer<lirHeader> header_;
  QPointer<Progress> progress_;
  bool loading_ = false;  // the key list and the count are filled once the load has ended
};

// "Number of Messages: " + the count in the number-to-text form.
QString CountText(int count);

}  // namespace lirrel

#pragma once
// Orvane's main window: the model list with its count, the fields of the selected model with
// their pickers, and the menus that open, save and revert the model table.
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTreeWidget>

#include "common/filestamp.h"
#include "common/ui/commentswindow.h"
#include "common/ui/headerviewer.h"
#include "common/ui/prompts.h"
#include "orvane/core/modeltable.h"
#include "orvane/core/pickcheck.h"

namespace orvane {

class orvPicker;
class orvPersonality;

class orvEditor : public QMainWindow {
  Q_OBJECT
 public:
  explicit orvEditor(QWidget* parent = nullptr);

  // Start-up: a path on the command line is loaded; without one Orvane starts empty.
  void Form_Load(const QString& commandLine);
  // Loads the model table at path, after offering to save unsaved changes; false when
  // nothing was loaded.
  bool OpenTable(const QString& path);

  ModelTable& Table() { return table_; }
  // The selected row of the model list, or -1.
  int SelectedRow() const;
  void SelectRow(int row);

  // Menu commands.
  void mnuFileOpen_Click();
  bool mnuFileSave_Click();
  bool mnuFileSaveAs_Click();
  void mnuFileRevert_Click();
  void mnuFileComments_Click();
  void mnuFileHeader_Click();
  void mnuPersonalities_Click();
  void mnuHelpAbout_Click();
  // Buttons.
  void cmdPickModel_Click();
  void cmdPickSound_Click();
  bool cmdApply_Click();  // false when no row is selected or a field was refused
  void cmdAdd_Click();
  void cmdDelete_Click();
  void cmdUp_Click();
  void cmdDown_Click();
  void lvwModels_Click();

  tarvex::CommentsWindow* CommentsWindow() const { return comments_; }
  tarvex::HeaderViewer* HeaderWindow() const { return header_; }
  orvPicker* Picker() const;
  orvPersonality* PersonalityWindow() const;

  QTreeWidget* lvwModels;
  QLabel* lblCount;
  QLineEdit* txtModel;
  QLineEdit* txtSound;
  QLineEdit* txtComment;
  QPushButton* cmdPickModel;
  QPushButton* cmdPickSound;
  QPushButton* cmdApply;
  QPushButton* cmdAdd;
  QPushButton* cmdDelete;
  QPushButton* cmdUp;
  QPushButton* cmdDown;
  QMenu* mnuFile;
  QMenu* mnuPersonalities;
  QMenu* mnuHelp;

 protected:
  // Unsaved changes are offered for saving first; Cancel keeps the window open.
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildMenus();
  void BuildControls();
  void Fill(int select);
  void ShowCount();
  void Loaded(const QStringList& notes);
  // The three fields when the game can read them as entry slot; otherwise says why and gives
  // false.
  bool FieldsReadable(int slot);
  // Before the table moves to path: an open personalities window that would show other files
  // asks about its unsaved changes; false when the user cancelled.
  bool PersonalitiesMayMove(const QString& path);
  // The personalities window shows the files beside the table now edited.
  void PersonalitiesFollow();
  void Pick(PickKind kind);
  // Offers to save unsaved changes (fields not applied and a comments edit not yet stored
  // among them); false when the user cancelled, a field was refused or the save failed.
  bool MayDrop();
  bool FieldsPending() const;
  void Warn(const QString& text, const QString& title) const;

  ModelTable table_;
  // The file as it was last read or written here, to tell whether another program wrote it since.
  tarvex::FileStamp stamp_;
  tarvex::FileDialogRequest dlgTable_;
  QPointer<tarvex::CommentsWindow> comments_;
  QPointer<tarvex::HeaderViewer> header_;
  QPointer<orvPicker> picker_;
  QPointer<orvPersonality> personality_;
};

// "Number of Models:" + the count in the number-to-text form.
QString CountText(int count);

}  // namespace orvane

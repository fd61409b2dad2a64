#pragma once
// The personalities window of MotS: the personality files in the per folder beside
// models.dat, one at a time, as a table of parameters that the user adds to, changes,
// deletes from and saves.
#include <QComboBox>
#include <QPushButton>
#include <QTableWidget>
#include <QWidget>
#include <map>

namespace orvane {

class orvPersonality : public QWidget {
  Q_OBJECT
 public:
  // modelsFolder: the folder that holds models.dat (misc); the files lie in its per folder.
  orvPersonality(QWidget* owner, const QString& modelsFolder);

  // The folder that holds models.dat; the window follows the table the main window edits.
  const QString& ModelsFolder() const { return modelsFolder_; }
  // Shows the personality files beside another models.dat (the first of them loaded). Ask
  // MayDiscard first: unsaved changes are dropped.
  void SetModelsFolder(const QString& modelsFolder);
  // Before the file shown is dropped: with unsaved changes asks "Save changes to <file>?"
  // (Yes saves); false when the user cancelled or the save failed.
  bool MayDiscard();
  // Closes without asking again (the user was asked with MayDiscard).
  void CloseAsked();

  // Loads the file chosen in the drop-down, after offering to save unsaved changes.
  void cmbFile_Click();
  // Asks for a parameter number and a value and adds them (or changes the value).
  void cmdAdd_Click();
  void cmdDelete_Click();
  bool cmdSave_Click();

  const std::map<int, QString>& Params() const { return params_; }
  bool Modified() const { return modified_; }
  QString FilePath() const;

  QComboBox* cmbFile;
  QTableWidget* tblParams;
  QPushButton* cmdAdd;
  QPushButton* cmdDelete;
  QPushButton* cmdSave;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void Populate();
  bool Load(int index);
  void Fill();
  void ValueEdited(QTableWidgetItem* item);
  bool SetParam(int number, const QString& value);

  QString modelsFolder_, folder_;
  int shown_ = -1;
  bool asked_ = false;  // the next close was agreed to already  // the drop-down entry whose file the table shows
  std::map<int, QString> params_;
  bool modified_ = false;
  bool filling_ = false;
};

// The display names GUI_PERSONALITY1 ... of the jkstrings.uni in <gameFolder>/ui/, the file
// name found ignoring case; empty texts where there is no file or no such key.
QStringList PersonalityNames(const QString& gameFolder);

}  // namespace orvane

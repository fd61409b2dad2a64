#pragma once
// The folder chooser of the Options dialog: a drive list, a folder list and the chosen
// folder's path, for one of the dialog's folder fields.
#include <QDialog>

class QLineEdit;
class QPushButton;

namespace tarvex {
class DriveList;
class FolderList;
}  // namespace tarvex

namespace scrivane {

class frmOptions;

class frmDir : public QDialog {
  Q_OBJECT
 public:
  explicit frmDir(frmOptions* options);

  QLineEdit* txtDir;
  tarvex::DriveList* Drive1;
  tarvex::FolderList* Dir1;
  QPushButton *cmdOk, *cmdCancel;
  // The index of the Options field being chosen for (0 open, 1 save, 2 extraction); kept
  // from one call to the next.
  static int iDir;

  // Starts from the text of Options field i; a folder that does not exist shows its nearest
  // existing parent.
  void SetDir(int i);

 public slots:
  void cmdOk_Click();
  void Drive1_Change();
  void Dir1_Change();

 private:
  frmOptions* options_;
};

}  // namespace scrivane

#pragma once
// The installer's window: the install folder, a drive and folder chooser, the four file
// association boxes, and the buttons that install or end the program.
#include <QWidget>
#include <array>

#include "scrivane/setup/core/installer.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tarvex {
class DriveList;
class FolderList;
}  // namespace tarvex

namespace pendrel {

class PendrelSetup : public QWidget {
  Q_OBJECT
 public:
  // files and shell default to the platform's own (not owned).
  explicit PendrelSetup(SetupFileOps* files = nullptr, SetupShell* shell = nullptr, QWidget* parent = nullptr);

  QLabel* decoLabel;
  QLineEdit* pdInstallPath;
  tarvex::DriveList* pdDrive;
  tarvex::FolderList* pdDir;
  QPushButton* pdNewDir;
  QGroupBox* FileAssocFrame;
  std::array<QCheckBox*, 4> fileassociation;
  QPushButton* pdInstall;
  QPushButton* pdRemove;  // "&Remove Associations", where the desktop holds them
  QPushButton* pdCancel;
  QLabel* decoImage;

  // How Install registers the ticked associations, and the user's data folder that holds
  // them on a freedesktop desktop.
  Associations associations = NativeAssociations();
  QString dataHome;

  // True once the program has ended (the window is closed then).
  bool Ended() const { return bEnded; }

  void pdDrive_Change();
  void pdDir_Change();
  void pdNewDir_Click();
  void pdInstall_Click();
  void pdRemove_Click();
  void pdCancel_Click();

 private:
  void EndProgram();

  SetupFileOps* files_;
  SetupShell* shell_;
  bool bEnded = false;
};

// The decoration beside the controls.
QPixmap DecorationPicture(const QSize& size);

}  // namespace pendrel

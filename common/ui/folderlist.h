#pragma once
// The drive and folder lists of the programs' folder choosers (the installer's and Scrivane's
// Choose Directory). The folder list shows the folders from the drive down to the current
// one, then the current folder's subfolders; activating a folder (double click or Enter)
// makes it current.
#include <QComboBox>
#include <QString>
#include <QTreeWidget>

namespace tarvex {

class FolderList : public QTreeWidget {
  Q_OBJECT
 public:
  explicit FolderList(QWidget* parent = nullptr);

  // The current folder, native separators.
  QString path() const { return path_; }
  // Moves to a folder; emits pathChanged when it differs from the current one. A folder that
  // does not exist leaves the list where it was and returns false.
  bool setPath(const QString& path);
  // Moves to the folder, or when it does not exist to its nearest existing parent.
  void setNearestPath(const QString& path);
  // Reads the current folder's subfolders again.
  void refresh();

  // The shown subfolder names of the current folder.
  QStringList subfolders() const;

 signals:
  void pathChanged(const QString& path);

 private:
  void Rebuild();

  QString path_;
};

// The platform's drives: the drive letters on Windows; elsewhere the root and the mounted
// volumes. Each item's data is the drive's root folder.
class DriveList : public QComboBox {
  Q_OBJECT
 public:
  explicit DriveList(QWidget* parent = nullptr);
  // Selects the drive that holds the folder (the longest root it starts with).
  void SelectDriveOf(const QString& folder);
};

}  // namespace tarvex

#pragma once
// A folder list: the folders from the drive down to the current one, then the current
// folder's subfolders. Activating a folder (double click or Enter) makes it current.
#include <QString>
#include <QTreeWidget>

namespace pendrel {

class FolderList : public QTreeWidget {
  Q_OBJECT
 public:
  explicit FolderList(QWidget* parent = nullptr);

  // The current folder, native separators.
  QString path() const { return path_; }
  // Moves to a folder; emits pathChanged when it differs from the current one. A folder that
  // does not exist leaves the list where it was and returns false.
  bool setPath(const QString& path);
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

}  // namespace pendrel

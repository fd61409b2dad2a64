#pragma once
// The window that chooses a model or a sound class: from disk with the platform's open
// dialog, or from inside a game archive. A picked file is checked before its name is taken.
#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>

#include "orvane/core/gobarchive.h"
#include "orvane/core/pickcheck.h"

namespace orvane {

class orvPicker : public QDialog {
  Q_OBJECT
 public:
  orvPicker(QWidget* owner, PickKind kind);
  // Shows the window (window-modal); then says why the archive used last time is not listed.
  void open() override;

  // Disk: asks for a file in the open dialog.
  void cmdBrowse_Click();
  // Archive: asks for an archive and lists it.
  void cmdArchive_Click();
  // Lists the entries of the archive at path; false (after saying why) when it is refused.
  bool OpenArchive(const QString& path);
  void txtFilter_Change();
  // Takes the file chosen on disk, or the entry chosen in the list, when it passes the check.
  void cmdOK_Click();

  QTabWidget* tbsSource;
  QLineEdit* txtDisk;
  QPushButton* cmdBrowse;
  QLineEdit* txtArchive;
  QPushButton* cmdArchive;
  QLineEdit* txtFilter;
  QListWidget* lstEntries;
  QPushButton* cmdOK;
  QPushButton* cmdCancel;

 signals:
  // The file name, without folder, of the chosen file.
  void picked(const QString& name);

 private:
  // Checks the bytes of the file called name; takes the name and closes when they pass.
  bool Take(const QString& name, const QByteArray& bytes);
  void Refuse(const QString& text);

  PickKind kind_;
  GobIndex index_;
  QString archive_;
  QString rememberedFault_;  // why the archive used last time could not be listed
  QStringList names_;
};

}  // namespace orvane

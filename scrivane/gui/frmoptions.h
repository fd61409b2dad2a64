#pragma once
// The Options dialog: the default folders for opening and saving scripts, whether the Edit
// menu offers Check Syntax, the game scripts are checked for, and the author's information that Lirrel and Orvane write into
// the headers of the files they save.
#include <QDialog>
#include <QPointer>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTabBar;

namespace scrivane {

class frmDir;
class frmMain;

class frmOptions : public QDialog {
  Q_OBJECT
 public:
  explicit frmOptions(frmMain* main);

  QPushButton *cmdOK, *cmdCancel, *cmdApply;
  QTabBar* tbsOptions;           // "Defaults", "Author Info"
  QWidget* picOptions[4];        // 0 author info, 1 open/save; 2 and 3 are never shown
  QLineEdit *txtDefOpenDir, *txtDefSaveDir, *txtDefExtDir;
  QPushButton* cmdShowDir[3];
  QCheckBox* chkShowCheckSyntax;
  QComboBox* cboCheckGame;  // the game scripts are checked for: JK and MotS, JK, MotS
  QLineEdit *txtAuthName, *txtAuthEmail, *txtAuthWebsite;

  // The folder field of index i (0 open, 1 save, 2 extraction).
  QLineEdit* DirField(int i) const;
  // The folder chooser while it is open.
  frmDir* DirWindow() const;

 public slots:
  void cmdOK_Click();
  void cmdApply_Click();
  void cmdShowDir_Click(int index);
  void tbsOptions_Click();

 protected:
  bool eventFilter(QObject* o, QEvent* e) override;

 private:
  frmMain* main_;
  QPointer<frmDir> dir_;
};

}  // namespace scrivane

#pragma once
// The About box: the program's version, the credits, and the tool maker's e-mail address and
// web page, which open the mail program and the browser when clicked.
#include <QDialog>

class QLabel;

namespace scrivane {

class frmAbout : public QDialog {
  Q_OBJECT
 public:
  explicit frmAbout(QWidget* parent);

  QLabel *lblVersion, *lblAbout, *lblEmail, *lblWebsite;

  // "Scrivane version 0.2.0b" for the version "0.2.0".
  static QString VersionText(const QString& version);

  void lblEmail_Click();
  void lblWebsite_Click();

 protected:
  void mousePressEvent(QMouseEvent* e) override;
  bool eventFilter(QObject* o, QEvent* e) override;
};

}  // namespace scrivane

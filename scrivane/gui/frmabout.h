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

  QLabel *lblVersion = nullptr, *lblAbout = nullptr, *lblEmail = nullptr, *lblWebsite = nullptr;

  // "Scrivane version 0.2.0b" for the version "0.2.0".
  static QString VersionText(const QString& version);

  void lblEmail_Click();
  void lblWebsite_Click();

 protected:
  void mousePressEvent(QMouseEvent* e) override;
  void changeEvent(QEvent* e) override;  // a new palette (theme): the links' colour again
  bool eventFilter(QObject* o, QEvent* e) override;

 private:
  void ColourLinks();
};

}  // namespace scrivane

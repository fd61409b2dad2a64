#pragma once
// The template window: lists a template's fields, lets the user edit their values in place
// (column 1), and generates a new document from the template's body.
#include <QDialog>

#include "scrivane/core/cogtemplate.h"

class QPushButton;
class QTreeWidget;

namespace scrivane {

class frmMain;

class frmCGT : public QDialog {
  Q_OBJECT
 public:
  explicit frmCGT(frmMain* main);

  QTreeWidget* lvwCog;
  QPushButton* cmdGenCog;
  QString strFile;           // the template's path
  qint32 headerLength = 0;   // characters before the body

  // Reads the template and fills the list. False when it cannot be used; the user has been
  // told, and the window must not be shown.
  bool OpenCogTemplate(const QString& path);
  // The fields as the list holds them now, in list order.
  QList<TemplateValue> Values() const;

 public slots:
  // Opens a new document with the body, each field's placeholder replaced by its value.
  void cmdGenCog_Click();

 private:
  void SizeColumns(const QStringList& headings);
  frmMain* main_;
  NormalizedText body_;  // the body in the widget's form, with its lines' own ends
};

}  // namespace scrivane

#pragma once
// A document window: one open COG script in the main window's multi-document area.
#include <QWidget>

#include "scrivane/core/lineends.h"
#include "scrivane/gui/textbox.h"

class QLabel;
class QTreeWidget;

namespace scrivane {

class frmMain;

class frmScrivane : public QWidget {
  Q_OBJECT
 public:
  explicit frmScrivane(frmMain* main, QWidget* parent = nullptr);

  QString Tag;                           // "cog" + window number; the key in colCogs
  QString strFile = QStringLiteral("blank");  // full path, or "blank" when never saved
  QString strFileTitle;                  // file name without folder; empty when never saved
  bool bMod = false;
  LineEnd lineEnd = LineEnd::CRLF;       // the style the file had; saves write it back

  // Find and replace state of this window.
  QString sW, sR;
  qint32 ipos = 1;
  // Text operations of the Edit menu (frmmain_edit.cpp); Replace is also the explorer's rename.
  void MatchBrace();
  void FindWord();
  void Replace(bool bAll, bool bCheckEdges);
  // Positions of the section markers, kept up to date by the change handler.
  qint32 lsym = 0, lsymend = 0;
  // Hint list state.
  qint32 lSpace = 0, intParens = 0;

  TextBox* txtMain;
  QWidget* picMain;
  QLabel* lblHelp;
  QWidget* picCogParams;
  QTreeWidget* lvwCogParams;

  int Number() const;  // the window number n of "cog" + n
  QString Caption() const { return windowTitle(); }
  void SetCaption(const QString& caption);
  // Not modified: bMod false and a trailing "*" removed from the caption.
  void MarkClean();

  // When set, closing skips the save prompt (the question was already asked).
  bool bPromptAnswered = false;

 public slots:
  void txtMain_Change();

 protected:
  void closeEvent(QCloseEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;

 private:
  frmMain* main_;
};

}  // namespace scrivane

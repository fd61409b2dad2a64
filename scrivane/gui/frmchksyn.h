#pragma once
// The syntax checker's dialog: runs the checks over the active document when it loads and
// lists the findings; clicking an entry puts the caret of the active document at the entry's
// position. It keeps no copy of the document and asks for the active one each time.
#include <QDialog>
#include <functional>

class QLineEdit;
class QListWidget;
class QPushButton;

namespace scrivane {

// How the dialog reaches the active document window. Each function is called at the moment
// the dialog needs it, so it always meets the document window activated last.
struct ChkSynDocument {
  std::function<QString()> caption;            // its caption ("*" at the end while modified)
  std::function<QString()> text;               // its text, lines ending in CR LF
  std::function<qsizetype()> selStart;         // its caret (0-based selection start)
  std::function<void(qsizetype)> setSelStart;  // moves its caret (cut at the end of the text)
};

class frmChkSyn : public QDialog {
  Q_OBJECT
 public:
  explicit frmChkSyn(ChkSynDocument doc, QWidget* parent = nullptr);

  QListWidget* lstChkSyn;
  QPushButton* cmdOK;
  QLineEdit* txtSym;  // part of the dialog's design; the checker does not use it

  // Sets the caption from the active document and fills the list (the dialog's load).
  void Form_Load();
  // Runs every check on the active document's text and appends the findings.
  void CheckCog();
  // Appends sErr as the last entry, remembering lpos with it.
  void addErr(const QString& sErr, qsizetype lpos);

 public slots:
  void lstChkSyn_Click(int index);
  void cmdOK_Click();

 private:
  ChkSynDocument doc_;
};

}  // namespace scrivane

#pragma once
// A document window: one open COG script in the main window's multi-document area.
#include <QWidget>
#include <functional>

#include "common/filestamp.h"
#include "scrivane/core/hints.h"
#include "scrivane/core/lineends.h"
#include "scrivane/gui/onfirstuse.h"
#include "scrivane/gui/textbox.h"

class QLabel;
class QPushButton;
class QTreeWidget;

namespace scrivane {

class frmMain;

class frmScrivane : public QWidget {
  Q_OBJECT
 public:
  explicit frmScrivane(frmMain* main, QWidget* parent = nullptr);
  ~frmScrivane() override;

  QString Tag;                           // "cog" + window number; the key in colCogs
  QString strFile = QStringLiteral("blank");  // full path, or "blank" when never saved
  QString strFileTitle;                  // file name without folder; empty when never saved
  bool bMod = false;
  bool readOnly = false;                 // the file cannot be written: Save goes to Save As
  LineEnd lineEnd = LineEnd::CRLF;       // the style the file had; saves write it back

  // Find and replace state of this window.
  QString sW, sR;
  qint32 ipos = 1;
  // Text operations of the Edit menu (frmmain_edit.cpp); Replace is also the explorer's rename.
  void MatchBrace();
  void FindWord();
  void Replace(bool bAll, bool bCheckEdges);
  int lastReplaced = 0;  // how many matches the last Replace replaced
  // Positions of the section markers, kept up to date by the change handler.
  qint32 lsym = 0, lsymend = 0;
  // Hint list state.
  qint32 lSpace = 0, intParens = 0;
  // Hints while typing (frmscrivane_hints.cpp). KeyDown may set KeyCode to 0 to swallow the
  // key; KeyPress runs for character keys before the text box inserts them.
  void txtMain_KeyDown(int& KeyCode, int Shift);
  void txtMain_KeyPress(int keyascii);
  void lvwCogParams_KeyDown(int& KeyCode, int Shift);
  void lvwCogParams_KeyPress(int keyascii);
  void lvwCogParams_DblClick();
  void SelectWordBack();
  void InsertParam(bool b);
  void FindParam(int keyascii);

  TextBox* txtMain;
  QWidget* picMain;
  QLabel* lblHelp;
  // The message list and its panel, made when the list first comes up (or is first used).
  OnFirstUse<QWidget> picCogParams{[this] { return MakeMessageList(), picParams_; }};
  static constexpr int kListWidth = 180, kListHeight = 160;  // the message list's full size
  OnFirstUse<QTreeWidget> lvwCogParams{[this] { return MakeMessageList(), lvwParams_; }};
  // The names the list offers, read from messages.dat when the window was made.
  QStringList messageNames;

  int Number() const;  // the window number n of "cog" + n
  QString Caption() const { return windowTitle(); }
  void SetCaption(const QString& caption);
  // Not modified: bMod false and a trailing "*" removed from the caption.
  void MarkClean();
  // Modified: bMod true and a "*" added to the caption once.
  void MarkModified();

  // When set, closing skips the save prompt (the question was already asked).
  bool bPromptAnswered = false;

  // The file as this window last read or wrote it, to tell whether it changed on disk since.
  tarvex::FileStamp diskStamp;
  // The bar above the text that offers to reload the file when it changed on disk
  // (frmscrivane_disk.cpp). It does not come back for a change the user chose to ignore.
  QWidget* barDisk;
  QLabel* lblDisk;
  QPushButton *cmdReload, *cmdIgnore;
  // Shows the bar when the file changed on disk since this window knew it, hides it otherwise.
  void CheckDisk();
  // Reads the file again, keeping the caret and the scroll position; a document with unsaved
  // edits asks first. False when nothing was reloaded.
  bool ReloadFromDisk();
  void IgnoreDiskChange();

 public slots:
  void txtMain_Change();

 protected:
  void closeEvent(QCloseEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  bool eventFilter(QObject* o, QEvent* e) override;

 private:
  // The text box over its full height, less the help strip while that is shown.
  void LayoutPanels();
  HintPanels Panels() const;
  // Runs a decision on the window's text, caret and panels and applies its answer.
  HintAnswer Decide(const std::function<HintAnswer(const HintInput&)>& decide);
  void ApplyHint(const HintAnswer& a);
  // Keeps the section marks current as the document changes, reading only the changed lines.
  void TrackSections(int position, int charsAdded);

  void BuildDiskBar();
  void MakeMessageList();
  // Whether the message list is up (it is not when it was never made).
  bool ListUp() const;
  // Made together, by whichever of the two is asked for first: these tell whether they are there
  // (the other one's IfMade() stays empty).
  QWidget* picParams_ = nullptr;
  QTreeWidget* lvwParams_ = nullptr;
  frmMain* main_;
  tarvex::FileStamp ignoredStamp_;
  bool ignoredGone_ = false;  // the user dismissed the bar that says the file is gone
  SectionTracker sections_;
  bool hasHelp_ = false;  // the strip holds a function's text
};

// Places a document window's panel below the caret of that window's text box and shows it.
void ShowPopup(QWidget* P);

}  // namespace scrivane

#pragma once
// The find bar below the document area: searches the current document as the user types,
// from where the caret was; Enter and Shift+Enter go to the next and previous match, going
// round the end once with a note; Match case and Whole word; every match is marked in the
// text; Replace and Replace All (one undo step) with the count in the bar. Esc closes it.
#include <QPointer>
#include <QWidget>
#include <functional>
#include <vector>

#include "scrivane/core/editaids.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

namespace scrivane {

class TextBox;

class FindBar : public QWidget {
  Q_OBJECT
 public:
  // target gives the text box searched (the current document's), or null.
  FindBar(std::function<TextBox*()> target, QWidget* parent);

  // Shows the bar, the find field filled with the selection (within one line) or the word at
  // the caret, and puts the focus there.
  void Open(bool withReplace);
  void Close();
  // Goes to the next (or previous) match from the selection; false when there is none.
  bool FindNext(bool backward = false);
  // Replaces the selected match and goes to the next.
  void ReplaceOne();
  // Replaces every match as one edit; returns how many.
  int ReplaceAll();
  // Marks the matches in the current text again (after a change of document or text).
  void Refresh();

  QLineEdit *txtFind, *txtReplace;
  QCheckBox *chkMatchCase, *chkWholeWord;
  QPushButton *cmdPrevious, *cmdNext, *cmdReplace, *cmdReplaceAll, *cmdClose;
  QLabel *lblFind, *lblReplace, *lblNote;
  QWidget* replaceRow;

 protected:
  bool eventFilter(QObject* o, QEvent* e) override;

 private:
  FindOptions Options() const;
  std::vector<qsizetype> Matches(const TextBox* box) const;
  void SelectMatch(TextBox* box, qsizetype pos);
  void Incremental();  // the find text changed: search again from where the caret was
  void Note(const QString& s);
  void Unmark();

  std::function<TextBox*()> target_;
  QPointer<TextBox> marked_;  // the box whose matches are marked
  int anchor_ = 0;            // where the incremental search starts
  QTimer* remark_;            // marks again shortly after the text changes
};

}  // namespace scrivane

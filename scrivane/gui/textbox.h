#pragma once
// The document's text box: a plain text editor that speaks the text model's language.
// Text, SelStart and SelLength count each line end as CR LF (two characters), as script
// files and every text operation do, while the widget keeps one paragraph break per line.
// Positions map in logarithmic time through the document's block index.
#include <QPlainTextEdit>
#include <QTextEdit>

#include "scrivane/core/lineends.h"
#include "scrivane/core/textmodel.h"

namespace scrivane {

class LineGutter;

class TextBox : public QPlainTextEdit {
  Q_OBJECT
 public:
  explicit TextBox(QWidget* parent = nullptr);
  // A box shown in `font` from the start: the line numbers and tab stops are measured once,
  // in that font, rather than in the inherited one and again when the font is set.
  TextBox(const QFont& font, QWidget* parent);

  // The whole text with CR LF line ends.
  QString Text() const;
  // Replaces the whole text (any line-end style); clears undo. Raises one change event.
  void SetText(const QString& text);
  // The same for text whose lines already end in LF alone (the widget's own form). Each line
  // listed in odd remembers its own end from the file, in its block's user data, which edits
  // within the line keep; OddEnds gives them back for the save. A text moved in is given back
  // piece by piece as it goes in.
  void SetWidgetText(QString lfText, const OddLineEnds& odd = {});
  // The whole text with LF line ends.
  QString WidgetText() const;
  // The lines whose remembered end is not style; new lines have none and take style.
  OddLineEnds OddEnds(LineEnd style) const;
  qsizetype TextLength() const;  // of Text(), without building it

  qsizetype SelStart() const;
  void SetSelStart(qsizetype start);  // clears the selection length
  qsizetype SelLength() const;
  void SetSelLength(qsizetype length);
  QString SelText() const;
  // Replaces the selection as one edit; the caret ends after the inserted text.
  void ReplaceSel(const QString& s);
  // Cut: the selection goes to the clipboard and out of the text as ReplaceSel takes it out.
  void Cut();
  // The box's context menu, whose Cut and Delete take the selection out as Cut does. The
  // caller owns it.
  QMenu* ContextMenu();

  // The text and selection as a model, and back: Apply makes the model's changes (or, for a
  // model not made from this text, the one range that differs) as one edit: one undo step,
  // one change event. Lines no change touches keep their block and their line end; undo and
  // redo bring line ends back with the text. Then it sets the model's selection.
  TextModel Model() const;
  void Apply(const TextModel& model);

  // Position mapping between the model (CR LF = 2) and the widget (one break per line).
  qsizetype ToModel(int widgetPos) const;
  int ToWidget(qsizetype modelPos) const;

  // Indents (a tab) or unindents (a tab or up to a tab's width of blanks) every line the
  // selection touches, or the caret's line; one undo step, line ends untouched
  // (textbox_indent.cpp).
  void IndentLines(bool indent);

  // The band of the viewport that shows the lines first..last (block numbers), empty when it
  // shows none of them.
  QRect LinesRect(int first, int last) const;
  // The lines the viewport shows between the heights top and bottom (first > last: none).
  std::pair<int, int> LinesIn(int top, int bottom) const;

  // Marks shown under the text besides the caret's line and brace (the find bar's matches).
  void SetMatchMarks(QList<QTextEdit::ExtraSelection> marks);
  const QList<QTextEdit::ExtraSelection>& MatchMarks() const { return matchMarks_; }

 signals:
  // Ctrl+wheel: zoom in (positive steps) or out; the window decides what zoom means.
  void zoomRequested(int steps);

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  void inputMethodEvent(QInputMethodEvent* e) override;
  void contextMenuEvent(QContextMenuEvent* e) override;
  void insertFromMimeData(const QMimeData* source) override;
  void wheelEvent(QWheelEvent* e) override;
  // The view aids (linegutter.cpp) follow the box's size and font.
  void resizeEvent(QResizeEvent* e) override;
  bool viewportEvent(QEvent* e) override;
  void changeEvent(QEvent* e) override;

 private:
  friend class LineGutter;
  void Build();
  void InstallViewAids();
  void ApplyTabStops();
  // Paints what the view shows of lines made, joined or taken out (TextBoxLayout::linesReplaced):
  // the lines changed, while the pixels of the lines after them move with them.
  void LinesReplaced(int first, int gone, int made);
  LineGutter* gutter_ = nullptr;
  void SelectWidgetRange(int anchor, int position);
  // The one way text is changed: [from, to) of the widget's text becomes lfText, inside an
  // edit block the caller holds open. A change that keeps the number of lines keeps each
  // line's end; otherwise the break that ended the last line touched ends the last line made
  // and breaks put in are new (the document's style). Gives the end of the new text.
  int ReplaceRange(int from, int to, const QString& lfText);
  // Enter, and the keys that join lines (Backspace, Delete, typing over a selection of several
  // lines), made through ReplaceRange; false for any other key.
  bool JoinOrSplitLines(QKeyEvent* e);
  // Enter keeps the line's leading blanks; Tab on a selection of lines indents them, Shift+Tab
  // unindents. True when the key was handled here.
  bool IndentKey(QKeyEvent* e);
  QList<QTextEdit::ExtraSelection> matchMarks_;
  int wheelZoom_ = 0;  // eighths of a degree of Ctrl+wheel not yet turned into a step
  // Text() is built once per change of the document and kept until the next one.
  mutable QString cache_;
  mutable bool cacheValid_ = false;
};

// CR LF, CR or LF as the widget's line breaks.
QString ToWidgetText(const QString& text);

}  // namespace scrivane

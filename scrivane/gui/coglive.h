#pragma once
// The script checked while it is edited: a third of a second after the last change the text is
// read as the game reads it (on a worker thread when it is large), and the findings are marked
// in the text (a wavy underline, red for errors and amber for warnings, a faint dotted one for
// notes; the message as a tooltip) and in the line-number gutter. Ctrl+click on a name goes to
// its definition; the uses of a symbol can be highlighted. Attached to a document's text box;
// the marks are painted over the text, so the box's own selections stay untouched.
#include <QFutureWatcher>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QTimer>
#include <climits>
#include <memory>

#include "scrivane/core/cogscript.h"
#include "scrivane/core/lineends.h"

namespace scrivane {

class TextBox;

class CogLive : public QObject {
  Q_OBJECT
 public:
  static constexpr int kDelayMs = 330;       // after the last change
  static constexpr int kWorkerChars = 20000;  // texts this long are read on a worker thread

  explicit CogLive(TextBox* box);
  ~CogLive() override;
  // The one attached to the box, made on first use.
  static CogLive* Of(TextBox* box);

  // The findings of the last reading; they may be of an older text (see IsCurrent). Null
  // before the first reading.
  const std::shared_ptr<const CogFindingList>& Findings() const { return findings_; }
  // The last reading as a script (made on request).
  const std::shared_ptr<const CogScript>& Script() const;
  bool IsCurrent() const { return findings_ && checkedRevision_ == revision_; }
  // Reads the text now, as a pause in typing does, unless the last reading is of this very text.
  void ReadNow();
  // The same, and the script then comes with the uses of its names.
  const CogScript& CheckNow();
  // Makes the LF-ended text the box's whole text (TextBox::SetWidgetText), read before it goes
  // in: the reading needs no copy of the document, and the findings come with the text.
  void Load(QString lfText, const OddLineEnds& odd);
  // Reads again soon (the game to check for has changed).
  void Recheck();
  // Marks shown with a background in the text (the uses of a symbol); empty to clear.
  void ShowUses(const std::vector<CogRange>& uses);
  // The findings under a place of the text, for its tooltip.
  QString MessagesAt(int position) const;
  // Goes to the definition of the name at the position; false when there is none.
  bool GoToDefinition(int position);

  // A finding of the last reading, at its place in the text that was read.
  struct Mark {
    int start = 0, length = 0;
    CogSeverity severity = CogSeverity::Note;
    QString message;
  };
  // The mark of the last reading's finding i (at its place in the text that was read).
  Mark MarkOf(size_t i) const;
  const std::vector<Mark>& UseMarks() const { return useMarks_; }
  // Where a mark is shown in the text as it is now: edits since the reading shift the marks
  // after them and hide those they touch (until the next reading). Constant time.
  bool Shown(const Mark& m, int* start) const;
  // Where the next finding shown after the position begins (direction 1), or the last one
  // before it (-1), around the text's ends; -1 when none is shown.
  int NextShown(int position, int direction) const;
  // The text's place as it was when read (inside the edited stretch: its start or end).
  int ToRead(int position, bool end) const;

 signals:
  void Checked();  // new findings are shown

 private:
  // A whole reading, and its findings.
  struct Read {
    std::shared_ptr<CogReading> reading;
    std::shared_ptr<const CogFindingList> findings;
  };
  static Read ReadWhole(const QString& text, CogGame game);

  void Changed(int position, int removed, int added);
  // Paints again where the last changes hid marks, once the box has laid the change out.
  void RepaintHidden();
  // Paints the marks again over a band of the viewport (null: all of it) and beside it.
  void RepaintMarks(QRect band = QRect());
  void Start();
  // Reads again what the edits since the last reading changed; false when a whole reading is
  // needed.
  bool ReadEdits();
  void Take(Read read, int revision);
  // The marks shown over the lines in view, at their present places (without their messages).
  std::vector<Mark> MarksInView() const;
  bool eventFilter(QObject* o, QEvent* e) override;

  QPointer<TextBox> box_;
  QTimer timer_;
  QFutureWatcher<Read> watcher_;
  int revision_ = 0, checkedRevision_ = -1, runningRevision_ = -1;
  // The stretch of the read text that edits since have touched, and how much they added.
  int editedFrom_ = INT_MAX, editedTo_ = INT_MIN, delta_ = 0;
  std::shared_ptr<CogReading> reading_;  // kept to read again after edits
  // Lines of the present text whose marks a change hid, to paint again; or all of them.
  int hiddenFirst_ = INT_MAX, hiddenLast_ = -1;
  bool hiddenAll_ = false;
  std::shared_ptr<const CogFindingList> findings_;
  mutable std::shared_ptr<const CogScript> script_;  // of the last reading, once asked for
  bool withUses_ = false;  // script_ has the uses of the names
  std::vector<Mark> useMarks_;
  QPointer<QWidget> overlay_, gutterMarks_;
};

}  // namespace scrivane

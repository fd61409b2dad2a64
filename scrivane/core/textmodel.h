#pragma once
// The text of a document as the text operations see it: lines end in CR LF, the selection
// start is a 0-based offset (CR LF counts as two characters), and the selection has a length.
// Like the editor's text box, a start or length that would run past the end is cut at the end,
// and setting the start clears the length.
//
// The model keeps the text it was made from and the list of changes made since, so that the
// text box can take over exactly those ranges and leave every other line as it is.
#include <QString>
#include <vector>

namespace scrivane {

// One change of the text: `removed` characters from `start` on replaced by `inserted`, in the
// positions of the text as the changes before it left it.
struct TextChange {
  qsizetype start = 0;
  qsizetype removed = 0;
  QString inserted;
};

class TextModel {
 public:
  TextModel() = default;
  explicit TextModel(QString text, qsizetype selStart = 0, qsizetype selLength = 0);

  const QString& Text() const { return text_; }
  // The selection is kept where it still fits. The change is recorded as the one range in
  // which the two texts differ (never cutting a CR LF pair).
  void SetText(QString text);
  // The same for a text that `changes` make of the current one, recorded as they are.
  void SetText(QString text, std::vector<TextChange> changes);

  qsizetype SelStart() const { return start_; }
  void SetSelStart(qsizetype start);  // clears the selection length
  qsizetype SelLength() const { return length_; }
  void SetSelLength(qsizetype length);
  QString SelText() const { return text_.mid(start_, length_); }

  // Replaces the selection; the caret ends after the inserted text.
  void ReplaceSel(const QString& s);

  qsizetype Length() const { return text_.size(); }

  // The text the model was made from, and the changes that led from it to Text().
  const QString& Base() const { return base_; }
  const std::vector<TextChange>& Changes() const { return changes_; }

 private:
  void KeepSelection(qsizetype start, qsizetype length);
  QString text_;
  QString base_;
  std::vector<TextChange> changes_;
  qsizetype start_ = 0;
  qsizetype length_ = 0;
};

}  // namespace scrivane

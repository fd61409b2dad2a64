#pragma once
// The text of a document as the text operations see it: lines end in CR LF, the selection
// start is a 0-based offset (CR LF counts as two characters), and the selection has a length.
// Like the editor's text box, a start or length that would run past the end is cut at the end,
// and setting the start clears the length.
#include <QString>

namespace scrivane {

class TextModel {
 public:
  TextModel() = default;
  explicit TextModel(QString text, qsizetype selStart = 0, qsizetype selLength = 0);

  const QString& Text() const { return text_; }
  void SetText(QString text);  // the selection is kept where it still fits

  qsizetype SelStart() const { return start_; }
  void SetSelStart(qsizetype start);  // clears the selection length
  qsizetype SelLength() const { return length_; }
  void SetSelLength(qsizetype length);
  QString SelText() const { return text_.mid(start_, length_); }

  // Replaces the selection; the caret ends after the inserted text.
  void ReplaceSel(const QString& s);

  qsizetype Length() const { return text_.size(); }

 private:
  QString text_;
  qsizetype start_ = 0;
  qsizetype length_ = 0;
};

}  // namespace scrivane

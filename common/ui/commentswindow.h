#pragma once
// The comments & description window of Lirrel and Orvane: one line of text that the next
// save writes into the file's header. Only Save changes the table; the owner checks the text
// and may refuse it.
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>
#include <array>
#include <functional>

namespace tarvex {

class CommentsWindow : public QWidget {
  Q_OBJECT
 public:
  // The stored comments, and the store that takes a saved text (false when it refused it).
  using Getter = std::function<QString()>;
  using Setter = std::function<bool(const QString&)>;

  // prefix names the window's objects after its program ("lir": lirComments, lirCommentBox,
  // lirComDescBtn0 ...).
  CommentsWindow(QWidget* owner, const QString& prefix, Getter get, Setter set);

  // 0 Save: the box's text becomes the comments; 1 Clear: empties the box;
  // 2 Reset: shows the stored comments again; 3 Close.
  void ComDescBtn_Click(int index);
  // Save: hands the box's text to the store; false when the store refused it.
  bool Store();
  // The box holds text typed (or cleared) but not stored with Save.
  bool Pending() const;

  QLineEdit* CommentBox;
  std::array<QPushButton*, 4> ComDescBtn;

 private:
  Getter get_;
  Setter set_;
};

}  // namespace tarvex

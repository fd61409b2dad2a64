#pragma once
// The comments & description window: one line of text that the next save writes into the
// file's header. Only Save changes the table.
#include "common/ui/commentswindow.h"

namespace lirrel {

class lirComments : public tarvex::CommentsWindow {
  Q_OBJECT
 public:
  lirComments(QWidget* owner, Getter get, Setter set)
      : tarvex::CommentsWindow(owner, QStringLiteral("lir"), std::move(get), std::move(set)) {}

  void lirComDescBtn_Click(int index) { ComDescBtn_Click(index); }
  QLineEdit*& lirCommentBox = CommentBox;
  std::array<QPushButton*, 4>& lirComDescBtn = ComDescBtn;
};

}  // namespace lirrel

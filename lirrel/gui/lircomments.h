#pragma once
// The comments & description window: one line of text that the next save writes into the
// file's header. Only Save changes the table.
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>
#include <array>

namespace lirrel {

class lirEditor;

class lirComments : public QWidget {
  Q_OBJECT
 public:
  explicit lirComments(lirEditor* editor);

  // 0 Save: the box's text becomes the comments; 1 Clear: empties the box;
  // 2 Reset: shows the stored comments again; 3 Close.
  void lirComDescBtn_Click(int index);
  // Save: stores the box's text as the comments; false (with a message) when it cannot be
  // written into the header.
  bool Store();
  // The box holds text typed (or cleared) but not stored with Save.
  bool Pending() const;

  QLineEdit* lirCommentBox;
  std::array<QPushButton*, 4> lirComDescBtn;

 private:
  lirEditor* editor_;
};

}  // namespace lirrel

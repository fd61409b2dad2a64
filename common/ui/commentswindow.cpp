#include "common/ui/commentswindow.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "common/ui/prompts.h"

namespace tarvex {

CommentsWindow::CommentsWindow(QWidget* owner, const QString& prefix, Getter get, Setter set)
    : QWidget(owner, Qt::Window), get_(std::move(get)), set_(std::move(set)) {
  setObjectName(prefix + QStringLiteral("Comments"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("Edit Comments & Description"));
  CommentBox = new QLineEdit(this);
  CommentBox->setObjectName(prefix + QStringLiteral("CommentBox"));
  CommentBox->setText(get_());
  CommentBox->setCursorPosition(0);

  auto* buttons = new QHBoxLayout;
  const char* captions[] = {"&Save", "&Clear", "&Reset", "&Close"};
  for (int i = 0; i < 4; ++i) {
    ComDescBtn[size_t(i)] = new QPushButton(QString::fromLatin1(captions[i]), this);
    ComDescBtn[size_t(i)]->setObjectName(prefix + QStringLiteral("ComDescBtn%1").arg(i));
    ComDescBtn[size_t(i)]->setAutoDefault(false);
    connect(ComDescBtn[size_t(i)], &QPushButton::clicked, this, [this, i] { ComDescBtn_Click(i); });
    buttons->addWidget(ComDescBtn[size_t(i)]);
  }
  buttons->addStretch(1);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(CommentBox);
  layout->addLayout(buttons);
  resize(520, sizeHint().height());
}

bool CommentsWindow::Store() {
  const PromptsOwnedBy owner(this);  // a refusal opens over this window
  if (!set_(CommentBox->text())) return false;
  CommentBox->setModified(false);
  return true;
}

bool CommentsWindow::Pending() const { return CommentBox->isModified() && CommentBox->text() != get_(); }

void CommentsWindow::ComDescBtn_Click(int index) {
  switch (index) {
    case 0: Store(); break;
    case 1:
      CommentBox->clear();
      CommentBox->setModified(true);
      break;
    case 2: CommentBox->setText(get_()); break;
    case 3: close(); break;
    default: break;
  }
}

}  // namespace tarvex

#include "lirrel/gui/lircomments.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "common/ui/prompts.h"
#include "lirrel/gui/lireditor.h"

namespace lirrel {

lirComments::lirComments(lirEditor* editor) : QWidget(editor, Qt::Window), editor_(editor) {
  setObjectName(QStringLiteral("lirComments"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("Edit Comments & Description"));
  lirCommentBox = new QLineEdit(this);
  lirCommentBox->setObjectName(QStringLiteral("lirCommentBox"));
  lirCommentBox->setText(editor_->Comments());
  lirCommentBox->setCursorPosition(0);

  auto* buttons = new QHBoxLayout;
  const char* captions[] = {"&Save", "&Clear", "&Reset", "&Close"};
  for (int i = 0; i < 4; ++i) {
    lirComDescBtn[size_t(i)] = new QPushButton(QString::fromLatin1(captions[i]), this);
    lirComDescBtn[size_t(i)]->setObjectName(QStringLiteral("lirComDescBtn%1").arg(i));
    lirComDescBtn[size_t(i)]->setAutoDefault(false);
    connect(lirComDescBtn[size_t(i)], &QPushButton::clicked, this, [this, i] { lirComDescBtn_Click(i); });
    buttons->addWidget(lirComDescBtn[size_t(i)]);
  }
  buttons->addStretch(1);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(lirCommentBox);
  layout->addLayout(buttons);
  resize(520, sizeHint().height());
}

bool lirComments::Store() {
  // The comments are written on one header line; a line break would end it early.
  if (lirCommentBox->text().contains(QLatin1Char('\n')) || lirCommentBox->text().contains(QLatin1Char('\r'))) {
    tarvex::prompts().MsgBox(QStringLiteral("The comments cannot hold a line break: they are written on one line."),
                             QStringLiteral("Lirrel"), tarvex::MsgButtons::OK, tarvex::MsgIcon::Exclamation);
    return false;
  }
  if (RefuseUnstorable(lirCommentBox->text(), QStringLiteral("The comments were kept as they were."))) return false;
  editor_->SetComments(lirCommentBox->text());
  lirCommentBox->setModified(false);
  return true;
}

bool lirComments::Pending() const { return lirCommentBox->isModified() && lirCommentBox->text() != editor_->Comments(); }

void lirComments::lirComDescBtn_Click(int index) {
  switch (index) {
    case 0: Store(); break;
    case 1:
      lirCommentBox->clear();
      lirCommentBox->setModified(true);
      break;
    case 2: lirCommentBox->setText(editor_->Comments()); break;
    case 3: close(); break;
    default: break;
  }
}

}  // namespace lirrel

#include "lirrel/gui/lirheader.h"

#include <QFontDatabase>
#include <QVBoxLayout>

namespace lirrel {

lirHeader::lirHeader(QWidget* owner) : QWidget(owner, Qt::Window) {
  setObjectName(QStringLiteral("lirHeader"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("JKSTRINGS.UNI Header Viewer"));
  lirHeaderView = new QPlainTextEdit(this);
  lirHeaderView->setObjectName(QStringLiteral("lirHeaderView"));
  lirHeaderView->setReadOnly(true);  // nothing shown here is read back
  lirHeaderView->setLineWrapMode(QPlainTextEdit::NoWrap);
  lirHeaderView->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  // The view fills the window whatever its size.
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(lirHeaderView);
  resize(520, 340);
}

void lirHeader::Fill(const QStringList& headerLines) {
  lirHeaderView->clear();
  QString text;
  for (const QString& line : headerLines) {
    text += line;
    text += QLatin1Char('\n');
  }
  lirHeaderView->setPlainText(text);
}

}  // namespace lirrel

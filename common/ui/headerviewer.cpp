#include "common/ui/headerviewer.h"

#include <QFontDatabase>
#include <QVBoxLayout>

namespace tarvex {

HeaderViewer::HeaderViewer(QWidget* owner, const QString& prefix, const QString& caption)
    : QWidget(owner, Qt::Window) {
  setObjectName(prefix + QStringLiteral("Header"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(caption);
  HeaderView = new QPlainTextEdit(this);
  HeaderView->setObjectName(prefix + QStringLiteral("HeaderView"));
  HeaderView->setReadOnly(true);  // nothing shown here is read back
  HeaderView->setLineWrapMode(QPlainTextEdit::NoWrap);
  HeaderView->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  // The view fills the window whatever its size.
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(HeaderView);
  resize(520, 340);
}

void HeaderViewer::Fill(const QStringList& headerLines) {
  QString text;
  for (const QString& line : headerLines) {
    text += line;
    text += QLatin1Char('\n');
  }
  HeaderView->setPlainText(text);
}

}  // namespace tarvex

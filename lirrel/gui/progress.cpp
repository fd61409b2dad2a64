#include "lirrel/gui/progress.h"

#include <QCoreApplication>
#include <QVBoxLayout>
#include <climits>

namespace lirrel {

Progress::Progress(QWidget* owner) : QWidget(owner, Qt::Dialog) {
  setObjectName(QStringLiteral("Progress"));
  ProgressBar = new QProgressBar(this);
  ProgressBar->setObjectName(QStringLiteral("ProgressBar"));
  ProgressBar->setTextVisible(false);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(ProgressBar);
  resize(480, ProgressBar->sizeHint().height() + 24);
}

void Progress::Show(const QString& caption, qint64 max) {
  max_ = max;
  scale_ = 1;
  while (max_ / scale_ > INT_MAX) scale_ *= 2;
  ProgressBar->setRange(0, int(max_ / scale_));
  setWindowTitle(caption);
  show();
  raise();
  Draw();
}

void Progress::Update(const QString& caption, qint64 pos) {
  setWindowTitle(caption);
  ProgressBar->setValue(int(qBound<qint64>(0, pos, max_) / scale_));
  Draw();
}

void Progress::Draw() {
  repaint();
  // The window system shows the window and its new caption only once it is told; nothing the
  // user does (keys, clicks, closing a window) is handled before the load or save has ended.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace lirrel

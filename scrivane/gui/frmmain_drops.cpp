// File drops on Scrivane's main window: wherever a file is dropped, on the frame, a document's
// text or a tree, its first local file opens as a document. A drag of addresses that are no
// local files is refused; a drag without addresses (plain text) is left to the widget under
// the mouse, so text still drops into a document.
#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include "common/paths.h"
#include "scrivane/gui/frmmain.h"

namespace scrivane {

namespace {

QString FirstLocalFile(const QMimeData* data) {
  for (const QUrl& url : data->urls())
    if (url.isLocalFile()) return tarvex::NativePath(url.toLocalFile());
  return QString();
}

// Sees the drag events of every widget before the widget does (a text box would insert the
// file's address as text).
class FileDropRouter : public QObject {
 public:
  explicit FileDropRouter(frmMain* main) : QObject(main), main_(main) {}

  bool eventFilter(QObject* o, QEvent* e) override {
    const QEvent::Type t = e->type();
    if (t != QEvent::DragEnter && t != QEvent::DragMove && t != QEvent::Drop) return false;
    const auto* w = qobject_cast<QWidget*>(o);
    auto* drop = static_cast<QDropEvent*>(e);
    if (!w || w->window() != main_ || !drop->mimeData()->hasUrls()) return false;
    if (FirstLocalFile(drop->mimeData()).isEmpty()) {
      drop->ignore();
    } else if (t != QEvent::Drop || main_->DropData(drop->mimeData())) {
      drop->acceptProposedAction();
    }
    return true;
  }

 private:
  frmMain* main_;
};

}  // namespace

void frmMain::AcceptFileDrops() {
  setAcceptDrops(true);
  qApp->installEventFilter(new FileDropRouter(this));
}

bool frmMain::DropData(const QMimeData* data) {
  const QString file = FirstLocalFile(data);
  if (file.isEmpty()) return false;
  OpenFile(file);
  return true;
}

}  // namespace scrivane

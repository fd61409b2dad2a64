#include "common/ui/appicon.h"

#include <QFile>
#include <QGuiApplication>
#include <QIconEngine>
#include <QChildEvent>
#include <QPainter>
#include <QResource>
#include <QWidget>

#include <cstring>
#include <utility>
#include <vector>

namespace tarvex {

namespace {

// An icon whose pictures are read from their files when a size is first asked for, not when
// the icon is made: a program's icon comes in six sizes, and decoding them all (the largest
// above all) cost a noticeable part of a program's start, though a window often shows one
// small size only. The size chosen for a request is the one Qt's own file icons choose (the
// smallest whose area is at least the request's, else the largest), and the picture is made
// from that file by Qt's own file icon, so the icon draws exactly as one with all files added.
// A picture as the build wrote it from its PNG file (icons/rawicon.cpp): "TXI1", width and
// height, then the ARGB pixels, row by row. A null image when the data is not that.
QImage ReadPixels(const QString& path) {
  // Read from the resource as it is unpacked, not through a file opened on it, which would
  // unpack it into a buffer of its own and copy that again.
  const QByteArray data = QResource(path).uncompressedData();
  quint32 size[2] = {0, 0};
  if (data.size() < 12 || !data.startsWith("TXI1")) return QImage();
  std::memcpy(size, data.constData() + 4, sizeof size);
  if (size[0] == 0 || size[0] > 4096 || size[1] == 0 || size[1] > 4096 || data.size() != 12 + qsizetype(size[0]) * size[1] * 4)
    return QImage();
  const int w = int(size[0]), h = int(size[1]);
  QImage image(w, h, QImage::Format_ARGB32);
  for (int y = 0; y < h; ++y) std::memcpy(image.scanLine(y), data.constData() + 12 + qsizetype(y) * w * 4, size_t(w) * 4);
  return image;
}

class FileIconEngine : public QIconEngine {
 public:
  explicit FileIconEngine(std::vector<std::pair<int, QString>> files) : files_(std::move(files)) {}

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
    const qreal dpr = painter->device()->devicePixelRatio();
    painter->drawPixmap(rect, pixmap(rect.size() * dpr, mode, state));
  }
  QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
    if (files_.empty()) return QSize();
    QSize actual(Best(size).first, Best(size).first);
    if (actual.width() > size.width() || actual.height() > size.height()) actual.scale(size, Qt::KeepAspectRatio);
    return actual;
  }
  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    if (files_.empty()) return QPixmap();
    const std::pair<int, QString>& best = Best(size);
    if (!loaded_.contains(best.first)) {
      loaded_.push_back(best.first);
      if (best.second.endsWith(QLatin1String(".png"))) {
        read_.addFile(best.second, QSize(best.first, best.first));
      } else {
        const QImage image = ReadPixels(best.second);
        if (!image.isNull()) read_.addPixmap(QPixmap::fromImage(image));
      }
    }
    return read_.pixmap(size, 1.0, mode, state);  // `size` is in device pixels already
  }
  QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
    QList<QSize> sizes;
    if (mode == QIcon::Normal && state == QIcon::Off)
      for (const auto& [side, path] : files_) sizes << QSize(side, side);
    return sizes;
  }
  QString key() const override { return QStringLiteral("FileIconEngine"); }
  QIconEngine* clone() const override { return new FileIconEngine(*this); }
  bool isNull() override { return files_.empty(); }

 private:
  const std::pair<int, QString>& Best(const QSize& size) const {
    const qint64 wanted = qint64(size.width()) * size.height();
    const std::pair<int, QString>* best = &files_.back();  // the largest
    for (const auto& f : files_)
      if (qint64(f.first) * f.first >= wanted) {
        best = &f;
        break;
      }
    return *best;
  }
  std::vector<std::pair<int, QString>> files_;  // smallest first
  QList<int> loaded_;
  QIcon read_;  // the sizes read so far
};

}  // namespace

QIcon AppIcon(const QString& name) {
  std::vector<std::pair<int, QString>> files;
  for (int size : kIconSizes) {
    // The plain pixels where the build made them, else the PNG file.
    for (const char* kind : {"argb", "png"}) {
      const QString path = QStringLiteral(":/icons/%1x%1/%2.%3").arg(size).arg(name, QLatin1String(kind));
      if (!QFile::exists(path)) continue;
      files.emplace_back(size, path);
      break;
    }
  }
  if (files.empty()) return QIcon();
  return QIcon(new FileIconEngine(std::move(files)));
}

void PresentAs(const QString& desktopName, QWidget* mainWindow) {
  QGuiApplication::setDesktopFileName(desktopName);
  if (!mainWindow) {
    QGuiApplication::setWindowIcon(AppIcon(desktopName));
    return;
  }
  // Given before the window is made, the icon would be set on it twice (as the window is made
  // and again right after), converting every size each time. The show event comes after the
  // window is made and before it is mapped, so it still appears with its icon; a dialog of its
  // own shown first (polished before it is made) gets the icon too.
  struct IconAtFirstShow : QObject {
    QString name;
    bool eventFilter(QObject* o, QEvent* e) override {
      const bool ownWindow = e->type() == QEvent::Show && o == parent();
      const bool dialog = e->type() == QEvent::ChildPolished && static_cast<QChildEvent*>(e)->child()->isWidgetType() &&
                          static_cast<QWidget*>(static_cast<QChildEvent*>(e)->child())->isWindow();
      if (ownWindow || dialog) {
        o->removeEventFilter(this);
        QGuiApplication::setWindowIcon(AppIcon(name));
        deleteLater();
      }
      return false;
    }
  };
  auto* filter = new IconAtFirstShow;
  filter->name = desktopName;
  filter->setParent(mainWindow);
  mainWindow->installEventFilter(filter);
}

}  // namespace tarvex

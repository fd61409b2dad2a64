#include "common/ui/appicon.h"

#include <QFile>
#include <QGuiApplication>
#include <QIconEngine>
#include <QPainter>

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
      read_.addFile(best.second, QSize(best.first, best.first));
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
    const QString path = QStringLiteral(":/icons/%1x%1/%2.png").arg(size).arg(name);
    if (QFile::exists(path)) files.emplace_back(size, path);
  }
  if (files.empty()) return QIcon();
  return QIcon(new FileIconEngine(std::move(files)));
}

void PresentAs(const QString& desktopName) {
  QGuiApplication::setWindowIcon(AppIcon(desktopName));
  QGuiApplication::setDesktopFileName(desktopName);
}

}  // namespace tarvex

#include "common/ui/folderlist.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QStorageInfo>
#include <QStyle>

#include "common/paths.h"

namespace tarvex {

namespace {
constexpr int kPathRole = Qt::UserRole;
}

FolderList::FolderList(QWidget* parent) : QTreeWidget(parent) {
  setHeaderHidden(true);
  setColumnCount(1);
  setRootIsDecorated(false);
  setItemsExpandable(false);
  setIndentation(12);
  setAccessibleName(QStringLiteral("Folders"));
  // The list is rebuilt after the activation is over: the activated item is among those it
  // deletes.
  connect(this, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
    const QString target = item->data(0, kPathRole).toString();
    QMetaObject::invokeMethod(this, [this, target] { setPath(target); }, Qt::QueuedConnection);
  });
}

bool FolderList::setPath(const QString& path) {
  const QFileInfo info(path);
  if (!info.isDir()) return false;
  const QString clean = QDir::toNativeSeparators(QDir::cleanPath(info.absoluteFilePath()));
  const bool changed = clean != path_;
  path_ = clean;
  Rebuild();
  if (changed) emit pathChanged(path_);
  return true;
}

void FolderList::refresh() { Rebuild(); }

QStringList FolderList::subfolders() const {
  QStringList names;
  QTreeWidgetItem* item = currentItem();
  if (!item) return names;
  for (int i = 0; i < item->childCount(); ++i) names << item->child(i)->text(0);
  return names;
}

void FolderList::Rebuild() {
  clear();
  if (path_.isEmpty()) return;
  const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
  const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);

  // The chain from the drive down to the current folder.
  QStringList chain;
  for (QDir d(QDir::fromNativeSeparators(path_));; ) {
    chain.prepend(d.absolutePath());
    if (d.isRoot() || !d.cdUp()) break;
  }
  QTreeWidgetItem* parent = nullptr;
  for (const QString& p : chain) {
    const QString name = QDir(p).isRoot() ? QDir::toNativeSeparators(p) : QFileInfo(p).fileName();
    auto* item = parent ? new QTreeWidgetItem(parent, {name}) : new QTreeWidgetItem(this, {name});
    item->setData(0, kPathRole, QDir::toNativeSeparators(p));
    item->setIcon(0, open);
    item->setExpanded(true);
    parent = item;
  }

  const QFileInfoList subs =
      QDir(QDir::fromNativeSeparators(path_))
          .entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
  for (const QFileInfo& sub : subs) {
    auto* item = new QTreeWidgetItem(parent, {sub.fileName()});
    item->setData(0, kPathRole, QDir::toNativeSeparators(sub.absoluteFilePath()));
    item->setIcon(0, closed);
  }
  setCurrentItem(parent);
  if (parent) scrollToItem(parent);
}

void FolderList::setNearestPath(const QString& path) {
  QString p = QDir::cleanPath(QDir::fromNativeSeparators(path));
  while (!setPath(p)) {
    const QString up = QFileInfo(p).path();
    if (up == p || up.isEmpty() || up == QLatin1String(".")) {
      setPath(QDir::rootPath());
      return;
    }
    p = up;
  }
}

DriveList::DriveList(QWidget* parent) : QComboBox(parent) {
  QStringList roots;
#ifdef Q_OS_WIN
  for (const QFileInfo& drive : QDir::drives()) roots << QDir::toNativeSeparators(drive.absoluteFilePath());
#else
  roots << QDir::rootPath();
  for (const QStorageInfo& v : QStorageInfo::mountedVolumes())
    if (v.isValid() && v.isReady() && !roots.contains(v.rootPath())) roots << v.rootPath();
#endif
  for (const QString& root : roots) addItem(root, root);
}

void DriveList::SelectDriveOf(const QString& folder) {
  int best = 0;
  qsizetype bestLength = -1;
  for (int i = 0; i < count(); ++i) {
    const QString root = itemData(i).toString();
    const bool under = folder.startsWith(root, Qt::CaseInsensitive) &&
                       (folder.size() == root.size() || (!root.isEmpty() && IsPathSeparator(root.back())) ||
                        IsPathSeparator(folder[root.size()]));
    if (under && root.size() > bestLength) {
      best = i;
      bestLength = root.size();
    }
  }
  setCurrentIndex(best);
}

}  // namespace tarvex

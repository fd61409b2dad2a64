#include "scrivane/gui/mru.h"

#include <QAction>
#include <QDir>

#include "common/prefs.h"

namespace scrivane {

QString MRU::Tag(const QAction* item) { return item->property("Tag").toString(); }
QString MRU::Title(const QAction* item) { return item->property("Title").toString(); }

RecentFiles MRU::FromMenu(QAction* const* menu) {
  RecentFiles list;
  for (int i = 0; i < RecentFiles::kCount; ++i)
    list.entries[i] = {Title(menu[i]), Tag(menu[i]), menu[i]->isVisible(),
                       menu[i]->property("Added").toBool()};
  return list;
}

void MRU::ToMenu(const RecentFiles& list, QAction* const* menu, QAction* separator) {
  for (int i = 0; i < RecentFiles::kCount; ++i) {
    const RecentEntry& e = list.entries[i];
    menu[i]->setText(RecentCaption(i, e.title));
    menu[i]->setProperty("Title", e.title);
    menu[i]->setProperty("Tag", e.path);
    // The caption may show the title shortened: the full path is shown on the status bar.
    menu[i]->setStatusTip(QDir::toNativeSeparators(e.path));
    menu[i]->setProperty("Added", e.added);
    if (e.visible) menu[i]->setVisible(true);
  }
  if (separator && list.AnyVisible()) separator->setVisible(true);
}

namespace {
RecentFiles ReadStore() {
  QStringList values;
  for (const tarvex::TextPref& key : tarvex::prefs::MRU) values << key.Get();
  return StoredRecentList(values);
}
}  // namespace

void MRU::LoadMRU(QAction* const* menu, QAction* separator) {
  RecentFiles list = FromMenu(menu);
  const RecentFiles stored = ReadStore();
  for (int i = 0; i < RecentFiles::kCount; ++i) {
    const RecentEntry& e = stored.entries[i];
    list.entries[i].title = e.title;
    list.entries[i].path = e.path;
    list.entries[i].visible = list.entries[i].visible || e.visible;
  }
  ToMenu(list, menu, separator);
}

void MRU::SaveMRU(QAction* const* menu, QString* fault) {
  // Another Scrivane may have stored its list since this one read the store.
  const RecentFiles list = MergeRecent(FromMenu(menu), ReadStore());
  for (int i = 0; i < RecentFiles::kCount; ++i) tarvex::prefs::MRU[i].Set(StoredRecent(list.entries[i]), fault);
}

void MRU::AddFile(QAction* const* menu, const QString& path, const QString& title, QAction* separator) {
  RecentFiles list = FromMenu(menu);
  list.Add(path, title);
  ToMenu(list, menu, separator);
}

}  // namespace scrivane

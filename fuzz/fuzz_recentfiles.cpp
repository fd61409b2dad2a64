// Stored recent-files values: any text reads as an entry whose stored form reads back as the
// same entry, its menu caption is never longer than kShownTitle characters of title, and the
// list keeps four distinct titles whatever is added.
#include <QStringList>

#include "fuzz/fuzz_check.h"
#include "scrivane/core/recentfiles.h"

void FuzzOne(const uint8_t* data, size_t size) {
  using namespace scrivane;
  const QString text = FuzzText(data, size);
  RecentFiles list;
  for (const QString& value : text.split(QLatin1Char('\n'))) {
    const RecentEntry e = ParseStoredRecent(value);
    FUZZ_CHECK(!value.contains(QLatin1Char(':')) || StoredRecent(e) == value);
    const RecentEntry again = ParseStoredRecent(StoredRecent(e));
    FUZZ_CHECK(again.title == e.title && again.path == e.path);
    // The caption shows a short title whole; a long one shortened, never longer than a short one.
    QString shown = RecentCaption(0, e.title).mid(3).replace(QStringLiteral("&&"), QStringLiteral("&"));
    FUZZ_CHECK(e.title.size() > kShownTitle ? shown.size() <= kShownTitle : shown == e.title);
    if (e.title.isEmpty()) continue;
    list.Add(e.path, e.title);
    FUZZ_CHECK(list.entries[0].title == e.title && list.entries[0].visible);
    for (int i = 1; i < RecentFiles::kCount; ++i)
      FUZZ_CHECK(list.entries[i].title.isEmpty() || list.Find(list.entries[i].title) == i);
  }
}

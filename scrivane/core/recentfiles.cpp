#include "scrivane/core/recentfiles.h"

#include <QDir>

#include "common/paths.h"

namespace scrivane {

int RecentFiles::Find(const QString& title) const {
  for (int i = 0; i < kCount; ++i)
    if (entries[i].title == title) return i;
  return -1;
}

void RecentFiles::Add(const QString& path, const QString& title) {
  const int match = Find(title);
  if (match == 0) {  // stays as it is, but was used by this process
    entries[0].added = true;
    return;
  }
  // Entries above the match (or all but the last) move down one place.
  for (int j = (match < 0 ? kCount - 1 : match) - 1; j >= 0; --j) {
    RecentEntry& to = entries[j + 1];
    to.title = entries[j].title;
    to.path = entries[j].path;
    to.added = entries[j].added;
    if (!to.title.isEmpty()) to.visible = true;
  }
  entries[0] = {title, path, true, true};
}

bool RecentFiles::AnyVisible() const {
  for (const RecentEntry& e : entries)
    if (e.visible) return true;
  return false;
}

namespace {
// Appends the entry unless the list is full, the entry is empty or its title is listed.
void Append(RecentFiles& list, int& n, const RecentEntry& e) {
  if (n == RecentFiles::kCount || e.title.isEmpty() || e.path.isEmpty() || list.Find(e.title) >= 0) return;
  list.entries[n++] = {e.title, e.path, true, e.added};
}

// A stored entry names a file when it has a title to show and a full path that ends in a file
// name; values edited by hand such as ":::" or "a.cog:" name none. (Qt counts a path that
// begins with ":" as full: it names a resource built into a program, never the user's file.)
bool NamesAFile(const RecentEntry& e) {
  return !e.title.trimmed().isEmpty() && !e.path.startsWith(QLatin1Char(':')) && QDir::isAbsolutePath(e.path) &&
         !tarvex::FileTitle(e.path).isEmpty();
}
}  // namespace

RecentFiles StoredRecentList(const QStringList& values) {
  RecentFiles list;
  int n = 0;
  for (const QString& v : values) {
    const RecentEntry e = ParseStoredRecent(v);
    if (NamesAFile(e)) Append(list, n, e);
  }
  return list;
}

RecentFiles MergeRecent(const RecentFiles& mine, const RecentFiles& stored) {
  RecentFiles out;
  int n = 0;
  for (const RecentEntry& e : mine.entries)
    if (e.added) Append(out, n, e);
  for (const RecentEntry& e : stored.entries) Append(out, n, e);
  for (const RecentEntry& e : mine.entries) Append(out, n, e);
  return out;
}

QString StoredRecent(const RecentEntry& e) { return e.title + QLatin1Char(':') + e.path; }

RecentEntry ParseStoredRecent(const QString& value) {
  const qsizetype first = value.indexOf(QLatin1Char(':'));
  if (first < 0) return {};
  qsizetype split = first;
  for (qsizetype c = first; c >= 0; c = value.indexOf(QLatin1Char(':'), c + 1)) {
    if (tarvex::FileTitle(value.mid(c + 1)) == QStringView(value).left(c)) {
      split = c;
      break;
    }
  }
  RecentEntry e;
  e.title = value.left(split);
  e.path = value.mid(split + 1);
  e.visible = !e.title.isEmpty();
  return e;
}

QString RecentCaption(int i, const QString& title) {
  QString shown = title;
  if (shown.size() > kShownTitle) {
    // The cut never splits a character made of two UTF-16 units.
    qsizetype head = kShownTitle / 2 - 1, tail = shown.size() - (kShownTitle - head - 1);
    if (shown[head - 1].isHighSurrogate()) --head;
    if (shown[tail].isLowSurrogate()) ++tail;
    shown = shown.left(head) + QChar(0x2026) + shown.mid(tail);
  }
  shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
  return QStringLiteral("&%1 ").arg(i + 1) + shown;
}

}  // namespace scrivane

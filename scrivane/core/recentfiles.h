#pragma once
// The recent-files list of the File menu as plain data: four entries, newest first, each a
// file title and its full path. The title identifies a file (with regard to case); the
// stored form of an entry is title ":" path.
#include <QString>
#include <QStringList>
#include <array>

namespace scrivane {

struct RecentEntry {
  QString title;  // empty for an empty entry
  QString path;
  bool visible = false;  // shown in the menu; once shown, it stays shown
  bool added = false;    // put at the top by this process (not only read from the store)
};

class RecentFiles {
 public:
  static constexpr int kCount = 4;
  std::array<RecentEntry, kCount> entries;

  // Puts the file at the top: a file already listed under the same title moves up (entry 0
  // keeps its path), a new one pushes the last entry off.
  void Add(const QString& path, const QString& title);
  // Index of the first entry with this title, or -1.
  int Find(const QString& title) const;
  bool AnyVisible() const;
};

// The list as the store holds it: every stored value that names a title and the full path
// of a file, in order, the gaps left by empty or unusable values (":::") closed.
RecentFiles StoredRecentList(const QStringList& values);

// The list to store when this process ends, while another one may have stored its own since
// this one started: this process's own additions first (newest first), then what the store
// holds now, then the rest of this process's list; each title once, the first four kept.
RecentFiles MergeRecent(const RecentFiles& mine, const RecentFiles& stored);

// title ":" path; an empty entry is ":".
QString StoredRecent(const RecentEntry& e);
// A stored value back into an entry. A title may itself hold colons, so the value is split
// at the first colon after which the path's file title equals the text before it; failing
// that, at the first colon. A value without a colon is an empty entry.
RecentEntry ParseStoredRecent(const QString& value);

// The menu caption of entry i: "&" i + 1 " " title, with "&" in the title shown as itself. A
// title longer than kShownTitle characters is shown with its middle left out ("…"), its start
// and its end (the extension) kept, so that it does not stretch the menu.
constexpr qsizetype kShownTitle = 50;
QString RecentCaption(int i, const QString& title);

}  // namespace scrivane

#include <gtest/gtest.h>

#include "scrivane/core/recentfiles.h"

using namespace scrivane;

namespace {
QString Titles(const RecentFiles& l) {
  QString s;
  for (const RecentEntry& e : l.entries) s += (e.title.isEmpty() ? QStringLiteral("-") : e.title) + QLatin1Char(' ');
  return s.trimmed();
}
}  // namespace

TEST(RecentFiles, AddShiftsMatchesByTitleAndDropsTheLast) {
  RecentFiles l;
  EXPECT_FALSE(l.AnyVisible());
  const struct { const char* title; const char* folder; const char* want; } steps[] = {
      {"a.cog", "/x", "a.cog - - -"},
      {"b.cog", "/x", "b.cog a.cog - -"},
      {"c.cog", "/x", "c.cog b.cog a.cog -"},
      {"d.cog", "/x", "d.cog c.cog b.cog a.cog"},
      {"e.cog", "/x", "e.cog d.cog c.cog b.cog"},
      {"c.cog", "/x", "c.cog e.cog d.cog b.cog"},
      {"c.cog", "/y", "c.cog e.cog d.cog b.cog"},  // the top entry keeps its old path
      {"e.cog", "/y", "e.cog c.cog d.cog b.cog"},  // same name elsewhere: moves up, new path
      {"E.cog", "/y", "E.cog e.cog c.cog d.cog"},  // case counts
  };
  for (const auto& s : steps) {
    l.Add(QString::fromLatin1(s.folder) + '/' + QString::fromLatin1(s.title), QString::fromLatin1(s.title));
    EXPECT_EQ(Titles(l), QString::fromLatin1(s.want)) << s.title;
  }
  EXPECT_EQ(l.entries[1].path, QStringLiteral("/y/e.cog"));
  EXPECT_EQ(l.entries[2].path, QStringLiteral("/x/c.cog"));
}

TEST(RecentFiles, StoredFormAndColonSplit) {
  const struct { const char* stored; const char* title; const char* path; } cases[] = {
      {":", "", ""},
      {"no colon at all", "", ""},
      {"a.cog:C:\\Games\\a.cog", "a.cog", "C:\\Games\\a.cog"},
      {"a:b.cog:/home/m/a:b.cog", "a:b.cog", "/home/m/a:b.cog"},
      {"x.cog:/elsewhere/y.cog", "x.cog", "/elsewhere/y.cog"},  // first colon when none fits
      {"a:b:c", "a", "b:c"},
  };
  for (const auto& c : cases) {
    const RecentEntry e = ParseStoredRecent(QString::fromLatin1(c.stored));
    EXPECT_EQ(e.title, QString::fromLatin1(c.title)) << c.stored;
    EXPECT_EQ(e.path, QString::fromLatin1(c.path)) << c.stored;
  }
  EXPECT_EQ(StoredRecent({}), QStringLiteral(":"));
  EXPECT_EQ(RecentCaption(1, QStringLiteral("R&D.cog")), QStringLiteral("&2 R&&D.cog"));
}

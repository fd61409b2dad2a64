#include <gtest/gtest.h>

#include "common/paths.h"
#include "common/text.h"
#include "common/ui/prompts.h"

using namespace tarvex;

TEST(TextSearch, OneBasedCaseInsensitiveWithStart) {
  struct { const char* text; const char* word; qsizetype start; qsizetype want; } cases[] = {
      {"Hello World", "world", 1, 7},
      {"Hello World", "WORLD", 7, 7},
      {"Hello World", "world", 8, 0},
      {"abcabc", "abc", 2, 4},
      {"abc", "abc", 1, 1},
      {"abc", "", 1, 0},       // an empty word is never found
      {"abc", "a", 0, 0},      // a start below 1 finds nothing
      {"abc", "c", 4, 0},      // start past the end
      {"", "a", 1, 0},
      {"xÄy", "ä", 1, 2},      // letters beyond ASCII fold too
  };
  for (auto c : cases)
    EXPECT_EQ(InStr(QString::fromUtf8(c.text), QString::fromUtf8(c.word), c.start), c.want)
        << c.text << " / " << c.word << " from " << c.start;
  EXPECT_EQ(InStrExact(QStringLiteral("aA"), QStringLiteral("A")), 2);
  EXPECT_TRUE(SameText(QStringLiteral("EOF"), QStringLiteral("eof")));
}

TEST(TextSearch, FoldCaseAgreesWithUnicodeFolding) {
  for (const char* text : {"", "abc", "GetThingHealth(thing)|Health", "[AZ@`az{]", "MixÄd Ünïcode", "ΣΑΣ"}) {
    const QString s = QString::fromUtf8(text);
    EXPECT_EQ(FoldCase(s), s.toCaseFolded()) << text;
  }
}

TEST(TextSearch, NumberToText) {
  EXPECT_EQ(NumText(0), QStringLiteral(" 0"));
  EXPECT_EQ(NumText(32767), QStringLiteral(" 32767"));
  EXPECT_EQ(NumText(-4), QStringLiteral("-4"));
  EXPECT_EQ(WithoutFirst(QStringLiteral("&1 a.cog"), 3), QStringLiteral("a.cog"));
  EXPECT_EQ(WithoutFirst(QStringLiteral("&1 "), 3), QString());
}

TEST(Paths, TitleAndFolderSplitAtTheLastSeparator) {
  struct { const char* path; const char* title; const char* folder; } cases[] = {
      {"C:\\Games\\JK\\a.cog", "a.cog", "C:\\Games\\JK"},
      {"a.cog", "a.cog", ""},
      {"\"C:\\x y\\b.cog\"", "b.cog\"", "\"C:\\x y"},
      {"dir\\", "", "dir"},
#ifndef Q_OS_WIN
      {"/home/u/jk/a.cog", "a.cog", "/home/u/jk"},
      {"/home/u\\mixed/b.cog", "b.cog", "/home/u\\mixed"},
      {"/a\\b", "b", "/a"},
#else
      {"C:/Games/a.cog", "C:/Games/a.cog", ""},
#endif
  };
  for (auto c : cases) {
    EXPECT_EQ(GetFileTitle(QString::fromUtf8(c.path)), QString::fromUtf8(c.title)) << c.path;
    EXPECT_EQ(FolderPart(QString::fromUtf8(c.path)), QString::fromUtf8(c.folder)) << c.path;
  }
  const QString sep = PathSeparator();
  EXPECT_EQ(JoinPath(QStringLiteral("x"), QStringLiteral("y")), QStringLiteral("x") + sep + QStringLiteral("y"));
  EXPECT_EQ(JoinPath(QStringLiteral("x") + sep, QStringLiteral("y")), QStringLiteral("x") + sep + QStringLiteral("y"));
}

TEST(Prompts, FiltersAndDefaultExtension) {
  EXPECT_EQ(QtFilter(QStringLiteral("COG files (*.cog)|*.cog|All files (*.*)|*.*")),
            QStringLiteral("COG files (*.cog);;All files (*)"));
  EXPECT_EQ(QtFilter(QStringLiteral("Strings|*.uni;*.txt")), QStringLiteral("Strings (*.uni *.txt)"));
  EXPECT_EQ(WithDefaultExtension(QStringLiteral("x/new"), QStringLiteral(".cog")), QStringLiteral("x/new.cog"));
  EXPECT_EQ(WithDefaultExtension(QStringLiteral("x/new.txt"), QStringLiteral(".cog")), QStringLiteral("x/new.txt"));
  EXPECT_EQ(WithDefaultExtension(QStringLiteral("a.b/new"), QStringLiteral("cog")),
            QStringLiteral("a.b/new.cog"));
}

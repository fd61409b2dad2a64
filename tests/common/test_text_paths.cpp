#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include "common/paths.h"
#include "common/text.h"
#include "common/ui/prompts.h"

using namespace tarvex;

TEST(Text, OneBasedCaseInsensitiveSearchFoldingAndNumbers) {
  const struct { const char* text; const char* word; qsizetype start, want; } cases[] = {
      {"Hello World", "world", 1, 7}, {"Hello World", "WORLD", 7, 7}, {"Hello World", "world", 8, 0}, {"abcabc", "abc", 2, 4},
      {"abc", "abc", 1, 1},
      {"abc", "", 1, 0},   // an empty word is never found
      {"abc", "a", 0, 0},  // a start below 1 finds nothing
      {"abc", "c", 4, 0},  // start past the end
      {"", "a", 1, 0},
      {"xÄy", "ä", 1, 2},  // letters beyond ASCII fold too
  };
  for (auto c : cases) EXPECT_EQ(InStr(c.text, c.word, c.start), c.want) << c.text << " / " << c.word << " from " << c.start;
  EXPECT_TRUE(InStrExact("aA", "A") == 2 && SameText("EOF", "eof"));
  for (const char* text : {"", "abc", "x = 1; Foo", "GetThingHealth(thing)|Health", "[AZ@`az{]", "MixÄd Ünïcode", "ΣΑΣ"})
    EXPECT_EQ(FoldCase(text), QString(text).toCaseFolded()) << text;
  EXPECT_EQ(NumText(0) + '|' + NumText(32767) + '|' + NumText(-4), " 0| 32767|-4");
  EXPECT_EQ(WithoutFirst("&1 a.cog", 3) + '|' + WithoutFirst("&1 ", 3), "a.cog|");
}

TEST(Paths, TitleAndFolderSplitAtThePlatformsSeparatorsOnly) {
  const struct { const char* path; const char* title; const char* folder; } cases[] = {
      {"a.cog", "a.cog", ""},
#ifdef Q_OS_WIN
      {"C:\\Games\\JK\\a.cog", "a.cog", "C:\\Games\\JK"},
      {"\"C:\\x y\\b.cog\"", "b.cog\"", "\"C:\\x y"},
      {"dir\\", "", "dir"},
      {"C:/Games/a.cog", "a.cog", "C:/Games"},
      {"C:\\Games/mixed\\b.cog", "b.cog", "C:\\Games/mixed"},
#else
      // A backslash is a character of a file name here.
      {"/home/u/jk/a.cog", "a.cog", "/home/u/jk"},
      {"/home/u/we\\ird.cog", "we\\ird.cog", "/home/u"},
      {"we\\ird.cog", "we\\ird.cog", ""},
      {"/home/u\\mixed/b.cog", "b.cog", "/home/u\\mixed"},
      {"C:\\Games\\a.cog", "C:\\Games\\a.cog", ""},
      {"dir/", "", "dir"},
#endif
  };
  for (auto c : cases) EXPECT_EQ(FileTitle(c.path) + '|' + FolderPart(c.path), QString(c.title) + '|' + c.folder) << c.path;
  const QString joined = QStringLiteral("x") + PathSeparator() + "y";
  EXPECT_EQ(JoinPath("x", "y"), joined);
  EXPECT_EQ(JoinPath(QStringLiteral("x") + PathSeparator(), "y"), joined);
#ifndef Q_OS_WIN
  EXPECT_EQ(JoinPath("we\\", "ird"), "we\\/ird");
#endif
}

// The data files and the printing module are beside the program, unless the program sits in
// the platform's layout with its data and library folders beside its own folder.
TEST(Paths, DataFolderBesideOrInTheSharedDataFolder) {
  QTemporaryDir tmp;
  const QDir root(tmp.path());
  ASSERT_TRUE(root.mkpath("portable") && root.mkpath("usr/bin") && root.mkpath("usr/share/tarvex") &&
              root.mkpath("usr/" TARVEX_INSTALL_MODULEDIR) && root.mkpath("lone/bin"));
  const struct { const char *program, *data, *modules; } cases[] = {
      {"portable", "portable", "portable"},
      {"usr/bin", "usr/share/tarvex", "usr/" TARVEX_INSTALL_MODULEDIR},
      {"lone/bin", "lone/bin", "lone/bin"}};
  for (const auto& c : cases) {
    const QString program = tarvex::NativePath(root.filePath(QLatin1String(c.program)));
    EXPECT_EQ(tarvex::DataFolderFor(program), tarvex::NativePath(root.filePath(QLatin1String(c.data)))) << c.program;
    EXPECT_EQ(tarvex::ModuleFolderFor(program), tarvex::NativePath(root.filePath(QLatin1String(c.modules)))) << c.program;
  }
  EXPECT_EQ(tarvex::ProgramFolder(), QDir::toNativeSeparators(QCoreApplication::applicationDirPath()));
  tarvex::SetProgramFolder(root.filePath("usr/bin"));
  EXPECT_EQ(tarvex::DataFolder(), tarvex::NativePath(root.filePath("usr/share/tarvex")));
  tarvex::SetProgramFolder(QString());
}

TEST(Prompts, FiltersAndDefaultExtension) {
  EXPECT_EQ(QtFilter("COG files (*.cog)|*.cog|All files (*.*)|*.*"), "COG files (*.cog);;All files (*)");
  EXPECT_EQ(QtFilter("Strings|*.uni;*.txt"), "Strings (*.uni *.txt)");
  EXPECT_EQ(WithDefaultExtension("x/new", ".cog"), "x/new.cog");
  EXPECT_EQ(WithDefaultExtension("x/new.txt", ".cog"), "x/new.txt");
  EXPECT_EQ(WithDefaultExtension("a.b/new", "cog"), "a.b/new.cog");
}

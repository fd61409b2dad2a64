#include <QFile>
#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

#include "common/settings.h"
#include "tests/support/file_bytes.h"
#include "tests/support/test_env.h"

using namespace tarvex;

// Awkward values come back as they were stored, in the program's own file; a key never
// stored gives the default, and each program keeps its own keys.
TEST(Settings, AwkwardValuesRoundTripThroughTheFile) {
  test::TempSettings tmp;
  const char* const values[] = {"a, b, c", "x:C:\\Games\\jk\\a.cog", "semi;colon", "k=v", "back\\\\slash\\", "  padded  ",
                                "Größe €", ",", "\"quoted\"", "#hash", ":", "", "@ByteArray(x)", "true", "[section]"};
  int k = 0;
  for (const char* v : values) {
    const QString key = QString::number(++k);
    ASSERT_TRUE(SaveSetting("Scrivane", "MRU", key, v));
    EXPECT_EQ(GetSetting("Scrivane", "MRU", key, "def"), v) << v;
  }
  EXPECT_TRUE(QFile::exists(tmp.Folder() + "/Scrivane.ini") && !QFile::exists(tmp.Folder() + "/Pendrel.ini"));
  EXPECT_EQ(GetSetting("Scrivane", "Defaults", "DefFontName", "Courier New"), "Courier New");
  SaveSetting("Pendrel", "AuthInfo", "Name", "Kyle");
  EXPECT_EQ(GetSetting("Scrivane", "AuthInfo", "Name") + '|' + GetSetting("Pendrel", "AuthInfo", "Name"), "|Kyle");
  // A settings folder that cannot be made: the reason is the folder's it would be made in.
  test::ReadOnlyFolder readOnly(tmp.Folder());
  if (!readOnly.Ok()) GTEST_SKIP() << "cannot make a read-only folder here";
  qputenv("TARVEX_CONFIG_DIR", QFile::encodeName(tmp.Folder() + "/new/er"));
  QString fault;
  EXPECT_FALSE(SaveSetting("Scrivane", "MRU", "1", "x", &fault));
  EXPECT_TRUE(fault.startsWith("Cannot save the settings to \"" + tmp.Folder() + "/new/er/Scrivane.ini\": ") &&
              !fault.endsWith("No such file or directory"))
      << fault;
}

TEST(Settings, HandWrittenPlainValuesAreRead) {
  test::TempSettings tmp;
  test::WriteBytes(tmp.Folder() + "/Scrivane.ini",
                   "[Other]\nMail=x, y\n[Defaults]\nDefFontName=Lucida Console\nDefFontSize=12\nDefOpenDir=a, b\n"
                   "Mail=a,b@example.org\nWeb = a ,  b,c \n");
  // Commas written by hand read back exactly as they stand in the file.
  for (const auto& [key, want] : {std::pair("Mail", "a,b@example.org"), {"Web", "a ,  b,c"},
                                  {"DefFontName", "Lucida Console"}, {"DefOpenDir", "a, b"}})
    EXPECT_EQ(GetSetting("Scrivane", "Defaults", key), want);
#ifndef Q_OS_WIN
  // A pipe in the file's place is never opened (the read would wait for ever): defaults are
  // read, and a write says why it failed.
  ASSERT_EQ(::mkfifo(QFile::encodeName(tmp.Folder() + "/Pendrel.ini").constData(), 0600), 0);
  QString fault;
  EXPECT_FALSE(SaveSetting("Pendrel", "AuthInfo", "Name", "Kyle", &fault));
  EXPECT_EQ(GetSetting("Pendrel", "AuthInfo", "Name", "def") + '|' + fault,
            "def|Cannot save the settings to \"" + tmp.Folder() + "/Pendrel.ini\": It is not a regular file.");
#endif
}

TEST(Settings, StoredFormsConvertOrFallBack) {
  const struct { const char* s; bool def, want; } bools[] = {
      {"True", false, true}, {"false", true, false}, {"TRUE", false, true}, {"-1", false, true},
      {"0", true, false},    {"yes", true, true},    {"", false, false},    {"maybe", false, false}};
  for (auto c : bools) EXPECT_EQ(SettingToBool(c.s, c.def), c.want) << c.s;
  EXPECT_EQ(QString("%1 %2 %3").arg(SettingToInt("12", 8)).arg(SettingToInt("12pt", 8)).arg(SettingToInt(QString(), 8)),
            "12 8 8");
}

#include <gtest/gtest.h>

#include <QFile>

#include "common/settings.h"
#include "tests/support/test_env.h"

using namespace tarvex;

TEST(Settings, AwkwardValuesRoundTripThroughTheFile) {
  test::TempSettings tmp;
  const QString values[] = {
      QStringLiteral("a, b, c"), QStringLiteral("x:C:\\Games\\jk\\a.cog"), QStringLiteral("semi;colon"),
      QStringLiteral("k=v"),     QStringLiteral("back\\\\slash\\"),        QStringLiteral("  padded  "),
      QStringLiteral("Größe €"), QStringLiteral(","),                     QStringLiteral("\"quoted\""),
      QStringLiteral("#hash"),   QStringLiteral(":"),                     QString(),
      QStringLiteral("@ByteArray(x)"), QStringLiteral("true"),            QStringLiteral("[section]")};
  int k = 0;
  for (const QString& v : values) {
    const QString key = QString::number(++k);
    ASSERT_TRUE(SaveSetting(QStringLiteral("Scrivane"), QStringLiteral("MRU"), key, v));
    EXPECT_EQ(GetSetting(QStringLiteral("Scrivane"), QStringLiteral("MRU"), key, QStringLiteral("def")), v) << v;
  }
  EXPECT_TRUE(QFile::exists(tmp.Folder() + QStringLiteral("/Scrivane.ini")));
  EXPECT_FALSE(QFile::exists(tmp.Folder() + QStringLiteral("/Pendrel.ini")));
}

TEST(Settings, MissingKeysGiveTheDefaultAndAppsAreSeparate) {
  test::TempSettings tmp;
  EXPECT_EQ(GetSetting(QStringLiteral("Scrivane"), QStringLiteral("Defaults"), QStringLiteral("DefFontName"),
                       QStringLiteral("Courier New")),
            QStringLiteral("Courier New"));
  SaveSetting(QStringLiteral("Pendrel"), QStringLiteral("AuthInfo"), QStringLiteral("Name"), QStringLiteral("Kyle"));
  EXPECT_EQ(GetSetting(QStringLiteral("Scrivane"), QStringLiteral("AuthInfo"), QStringLiteral("Name")), QString());
  EXPECT_EQ(GetSetting(QStringLiteral("Pendrel"), QStringLiteral("AuthInfo"), QStringLiteral("Name")),
            QStringLiteral("Kyle"));
}

TEST(Settings, HandWrittenPlainValuesAreRead) {
  test::TempSettings tmp;
  QFile f(tmp.Folder() + QStringLiteral("/Scrivane.ini"));
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("[Other]\nMail=x, y\n[Defaults]\nDefFontName=Lucida Console\nDefFontSize=12\nDefOpenDir=a, b\n"
          "Mail=a,b@example.org\nWeb = a ,  b,c \n");
  f.close();
  // Commas written by hand read back exactly as they stand in the file.
  EXPECT_EQ(GetSetting(QStringLiteral("Scrivane"), QStringLiteral("Defaults"), QStringLiteral("Mail")),
            QStringLiteral("a,b@example.org"));
  EXPECT_EQ(GetSetting(QStringLiteral("Scrivane"), QStringLiteral("Defaults"), QStringLiteral("Web")),
            QStringLiteral("a ,  b,c"));
  EXPECT_EQ(GetSetting(QStringLiteral("Scrivane"), QStringLiteral("Defaults"), QStringLiteral("DefFontName")),
            QStringLiteral("Lucida Console"));
  EXPECT_EQ(GetSetting(QStringLiteral("Scrivane"), QStringLiteral("Defaults"), QStringLiteral("DefOpenDir")),
            QStringLiteral("a, b"));
}

TEST(Settings, StoredFormsConvertOrFallBack) {
  struct { const char* s; bool def; bool want; } bools[] = {
      {"True", false, true}, {"false", true, false}, {"TRUE", false, true}, {"-1", false, true},
      {"0", true, false},    {"yes", true, true},    {"", false, false},    {"maybe", false, false}};
  for (auto c : bools) EXPECT_EQ(SettingToBool(QString::fromUtf8(c.s), c.def), c.want) << c.s;
  EXPECT_EQ(SettingToInt(QStringLiteral("12"), 8), 12);
  EXPECT_EQ(SettingToInt(QStringLiteral("12pt"), 8), 8);
  EXPECT_EQ(SettingToInt(QString(), 8), 8);
  EXPECT_EQ(BoolSetting(true), QStringLiteral("True"));
}

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
  const char* const want[][2] = {
      {"Mail", "a,b@example.org"}, {"Web", "a ,  b,c"}, {"DefFontName", "Lucida Console"}, {"DefOpenDir", "a, b"}};
  for (auto w : want)
    EXPECT_EQ(GetSetting(QStringLiteral("Scrivane"), QStringLiteral("Defaults"), QString::fromLatin1(w[0])),
              QString::fromLatin1(w[1]));
}

TEST(Settings, StoredFormsConvertOrFallBack) {
  struct { const char* s; bool def; bool want; } bools[] = {
      {"True", false, true}, {"false", true, false}, {"TRUE", false, true}, {"-1", false, true},
      {"0", true, false},    {"yes", true, true},    {"", false, false},    {"maybe", false, false}};
  for (auto c : bools) EXPECT_EQ(SettingToBool(QString::fromUtf8(c.s), c.def), c.want) << c.s;
  EXPECT_EQ(QString("%1 %2 %3").arg(SettingToInt("12", 8)).arg(SettingToInt("12pt", 8)).arg(SettingToInt(QString(), 8)),
            "12 8 8");
  EXPECT_EQ(BoolSetting(true), QStringLiteral("True"));
}

// The registry import file and the install path as it spells it. (Line counts per box and
// that every accepted path reads back from the quoted values: fuzz_regfile.)
#include <QDir>
#include <gtest/gtest.h>

#include "scrivane/setup/core/regfile.h"

using namespace pendrel;

namespace {

const QString kDefault = QStringLiteral("C:\\Jedi Knight\\Tarvex");
constexpr Boxes kAll{true, true, true, true};

TEST(RegistryFile, CogBlockWithTheDefaultFolder) {
  const QStringList lines = RegistryFileLines({true, true, false, false}, kDefault, WindowsStyle());
  const QStringList expected = {
      "REGEDIT4",
      R"([HKEY_CLASSES_ROOT\.cog])",
      R"(@="COG file")",
      R"([HKEY_CLASSES_ROOT\COG file])",
      R"(@="COG File")",
      R"("EditFlags"=hex:00,00,00,00)",
      R"([HKEY_CLASSES_ROOT\COG file\DefaultIcon])",
      R"(@="C:\\Jedi Knight\\Tarvex\\COGPage.ico,0")",
      R"([HKEY_CLASSES_ROOT\COG file\shell])",
      R"(@="")",
      R"([HKEY_CLASSES_ROOT\COG file\shell\open])",
      R"(@="")",
      R"("EditFlags"=hex:01,00,00,00)",
      R"([HKEY_CLASSES_ROOT\COG file\shell\open\command])",
      R"(@="\"C:\\Jedi Knight\\Tarvex\\Scrivane.exe\" %1")",
  };
  EXPECT_EQ(lines.mid(0, 15), expected);
  EXPECT_EQ(lines[15], R"([HKEY_CLASSES_ROOT\.cgt])");
  EXPECT_EQ(lines[21], R"(@="C:\\Jedi Knight\\Tarvex\\CGTPage.ico,0")");
  EXPECT_EQ(lines[28], R"(@="\"C:\\Jedi Knight\\Tarvex\\Scrivane.exe\" %1")");
}

TEST(RegistryFile, LowerBoxesGovernTheTypesTheirCaptionsName) {
  struct Case {
    Boxes boxes;
    QStringList heads;     // line 1 of each block, in file order
    QStringList commands;  // line 14 of each block
  } cases[] = {
      {{false, false, true, false}, {R"([HKEY_CLASSES_ROOT\.uni])"}, {R"(@="\"D:\\T\\Lirrel.exe\" %1")"}},
      {{false, false, false, true}, {R"([HKEY_CLASSES_ROOT\.dat])"}, {R"(@="\"D:\\T\\Orvane.exe\" %1")"}},
      {kAll,
       {R"([HKEY_CLASSES_ROOT\.cog])", R"([HKEY_CLASSES_ROOT\.cgt])", R"([HKEY_CLASSES_ROOT\.dat])",
        R"([HKEY_CLASSES_ROOT\.uni])"},
       {R"(@="\"D:\\T\\Scrivane.exe\" %1")", R"(@="\"D:\\T\\Scrivane.exe\" %1")", R"(@="\"D:\\T\\Orvane.exe\" %1")",
        R"(@="\"D:\\T\\Lirrel.exe\" %1")"}},
  };
  for (const Case& c : cases) {
    const QStringList lines = RegistryFileLines(c.boxes, QStringLiteral("D:\\T"), WindowsStyle());
    QStringList heads, commands;
    for (qsizetype i = 1; i < lines.size(); i += 14) heads << lines[i], commands << lines[i + 13];
    EXPECT_EQ(heads, c.heads);
    EXPECT_EQ(commands, c.commands);
  }
  const QStringList all = RegistryFileLines(kAll, QStringLiteral("D:\\T"), WindowsStyle());
  EXPECT_EQ(all[1 + 2 * 14 + 1], R"(@="JKDAT")");
  EXPECT_EQ(all[1 + 2 * 14 + 6], R"(@="D:\\T\\DATPage.ico,0")");
  EXPECT_EQ(all[1 + 3 * 14 + 3], R"(@="Jedi Knight UNI File")");
  EXPECT_EQ(all[1 + 3 * 14 + 6], R"(@="D:\\T\\JKUni.ico,0")");
  const QStringList onUnix = RegistryFileLines(kAll, QStringLiteral("/opt/jk/Tarvex"), UnixStyle());
  EXPECT_EQ(onUnix[7], R"(@="/opt/jk/Tarvex/COGPage.ico,0")");
  EXPECT_EQ(onUnix[14], R"(@="\"/opt/jk/Tarvex/Scrivane\" %1")");
}

TEST(RegistryFile, EscapedInstallPath) {
  struct Case {
    QString path;
    PathStyle style;
    QString escaped;
  } cases[] = {
      {kDefault, WindowsStyle(), R"(C:\\Jedi Knight\\Tarvex\\)"},
      {R"(C:\)", WindowsStyle(), R"(C:\\)"},
      {"/home/jo/", UnixStyle(), "/home/jo/"},
      {"/", UnixStyle(), "/"},
      {R"(/odd\name)", UnixStyle(), R"(/odd\\name/)"},
  };
  for (const Case& c : cases) EXPECT_EQ(EscapedInstallPath(c.path, c.style), c.escaped) << c.path;
}

TEST(RegistryFile, BytesAreCrLfLinesOneBytePerCharacter) {
  EXPECT_EQ(RegistryFileBytes({}, kDefault, WindowsStyle()), QByteArray("REGEDIT4\r\n"));
  const QByteArray bytes = RegistryFileBytes(kAll, QStringLiteral("C:\\Spi\u00e9l"), WindowsStyle());
  EXPECT_EQ(bytes.count("\r\n"), 57);
  EXPECT_EQ(bytes.count('\n'), 57);  // no bare line feeds
  EXPECT_TRUE(bytes.contains("C:\\\\Spi\xe9l\\\\COGPage.ico,0"));
}

TEST(RegistryFile, RefusedInstallPaths) {
  struct Case {
    QString path;
    QString why;  // a word of the reason; empty: accepted
  } cases[] = {
      {"C:\\Jedi \"Knight\"", "double quote"},
      {"C:\\Jedi\rKnight", "line break"},
      {"C:\\Jedi\tKnight", "control character"},
      {"", "No install directory"},
      {"/home/j\u00f6rg/Jedi Knight's mods", ""},
  };
  for (const Case& c : cases) {
    const QString reason = RefusedPathReason(c.path);
    if (c.why.isEmpty()) EXPECT_TRUE(reason.isEmpty()) << c.path << reason;
    else EXPECT_TRUE(reason.contains(c.why)) << c.path << reason;
  }
}

TEST(RegistryFile, DefaultInstallPathAndProgramNames) {
#ifdef Q_OS_WIN
  EXPECT_EQ(DefaultInstallPath(), kDefault);
#else
  EXPECT_EQ(DefaultInstallPath(), QDir::homePath() + QStringLiteral("/Jedi Knight/Tarvex"));
#endif
  EXPECT_EQ(ProgramFileName(QStringLiteral("Orvane"), WindowsStyle()), QStringLiteral("Orvane.exe"));
}

}  // namespace

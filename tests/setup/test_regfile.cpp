// The registry import file and the install path as it spells it. (Line counts per box and
// that every accepted path reads back from the quoted values: fuzz_regfile.)
#include <QDir>

#include "scrivane/setup/core/regfile.h"

using namespace pendrel;

namespace {

const QString kDefault = QStringLiteral("C:\\Jedi Knight\\Tarvex");
constexpr Boxes kAll{true, true, true, true};

TEST(RegistryFile, CogBlockWithTheDefaultFolder) {
  const QStringList lines = RegistryFileLines({true, true, false, false}, kDefault, WindowsStyle());
  const QStringList expected = {
      "REGEDIT4", R"([HKEY_CLASSES_ROOT\.cog])", R"(@="COG file")", R"([HKEY_CLASSES_ROOT\COG file])",
      R"(@="COG File")", R"("EditFlags"=hex:00,00,00,00)", R"([HKEY_CLASSES_ROOT\COG file\DefaultIcon])",
      R"(@="C:\\Jedi Knight\\Tarvex\\COGPage.ico,0")", R"([HKEY_CLASSES_ROOT\COG file\shell])", R"(@="")",
      R"([HKEY_CLASSES_ROOT\COG file\shell\open])", R"(@="")", R"("EditFlags"=hex:01,00,00,00)",
      R"([HKEY_CLASSES_ROOT\COG file\shell\open\command])", R"(@="\"C:\\Jedi Knight\\Tarvex\\Scrivane.exe\" %1")",
  };
  EXPECT_EQ(lines.mid(0, 15), expected);
  EXPECT_EQ(lines[15], R"([HKEY_CLASSES_ROOT\.cgt])");
  EXPECT_EQ(lines[21], R"(@="C:\\Jedi Knight\\Tarvex\\CGTPage.ico,0")");
  EXPECT_EQ(lines[28], R"(@="\"C:\\Jedi Knight\\Tarvex\\Scrivane.exe\" %1")");
}

TEST(RegistryFile, LowerBoxesGovernTheTypesTheirCaptionsName) {
  // Line 1 of each block and its line 14 (the command), in file order.
  const std::pair<Boxes, const char*> cases[] = {
      {{false, false, true, false}, ".uni Lirrel"}, {{false, false, false, true}, ".dat Orvane"},
      {kAll, ".cog Scrivane .cgt Scrivane .dat Orvane .uni Lirrel"}};
  for (const auto& [boxes, blocks] : cases) {
    const QStringList lines = RegistryFileLines(boxes, QStringLiteral("D:\\T"), WindowsStyle());
    QStringList got, want;
    for (qsizetype i = 1; i < lines.size(); i += 14) got << lines[i] << lines[i + 13];
    const QStringList words = QString::fromLatin1(blocks).split(' ');
    for (qsizetype i = 0; i < words.size(); i += 2)
      want << R"([HKEY_CLASSES_ROOT\)" + words[i] + "]" << R"(@="\"D:\\T\\)" + words[i + 1] + R"(.exe\" %1")";
    EXPECT_EQ(got, want);
  }
  const QStringList all = RegistryFileLines(kAll, QStringLiteral("D:\\T"), WindowsStyle());
  EXPECT_EQ(QStringList({all[1 + 2 * 14 + 1], all[1 + 2 * 14 + 6], all[1 + 3 * 14 + 3], all[1 + 3 * 14 + 6]}),
            QStringList({R"(@="JKDAT")", R"(@="D:\\T\\DATPage.ico,0")", R"(@="Jedi Knight UNI File")", R"(@="D:\\T\\JKUni.ico,0")"}));
  const QStringList onUnix = RegistryFileLines(kAll, QStringLiteral("/opt/jk/Tarvex"), UnixStyle());
  EXPECT_EQ(onUnix[7] + onUnix[14], R"(@="/opt/jk/Tarvex/COGPage.ico,0"@="\"/opt/jk/Tarvex/Scrivane\" %1")");
}

TEST(RegistryFile, EscapedInstallPath) {
  struct Case { QString path; PathStyle style; QString escaped; } cases[] = {
      {kDefault, WindowsStyle(), R"(C:\\Jedi Knight\\Tarvex\\)"}, {R"(C:\)", WindowsStyle(), R"(C:\\)"},
      {"/home/jo/", UnixStyle(), "/home/jo/"}, {"/", UnixStyle(), "/"}, {R"(/odd\name)", UnixStyle(), R"(/odd\\name/)"},
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

TEST(RegistryFile, RefusedInstallPathsAndDefaults) {
  const std::pair<QString, const char*> cases[] = {  // a word of the reason; empty: accepted
      {"C:\\Jedi \"Knight\"", "double quote"}, {"C:\\Jedi\rKnight", "line break"},
      {"C:\\Jedi\tKnight", "control character"}, {"", "No install directory"},
      {"/home/j\u00f6rg/Jedi Knight's mods", ""}};
  for (const auto& [path, why] : cases) {
    const QString reason = RefusedPathReason(path);
    EXPECT_TRUE(*why ? reason.contains(QLatin1String(why)) : reason.isEmpty()) << path << reason;
  }
#ifndef Q_OS_WIN
  EXPECT_EQ(DefaultInstallPath(), QDir::homePath() + QStringLiteral("/Jedi Knight/Tarvex"));
#endif
}

}  // namespace

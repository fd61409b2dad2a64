// The freedesktop side of the associations: the desktop entries read back the way the desktop
// reads them, the MIME package as the desktop's own tools take it, and their registration in a
// temporary data folder.
#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "scrivane/setup/core/desktop.h"
#include "scrivane/setup/core/installer.h"
#include "tests/setup/setup_fakes.h"

using namespace pendrel;
using namespace pendrel::test;

namespace {

constexpr Boxes kAll{true, true, true, true};

// A key of the [Desktop Entry] group, with the string escapes undone.
QString EntryValue(const QString& text, const QString& key) {
  EXPECT_TRUE(text.startsWith(QStringLiteral("[Desktop Entry]\n")));
  const qsizetype at = text.indexOf('\n' + key + '=');
  if (at < 0) return QStringLiteral("(none)");
  const QString raw = text.mid(at + key.size() + 2).section('\n', 0, 0);
  QString value;
  for (qsizetype i = 0; i < raw.size(); ++i) {
    const QChar n = raw[i] == '\\' && i + 1 < raw.size() ? raw[++i] : QChar();
    value += n.isNull() ? raw[i] : n == 's' ? QChar(' ') : n == 'n' ? QChar('\n') : n == 't' ? QChar('\t') : n;
  }
  return value;
}

// The arguments of an Exec value: quoting undone, "%%" read as "%".
QStringList ExecArguments(const QString& exec) {
  QStringList args;
  QString arg;
  bool quoted = false, any = false;
  for (qsizetype i = 0; i < exec.size(); ++i) {
    const QChar c = exec[i];
    if (quoted && c == '\\' && i + 1 < exec.size()) {
      arg += exec[++i];
    } else if (c == '"') {
      quoted = !quoted, any = true;
    } else if (c == ' ' && !quoted) {
      if (any) args << arg.replace(QLatin1String("%%"), QLatin1String("%"));
      arg.clear(), any = false;
    } else {
      arg += c, any = true;
    }
  }
  if (any) args << arg.replace(QLatin1String("%%"), QLatin1String("%"));
  return args;
}

TEST(DesktopEntry, ExecNamesTheProgramWhateverItsPath) {
  const QString paths[] = {"/home/jo/Jedi Knight/Tarvex/Scrivane", "/tmp/odd $HOME `x` \"\\ 100%/Scrivane"};
  for (const QString& path : paths) {
    const QString text = DesktopEntryText(DesktopApps()[0], path, {"text/x-jk-cog", "text/x-jk-cgt"});
    EXPECT_EQ(ExecArguments(EntryValue(text, "Exec")), (QStringList{path, "%f"})) << text;
    EXPECT_EQ(EntryValue(text, "MimeType"), QStringLiteral("text/x-jk-cog;text/x-jk-cgt;"));
  }
}

class RegisterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(tmp.isValid());
    inst = tmp.filePath(QStringLiteral("Jedi Knight/Tarvex"));
    data = tmp.filePath(QStringLiteral("data"));
    for (const char* f : {"Scrivane", "Lirrel", "COGPage.png", "CGTPage.png", "DATPage.png", "JKUni.png"})
      WriteBytes(QDir(inst).filePath(QLatin1String(f)), "x");
  }
  DesktopResult Register(Boxes boxes) { return RegisterDesktop({inst, boxes, data}, SystemFileOps(), shell); }
  QString Data(const QString& rel) const { return QDir(data).filePath(rel); }
  QString Text(const QString& rel) const { return QString::fromUtf8(ReadBytes(Data(rel))); }

  QTemporaryDir tmp;
  QString inst, data;
  RecordingShell shell;
};

TEST_F(RegisterTest, WritesEntriesPackageAndIconsThenUpdatesTheCaches) {
  shell.found[QStringLiteral("update-mime-database")] = QStringLiteral("/u/update-mime-database");
  shell.found[QStringLiteral("update-desktop-database")] = QStringLiteral("/u/update-desktop-database");
  const DesktopResult result = Register(kAll);
  EXPECT_TRUE(result.problems.isEmpty()) << result.problems.join('\n');
  // Without Orvane in the folder the .dat type is defined, but nothing opens it.
  EXPECT_EQ(result.notes, QStringList{"Orvane is not in the install directory, so .DAT files are not opened with it."});
  EXPECT_FALSE(QFile::exists(Data("applications/tarvex-orvane.desktop")));
  const std::pair<const char*, const char*> entries[] = {{"Scrivane", "text/x-jk-cog;text/x-jk-cgt;"},
                                                         {"Lirrel", "text/x-jk-uni;"}};
  for (const auto& [program, types] : entries) {
    const QString text = Text("applications/tarvex-" + QString::fromLatin1(program).toLower() + ".desktop");
    EXPECT_EQ(ExecArguments(EntryValue(text, "Exec")), (QStringList{QDir(inst).filePath(program), "%f"}));
    EXPECT_EQ(EntryValue(text, "MimeType"), QLatin1String(types));
  }
  EXPECT_EQ(Text("mime/packages/tarvex.xml").count("<mime-type "), 4);
  for (const char* icon : {"mimetypes/text-x-jk-cog.png", "mimetypes/text-x-jk-dat.png", "apps/tarvex-scrivane.png",
                           "apps/tarvex-lirrel.png"})
    EXPECT_TRUE(QFile::exists(Data(QStringLiteral("icons/hicolor/48x48/") + QLatin1String(icon)))) << icon;
  ASSERT_EQ(shell.ran.size(), 2u);
  EXPECT_EQ(shell.ran[0].args, QStringList{Data("mime")});
  EXPECT_EQ(shell.ran[1].args, QStringList{Data("applications")});
}

TEST_F(RegisterTest, OnlyTheTickedBoxesAndNothingWhenNone) {
  const DesktopResult none = Register({false, false, false, false});
  EXPECT_TRUE(none.problems.isEmpty() && none.notes.isEmpty());
  EXPECT_FALSE(QFileInfo::exists(data));
  const DesktopResult uni = Register({false, false, true, false});
  EXPECT_TRUE(uni.problems.isEmpty() && uni.notes.isEmpty());
  EXPECT_FALSE(QFile::exists(Data("applications/tarvex-scrivane.desktop")));
  EXPECT_TRUE(QFile::exists(Data("applications/tarvex-lirrel.desktop")));
  const QString xml = Text("mime/packages/tarvex.xml");
  EXPECT_TRUE(xml.count("<mime-type ") == 1 && xml.contains("\"text/x-jk-uni\"")) << xml;
  EXPECT_TRUE(shell.ran.empty());  // the update programs were not found
}

// Only the .dat box without Orvane: no entry is needed, and the desktop's tools, run for
// real, find nothing to complain about.
TEST_F(RegisterTest, NoEntryNeededIsNoProblem) {
  if (QStandardPaths::findExecutable(QStringLiteral("update-desktop-database")).isEmpty())
    GTEST_SKIP() << "desktop-file-utils missing";
  const DesktopResult dat = RegisterDesktop({inst, {false, false, false, true}, data}, SystemFileOps(), SystemShell());
  EXPECT_TRUE(dat.problems.isEmpty()) << dat.problems.join('\n');
  EXPECT_EQ(dat.notes.size(), 1);
}

// The desktop's own tools accept what was written, and read the types by their extensions:
// .dat and .uni belong to other programs too, so their plain globs give way while the game's
// own tables win by their names.
TEST_F(RegisterTest, DesktopToolsAcceptTheFiles) {
  const QString validate = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
  const QString updateMime = QStandardPaths::findExecutable(QStringLiteral("update-mime-database"));
  if (validate.isEmpty() || updateMime.isEmpty()) GTEST_SKIP() << "desktop-file-utils or shared-mime-info missing";
  WriteBytes(QDir(inst).filePath(QStringLiteral("Orvane")), "x");
  const DesktopResult result = Register(kAll);
  ASSERT_TRUE(result.problems.isEmpty() && result.notes.isEmpty());
  for (const char* entry : {"tarvex-scrivane", "tarvex-lirrel", "tarvex-orvane"}) {
    QProcess p;
    p.start(validate, {Data(QStringLiteral("applications/%1.desktop").arg(QLatin1String(entry)))});
    ASSERT_TRUE(p.waitForFinished());
    EXPECT_EQ(p.exitCode(), 0) << entry << p.readAllStandardOutput().constData();
  }
  ASSERT_EQ(QProcess::execute(updateMime, {Data("mime")}), 0);
  QStringList globs = Text("mime/globs2").split('\n').filter(QStringLiteral(":text/x-jk-"));
  globs.sort();
  EXPECT_EQ(globs, (QStringList{"10:text/x-jk-dat:*.dat", "10:text/x-jk-uni:*.uni", "50:text/x-jk-cgt:*.cgt",
                                "50:text/x-jk-cog:*.cog", "80:text/x-jk-dat:models.dat", "80:text/x-jk-uni:jkstrings.uni"}));
}

}  // namespace

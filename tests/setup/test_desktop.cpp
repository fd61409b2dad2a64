// The freedesktop side of the associations: the desktop entries read back the way the desktop
// reads them, the MIME package as the desktop's own tools take it, and their registration in a
// temporary data folder.
#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "scrivane/setup/core/desktop.h"
#include "scrivane/setup/core/installer.h"
#include "tests/setup/setup_fakes.h"
#include "tests/support/scripted_prompts.h"

using namespace pendrel;
using namespace pendrel::test;

namespace {

constexpr Boxes kAll{true, true, true, true};

TEST(DesktopEntry, ExecNamesTheProgramWhateverItsPath) {
  const QString path = "/tmp/odd $HOME `x` \"\\ 100%/Scrivane";
  const QString text = DesktopEntryText(DesktopApps()[0], path, {"text/x-jk-cog", "text/x-jk-cgt"});
  EXPECT_EQ(ExecArguments(EntryValue(text, "Exec")), (QStringList{path, "%f"})) << text;
  EXPECT_EQ(EntryValue(text, "StartupWMClass"), QStringLiteral("Scrivane"));
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

// The type of a file as the desktop's own library sees it with the given data folder.
QString ContentType(const QString& file, const QString& dataHome) {
  QProcess p;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("XDG_DATA_HOME"), dataHome);
  p.setProcessEnvironment(env);
  p.start(QStringLiteral("gio"), {QStringLiteral("info"), QStringLiteral("-a"), QStringLiteral("standard::content-type"), file});
  p.waitForFinished();
  return QString::fromUtf8(p.readAllStandardOutput()).section(QStringLiteral("content-type: "), 1).trimmed();
}

// The desktop's own tools accept what was written (also when the .dat box alone needs no entry)
// and type files by it: the game's tables by their names (models.dat claims no other .dat
// file), a model table under another name by its count line, and .uni files give way to the
// other programs' type of that extension.
TEST_F(RegisterTest, DesktopToolsAcceptTheFilesAndTypeByThem) {
  const QString validate = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
  const QString updateMime = QStandardPaths::findExecutable(QStringLiteral("update-mime-database"));
  if (validate.isEmpty() || updateMime.isEmpty()) GTEST_SKIP() << "desktop-file-utils or shared-mime-info missing";
  // Only the .dat box without Orvane: no entry is needed, and the tools, run for real, find
  // nothing to complain about.
  const DesktopResult dat = RegisterDesktop({inst, {false, false, false, true}, data}, SystemFileOps(), SystemShell());
  EXPECT_TRUE(dat.problems.isEmpty()) << dat.problems.join('\n');
  EXPECT_EQ(dat.notes.size(), 1);
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
  EXPECT_EQ(globs, (QStringList{"10:text/x-jk-uni:*.uni", "50:text/x-jk-cgt:*.cgt", "50:text/x-jk-cog:*.cog",
                                "80:text/x-jk-dat:models.dat", "80:text/x-jk-uni:jkstrings.uni"}));

  if (QStandardPaths::findExecutable(QStringLiteral("gio")).isEmpty()) GTEST_SKIP() << "gio missing";
  QByteArray binary(3000, '\0');
  for (int i = 0; i < binary.size(); ++i) binary[i] = char(i * 7 + i / 13);
  const struct { const char* name; QByteArray bytes; const char* type; } cases[] = {
      {"models.dat", "# a table\r\n", "text/x-jk-dat"},
      {"MODELS.DAT", "x\r\n", "text/x-jk-dat"},
      {"renamed.dat", "# Model selection info\r\n\r\nnumModels: 3\r\n", "text/x-jk-dat"},
      {"binary.dat", binary, "application/octet-stream"},
      {"notes.dat", "plain words\n", "text/plain"},
      {"a.cog", "x\r\n", "text/x-jk-cog"},
      {"jkstrings.uni", "x\r\n", "text/x-jk-uni"},
  };
  const QString files = tmp.filePath(QStringLiteral("files"));
  for (const auto& c : cases) {
    const QString path = QDir(files).filePath(QLatin1String(c.name));
    WriteBytes(path, c.bytes);
    EXPECT_EQ(ContentType(path, data), QLatin1String(c.type)) << c.name;
  }
}

// Nothing is made when no box is ticked. Every box: the entries name the program and its types,
// the package defines the four types, the icons are written and the caches updated. Unticking a
// box and installing again takes back what that box registered; Remove Associations takes back
// all of it, and nothing the installer did not write.
TEST_F(RegisterTest, UntickedTypesAndRemovalTakeBackExactlyWhatWasRegistered) {
  for (const QString cache : {"update-mime-database", "update-desktop-database", "gtk-update-icon-cache"})
    shell.found[cache] = "/u/" + cache;
  EXPECT_TRUE(Register({false, false, false, false}).problems.isEmpty() && !QFileInfo::exists(data) && shell.ran.empty());
  const QStringList others = {"applications/user-own.desktop", "mime/packages/other.xml",
                              "icons/hicolor/48x48/apps/other.png", "icons/hicolor/icon-theme.cache"};
  for (const QString& f : others) WriteBytes(Data(f), "theirs");
  const QStringList lirrel = {Data("applications/tarvex-lirrel.desktop"), Data("icons/hicolor/48x48/apps/tarvex-lirrel.png"),
                              Data("icons/hicolor/48x48/mimetypes/text-x-jk-uni.png")};
  const DesktopResult result = Register(kAll);
  EXPECT_TRUE(result.problems.isEmpty()) << result.problems.join('\n');
  // Without Orvane in the folder the .dat type is defined, but nothing opens it.
  EXPECT_EQ(result.notes, QStringList{"Orvane is not in the install directory, so models.dat files are not opened with it."});
  EXPECT_EQ(result.opens, (QStringList{"Scrivane now opens .cog and .cgt files.", "Lirrel now opens jkstrings.uni files."}));
  EXPECT_FALSE(QFile::exists(Data("applications/tarvex-orvane.desktop")));
  const std::pair<const char*, const char*> entries[] = {{"Scrivane", "text/x-jk-cog;text/x-jk-cgt;"},
                                                         {"Lirrel", "text/x-jk-uni;"}};
  for (const auto& [program, types] : entries) {
    const QString text = Text("applications/tarvex-" + QString::fromLatin1(program).toLower() + ".desktop");
    EXPECT_EQ(ExecArguments(EntryValue(text, "Exec")), (QStringList{QDir(inst).filePath(program), "%f"}));
    EXPECT_EQ(EntryValue(text, "MimeType"), QLatin1String(types));
  }
  EXPECT_EQ(Text("mime/packages/tarvex.xml").count("<mime-type "), 4);
  for (const QString& f : lirrel + QStringList{Data("icons/hicolor/48x48/mimetypes/text-x-jk-cog.png"),
                                               Data("icons/hicolor/48x48/apps/tarvex-scrivane.png")})
    EXPECT_TRUE(QFile::exists(f)) << f;
  ASSERT_EQ(shell.ran.size(), 3u);
  EXPECT_EQ(shell.ran[0].args, QStringList{Data("mime")});
  EXPECT_EQ(shell.ran[1].args, QStringList{Data("applications")});

  shell.ran.clear();
  const DesktopResult unticked = Register({true, true, false, false});
  EXPECT_TRUE(unticked.problems.isEmpty()) << unticked.problems.join('\n');
  QStringList removed = unticked.removed;
  removed.sort();
  EXPECT_EQ(removed, (QStringList{lirrel[0], lirrel[1], Data("icons/hicolor/48x48/mimetypes/text-x-jk-dat.png"), lirrel[2]}));
  EXPECT_FALSE(Text("mime/packages/tarvex.xml").contains(QStringLiteral("x-jk-uni")));
  EXPECT_EQ(shell.ran.size(), 3u);  // the MIME, desktop entry and icon caches

  tarvex::test::ScriptedPrompts prompts;
  shell.ran.clear();
  RemoveAssociations(data, SystemFileOps(), shell);
  EXPECT_EQ(prompts.Messages(), std::vector<QString>{"The file associations of the Tarvex programs were removed."});
  QStringList left;
  for (QDirIterator it(data, QDir::Files, QDirIterator::Subdirectories); it.hasNext();) left << it.next().mid(data.size() + 1);
  left.sort();
  QStringList expected = others;
  expected.sort();
  EXPECT_EQ(left, expected);
  ASSERT_EQ(shell.ran.size(), 3u);
  EXPECT_EQ(shell.ran[0].args, QStringList{Data("mime")});
  EXPECT_EQ(shell.ran[2].args, (QStringList{"-f", "-t", "-q", Data("icons/hicolor")}));

  // Once more: nothing is left to remove, and no cache is touched.
  prompts.Clear();
  shell.ran.clear();
  RemoveAssociations(data, SystemFileOps(), shell);
  EXPECT_EQ(prompts.Messages(), std::vector<QString>{"No file associations of the Tarvex programs were registered."});
  EXPECT_TRUE(shell.ran.empty());
}

#ifdef TARVEX_BIN_DIR
// The same for scripts: the installed program, run with --remove-associations and no display.
TEST_F(RegisterTest, RemoveAssociationsFromTheCommandLine) {
  ASSERT_TRUE(Register({true, false, false, false}).problems.isEmpty());
  QProcess p;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("XDG_DATA_HOME"), data);
  env.remove(QStringLiteral("DISPLAY"));
  env.remove(QStringLiteral("QT_QPA_PLATFORM"));
  p.setProcessEnvironment(env);
  p.start(QStringLiteral(TARVEX_BIN_DIR "/") + ProgramFileName(QStringLiteral("tarvex-setup")),
          {QStringLiteral("--remove-associations")});
  ASSERT_TRUE(p.waitForFinished());
  EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().constData();
  EXPECT_EQ(p.readAllStandardOutput().count("removed "), 4);  // package, entry, type icon, program icon
  EXPECT_FALSE(QFile::exists(Data("applications/tarvex-scrivane.desktop")));
  EXPECT_FALSE(QFile::exists(Data("mime/packages/tarvex.xml")));
}
#endif

}  // namespace

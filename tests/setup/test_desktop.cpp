// The freedesktop side of the associations: the MIME package and the desktop entries, read
// back the way the desktop reads them, and their registration in a temporary data folder.
#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

#include "scrivane/setup/core/desktop.h"
#include "scrivane/setup/core/installer.h"
#include "tests/setup/setup_fakes.h"
#include "tests/support/scripted_prompts.h"

using namespace pendrel;
using namespace pendrel::test;

namespace {

constexpr Boxes kAll{true, true, true, true};

struct ParsedType {
  QString comment;
  QStringList globs;  // "pattern:weight"
};

QMap<QString, ParsedType> ParseMime(const QString& xml) {
  QMap<QString, ParsedType> types;
  QXmlStreamReader r(xml);
  QString current;
  while (!r.atEnd()) {
    if (r.readNext() != QXmlStreamReader::StartElement) continue;
    if (r.name() == QLatin1String("mime-info"))
      EXPECT_EQ(r.namespaceUri(), QLatin1String("http://www.freedesktop.org/standards/shared-mime-info"));
    else if (r.name() == QLatin1String("mime-type"))
      current = r.attributes().value(QLatin1String("type")).toString();
    else if (r.name() == QLatin1String("comment"))
      types[current].comment = r.readElementText();
    else if (r.name() == QLatin1String("glob")) {
      const auto w = r.attributes().value(QLatin1String("weight"));
      types[current].globs << r.attributes().value(QLatin1String("pattern")).toString() + QLatin1Char(':') +
                                  (w.isEmpty() ? QStringLiteral("50") : w.toString());
    }
  }
  EXPECT_FALSE(r.hasError()) << r.errorString();
  return types;
}

// Key=value pairs of the [Desktop Entry] group, with the string escapes undone.
QMap<QString, QString> ParseDesktopEntry(const QString& text) {
  QMap<QString, QString> keys;
  const QStringList lines = text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  EXPECT_EQ(lines.value(0), QStringLiteral("[Desktop Entry]"));
  for (const QString& line : lines.mid(1)) {
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    QString value;
    const QString raw = line.mid(eq + 1);
    for (qsizetype i = 0; i < raw.size(); ++i) {
      if (raw[i] != QLatin1Char('\\') || i + 1 == raw.size()) {
        value += raw[i];
        continue;
      }
      const QChar n = raw[++i];
      value += n == QLatin1Char('s') ? QChar(' ') : n == QLatin1Char('n') ? QChar('\n') : n == QLatin1Char('t') ? QChar('\t') : n;
    }
    keys[line.left(eq)] = value;
  }
  return keys;
}

// The arguments of an Exec value: quoting undone, "%%" read as "%".
QStringList ExecArguments(const QString& exec) {
  QStringList args;
  QString arg;
  bool quoted = false, any = false;
  for (qsizetype i = 0; i < exec.size(); ++i) {
    const QChar c = exec[i];
    if (quoted) {
      if (c == QLatin1Char('\\') && i + 1 < exec.size()) arg += exec[++i];
      else if (c == QLatin1Char('"')) quoted = false;
      else arg += c;
    } else if (c == QLatin1Char('"')) {
      quoted = any = true;
    } else if (c == QLatin1Char(' ')) {
      if (any) args << arg;
      arg.clear();
      any = false;
    } else {
      arg += c;
      any = true;
    }
  }
  if (any) args << arg;
  for (QString& a : args) a.replace(QLatin1String("%%"), QLatin1String("%"));
  return args;
}

TEST(MimePackage, DefinesTheTickedTypesByTheirExtensions) {
  const auto all = ParseMime(MimePackageXml(kAll));
  ASSERT_EQ(all.size(), 4);
  EXPECT_EQ(all["text/x-jk-cog"].globs, QStringList{"*.cog:50"});
  EXPECT_EQ(all["text/x-jk-cog"].comment, QStringLiteral("COG File"));
  EXPECT_EQ(all["text/x-jk-cgt"].globs, QStringList{"*.cgt:50"});
  // .dat and .uni belong to other programs too: the plain globs give way, the game's own
  // tables win by their names.
  EXPECT_EQ(all["text/x-jk-dat"].globs, (QStringList{"models.dat:80", "*.dat:10"}));
  EXPECT_EQ(all["text/x-jk-uni"].globs, (QStringList{"jkstrings.uni:80", "*.uni:10"}));

  const auto some = ParseMime(MimePackageXml({true, false, true, false}));
  EXPECT_EQ(some.keys(), (QStringList{"text/x-jk-cog", "text/x-jk-uni"}));
}

TEST(DesktopEntry, ExecNamesTheProgramWhateverItsPath) {
  const QString paths[] = {
      "/home/jo/Jedi Knight/Tarvex/Scrivane",
      "/tmp/odd $HOME `x` \"\\ 100%/Scrivane",
      "/plain/Scrivane",
  };
  for (const QString& path : paths) {
    const auto keys = ParseDesktopEntry(DesktopEntryText(DesktopApps()[0], path, {"text/x-jk-cog", "text/x-jk-cgt"}));
    EXPECT_EQ(ExecArguments(keys["Exec"]), (QStringList{path, "%f"})) << keys["Exec"];
    EXPECT_EQ(keys["MimeType"], QStringLiteral("text/x-jk-cog;text/x-jk-cgt;"));
    EXPECT_EQ(keys["Type"], QStringLiteral("Application"));
    EXPECT_EQ(keys["Name"], QStringLiteral("Scrivane"));
  }
}

class RegisterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(tmp.isValid());
    inst = tmp.filePath(QStringLiteral("Jedi Knight/Tarvex"));
    data = tmp.filePath(QStringLiteral("data"));
    for (const char* f : {"Scrivane", "Lirrel", "COGPage.png", "CGTPage.png", "DATPage.png", "JKUni.png"})
      PutFile(QDir(inst).filePath(QLatin1String(f)), "x");
  }
  DesktopResult Register(Boxes boxes) {
    DesktopRequest req;
    req.installPath = inst;
    req.boxes = boxes;
    req.dataHome = data;
    return RegisterDesktop(req, SystemFileOps(), shell);
  }
  QString Data(const QString& rel) const { return QDir(data).filePath(rel); }

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
  EXPECT_EQ(result.notes,
            QStringList{"Orvane is not in the install directory, so .DAT files are not opened with it."});
  EXPECT_FALSE(QFile::exists(Data("applications/tarvex-orvane.desktop")));

  const auto scrivane = ParseDesktopEntry(QString::fromUtf8(FileBytes(Data("applications/tarvex-scrivane.desktop"))));
  EXPECT_EQ(ExecArguments(scrivane["Exec"]), (QStringList{QDir(inst).filePath("Scrivane"), "%f"}));
  EXPECT_EQ(scrivane["MimeType"], QStringLiteral("text/x-jk-cog;text/x-jk-cgt;"));
  const auto lirrel = ParseDesktopEntry(QString::fromUtf8(FileBytes(Data("applications/tarvex-lirrel.desktop"))));
  EXPECT_EQ(ExecArguments(lirrel["Exec"]), (QStringList{QDir(inst).filePath("Lirrel"), "%f"}));
  EXPECT_EQ(lirrel["MimeType"], QStringLiteral("text/x-jk-uni;"));

  EXPECT_EQ(ParseMime(QString::fromUtf8(FileBytes(Data("mime/packages/tarvex.xml")))).size(), 4);
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
  EXPECT_EQ(ParseMime(QString::fromUtf8(FileBytes(Data("mime/packages/tarvex.xml")))).keys(),
            QStringList{"text/x-jk-uni"});
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

// The desktop's own tools accept what was written.
TEST_F(RegisterTest, DesktopToolsAcceptTheFiles) {
  const QString validate = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
  const QString updateMime = QStandardPaths::findExecutable(QStringLiteral("update-mime-database"));
  if (validate.isEmpty() || updateMime.isEmpty()) GTEST_SKIP() << "desktop-file-utils or shared-mime-info missing";
  PutFile(QDir(inst).filePath(QStringLiteral("Orvane")), "x");
  const ScopedEnv home("XDG_DATA_HOME", QFile::encodeName(data));
  const DesktopResult result = Register(kAll);
  ASSERT_TRUE(result.problems.isEmpty() && result.notes.isEmpty());
  for (const char* entry : {"tarvex-scrivane", "tarvex-lirrel", "tarvex-orvane"}) {
    QProcess p;
    p.start(validate, {Data(QStringLiteral("applications/%1.desktop").arg(QLatin1String(entry)))});
    ASSERT_TRUE(p.waitForFinished());
    EXPECT_EQ(p.exitCode(), 0) << entry << p.readAllStandardOutput().constData();
  }
  ASSERT_EQ(QProcess::execute(updateMime, {Data("mime")}), 0);
  const QString globs = QString::fromUtf8(FileBytes(Data("mime/globs2")));
  EXPECT_TRUE(globs.contains(QStringLiteral("50:text/x-jk-cog:*.cog")));
  EXPECT_TRUE(globs.contains(QStringLiteral("80:text/x-jk-uni:jkstrings.uni")));
  EXPECT_TRUE(globs.contains(QStringLiteral("10:text/x-jk-dat:*.dat")));
}

}  // namespace

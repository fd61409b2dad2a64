// The installation run against temporary folders with scripted answers: the copy loop, its
// messages, the registry file and the start of the registry editor.
#include <QDir>
#include <functional>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "common/paths.h"
#include "scrivane/setup/core/installer.h"
#include "tests/setup/setup_fakes.h"
#include "tests/support/scripted_prompts.h"
#include "tests/support/test_env.h"

using namespace pendrel;
using namespace pendrel::test;
using tarvex::MsgButtons;
using tarvex::MsgIcon;
using tarvex::MsgResult;
using tarvex::test::PromptRecord;
using tarvex::test::ScriptedPrompts;

namespace {

const QString kCrLf = QStringLiteral("\r\n");

class InstallTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Tarvex Setup"));
    ASSERT_TRUE(tmp.isValid());
    prog = tmp.filePath(QStringLiteral("source"));
    inst = tmp.filePath(QStringLiteral("target"));
    QDir().mkpath(prog);
    QDir().mkpath(inst);
    PutFile(Prog("a.txt"), "alpha");
    PutFile(Prog("b.txt"), "beta");
    List("a.txt\nb.txt\n");
    shell.found[QStringLiteral("regedit")] = QStringLiteral("/fake/regedit");
    oldCurrent = QDir::currentPath();
  }
  void TearDown() override { QDir::setCurrent(oldCurrent); }

  QString Prog(const char* name) const { return QDir(prog).filePath(QLatin1String(name)); }
  QString Inst(const char* name) const { return QDir(inst).filePath(QLatin1String(name)); }
  void List(const QByteArray& text) { PutFile(Prog("tarvex-filelist.txt"), text); }

  InstallOutcome Run(const QString& installPath, Boxes boxes = {true, true, false, false}) {
    InstallRequest req;
    req.programFolder = prog;
    req.installPath = installPath;
    req.boxes = boxes;
    return Install(req, files, shell);
  }

  std::vector<PromptRecord> Errors() const {
    std::vector<PromptRecord> out;
    for (const auto& r : prompts.records)
      if (r.kind == PromptRecord::Message && r.title == QStringLiteral("Tarvex Setup Error")) out.push_back(r);
    return out;
  }

  QTemporaryDir tmp;
  QString prog, inst, oldCurrent;
  ScriptedPrompts prompts;
  FaultyFiles files;
  RecordingShell shell;
};

TEST_F(InstallTest, CopiesWritesTheRegistryFileAndStartsTheEditor) {
  List("a.txt\rb.txt\r");  // CR alone ends a line too
  PutFile(Inst("b.txt"), "an older beta that is longer");  // replaced by the copy
  EXPECT_EQ(Run(inst), InstallOutcome::Ended);
  EXPECT_EQ(FileBytes(Inst("a.txt")), QByteArray("alpha"));
  EXPECT_EQ(FileBytes(Inst("b.txt")), QByteArray("beta"));

  ASSERT_EQ(prompts.records.size(), 1u);
  EXPECT_EQ(prompts.records[0].text,
            QStringLiteral("When prompted to install settings into your registry, click \"YES\" and then \"OK\"."));
  EXPECT_EQ(prompts.records[0].title, QStringLiteral("Info"));

  const QString reg = Prog("tarvexsetup.reg");
  EXPECT_EQ(FileBytes(reg), RegistryFileBytes({true, true, false, false}, inst));
  ASSERT_EQ(shell.detached.size(), 1u);
  EXPECT_EQ(shell.detached[0].program, QStringLiteral("/fake/regedit"));
  EXPECT_EQ(shell.detached[0].args, QStringList{reg});
  EXPECT_EQ(QDir::current(), QDir(prog));
}

TEST_F(InstallTest, MissingSourceOkGoesOnCancelEnds) {
  List("a.txt\nmissing.txt\nb.txt\n");
  for (const MsgResult answer : {MsgResult::OK, MsgResult::Cancel}) {
    SCOPED_TRACE(answer == MsgResult::OK ? "OK" : "Cancel");
    QFile::remove(Inst("a.txt"));
    QFile::remove(Inst("b.txt"));
    QFile::remove(Prog("tarvexsetup.reg"));
    prompts.Clear();
    shell.detached.clear();
    prompts.messageAnswers = {answer};

    EXPECT_EQ(Run(inst), InstallOutcome::Ended);
    const auto errors = Errors();
    ASSERT_EQ(errors.size(), 1u);
    const QString source = QDir::toNativeSeparators(Prog("missing.txt"));
    EXPECT_TRUE(errors[0].text.startsWith(QStringLiteral("Error copying file ") + source + QStringLiteral(" to ") +
                                          inst + kCrLf))
        << errors[0].text;
    EXPECT_TRUE(errors[0].text.endsWith(kCrLf + QStringLiteral("Click OK to continue, CANCEL to end.")));
    EXPECT_GT(errors[0].text.size(), 60 + source.size() + inst.size()) << "the system's reason is missing";
    EXPECT_EQ(errors[0].buttons, MsgButtons::OKCancel);
    EXPECT_EQ(errors[0].icon, MsgIcon::Exclamation);

    EXPECT_TRUE(QFile::exists(Inst("a.txt")));
    const bool goesOn = answer == MsgResult::OK;
    EXPECT_EQ(QFile::exists(Inst("b.txt")), goesOn);
    EXPECT_EQ(QFile::exists(Prog("tarvexsetup.reg")), goesOn);
    EXPECT_EQ(shell.detached.size(), goesOn ? 1u : 0u);
    EXPECT_EQ(prompts.Messages().size(), goesOn ? 2u : 1u);  // the Info message only when going on
  }
}

TEST_F(InstallTest, FolderThatDoesNotExistFailsForEveryFile) {
  const QString nowhere = QDir(inst).filePath(QStringLiteral("not made"));
  EXPECT_EQ(Run(nowhere), InstallOutcome::Ended);
  EXPECT_EQ(Errors().size(), 2u);
  EXPECT_FALSE(QFileInfo::exists(nowhere));
  EXPECT_TRUE(QFile::exists(Prog("tarvexsetup.reg")));
}

TEST_F(InstallTest, RefusedPathsCopyNothing) {
  for (const QString& bad : {inst + QStringLiteral("\"x"), inst + QStringLiteral("/\u03a9mega"), QString()}) {
    prompts.Clear();
    files.copied.clear();
    EXPECT_EQ(Run(bad), InstallOutcome::Stopped);
    ASSERT_EQ(Errors().size(), 1u);
    EXPECT_EQ(prompts.records.size(), 1u);
    EXPECT_TRUE(Errors()[0].text.contains(QStringLiteral("registry file")) || bad.isEmpty()) << Errors()[0].text;
    EXPECT_TRUE(files.copied.isEmpty());
    EXPECT_FALSE(QFile::exists(Prog("tarvexsetup.reg")));
    EXPECT_TRUE(shell.detached.empty());
  }
}

// A full disk: the registry file of the last install stays as it was, the message names the reason.
TEST_F(InstallTest, FullDiskKeepsTheOldRegistryFile) {
  tarvex::test::SmallDisk disk;
  if (!disk.Ok()) GTEST_SKIP() << "needs root to mount a small tmpfs";
  prog = disk.Path();
  List("");
  const QByteArray old = RegistryFileBytes({true, false, false, false}, inst);
  PutFile(Prog("tarvexsetup.reg"), old);
  disk.FillLeaving(0);
  EXPECT_EQ(Run(inst, {true, true, true, true}), InstallOutcome::Stopped);
  ASSERT_EQ(Errors().size(), 1u);
  EXPECT_EQ(Errors()[0].text, "Error writing file \"" + Prog("tarvexsetup.reg") + "\"." + kCrLf + "No space left on device");
  EXPECT_EQ(FileBytes(Prog("tarvexsetup.reg")), old);
  EXPECT_TRUE(shell.detached.empty());
}

// A list that cannot be opened, or a registry file that cannot be written: one message with
// the reason, and the registry editor is not started.
TEST_F(InstallTest, ListOrRegistryFileThatFailsStopsWithOneMessage) {
  const QString reg = Prog("tarvexsetup.reg");
  const struct {
    std::function<void()> spoil;
    QString head;
  } cases[] = {
      {[&] { QFile::remove(Prog("tarvex-filelist.txt")); }, "Error opening file \"tarvex-filelist.txt\"." + kCrLf},
      {[&] { List("a.txt\nb.txt\n"), QDir().mkpath(reg); }, "Error writing file \"" + QDir::toNativeSeparators(reg) + "\"." + kCrLf},
  };
  for (const auto& c : cases) {
    prompts.Clear();
    c.spoil();
    EXPECT_EQ(Run(inst), InstallOutcome::Stopped);
    ASSERT_EQ(Errors().size(), 1u);
    EXPECT_TRUE(Errors()[0].text.startsWith(c.head)) << Errors()[0].text;
    EXPECT_GT(Errors()[0].text.size(), c.head.size());  // with the reason
    EXPECT_FALSE(QFileInfo(reg).isFile());
    EXPECT_TRUE(shell.detached.empty());
  }
}

TEST_F(InstallTest, UnreadableLineIsReportedAndSkipped) {
  files.list = [](std::vector<ListLine>* lines, QString*) {
    *lines = {{QStringLiteral("a.txt"), false, {}}, {{}, true, QStringLiteral("Input/output error")},
              {QString(), false, {}}, {QStringLiteral("b.txt"), false, {}}};
    return true;
  };
  EXPECT_EQ(Run(inst), InstallOutcome::Ended);
  ASSERT_EQ(Errors().size(), 1u);
  EXPECT_EQ(Errors()[0].text,
            QStringLiteral("Error opening file \"tarvex-filelist.txt\".") + kCrLf + QStringLiteral("Input/output error"));
  EXPECT_EQ(Errors()[0].buttons, MsgButtons::OK);
  EXPECT_EQ(files.copied.size(), 2);  // the blank line names no file
  EXPECT_TRUE(QFile::exists(Inst("b.txt")));
}

TEST_F(InstallTest, WithoutARegistryEditorTheFileIsNamed) {
  shell.found.clear();
  EXPECT_EQ(Run(inst), InstallOutcome::Ended);
  const auto texts = prompts.Messages();
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_TRUE(texts[1].contains(QDir::toNativeSeparators(Prog("tarvexsetup.reg"))));
  EXPECT_TRUE(texts[1].contains(QStringLiteral("registry editor")));
  EXPECT_TRUE(QFile::exists(Prog("tarvexsetup.reg")));
  EXPECT_TRUE(shell.detached.empty());
}

TEST_F(InstallTest, RegistersTheTickedTypesForTheDesktopWhenAsked) {
  PutFile(Prog("Scrivane"), "program");
  PutFile(Prog("COGPage.png"), "png");
  PutFile(Prog("DATPage.png"), "png");
  List("Scrivane\nCOGPage.png\nDATPage.png\n");
  InstallRequest req;
  req.programFolder = prog;
  req.installPath = inst;
  req.boxes = {true, false, false, true};
  req.registerDesktop = true;
  req.dataHome = tmp.filePath(QStringLiteral("data"));
  EXPECT_EQ(Install(req, files, shell), InstallOutcome::Ended);

  EXPECT_TRUE(QFile::exists(req.dataHome + QStringLiteral("/applications/tarvex-scrivane.desktop")));
  EXPECT_TRUE(QFile::exists(req.dataHome + QStringLiteral("/mime/packages/tarvex.xml")));
  const auto texts = prompts.Messages();
  ASSERT_EQ(texts.size(), 2u);  // the registry editor's hint, then the note on Orvane
  EXPECT_TRUE(texts[1].startsWith(QStringLiteral("Orvane is not in the install directory")));
  EXPECT_EQ(prompts.records[1].icon, MsgIcon::Information);
  EXPECT_EQ(shell.detached.size(), 1u);
}

TEST_F(InstallTest, NewDirectory) {
  PutFile(Inst("plain file"), "x");
  struct Case {
    const char* name;
    bool made;
  } cases[] = {{"Mods", true}, {"Mods", true} /* already there */, {"plain file", false}, {"no/such/parent", false}};
  for (const Case& c : cases) {
    prompts.Clear();
    const QString expected = QDir::toNativeSeparators(inst) + QDir::separator() + QLatin1String(c.name);
    const QString made = MakeNewDirectory(QDir::toNativeSeparators(inst), QLatin1String(c.name), files);
    EXPECT_EQ(made, c.made ? expected : QString()) << c.name;
    EXPECT_EQ(QFileInfo(expected).isDir(), c.made) << c.name;
    if (c.made) {
      EXPECT_TRUE(prompts.records.empty());
    } else {
      ASSERT_EQ(prompts.records.size(), 1u);
      EXPECT_TRUE(prompts.records[0].text.startsWith(QStringLiteral("Error creating directory \"") + expected +
                                                     QStringLiteral("\".") + kCrLf));
      EXPECT_EQ(prompts.records[0].title, QStringLiteral("Tarvex Setup Error"));
    }
  }
}

}  // namespace

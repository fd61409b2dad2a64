// The installation run against temporary folders with scripted answers: the copy loop, its
// messages, the registry file and the start of the registry editor.
#include <QDir>
#include <functional>
#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

#include "scrivane/setup/core/installer.h"
#include "tests/setup/setup_fakes.h"
#include "tests/support/test_env.h"

using namespace pendrel;
using namespace pendrel::test;
using tarvex::MsgButtons;
using tarvex::MsgResult;
using tarvex::test::PromptRecord;

namespace {

const QString kCrLf = QStringLiteral("\r\n");
constexpr Boxes kCogCgt{true, true, false, false};

class InstallTest : public SetupTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(tmp.isValid());
    prog = tmp.filePath(QStringLiteral("source"));
    inst = tmp.filePath(QStringLiteral("target"));
    QDir().mkpath(inst);
    WriteBytes(Prog("a.txt"), "alpha");
    WriteBytes(Prog("b.txt"), "beta");
    List("a.txt\nb.txt\n");
    shell.found[QStringLiteral("regedit")] = QStringLiteral("/fake/regedit");
  }

  QString Prog(const char* name) const { return QDir(prog).filePath(QLatin1String(name)); }
  QString Inst(const char* name) const { return QDir(inst).filePath(QLatin1String(name)); }
  QString Reg() const { return Prog("tarvexsetup.reg"); }
  void List(const QByteArray& text) { WriteBytes(Prog("tarvex-filelist.txt"), text); }
  // The installation the Windows way (the registry editor's), which touches no desktop.
  InstallOutcome Run(const QString& installPath, Boxes boxes = kCogCgt) {
    return Install({prog, installPath, boxes, Associations::RegistryEditor, {}, {}, {}}, files, shell);
  }
  InstallOutcome RunForDesktop(const QString& installPath, Boxes boxes = kCogCgt) {
    return Install({prog, installPath, boxes, Associations::Desktop, tmp.filePath(QStringLiteral("data")), {}, {}}, files, shell);
  }
  std::vector<PromptRecord> Errors() const {
    std::vector<PromptRecord> out;
    for (const auto& r : prompts.records)
      if (r.kind == PromptRecord::Message && r.title == QStringLiteral("Tarvex Setup Error")) out.push_back(r);
    return out;
  }

  QString prog, inst;
};

TEST_F(InstallTest, CopiesWritesTheRegistryFileAndStartsTheEditor) {
  List("a.txt\rb.txt\r");  // CR alone ends a line too
  WriteBytes(Inst("b.txt"), "an older beta that is longer");  // replaced by the copy
  EXPECT_EQ(Run(inst), InstallOutcome::Ended);
  EXPECT_EQ(ReadBytes(Inst("a.txt")) + ReadBytes(Inst("b.txt")), QByteArray("alphabeta"));
  ASSERT_EQ(prompts.records.size(), 1u);
  EXPECT_TRUE(prompts.records[0].text.startsWith("When prompted to install settings into your registry"));
  EXPECT_EQ(ReadBytes(Reg()), RegistryFileBytes({true, true, false, false}, inst));
  ASSERT_EQ(shell.detached.size(), 1u);
  EXPECT_EQ(shell.detached[0].program + ' ' + shell.detached[0].args.join(' '), "/fake/regedit " + Reg());
  EXPECT_EQ(QDir::current(), QDir(prog));

  // Without a registry editor the file is named.
  shell.found.clear();
  shell.detached.clear();
  prompts.Clear();
  EXPECT_EQ(Run(inst), InstallOutcome::Ended);
  ASSERT_EQ(prompts.Messages().size(), 2u);
  EXPECT_TRUE(prompts.Messages()[1].contains(QDir::toNativeSeparators(Reg())) &&
              prompts.Messages()[1].contains(QStringLiteral("registry editor")));
  EXPECT_TRUE(shell.detached.empty());
}

TEST_F(InstallTest, MissingSourceOkGoesOnCancelEnds) {
  List("a.txt\nmissing.txt\nb.txt\n");
  for (const MsgResult answer : {MsgResult::OK, MsgResult::Cancel}) {
    for (const QString& f : {Inst("a.txt"), Inst("b.txt"), Reg()}) QFile::remove(f);
    prompts.Clear();
    shell.detached.clear();
    prompts.messageAnswers = {answer};
    EXPECT_EQ(Run(inst), InstallOutcome::Ended);
    const auto errors = Errors();
    ASSERT_EQ(errors.size(), 1u);
    const QString head = "Error copying file " + QDir::toNativeSeparators(Prog("missing.txt")) + " to " + inst + kCrLf;
    const QString tail = kCrLf + "Click OK to continue, CANCEL to end.";
    EXPECT_TRUE(errors[0].text.startsWith(head) && errors[0].text.endsWith(tail)) << errors[0].text;
    EXPECT_GT(errors[0].text.size(), head.size() + tail.size()) << "the system's reason is missing";
    EXPECT_EQ(errors[0].buttons, MsgButtons::OKCancel);
    const bool goesOn = answer == MsgResult::OK;
    EXPECT_TRUE(QFile::exists(Inst("a.txt")));
    EXPECT_EQ(QFile::exists(Inst("b.txt")) + QFile::exists(Reg()) + int(shell.detached.size()), goesOn ? 3 : 0);
    EXPECT_EQ(prompts.Messages().size(), goesOn ? 2u : 1u);  // the Info message only when going on
  }
}

// Installed the platform's way, the programs are in bin/ under lower-case names, the list
// and data files in share/tarvex/ and the printing module in lib/tarvex/; the copy still makes
// the one-folder layout, whose programs the desktop entries then name.
TEST_F(InstallTest, FromThePlatformLayoutMakesTheOneFolderLayout) {
  const QDir prefix(tmp.filePath(QStringLiteral("usr")));
  const QString bin = prefix.filePath(QStringLiteral("bin")), data = prefix.filePath(QStringLiteral("share/tarvex"));
  const QString lib = prefix.filePath(QStringLiteral("lib/tarvex"));
  WriteBytes(lib + "/print.so", "module");
  WriteBytes(bin + "/scrivane", "program");
  WriteBytes(bin + "/Beside.txt", "found beside the installer first");
  WriteBytes(data + "/Beside.txt", "not this one");
  WriteBytes(data + "/cogref.dat", "reference");
  WriteBytes(data + "/COGPage.png", "icon");
  WriteBytes(data + "/templates/t.cgt", "template");
  WriteBytes(data + "/tarvex-filelist.txt", "Scrivane\ncogref.dat\nCOGPage.png\ntemplates/t.cgt\nBeside.txt\nprint.so\n");
  const QString home = tmp.filePath(QStringLiteral("home"));
  EXPECT_EQ(Install({bin, inst, {true, false, false, false}, Associations::Desktop, home, data, lib}, files, shell),
            InstallOutcome::Ended);
  EXPECT_TRUE(Errors().empty());
  for (const auto& [name, bytes] : std::vector<std::pair<const char*, QByteArray>>{
           {"Scrivane", "program"}, {"cogref.dat", "reference"}, {"templates/t.cgt", "template"},
           {"Beside.txt", "found beside the installer first"}, {"print.so", "module"}})
    EXPECT_EQ(ReadBytes(Inst(name)), bytes) << name;
  EXPECT_TRUE(ReadBytes(home + "/applications/tarvex-scrivane.desktop").contains(QFile::encodeName(Inst("Scrivane"))));
}

TEST_F(InstallTest, RefusedOrMissingFolders) {
  const QString nowhere = QDir(inst).filePath(QStringLiteral("not made"));
  EXPECT_EQ(Run(nowhere), InstallOutcome::Ended);  // every file fails, the registry file is written
  EXPECT_EQ(Errors().size(), 2u);
  EXPECT_FALSE(QFileInfo::exists(nowhere));
  // Registered for the desktop, the closing summary does not call the tool set installed.
  prompts.Clear();
  EXPECT_EQ(RunForDesktop(nowhere), InstallOutcome::Ended);
  EXPECT_TRUE(prompts.Messages().back().startsWith("Tarvex is not completely installed in " + nowhere +
                                                   ": 2 files could not be copied."))
      << prompts.Messages().back();
  ASSERT_TRUE(QFile::remove(Reg()));
  shell.detached.clear();
  for (const QString& bad : {inst + QStringLiteral("\"x"), inst + QStringLiteral("/\u03a9mega"), QString()}) {
    prompts.Clear();
    files.copied.clear();
    EXPECT_EQ(Run(bad), InstallOutcome::Stopped);
    ASSERT_EQ(prompts.records.size(), 1u);
    EXPECT_TRUE(Errors()[0].text.contains(QStringLiteral("registry file")) || bad.isEmpty()) << Errors()[0].text;
    EXPECT_TRUE(files.copied.isEmpty());
    EXPECT_FALSE(QFile::exists(Reg()));
    EXPECT_TRUE(shell.detached.empty());
  }
}

// A list that cannot be opened, a registry file that cannot be written, or a full disk: one
// message with the reason, the registry file of the last install stays as it was, and the
// registry editor is not started.
TEST_F(InstallTest, ListOrRegistryFileThatFailsStopsWithOneMessage) {
  const std::pair<std::function<void()>, QString> cases[] = {
      {[&] { QFile::remove(Prog("tarvex-filelist.txt")); }, "Error opening file \"tarvex-filelist.txt\"." + kCrLf},
      {[&] { List("a.txt\n"), QDir().mkpath(Reg()); }, "Error writing file \"" + QDir::toNativeSeparators(Reg()) + "\"." + kCrLf}};
  for (const auto& [spoil, head] : cases) {
    prompts.Clear();
    spoil();
    EXPECT_EQ(Run(inst), InstallOutcome::Stopped);
    ASSERT_EQ(Errors().size(), 1u);
    EXPECT_TRUE(Errors()[0].text.startsWith(head) && Errors()[0].text.size() > head.size()) << Errors()[0].text;
    EXPECT_FALSE(QFileInfo(Reg()).isFile());
    EXPECT_TRUE(shell.detached.empty());
  }
  tarvex::test::SmallDisk disk;
  if (!disk.Ok()) GTEST_SKIP() << "needs root to mount a small tmpfs";
  prog = disk.Path();
  List("");
  const QByteArray old = RegistryFileBytes({true, false, false, false}, inst);
  WriteBytes(Reg(), old);
  disk.FillLeaving(0);
  prompts.Clear();
  EXPECT_EQ(Run(inst, {true, true, true, true}), InstallOutcome::Stopped);
  ASSERT_EQ(Errors().size(), 1u);
  EXPECT_EQ(Errors()[0].text, "Error writing file \"" + Reg() + "\"." + kCrLf + "No space left on device");
  EXPECT_EQ(ReadBytes(Reg()), old);
  EXPECT_TRUE(shell.detached.empty());
}

// A line that cannot be read, and names that lead out of the folders (a list edited by hand),
// are each reported and skipped.
TEST_F(InstallTest, UnreadableLineIsReportedAndSkipped) {
  WriteBytes(tmp.filePath(QStringLiteral("out.txt")), "outside");
  const QString deep = Inst("deep");
  QDir().mkpath(deep);
  files.list = [](std::vector<ListLine>* lines, QString*) {
    *lines = {{QStringLiteral("a.txt"), false, {}},       {{}, true, QStringLiteral("Input/output error")},
              {QString(), false, {}},                     {QStringLiteral("../out.txt"), false, {}},
              {QStringLiteral("sub\\..\\..\\out.txt"), false, {}}, {QStringLiteral("b.txt"), false, {}}};
    return true;
  };
  EXPECT_EQ(Run(deep), InstallOutcome::Ended);
  ASSERT_EQ(Errors().size(), 3u);
  EXPECT_EQ(Errors()[0].text, "Error opening file \"tarvex-filelist.txt\"." + kCrLf + "Input/output error");
  EXPECT_TRUE(Errors()[1].text.contains(kCrLf + "The name leads out of the folder." + kCrLf)) << Errors()[1].text;
  EXPECT_EQ(files.copied.size(), 2);  // the blank line names no file
  EXPECT_TRUE(QFile::exists(deep + "/b.txt"));
  EXPECT_FALSE(QFile::exists(Inst("out.txt")));
}

// Installing into the installer's own folder, named as it is or through a link: every file is
// already the one to install; nothing is copied or reported but one count.
TEST_F(InstallTest, OwnFolderLeavesEveryFileInPlaceAndSaysSoOnce) {
  const QString viaLink = tmp.filePath(QStringLiteral("link"));
  ASSERT_TRUE(QFile::link(prog, viaLink));
  for (const char* f : {"COGPage.png", "CGTPage.png"}) WriteBytes(Prog(f), "x");
  for (const QString& folder : {prog, viaLink}) {
    for (const bool desktop : {false, true}) {
      prompts.Clear();
      files.copied.clear();
      EXPECT_EQ(desktop ? RunForDesktop(folder) : Run(folder), InstallOutcome::Ended);
      EXPECT_TRUE(Errors().empty()) << Errors()[0].text;
      for (const QString& to : files.copied) EXPECT_TRUE(to.startsWith(tmp.filePath(QStringLiteral("data")))) << to;
      EXPECT_EQ(ReadBytes(Prog("a.txt")) + ReadBytes(Prog("b.txt")), QByteArray("alphabeta"));
      const auto texts = prompts.Messages();
      EXPECT_EQ(QStringList(texts.begin(), texts.end()).filter("2 files were already in place there and left as they were.").size(),
                1)
          << folder << desktop;
    }
  }
}

// A reinstall that meets a full disk: the installed file stays whole, nothing is left beside
// it, and the message gives the system's reason.
TEST_F(InstallTest, FullDiskKeepsTheInstalledFileWhole) {
  tarvex::test::SmallDisk disk;
  if (!disk.Ok()) GTEST_SKIP() << "needs root to mount a small tmpfs";
  inst = disk.Path();
  const QByteArray old(8000, 'o');
  WriteBytes(Inst("a.txt"), old);
  WriteBytes(Prog("a.txt"), QByteArray(30000, 'n'));
  List("a.txt\n");
  disk.FillLeaving(16 * 1024);
  EXPECT_EQ(Run(inst), InstallOutcome::Ended);
  ASSERT_EQ(Errors().size(), 1u);
  EXPECT_EQ(Errors()[0].text, "Error copying file " + Prog("a.txt") + " to " + inst + kCrLf + "No space left on device" +
                                  kCrLf + "Click OK to continue, CANCEL to end.");
  const QByteArray now = ReadBytes(Inst("a.txt"));
  EXPECT_TRUE(now == old) << "the installed file now has " << now.size() << " bytes";
  EXPECT_EQ(QDir(inst).entryList(QDir::Files), (QStringList{"a.txt", "filler"}));
}

// An install folder that takes no new file: each copy says why, and the installed files stay.
TEST_F(InstallTest, ReadOnlyInstallFolderKeepsTheInstalledFiles) {
  WriteBytes(Inst("a.txt"), "old alpha");
  tarvex::test::ReadOnlyFolder locked(inst);
  if (!locked.Ok()) GTEST_SKIP() << "the folder could not be made read-only";
  prompts.messageAnswers = {MsgResult::OK, MsgResult::OK};
  EXPECT_EQ(Run(inst), InstallOutcome::Ended);
  ASSERT_EQ(Errors().size(), 2u);
  for (const auto& e : Errors()) {
    const QString reason = e.text.section(kCrLf, 1, 1);
    EXPECT_TRUE(reason == "Permission denied" || reason == "Operation not permitted") << e.text;
  }
  EXPECT_EQ(ReadBytes(Inst("a.txt")), QByteArray("old alpha"));
  EXPECT_EQ(QDir(inst).entryList(QDir::Files), QStringList{"a.txt"});
}

#ifndef Q_OS_WIN
// Each copy has its source's permissions, whatever the file-creation mask, and a read-only
// file of an earlier installation is replaced like any other.
TEST_F(InstallTest, CopiesKeepTheSourcesPermissions) {
  const std::pair<const char*, mode_t> cases[] = {{"Scrivane", 0755}, {"cogref.dat", 0644}, {"readonly.txt", 0444},
                                                  {"private.txt", 0600}};
  QByteArray list;
  for (const auto& [name, mode] : cases) {
    WriteBytes(Prog(name), name);
    ASSERT_EQ(::chmod(QFile::encodeName(Prog(name)).constData(), mode), 0);
    list += QByteArray(name) + '\n';
  }
  List(list);
  const mode_t mask = ::umask(077);
  for (int round = 0; round < 2; ++round) EXPECT_EQ(Run(inst), InstallOutcome::Ended);
  ::umask(mask);
  EXPECT_TRUE(Errors().empty());
  for (const auto& [name, mode] : cases) {
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(Inst(name)).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, mode) << name;
  }
}
#endif

}  // namespace

// The installer's window: its state as it opens, the folder chooser, New Directory, and
// Install and Cancel ending the program.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "common/ui/folderlist.h"
#include "scrivane/setup/core/installer.h"
#include "scrivane/setup/gui/pendrelsetup.h"
#include "tests/setup/setup_fakes.h"
#include "tests/support/test_env.h"

using namespace pendrel;
using namespace pendrel::test;

namespace {

class WindowTest : public SetupTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(tmp.isValid());
    root = QDir::toNativeSeparators(tmp.path());
    QDir::setCurrent(root);
  }
  QString At(const QString& rel) const { return QDir::toNativeSeparators(QDir(root).filePath(rel)); }

  QString root;
};

TEST_F(WindowTest, OpensOnTheCurrentFolderAndTheListFillsTheInstallPath) {
  QDir(root).mkpath(QStringLiteral("Games/Mods"));
  QDir(root).mkpath(QStringLiteral("apps"));
  PendrelSetup w(&files, &shell);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(w.fileassociation[i]->isChecked(), i < 2) << i;
  // The list on the folder current at start, on its drive.
  EXPECT_EQ(std::tuple(w.pdInstallPath->text(), w.pdDir->path(), w.pdDir->subfolders()),
            std::tuple(DefaultInstallPath(), root, QStringList{"apps", "Games"}));
  EXPECT_TRUE(root.startsWith(w.pdDrive->currentText()) && !w.decoImage->pixmap().isNull());

  // Activating a subfolder opens it.
  emit w.pdDir->itemActivated(w.pdDir->currentItem()->child(1), 0);
  tarvex::test::ProcessEvents();
  EXPECT_EQ(w.pdDir->path() + '|' + w.pdInstallPath->text(), At("Games") + '|' + At("Games"));
  EXPECT_EQ(w.pdDir->subfolders(), QStringList{"Mods"});

  // Choosing the drive moves the list to its root.
  w.pdDrive->setCurrentIndex(-1);
  w.pdDrive->setCurrentIndex(0);
  EXPECT_EQ(w.pdDir->path(), w.pdDrive->itemData(0).toString());
  EXPECT_EQ(w.pdInstallPath->text(), w.pdDir->path());
}

// New Directory moves into the folder it made or found; a name that cannot be made (a file in
// the way, a missing parent) is refused with the reason and the list stays.
TEST_F(WindowTest, NewDirectory) {
  WriteBytes(At("Old/plain file"), "x");
  PendrelSetup w(&files, &shell);
  w.pdDir->setPath(At("Games"));  // not there: the list stays
  EXPECT_EQ(w.pdDir->path(), root);
  w.pdInstallPath->setText(QStringLiteral("unchanged"));
  // After: the install path afterwards, and the folder list's path once one was made.
  const struct { QString answer, after; bool refused; } cases[] = {
      {"", "unchanged", false},  // empty answer, also a cancelled box: nothing
      {"Old", At("Old"), false},  // already there: moved into
      {"plain file", At("Old"), true},
      {"Mods Folder", At("Old/Mods Folder"), false},  // made and moved into
      {"missing/deeper", At("Old/Mods Folder"), true},
  };
  for (const auto& c : cases) {
    const QString before = w.pdDir->path();
    prompts.Clear();
    prompts.inputAnswers = {c.answer};
    w.pdNewDir->click();
    ASSERT_GE(prompts.records.size(), 1u);
    EXPECT_EQ(prompts.records[0].text, QStringLiteral("Current directory is:") + before);
    EXPECT_EQ(w.pdDir->path(), c.answer.isEmpty() ? root : c.after) << c.answer;
    EXPECT_EQ(w.pdInstallPath->text(), c.after) << c.answer;
    ASSERT_EQ(prompts.Messages().size(), c.refused ? 1u : 0u) << c.answer;
    if (c.refused) {
      EXPECT_TRUE(prompts.Messages()[0].startsWith("Error creating directory \"" + before + QDir::separator() + c.answer +
                                                   "\".\r\n"))
          << prompts.Messages()[0];
    }
  }
  EXPECT_TRUE(QFileInfo(At("Old/plain file")).isFile());
  EXPECT_FALSE(QFileInfo::exists(At("Old/Mods Folder/missing")));
}

TEST_F(WindowTest, InstallEndsTheProgramARefusedOneKeepsItOpen) {
  const QString prog = At("setup");
  WriteBytes(QDir(prog).filePath(QStringLiteral("tarvex-filelist.txt")), "a.txt\n");
  WriteBytes(QDir(prog).filePath(QStringLiteral("a.txt")), "alpha");
  QDir(root).mkpath(QStringLiteral("target"));
  tarvex::SetProgramFolder(prog);
  shell.found[QStringLiteral("regedit")] = QStringLiteral("/fake/regedit");

  PendrelSetup refused(&files, &shell);
  refused.show();
  refused.pdInstallPath->setText(At("with \"quotes\""));
  refused.pdInstall->click();
  EXPECT_TRUE(!refused.Ended() && refused.isVisible());
  EXPECT_EQ(prompts.Messages().size(), 1u);
  EXPECT_TRUE(files.copied.isEmpty());
  refused.pdCancel->click();
  EXPECT_TRUE(refused.Ended() && !refused.isVisible());

  PendrelSetup w(&files, &shell);
  w.associations = Associations::RegistryEditor;
  w.show();
  w.pdInstallPath->setText(At("target"));
  w.fileassociation[0]->setChecked(false);
  w.fileassociation[2]->setChecked(true);  // .UNI with Lirrel
  w.pdInstall->click();
  EXPECT_TRUE(w.Ended() && !w.isVisible());
  EXPECT_EQ(ReadBytes(At("target/a.txt")), QByteArray("alpha"));
  EXPECT_EQ(ReadBytes(QDir(prog).filePath(QStringLiteral("tarvexsetup.reg"))),
            RegistryFileBytes({false, true, true, false}, At("target")));
  EXPECT_EQ(shell.detached.size(), 1u);
}

#ifndef Q_OS_WIN
// The desktop's way through the window: a relative install folder is the current folder's, made
// whole and clean before anything is copied; no registry editor is started nor cache program
// that is not found, and no registry file is written (beside a tool set installed by root it
// could not be); one message says what was registered. Remove Associations takes it back.
TEST_F(WindowTest, DesktopInstallFromARelativeFolderThenRemoveAssociations) {
  const QString prog = At("setup");
  for (const char* f : {"Scrivane", "COGPage.png", "CGTPage.png", "DATPage.png"})
    WriteBytes(QDir(prog).filePath(QLatin1String(f)), "x");
  WriteBytes(QDir(prog).filePath(QStringLiteral("tarvex-filelist.txt")), "Scrivane\nCOGPage.png\nCGTPage.png\nDATPage.png\n");
  QDir(root).mkpath(QStringLiteral("target"));
  QDir(prog).mkpath(QStringLiteral("tarvexsetup.reg"));  // a folder takes the registry file's name
  tarvex::SetProgramFolder(prog);
  shell.found[QStringLiteral("regedit")] = QStringLiteral("/fake/regedit");
  const QString entry = At("data/applications/tarvex-scrivane.desktop");

  PendrelSetup w(&files, &shell);
  w.dataHome = At("data");
  w.show();
  EXPECT_TRUE(w.pdRemove->isVisible());
  w.pdInstallPath->setText(QStringLiteral("./setup/../target/"));
  w.fileassociation[3]->setChecked(true);  // .dat, without Orvane in the folder
  w.pdInstall->click();
  EXPECT_TRUE(w.Ended());
  EXPECT_TRUE(shell.detached.empty() && shell.ran.empty());
  EXPECT_EQ(ReadBytes(At("target/Scrivane")), QByteArray("x"));
  EXPECT_TRUE(QString::fromUtf8(ReadBytes(entry)).contains(At("target/Scrivane")));
  ASSERT_EQ(prompts.Messages().size(), 1u);
  EXPECT_EQ(prompts.Messages()[0], "Tarvex is installed in " + At("target") + ".\r\nScrivane now opens .cog and .cgt files.\r\n"
                                   "Orvane is not in the install directory, so models.dat files are not opened with it.");

  prompts.Clear();
  PendrelSetup again(&files, &shell);
  again.dataHome = At("data");
  again.pdRemove->click();
  EXPECT_FALSE(again.Ended());
  EXPECT_FALSE(QFile::exists(entry));
  EXPECT_EQ(prompts.Messages(), std::vector<QString>{"The file associations of the Tarvex programs were removed."});
}
#endif

}  // namespace

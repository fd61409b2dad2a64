// The installer's window: its controls as it opens, the folder chooser, New Directory, and
// Install and Cancel ending the program.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <tuple>

#include "common/paths.h"
#include "scrivane/setup/core/installer.h"
#include "common/ui/folderlist.h"
#include "scrivane/setup/gui/pendrelsetup.h"
#include "tests/setup/setup_fakes.h"
#include "tests/support/scripted_prompts.h"
#include "tests/support/test_env.h"

using namespace pendrel;
using namespace pendrel::test;
using tarvex::test::PromptRecord;
using tarvex::test::ScriptedPrompts;

namespace {

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Tarvex Setup"));
    ASSERT_TRUE(tmp.isValid());
    root = QDir::toNativeSeparators(tmp.path());
    oldCurrent = QDir::currentPath();
    QDir::setCurrent(root);
  }
  void TearDown() override {
    QDir::setCurrent(oldCurrent);
    tarvex::SetProgramFolder(QString());
  }
  QString At(const QString& rel) const { return QDir::toNativeSeparators(QDir(root).filePath(rel)); }

  QTemporaryDir tmp;
  QString root, oldCurrent;
  ScriptedPrompts prompts;
  FaultyFiles files;
  RecordingShell shell;
};

TEST_F(WindowTest, ControlsAsTheWindowOpens) {
  PendrelSetup w(&files, &shell);
  EXPECT_EQ(w.windowTitle(), QStringLiteral("Tarvex Setup"));
  const std::tuple<QWidget*, const char*, QString, const char*> controls[] = {
      {w.decoLabel, "decoLabel", w.decoLabel->text(), "Install Directory:"},
      {w.pdNewDir, "pdNewDir", w.pdNewDir->text(), "&New Directory"},
      {w.FileAssocFrame, "FileAssocFrame", w.FileAssocFrame->title(), "File Associations"},
      {w.pdInstall, "pdInstall", w.pdInstall->text(), "&Install"},
      {w.pdCancel, "pdCancel", w.pdCancel->text(), "&Cancel"},
      {w.fileassociation[0], "fileassociation_0", w.fileassociation[0]->text(), "Associate .COG files with Scrivane"},
      {w.fileassociation[1], "fileassociation_1", w.fileassociation[1]->text(), "Associate .CGT files with Scrivane"},
      {w.fileassociation[2], "fileassociation_2", w.fileassociation[2]->text(), "Associate .UNI files with Lirrel"},
      {w.fileassociation[3], "fileassociation_3", w.fileassociation[3]->text(), "Associate .DAT files with Orvane"},
  };
  for (const auto& [member, name, caption, want] : controls) {
    EXPECT_EQ(w.findChild<QWidget*>(QLatin1String(name)), member) << name;
    EXPECT_EQ(caption, QLatin1String(want));
  }
  for (const char* name : {"pdInstallPath", "pdDrive", "pdDir", "decoImage"})
    EXPECT_NE(w.findChild<QWidget*>(QLatin1String(name)), nullptr) << name;
  for (int i = 0; i < 4; ++i) EXPECT_EQ(w.fileassociation[i]->isChecked(), i < 2) << i;
  EXPECT_EQ(w.pdInstallPath->text(), DefaultInstallPath());
  EXPECT_EQ(w.pdDir->path(), root);  // the folder current at start
  EXPECT_GE(w.pdDrive->count(), 1);
  EXPECT_TRUE(root.startsWith(w.pdDrive->currentText()));
  EXPECT_FALSE(w.decoImage->pixmap().isNull());
}

TEST_F(WindowTest, FolderListAndDriveFillTheInstallPath) {
  QDir(root).mkpath(QStringLiteral("Games/Mods"));
  QDir(root).mkpath(QStringLiteral("apps"));
  PendrelSetup w(&files, &shell);
  EXPECT_EQ(w.pdDir->subfolders(), (QStringList{"apps", "Games"}));

  // Activating a subfolder opens it.
  QTreeWidgetItem* games = w.pdDir->currentItem()->child(1);
  emit w.pdDir->itemActivated(games, 0);
  tarvex::test::ProcessEvents();
  EXPECT_EQ(w.pdDir->path(), At("Games"));
  EXPECT_EQ(w.pdInstallPath->text(), At("Games"));
  EXPECT_EQ(w.pdDir->subfolders(), QStringList{"Mods"});

  // Choosing the drive moves the list to its root.
  w.pdDrive->setCurrentIndex(-1);
  w.pdDrive->setCurrentIndex(0);
  EXPECT_EQ(w.pdDir->path(), w.pdDrive->itemData(0).toString());
  EXPECT_EQ(w.pdInstallPath->text(), w.pdDir->path());
}

TEST_F(WindowTest, NewDirectory) {
  PendrelSetup w(&files, &shell);
  w.pdDir->setPath(At("Games"));  // not there: the list stays
  EXPECT_EQ(w.pdDir->path(), root);
  w.pdInstallPath->setText(QStringLiteral("unchanged"));

  struct Case {
    QString answer;
    QString dirAfter;   // the folder list's path afterwards
    QString pathAfter;  // the install path afterwards
    int messages;
  } cases[] = {
      {"", root, "unchanged", 0},  // empty answer, also a cancelled box: nothing
      {"Mods", At("Mods"), At("Mods"), 0},  // made and moved into
      {"Sub Folder", At("Mods/Sub Folder"), At("Mods/Sub Folder"), 0},
      {"missing/deeper", At("Mods/Sub Folder"), At("Mods/Sub Folder"), 1},  // cannot be made: stays
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answer.toStdString());
    const QString before = w.pdDir->path();
    prompts.Clear();
    prompts.inputAnswers = {c.answer};
    w.pdNewDir->click();
    ASSERT_GE(prompts.records.size(), 1u);
    const PromptRecord& input = prompts.records[0];
    EXPECT_EQ(input.kind, PromptRecord::Input);
    EXPECT_EQ(input.text, QStringLiteral("Current directory is:") + before);
    EXPECT_EQ(input.title, QStringLiteral("Create New Directory"));
    EXPECT_EQ(w.pdDir->path(), c.dirAfter);
    EXPECT_EQ(static_cast<int>(prompts.Messages().size()), c.messages);
    EXPECT_EQ(w.pdInstallPath->text(), c.pathAfter);
  }
  EXPECT_TRUE(QFileInfo(At("Mods/Sub Folder")).isDir());
  EXPECT_FALSE(QFileInfo::exists(At("Mods/Sub Folder/missing")));
}

TEST_F(WindowTest, InstallFromTheWindowEndsTheProgram) {
  const QString prog = At("setup");
  PutFile(QDir(prog).filePath(QStringLiteral("tarvex-filelist.txt")), "a.txt\n");
  PutFile(QDir(prog).filePath(QStringLiteral("a.txt")), "alpha");
  QDir(root).mkpath(QStringLiteral("target"));
  tarvex::SetProgramFolder(prog);
  shell.found[QStringLiteral("regedit")] = QStringLiteral("/fake/regedit");

  PendrelSetup w(&files, &shell);
  w.bRegisterDesktop = false;
  w.show();
  w.pdInstallPath->setText(At("target"));
  w.fileassociation[0]->setChecked(false);
  w.fileassociation[2]->setChecked(true);  // .UNI with Lirrel
  w.pdInstall->click();

  EXPECT_TRUE(w.Ended());
  EXPECT_FALSE(w.isVisible());
  EXPECT_EQ(FileBytes(At("target/a.txt")), QByteArray("alpha"));
  const QByteArray reg = FileBytes(QDir(prog).filePath(QStringLiteral("tarvexsetup.reg")));
  EXPECT_EQ(reg, RegistryFileBytes({false, true, true, false}, At("target")));
  EXPECT_TRUE(reg.contains("[HKEY_CLASSES_ROOT\\.uni]"));
  EXPECT_FALSE(reg.contains("[HKEY_CLASSES_ROOT\\.dat]"));
  EXPECT_EQ(shell.detached.size(), 1u);
}

TEST_F(WindowTest, RefusedInstallKeepsTheWindowOpenAndCancelEndsIt) {
  PendrelSetup w(&files, &shell);
  w.show();
  w.pdInstallPath->setText(At("with \"quotes\""));
  w.pdInstall->click();
  EXPECT_FALSE(w.Ended());
  EXPECT_TRUE(w.isVisible());
  EXPECT_EQ(prompts.Messages().size(), 1u);
  EXPECT_TRUE(files.copied.isEmpty());

  w.pdCancel->click();
  EXPECT_TRUE(w.Ended());
  EXPECT_FALSE(w.isVisible());
}

}  // namespace

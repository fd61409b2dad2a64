// The editor window driven as a user would: its menus, lists, value box and the small windows,
// with every message box and file dialog answered from a script.
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMenuBar>
#include <gtest/gtest.h>

#include "common/paths.h"
#include "lirrel/core/tablefile.h"
#include "lirrel/gui/lireditor.h"
#include "tests/lirrel/lirrel_test_util.h"
#include "tests/support/scripted_prompts.h"
#include "tests/support/test_env.h"

namespace lirrel {
namespace {

using tarvex::MsgButtons;
using tarvex::MsgIcon;
using tarvex::MsgResult;
using tarvex::test::PromptRecord;
using test::ReadBytes;
using test::TableBytes;
using test::WriteBytes;

const QStringList kTable = {
    QStringLiteral("MSGS 5"),
    QStringLiteral("#& old header"),
    QStringLiteral("#&>old comments"),
    QStringLiteral("\"GAME_SAVE\" 0 \"Game saved.\""),
    QStringLiteral("\"HELLO\" 0 \"Hi\""),
    QStringLiteral("\"GAME_LOAD\" 0 \"Loaded.\""),
    QStringLiteral("\"BYE\" 0 \"Bye\""),
    QStringLiteral("\"GAME_QUIT\" 0 \"Quit?\""),
    QStringLiteral("END"),
};

class EditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QApplication::setApplicationDisplayName(QStringLiteral("Lirrel"));
    oldCurrent_ = QDir::currentPath();
    tarvex::SetProgramFolder(program_.path());
    editor_ = new lirEditor;
    editor_->show();
  }
  void TearDown() override {
    delete editor_;
    tarvex::test::ProcessEvents();
    tarvex::SetProgramFolder(QString());
    QDir::setCurrent(oldCurrent_);
  }

  QString Folder() const { return dir_.path(); }
  void WriteTable(const QStringList& lines = kTable) { WriteBytes(TablePath(Folder()), TableBytes(lines)); }
  void LoadByMenu() {
    prompts_.fileAnswers.push_back(TablePath(Folder()));
    editor_->smnuFile_Click(0);
  }

  QStringList GroupEntries() const {
    QStringList out;
    for (int i = 0; i < editor_->keyGroupBox->count(); ++i)
      out << editor_->keyGroupBox->itemText(i) + ':' + editor_->keyGroupBox->itemData(i).toString();
    return out;
  }
  QStringList KeyEntries() const {
    QStringList out;
    for (int r = 0; r < editor_->KeyNames()->Count(); ++r)
      out << editor_->KeyNames()->At(r).text + ':' + QString::number(editor_->KeyNames()->At(r).key);
    return out;
  }
  void ChooseGroup(const QString& name) {
    editor_->keyGroupBox->setCurrentIndex(editor_->keyGroupBox->findText(name));
    editor_->keyGroupBox_Click();
  }
  void ChooseKey(const QString& name) {
    for (int r = 0; r < editor_->KeyNames()->Count(); ++r)
      if (editor_->KeyNames()->At(r).text == name) return editor_->keyNameBox->SelectRow(r);
    FAIL() << "no key " << name.toStdString();
  }
  const PromptRecord& LastPrompt() const { return prompts_.records.back(); }

  tarvex::test::TempSettings settings_;
  tarvex::test::ScriptedPrompts prompts_;
  QTemporaryDir dir_, program_;
  QString oldCurrent_;
  lirEditor* editor_ = nullptr;
};

TEST_F(EditorTest, WindowHasItsControlsAndMenus) {
  EXPECT_EQ(editor_->windowTitle(), QStringLiteral("Lirrel"));
  QStringList bar;
  for (QAction* a : editor_->menuBar()->actions()) bar << a->text();
  EXPECT_EQ(bar, (QStringList{"&File", "&Edit", "&Comments && Description", "&View Header", "&Help"}));
  QStringList file;
  for (QAction* a : editor_->mnuFile->actions()) file << (a->isSeparator() ? QStringLiteral("-") : a->text());
  EXPECT_EQ(file, (QStringList{"&Load jkstrings.uni", "Revert to &backup jkstrings.uni", "&Save jkstrings.uni", "-", "&Close"}));
  EXPECT_EQ(editor_->smnuEdit[0]->text(), QStringLiteral("&Add Key"));
  EXPECT_EQ(editor_->smnuEdit[1]->text(), QStringLiteral("&Delete Key"));
  EXPECT_EQ(editor_->smnuHelp->text(), QStringLiteral("&About"));
  EXPECT_EQ(editor_->cmdBtn[0]->text() + editor_->cmdBtn[1]->text() + editor_->cmdBtn[2]->text(),
            QStringLiteral("&Save&Clear&Reset"));
  EXPECT_EQ(editor_->InfoLabel[0]->text(), QStringLiteral("Key Name"));
  EXPECT_EQ(editor_->InfoLabel[1]->text(), QStringLiteral("Key Group"));
  EXPECT_EQ(editor_->numMsg->text(), QStringLiteral("Number of Messages:"));
  for (const char* name : {"keyGroupBox", "keyNameBox", "keyValueBox", "numMsg", "cmdBtn0", "cmdBtn2"})
    EXPECT_NE(editor_->findChild<QWidget*>(QString::fromLatin1(name)), nullptr) << name;
  EXPECT_EQ(editor_->keyGroupBox->objectName(), QStringLiteral("keyGroupBox"));

  editor_->smnuHelp_Click();
  ASSERT_EQ(prompts_.records.size(), 1u);
  EXPECT_EQ(LastPrompt().text, QStringLiteral("Lirrel 0.2b\r\nby Dessel\r\n\r\nhttps://tarvex.example/"));
  EXPECT_EQ(LastPrompt().title, QStringLiteral("About Lirrel"));
  EXPECT_EQ(LastPrompt().icon, MsgIcon::None);
}

TEST_F(EditorTest, CommandLineDecidesWhatIsLoaded) {
  WriteBytes(TablePath(program_.path()), TableBytes({QStringLiteral("\"BESIDE\" 0 \"program\"")}));
  WriteTable();
  const struct {
    QString cmd;
    int keys;  // -1: nothing loaded
  } cases[] = {
      {QString(), 1},
      {QStringLiteral("  "), 1},
      {Folder() + QStringLiteral("\\JKSTRINGS.UNI"), 5},
      {Folder() + QStringLiteral("/jkstrings.uni "), 5},
      {Folder() + QStringLiteral("/strings.uni"), -1},
  };
  for (const auto& c : cases) {
    lirEditor editor;
    editor.Form_Load(c.cmd);
    EXPECT_EQ(QDir::toNativeSeparators(QDir::currentPath()), program_.path()) << c.cmd;
    EXPECT_EQ(editor.Table().Count(), c.keys < 0 ? 0 : c.keys) << c.cmd;
    EXPECT_EQ(editor.Table().LoadedFolder().isEmpty(), c.keys < 0) << c.cmd;
  }
  EXPECT_TRUE(prompts_.records.empty());
  // Nothing beside the program: the load says so.
  QFile::remove(TablePath(program_.path()));
  lirEditor editor;
  editor.Form_Load(QString());
  ASSERT_EQ(prompts_.Messages().size(), 1u);
  EXPECT_EQ(LastPrompt().title, QStringLiteral("Can't Load File"));
  EXPECT_EQ(LastPrompt().icon, MsgIcon::Exclamation);
}

TEST_F(EditorTest, LoadShowsAllKeysAndOneEntryPerGroup) {
  WriteTable();
  LoadByMenu();
  ASSERT_EQ(prompts_.records.size(), 1u);
  EXPECT_EQ(prompts_.records[0].kind, PromptRecord::OpenFile);
  EXPECT_EQ(prompts_.records[0].file.title, QStringLiteral("Load JKStrings.Uni"));
  EXPECT_EQ(prompts_.records[0].file.filter, QStringLiteral("*.Uni file| *.uni|*.Uni Backup | *.~un"));
  const QStringList groups = {"All:0", "GAME:1", "MISC.:2"};
  const QStringList all = {"(empty):0", "GAME_SAVE:1", "HELLO:2", "GAME_LOAD:3", "BYE:4", "GAME_QUIT:5"};
  EXPECT_EQ(GroupEntries(), groups);
  EXPECT_EQ(KeyEntries(), all);
  EXPECT_EQ(editor_->keyGroupBox->currentIndex(), 0);
  EXPECT_EQ(editor_->keyNameBox->SelectedRow(), 0);
  EXPECT_EQ(editor_->keyValueBox->toPlainText(), QString());
  EXPECT_EQ(editor_->numMsg->text(), QStringLiteral("Number of Messages:  5"));

  // Load again, revert, save (with its refresh): the lists are rebuilt, never added to.
  LoadByMenu();
  prompts_.fileAnswers.push_back(TablePath(Folder()));
  editor_->smnuFile_Click(2);
  prompts_.fileAnswers.push_back(TablePath(Folder()));
  editor_->smnuFile_Click(1);  // reverts to the file before the save
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(GroupEntries(), groups);
    EXPECT_EQ(KeyEntries(), all);
    if (i == 0) LoadByMenu();
    if (i == 1) editor_->Table().SaveTable(Folder());
  }
  EXPECT_EQ(prompts_.Messages().size(), 0u);

  ChooseGroup(QStringLiteral("GAME"));
  EXPECT_EQ(KeyEntries(), (QStringList{"GAME_SAVE:1", "GAME_LOAD:3", "GAME_QUIT:5"}));
  ChooseGroup(QStringLiteral("MISC."));
  EXPECT_EQ(KeyEntries(), (QStringList{"HELLO:2", "BYE:4"}));
  ChooseGroup(QStringLiteral("All"));
  EXPECT_EQ(KeyEntries(), all);
}

TEST_F(EditorTest, FileDialogChecksTheFileName) {
  WriteTable();
  const struct {
    int command;
    QString answer;
    const char* title;  // of the error, nullptr when accepted
  } cases[] = {
      {0, Folder() + QStringLiteral("/strings.uni"), "Error Loading File"},
      {1, Folder() + QStringLiteral("/jkstrings.~un"), "Error Loading File"},
      {2, Folder() + QStringLiteral("/strings.uni"), "Error Saving File"},
      {0, Folder() + QStringLiteral("/JkStrings.Uni"), nullptr},
  };
  for (const auto& c : cases) {
    prompts_.Clear();
    prompts_.fileAnswers.push_back(c.answer);
    editor_->smnuFile_Click(c.command);
    if (c.title) {
      ASSERT_EQ(prompts_.Messages().size(), 1u) << c.answer;
      EXPECT_EQ(LastPrompt().text, QStringLiteral("This file is not JKStrings.Uni."));
      EXPECT_EQ(LastPrompt().title, QString::fromLatin1(c.title));
      EXPECT_EQ(LastPrompt().icon, MsgIcon::None);
      EXPECT_EQ(editor_->Table().Count(), 0);
    } else {
      EXPECT_TRUE(prompts_.Messages().empty());  // the folder's jkstrings.uni was loaded
      EXPECT_EQ(editor_->Table().Count(), 5);
    }
  }
  EXPECT_EQ(prompts_.records[0].file.title, QStringLiteral("Load JKStrings.Uni"));
  // A cancelled dialog does nothing.
  prompts_.Clear();
  editor_->smnuFile_Click(2);
  ASSERT_EQ(prompts_.records.size(), 1u);
  EXPECT_EQ(prompts_.records[0].kind, PromptRecord::SaveFile);
  EXPECT_EQ(prompts_.records[0].file.title, QStringLiteral("Save JKStrings.Uni"));
  EXPECT_FALSE(QFileInfo::exists(TablePath(Folder(), true)));
}

TEST_F(EditorTest, FailedLoadKeepsTheWindowAsItWas) {
  WriteTable();
  LoadByMenu();
  prompts_.inputAnswers.push_back(QStringLiteral("UNSAVED"));
  editor_->smnuEdit_Click(0);
  const QStringList keys = KeyEntries(), groups = GroupEntries();
  prompts_.fileAnswers.push_back(TablePath(Folder()));
  editor_->smnuFile_Click(1);  // there is no backup yet
  ASSERT_EQ(prompts_.Messages().size(), 1u);
  EXPECT_EQ(LastPrompt().text, TablePath(Folder(), true) + QStringLiteral("\r\nThis file does not exist."));
  EXPECT_EQ(LastPrompt().title, QStringLiteral("Can't Load File"));
  EXPECT_EQ(KeyEntries(), keys);
  EXPECT_EQ(GroupEntries(), groups);
  EXPECT_EQ(editor_->Table().Count(), 6);
}

TEST_F(EditorTest, ValueBoxSaveClearReset) {
  WriteTable();
  LoadByMenu();
  ChooseKey(QStringLiteral("HELLO"));
  EXPECT_EQ(editor_->keyValueBox->toPlainText(), QStringLiteral("Hi"));

  editor_->keyValueBox->setPlainText(QStringLiteral("Hello there"));
  editor_->cmdBtn_Click(0);
  EXPECT_EQ(editor_->Table().keyTable()[2].value, QStringLiteral("Hello there"));
  EXPECT_TRUE(editor_->Table().Modified());

  editor_->cmdBtn_Click(1);  // Clear, then Reset: the stored value comes back
  EXPECT_EQ(editor_->keyValueBox->toPlainText(), QString());
  editor_->cmdBtn_Click(2);
  EXPECT_EQ(editor_->keyValueBox->toPlainText(), QStringLiteral("Hello there"));

  editor_->cmdBtn_Click(1);  // Clear, then another key: the first keeps its value
  ChooseKey(QStringLiteral("BYE"));
  EXPECT_EQ(editor_->keyValueBox->toPlainText(), QStringLiteral("Bye"));
  EXPECT_EQ(editor_->Table().keyTable()[2].value, QStringLiteral("Hello there"));

  // What the file cannot hold is refused and the stored value kept.
  for (const QString& bad : {QStringLiteral("say \"hi\""), QStringLiteral("two\nlines")}) {
    prompts_.Clear();
    editor_->keyValueBox->setPlainText(bad);
    editor_->cmdBtn_Click(0);
    ASSERT_EQ(prompts_.Messages().size(), 1u);
    EXPECT_EQ(LastPrompt().title, QStringLiteral("Lirrel"));
    EXPECT_TRUE(LastPrompt().text.contains(QStringLiteral("double quote or a line break")));
    EXPECT_EQ(editor_->Table().keyTable()[4].value, QStringLiteral("Bye"));
    EXPECT_EQ(editor_->keyValueBox->toPlainText(), bad);  // left for the user to mend
  }

  // With no key selected, Save and Reset do nothing; the placeholder holds no value.
  editor_->keyNameBox->SelectRow(-1);
  editor_->keyValueBox->setPlainText(QStringLiteral("orphan"));
  editor_->cmdBtn_Click(0);
  editor_->cmdBtn_Click(2);
  EXPECT_EQ(editor_->keyValueBox->toPlainText(), QStringLiteral("orphan"));
  ChooseKey(QStringLiteral("(empty)"));
  editor_->keyValueBox->setPlainText(QStringLiteral("x"));
  editor_->cmdBtn_Click(0);
  EXPECT_EQ(editor_->Table().keyTable()[0].value, QString());
}

TEST_F(EditorTest, AddKeyAppendsToTheListAndCustomKeysOnce) {
  WriteTable();
  LoadByMenu();
  ChooseGroup(QStringLiteral("MISC."));
  prompts_.inputAnswers = {QStringLiteral("My_Key"), QStringLiteral("HUD %s"), QString()};
  for (int i = 0; i < 3; ++i) editor_->smnuEdit_Click(0);
  ASSERT_EQ(prompts_.records.size(), 4u);
  EXPECT_EQ(LastPrompt().kind, PromptRecord::Input);
  EXPECT_EQ(LastPrompt().text, QStringLiteral("Enter the name for the new key:"));
  EXPECT_EQ(LastPrompt().title, QStringLiteral("Add Key"));
  // Listed at the end of the shown group's keys all the same; the empty answer added nothing.
  EXPECT_EQ(KeyEntries(), (QStringList{"HELLO:2", "BYE:4", "My_Key:6", "HUD %s:7"}));
  EXPECT_EQ(GroupEntries(), (QStringList{"All:0", "GAME:1", "MISC.:2", "Custom Keys:3"}));
  EXPECT_EQ(editor_->numMsg->text(), QStringLiteral("Number of Messages:  7"));
  ChooseGroup(QStringLiteral("Custom Keys"));
  EXPECT_EQ(KeyEntries(), (QStringList{"My_Key:6", "HUD %s:7"}));

  prompts_.Clear();
  prompts_.inputAnswers = {QStringLiteral("BAD\"NAME")};
  editor_->smnuEdit_Click(0);
  ASSERT_EQ(prompts_.Messages().size(), 1u);
  EXPECT_EQ(LastPrompt().title, QStringLiteral("Lirrel"));
  EXPECT_EQ(editor_->Table().Count(), 7);
}

TEST_F(EditorTest, DeleteKeyAsksAndRefillsTheList) {
  WriteTable();
  LoadByMenu();
  prompts_.Clear();
  // Nothing selected, or the placeholder: nothing to delete.
  for (int row : {-1, 0}) {
    editor_->keyNameBox->SelectRow(row);
    editor_->smnuEdit_Click(1);
    EXPECT_EQ(LastPrompt().text, QStringLiteral("First select a key to delete."));
    EXPECT_EQ(LastPrompt().title, QStringLiteral("Info"));
    EXPECT_EQ(LastPrompt().buttons, MsgButtons::OK);
  }
  EXPECT_EQ(editor_->Table().Count(), 5);

  ChooseGroup(QStringLiteral("GAME"));
  ChooseKey(QStringLiteral("GAME_LOAD"));
  prompts_.messageAnswers = {MsgResult::No, MsgResult::Yes};
  editor_->smnuEdit_Click(1);
  EXPECT_EQ(LastPrompt().text, QStringLiteral("Are you sure you want to delete the key \"GAME_LOAD\"?"));
  EXPECT_EQ(LastPrompt().title, QStringLiteral("Confirm Delete Key"));
  EXPECT_EQ(LastPrompt().buttons, MsgButtons::YesNo);
  EXPECT_EQ(editor_->Table().Count(), 5);
  editor_->smnuEdit_Click(1);
  EXPECT_EQ(editor_->Table().Count(), 4);
  EXPECT_EQ(KeyEntries(), (QStringList{"GAME_SAVE:1", "GAME_QUIT:4"}));  // indices above it moved down
  EXPECT_EQ(editor_->keyNameBox->SelectedRow(), -1);
  EXPECT_EQ(editor_->keyValueBox->toPlainText(), QString());
  EXPECT_EQ(editor_->numMsg->text(), QStringLiteral("Number of Messages:  4"));
  EXPECT_TRUE(editor_->Table().Modified());
}

TEST_F(EditorTest, CommentsWindow) {
  WriteTable();
  LoadByMenu();
  editor_->mnuComDesc_Click();
  lirComments* w = editor_->CommentsWindow();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->windowTitle(), QStringLiteral("Edit Comments & Description"));
  EXPECT_EQ(w->lirCommentBox->text(), QStringLiteral("old comments"));
  QStringList captions;
  for (QPushButton* b : w->lirComDescBtn) captions << b->text();
  EXPECT_EQ(captions, (QStringList{"&Save", "&Clear", "&Reset", "&Close"}));

  w->lirComDescBtn_Click(1);
  EXPECT_EQ(w->lirCommentBox->text(), QString());
  EXPECT_EQ(editor_->Comments(), QStringLiteral("old comments"));  // only Save changes the table
  w->lirComDescBtn_Click(2);
  EXPECT_EQ(w->lirCommentBox->text(), QStringLiteral("old comments"));
  w->lirCommentBox->setText(QStringLiteral("new \"quoted\" notes"));
  editor_->mnuComDesc_Click();  // shown again: the same window, its text kept
  EXPECT_EQ(editor_->CommentsWindow(), w);
  EXPECT_EQ(w->lirCommentBox->text(), QStringLiteral("new \"quoted\" notes"));
  EXPECT_FALSE(editor_->Table().Modified());
  w->lirComDescBtn_Click(0);
  EXPECT_EQ(editor_->Comments(), QStringLiteral("new \"quoted\" notes"));
  EXPECT_TRUE(editor_->Table().Modified());
  w->lirComDescBtn_Click(3);
  tarvex::test::ProcessEvents();
  EXPECT_EQ(editor_->CommentsWindow(), nullptr);

  editor_->Table().SaveTable(Folder());
  EXPECT_TRUE(test::FileLines(TablePath(Folder())).contains(QStringLiteral("#&>new \"quoted\" notes")));
}

TEST_F(EditorTest, HeaderViewerShowsTheHeaderLastRead) {
  WriteTable();
  LoadByMenu();
  editor_->mnuHeader_Click();
  lirHeader* h = editor_->HeaderWindow();
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(h->windowTitle(), QStringLiteral("JKSTRINGS.UNI Header Viewer"));
  EXPECT_EQ(h->lirHeaderView->toPlainText(), QStringLiteral(" old header\nold comments\n"));
  editor_->Table().SaveTable(Folder());  // an open viewer follows every load
  EXPECT_EQ(h->lirHeaderView->toPlainText().split('\n').size(), 16);
  h->lirHeaderView->setPlainText(QStringLiteral("typed"));
  editor_->mnuHeader_Click();  // refilled
  EXPECT_EQ(editor_->HeaderWindow(), h);
  const QStringList lines = h->lirHeaderView->toPlainText().split('\n');
  EXPECT_EQ(lines.size(), 16);
  EXPECT_EQ(lines[0], QStringLiteral(" JKStrings.Uni"));
  EXPECT_EQ(lines[8], QStringLiteral("old comments"));
  // It fills the window.
  h->resize(300, 200);
  tarvex::test::ProcessEvents();
  EXPECT_EQ(h->lirHeaderView->geometry(), h->rect());
}

TEST_F(EditorTest, ClosingWithChangesAsksToSave) {
  WriteTable();
  const QByteArray original = ReadBytes(TablePath(Folder()));
  LoadByMenu();
  prompts_.Clear();
  // Nothing changed: no question.
  EXPECT_TRUE(editor_->close());
  EXPECT_TRUE(prompts_.records.empty());
  editor_->show();

  prompts_.inputAnswers.push_back(QStringLiteral("ADDED"));
  editor_->smnuEdit_Click(0);
  prompts_.messageAnswers = {MsgResult::Cancel};
  editor_->smnuFile_Click(4);
  EXPECT_TRUE(editor_->isVisible());
  EXPECT_EQ(LastPrompt().text, QStringLiteral("Save changes to jkstrings.uni?"));
  EXPECT_EQ(LastPrompt().title, QStringLiteral("Lirrel"));
  EXPECT_EQ(LastPrompt().buttons, MsgButtons::YesNoCancel);

  prompts_.messageAnswers = {MsgResult::No};
  EXPECT_TRUE(editor_->close());
  EXPECT_EQ(ReadBytes(TablePath(Folder())), original);
  editor_->show();

  prompts_.Clear();
  prompts_.messageAnswers = {MsgResult::Yes};
  EXPECT_TRUE(editor_->close());  // saved to the folder it was loaded from, no dialog asked
  EXPECT_EQ(prompts_.records.size(), 1u);
  EXPECT_EQ(ReadBytes(TablePath(Folder(), true)), original);
  EXPECT_TRUE(test::FileLines(TablePath(Folder())).contains(KeyLine(QStringLiteral("ADDED"), QString())));
}

TEST_F(EditorTest, ClosingWithoutALoadedFolderAsksForTheFile) {
  editor_->mnuComDesc_Click();
  editor_->CommentsWindow()->lirCommentBox->setText(QStringLiteral("fresh"));
  editor_->CommentsWindow()->lirComDescBtn_Click(0);
  // Yes, then the dialog is cancelled: Lirrel stays open.
  prompts_.messageAnswers = {MsgResult::Yes};
  EXPECT_FALSE(editor_->close());
  EXPECT_EQ(LastPrompt().kind, PromptRecord::SaveFile);
  EXPECT_NE(editor_->CommentsWindow(), nullptr);
  // Yes, and a file is chosen: written there, and the window closes with its small windows.
  prompts_.messageAnswers = {MsgResult::Yes};
  prompts_.fileAnswers.push_back(TablePath(Folder()));
  EXPECT_TRUE(editor_->close());
  tarvex::test::ProcessEvents();
  EXPECT_EQ(editor_->CommentsWindow(), nullptr);
  EXPECT_TRUE(test::FileLines(TablePath(Folder())).contains(QStringLiteral("#&>fresh")));
  EXPECT_FALSE(QFileInfo::exists(TablePath(Folder(), true)));
}

TEST_F(EditorTest, ProgressWindowForSlowLoads) {
  WriteTable();
  QStringList seen;
  qint64 now = 0;
  editor_->Table().SetClock([&] {
    if (Progress* p = editor_->ProgressWindow())
      seen << p->windowTitle() + '|' + QString::number(p->ProgressBar->value()) + '/' + QString::number(p->ProgressBar->maximum());
    return now += 1000;
  });
  LoadByMenu();
  ASSERT_FALSE(seen.isEmpty());
  const QString size = QString::number(TableBytes(kTable).size());
  EXPECT_EQ(seen.front(), "Loading and Parsing jkstrings.uni - Line 1 -  6 of  " + size + " bytes|6/" + size);
  EXPECT_EQ(editor_->ProgressWindow(), nullptr);  // gone once the load has ended
  EXPECT_EQ(editor_->Table().Count(), 5);
}

}  // namespace
}  // namespace lirrel

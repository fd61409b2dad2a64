// Orvane's windows driven as a user would, every message box, input box and file dialog
// answered from a script: the corpus table loaded and reported, edits refused and applied,
// a model picked from the corpus archive, saving with a backup, the close prompt, and the
// personalities window.
#include <QApplication>
#include <QDir>
#include <QTest>

#include "common/settings.h"
#include "orvane/gui/orveditor.h"
#include "orvane/gui/orvpersonality.h"
#include "orvane/gui/orvpicker.h"
#include "tests/support/file_bytes.h"
#include "tests/support/gob_builder.h"
#include "tests/support/scripted_prompts.h"
#include "tests/support/test_env.h"
#include "tests/support/window_checks.h"

namespace orvane {
namespace {

using tarvex::MsgResult;
using tarvex::test::PromptRecord;
using tarvex::test::ReadBytes;
using tarvex::test::SharedPath;
using tarvex::test::WriteBytes;

class OrvaneTest : public ::testing::Test {
 protected:
  void SetUp() override {
    original_ = ReadBytes(SharedPath("corpus/models/LegendaryGuard__TDiR__models.dat"));
    if (original_.isEmpty()) GTEST_SKIP() << "no corpus";
    path_ = GameFolder(dir_);
  }
  void TearDown() override { tarvex::test::ProcessEvents(); }
  QString LastMessage() const { return prompts_.Messages().empty() ? QString() : prompts_.Messages().back(); }
  // A game folder: misc/models.dat (the corpus table) and misc/per/, holding <per> with perText
  // when one is named. Returns the path of its models.dat.
  QString GameFolder(const QTemporaryDir& dir, const char* per = nullptr, const QByteArray& perText = {}) const {
    QDir().mkpath(dir.filePath("misc/per"));
    WriteBytes(dir.filePath("misc/models.dat"), original_);
    if (per) WriteBytes(dir.filePath(QStringLiteral("misc/per/") + per), perText);
    return dir.filePath("misc/models.dat");
  }
  // The editor shown with the table loaded.
  void Open(orvEditor& editor) {
    editor.show();
    ASSERT_TRUE(editor.OpenTable(path_));
  }

  tarvex::test::ScriptedPrompts prompts_;
  QTemporaryDir dir_;
  QString path_;
  QByteArray original_;
};

TEST_F(OrvaneTest, LoadEditPickAddSave) {
  orvEditor editor;
  editor.Form_Load(path_);
  EXPECT_EQ(editor.lvwModels->topLevelItemCount(), 86);
  for (const char* note : {"Line 5: numModels says 87, but the file holds 86 models; Orvane writes the true count.",
                           "Slot 86: no line fills it; the game shows an empty slot."})
    EXPECT_TRUE(LastMessage().contains(QLatin1String(note))) << LastMessage();

  // Names the game cannot read are refused and nothing changes.
  editor.SelectRow(1);
  EXPECT_EQ(editor.txtModel->text(), QStringLiteral("17droid.3do"));
  for (const char* bad : {"two words.3do", "", "3do\\a.3do"}) {
    editor.txtModel->setText(QString::fromLatin1(bad));
    editor.cmdApply_Click();
    EXPECT_TRUE(LastMessage().endsWith("Nothing was changed.")) << bad;
    EXPECT_EQ(editor.Table().modelTable()[1].model, QStringLiteral("17droid.3do"));
  }
  EXPECT_FALSE(editor.Table().Modified());

  // A model picked from the corpus archive; the archive is remembered for the next pick.
  const QString gob = SharedPath("corpus/gob/malloc47__return-of-thrawn__Phaser.gob");
  editor.cmdPickModel_Click();
  orvPicker* picker = editor.Picker();
  ASSERT_TRUE(picker && picker->OpenArchive(gob));
  ASSERT_GT(picker->lstEntries->count(), 0);
  const QString chosen = picker->lstEntries->item(0)->text();
  picker->cmdOK_Click();
  EXPECT_EQ(editor.txtModel->text(), chosen);
  editor.txtComment->setText(QStringLiteral("from the archive"));
  editor.cmdApply_Click();
  EXPECT_EQ(editor.lvwModels->topLevelItem(1)->text(1), chosen);
  editor.cmdPickSound_Click();
  EXPECT_EQ(editor.Picker()->txtArchive->text(), gob);
  EXPECT_EQ(editor.Picker()->lstEntries->count(), 0);  // the archive holds no sound classes
  editor.Picker()->reject();

  // A malformed archive, or one that is not there, is refused, naming it.
  const QString bad = dir_.filePath("bad.gob");
  QByteArray broken = tarvex::test::BuildGob({{"3do\\a.3do", "x"}});
  broken[16] = char(0xf0);
  WriteBytes(bad, broken);
  editor.cmdPickModel_Click();
  EXPECT_FALSE(editor.Picker()->OpenArchive(bad));
  EXPECT_TRUE(LastMessage().startsWith(bad + "\r\nEntry 1 of the archive")) << LastMessage();
  EXPECT_FALSE(editor.Picker()->OpenArchive(bad + ".missing"));
  EXPECT_TRUE(LastMessage().startsWith(bad + ".missing\r\n")) << LastMessage();
  // A settings file that cannot be written (a folder in its place): the archive opens, and the
  // user is told, over the picker, that it cannot be remembered.
  const QString ini = tarvex::SettingsFile(QStringLiteral("Orvane"));
  QFile::remove(ini);
  QDir().mkpath(ini);
  EXPECT_TRUE(editor.Picker()->OpenArchive(gob) && editor.Picker()->lstEntries->count() > 0);
  EXPECT_TRUE(LastMessage().startsWith("Cannot save the settings to \"" + QDir::toNativeSeparators(ini) + "\": "))
      << LastMessage();
  EXPECT_EQ(prompts_.records.back().owner, editor.Picker());
  QDir(ini).removeRecursively();
  // The archive used last time, damaged since: the picker says so as it opens, over itself.
  const QString later = dir_.filePath("later.gob");
  WriteBytes(later, tarvex::test::BuildGob({{"3do\\a.3do", "x"}}));
  ASSERT_TRUE(editor.Picker()->OpenArchive(later));
  editor.Picker()->reject();
  WriteBytes(later, broken);
  prompts_.Clear();
  editor.cmdPickModel_Click();
  EXPECT_TRUE(LastMessage().startsWith("The archive used last time cannot be listed:\r\n" + later + "\r\nEntry 1"))
      << LastMessage();
  EXPECT_EQ(prompts_.records.back().owner, editor.Picker());
  EXPECT_TRUE(editor.Picker()->txtArchive->text().isEmpty() && editor.Picker()->tbsSource->currentIndex() == 0);
  editor.Picker()->reject();

  // A file from disk that is no model is named in a message over the picker, which stays open.
  const QString notModel = dir_.filePath("not.3do");
  WriteBytes(notModel, "hello\r\n");
  editor.cmdPickModel_Click();
  picker = editor.Picker();
  picker->show();
  picker->tbsSource->setCurrentIndex(0);  // Disk
  picker->txtDisk->setText(notModel);
  picker->cmdOK_Click();
  EXPECT_TRUE(LastMessage().startsWith(notModel + " cannot be used: ")) << LastMessage();
  EXPECT_EQ(std::tuple(prompts_.records.back().owner, picker->isVisible(), editor.txtModel->text()),
            std::tuple(static_cast<const QWidget*>(picker), true, chosen));
  picker->reject();

  editor.cmdAdd_Click();
  EXPECT_EQ(std::pair(editor.lblCount->text(), editor.SelectedRow()), std::pair(QStringLiteral("Number of Models: 87"), 86));
  ASSERT_TRUE(editor.mnuFileSave_Click());
  EXPECT_EQ(ReadBytes(dir_.filePath("misc/models.~da")), original_);
  const QStringList lines = QString::fromLatin1(ReadBytes(path_)).split("\r\n");
  EXPECT_EQ(QStringList({lines[16], lines[20], lines[105]}),
            QStringList({"numModels: 87", "1: " + chosen + "\tky.snd\t# from the archive", "86: " + chosen + "\tky.snd\t# from the archive"}));
  EXPECT_FALSE(editor.Table().Modified());
}

TEST_F(OrvaneTest, ClosePromptAndFailedSave) {
  orvEditor editor;
  Open(editor);
  editor.SelectRow(0);
  editor.cmdDelete_Click();  // scripted Yes
  EXPECT_EQ(LastMessage(), QStringLiteral("Are you sure you want to delete the model \"16droid.3do\"?"));
  EXPECT_EQ(editor.Table().Count(), 85);

  prompts_.messageAnswers = {MsgResult::Cancel};
  EXPECT_FALSE(editor.close());
  EXPECT_EQ(LastMessage(), QStringLiteral("Save changes to models.dat?"));
  // Yes with a folder that refuses the new file: the message names the path, Orvane stays.
  if (tarvex::test::ReadOnlyFolder locked(dir_.filePath("misc")); locked.Ok()) {
    prompts_.messageAnswers = {MsgResult::Yes};
    EXPECT_FALSE(editor.close());
    EXPECT_TRUE(LastMessage().startsWith(path_ + "\r\n")) << LastMessage();
    EXPECT_EQ(ReadBytes(path_), original_);
  }
  // Written by another program since it was opened: Save asks before it overwrites, No keeps
  // that file; its own save is no change on disk.
  WriteBytes(path_, "numModels: 0\r\n");
  prompts_.Clear();
  prompts_.messageAnswers = {MsgResult::No, MsgResult::Yes};
  EXPECT_FALSE(editor.mnuFileSave_Click());
  EXPECT_EQ(ReadBytes(path_), "numModels: 0\r\n");
  EXPECT_TRUE(editor.mnuFileSave_Click() && editor.mnuFileSave_Click());
  EXPECT_EQ(prompts_.Messages(), std::vector<QString>(2, "models.dat has changed on disk since it was opened. Overwrite it?"));
  EXPECT_TRUE(ReadBytes(path_).contains("\r\nnumModels: 85\r\n"));
}

// Comments typed but not stored with the window's Save, and fields typed but not applied, are
// offered too; Yes applies, stores and saves them.
TEST_F(OrvaneTest, ClosePromptCountsTypedCommentsAndFields) {
  orvEditor editor;
  Open(editor);
  editor.mnuFileComments_Click();
  QTest::keyClicks(editor.CommentsWindow()->CommentBox, "typed notes");
  editor.txtSound->setText(QStringLiteral("typed.snd"));
  prompts_.messageAnswers = {MsgResult::Yes};
  EXPECT_TRUE(editor.close());
  EXPECT_EQ(LastMessage(), QStringLiteral("Save changes to models.dat?"));
  EXPECT_TRUE(ReadBytes(path_).contains("\r\n#&>typed notes\r\n") && ReadBytes(path_).contains("\ttyped.snd")) << ReadBytes(path_);
}

TEST_F(OrvaneTest, PersonalitiesWindow) {
  WriteBytes(dir_.filePath("misc/per/jedi.per"), "version 2\r\nparam 50: 1\r\nparam 51: 200\r\n");
  WriteBytes(dir_.filePath("ui/JKSTRINGS.UNI"), "MSGS 1\r\n\"GUI_PERSONALITY2\" 0 \"Jedi\"\r\nEND\r\n");
  orvEditor editor;
  editor.mnuPersonalities_Click();
  EXPECT_TRUE(LastMessage().startsWith("Open a models.dat first"));
  editor.OpenTable(path_);
  editor.mnuPersonalities_Click();
  orvPersonality* w = editor.PersonalityWindow();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(std::tuple(w->cmbFile->count(), w->cmbFile->itemText(0), w->tblParams->rowCount()),
            std::tuple(1, QStringLiteral("jedi.per - Jedi"), 2));

  prompts_.Clear();
  prompts_.inputAnswers = {"300", "7", "x", "7", "0.5"};
  for (int i = 0; i < 3; ++i) w->cmdAdd_Click();
  // The boxes and refusals of the window open over it, so that it stays in front.
  ASSERT_EQ(prompts_.records.size(), 7u);
  for (const auto& r : prompts_.records) EXPECT_EQ(r.owner, w) << r.text;
  EXPECT_EQ(w->Params(), (std::map<int, QString>{{7, "0.5"}, {50, "1"}, {51, "200"}}));
  w->tblParams->item(2, 1)->setText(QStringLiteral("lots"));  // param 51
  EXPECT_TRUE(LastMessage().contains("not a decimal number")) << LastMessage();
  EXPECT_EQ(w->tblParams->item(2, 1)->text(), QStringLiteral("200"));
  w->tblParams->item(2, 1)->setText(QStringLiteral("150"));
  ASSERT_TRUE(w->cmdSave_Click());
  EXPECT_EQ(ReadBytes(dir_.filePath("misc/per/jedi.per")), "version 2\r\nparam 7: 0.5\r\nparam 50: 1\r\nparam 51: 150\r\n");
  EXPECT_EQ(ReadBytes(dir_.filePath("misc/per/jedi.~pe")), "version 2\r\nparam 50: 1\r\nparam 51: 200\r\n");
}

// Save As, moving entries, the header viewer and Revert through the menus: the title shows
// the file, Revert loads the backup and counts as a change, so that closing offers to save it.
TEST_F(OrvaneTest, SaveAsMoveHeaderAndRevert) {
  orvEditor editor;
  Open(editor);
  EXPECT_EQ(editor.windowTitle(), "Orvane - " + path_);
  editor.SelectRow(0);
  editor.cmdDown_Click();
  EXPECT_EQ(std::tuple(editor.SelectedRow(), editor.lvwModels->topLevelItem(1)->text(0), editor.lvwModels->topLevelItem(1)->text(1)),
            std::tuple(1, QStringLiteral("1"), QStringLiteral("16droid.3do")));
  editor.mnuFileHeader_Click();
  const QString copy = dir_.filePath("misc/copy.dat");
  prompts_.fileAnswers = {copy};
  ASSERT_TRUE(editor.mnuFileSaveAs_Click());
  EXPECT_EQ(editor.windowTitle(), "Orvane - " + copy);
  EXPECT_TRUE(editor.HeaderWindow()->HeaderView->toPlainText().startsWith(" Models.Dat\n"));
  EXPECT_EQ(ReadBytes(path_), original_);
  EXPECT_TRUE(QString::fromLatin1(ReadBytes(copy)).contains("\r\n0: 17droid.3do\tky.snd\r\n1: 16droid.3do\tky.snd\r\n"));

  editor.cmdUp_Click();  // back again, saved: copy.dat's backup is its first version
  ASSERT_TRUE(editor.mnuFileSave_Click());
  prompts_.Clear();
  editor.mnuFileRevert_Click();
  EXPECT_EQ(std::tuple(editor.lvwModels->topLevelItem(0)->text(1), editor.Table().Modified(), editor.Table().Path()),
            std::tuple(QStringLiteral("17droid.3do"), true, copy));
  prompts_.messageAnswers = {MsgResult::Yes};
  EXPECT_TRUE(editor.close());
  EXPECT_EQ(LastMessage(), QStringLiteral("Save changes to models.dat?"));
  EXPECT_TRUE(QString::fromLatin1(ReadBytes(copy)).contains("\r\n0: 17droid.3do\tky.snd\r\n"));
}

// Author settings edited by hand, comments and entry comments that would give the game a line
// it cannot read are refused before anything is written, naming the setting or the field, with
// the message Lirrel gives for the same setting (whose test has the character the code page
// lacks).
TEST_F(OrvaneTest, LinesTheGameCannotReadAreRefused) {
  tarvex::test::TempSettings settings;
  orvEditor editor;
  Open(editor);
  const struct { const char* key; QString value; const char* said; } settingCases[] = {
      {"Name", "Line one\nLine two",
       "The author setting \"Name\" (Pendrel/AuthInfo) holds a line break, which the header of models.dat cannot "
       "store. Change the setting and save again; nothing was written."},
      {"Name", QString(5000, QLatin1Char('n')),
       "The author setting \"Name\" (Pendrel/AuthInfo) is 5000 characters long, which makes a header line of 5015 "
       "bytes, longer than the 1023 bytes the game reads of a line"},
  };
  for (const auto& c : settingCases) {
    tarvex::SaveSetting(QStringLiteral("Pendrel"), QStringLiteral("AuthInfo"), QLatin1String(c.key), c.value);
    prompts_.Clear();
    EXPECT_FALSE(editor.mnuFileSave_Click());
    EXPECT_TRUE(LastMessage().startsWith(QString::fromUtf8(c.said))) << LastMessage();
    EXPECT_EQ(prompts_.records.back().title, QStringLiteral("Can't Save File"));
    EXPECT_EQ(ReadBytes(path_), original_);
    tarvex::SaveSetting(QStringLiteral("Pendrel"), QStringLiteral("AuthInfo"), QLatin1String(c.key), QString());
  }

  // Comments typed in their window are refused when stored, over that window; comments a file
  // brought are refused when saved.
  editor.mnuFileComments_Click();
  editor.CommentsWindow()->CommentBox->setText(QString(1100, QLatin1Char('c')));
  editor.CommentsWindow()->ComDescBtn_Click(0);
  EXPECT_TRUE(LastMessage().startsWith("The comments & description are 1100 characters long, which makes a header "
                                       "line of 1103 bytes"))
      << LastMessage();
  EXPECT_EQ(prompts_.records.back().owner, editor.CommentsWindow());
  editor.CommentsWindow()->close();
  editor.Table().SetComments(QString(1100, QLatin1Char('c')));
  EXPECT_FALSE(editor.mnuFileSave_Click());
  EXPECT_TRUE(LastMessage().startsWith("The comments & description are 1100")) << LastMessage();
  editor.Table().SetComments(QStringLiteral("short"));

  // An entry's comment: refused by Apply; a table whose entry has one is refused by Save.
  editor.SelectRow(0);
  editor.txtComment->setText(QString(1100, QLatin1Char('k')));
  EXPECT_FALSE(editor.cmdApply_Click());
  EXPECT_TRUE(LastMessage().startsWith("The comment of slot 0 (\"16droid.3do\") is 1100 characters long, which makes "
                                       "a line of 1124 bytes"))
      << LastMessage();
  editor.Table().Set(0, QStringLiteral("16droid.3do"), QStringLiteral("ky.snd"), QString(1100, QLatin1Char('k')));
  EXPECT_FALSE(editor.mnuFileSave_Click());
  EXPECT_TRUE(LastMessage().startsWith("The comment of slot 0")) << LastMessage();
  EXPECT_EQ(ReadBytes(path_), original_);
  editor.Table().Set(0, QStringLiteral("16droid.3do"), QStringLiteral("ky.snd"), QString(900, QLatin1Char('k')));
  EXPECT_TRUE(editor.mnuFileSave_Click());
}

// Closing the main window asks the personalities window first; Cancel in either keeps both
// open; once both agree every window closes, so that the process ends.
TEST_F(OrvaneTest, CloseAsksEveryWindowAndCancelKeepsThemAll) {
  WriteBytes(dir_.filePath("misc/per/jedi.per"), "version 2\r\nparam 50: 1\r\n");
  auto* editor = new orvEditor;
  editor->setAttribute(Qt::WA_DeleteOnClose);
  QPointer<orvEditor> alive(editor);
  editor->show();
  ASSERT_TRUE(editor->OpenTable(path_));
  editor->mnuPersonalities_Click();
  QPointer<orvPersonality> w = editor->PersonalityWindow();
  prompts_.inputAnswers = {"7", "0.5"};
  w->cmdAdd_Click();
  ASSERT_TRUE(w->Modified());

  const QString askPer = QStringLiteral("Save changes to jedi.per?"), askTable = QStringLiteral("Save changes to models.dat?");
  const struct { bool tableChanged; std::deque<MsgResult> answers; std::vector<QString> asked; bool closes; } steps[] = {
      {false, {MsgResult::Cancel}, {askPer}, false},
      {true, {MsgResult::No, MsgResult::Cancel}, {askPer, askTable}, false},
      {true, {MsgResult::No, MsgResult::No}, {askPer, askTable}, true},
  };
  for (const auto& step : steps) {
    if (step.tableChanged && !editor->Table().Modified()) {
      editor->SelectRow(0);
      prompts_.messageAnswers = {MsgResult::Yes};
      editor->cmdDelete_Click();
    }
    prompts_.Clear(step.answers);
    EXPECT_EQ(editor->close(), step.closes);
    EXPECT_EQ(prompts_.Messages(), step.asked);
    EXPECT_EQ(prompts_.records.front().owner, static_cast<QWidget*>(w.data()));
    if (!step.closes) { EXPECT_TRUE(editor->isVisible() && w->isVisible()); }
  }
  tarvex::test::ProcessEvents();
  EXPECT_TRUE(alive.isNull() && w.isNull());
  for (QWidget* window : QApplication::topLevelWidgets()) EXPECT_FALSE(window->isVisible()) << window->objectName();
  EXPECT_EQ(ReadBytes(dir_.filePath("misc/per/jedi.per")), "version 2\r\nparam 50: 1\r\n");
}

// The personalities window follows the table the main window edits, through Open and Save As,
// asking first about its own unsaved changes (Cancel keeps both where they were).
TEST_F(OrvaneTest, PersonalitiesFollowTheTable) {
  WriteBytes(dir_.filePath("misc/per/jedi.per"), "version 2\r\nparam 50: 1\r\n");
  QTemporaryDir second, third;
  const QString secondTable = GameFolder(second, "jedi.per", "version 2\r\nparam 1: 2\r\n");
  GameFolder(third, "soldier.per", "version 2\r\nparam 3: 4\r\n" + QByteArray("junk\r\n").repeated(14));
  orvEditor editor;
  Open(editor);
  editor.mnuPersonalities_Click();
  orvPersonality* w = editor.PersonalityWindow();
  prompts_.inputAnswers = {"7", "0.5"};
  w->cmdAdd_Click();

  prompts_.Clear({MsgResult::Cancel});
  prompts_.fileAnswers = {secondTable};
  editor.mnuFileOpen_Click();
  EXPECT_EQ(LastMessage(), QStringLiteral("Save changes to jedi.per?"));
  EXPECT_EQ(prompts_.records.back().owner, w);
  EXPECT_EQ(editor.Table().Path() + '|' + w->FilePath(), path_ + '|' + dir_.filePath("misc/per/jedi.per"));

  prompts_.messageAnswers = {MsgResult::No};
  prompts_.fileAnswers = {secondTable};
  editor.mnuFileOpen_Click();
  EXPECT_EQ(editor.Table().Path() + '|' + w->FilePath(), secondTable + '|' + second.filePath("misc/per/jedi.per"));
  EXPECT_EQ(w->Params(), (std::map<int, QString>{{1, "2"}}));

  prompts_.fileAnswers = {third.filePath("misc/models.dat")};  // over the table there
  ASSERT_TRUE(editor.mnuFileSaveAs_Click());
  EXPECT_EQ(std::tuple(editor.PersonalityWindow(), w->FilePath(), w->Params()),
            std::tuple(w, third.filePath("misc/per/soldier.per"), std::map<int, QString>{{3, "4"}}));
  // Its lines the game would not read: ten of them told, the rest counted.
  EXPECT_TRUE(LastMessage().startsWith("The game would read soldier.per differently") &&
              LastMessage().split("\r\n").size() == 12 && LastMessage().endsWith("... and 4 more."))
      << LastMessage();
  EXPECT_EQ(ReadBytes(dir_.filePath("misc/per/jedi.per")), "version 2\r\nparam 50: 1\r\n");
}

TEST_F(OrvaneTest, NamedForScreenReadersAndWholeInLargeFonts) {
  tarvex::test::ForEachInterfaceFont([this](int pt) {
    orvEditor editor;
    editor.Form_Load(path_);
    editor.show();
    tarvex::test::ProcessEvents();
    EXPECT_EQ(tarvex::test::ClippedWidgets(&editor), QStringList()) << pt;
    if (pt == 9) { EXPECT_EQ(tarvex::test::AccessibleNameProblems(&editor), QStringList()); }
  });
}

}  // namespace
}  // namespace orvane
